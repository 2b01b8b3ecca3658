#pragma once
// TMapping: ties a picture of a given pixel size to geographic coordinates.
// Angles are degrees (float), longitude first; pixel y grows downward.
#include <cstdint>
#include <memory>
#include <string_view>

enum TProjectionKind : std::uint8_t {
  pkUnknown = 0,
  pkCylindricalFull = 1,
  pkCylindricalZoomed = 2,
  pkAzimuthalEquidistant = 3,
  pkAzimuthalEquidistantWide = 4,
  pkMercatorFull = 5,
  pkMercatorZoomed = 6,
  pkOrthographic = 7,
  pkLinearisedOrthographic = 8,
  pkPolarStereographic = 9,
  pkLambertConformal = 10,
  pkGnomonic = 11,
  pkVanDerGrinten = 12,
  pkGreatCircle = 13,
  pkLinearBased = 14,
};
inline constexpr int kProjectionKindCount = 15;

// Display name of a kind ("Polar Stereographic"); "Unknown" out of range.
std::string_view ProjectionKindName(int kind);

class TMapping {
public:
  TMapping();
  virtual ~TMapping() = default;
  TMapping(const TMapping&) = delete;
  TMapping& operator=(const TMapping&) = delete;

  virtual void SetKind(int kind);
  virtual int GetHeight() const { return height_; }
  virtual int GetWidth() const { return width_; }
  virtual int GetDrawHeight() const;
  virtual int GetDrawWidth() const;
  virtual void CopySettings(const TMapping& source);
  void Assign(const TMapping& source) { CopySettings(source); }
  // An independent copy of the same dynamic type (a plain Assign into a
  // TMapping drops what the subclasses add): an empty mapping of this
  // kind (NewOfSameKind) given this one's settings and pixel scale.
  std::unique_ptr<TMapping> Clone() const;
  virtual bool CanDraw() const;
  // The kind the graticule is traced as (the geostationary view draws its
  // grid as an orthographic one).
  virtual int GraticuleKind() const { return kind_; }

  virtual bool LatLonToPixel(float lon, float lat, int& x, int& y) const;
  virtual bool LatLonToPixelF(float lon, float lat, float& x, float& y) const;
  virtual bool PixelToLatLon(int x, int y, float& lon, float& lat) const;

  // Setters that end with Recompute.
  void SetLatSpan(float value);
  void SetLonSpan(float value);
  void SetHeight(int value);
  void SetWidth(int value);
  void SetCentreLon(float value);
  void SetCentreLat(float value);
  void SetStdParallel1(float value);
  void SetStdParallel2(float value);
  // Setters without recompute. XOffset is added to every x and YOffset
  // subtracted from every y before the pixel is rounded.
  void SetXOffset(int value) { xOffset_ = static_cast<float>(value); }
  void SetYOffset(int value) { yOffset_ = static_cast<float>(value); }
  void SetZoomRegion(int value) { zoomRegion_ = static_cast<std::uint8_t>(value); }
  void SetRotation(float value) { rotation_ = value; }
  void SetPixelScale(float value) { pixelScale_ = value; }
  // Fractional offsets, so that a grid point that falls between pixel
  // centres can still be placed on its pixel exactly.
  void SetXOffsetF(float value) { xOffset_ = value; }
  void SetYOffsetF(float value) { yOffset_ = value; }

  int Kind() const { return kind_; }
  int Height() const { return height_; }
  int Width() const { return width_; }
  int HalfHeight() const { return halfHeight_; }
  float LatSpan() const { return latSpan_; }
  float LonSpan() const { return lonSpan_; }
  float CentreLon() const { return centreLon_; }
  float CentreLat() const { return centreLat_; }
  float StdParallel1() const { return stdParallel1_; }
  float StdParallel2() const { return stdParallel2_; }
  float Scale() const { return scale_; }
  float PolarOffset() const { return polarOffset_; }
  bool Southern() const { return southern_; }
  int XOffset() const;
  int YOffset() const;
  float XOffsetF() const { return xOffset_; }
  float YOffsetF() const { return yOffset_; }
  int ZoomRegion() const { return zoomRegion_; }
  float Rotation() const { return rotation_; }
  float PixelScale() const { return pixelScale_; }

protected:
  void Recompute();
  // An empty mapping of the same dynamic type, for Clone.
  virtual std::unique_ptr<TMapping> NewOfSameKind() const;
  // A picture side times the pixel scale, rounded; 0 when out of range.
  int ScaledSide(int side) const;

  // The forward transform as an unrounded pixel position before the
  // offsets are applied; false when the point cannot be shown.
  virtual bool ProjectPoint(double lon, double lat, double& x, double& y) const;
  // The inverse of ProjectPoint, from a pixel position with the offsets
  // already removed.
  virtual bool UnprojectPoint(double x, double y, double& lon, double& lat) const;

  // Longitude difference from CentreLon brought into [-180, 180].
  double LonDelta(double lon) const;

  // Per-family transforms, one file each.
  bool ForwardPolarStereographic(double lon, double lat, double& x, double& y) const;
  bool InversePolarStereographic(double x, double y, double& lon, double& lat) const;
  void RecomputePolarStereographic();
  bool ForwardCylindrical(double lon, double lat, double& x, double& y) const;
  bool InverseCylindrical(double x, double y, double& lon, double& lat) const;
  void RecomputeMercatorZoomed();
  // Azimuthal kinds work in plane units of Width around the picture centre.
  bool ForwardAzimuthal(double lon, double lat, double& u, double& v) const;
  bool InverseAzimuthal(double u, double v, double& lon, double& lat) const;
  void RecomputeAzimuthal();
  bool ForwardConic(double lon, double lat, double& u, double& v) const;
  bool InverseConic(double u, double v, double& lon, double& lat) const;
  void RecomputeConic();
  bool ForwardVanDerGrinten(double lon, double lat, double& u, double& v) const;
  bool InverseVanDerGrinten(double u, double v, double& lon, double& lat) const;

  // The mapping's settings, as the accessors above name them.
  float eccentricity_ = 0, halfEccentricity_ = 0;
  float invConeDeg_ = 0, coneN_ = 0, invConeN_ = 0, coneF_ = 0, invConeF_ = 0, coneDeg_ = 0, rho0_ = 0;
  float scale_ = 0, invScale_ = 0;
  float latOrigin_ = 0, latSpan_ = 0, lonOrigin_ = 0, lonSpan_ = 0;
  int height_ = 0;
  float invHeight_ = 0;
  int width_ = 0;
  float invWidth_ = 0;
  float centreLon_ = 0;
  float mercatorSlope_ = 0, mercatorOffset_ = 0;
  int halfHeight_ = 0;
  float centreLat_ = 0;
  std::uint8_t kind_ = 0;
  std::uint8_t zoomRegion_ = 0;
  float rotation_ = 0;
  float sinCentreLat_ = 0, cosCentreLat_ = 0;
  float stdParallel1_ = 0, stdParallel2_ = 0;
  float invVdGScale_ = 0, vdgScale_ = 0;
  float polarOffset_ = 0;
  bool southern_ = false;
  float xOffset_ = 0, yOffset_ = 0;
  float pixelScale_ = 0;
};

// Great-circle distance in km on a sphere of radius 6378.135 km.
double GreatCircleDistance(double lat1, double lon1, double lat2, double lon2);
double MercatorY(double lat);
double InverseMercatorY(double y);
