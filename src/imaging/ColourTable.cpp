#include "imaging/ColourTable.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "grib/ParameterCode.h"
#include "imaging/SstScale.h"

namespace {

struct TCodeSpan {
  std::int32_t First;
  std::int32_t Last;
  constexpr bool Contains(std::int32_t code) const { return code >= First && code <= Last; }
};

bool InSpans(std::span<const TCodeSpan> spans, std::int32_t code)
{
  return std::any_of(spans.begin(), spans.end(), [code](const TCodeSpan& s) { return s.Contains(code); });
}

enum class TScheme : std::uint8_t {
  Grey,
  Concentration,
  IceClasses,
  ByPosition,
  HueScale,
  RampToTop,       // hue ramp up to the value of entry 253
  RampCapped,      // hue ramp up to a fixed top value
  RampHeight,      // hue ramp to 15 000, then paling to white
  GreySteps,       // 101 grey steps
  RampDivergence,  // reds below zero, blues above
};

// Codes painted with the continuous hue scale.
constexpr auto kHueScaleCodes = std::to_array<TCodeSpan>({
    {1, 2},
    {4, 4},
    {6, 7},
    {11, 11},
    {13, 13},
    {16, 17},
    {31, 34},
    {39, 39},
    {43, 44},
    {51, 52},
    {59, 59},
    {61, 63},
    {78, 80},
    {100, 110},
    {115, 116},
    {129, 129},
    {131, 132},
    {150, 151},
    {174, 175},
    {185, 186},
    {202, 202},
    {236, 236},
    {248, 249},
    {99229, 99234},
    {300001004, 300001006},
    {300001014, 300001015},
    {300001024, 300001034},
    {310010000, 310010000},
    {310040007, 310040007},
    {310050003, 310050003},
    {1000000000, 1000000000},
    {1000001000, 1000001001},
    {1000002000, 1000002000},
    {1000002002, 1000002003},
    {1000002008, 1000002008},
    {1000002022, 1000002022},
    {1000003000, 1000003001},
    {1000003004, 1000003005},
    {1008001052, 1008001052},
});

// Codes whose entry 0 is black (no value).
constexpr auto kBlackBottomCodes = std::to_array<TCodeSpan>({
    {11, 11},
    {16, 16},
    {31, 32},
    {100, 110},
    {115, 116},
    {174, 175},
    {248, 249},
    {99231, 99231},
    {99234, 99234},
    {300000002, 300000002},
    {300001000, 300001001},
    {300001004, 300001006},
    {300001013, 300001015},
    {300001024, 300001034},
    {310010000, 310010000},
    {310040007, 310040007},
    {310050003, 310050003},
    {1000002022, 1000002022},
});

// Codes whose entries 254 and 255 are the silver and white of the overlays.
constexpr auto kSilverWhiteTopCodes = std::to_array<TCodeSpan>({
    {11, 11},
    {16, 16},
    {31, 32},
    {100, 110},
    {115, 116},
    {99231, 99231},
    {99234, 99234},
    {300000007, 300000008},
    {300001002, 300001006},
    {300001013, 300001015},
    {300001024, 300001034},
    {310010000, 310010000},
    {310040007, 310040007},
    {310050003, 310050003},
    {1000002022, 1000002022},
});

// Codes whose entries 253 to 255 are dark grey, silver and white.
constexpr auto kGreySilverWhiteTopCodes = std::to_array<TCodeSpan>({
    {174, 175},
    {300000002, 300000002},
    {300000009, 300000009},
    {300001000, 300001001},
});

struct TPositionTable {
  std::int32_t Code;
  TClassTable (*Table)();
};

constexpr auto kPositionTables = std::to_array<TPositionTable>({
    {300000007, ClearCloudClasses},
    {300000008, SurfaceClasses},
    {300000009, FireClasses},
    {300001003, CloudMaskClasses},
    {kParameterSstConfidence, ConfidenceClasses},
});

struct TRampScheme {
  TCodeSpan Codes;
  TScheme Scheme;
};

constexpr auto kRampSchemes = std::to_array<TRampScheme>({
    {{300000002, 300000002}, TScheme::RampToTop},
    {{300001000, 300001000}, TScheme::RampToTop},
    {{300001001, 300001001}, TScheme::RampCapped},
    {{300001002, 300001002}, TScheme::RampHeight},
    {{300001007, 300001010}, TScheme::GreySteps},
    {{300001013, 300001013}, TScheme::RampDivergence},
});

// Upper bounds (inclusive) of the rounded value and the colour below them.
struct TDivergenceStep {
  int UpTo;
  TRgb Colour;
};

constexpr auto kDivergenceSteps = std::to_array<TDivergenceStep>({
    {-121, {255, 0, 80}},
    {-101, {255, 80, 80}},
    {-81, {255, 140, 140}},
    {-61, {255, 190, 190}},
    {-41, {255, 220, 220}},
    {-21, {255, 235, 235}},
    {0, {248, 248, 248}},
    {20, {220, 255, 235}},
    {40, {235, 235, 255}},
    {60, {220, 220, 255}},
    {80, {190, 190, 255}},
    {100, {140, 140, 255}},
    {120, {80, 80, 255}},
});
constexpr TRgb kDivergenceAbove{0, 0, 255};

constexpr int kRampFirst = 1;
constexpr int kRampLast = 253;

TScheme SchemeFor(std::int32_t code)
{
  if (code == kParameterIceConcentration)
    return TScheme::Concentration;
  if (HasExtendedClasses(code))
    return TScheme::IceClasses;
  if (std::any_of(kPositionTables.begin(), kPositionTables.end(),
                  [code](const TPositionTable& t) { return t.Code == code; }))
    return TScheme::ByPosition;
  for (const TRampScheme& ramp : kRampSchemes)
    if (ramp.Codes.Contains(code))
      return ramp.Scheme;
  return InSpans(kHueScaleCodes, code) ? TScheme::HueScale : TScheme::Grey;
}

// A ratio that stays finite when the top value of a ramp is zero.
float SafeRatio(float value, float top)
{
  const float ratio = value / top;
  return std::isfinite(ratio) ? ratio : 0.0f;
}

void PaintConcentration(TColourTable& t)
{
  const TClassTable classes = ConcentrationClasses();
  const TLabelData& land = classes.front();
  const auto ranges = classes.subspan(1);  // ordered by their lowest percentage
  constexpr int kHighestPercent = 100;
  for (int i = 0; i <= kHighestPercent; ++i) {
    const auto cls = std::find_if(ranges.rbegin(), ranges.rend(), [i](const TLabelData& c) { return c.Code() <= i; });
    t.Palette[i] = cls->Colour();
  }
  t.Palette[land.Code()] = land.Colour();
  t.Palette[102] = kBlack;
  t.Palette[103] = kSilver;
  t.Palette[104] = kWhite;
  t.Classes = classes;
}

void PaintIceClasses(TColourTable& t, std::int32_t code, bool extended)
{
  t.Classes = IceClassTable(code, extended);
  for (const TLabelData& cls : t.Classes) {
    t.Palette[cls.Code()] = cls.Colour();
    t.Labels[cls.Code()] = cls.Name;
  }
  t.Palette[11] = kDarkGrey;
  t.Palette[12] = kSilver;
}

void PaintByPosition(TColourTable& t, TClassTable classes)
{
  t.Classes = classes;
  t.ClassesByPosition = true;
  for (std::size_t i = 0; i < classes.size(); ++i) {
    t.Palette[i] = classes[i].Colour();
    t.Labels[i] = classes[i].Name;
    t.IndexOfRaw[classes[i].Code()] = static_cast<std::int16_t>(i);
  }
}

void PaintHueScale(TColourTable& t)
{
  for (int i = 0; i < kFullPaletteSize; ++i)
    t.Palette[i] = SstScaleColour(i);
}

void PaintGrey(TColourTable& t)
{
  for (int i = 0; i < kFullPaletteSize; ++i) {
    const auto g = static_cast<std::uint8_t>(i);
    t.Palette[i] = {g, g, g};
  }
}

void PaintRampToTop(TColourTable& t, const TColourTableSource& s)
{
  const float top = s.IndexValues[kRampLast];
  for (int i = kRampFirst; i <= kRampLast; ++i) {
    const float r = SafeRatio(s.IndexValues[i], top);
    t.Palette[i] = HlsToBytes(250.0f - 250.0f * r, 0.7f - 0.2f * r, 1.0f);
  }
}

void PaintRampCapped(TColourTable& t, const TColourTableSource& s)
{
  // Centre 80 sends the accumulation in its own units, topped by entry 253.
  constexpr int kOwnUnitsCentre = 80;
  constexpr float kDefaultTop = 38.0f, kSecondsPerHour = 3600.0f, kHeadroom = 0.9f;
  const float top = (s.Centre == kOwnUnitsCentre && s.SubCentre == 0) ? s.IndexValues[kRampLast] * kSecondsPerHour
                                                                       : kDefaultTop;
  const float cap = top / kSecondsPerHour;
  const float span = kHeadroom * top / kSecondsPerHour;
  for (int i = kRampFirst; i <= kRampLast; ++i) {
    const float r = SafeRatio(std::min(s.IndexValues[i], cap), span);
    t.Palette[i] = HlsToBytes(250.0f - 250.0f * r, 0.7f - 0.2f * r, 1.0f);
  }
}

void PaintRampHeight(TColourTable& t, const TColourTableSource& s)
{
  constexpr int kLast = 63;
  constexpr float kKnee = 15000.0f, kPaleSpan = 6160.0f, kTop = 21600.0f;
  for (int i = kRampFirst; i <= kLast; ++i) {
    const float v = s.IndexValues[i];
    t.Palette[i] = v <= kKnee ? HlsToBytes(300.0f - 300.0f * v / kKnee, 0.7f - 0.2f * v / kKnee, 1.0f)
                              : HlsToBytes(0.0f, 0.5f + 0.5f * (v - kKnee) / kPaleSpan, (kTop - v) / kPaleSpan);
  }
}

void PaintGreySteps(TColourTable& t)
{
  constexpr int kSteps = 100;
  for (int i = 0; i <= kSteps; ++i) {
    const auto g = static_cast<std::uint8_t>(i * 255 / kSteps);
    t.Palette[i] = {g, g, g};
  }
}

void PaintRampDivergence(TColourTable& t, const TColourTableSource& s)
{
  for (int i = kRampFirst; i <= kRampLast; ++i) {
    const float r = std::nearbyint(s.IndexValues[i]);  // the default rounding mode: halves to even
    const auto* step = std::find_if(kDivergenceSteps.begin(), kDivergenceSteps.end(),
                                    [r](const TDivergenceStep& d) { return r <= static_cast<float>(d.UpTo); });
    t.Palette[i] = step == kDivergenceSteps.end() ? kDivergenceAbove : step->Colour;
  }
}

// Entries 253 to 255 are left to the overlays where the palette holds
// their colours at the top.
constexpr std::uint8_t kTopBelowOverlays = 252;

bool HasOverlayTop(std::int32_t code)
{
  return InSpans(kSilverWhiteTopCodes, code) || InSpans(kGreySilverWhiteTopCodes, code);
}

bool SetsIdentityIndex(TScheme scheme)
{
  return scheme == TScheme::RampToTop || scheme == TScheme::RampCapped || scheme == TScheme::RampHeight ||
         scheme == TScheme::RampDivergence;
}

void ApplyTopAndBottom(TColourTable& t, std::int32_t code)
{
  if (InSpans(kBlackBottomCodes, code))
    t.Palette[0] = kBlack;
  if (InSpans(kSilverWhiteTopCodes, code)) {
    t.Palette[254] = kSilver;
    t.Palette[255] = kWhite;
  }
  if (InSpans(kGreySilverWhiteTopCodes, code)) {
    t.Palette[253] = kDarkGrey;
    t.Palette[254] = kSilver;
    t.Palette[255] = kWhite;
  }
}

// Palette entries that show a class.
std::array<bool, 256> ClassEntries(const TColourTable& t)
{
  std::array<bool, 256> used{};
  if (t.ClassesByPosition) {
    std::fill_n(used.begin(), t.Classes.size(), true);
  } else if (t.Classes.data() == ConcentrationClasses().data()) {
    std::fill_n(used.begin(), 102, true);  // percentages 0..100 and land
  } else {
    for (const TLabelData& cls : t.Classes)
      used[cls.Code()] = true;
  }
  return used;
}

bool IsClassColour(const TColourTable& t, TRgb colour)
{
  return std::any_of(t.Classes.begin(), t.Classes.end(), [colour](const TLabelData& c) { return c.Colour() == colour; });
}

}  // namespace

// For classified products: the first entry outside the classes that holds
// one of the fixed display colours no class uses, dark grey preferred (the
// overlays are drawn in black, silver and white). A table without such an
// entry gets its first free entry painted dark grey; when every entry of
// the palette shows a class, the palette grows by one dark grey entry. A
// palette of 256 class entries has no entry to spare: its missing points
// share the last entry, and no class colour is painted over.
std::uint8_t ChooseClassMissingIndex(TColourTable& t)
{
  const std::array<bool, 256> used = ClassEntries(t);
  for (const TRgb colour : {kDarkGrey, kBlack, kSilver, kWhite}) {
    if (IsClassColour(t, colour))
      continue;
    for (int i = 0; i < t.Size; ++i)
      if (!used[i] && t.Palette[i] == colour)
        return static_cast<std::uint8_t>(i);
  }
  const auto free = static_cast<int>(std::find(used.begin(), used.begin() + t.Size, false) - used.begin());
  if (free < t.Size) {
    t.Palette[free] = kDarkGrey;
    return static_cast<std::uint8_t>(free);
  }
  if (t.Size < kFullPaletteSize) {
    t.Palette[t.Size] = kDarkGrey;
    return static_cast<std::uint8_t>(t.Size++);
  }
  return kFullPaletteSize - 1;
}

int PaletteSizeFor(int parameterOctet)
{
  if (parameterOctet == kParameterIceConcentration)
    return kConcentrationPaletteSize;
  if (parameterOctet == kParameterIceEdge || parameterOctet == kParameterIceType)
    return kIcePaletteSize;
  return kFullPaletteSize;
}

bool HasExtendedClasses(std::int32_t parameterCode)
{
  return parameterCode == kParameterIceEdge || parameterCode == kParameterIceType;
}

TClassTable IceClassTable(std::int32_t parameterCode, bool extended)
{
  if (parameterCode == kParameterIceEdge)
    return extended ? EdgeClassesExtended() : EdgeClasses();
  if (parameterCode == kParameterIceType)
    return extended ? TypeClassesExtended() : TypeClasses();
  return {};
}

TColourTable MakeColourTable(const TColourTableSource& source)
{
  // Snow depth and age are stored as counts, not as a continuous quantity.
  constexpr int kSnowDepthOctet = 174, kSnowAgeOctet = 175;
  TColourTable t;
  t.IndexOfRaw.fill(kIndexUntouched);
  t.Size = PaletteSizeFor(source.ParameterOctet);
  const std::int32_t code = source.ParameterCode;
  const TScheme scheme = SchemeFor(code);
  switch (scheme) {
    case TScheme::Concentration: PaintConcentration(t); break;
    case TScheme::IceClasses: PaintIceClasses(t, code, source.ExtendedGrid); break;
    case TScheme::ByPosition:
      for (const TPositionTable& p : kPositionTables)
        if (p.Code == code)
          PaintByPosition(t, p.Table());
      break;
    case TScheme::HueScale: PaintHueScale(t); break;
    case TScheme::RampToTop: PaintRampToTop(t, source); break;
    case TScheme::RampCapped: PaintRampCapped(t, source); break;
    case TScheme::RampHeight: PaintRampHeight(t, source); break;
    case TScheme::GreySteps: PaintGreySteps(t); break;
    case TScheme::RampDivergence: PaintRampDivergence(t, source); break;
    case TScheme::Grey: PaintGrey(t); break;
  }
  if (HasOverlayTop(code))
    t.TopDataIndex = kTopBelowOverlays;
  if (SetsIdentityIndex(scheme))
    for (int i = 0; i < kFullPaletteSize; ++i)
      t.IndexOfRaw[i] = static_cast<std::int16_t>(std::min<int>(i, t.TopDataIndex));
  ApplyTopAndBottom(t, code);
  t.Continuous = t.Size == kFullPaletteSize && source.ParameterOctet != kSnowDepthOctet &&
                 source.ParameterOctet != kSnowAgeOctet;
  // Scales keep entry 0 for points without a value; the data tables keep
  // values off it.
  t.MissingIndex = t.Classes.empty() ? 0 : ChooseClassMissingIndex(t);
  return t;
}
