#include "grib/DataStuff.h"

TDataStuff::TDataStuff(TGribData* owner) : Owner(owner) {
  Bitmap.SetPixelFormat(TPixelFormat::pf8bit);
}

void TDataStuff::SetGridSize(int height, int width) {
  Available.Clear();
  Bitmap.SetSize(width, height);
}
