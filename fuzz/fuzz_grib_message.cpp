// Fuzzes the GRIB decoder (editions 1 and 2) on a message in memory, once
// as the start of a longer stream and once as exactly one message.
#include "GribFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const std::span<const std::uint8_t> bytes(data, size);
  DecodeMessage(bytes, false);
  // The exact-length demand only changes how edition 2 is framed.
  if (size > 7 && data[7] == 2) DecodeMessage(bytes, true);
  return 0;
}
