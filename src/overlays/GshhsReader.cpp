#include "overlays/GshhsReader.h"

#include <QtEndian>

#include <string>

#include "overlays/CartogByteReader.h"

namespace {
// Header sizes of the three generations of the format.
constexpr std::size_t kHeaderOld = 36;
constexpr std::size_t kHeaderWithVersion = 40;
constexpr std::size_t kHeaderV2 = 44;
constexpr std::uint32_t kOldVersionMarker = 3;  // word at offset 32 of 40-byte headers
constexpr int kFirstV2Version = 7;
// No shoreline polygon comes near this many points; a larger count read
// little-endian means the file is big-endian.
constexpr std::uint32_t kByteOrderCountLimit = 2'000'000;
constexpr std::int32_t kMinLakeArea = 100;  // tenths of km²: smaller lakes are left out
constexpr std::size_t kPointBytes = 8;
constexpr double kMicroDegree = 1e-6;
constexpr std::size_t kBytesPerSegmentGuess = 120;  // only sizes the first reservation

bool FitsFile(std::uint32_t count, std::size_t fileSize)
{
  return kHeaderOld + std::uint64_t{count} * kPointBytes <= fileSize;
}

// A count beyond any real polygon means big-endian, but that alone fails
// for big-endian counts that are multiples of 256; when exactly one reading
// of the first count fits the file, that one decides.
bool IsBigEndian(std::span<const std::uint8_t> data)
{
  if (data.size() < 8) return false;
  const auto countLE = qFromLittleEndian<std::uint32_t>(data.data() + 4);
  const auto countBE = qFromBigEndian<std::uint32_t>(data.data() + 4);
  const bool leFits = FitsFile(countLE, data.size());
  const bool beFits = FitsFile(countBE, data.size());
  if (leFits != beFits) return beFits;
  return countLE > kByteOrderCountLimit;
}

struct TGshhsHeader {
  std::uint32_t count = 0;
  std::uint8_t level = 0;
  std::int32_t area = 0;
  std::size_t size = 0;
};

bool ReadHeader(std::span<const std::uint8_t> data, std::size_t at, bool bigEndian, TGshhsHeader& header)
{
  TCartogByteReader reader(data.subspan(at), bigEndian);
  std::uint32_t words[9] = {};
  for (std::uint32_t& word : words)
    if (!reader.Read(word)) return false;
  const std::uint32_t flag = words[2];
  const int version = static_cast<int>((flag >> 8) & 0xFF);
  header.count = words[1];
  header.level = static_cast<std::uint8_t>(flag & 0xFF);
  header.area = static_cast<std::int32_t>(words[7]);
  header.size = version >= kFirstV2Version   ? kHeaderV2
                : words[8] == kOldVersionMarker ? kHeaderWithVersion
                                                : kHeaderOld;
  return header.size <= data.size() - at;
}

bool IsKept(const TGshhsHeader& header)
{
  return header.level == 1 || header.level == 3 || (header.level == 2 && header.area >= kMinLakeArea);
}
}  // namespace

TCartogReadStatus ReadGshhsShorelines(std::span<const std::uint8_t> data, std::vector<TLineSegment>& segments)
{
  if (data.size() < kHeaderOld) return TCartogReadStatus::Fail("shoreline file: shorter than one record header");
  const bool bigEndian = IsBigEndian(data);
  segments.reserve(segments.size() + data.size() / kBytesPerSegmentGuess);
  std::size_t at = 0;
  while (at < data.size()) {
    TGshhsHeader header;
    if (!ReadHeader(data, at, bigEndian, header))
      return TCartogReadStatus::Fail("shoreline file: record header at byte " + std::to_string(at) + " is cut short");
    const std::size_t pointsAt = at + header.size;
    const std::uint64_t pointBytes = std::uint64_t{header.count} * kPointBytes;
    if (pointBytes > data.size() - pointsAt)
      return TCartogReadStatus::Fail("shoreline file: record at byte " + std::to_string(at) + " claims " +
                                     std::to_string(header.count) + " points but only " +
                                     std::to_string(data.size() - pointsAt) + " bytes follow");
    if (IsKept(header)) {
      TCartogByteReader reader(data.subspan(pointsAt, static_cast<std::size_t>(pointBytes)), bigEndian);
      TLineSegment segment;
      segment.SegType = 1;
      segment.Points.reserve(header.count);
      for (std::uint32_t i = 0; i < header.count; ++i) {
        std::int32_t lon = 0, lat = 0;
        reader.Read(lon);  // cannot fail: the count was checked against what is left
        reader.Read(lat);
        segment.AddPoint(static_cast<float>(lon * kMicroDegree), static_cast<float>(lat * kMicroDegree));
      }
      segment.WrapLonBounds();
      segments.push_back(std::move(segment));
    }
    at = pointsAt + static_cast<std::size_t>(pointBytes);
  }
  return {};
}
