#include "grib/NetCdfPacking.h"

#include <netcdf.h>

#include <algorithm>
#include <cmath>

#include "grib/NetCdfFile.h"

namespace {

// The library's fill value of a type where none is stated. Bytes have none
// in use: every byte value may be data.
std::optional<double> DefaultFill(int type)
{
  switch (type) {
    case NC_SHORT: return NC_FILL_SHORT;
    case NC_USHORT: return NC_FILL_USHORT;
    case NC_INT: return NC_FILL_INT;
    case NC_UINT: return NC_FILL_UINT;
    case NC_INT64: return static_cast<double>(NC_FILL_INT64);
    case NC_UINT64: return static_cast<double>(NC_FILL_UINT64);
    case NC_FLOAT: return NC_FILL_FLOAT;
    case NC_DOUBLE: return NC_FILL_DOUBLE;
    default: return std::nullopt;
  }
}

}  // namespace

std::optional<TCfPacking> TCfPacking::Read(const TNetCdfFile& file, int variable, std::string& why)
{
  TCfPacking packing;
  const std::vector<double> fill = file.Numbers(variable, "_FillValue");
  if (!fill.empty())
    packing.missing_.push_back(fill.front());
  else if (const auto standard = DefaultFill(file.Type(variable)))
    packing.missing_.push_back(*standard);
  for (const double value : file.Numbers(variable, "missing_value"))
    packing.missing_.push_back(value);
  const std::vector<double> range = file.Numbers(variable, "valid_range");
  if (range.size() == 2) {
    packing.low_ = range[0];
    packing.high_ = range[1];
  }
  if (const auto low = file.Number(variable, "valid_min"))
    packing.low_ = *low;
  if (const auto high = file.Number(variable, "valid_max"))
    packing.high_ = *high;
  const bool hasScale = file.HasAttribute(variable, "scale_factor");
  const bool hasOffset = file.HasAttribute(variable, "add_offset");
  const auto scale = file.Number(variable, "scale_factor");
  const auto offset = file.Number(variable, "add_offset");
  if (hasScale && !(scale && std::isfinite(*scale) && *scale != 0)) {
    why = "scale_factor is zero, not a number or not one value";
    return std::nullopt;
  }
  if (hasOffset && !(offset && std::isfinite(*offset))) {
    why = "add_offset is not a finite number";
    return std::nullopt;
  }
  packing.scale_ = scale.value_or(1);
  packing.offset_ = offset.value_or(0);
  return packing;
}

bool TCfPacking::Valid(double stored) const
{
  if (std::isnan(stored))
    return false;
  if (std::find(missing_.begin(), missing_.end(), stored) != missing_.end())
    return false;
  if (low_ && stored < *low_)
    return false;
  if (high_ && stored > *high_)
    return false;
  return true;
}
