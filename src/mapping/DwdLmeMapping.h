#pragma once
// TDwdLmeMapping: a rotated-pole mapping, the latitude/longitude grid of a
// regional model drawn in its rotated frame.
// Points are turned into the rotated frame whose north pole sits at
// (PoleLon, PoleLat) and laid out linearly between the grid's first and
// last rotated rows and columns.
#include "mapping/Mapping.h"

class TDwdLmeMapping : public TMapping {
public:
  TDwdLmeMapping();

  int GetDrawHeight() const override;
  int GetDrawWidth() const override;
  void CopySettings(const TMapping& source) override;
  bool CanDraw() const override { return true; }
  bool LatLonToPixel(float lon, float lat, int& x, int& y) const override;
  bool LatLonToPixelF(float lon, float lat, float& x, float& y) const override;
  bool PixelToLatLon(int x, int y, float& lon, float& lat) const override;

  // Each bound also resets the spans and the centre of the rotated window.
  void SetRotLatFirst(float value);
  void SetRotLatLast(float value);
  void SetRotLonFirst(float value);
  void SetRotLonLast(float value);
  void SetPoleLat(float value) { poleLat_ = value; }
  // Stored in [-180, 180).
  void SetPoleLon(float value);

  float RotLatFirst() const { return rotLatFirst_; }
  float RotLatLast() const { return rotLatLast_; }
  float RotLonFirst() const { return rotLonFirst_; }
  float RotLonLast() const { return rotLonLast_; }
  float PoleLat() const { return poleLat_; }
  float PoleLon() const { return poleLon_; }

  // Geographic degrees to the rotated frame and back.
  void GeoToRotated(double lon, double lat, double& rotLon, double& rotLat) const;
  void RotatedToGeo(double rotLon, double rotLat, double& lon, double& lat) const;

protected:
  std::unique_ptr<TMapping> NewOfSameKind() const override;

private:
  void UpdateWindow();
  // Fractional pixel of a rotated point before scaling, offsets included.
  bool RotatedToPixel(double rotLon, double rotLat, double& x, double& y) const;

  float rotLatFirst_ = -20;
  float rotLatLast_ = 21;
  float rotLonFirst_ = -19;
  float rotLonLast_ = 24;
  float poleLat_ = 32.5f;
  float poleLon_ = -170;
};
