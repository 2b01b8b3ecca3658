#include "app/workflow/Workflow.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <cmath>
#include <exception>

#include "app/workflow/FileNames.h"
#include "app/workflow/FileSearch.h"
#include "app/workflow/LatLonText.h"
#include "app/workflow/ProcessPriority.h"
#include "app/workflow/UtcClock.h"
#include "grib/DataFile.h"
#include "grib/FileReading.h"
#include "grib/GribData.h"
#include "grib/NetCdfReader.h"
#include "imaging/Canvas.h"
#include "imaging/ColourTable.h"
#include "imaging/ColourTableBuild.h"
#include "imaging/Resample.h"
#include "imaging/ValueClasses.h"
#include "imaging/ValueReadout.h"
#include "overlays/CartogList.h"
#include "overlays/Graticule.h"

namespace fs = std::filesystem;

namespace {

const QString kQualityFileMessage = QStringLiteral("Sorry - reading of quality files is not supported");

fs::path ToPath(const QString& name) { return fs::path(name.toStdU16String()); }
QString ToQString(const fs::path& path) { return QDir::toNativeSeparators(QString::fromStdU16String(path.u16string())); }

// Overlay colours as 0x00BBGGRR values.
constexpr std::uint32_t kSilverColour = 0xC0C0C0;
constexpr std::uint32_t kWhiteColour = 0xFFFFFF;
constexpr std::uint32_t kBlackColour = 0x000000;
constexpr int kGridLonStep = 10;
constexpr int kGridLatStep = 5;

// Points the boundary list at another mapping for as long as it lives.
class TBoundaryMappingScope {
public:
  TBoundaryMappingScope(TCartogList& boundaries, const TMapping& mapping)
    : boundaries_(boundaries), saved_(boundaries.Mapping)
  {
    boundaries_.Mapping = &mapping;
  }
  ~TBoundaryMappingScope() { boundaries_.Mapping = saved_; }
  TBoundaryMappingScope(const TBoundaryMappingScope&) = delete;
  TBoundaryMappingScope& operator=(const TBoundaryMappingScope&) = delete;

private:
  TCartogList& boundaries_;
  const TMapping* saved_;
};

}  // namespace

TWorkflow::TWorkflow(TViewerSettings& settings, TMessageSink& messages)
  : settings_(settings), messages_(messages), displayMapping_(std::make_unique<TMapping>()),
    boundaries_(std::make_unique<TCartogList>())
{
  if (!boundaries_->DefaultFileName.empty()) {
    boundaries_->LoadFromFile(boundaries_->DefaultFileName);
  }
  boundaries_->Mapping = displayMapping_.get();
}

TWorkflow::~TWorkflow() = default;

const TGribData* TWorkflow::Data(int product) const
{
  return product >= 0 && product < kProductCount ? slots_[static_cast<std::size_t>(product)].Data.get() : nullptr;
}

QString TWorkflow::FileName(int product) const
{
  return product >= 0 && product < kProductCount ? slots_[static_cast<std::size_t>(product)].FileName : QString();
}

QString TWorkflow::AnimationSource(int product) const
{
  return product >= 0 && product < kProductCount ? animationSources_[static_cast<std::size_t>(product)] : QString();
}

void TWorkflow::SelectTab(int tab)
{
  if (tab >= 0 && tab < kProductCount) {
    selectedTab_ = tab;
  }
}

void TWorkflow::SetLastError(const QString& fileName, const QString& reason)
{
  lastError_ = QString("%1: %2").arg(QDir::toNativeSeparators(fileName), reason);
}

// ---------------------------------------------------------------- loading

bool TWorkflow::LoadProducts(const QString& fileName, unsigned mask)
{
  lastLoad_ = {};
  if (IsQualityFile(ToPath(fileName))) {
    messages_.ShowMessage(kQualityFileMessage);
    return false;
  }
  const QFileInfo file(fileName);
  const std::array<QString, kProductCount> previousSources = animationSources_;
  failed_.fill(false);
  bool allLoaded = true;
  if (!IsSstFile(ToPath(fileName))) {
    allLoaded = LoadSeaIce(file.path(), file.fileName(), mask);
  } else if ((mask & kMaskSst) != 0) {
    animationSources_[prSst] = fileName;
    allLoaded = LoadInto(prSst, fileName);
    if (allLoaded) {
      SelectTab(prSst);
    }
  }
  if (lastLoad_.Tried > 0 && lastLoad_.Loaded == 0) {
    // Nothing of the file could be read: what was shown stays, and so do
    // the files an animation starts from.
    animationSources_ = previousSources;
  } else {
    // A product that did not load shows nothing rather than another date's data.
    for (int product = 0; product < kProductCount; ++product) {
      if (failed_[static_cast<std::size_t>(product)]) {
        slots_[static_cast<std::size_t>(product)] = {};
      }
    }
  }
  Render();
  return allLoaded;
}

bool TWorkflow::LoadSeaIce(const QString& folder, const QString& name, unsigned mask)
{
  const TSeaIceNames names = SeaIceSiblingNames(name.toStdString());
  const fs::path folderPath = ToPath(folder);
  bool loaded[3] = {true, true, true};

  const fs::path concentration = ResolveDataFileName(folderPath / names.concentration);
  animationSources_[prConcentration] = ToQString(concentration);
  if ((mask & kMaskConcentration) != 0) {
    fs::path wanted = concentration;
    if (!FindDataFile(wanted)) {
      wanted = folderPath / MultiProductConcentrationName(wanted.filename().string());
    }
    loaded[prConcentration] = LoadInto(prConcentration, ToQString(wanted));
  }
  const fs::path edge = ResolveSiblingFileName(folderPath / names.edge);
  animationSources_[prEdge] = ToQString(edge);
  if ((mask & kMaskEdge) != 0) {
    loaded[prEdge] = LoadInto(prEdge, ToQString(edge));
  }
  const fs::path type = ResolveSiblingFileName(folderPath / names.type);
  animationSources_[prType] = ToQString(type);
  if ((mask & kMaskType) != 0) {
    loaded[prType] = LoadInto(prType, ToQString(type));
  }

  for (int product : {prConcentration, prEdge, prType}) {
    if ((mask & ProductMask(product)) != 0 && loaded[product]) {
      SelectTab(product);
      break;
    }
  }
  return loaded[prConcentration] && loaded[prEdge] && loaded[prType];
}

bool TWorkflow::LoadInto(int product, const QString& fileName)
{
  ++lastLoad_.Tried;
  if (LoadGribFile(fileName)) {
    ++lastLoad_.Loaded;
    return true;
  }
  if (lastLoad_.FirstError.isEmpty()) {
    lastLoad_.FirstError = lastError_;
  }
  failed_[static_cast<std::size_t>(product)] = true;
  return false;
}

bool TWorkflow::LoadGribFile(const QString& fileName)
{
  const std::optional<fs::path> existing = FindDataFile(ToPath(fileName));
  if (!existing) {
    SetLastError(fileName, "the file does not exist");
    return false;
  }
  const QString onDisk = ToQString(*existing);
  try {
    auto data = std::make_unique<TGribData>(BuildColourTable);
    if (!ReadAndDecode(onDisk, data)) {
      return false;
    }
    const int product = ProductForParameterCode(data->ParameterCode());
    if (product < 0) {
      SetLastError(onDisk, QString("holds no product this viewer shows (parameter code %1)").arg(data->ParameterCode()));
      return false;
    }
    TSlot& slot = slots_[static_cast<std::size_t>(product)];
    slot.Data = std::move(data);
    slot.FileName = onDisk;
    return true;
  } catch (const std::exception& error) {
    SetLastError(onDisk, QString::fromLocal8Bit(error.what()));
  } catch (...) {
    SetLastError(onDisk, "it could not be read");
  }
  return false;
}

bool TWorkflow::ReadAndDecode(const QString& fileName, std::unique_ptr<TGribData>& data)
{
  std::vector<std::uint8_t> bytes;
  QString readError;
  if (!ReadDataFile(fileName, bytes, readError)) {
    SetLastError(fileName, readError);
    return false;
  }
  // Said plainly: a file cut to nothing by a failed download is common.
  if (bytes.empty()) {
    SetLastError(fileName, "The file is empty");
    return false;
  }
  // A long decode should not slow the rest of the desktop.
  const TIdlePriorityScope priority(data->LowerPriority);
  if (!DecodeDataFile(*data, bytes, fileName)) {
    SetLastError(fileName, data->Log.isEmpty() ? QString("it is not a GRIB file") : data->Log.last().trimmed());
    return false;
  }
  if (IsMultiMessageFile(ToPath(fileName)) && !IsNetCdfData(bytes)) {
    // The concentration field may follow one or two other fields.
    std::size_t offset = data->MessageLength();
    for (int further = 0; further < 2 && data->ParameterCode() != kSlotCodeConcentration; ++further) {
      if (!ReadNextGribMessage(data, bytes, offset)) {
        break;
      }
    }
  }
  return true;
}

// ------------------------------------------------------------ open latest

QString TWorkflow::FindNewestConcentration(const QString& safFolder, const QString& mask) const
{
  const QDate today = UtcNow().date();
  const QString gzipped = FindLatestFile(safFolder + mask + ".grb.gz", today);
  const QString plain = FindLatestFile(safFolder + mask + ".grb", today);
  // Equal dates favour the file that needs no unpacking.
  return DateFromFileName(plain) < DateFromFileName(gzipped) ? gzipped : plain;
}

namespace {

// The file of the later date; on the same date the first (the GRIB file).
QString Newer(const QString& first, const QString& second)
{
  return DateFromFileName(first) < DateFromFileName(second) ? second : first;
}

// The newest netCDF file of a mask, plain or gzip-compressed; equal dates
// favour the file that needs no unpacking.
QString NewestNetCdf(const QString& safFolder, const QString& mask)
{
  const QDate today = UtcNow().date();
  return Newer(FindLatestFile(safFolder + mask + ".nc", today), FindLatestFile(safFolder + mask + ".nc.gz", today));
}

}  // namespace

bool TWorkflow::OpenLatest(THemisphere hemisphere)
{
  const QString saf = settings_.ImagesPath() + "SAF" + QDir::separator();
  const QDate today = UtcNow().date();
  QString choice = FindNewestConcentration(saf, "*_CONC__*");
  if (choice.isEmpty()) {
    choice = FindLatestFile(saf + "multi_conc_2*.grb", today);
  }
  if (hemisphere == THemisphere::Northern) {
    choice = FindLatestFile(saf + "ice_conc_nh*.grb", today);
    if (choice.isEmpty()) {
      choice = FindNewestConcentration(saf, "*_NH_CONC__*");
    }
  } else if (hemisphere == THemisphere::Southern) {
    choice = FindLatestFile(saf + "ice_conc_sh*.grb", today);
    if (choice.isEmpty()) {
      choice = FindNewestConcentration(saf, "*_SH_CONC__*");
    }
  }
  const QString netCdfMask = hemisphere == THemisphere::Northern   ? "ice_conc_nh_*"
                             : hemisphere == THemisphere::Southern ? "ice_conc_sh_*"
                                                                   : "ice_conc_*";
  choice = Newer(choice, NewestNetCdf(saf, netCdfMask));
  bool found = false;
  TLoadReport report;
  if (!choice.isEmpty()) {
    settings_.DataFolder.Value = saf;
    LoadProducts(choice, kMaskAll);
    report = lastLoad_;
    found = true;
  }
  if (hemisphere == THemisphere::Either) {
    QString sst = FindLatestFile(saf + "S-OSI_-FRA_-MULT-MAPSST_FIELD-*.grb.gz", today);
    for (const char* mask : {"*-L4_GHRSST-SST*", "*-L3*_GHRSST-SST*"})
      sst = Newer(sst, NewestNetCdf(saf, mask));
    if (!sst.isEmpty()) {
      settings_.DataFolder.Value = saf;
      LoadProducts(sst, kMaskAll);
      report.Tried += lastLoad_.Tried;
      report.Loaded += lastLoad_.Loaded;
      if (report.FirstError.isEmpty()) {
        report.FirstError = lastLoad_.FirstError;
      }
      found = true;
    }
  }
  lastLoad_ = report;
  return found;
}

// ---------------------------------------------------------------- display

void TWorkflow::Render()
{
  const TSlot& slot = slots_[static_cast<std::size_t>(selectedTab_)];
  displayedData_ = slot.Data.get();
  displayedFileName_ = displayedData_ != nullptr ? slot.FileName : QString();
  renderedZoomed_ = false;
  if (displayedData_ == nullptr) {
    displayBitmap_.SetSize(0, 0);
  } else {
    try {
      RenderProduct(*displayedData_);
    } catch (const std::exception& error) {
      messages_.ShowMessage(QString::fromLocal8Bit(error.what()));
    }
  }
  if (OnDisplayChanged) {
    OnDisplayChanged();
  }
}

void TWorkflow::RenderProduct(const TGribData& data)
{
  // A copy of the product's own kind of mapping: a geostationary, rotated
  // or PROJ-computed view keeps its projection on screen.
  displayMapping_ = data.Mapping ? data.Mapping->Clone() : std::make_unique<TMapping>();
  boundaries_->Mapping = displayMapping_.get();
  displayBitmap_.Assign(data.Bitmap());
  if (options_.Zoomed) {
    const int width = 2 * displayBitmap_.Width(), height = 2 * displayBitmap_.Height();
    if (data.ParameterCode() == kSlotCodeTemperature) {
      // Smooth between values, but never across land or a gap: blending
      // with the missing index would paint a cold fringe along every coast.
      InterpolatePresent(displayBitmap_, width, height, data.Current->MissingIndex);
    } else {
      Interpolate(displayBitmap_, width, height, kInterpolateNearest);
    }
    displayMapping_->SetWidth(2 * data.Mapping->GetWidth());
    displayMapping_->SetHeight(2 * data.Mapping->GetHeight());
    // A grid point's pixel becomes a 2 x 2 block whose centre lies half a
    // doubled pixel right of and below twice the original position.
    displayMapping_->SetXOffsetF(2 * data.Mapping->XOffsetF() + 0.5f);
    displayMapping_->SetYOffsetF(2 * data.Mapping->YOffsetF() - 0.5f);
    renderedZoomed_ = true;
  }
  DrawOverlays(displayBitmap_, *displayMapping_, &data, options_.ShowGrid, options_.ShowBoundaries);
}

void TWorkflow::DrawOverlays(TExtBitmap& picture, const TMapping& mapping, const TGribData* data, bool grid,
                             bool boundaries) const
{
  TCanvas(picture).SetPenColour(kSilverColour);
  if (grid) {
    DrawGraticuleOnBitmap(&picture, mapping, GraticuleStyle(picture, data));
  }
  if (boundaries) {
    const TBoundaryMappingScope scope(*boundaries_, mapping);
    TCanvas(picture).SetPenColour(kSilverColour);
    boundaries_->DrawOnBitmap(&picture, 0, 0);
  }
  if (data != nullptr) {
    DrawDataDate(picture, *data);
  }
}

namespace {

QString DataDateText(const TGribData& data)
{
  return "Data: " + QLocale::c().toString(data.ReferenceTime.toUTC(), "yyyy-MMM-dd hh:mm");
}

}  // namespace

TGraticuleStyle TWorkflow::GraticuleStyle(TExtBitmap& bitmap, const TGribData* data,
                                          std::vector<TRect>* drawnLabels) const
{
  TGraticuleStyle style;
  style.lonStep = kGridLonStep;
  style.latStep = kGridLatStep;
  style.textColour = kWhiteColour;
  style.lineColour = kSilverColour;
  style.haloColour = kBlackColour;
  if (data != nullptr) {
    style.keepClear.push_back(DataDateRect(bitmap, *data));
  }
  style.drawnLabels = drawnLabels;
  return style;
}

TRect TWorkflow::DataDateRect(TExtBitmap& bitmap, const TGribData& data) const
{
  const QString text = DataDateText(data);
  TCanvas canvas(bitmap);
  const TCanvasFont savedFont = canvas.Font();
  if (options_.LargeText) {
    canvas.Font().size = options_.FontPoints * 3 / 2;
    canvas.Font().bold = true;
  }
  const int height = canvas.TextHeight(text);
  const int width = canvas.TextWidth("  " + text + "  ");
  canvas.SetFont(savedFont);
  return {0, bitmap.Height() - height, width, bitmap.Height()};
}

void TWorkflow::DrawDataDate(TExtBitmap& bitmap, const TGribData& data) const
{
  const QString text = DataDateText(data);
  TCanvas canvas(bitmap);
  const TCanvasFont savedFont = canvas.Font();
  const TBrushStyle savedStyle = canvas.BrushStyle();
  const TCanvasColour savedBrush = canvas.BrushColour();
  const TCanvasColour savedFontColour = canvas.Font().colour;
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  canvas.SetBrushColour(kBlackColour);
  canvas.SetFontColour(kWhiteColour);
  if (options_.LargeText) {
    canvas.Font().size = options_.FontPoints * 3 / 2;
    canvas.Font().bold = true;
  }
  canvas.TextOut(0, bitmap.Height() - canvas.TextHeight(text), "  " + text + "  ");
  canvas.SetFont(savedFont);
  canvas.Font().colour = savedFontColour;
  canvas.SetBrushStyle(savedStyle);
  canvas.Bitmap().CanvasState().brushColour = savedBrush;
}

// ------------------------------------------------------ read-out, legend

TReadOut TWorkflow::ReadOutAt(int x, int y) const
{
  TReadOut readOut;
  float lon = 0;
  float lat = 0;
  if (displayedData_ != nullptr && displayMapping_->PixelToLatLon(x, y, lon, lat)) {
    // The projection may hand back a longitude a turn away from the usual range.
    readOut.Location = FormatLatLon(1, lat, std::remainder(static_cast<double>(lon), 360.0));
  }
  if (displayedData_ == nullptr) {
    return readOut;
  }
  if (renderedZoomed_) {
    x = x >= 0 ? x / 2 : -1;
    y = y >= 0 ? y / 2 : -1;
  }
  const TExtBitmap& picture = displayedData_->Bitmap();
  if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height()) {
    return readOut;
  }
  readOut.Data = ClassNameAt(*displayedData_->Current, picture.ScanLine(y)[x]);
  return readOut;
}

TLegend TWorkflow::Legend(int tab, int boxHeight) const
{
  const TGribData* data = Data(tab);
  return BuildLegend(tab, data != nullptr ? data->Current : nullptr, boxHeight);
}

std::optional<TIceStatistics> TWorkflow::ConcentrationStatistics()
{
  const TGribData* data = Data(prConcentration);
  return data ? IceStatisticsOf(*data, cellAreas_) : std::nullopt;
}
