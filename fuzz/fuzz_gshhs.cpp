// Fuzzes the GSHHS shoreline reader, then draws what was read. The list
// tells a shoreline file by its first word being 0, so the target forces
// it: every input reaches the shoreline reader.
#include <algorithm>
#include <vector>

#include "OverlayFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  std::vector<std::uint8_t> bytes(data, data + size);
  std::fill_n(bytes.begin(), std::min<std::size_t>(4, bytes.size()), std::uint8_t{0});
  LoadAndDraw(bytes, "gshhs_c.b");
  return 0;
}
