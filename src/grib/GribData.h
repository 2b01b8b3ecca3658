#pragma once
// TGribData: a data reader; reads one GRIB message (edition 1 or 2) from
// memory (or, through DecodeDataFile, a netCDF file) into a list of decoded
// fields, keeps a line-by-line decode log and the projection the grid
// section describes.
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "grib/DataStuff.h"
#include "grib/ScanOrder.h"
#include "mapping/Mapping.h"

// Grid description as read, per grid type. Latitudes and longitudes are in
// millidegrees, lengths in metres, unless a comment says otherwise.
struct TGridParameters {
  std::int32_t La1 = 0, Lo1 = 0, La2 = 0, Lo2 = 0;
  std::int32_t Di = 0, Dj = 0;          // lat-lon increments
  std::int32_t LoV = 0;                 // orientation longitude
  std::int32_t Dx = 0, Dy = 0;          // grid lengths
  std::int32_t Latin1 = 0, Latin2 = 0;  // Lambert standard parallels
  std::int32_t SouthPoleLat = 0, SouthPoleLon = 0;
  std::uint8_t ResolutionFlags = 0;
  std::uint8_t ProjectionCentre = 0;
  std::uint8_t ScanningMode = 0;
  bool Southern = false;
  float MajorAxisKm = 0, MinorAxisKm = 0;  // extended polar-stereographic section
  float TrueScaleLatitude = 60;            // degrees
  float RotationAngle = 0;                 // rotated lat-lon, degrees
  std::int32_t Xp = 0, Yp = 0;             // space view, sub-satellite point
};

class TGribData;

// Bulletin headers and other leading bytes before the first message are
// skipped when the signature follows within this many bytes.
inline constexpr std::size_t kMaxLeadingBytes = 64 * 1024;
inline constexpr std::size_t kNoSignature = static_cast<std::size_t>(-1);
// Offset of the first "GRIB" that starts within the first searchBytes bytes.
std::size_t FindGribSignature(std::span<const std::uint8_t> stream, std::size_t searchBytes);

// Builds the palette, class names, MissingIndex and Continuous flag of a
// field before its data are unpacked, so that the decoder can write colour
// indices straight into the picture. The picture side supplies it
// (BuildColourTable in imaging/ColourTableBuild.h).
using TColourTableBuilder = void (*)(TGribData& data, TDataStuff& field);

class TGribData {
public:
  // Geometry accessors return this when the grid type has no such value.
  static constexpr float kNoGeometry = -10000.0f;

  using TColourTableEvent = std::function<void(TGribData& data, TExtBitmap& bitmap, bool& continuous,
                                               const QDateTime& referenceTime, int parameterOctet)>;

  explicit TGribData(TColourTableBuilder colourTableBuilder);
  ~TGribData();
  // An empty reader with this one's settings, for a further message of
  // the same file.
  std::unique_ptr<TGribData> NewForNextMessage() const;
  TGribData(const TGribData&) = delete;
  TGribData& operator=(const TGribData&) = delete;

  // Decodes the GRIB message at the start of the bytes (after at most
  // kMaxLeadingBytes of anything else). With exactLength
  // (edition 2) the bytes must hold exactly one message. Never throws: on
  // failure the Log says why and the result is false. True when the last
  // field decoded has a picture. Current is then the last field.
  bool LoadFromStream(std::span<const std::uint8_t> stream, bool exactLength = false);
  // Bytes from the start of the stream to the end of the message last
  // loaded (leading bytes and its total length); 0 when no message was framed.
  std::size_t MessageLength() const { return messageLength_; }

  TExtBitmap& Bitmap() { return Current->Bitmap; }
  const TExtBitmap& Bitmap() const { return Current->Bitmap; }
  float MaxValue() const { return Current->MaxValue; }
  float MinValue() const { return Current->MinValue; }
  void GetIndexValues(float (&values)[256]) const;
  int ParameterCode() const { return Current->ParameterCode(); }
  // Builds the field's colour table: OnColourTable when assigned, else the
  // builder the reader was made with. False, with a log line, without either.
  bool MakeColourTable(TDataStuff& field);

  // Empty for the sea-ice products (codes 91, 220, 221).
  QString LevelText() const;

  // Degrees; kNoGeometry when the grid type lacks the value.
  float FirstLatitude() const;   // grid types 0 and 5
  float FirstLongitude() const;  // grid types 0 and 5
  float LastLatitude() const;    // grid type 0
  float LastLongitude() const;   // grid type 0
  float OrientationLongitude() const;  // grid type 5

  std::int32_t Discipline = 0;
  TDataStuff* Current = nullptr;
  TDataStuffList Fields;
  QStringList Log;
  std::uint8_t GridType = 0;
  bool LowerPriority = true;
  bool ExtendedGrid = false;
  TGridParameters Grid;
  std::int32_t Edition = 0;
  std::int32_t Height = 0;
  std::int32_t Width = 0;
  float SatelliteLongitude = 0;
  std::unique_ptr<TMapping> Mapping;
  // The last bit map read from an edition 2 message (indicator 254 reuses it).
  TAvailableArray PreviousBitmap;
  bool HasPreviousBitmap = false;
  std::int32_t ColourMinCelsius = -1;
  std::int32_t ColourMaxCelsius = 34;
  TColourTableEvent OnColourTable;
  QDateTime ReferenceTime;  // UTC
  QString FileName;
  // Scanning direction of the grid: points east to west, rows south to north.
  bool HorizontalFlip = false;
  bool VerticalFlip = false;
  // Points stored column by column; every other row (column) reversed.
  bool ColumnMajor = false;
  bool AlternateRows = false;
  TScanOrder ScanOrder() const {
    return {Width, Height, HorizontalFlip, VerticalFlip, ColumnMajor, AlternateRows};
  }

private:
  TColourTableBuilder colourTableBuilder_ = nullptr;
  std::size_t messageLength_ = 0;
};
