#pragma once
// The latitude/longitude grid drawn over a picture through a mapping:
// meridians and parallels traced point by point through the forward
// transform, labelled in degrees with a dark halo, and up to five dotted
// reference parallels.
#include <bitset>
#include <cstdint>
#include <vector>

#include "imaging/Canvas.h"

class TCanvas;
class TExtBitmap;
class TMapping;

// Members of the reference-parallel set.
enum TSpecialParallel : int {
  spArcticCircle = 0,
  spTropicOfCancer = 1,
  spEquator = 2,
  spTropicOfCapricorn = 3,
  spAntarcticCircle = 4,
};
using TSpecialParallels = std::bitset<5>;

struct TGraticuleStyle {
  int lonStep = 10;                   // degrees between meridians
  int latStep = 5;                    // degrees between parallels
  std::uint32_t textColour = 0xFFFFFF;  // 0x00BBGGRR
  std::uint32_t lineColour = 0xC0C0C0;
  int xShift = 0;  // pixels added to everything drawn
  int yShift = 0;
  bool noLabels = false;
  TSpecialParallels specialParallels;
  std::uint32_t haloColour = 0x000000;
  // Places no label may cover (the data-time stamp), in picture pixels.
  std::vector<TRect> keepClear;
  // When given, receives the rectangle of every label drawn, halo included.
  std::vector<TRect>* drawnLabels = nullptr;
};

// Labels never overlap one another or a kept-clear place: a label that
// would is left out. Where lines lie closer than about three label heights
// (meridians also closer than one and a half label widths), only every 2nd,
// 3rd or 6th line is drawn. Traced meridians end at the last parallel drawn,
// so that they do not merge into a solid star at a pole.

// True when the two rectangles share a pixel.
bool RectsIntersect(const TRect& a, const TRect& b);

// Nothing when the bitmap is absent or empty, or the mapping's kind is 0.
void DrawGraticuleOnBitmap(TExtBitmap* bitmap, const TMapping& mapping, int lonStep, int latStep,
                           std::uint32_t textColour, std::uint32_t lineColour, int xShift, int yShift,
                           bool noLabels, TSpecialParallels specialParallels, std::uint32_t haloColour);
// Nothing when the canvas is absent or either step is 0.
void DrawGraticule(TCanvas* canvas, const TMapping& mapping, int lonStep, int latStep, std::uint32_t textColour,
                   std::uint32_t lineColour, int xShift, int yShift, bool noLabels,
                   TSpecialParallels specialParallels, std::uint32_t haloColour);

void DrawGraticuleOnBitmap(TExtBitmap* bitmap, const TMapping& mapping, const TGraticuleStyle& style);
void DrawGraticule(TCanvas* canvas, const TMapping& mapping, const TGraticuleStyle& style);

// Label texts: "0°", "180°", "20°W", "35°E"; "0°", "60°S", "75°N".
class QString;
QString MeridianLabel(int lon);
QString ParallelLabel(int lat);
