#include "imaging/ValueReadout.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "grib/DataStuff.h"
#include "grib/ParameterCode.h"
#include "imaging/ColourTable.h"

namespace {

// The read-out spells the ice types with hyphens, unlike the legend.
struct TReadoutWord {
  std::int32_t ParameterCode;
  int Code;
  std::string_view Word;
};

constexpr auto kReadoutWords = std::to_array<TReadoutWord>({
    {kParameterIceEdge, 1, "Open water"},
    {kParameterIceEdge, 2, "Open ice"},
    {kParameterIceEdge, 3, "Closed ice"},
    {kParameterIceEdge, 9, "Land"},
    {kParameterIceEdge, 10, "Unclassified"},
    {kParameterIceType, 1, "Open water"},
    {kParameterIceType, 2, "First-year ice"},
    {kParameterIceType, 3, "Multi-year ice"},
    {kParameterIceType, 4, "Ambiguous"},
    {kParameterIceType, 9, "Land"},
    {kParameterIceType, 10, "Unclassified"},
});

constexpr double kKelvinAtZeroCelsius = 273.15;
constexpr int kLowestPercent = 1;
constexpr int kHighestPercent = 100;
constexpr int kOpenWaterCode = 0;
constexpr int kLandCode = 101;

bool IsClassOf(TClassTable classes, int code)
{
  return std::any_of(classes.begin(), classes.end(), [code](const TLabelData& c) { return c.Code() == code; });
}

QString IceClassWord(std::int32_t parameterCode, bool extended, int index)
{
  if (!IsClassOf(IceClassTable(parameterCode, extended), index))
    return {};
  const auto* word = std::find_if(kReadoutWords.begin(), kReadoutWords.end(), [&](const TReadoutWord& w) {
    return w.ParameterCode == parameterCode && w.Code == index;
  });
  return word == kReadoutWords.end() ? QString() : QString::fromLatin1(word->Word.data(), word->Word.size());
}

}  // namespace

QString ClassNameAt(const TDataStuff& field, int index)
{
  const QString notAvailable = QStringLiteral("n/a");
  if (index < 0 || index > 255)
    return notAvailable;
  if (index == field.MissingIndex)
    return QStringLiteral("No data");
  const std::int32_t code = field.ParameterCode();
  if (code == kParameterIceConcentration) {
    if (index >= kLowestPercent && index <= kHighestPercent)
      return QString::number(index) + QLatin1Char('%');
    // The legend's words for the two codes that are not a percentage.
    if (index == kOpenWaterCode)
      return QStringLiteral("Open water");
    return index == kLandCode ? QStringLiteral("Land") : notAvailable;
  }
  if (HasExtendedClasses(code)) {
    const QString word = IceClassWord(code, field.ExtendedClasses, index);
    return word.isEmpty() ? notAvailable : word;
  }
  if (code == kParameterTemperature || code == kParameterSst) {
    // Every entry but the missing-value one holds a temperature, the field's
    // lowest (often freezing sea water under the ice) included.
    const float value = field.IndexValues[static_cast<std::size_t>(index)];
    return QString::number(value - kKelvinAtZeroCelsius, 'f', 1) + QStringLiteral("°C");
  }
  return notAvailable;
}
