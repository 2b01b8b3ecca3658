#include "grib/ParameterCode.h"

#include <algorithm>
#include <array>

namespace {

// Edition 2: numbers First..Last of a discipline and category give Base + number.
struct TCodeRange {
  int Discipline;
  int Category;
  int First;
  int Last;
  std::int32_t Base;
};

constexpr auto kEdition2Codes = std::to_array<TCodeRange>({
    {0, 0, 0, 0, 1000000000},
    {0, 1, 0, 1, 1000001000},
    {0, 1, 52, 52, 1008001000},
    {0, 2, 0, 0, 1000002000},
    {0, 2, 2, 3, 1000002000},
    {0, 2, 8, 8, 1000002000},
    {0, 2, 22, 22, 1000002000},
    {0, 3, 0, 1, 1000003000},
    {0, 3, 4, 5, 1000003000},
    {0, 4, 7, 7, 310040000},
    {0, 5, 3, 3, 310050000},
    {0, 6, 1, 1, 1000006000},
    {0, 19, 25, 25, 1000019000},
    {1, 0, 2, 2, 300000000},
    {3, 0, 7, 9, 300000000},
    {3, 1, 0, 10, 300001000},
    {3, 1, 13, 15, 300001000},
    {3, 1, 24, 34, 300001000},
    {10, 3, 0, 0, 310010000},
    {10, 192, 1, 2, 310010000},
});

// Codes that can be formed but that the program has no use for.
struct TCodeSpan {
  std::int32_t First;
  std::int32_t Last;
};
constexpr auto kIgnoredCodes = std::to_array<TCodeSpan>({
    {6, 6},
    {300000002, 300000002},
    {300001000, 300001000},
    {300001024, 300001034},
    {1000003004, 1000003004},
    {1008001052, 1008001052},
});

// Edition 1 storm-surge and tide parameters of one local model.
constexpr int kSurgeCentre = 74;
constexpr int kSurgeProcess = 56;
constexpr int kSurgeFirst = 229;
constexpr int kSurgeLast = 234;
constexpr std::int32_t kSurgeBase = 99000;

std::int32_t Edition1Code(const TParameterIdentity& id)
{
  if (id.Centre == kSurgeCentre && id.Process == kSurgeProcess && id.ParameterOctet >= kSurgeFirst &&
      id.ParameterOctet <= kSurgeLast)
    return kSurgeBase + id.ParameterOctet;
  return id.ParameterOctet;
}

std::int32_t Edition2Code(const TParameterIdentity& id)
{
  const int number = CloudTableNumber(id.Discipline, id.Category, id.Number, id.LaterCloudTable);
  const auto* row = std::find_if(kEdition2Codes.begin(), kEdition2Codes.end(), [&](const TCodeRange& r) {
    return r.Discipline == id.Discipline && r.Category == id.Category && number >= r.First &&
           number <= r.Last;
  });
  return row == kEdition2Codes.end() ? kParameterUnrecognised : row->Base + number;
}

bool IsIgnored(std::int32_t code)
{
  return std::any_of(kIgnoredCodes.begin(), kIgnoredCodes.end(),
                     [code](const TCodeSpan& s) { return code >= s.First && code <= s.Last; });
}

}  // namespace

int CloudTableNumber(int discipline, int category, int number, bool laterCloudTable)
{
  constexpr int kCloudDiscipline = 3, kCloudCategory = 1, kMovedFirst = 6, kMovedLast = 12, kShift = 2;
  if (laterCloudTable && discipline == kCloudDiscipline && category == kCloudCategory && number >= kMovedFirst &&
      number <= kMovedLast)
    return number - kShift;
  return number;
}

std::int32_t ComposeParameterCode(const TParameterIdentity& identity)
{
  const std::int32_t code = identity.Edition == 2 ? Edition2Code(identity) : Edition1Code(identity);
  return IsIgnored(code) ? kParameterUnrecognised : code;
}

bool UsesLaterCloudTable(const QDateTime& referenceTime)
{
  static const QDateTime kTableChange(QDate(2006, 7, 3), QTime(0, 0), Qt::UTC);
  return referenceTime.isValid() && referenceTime > kTableChange;
}
