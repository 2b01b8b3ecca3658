#include "app/workflow/ReadOut.h"

#include "app/workflow/Products.h"
#include "grib/DataStuff.h"

namespace {

struct TCodeWord {
  int code;
  const char* word;
};

// The read-out spells the ice types with hyphens; the legend keeps the
// class table's names.
constexpr TCodeWord kEdgeWords[] = {
  {1, "Open water"}, {2, "Open ice"}, {3, "Closed ice"}, {9, "Land"}, {10, "Unclassified"}};
constexpr TCodeWord kTypeWords[] = {{1, "Open water"}, {2, "First-year ice"}, {3, "Multi-year ice"},
                                    {4, "Ambiguous"},  {9, "Land"},           {10, "Unclassified"}};

template <std::size_t N>
QString WordFor(const TCodeWord (&words)[N], int code)
{
  for (const TCodeWord& entry : words) {
    if (entry.code == code) {
      return entry.word;
    }
  }
  return "n/a";
}

constexpr double kKelvinAtZeroCelsius = 273.15;

}  // namespace

QString ReadOutText(const TDataStuff& field, int code)
{
  if (!field.NoBitmap && code == field.MissingIndex) {
    return "No data";
  }
  switch (field.ParameterCode()) {
  case kSlotCodeConcentration:
    return code >= 1 && code <= 100 ? QString::asprintf("%.0f%%", static_cast<double>(code)) : QString("n/a");
  case kSlotCodeEdge:
    return WordFor(kEdgeWords, code);
  case kSlotCodeType:
    return WordFor(kTypeWords, code);
  case kSlotCodeTemperature:
  case kSlotCodeSst: {
    const float value = field.IndexValues[static_cast<std::size_t>(code & 0xFF)];
    if (value > field.MinValue) {
      return QString::asprintf("%.1f", value - kKelvinAtZeroCelsius) + QString::fromUtf8("\u00B0C");
    }
    return "n/a";
  }
  default:
    return "n/a";
  }
}
