#include "grib/NetCdfClassic.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr std::uint32_t kTagDimension = 0x0A;
constexpr std::uint32_t kTagVariable = 0x0B;
constexpr std::uint32_t kTagAttribute = 0x0C;
constexpr std::uint64_t kStreaming = 0xFFFFFFFFu;
// A header with more entries than this is not one of ours, and walking it
// would cost more than any real file.
constexpr std::uint64_t kMaxEntries = 65536;
constexpr std::uint64_t kMaxNameLength = 256;  // the library's own limit
constexpr std::uint64_t kMaxDimensionsPerVariable = 1024;

// Bytes of one value of each external type (1 byte .. 11 uint64), 0 for none.
constexpr std::array<std::uint64_t, 12> kTypeSize = {0, 1, 1, 2, 4, 4, 8, 1, 2, 4, 8, 8};

std::uint64_t Padded(std::uint64_t n) { return (n + 3) / 4 * 4; }

// a * b, or nothing when it overflows.
std::optional<std::uint64_t> Times(std::uint64_t a, std::uint64_t b)
{
  if (b != 0 && a > std::numeric_limits<std::uint64_t>::max() / b)
    return std::nullopt;
  return a * b;
}

class THeaderReader {
public:
  explicit THeaderReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool Word(std::uint64_t& value, int size)
  {
    if (bytes_.size() - pos_ < static_cast<std::size_t>(size))
      return false;
    value = 0;
    for (int i = 0; i < size; ++i)
      value = (value << 8) | bytes_[pos_++];
    return true;
  }
  bool Skip(std::uint64_t n)
  {
    if (n > bytes_.size() - pos_)
      return false;
    pos_ += static_cast<std::size_t>(n);
    return true;
  }

private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

struct TVariableExtent {
  bool record = false;
  std::uint64_t begin = 0;
  std::uint64_t bytes = 0;  // one record's worth for record variables
};

class TClassicWalker {
public:
  TClassicWalker(std::span<const std::uint8_t> bytes, std::string& why)
    : reader_(bytes), size_(bytes.size()), why_(why)
  {
  }

  bool Walk()
  {
    std::uint64_t magic = 0;
    if (!reader_.Word(magic, 4))
      return Fail("shorter than a netCDF header");
    const unsigned version = magic & 0xFF;
    if (version != 1 && version != 2 && version != 5)
      return Fail("unknown classic netCDF version " + std::to_string(version));
    countSize_ = version == 5 ? 8 : 4;
    offsetSize_ = version == 1 ? 4 : 8;
    extendedTypes_ = version == 5;
    return reader_.Word(records_, countSize_) && Dimensions() && Attributes() && Variables()
             ? CheckExtents()
             : Fail(why_.empty() ? std::string("header cut short") : why_);
  }

private:
  bool Fail(const std::string& why)
  {
    why_ = why;
    return false;
  }

  bool ListHead(std::uint32_t wanted, std::uint64_t& count)
  {
    std::uint64_t tag = 0;
    if (!reader_.Word(tag, 4) || !reader_.Word(count, countSize_))
      return false;
    if (tag == 0 && count == 0)
      return true;
    if (tag != wanted)
      return Fail("unexpected list tag " + std::to_string(tag));
    if (count > kMaxEntries)
      return Fail("a list of " + std::to_string(count) + " entries");
    return true;
  }

  bool Name()
  {
    std::uint64_t length = 0;
    if (!reader_.Word(length, countSize_))
      return false;
    if (length > kMaxNameLength)
      return Fail("a name of " + std::to_string(length) + " bytes");
    return reader_.Skip(Padded(length));
  }

  bool TypeSize(std::uint64_t type, std::uint64_t& size)
  {
    const std::uint64_t last = extendedTypes_ ? 11 : 6;
    if (type == 0 || type > last)
      return Fail("unknown type " + std::to_string(type));
    size = kTypeSize[type];
    return true;
  }

  bool Dimensions()
  {
    std::uint64_t count = 0;
    if (!ListHead(kTagDimension, count))
      return false;
    for (std::uint64_t i = 0; i < count; ++i) {
      std::uint64_t length = 0;
      if (!Name() || !reader_.Word(length, countSize_))
        return false;
      dimensions_.push_back(length);
    }
    return true;
  }

  bool Attributes()
  {
    std::uint64_t count = 0;
    if (!ListHead(kTagAttribute, count))
      return false;
    for (std::uint64_t i = 0; i < count; ++i) {
      std::uint64_t type = 0, values = 0, size = 0;
      if (!Name() || !reader_.Word(type, 4) || !TypeSize(type, size) || !reader_.Word(values, countSize_))
        return false;
      const auto bytes = Times(values, size);
      if (!bytes || !reader_.Skip(Padded(*bytes)))
        return false;
    }
    return true;
  }

  bool Variables()
  {
    std::uint64_t count = 0;
    if (!ListHead(kTagVariable, count))
      return false;
    for (std::uint64_t i = 0; i < count; ++i)
      if (!Variable())
        return false;
    return true;
  }

  bool Variable()
  {
    std::uint64_t rank = 0;
    if (!Name() || !reader_.Word(rank, countSize_))
      return false;
    if (rank > kMaxDimensionsPerVariable)
      return Fail("a variable of " + std::to_string(rank) + " dimensions");
    TVariableExtent extent;
    std::uint64_t elements = 1;
    for (std::uint64_t d = 0; d < rank; ++d) {
      std::uint64_t id = 0;
      if (!reader_.Word(id, countSize_))
        return false;
      if (id >= dimensions_.size())
        return Fail("a variable names dimension " + std::to_string(id) + " of " + std::to_string(dimensions_.size()));
      if (d == 0 && dimensions_[id] == 0) {
        extent.record = true;
        continue;
      }
      const auto product = Times(elements, dimensions_[id]);
      if (!product)
        return Fail("a variable too large to address");
      elements = *product;
    }
    std::uint64_t type = 0, size = 0, vsize = 0;
    if (!Attributes() || !reader_.Word(type, 4) || !TypeSize(type, size) || !reader_.Word(vsize, countSize_) ||
        !reader_.Word(extent.begin, offsetSize_))
      return false;
    const auto bytes = Times(elements, size);
    if (!bytes)
      return Fail("a variable too large to address");
    extent.bytes = *bytes;
    extents_.push_back(extent);
    return true;
  }

  // Every variable must lie within the bytes there: non-record variables
  // whole, record variables in each of the records the header counts.
  bool CheckExtents()
  {
    std::vector<const TVariableExtent*> records;
    for (const TVariableExtent& e : extents_)
      if (e.record)
        records.push_back(&e);
    // One record variable alone is stored without padding.
    std::uint64_t recordSize = 0;
    for (const TVariableExtent* e : records)
      recordSize += records.size() == 1 ? e->bytes : Padded(e->bytes);
    std::uint64_t needed = 0;
    for (const TVariableExtent& e : extents_) {
      std::uint64_t end = e.begin;
      if (!e.record) {
        end += e.bytes;
      } else if (records_ == 0) {
        // With no records written, record variables may begin at or past
        // the end of the file: they hold nothing.
        continue;
      } else if (records_ != kStreaming) {
        const auto before = Times(records_ - 1, recordSize);
        if (!before)
          return Fail("records too large to address");
        end += *before + e.bytes;
      }
      if (end < e.begin)
        return Fail("a variable too large to address");
      needed = std::max(needed, end);
    }
    if (needed > size_)
      return Fail("the header needs " + std::to_string(needed) + " bytes, the file has " + std::to_string(size_));
    return true;
  }

  THeaderReader reader_;
  std::uint64_t size_;
  std::string& why_;
  int countSize_ = 4;
  int offsetSize_ = 4;
  bool extendedTypes_ = false;
  std::uint64_t records_ = 0;
  std::vector<std::uint64_t> dimensions_;
  std::vector<TVariableExtent> extents_;
};

}  // namespace

bool IsClassicNetCdf(std::span<const std::uint8_t> bytes)
{
  return bytes.size() >= 4 && bytes[0] == 'C' && bytes[1] == 'D' && bytes[2] == 'F' &&
         (bytes[3] == 1 || bytes[3] == 2 || bytes[3] == 5);
}

bool IsHdf5(std::span<const std::uint8_t> bytes)
{
  static constexpr std::uint8_t kSignature[] = {0x89, 'H', 'D', 'F', '\r', '\n', 0x1A, '\n'};
  return bytes.size() >= sizeof kSignature && std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin());
}

bool CheckClassicLength(std::span<const std::uint8_t> bytes, std::string& why)
{
  why.clear();
  return TClassicWalker(bytes, why).Walk();
}
