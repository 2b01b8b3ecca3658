#pragma once
// Decodes one message and touches everything a caller reads after a
// successful decode, so that a field left half-built shows up as a memory
// error. A failure must leave its reason in the log.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "grib/GribData.h"
#include "imaging/ColourTableBuild.h"

inline void DecodeMessage(std::span<const std::uint8_t> bytes, bool exactLength)
{
  TGribData data(BuildColourTable);
  data.LowerPriority = false;  // no process-wide priority changes per input
  const bool ok = data.LoadFromStream(bytes, exactLength);
  if (!ok) {
    if (data.Log.isEmpty()) std::abort();
    return;
  }
  if (data.MessageLength() == 0 || data.MessageLength() > bytes.size()) std::abort();
  const TExtBitmap& bitmap = data.Bitmap();
  unsigned sum = 0;
  for (std::uint8_t v : bitmap.Pixels()) sum += v;
  float values[256];
  data.GetIndexValues(values);
  volatile float sink = values[sum & 255] + data.MinValue() + data.MaxValue() + data.FirstLatitude() +
                        data.LastLongitude() + data.OrientationLongitude();
  (void)sink;
  (void)data.LevelText();
}
