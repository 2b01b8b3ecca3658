#pragma once
// The continuous hue scale of sea-surface temperature and the other
// continuous products, built from hue, lightness and saturation.
#include "grib/ExtBitmap.h"

struct TRgbFraction {
  float Red = 0, Green = 0, Blue = 0;  // 0..1
};

// Hue in degrees, lightness and saturation as fractions 0..1.
TRgbFraction HlsToRgb(float hue, float lightness, float saturation);
// The same colour as bytes, each component truncated (not rounded) from x 255.
TRgb HlsToBytes(float hue, float lightness, float saturation);

// Entry index (0..255) of the scale: violet-blue at 0 through blue, cyan,
// green, yellow and red to magenta-red at 255.
TRgb SstScaleColour(int index);
