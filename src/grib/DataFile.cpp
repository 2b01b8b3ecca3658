#include "grib/DataFile.h"

#include "grib/GribData.h"
#include "grib/NetCdfReader.h"

#include <algorithm>

namespace {

// Bytes of the probe that finds the next message of a multi-message file:
// the "7777" of the previous message, or the eight octets of section 0.
constexpr std::size_t kMessageProbe = 68;
constexpr std::size_t kEndMarkerSize = 4;
constexpr std::size_t kSection0Size = 8;

}  // namespace

bool DecodeDataFile(TGribData& data, std::span<const std::uint8_t> bytes, const QString& fileName)
{
  if (!IsNetCdfData(bytes))
    return data.LoadFromStream(bytes, false);
  return DecodeNetCdf(data, bytes, fileName);
}

bool ReadNextGribMessage(std::unique_ptr<TGribData>& data, std::span<const std::uint8_t> stream, std::size_t& offset)
{
  auto probeFits = [&](std::size_t at) { return at < stream.size() && stream.size() - at > kMessageProbe; };
  if (!probeFits(offset)) {
    return false;
  }
  std::size_t at = offset;
  if (std::equal(stream.begin() + static_cast<std::ptrdiff_t>(at), stream.begin() + static_cast<std::ptrdiff_t>(at + kEndMarkerSize),
                 "7777")) {
    at += kEndMarkerSize;
    if (!probeFits(at)) {
      return false;
    }
  }
  const std::span<const std::uint8_t> head = stream.subspan(at, kSection0Size);
  if (!(head[0] == 'G' && head[1] == 'R' && head[2] == 'I' && head[3] == 'B') || head[7] != 1) {
    data->Log.append("  No further edition 1 message follows");
    return false;
  }
  const std::size_t length = (std::size_t{head[4]} << 16) | (std::size_t{head[5]} << 8) | head[6];
  if (length < kSection0Size || length > stream.size() - at) {
    data->Log.append(QString("  Further message of %1 bytes is cut short").arg(length));
    return false;
  }
  // A further message decodes on its own, so that one that fails leaves the
  // product already read exactly as it was.
  std::unique_ptr<TGribData> next = data->NewForNextMessage();
  const bool ok = next->LoadFromStream(stream.subspan(at, length), false);
  if (!ok) {
    data->Log.append(QString("  Further message at byte %1 not used:").arg(at));
    data->Log.append(next->Log);
    return false;
  }
  next->Log = data->Log + next->Log;
  data = std::move(next);
  offset = at + length;
  return true;
}
