#pragma once
// TDataStuff: a decoded field (from a GRIB message or a netCDF file), held
// as an 8-bit picture of colour indices plus the tables that turn an index
// back into a physical value.
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "grib/ExtBitmap.h"

class TGribData;

// A rows x columns array stored row after row; [row][column] access.
template <class T>
class TGrid2D {
public:
  void Resize(int rows, int columns, T fill = T{}) {
    rows_ = rows > 0 ? rows : 0;
    columns_ = columns > 0 ? columns : 0;
    cells_.assign(static_cast<std::size_t>(rows_) * columns_, fill);
  }
  void Clear() {
    rows_ = columns_ = 0;
    cells_.clear();
    cells_.shrink_to_fit();
  }
  bool Empty() const { return cells_.empty(); }
  int Rows() const { return rows_; }
  int Columns() const { return columns_; }
  T* operator[](int row) { return cells_.data() + static_cast<std::size_t>(row) * columns_; }
  const T* operator[](int row) const { return cells_.data() + static_cast<std::size_t>(row) * columns_; }
  std::vector<T>& Cells() { return cells_; }
  const std::vector<T>& Cells() const { return cells_; }

private:
  int rows_ = 0;
  int columns_ = 0;
  std::vector<T> cells_;
};

// The bit map: 1 where a grid point has a value, 0 where it is missing. It
// is kept in file order (row r of the file, point c of that row), which is
// the order the packed values come in.
using TAvailableArray = TGrid2D<std::uint8_t>;
using TLabelArray = std::array<QString, 256>;

// Edition 2 only: what the later steps need from sections 1 and 5.
struct TSectionCopy {
  std::uint32_t Section1Length = 0;
  std::uint16_t Centre = 0;     // section 1 octets 6-7
  std::uint16_t SubCentre = 0;  // section 1 octets 8-9
  std::array<std::uint8_t, 17> Section1{};  // section 1 octets 5..21 as read
  std::array<std::uint8_t, 47> Section5{};  // section 5 octets 1..47, zero past its end
  // Data representation template number (section 5 octets 10-11).
  int DataTemplate() const { return (Section5[9] << 8) | Section5[10]; }
};

class TDataStuff {
public:
  explicit TDataStuff(TGribData* owner = nullptr);
  TDataStuff(const TDataStuff&) = delete;
  TDataStuff& operator=(const TDataStuff&) = delete;

  // Empties Available and sizes the picture.
  void SetGridSize(int height, int width);

  // Named views of ProductId (edition 1 product section octets 5..28).
  int Centre() const { return ProductId[0]; }
  int Process() const { return ProductId[1]; }
  bool HasGridSection() const { return (ProductId[3] & 0x80) != 0; }
  bool HasBitMapSection() const { return (ProductId[3] & 0x40) != 0; }
  int ParameterOctet() const { return ProductId[4]; }
  int LevelType() const { return ProductId[5]; }
  // Host-order level value for level types 100 and 105, else the two octets as stored.
  int LevelValue() const { return (ProductId[6] << 8) | ProductId[7]; }
  int TimeUnit() const { return ProductId[13]; }
  int P1() const { return ProductId[14]; }
  int P2() const { return ProductId[15]; }
  int TimeRangeIndicator() const { return ProductId[16]; }

  // Defined with the parameter naming tables.
  int ParameterCode() const;
  QString LevelText() const;
  // Edition 1: Name from the parameter code and level (no forecast text).
  void BuildEdition1Name();
  // Edition 2: Name from discipline, category and number, then " " + level
  // text when there is one, then ForecastText.
  void BuildName(int discipline, float satelliteLongitude);

  std::int32_t ParameterCategory = 0;
  std::int32_t ParameterNumber = 0;
  bool Continuous = false;  // set by the colour-table builder
  TAvailableArray Available;
  std::int32_t BinaryScale = 0;
  TExtBitmap Bitmap;
  TGribData* Owner = nullptr;  // not owned
  QString Name;
  TLabelArray Labels;
  float MaxValue = 0;
  float MinValue = 0;
  std::array<float, 256> IndexValues{};
  std::int32_t DecimalScale = 0;
  QString FileName;
  TSectionCopy SectionCopy;
  std::int32_t RawMax = 0;
  std::int32_t RawMin = 0;
  bool NoBitmap = true;
  // Colour index of every packed value below 65536; values above use the last entry.
  std::array<std::uint8_t, 65536> IndexOfRaw{};
  std::uint8_t BitsPerValue = 0;
  std::array<std::uint8_t, 24> ProductId{};
  float ReferenceValue = 0;
  QString ForecastText;
  std::int32_t ForecastPeriod = 0;
  double ForecastDays = 0;
  // Colour index that missing grid points are painted with. The colour-table
  // builder sets it to an entry no class or scale step uses, so a missing
  // point never reads as data.
  std::uint8_t MissingIndex = 0;
  // Highest colour index a value may take: where a palette keeps its top
  // entries for the overlay colours (grid, coastlines, text), no value is
  // painted with them. Set by the colour-table builder.
  std::uint8_t TopDataIndex = 255;
  // The entries a continuous scale spreads its values over, lowest value
  // first: all 256, or, below reserved top entries, those between the
  // missing-value entry and TopDataIndex.
  struct TScaleSpan {
    int First = 0;
    int Last = 255;
  };
  TScaleSpan ScaleSpan() const
  {
    if (TopDataIndex >= 255)
      return {};
    return {MissingIndex == 0 ? 1 : 0, TopDataIndex};
  }
  // Set by the colour-table builder: an edge or type field whose palette
  // holds the "Unclassified" class; its legend and read-out follow it.
  bool ExtendedClasses = false;
};

using TDataStuffList = std::vector<std::unique_ptr<TDataStuff>>;

// Defined with the parameter naming tables.
// Edition 1 log line of a parameter code: "  Ice concentration", or
// "  Unrecognised data type: " and the code.
QString ParameterDescription(int code);
// Edition 2 section 4 log line of a parameter code; empty when there is none.
QString Edition2Description(int code);
// One forecast time unit: its log line ("  forecast: hour"), the factor the
// period is multiplied by, and the suffix after the number ("h").
struct TForecastUnit {
  int Unit;
  const char* LogLine;
  int Multiplier;
  const char* Suffix;
};
// nullptr for a unit without a text; unit 254 (second) exists in edition 1 only.
const TForecastUnit* FindForecastUnit(int unit, int edition);
