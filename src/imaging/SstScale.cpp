#include "imaging/SstScale.h"

#include <algorithm>
#include <cmath>

namespace {

// Hue, lightness and saturation are only defined as an angle and two
// fractions; ramps fed with damaged or extreme field values can hand over
// anything, so each input is brought into its domain first (NaN counts as 0).
float Fraction(float x)
{
  return std::isnan(x) ? 0.0f : std::clamp(x, 0.0f, 1.0f);
}

float Degrees(float hue)
{
  if (!std::isfinite(hue))
    return 0.0f;
  const float reduced = std::fmod(hue, 360.0f);
  return reduced < 0.0f ? reduced + 360.0f : reduced;
}

// Single precision throughout: the scale's bytes depend on it (m1 at the
// start of the scale comes out just under 0.2).
float HueComponent(float m1, float m2, float hue)
{
  if (hue >= 360.0f)
    hue -= 360.0f;
  else if (hue < 0.0f)
    hue += 360.0f;
  if (hue < 60.0f)
    return m1 + (m2 - m1) * hue / 60.0f;
  if (hue < 180.0f)
    return m2;
  if (hue < 240.0f)
    return m1 + (m2 - m1) * (240.0f - hue) / 60.0f;
  return m1;
}

std::uint8_t ToByte(float fraction)
{
  return static_cast<std::uint8_t>(std::clamp(fraction * 255.0f, 0.0f, 255.0f));
}

}  // namespace

TRgbFraction HlsToRgb(float hue, float lightness, float saturation)
{
  hue = Degrees(hue);
  lightness = Fraction(lightness);
  saturation = Fraction(saturation);
  if (saturation == 0.0f)
    return {lightness, lightness, lightness};
  const float m2 = lightness <= 0.5f ? lightness * (1.0f + saturation)
                                     : lightness + saturation - lightness * saturation;
  const float m1 = 2.0f * lightness - m2;
  return {HueComponent(m1, m2, hue + 120.0f), HueComponent(m1, m2, hue), HueComponent(m1, m2, hue - 120.0f)};
}

TRgb HlsToBytes(float hue, float lightness, float saturation)
{
  const TRgbFraction c = HlsToRgb(hue, lightness, saturation);
  return {ToByte(c.Red), ToByte(c.Green), ToByte(c.Blue)};
}

TRgb SstScaleColour(int index)
{
  constexpr float kTopHue = 270.0f, kHueSpan = 310.0f, kBaseLightness = 0.5f, kLightnessSpan = 0.2f,
                  kSaturation = 0.6f, kSteps = 255.0f;
  const float step = static_cast<float>(index);
  const float hue = kTopHue - kHueSpan * step / kSteps;
  const float lightness = kBaseLightness + kLightnessSpan * step / kSteps;
  return HlsToBytes(hue, lightness, kSaturation);
}
