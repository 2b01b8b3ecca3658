#pragma once
// The flags of a CF variable: flag_values or flag_masks (or both) with
// their flag_meanings, read into a table that names the meaning of a
// stored value.
#include <optional>
#include <string>
#include <vector>

class TNetCdfFile;

// Whether a stored value carries one meaning; cheap enough for every grid point.
class TFlagTest {
public:
  bool operator()(double value) const;

private:
  friend class TFlagTable;
  struct TCase {
    std::optional<double> value;
    std::optional<long long> mask;
  };
  std::vector<TCase> cases_;
};

class TFlagTable {
public:
  // Nothing when the variable has no flag_meanings, or their number does
  // not match the values or masks.
  static std::optional<TFlagTable> Read(const TNetCdfFile& file, int variable);

  // The meanings that describe a stored value: one for a value flag, any
  // number for mask flags. Meanings are lower case with '-' as '_'.
  std::vector<std::string> MeaningsOf(double value) const;
  bool Means(double value, const std::string& meaning) const;
  bool HasMeaning(const std::string& meaning) const;
  TFlagTest TestFor(const std::string& meaning) const;
  // The stored value of a value flag, or nothing.
  std::optional<double> ValueOf(const std::string& meaning) const;

private:
  struct TFlag {
    std::string meaning;
    std::optional<double> value;
    std::optional<long long> mask;
  };
  std::vector<TFlag> flags_;
};
