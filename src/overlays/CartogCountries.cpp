#include "overlays/CartogCountries.h"

#include <string>

#include "overlays/CartogByteReader.h"

namespace {
constexpr int kPointBytes = 4;
constexpr float kMinutesPerDegree = 60.0f;
}  // namespace

TCartogReadStatus ReadCountriesRecords(std::span<const std::uint8_t> data, std::vector<TLineSegment>& segments)
{
  TCartogByteReader reader(data);
  while (!reader.AtEnd()) {
    const std::size_t recordStart = reader.Position();
    std::int32_t count = 0;
    std::uint8_t segType = 0;
    if (!reader.Read(count) || !reader.Read(segType))
      return TCartogReadStatus::Fail("Countries.dat: record at byte " + std::to_string(recordStart) +
                                     " is cut short in its header");
    // A header with nothing after it closes the file without a segment.
    if (reader.AtEnd()) break;
    if (count < 0 || static_cast<std::uint64_t>(count) * kPointBytes > reader.Remaining())
      return TCartogReadStatus::Fail("Countries.dat: record at byte " + std::to_string(recordStart) + " claims " +
                                     std::to_string(count) + " points but only " +
                                     std::to_string(reader.Remaining()) + " bytes follow");
    TLineSegment segment;
    segment.SegType = segType;
    segment.Points.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
      std::int16_t lon = 0, lat = 0;
      reader.Read(lon);  // cannot fail: the count was checked against what is left
      reader.Read(lat);
      segment.AddPoint(lon / kMinutesPerDegree, lat / kMinutesPerDegree);
    }
    segments.push_back(std::move(segment));
  }
  return {};
}
