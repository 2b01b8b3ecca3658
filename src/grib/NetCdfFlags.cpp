#include "grib/NetCdfFlags.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>

#include "grib/NetCdfFile.h"

namespace {

std::string Normalised(std::string word)
{
  for (char& c : word)
    c = c == '-' ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return word;
}

// Masks are bit patterns; a mask that is not a whole number in range means nothing.
std::optional<long long> AsMask(double value)
{
  if (!(value >= 0 && value < 9.0e15) || std::floor(value) != value)
    return std::nullopt;
  return static_cast<long long>(value);
}

}  // namespace

std::optional<TFlagTable> TFlagTable::Read(const TNetCdfFile& file, int variable)
{
  const std::optional<std::string> text = file.Text(variable, "flag_meanings");
  if (!text)
    return std::nullopt;
  std::vector<std::string> meanings;
  std::istringstream words(*text);
  for (std::string word; words >> word;)
    meanings.push_back(Normalised(word));
  const std::vector<double> values = file.Numbers(variable, "flag_values");
  const std::vector<double> masks = file.Numbers(variable, "flag_masks");
  if (meanings.empty() || (values.empty() && masks.empty()) || (!values.empty() && values.size() != meanings.size()) ||
      (!masks.empty() && masks.size() != meanings.size()))
    return std::nullopt;
  TFlagTable table;
  for (std::size_t i = 0; i < meanings.size(); ++i) {
    TFlag flag{meanings[i], std::nullopt, std::nullopt};
    if (!values.empty())
      flag.value = values[i];
    if (!masks.empty()) {
      flag.mask = AsMask(masks[i]);
      if (!flag.mask)
        return std::nullopt;
    }
    table.flags_.push_back(flag);
  }
  return table;
}

namespace {

bool Carries(double value, const std::optional<double>& flagValue, const std::optional<long long>& mask)
{
  if (!mask)
    return flagValue && *flagValue == value;
  // Masks and values together: the value of the bits the mask selects.
  const std::optional<long long> bits = AsMask(value);
  if (!bits)
    return false;
  const long long selected = *bits & *mask;
  return flagValue ? selected == static_cast<long long>(*flagValue) : selected != 0;
}

}  // namespace

bool TFlagTest::operator()(double value) const
{
  return std::any_of(cases_.begin(), cases_.end(), [value](const TCase& c) { return Carries(value, c.value, c.mask); });
}

TFlagTest TFlagTable::TestFor(const std::string& meaning) const
{
  TFlagTest test;
  for (const TFlag& flag : flags_)
    if (flag.meaning == meaning)
      test.cases_.push_back({flag.value, flag.mask});
  return test;
}

std::vector<std::string> TFlagTable::MeaningsOf(double value) const
{
  std::vector<std::string> result;
  for (const TFlag& flag : flags_)
    if (Carries(value, flag.value, flag.mask))
      result.push_back(flag.meaning);
  return result;
}

bool TFlagTable::Means(double value, const std::string& meaning) const
{
  const std::vector<std::string> meanings = MeaningsOf(value);
  return std::find(meanings.begin(), meanings.end(), meaning) != meanings.end();
}

bool TFlagTable::HasMeaning(const std::string& meaning) const
{
  return std::any_of(flags_.begin(), flags_.end(), [&](const TFlag& f) { return f.meaning == meaning; });
}

std::optional<double> TFlagTable::ValueOf(const std::string& meaning) const
{
  for (const TFlag& flag : flags_)
    if (flag.meaning == meaning && flag.value && !flag.mask)
      return flag.value;
  return std::nullopt;
}
