#pragma once
// Writing the picture of a product to a file: the default names, the
// overlays a saved picture carries, and the format told by the file name.
#include <QString>

#include "grib/ExtBitmap.h"

class TGribData;
class TMapping;
class TWorkflow;

// "conc.png", "edge.gif" and so on.
QString DefaultPictureName(int product, bool asGif);
// The default name of the product's picture in the folder data were last
// opened from.
QString DefaultPicturePath(const QString& dataFolder, int product, bool asGif);
// Names of an archive run, told apart by product, hemisphere and the date
// of the data: "conc-nh-20160110.png", "sst-20160110.gif"; animations
// "sea-ice-conc-nh-anim.gif", "SST-anim.gif". Sea-ice products take the
// hemisphere of their grid.
QString DatedPictureName(int product, const TGribData& data, bool asGif);
QString DatedAnimationName(int product, const TGribData& data);

// `folder` + `name`, with one separator between them; `name` alone when the
// folder is empty.
QString JoinFolder(const QString& folder, const QString& name);

// A name whose extension is ".gif" in any letter case is written as GIF;
// every other name, with or without an extension, as PNG.
bool IsGifFileName(const QString& fileName);

// What the "Save with overlay", "Show grid" and "Show boundaries" boxes ask
// of a saved picture.
struct TSaveOverlays {
  bool WithOverlay = false;
  bool ShowGrid = true;
  bool ShowBoundaries = true;
};

// The picture a save writes: a copy of `bitmap`; with WithOverlay, the grid
// (when ShowGrid), the boundaries (when ShowBoundaries) and, when `data` is
// given, the data-time stamp drawn over it through `mapping`, which must
// describe `bitmap`.
TExtBitmap ComposeSavedPicture(TWorkflow& workflow, const TExtBitmap& bitmap, const TMapping& mapping,
                               const TGribData* data, const TSaveOverlays& overlays);

struct TSaveResult {
  bool Written = false;
  QString FileName;  // native separators
  QString Error;     // why nothing was written, fit to show as it stands
};

// Composes the picture and writes it as GIF or PNG (with the program's text
// fields) through a temporary file, so a failure leaves any earlier file of
// that name as it was. Never throws.
TSaveResult SaveProductImage(TWorkflow& workflow, const TExtBitmap& bitmap, const TMapping& mapping,
                             const TGribData* data, const QString& fileName, const TSaveOverlays& overlays);

// Saves the product's own picture at grid size, overlays placed through the
// product's own mapping. An error when the product is not loaded.
TSaveResult SaveProductPicture(TWorkflow& workflow, int product, const QString& fileName,
                               const TSaveOverlays& overlays);
