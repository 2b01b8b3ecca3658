// Fuzzes the boundary file reader (and the "# -b" segment text reader,
// which the same list picks by the first bytes), then draws what was read.
#include "OverlayFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  LoadAndDraw({data, size}, "Countries.dat");
  return 0;
}
