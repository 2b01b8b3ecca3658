// Fuzzes the in-memory half of whole-file reading: gzip data un-gzipped,
// as far as the messages in it go and under a cap, then the message
// decoded as a loaded file is. Mutated gzip data rarely gets past the
// checksum, so an input without the gzip magic is gzipped here first and
// reaches the decoder through a sound stream.
#include <zlib.h>

#include <QString>
#include <vector>

#include "GribFuzz.h"
#include "grib/FileReading.h"

namespace {
// Below the fuzzer's 256 MiB allocation limit, so that a gzip bomb must
// be stopped by the cap and not by the fuzzer.
constexpr std::uint64_t kFuzzGunzipCap = std::uint64_t{32} << 20;

std::vector<std::uint8_t> GzipCompress(std::span<const std::uint8_t> plain)
{
  z_stream z{};
  if (deflateInit2(&z, 1, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) std::abort();
  std::vector<std::uint8_t> out(deflateBound(&z, static_cast<uLong>(plain.size())) + 32);
  z.next_in = const_cast<Bytef*>(plain.data());  // zlib does not write its input
  z.avail_in = static_cast<uInt>(plain.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) std::abort();
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  std::span<const std::uint8_t> input(data, size);
  std::vector<std::uint8_t> compressed;
  const bool isGzip = size >= 2 && data[0] == 0x1f && data[1] == 0x8b;
  if (!isGzip) {
    compressed = GzipCompress(input);
    input = compressed;
  }
  std::vector<std::uint8_t> bytes;
  QString error;
  if (!GunzipGrib(input, bytes, error, kFuzzGunzipCap)) {
    if (error.isEmpty()) std::abort();
    return 0;
  }
  if (bytes.size() > kFuzzGunzipCap) std::abort();
  DecodeMessage(bytes, false);
  return 0;
}
