#include "grib/NetCdfFile.h"

#include <netcdf.h>
#include <netcdf_mem.h>

#include <cstring>

namespace {

// Flag lists and other attributes this program reads are short; a longer
// one is not worth the memory.
constexpr std::size_t kMaxAttributeValues = 4096;
constexpr int kMaxRank = 16;

std::size_t CountOf(const std::vector<std::size_t>& count)
{
  std::size_t total = 1;
  for (const std::size_t n : count)
    total *= n;
  return total;
}

// Values outside the range of double cannot occur; NC_ERANGE only says a
// conversion was lossy, which doubles from these types never are.
bool ReadOk(int status, std::string& why)
{
  if (status != NC_NOERR && status != NC_ERANGE) {
    why = nc_strerror(status);
    return false;
  }
  return true;
}

// `total` values of type T read by `get` into `out`.
template <class T, class Get>
bool ReadAs(std::size_t total, Get&& get, TStoredValues& out, std::string& why)
{
  std::vector<T> values(total);
  if (!ReadOk(get(values.data()), why))
    return false;
  out = std::move(values);
  return true;
}

}  // namespace

std::unique_ptr<TNetCdfFile> TNetCdfFile::Open(std::span<const std::uint8_t> bytes, std::string& why)
{
  int id = -1;
  // The library reads, never writes, memory opened without NC_WRITE.
  void* memory = const_cast<std::uint8_t*>(bytes.data());
  const int status = nc_open_mem("memory", NC_NOWRITE, bytes.size(), memory, &id);
  if (status != NC_NOERR) {
    why = nc_strerror(status);
    return nullptr;
  }
  return std::unique_ptr<TNetCdfFile>(new TNetCdfFile(id));
}

TNetCdfFile::~TNetCdfFile() { nc_close(id_); }

std::string TNetCdfFile::FormatName() const
{
  int format = 0;
  if (nc_inq_format(id_, &format) != NC_NOERR)
    return "unknown";
  switch (format) {
    case NC_FORMAT_CLASSIC: return "classic";
    case NC_FORMAT_64BIT_OFFSET: return "64-bit offset";
    case NC_FORMAT_64BIT_DATA: return "64-bit data";
    case NC_FORMAT_NETCDF4: return "netCDF-4";
    case NC_FORMAT_NETCDF4_CLASSIC: return "netCDF-4 classic model";
    default: return "unknown";
  }
}

std::optional<int> TNetCdfFile::Variable(const std::string& name) const
{
  int variable = -1;
  if (nc_inq_varid(id_, name.c_str(), &variable) != NC_NOERR)
    return std::nullopt;
  return variable;
}

std::vector<int> TNetCdfFile::Variables() const
{
  int count = 0;
  if (nc_inq_nvars(id_, &count) != NC_NOERR || count <= 0)
    return {};
  std::vector<int> ids(static_cast<std::size_t>(count));
  if (nc_inq_varids(id_, &count, ids.data()) != NC_NOERR)
    return {};
  ids.resize(static_cast<std::size_t>(count));
  return ids;
}

std::string TNetCdfFile::Name(int variable) const
{
  char name[NC_MAX_NAME + 1] = {};
  return nc_inq_varname(id_, variable, name) == NC_NOERR ? std::string(name) : std::string();
}

int TNetCdfFile::Type(int variable) const
{
  nc_type type = NC_NAT;
  return nc_inq_vartype(id_, variable, &type) == NC_NOERR ? type : NC_NAT;
}

std::vector<TNetCdfDimension> TNetCdfFile::Dimensions(int variable) const
{
  int rank = 0;
  if (nc_inq_varndims(id_, variable, &rank) != NC_NOERR || rank < 0 || rank > kMaxRank)
    return {};
  int ids[kMaxRank] = {};
  if (nc_inq_vardimid(id_, variable, ids) != NC_NOERR)
    return {};
  std::vector<TNetCdfDimension> dimensions;
  for (int d = 0; d < rank; ++d) {
    char name[NC_MAX_NAME + 1] = {};
    std::size_t length = 0;
    if (nc_inq_dim(id_, ids[d], name, &length) != NC_NOERR)
      return {};
    dimensions.push_back({name, length});
  }
  return dimensions;
}

bool TNetCdfFile::HasAttribute(int variable, const char* name) const
{
  return nc_inq_att(id_, variable, name, nullptr, nullptr) == NC_NOERR;
}

std::optional<std::string> TNetCdfFile::Text(int variable, const char* name) const
{
  nc_type type = NC_NAT;
  std::size_t length = 0;
  if (nc_inq_att(id_, variable, name, &type, &length) != NC_NOERR || length > kMaxAttributeValues * 16)
    return std::nullopt;
  if (type == NC_CHAR) {
    std::string text(length, '\0');
    if (length > 0 && nc_get_att_text(id_, variable, name, text.data()) != NC_NOERR)
      return std::nullopt;
    // Writers may count a closing NUL in the length.
    text.resize(std::strlen(text.c_str()));
    return text;
  }
  if (type == NC_STRING && length == 1) {
    char* value = nullptr;
    if (nc_get_att_string(id_, variable, name, &value) != NC_NOERR)
      return std::nullopt;
    std::string text = value ? value : "";
    nc_free_string(1, &value);
    return text;
  }
  return std::nullopt;
}

std::vector<double> TNetCdfFile::Numbers(int variable, const char* name) const
{
  nc_type type = NC_NAT;
  std::size_t length = 0;
  if (nc_inq_att(id_, variable, name, &type, &length) != NC_NOERR || length == 0 || length > kMaxAttributeValues ||
      type == NC_CHAR || type == NC_STRING || type > NC_STRING)
    return {};
  std::vector<double> values(length);
  if (nc_get_att_double(id_, variable, name, values.data()) != NC_NOERR)
    return {};
  return values;
}

std::optional<double> TNetCdfFile::Number(int variable, const char* name) const
{
  const std::vector<double> values = Numbers(variable, name);
  if (values.size() != 1)
    return std::nullopt;
  return values.front();
}

bool TNetCdfFile::ReadDoubles(int variable, const std::vector<std::size_t>& start,
                              const std::vector<std::size_t>& count, std::vector<double>& out, std::string& why) const
{
  out.resize(CountOf(count));
  return ReadOk(nc_get_vara_double(id_, variable, start.data(), count.data(), out.data()), why);
}

bool TNetCdfFile::ReadStored(int variable, const std::vector<std::size_t>& start,
                             const std::vector<std::size_t>& count, TStoredValues& out, std::string& why) const
{
  const std::size_t total = CountOf(count);
  const std::size_t* first = start.data();
  const std::size_t* counts = count.data();
  switch (Type(variable)) {
    case NC_BYTE:
      return ReadAs<std::int8_t>(
        total, [&](std::int8_t* p) { return nc_get_vara_schar(id_, variable, first, counts, p); }, out, why);
    case NC_UBYTE:
      return ReadAs<std::uint8_t>(
        total, [&](std::uint8_t* p) { return nc_get_vara_ubyte(id_, variable, first, counts, p); }, out, why);
    case NC_SHORT:
      return ReadAs<std::int16_t>(
        total, [&](std::int16_t* p) { return nc_get_vara_short(id_, variable, first, counts, p); }, out, why);
    case NC_USHORT:
      return ReadAs<std::uint16_t>(
        total, [&](std::uint16_t* p) { return nc_get_vara_ushort(id_, variable, first, counts, p); }, out, why);
    default: {
      std::vector<double> values;
      if (!ReadDoubles(variable, start, count, values, why))
        return false;
      out = std::move(values);
      return true;
    }
  }
}
