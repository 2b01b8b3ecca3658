#pragma once
// A netCDF file opened from memory through the netCDF library, closed when
// the object goes, with the few queries the reader needs. Every query that
// can fail says so; attribute values are read only up to a bounded size.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "grib/NetCdfValues.h"

struct TNetCdfDimension {
  std::string name;
  std::size_t length = 0;
};

class TNetCdfFile {
public:
  // Null, with the library's reason in `why`, when the bytes do not open.
  // The bytes must outlive the object.
  static std::unique_ptr<TNetCdfFile> Open(std::span<const std::uint8_t> bytes, std::string& why);
  ~TNetCdfFile();
  TNetCdfFile(const TNetCdfFile&) = delete;
  TNetCdfFile& operator=(const TNetCdfFile&) = delete;

  // "classic", "64-bit offset", "64-bit data" or "netCDF-4".
  std::string FormatName() const;

  std::optional<int> Variable(const std::string& name) const;
  std::vector<int> Variables() const;
  std::string Name(int variable) const;
  int Type(int variable) const;
  std::vector<TNetCdfDimension> Dimensions(int variable) const;

  bool HasAttribute(int variable, const char* name) const;
  // A text attribute (char or a single string); nothing when absent or of
  // another type.
  std::optional<std::string> Text(int variable, const char* name) const;
  // A numeric attribute converted to double; empty when absent, not numeric
  // or longer than any attribute this program reads.
  std::vector<double> Numbers(int variable, const char* name) const;
  // One number, or nothing.
  std::optional<double> Number(int variable, const char* name) const;

  // Reads the hyperslab start/count of a variable as doubles.
  bool ReadDoubles(int variable, const std::vector<std::size_t>& start, const std::vector<std::size_t>& count,
                   std::vector<double>& out, std::string& why) const;
  // Reads the same hyperslab in the variable's stored type when that is an
  // 8- or 16-bit integer, and as doubles otherwise.
  bool ReadStored(int variable, const std::vector<std::size_t>& start, const std::vector<std::size_t>& count,
                  TStoredValues& out, std::string& why) const;

private:
  explicit TNetCdfFile(int id) : id_(id) {}
  int id_;
};
