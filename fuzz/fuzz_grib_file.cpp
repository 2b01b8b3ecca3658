// Fuzzes the in-memory half of whole-file reading: gzip data un-gzipped
// under a cap, then the message decoded as a loaded file is.
#include <QString>
#include <vector>

#include "GribFuzz.h"
#include "grib/FileReading.h"

namespace {
// Below the fuzzer's 256 MiB allocation limit, so that a gzip bomb must
// be stopped by the cap and not by the fuzzer.
constexpr std::uint64_t kFuzzGunzipCap = std::uint64_t{32} << 20;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  std::vector<std::uint8_t> bytes;
  QString error;
  if (!Gunzip({data, size}, bytes, error, kFuzzGunzipCap)) {
    if (error.isEmpty()) std::abort();
    return 0;
  }
  if (bytes.size() > kFuzzGunzipCap) std::abort();
  DecodeMessage(bytes, false);
  return 0;
}
