// norvant-inspect: decodes one GRIB or netCDF file as the viewer does and prints what
// it found; optionally writes the decoded values and colour indices.
//
//   norvant-inspect FILE [--log] [--json] [--values OUT] [--indices OUT]
#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

#include "grib/DataFile.h"
#include "grib/FileReading.h"
#include "grib/GribData.h"
#include "imaging/ColourTableBuild.h"
#include "imaging/IceStatistics.h"
#include "mapping/DwdLmeMapping.h"
#include "mapping/GeostationaryMapping.h"

namespace {

constexpr int kErrorLogLines = 8;

struct TOptions {
  QString file;
  bool log = false;
  bool json = false;
  QString valuesPath;
  QString indicesPath;
};

struct TCorner {
  const char* key;
  const char* label;
  int x, y;
  float lat = 0, lon = 0;
  bool ok = false;
};

bool ParseArguments(const QStringList& args, TOptions& options) {
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == QLatin1String("--log")) {
      options.log = true;
    } else if (a == QLatin1String("--json")) {
      options.json = true;
    } else if ((a == QLatin1String("--values") || a == QLatin1String("--indices")) && i + 1 < args.size()) {
      (a == QLatin1String("--values") ? options.valuesPath : options.indicesPath) = args[++i];
    } else if (!a.startsWith(QLatin1String("--")) && options.file.isEmpty()) {
      options.file = a;
    } else {
      return false;
    }
  }
  return !options.file.isEmpty();
}

std::vector<TCorner> Corners(const TGribData& data) {
  const int w = data.Width, h = data.Height;
  std::vector<TCorner> corners = {{"topLeft", "top left", 0, 0},
                                  {"topRight", "top right", w - 1, 0},
                                  {"bottomLeft", "bottom left", 0, h - 1},
                                  {"bottomRight", "bottom right", w - 1, h - 1}};
  for (TCorner& c : corners) {
    c.ok = data.Mapping && data.Mapping->PixelToLatLon(c.x, c.y, c.lon, c.lat);
    c.lon = static_cast<float>(std::remainder(c.lon, 360.0));
    if (c.lon >= 180)
      c.lon -= 360;
  }
  return corners;
}

// Which picture pixels hold a grid point with a value, in picture order.
std::vector<bool> PresentPixels(const TGribData& data, const TDataStuff& field) {
  const std::size_t pixels = static_cast<std::size_t>(field.Bitmap.Width()) * field.Bitmap.Height();
  if (field.NoBitmap || field.Available.Empty())
    return std::vector<bool>(pixels, true);
  std::vector<bool> present(pixels, false);
  const TScanOrder order = data.ScanOrder();
  const auto cells = field.Available.Cells();
  for (std::size_t k = 0; k < cells.size() && k < pixels; ++k)
    present[order.PixelOf(k)] = cells[k] != 0;
  return present;
}

// The whole file or nothing: a short write, or one the device refuses when
// the data are flushed, is an error.
bool WriteFile(const QString& path, const void* bytes, std::size_t size) {
  QFile out(path);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return false;
  const bool written = out.write(static_cast<const char*>(bytes), static_cast<qint64>(size)) == static_cast<qint64>(size);
  const bool flushed = out.flush();
  out.close();
  return written && flushed && out.error() == QFileDevice::NoError;
}

// The value of every picture pixel, top row first: physical values of a
// continuous field, the byte codes of a classified one, NaN where the grid
// point has none.
std::vector<float> PixelValues(const TGribData& data) {
  const TDataStuff& field = *data.Current;
  const TExtBitmap& bitmap = field.Bitmap;
  const std::vector<bool> present = PresentPixels(data, field);
  std::vector<float> values(static_cast<std::size_t>(bitmap.Width()) * bitmap.Height(),
                            std::numeric_limits<float>::quiet_NaN());
  std::size_t k = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint8_t* line = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x, ++k)
      if (present[k])
        values[k] = field.Continuous ? field.IndexValues[line[x]] : static_cast<float>(line[x]);
  }
  return values;
}

bool WriteValues(const TGribData& data, const QString& path) {
  const std::vector<float> values = PixelValues(data);
  // The file is little-endian float32, whatever the host.
  static_assert(std::numeric_limits<float>::is_iec559);
  std::vector<std::uint8_t> bytes(values.size() * 4);
  for (std::size_t i = 0; i < values.size(); ++i) {
    std::uint32_t bits;
    std::memcpy(&bits, &values[i], 4);
    for (int b = 0; b < 4; ++b)
      bytes[i * 4 + b] = static_cast<std::uint8_t>(bits >> (8 * b));
  }
  return WriteFile(path, bytes.data(), bytes.size());
}

bool WriteIndices(const TGribData& data, const QString& path) {
  const auto pixels = data.Current->Bitmap.Pixels();
  return WriteFile(path, pixels.data(), pixels.size());
}

QString ReferenceTimeText(const TGribData& data) {
  return data.ReferenceTime.isValid() ? data.ReferenceTime.toUTC().toString(Qt::ISODate) : QString();
}

QString ProjectionText(const TGribData& data) {
  if (!data.Mapping)
    return QStringLiteral("none");
  if (dynamic_cast<const TGeostationaryMapping*>(data.Mapping.get()))
    return QStringLiteral("Geostationary");
  if (dynamic_cast<const TDwdLmeMapping*>(data.Mapping.get()))
    return QStringLiteral("Rotated pole");
  const auto name = ProjectionKindName(data.Mapping->Kind());
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// The smallest and largest value the field holds at the points that have
// one, as --values writes them: physical values of a continuous field, the
// byte codes of a classified one. Absent when no point has a value.
struct TPresentRange {
  bool any = false;
  float low = 0, high = 0;
};

TPresentRange PresentRange(const TGribData& data) {
  TPresentRange range;
  for (const float value : PixelValues(data)) {
    if (std::isnan(value))
      continue;
    range.low = range.any ? std::min(range.low, value) : value;
    range.high = range.any ? std::max(range.high, value) : value;
    range.any = true;
  }
  return range;
}

void PrintText(const TGribData& data, bool withLog) {
  const TDataStuff& f = *data.Current;
  const auto line = [](const QString& text) { std::printf("%s\n", text.toUtf8().constData()); };
  line(QStringLiteral("Edition:          %1").arg(data.Edition));
  line(QStringLiteral("Centre:           %1").arg(data.Edition == 2 ? f.SectionCopy.Centre : f.Centre()));
  line(QStringLiteral("Parameter code:   %1").arg(f.ParameterCode()));
  line(QStringLiteral("Name:             %1").arg(f.Name));
  line(QStringLiteral("Level:            %1").arg(data.LevelText()));
  line(QStringLiteral("Forecast:         %1").arg(f.ForecastText.trimmed()));
  line(QStringLiteral("Reference time:   %1").arg(ReferenceTimeText(data)));
  line(QStringLiteral("Grid:             %1 x %2").arg(data.Width).arg(data.Height));
  line(QStringLiteral("Projection:       %1").arg(ProjectionText(data)));
  const TPresentRange present = PresentRange(data);
  line(present.any ? QStringLiteral("Values present:   %1 .. %2").arg(present.low).arg(present.high)
                   : QStringLiteral("Values present:   none"));
  // The colour scale's range means something only for a continuous scale.
  if (f.Continuous)
    line(QStringLiteral("Colour scale:     %1 .. %2").arg(f.MinValue).arg(f.MaxValue));
  line(QStringLiteral("Raw value range:  %1 .. %2").arg(f.RawMin).arg(f.RawMax));
  for (const TCorner& c : Corners(data))
    line(c.ok ? QStringLiteral("Corner %1: %2, %3").arg(QString::fromLatin1(c.label).leftJustified(13)).arg(c.lat, 0, 'f', 4).arg(c.lon, 0, 'f', 4)
              : QStringLiteral("Corner %1: outside the projection").arg(QString::fromLatin1(c.label).leftJustified(13)));
  TCellAreaCache cellAreas;
  if (const std::optional<TIceStatistics> ice = IceStatisticsOf(data, cellAreas))
    line(QStringLiteral("Sea ice:          %1").arg(IceStatisticsText(*ice)));
  if (withLog) {
    line(QStringLiteral("Decode log:"));
    for (const QString& l : data.Log)
      line(l);
  }
}

void PrintJson(const TGribData& data) {
  const TDataStuff& f = *data.Current;
  QJsonObject o;
  o[QStringLiteral("edition")] = data.Edition;
  o[QStringLiteral("centre")] = data.Edition == 2 ? f.SectionCopy.Centre : f.Centre();
  o[QStringLiteral("parameterCode")] = f.ParameterCode();
  o[QStringLiteral("name")] = f.Name;
  o[QStringLiteral("level")] = data.LevelText();
  o[QStringLiteral("forecast")] = f.ForecastText.trimmed();
  o[QStringLiteral("width")] = data.Width;
  o[QStringLiteral("height")] = data.Height;
  o[QStringLiteral("referenceTime")] = ReferenceTimeText(data);
  // minValue/maxValue: the colour scale's range; dataMin/dataMax: the
  // values present (null when no point has one).
  o[QStringLiteral("minValue")] = f.MinValue;
  o[QStringLiteral("maxValue")] = f.MaxValue;
  const TPresentRange present = PresentRange(data);
  o[QStringLiteral("dataMin")] = present.any ? QJsonValue(present.low) : QJsonValue();
  o[QStringLiteral("dataMax")] = present.any ? QJsonValue(present.high) : QJsonValue();
  o[QStringLiteral("rawMin")] = f.RawMin;
  o[QStringLiteral("rawMax")] = f.RawMax;
  o[QStringLiteral("continuous")] = f.Continuous;
  o[QStringLiteral("projection")] = ProjectionText(data);
  QJsonObject corners;
  for (const TCorner& c : Corners(data))
    corners[QString::fromLatin1(c.key)] = c.ok ? QJsonArray{c.lat, c.lon} : QJsonArray{};
  o[QStringLiteral("corners")] = corners;
  // Sea-ice extent and area in km², and the missing share of the ocean
  // cells: concentration fields on a grid with cell areas, else null.
  TCellAreaCache cellAreas;
  const std::optional<TIceStatistics> ice = IceStatisticsOf(data, cellAreas);
  o[QStringLiteral("extentKm2")] = ice ? QJsonValue(ice->ExtentKm2) : QJsonValue();
  o[QStringLiteral("areaKm2")] = ice ? QJsonValue(ice->AreaKm2) : QJsonValue();
  o[QStringLiteral("holeFraction")] = ice ? QJsonValue(ice->HoleFraction()) : QJsonValue();
  o[QStringLiteral("log")] = QJsonArray::fromStringList(data.Log);
  std::printf("%s", QJsonDocument(o).toJson(QJsonDocument::Indented).constData());
}

int FailWith(const QStringList& log, const QString& reason = {}) {
  for (qsizetype i = std::max<qsizetype>(0, log.size() - kErrorLogLines); i < log.size(); ++i)
    std::fprintf(stderr, "%s\n", log[i].toUtf8().constData());
  if (!reason.isEmpty())
    std::fprintf(stderr, "%s\n", reason.toUtf8().constData());
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  TOptions options;
  if (!ParseArguments(QCoreApplication::arguments(), options)) {
    std::fprintf(stderr, "usage: norvant-inspect FILE [--log] [--json] [--values OUT] [--indices OUT]\n");
    return 1;
  }
  std::vector<std::uint8_t> bytes;
  QString error;
  if (!ReadDataFile(options.file, bytes, error))
    return FailWith({}, error);
  TGribData data(BuildColourTable);
  data.FileName = options.file;
  if (!DecodeDataFile(data, bytes, options.file))
    return FailWith(data.Log);
  if (options.json)
    PrintJson(data);
  else
    PrintText(data, options.log);
  if (!options.valuesPath.isEmpty() && !WriteValues(data, options.valuesPath))
    return FailWith({}, QStringLiteral("Cannot write %1").arg(options.valuesPath));
  if (!options.indicesPath.isEmpty() && !WriteIndices(data, options.indicesPath))
    return FailWith({}, QStringLiteral("Cannot write %1").arg(options.indicesPath));
  return 0;
}
