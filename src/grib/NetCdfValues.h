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

  // Calls `body(values, resultOf)` with the values as a span of their
  // stored type and a function giving the result of one of them (a table
  // look-up, or the rule remembering its last value).
  template <class Body>
  void WithValues(Body&& body) const
  {
    std::visit(
      [&](const auto& values) {
        using T = typename std::decay_t<decltype(values)>::value_type;
        if constexpr (std::is_integral_v<T>)
          body(std::span<const T>(values), [this](T value) { return table_[TableIndex(value)]; });
        else
          body(std::span<const T>(values), TRuns(rule_));
      },
      values_);
  }

  // The results of the values first .. first + out.size() - 1.
  void Map(std::size_t first, std::span<Result> out) const
  {
    WithValues([&](auto values, auto&& resultOf) {
      for (std::size_t k = 0; k < out.size(); ++k)
        out[k] = resultOf(values[first + k]);
    });
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

  // The rule asked once a run of values equal to the bit (neighbouring
  // points mostly share their values; 0 and -0 are not the same value here).
  class TRuns {
  public:
    explicit TRuns(const Rule& rule) : rule_(rule) {}
    Result operator()(double value)
    {
      const auto bits = std::bit_cast<std::uint64_t>(value);
      if (!started_ || bits != last_) {
        started_ = true;
        last_ = bits;
        result_ = rule_(value);
      }
      return result_;
    }

  private:
    const Rule& rule_;
    bool started_ = false;
    std::uint64_t last_ = 0;
    Result result_{};
  };

  const TStoredValues& values_;
  Rule rule_;
  std::vector<Result> table_;
};
