#pragma once
// The colour key beside the picture: one swatch per class for the sea-ice
// products, a colour bar with degree labels for sea-surface temperature.
// Built as plain data so the window's legend box and any picture draw the
// same thing.
#include <QString>

#include <array>
#include <vector>

#include "grib/ExtBitmap.h"
#include "imaging/ValueClasses.h"

class QPainter;
class TDataStuff;

inline constexpr int kLegendRowSize = 24;
inline constexpr int kLegendTextGap = 5;   // between a swatch and its name
inline constexpr int kSstBarRight = 24;    // bar lines run from x 0 to here
inline constexpr int kSstTickRight = 26;   // degree ticks run from x 0 to here
inline constexpr int kSstLabelLeft = 30;   // degree texts start here

struct TLegendSwatch {
  int Top = 0;  // the swatch is kLegendRowSize square at x 0
  TRgb Colour;
  QString Name;
};

struct TSstBarLine {
  int Y = 0;
  TRgb Colour;
};

struct TSstLabel {
  int Y = 0;  // row of the tick; the text is centred on it
  int Celsius = 0;
  QString Text;
};

struct TLegend {
  std::vector<TLegendSwatch> Swatches;
  std::vector<TSstBarLine> Bar;
  std::vector<TSstLabel> Labels;
};

// The class table the legend shows for a sea-ice product (tab order 0
// concentration, 1 edge, 2 type): edge and type follow the loaded field's
// own choice of table, the plain one while nothing is loaded. Empty for SST.
TClassTable LegendClasses(int product, const TDataStuff* field);

std::vector<TLegendSwatch> LegendSwatches(TClassTable classes);

// Rows of the colour bar, from the bottom row up: the palette entries 1 to
// `topEntry` (253 unless the field's values stop lower), each at the row
// of its place among 256, the highest at the top.
std::vector<TSstBarLine> SstBar(const std::array<TRgb, 256>& palette, int boxHeight, int topEntry = 253);

// Ticks for 0, 5, ... 30 degrees Celsius on a scale from minKelvin at entry
// `firstEntry` to maxKelvin at entry `lastEntry`; none when the scale has no
// extent.
std::vector<TSstLabel> SstLabels(float minKelvin, float maxKelvin, int boxHeight, int firstEntry = 0,
                                 int lastEntry = 255);

// Top of a degree text centred on its tick; texts whose top would be above
// the box (negative) are not drawn, their ticks are.
constexpr int SstLabelTop(int tickY, int textHeight) { return tickY - textHeight / 2; }

// Legend of a product tab; field is the product's loaded field or null.
TLegend BuildLegend(int product, const TDataStuff* field, int boxHeight);

// One class row at y: a size x size swatch at x 0 and the name beside it,
// vertically centred; y moves down by size.
void DrawLegendItem(QPainter& painter, const TLabelData& cls, int& y, int size);

// Draws the legend with the painter's font and pen for the texts.
void PaintLegend(QPainter& painter, const TLegend& legend);
