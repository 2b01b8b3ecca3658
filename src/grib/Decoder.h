#pragma once
// The message decoder behind TGribData::LoadFromStream: one object per
// message, with the section readers of both editions.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "grib/GribData.h"
#include "grib/Octets.h"
#include "mapping/Earth.h"
#include "mapping/ProjMapping.h"

// Marks a point that complex packing flags as missing.
inline constexpr std::int64_t kMissingValue = INT64_MIN;

// Colour index of a value `ratio` (0..1) of the way up a continuous scale
// over `entries`; ratios outside 0..1 (and NaN) stay on the scale's ends.
inline int ScaleIndex(const TDataStuff::TScaleSpan& entries, double ratio) {
  const int index = ClampIndex(entries.First + Nint(ratio * (entries.Last - entries.First)));
  return index < entries.First ? entries.First : index > entries.Last ? entries.Last : index;
}

// The packed integers of one field: either a simple-packing bit stream, or
// values already unpacked from complex packing (one per present point).
// What a space-view grid description states about the satellite's view.
struct TSpaceView {
  TEarth earth;
  double xpThousandths = 0, ypThousandths = 0;  // sub-satellite point, thousandths of a grid length
  double dx = 0, dy = 0;                        // apparent diameter of the earth in grid lengths
  double nr = 0;                                // satellite distance, earth radii x 10^6
};

struct TPackedValues {
  std::span<const std::uint8_t> bits;
  int bitsPerValue = 0;
  bool unpacked = false;
  std::vector<std::int64_t> values;
};

class TMessageDecoder {
public:
  TMessageDecoder(TGribData& data, std::span<const std::uint8_t> stream);

  // Returns the edition of the message at the start of the stream, 0 when
  // there is no "GRIB" signature.
  int FindEdition() const;
  bool DecodeEdition1();
  bool DecodeEdition2(bool exactLength);
  std::size_t MessageLength() const { return message_.Size(); }

private:
  void Log(const QString& line);
  void Logf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  bool Fail(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Edition 1 sections.
  bool IndicatorSection1();
  bool ProductSection1(TOctets section);
  void ForecastTime1(TDataStuff& field);
  bool GridSection1(TOctets section);
  bool LatLonCorners1(TOctets gds);
  bool LatLonGrid1(TOctets gds);
  bool PolarGrid1(TOctets gds);
  bool LambertGrid1(TOctets gds);
  bool RotatedGrid1(TOctets gds);
  bool SpaceViewGrid1(TOctets gds);
  bool BitMapSection1(TOctets section);
  bool DataSection1(TOctets section);
  bool CheckUnusedBits(TOctets bds, int unused, int bitsPerValue);
  void Edition1IndexTables(TDataStuff& field);

  // Edition 2 sections; pos_ walks the message.
  bool ReadSection(int number, const char* name, TOctets& section, std::size_t minimumLength);
  bool Section1();
  void Section2();
  bool Section3();
  bool LatLonGrid2(TOctets s, int templateNumber);
  bool PolarGrid2(TOctets s);
  bool SpaceViewGrid2(TOctets s);
  bool Product2(TDataStuff& field);
  bool Section4(TDataStuff& field);
  bool Section5(TDataStuff& field);
  bool Section6(TDataStuff& field);
  bool Section7(TDataStuff& field);
  bool Data2(TDataStuff& field);
  int PeekNextSection() const;

  // Shared by both editions.
  bool SizeField(TDataStuff& field);
  bool CheckBitmap(TDataStuff& field);
  bool CheckScaleFactors(const TDataStuff& field);
  void ExpandBitmap(std::span<const std::uint8_t> bits, TDataStuff& field);
  bool PrepareSimple(TDataStuff& field, std::span<const std::uint8_t> bits, int bitsPerValue);
  bool UnpackComplex(TDataStuff& field, TOctets section5, std::span<const std::uint8_t> data7);
  bool UndoSpatialDifferencing(int order, const std::int64_t (&firstValues)[2], std::int64_t minimum);
  void Edition2IndexTables(TDataStuff& field);
  float PhysicalValue(const TDataStuff& field, double x) const;
  void ScanRange(TDataStuff& field);
  void LogRange(TDataStuff& field);
  // IndexOfRaw from wideIndex_ for the values the bit width can hold.
  void FillIndexTable(TDataStuff& field);
  std::uint8_t WideIndex(const TDataStuff& field, std::int64_t x) const;
  void LinearIndexValues(TDataStuff& field);
  void UseLinearIndex(TDataStuff& field);
  void MarkMissingValues(TDataStuff& field);
  void Paint(TDataStuff& field);
  bool ScanningMode(int mode);
  bool CheckGridGeometry(int gridType);
  bool CheckCorners();
  void SetLatLonMapping(double la1, double la2, double lo1, double lo2);
  void SetSpaceViewMapping(const TSpaceView& view);
  bool SetRotatedMapping(double la1, double la2, double lo1, double lo2, double southPoleLat, double southPoleLon,
                         double angle);
  bool PlaceProjectedGrid(std::unique_ptr<TProjMapping> mapping, const std::string& error, double firstLat,
                          double firstLon, double dx, double dy);

  TGribData& data_;
  std::span<const std::uint8_t> stream_;
  TOctets message_;
  std::size_t pos_ = 0;
  TPackedValues packed_;
  TOctets section5_;
  TOctets section7_;
  std::int64_t presentPoints_ = 0;
  std::int64_t rawMin_ = 0;
  std::int64_t rawMax_ = 0;
  // Colour index of a packed value beyond IndexOfRaw (or of any value, when
  // the table is built from it); empty: values past the table take its last entry.
  std::function<std::uint8_t(std::int64_t)> wideIndex_;
};
