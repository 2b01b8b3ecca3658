#include "mapping/GridPlacement.h"

bool PlaceFirstGridPoint(TMapping& mapping, float lon, float lat, int rows, bool topDown)
{
  mapping.SetXOffset(0);
  mapping.SetYOffset(0);
  float x0 = 0, y0 = 0;
  if (!mapping.LatLonToPixelF(lon, lat, x0, y0))
    return false;
  // Unrounded, so a grid whose points fall between pixel centres of the
  // bare projection still has every point on a pixel centre.
  mapping.SetXOffsetF(-x0);
  mapping.SetYOffsetF(topDown ? y0 : y0 - static_cast<float>(rows - 1));
  return true;
}
