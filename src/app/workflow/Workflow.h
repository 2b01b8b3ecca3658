#pragma once
// TWorkflow: the viewer without its window. It owns the four product slots,
// the display picture with its mapping and the boundary list; it finds and
// loads data files, renders the selected product with its overlays, and
// gives the cursor read-out and the legend content. The main window, the
// batch runner and the tests all drive this one object.
#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "app/workflow/MessageSink.h"
#include "app/workflow/Products.h"
#include "app/workflow/ViewerSettings.h"
#include "grib/ExtBitmap.h"
#include "imaging/IceStatistics.h"
#include "imaging/Legend.h"
#include "mapping/Mapping.h"
#include "overlays/Graticule.h"

class TCartogList;
class TGribData;

enum class THemisphere { Either, Northern, Southern };

struct TDisplayOptions {
  bool Zoomed = false;
  bool ShowGrid = true;
  bool ShowBoundaries = true;
  bool LargeText = false;
  // Point size of the window's font; the large data-time stamp is 3/2 of it.
  int FontPoints = 9;
};

// What the cursor read-out shows at one picture pixel. An absent text means
// the label keeps what it showed before.
struct TReadOut {
  QString Location;             // empty outside the projection
  std::optional<QString> Data;  // absent off the product's grid or with no product
};

class TWorkflow {
public:
  TWorkflow(TViewerSettings& settings, TMessageSink& messages);
  ~TWorkflow();
  TWorkflow(const TWorkflow&) = delete;
  TWorkflow& operator=(const TWorkflow&) = delete;

  // Loads the products of `fileName` that `mask` asks for (a sea-ice file
  // brings its concentration, edge and type siblings; an SST file itself),
  // selects the tab of the first that loaded and renders it. True when every
  // product tried loaded. A product that failed while another loaded shows
  // nothing; when none loaded, everything shown before stays.
  bool LoadProducts(const QString& fileName, unsigned mask);
  // Reads one file (gzip when its name ends in ".gz") and files the decoded
  // product in its slot. False when the file is missing or unreadable, does
  // not decode, or holds no product of the viewer; LastError says which.
  bool LoadGribFile(const QString& fileName);
  // Finds the newest files below ImagesPath()/SAF and loads them: sea ice of
  // either or one hemisphere, and for either also the newest SST. False when
  // nothing was found.
  bool OpenLatest(THemisphere hemisphere);

  QString LastError() const { return lastError_; }

  // What the last LoadProducts or OpenLatest tried and managed.
  struct TLoadReport {
    int Tried = 0;
    int Loaded = 0;
    QString FirstError;  // the first failure's file and reason
  };
  const TLoadReport& LastLoad() const { return lastLoad_; }

  const TGribData* Data(int product) const;
  QString FileName(int product) const;
  // The resolved file name of each product at the last load.
  QString AnimationSource(int product) const;

  int SelectedTab() const { return selectedTab_; }
  void SelectTab(int tab);

  const TDisplayOptions& DisplayOptions() const { return options_; }
  void SetDisplayOptions(const TDisplayOptions& options) { options_ = options; }

  // Rebuilds the display picture for the selected tab and reports it through
  // OnDisplayChanged.
  void Render();
  std::function<void()> OnDisplayChanged;

  const TExtBitmap& DisplayBitmap() const { return displayBitmap_; }
  const TMapping& DisplayMapping() const { return *displayMapping_; }
  const TGribData* DisplayedData() const { return displayedData_; }
  QString DisplayedFileName() const { return displayedFileName_; }

  // Stamps "Data: yyyy-mmm-dd hh:nn" in the bottom-left corner.
  void DrawDataDate(TExtBitmap& bitmap, const TGribData& data) const;
  // The place the stamp takes on the bitmap.
  TRect DataDateRect(TExtBitmap& bitmap, const TGribData& data) const;
  // The grid of a product picture: 10° and 5° steps, white labels with a
  // black halo on silver lines, no label over the stamp of `data` (when
  // given). `drawnLabels`, when given, receives the rectangle of every label drawn.
  TGraticuleStyle GraticuleStyle(TExtBitmap& bitmap, const TGribData* data,
                                 std::vector<TRect>* drawnLabels = nullptr) const;
  // The overlays of the display and of every saved picture, in one order:
  // the grid, the boundaries (through `mapping`), then the stamp of `data`
  // when given.
  void DrawOverlays(TExtBitmap& picture, const TMapping& mapping, const TGribData* data, bool grid,
                    bool boundaries) const;

  TReadOut ReadOutAt(int x, int y) const;
  // The legend box content of a tab, for a box of the given height.
  TLegend Legend(int tab, int boxHeight) const;

  // Extent, area and holes of the loaded concentration field; nothing when
  // none is loaded or its grid gives no cell areas. The cell areas of a
  // grid are computed once and kept while fields on that grid come.
  std::optional<TIceStatistics> ConcentrationStatistics();

  TCartogList& Boundaries() { return *boundaries_; }
  TViewerSettings& Settings() { return settings_; }
  TMessageSink& Messages() { return messages_; }

private:
  struct TSlot {
    QString FileName;
    std::unique_ptr<TGribData> Data;
  };

  bool LoadSeaIce(const QString& folder, const QString& name, unsigned mask);
  bool LoadInto(int product, const QString& fileName);
  bool ReadAndDecode(const QString& fileName, std::unique_ptr<TGribData>& data);
  QString FindNewestConcentration(const QString& safFolder, const QString& mask) const;
  void RenderProduct(const TGribData& data);
  void SetLastError(const QString& fileName, const QString& reason);

  TViewerSettings& settings_;
  TMessageSink& messages_;
  std::array<TSlot, kProductCount> slots_;
  std::array<QString, kProductCount> animationSources_;
  // Products that failed in the current LoadProducts.
  std::array<bool, kProductCount> failed_{};
  int selectedTab_ = prConcentration;
  TDisplayOptions options_;
  TExtBitmap displayBitmap_;
  std::unique_ptr<TMapping> displayMapping_;
  std::unique_ptr<TCartogList> boundaries_;
  const TGribData* displayedData_ = nullptr;
  QString displayedFileName_;
  bool renderedZoomed_ = false;
  QString lastError_;
  TLoadReport lastLoad_;
  TCellAreaCache cellAreas_;
};
