#pragma once
// TGeostationaryMapping: the view of a geostationary satellite (full-disc
// images). Columns grow eastward and lines southward from the sub-satellite
// point at (CentreColumn, CentreLine); CentreLon is the sub-satellite
// longitude. Kind stays 0, so a plain Assign copy draws nothing.
#include "mapping/Mapping.h"

#include <cstdint>

class TGeostationaryMapping : public TMapping {
public:
  // Width of the full-resolution disc, whose scan constants are fixed.
  static constexpr int kFullDiscColumns = 3712;
  static constexpr float kFullDiscFactor = 208.16554f;
  static constexpr float kFullDiscCentre = 1856.0f;

  TGeostationaryMapping();

  int GetDrawHeight() const override;
  int GetDrawWidth() const override;
  void CopySettings(const TMapping& source) override;
  bool CanDraw() const override { return true; }
  int GraticuleKind() const override { return pkOrthographic; }
  bool LatLonToPixel(float lon, float lat, int& x, int& y) const override;
  bool LatLonToPixelF(float lon, float lat, float& x, float& y) const override;
  bool PixelToLatLon(int x, int y, float& lon, float& lat) const override;

  // Pixel of a point: scaled, rounded, then offset; false on the far side.
  bool GeoToPixelScaled(float lon, float lat, float& x, float& y) const;
  // Position under a pixel; off the disc it is the sub-satellite point and
  // the result false.
  bool PixelToGeoF(float x, float y, float& lon, float& lat) const;

  // Picture size; the full-resolution disc also fixes its scan constants,
  // so this comes after the grid's own centre has been set.
  void SetDiscSize(int columns, int rows);

  // The grid's sub-satellite longitude in millionths of a degree; some
  // producers write whole degrees (57 or 63) instead.
  static float SubSatelliteLonFromGrid(std::int64_t value);
  // Column or line of the sub-satellite point from the grid's value in
  // thousandths of a grid length, counted from the other end when the grid
  // is scanned the other way.
  static float CentreFromGrid(std::int64_t thousandths, int size, bool reversed);

  void SetSatDistance(float km) { satDistance_ = km; }
  void SetColumnFactor(float value) { columnFactor_ = value; }
  void SetLineFactor(float value) { lineFactor_ = value; }
  void SetEquatorRadius(float km);
  void SetPolarRadius(float km);
  void SetCentreLine(float value) { centreLine_ = value; }
  void SetCentreColumn(float value) { centreColumn_ = value; }

  float SatDistance() const { return satDistance_; }
  float ColumnFactor() const { return columnFactor_; }
  float LineFactor() const { return lineFactor_; }
  float Flattening() const { return flattening_; }
  float PolarRadius() const { return polarRadius_; }
  float EquatorRadius() const { return equatorRadius_; }
  float CentreLine() const { return centreLine_; }
  float CentreColumn() const { return centreColumn_; }

protected:
  std::unique_ptr<TMapping> NewOfSameKind() const override;

private:
  // Unscaled fractional (column, line); false on the far side.
  bool ColumnLine(double lon, double lat, double& column, double& line) const;
  void UpdateFlattening();

  float satDistance_ = 42164.0f;
  float columnFactor_ = 69.38852f;
  float lineFactor_ = 69.38852f;
  float flattening_ = 0;
  float polarRadius_ = 6356.584f;
  float equatorRadius_ = 6378.169f;
  float centreLine_ = 0;
  float centreColumn_ = 0;
};
