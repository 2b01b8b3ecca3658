// Fuzzes the overlay reader through the list that picks it by the file's
// first bytes and name, then draws what was read.
#include "OverlayFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  LoadAndDraw({data, size}, "track.gpx");
  return 0;
}
