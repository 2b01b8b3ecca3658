#pragma once
// CF packed and missing data of one variable, decoded in the documented
// order: the stored value is compared with _FillValue (or the type's
// default fill), missing_value and valid_min/valid_max/valid_range in
// stored units first; only a valid value is scaled by scale_factor and
// shifted by add_offset.
#include <optional>
#include <string>
#include <vector>

class TNetCdfFile;

class TCfPacking {
public:
  // Nothing, with the reason in `why`, for a scale factor or offset that
  // cannot unpack a value (zero, not a number, infinite).
  static std::optional<TCfPacking> Read(const TNetCdfFile& file, int variable, std::string& why);

  // The physical value of a stored one, or nothing when it is missing.
  std::optional<double> Unpack(double stored) const
  {
    if (!Valid(stored))
      return std::nullopt;
    return stored * scale_ + offset_;
  }
  bool Valid(double stored) const;
  double Scale() const { return scale_; }
  double Offset() const { return offset_; }

private:
  std::vector<double> missing_;  // _FillValue and missing_value
  std::optional<double> low_, high_;
  double scale_ = 1;
  double offset_ = 0;
};
