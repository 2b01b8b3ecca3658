#pragma once
// The values of a netCDF hyperslab, kept in their stored type when that is
// an 8- or 16-bit integer and as doubles otherwise, and a map from each
// value to a result through a rule on the value as a double.
//
// For the small integer types the rule is asked once for every value the
// type can hold (at most 65,536) and each point is then one table look-up;
// for other types it is asked per point, once for each run of equal values.
// Either way a point gets exactly what the rule gives for its value.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

using TStoredValues = std::variant<std::vector<double>, std::vector<std::int8_t>, std::vector<std::uint8_t>,
                                   std::vector<std::int16_t>, std::vector<std::uint16_t>>;

inline std::size_t StoredCount(const TStoredValues& values)
{
  return std::visit([](const auto& v) { return v.size(); }, values);
}

template <class Result, class Rule>
class TValueMap {
public:
  TValueMap(const TStoredValues& values, Rule rule) : values_(values), rule_(std::move(rule))
  {
    std::visit([this](const auto& v) { BuildTable(v); }, values_);
  }

  // The results of the values first .. first + out.size() - 1.
  void Map(std::size_t first, std::span<Result> out) const
  {
    std::visit([&](const auto& v) { MapValues(std::span(v).subspan(first, out.size()), out); }, values_);
  }

private:
  template <class T>
  static std::size_t TableIndex(T value)
  {
    return static_cast<std::size_t>(static_cast<int>(value) - static_cast<int>(std::numeric_limits<T>::min()));
  }

  template <class T>
  void BuildTable(const std::vector<T>&)
  {
    if constexpr (std::is_integral_v<T>) {
      constexpr int low = std::numeric_limits<T>::min(), high = std::numeric_limits<T>::max();
      table_.resize(static_cast<std::size_t>(high - low + 1));
      for (int value = low; value <= high; ++value)
        table_[TableIndex(static_cast<T>(value))] = rule_(static_cast<double>(value));
    }
  }

  template <class T>
  void MapValues(std::span<const T> in, std::span<Result> out) const
  {
    if constexpr (std::is_integral_v<T>) {
      for (std::size_t k = 0; k < in.size(); ++k)
        out[k] = table_[TableIndex(in[k])];
    } else {
      // Neighbouring points mostly share their values: ask once a run of
      // values equal to the bit (0 and -0 are not the same value here).
      bool started = false;
      std::uint64_t last = 0;
      Result lastResult{};
      for (std::size_t k = 0; k < in.size(); ++k) {
        const auto bits = std::bit_cast<std::uint64_t>(in[k]);
        if (!started || bits != last) {
          started = true;
          last = bits;
          lastResult = rule_(in[k]);
        }
        out[k] = lastResult;
      }
    }
  }

  const TStoredValues& values_;
  Rule rule_;
  std::vector<Result> table_;
};
