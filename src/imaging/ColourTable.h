#pragma once
// The colour table of a decoded field: a palette of 105 (sea-ice
// concentration), 13 (sea-ice edge and type) or 256 entries chosen by the
// parameter code, the class names by byte code, the colour index that marks
// points without a value, and whether the colours form a continuous scale.
#include <array>
#include <cstdint>
#include <string_view>

#include "grib/ExtBitmap.h"
#include "imaging/ValueClasses.h"

class TDataStuff;
class TGribData;

inline constexpr int kConcentrationPaletteSize = 105;
inline constexpr int kIcePaletteSize = 13;
inline constexpr int kFullPaletteSize = 256;

// What the colour table depends on.
struct TColourTableSource {
  std::int32_t ParameterCode = 0;
  // Edition 1 parameter octet (product section octet 9); 0 for edition 2.
  int ParameterOctet = 0;
  // The edition 1 grid section carries the extended description, which
  // goes with the edge and type products that know "Unclassified".
  bool ExtendedGrid = false;
  // Edition 2 originating centre and sub-centre (section 1).
  int Centre = 0;
  int SubCentre = 0;
  // Physical value of each colour index, as far as known before unpacking.
  std::array<float, 256> IndexValues{};
};

inline constexpr std::int16_t kIndexUntouched = -1;

struct TColourTable {
  std::array<TRgb, 256> Palette{};  // all black unless set
  int Size = kFullPaletteSize;
  // The class table the palette was built from; empty for scales.
  TClassTable Classes;
  // True when record i of Classes is palette entry i; false when a record
  // sits at the entry of its code (edge, type) or covers a range
  // (concentration).
  bool ClassesByPosition = false;
  std::array<std::string_view, 256> Labels{};
  bool Continuous = false;
  // Entry painted where a grid point has no value: its colour is one that
  // no class or data value of the product shows.
  std::uint8_t MissingIndex = 0;
  // Highest entry a data value may be painted with: 252 where the entries
  // above hold the overlay colours, else 255.
  std::uint8_t TopDataIndex = 255;
  // Colour index the first 256 packed values are mapped to, or kIndexUntouched.
  std::array<std::int16_t, 256> IndexOfRaw{};
};

TColourTable MakeColourTable(const TColourTableSource& source);

// The entry that marks points without a value in a classified table (part
// of MakeColourTable): an entry no class shows, painted dark grey when it
// holds no fixed display colour; the palette grows by one entry when every
// entry shows a class. It may paint that entry and raise Size.
std::uint8_t ChooseClassMissingIndex(TColourTable& table);

// Number of palette entries for an edition 1 parameter octet.
int PaletteSizeFor(int parameterOctet);

// True when the code is one of the edge and type products whose table
// grows by "Unclassified" with the extended grid description.
bool HasExtendedClasses(std::int32_t parameterCode);

// Edge or type class table for the given choice; empty for other codes.
TClassTable IceClassTable(std::int32_t parameterCode, bool extended);
