#include "grib/DataStuff.h"

TDataStuff::TDataStuff(TGribData* owner, bool keepRaw) : Owner(owner), KeepRaw(keepRaw) {
  Bitmap.SetPixelFormat(TPixelFormat::pf8bit);
}

void TDataStuff::SetGridSize(int height, int width) {
  Available.Clear();
  Bitmap.SetSize(width, height);
  if (KeepRaw)
    RawValues.Resize(height, width);
  else
    RawValues.Clear();
}
