// Every grid placed where its file says: for every 16th pixel and the four
// corners of each sample, variant and geometry test file, the position
// Norvant reads out and the pixel it draws a position on agree with
// ecCodes' geo-iterator, or with PROJ from the grid's stated parameters
// where ecCodes is known to be wrong, within a tenth of a grid cell.
#include <gtest/gtest.h>

#include <QFileInfo>

#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>

#include "grib/GeometryReference.h"
#include "grib/GribData.h"
#include "grib/GribTestFiles.h"
#include "imaging/ColourTableBuild.h"
#include "support/ProjReference.h"

namespace {

constexpr double kCellTolerance = 0.1;
constexpr int kStride = 16;
constexpr double kKmPerDegree = 111.195;

struct TGeoPointRef {
  double lon = 0, lat = 0;
};

// East and north km of `to` seen from `from` (short distances).
void Offset(const TGeoPointRef& from, const TGeoPointRef& to, double& east, double& north) {
  east = std::remainder(to.lon - from.lon, 360.0) * std::cos(from.lat * M_PI / 180) * kKmPerDegree;
  north = (to.lat - from.lat) * kKmPerDegree;
}

class TGeometryCheck {
public:
  TGeometryCheck(const TMapping& mapping, const TGeometryReference& ref, const std::string& label)
    : mapping_(mapping), ref_(ref), label_(label) {
    if (ref.useProj)
      proj_ = std::make_unique<TProjReference>(ref.projDefinition);
  }

  void Run() {
    int checked = 0;
    for (int y = 0; y < ref_.height; y += kStride)
      for (int x = 0; x < ref_.width; x += kStride)
        checked += Check(x, y);
    const int right = static_cast<int>(ref_.width - 1), bottom = static_cast<int>(ref_.height - 1);
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{right, 0}, std::pair{0, bottom}, std::pair{right, bottom}})
      checked += Check(x, y);
    EXPECT_GT(checked, 0) << label_;
    std::printf("[ geometry ] %s: %d points against %s\n", label_.c_str(), checked, ref_.why.c_str());
  }

private:
  bool Reference(int x, int y, TGeoPointRef& p) const { return ref_.At(proj_.get(), x, y, p.lon, p.lat); }

  // A step of one cell from (x, y) along x (dx = 1) or y, in km; taken
  // backwards at the far edge.
  bool CellStep(int x, int y, int dx, int dy, const TGeoPointRef& at, double& east, double& north) const {
    TGeoPointRef next;
    if (Reference(x + dx, y + dy, next)) {
      Offset(at, next, east, north);
      return true;
    }
    if (!Reference(x - dx, y - dy, next))
      return false;
    Offset(next, at, east, north);
    return true;
  }

  int Check(int x, int y) {
    TGeoPointRef expected;
    float lon = 0, lat = 0;
    if (!Reference(x, y, expected)) {
      EXPECT_FALSE(mapping_.PixelToLatLon(x, y, lon, lat)) << label_ << ": pixel " << x << "," << y << " is off the earth";
      return 0;
    }
    // A lat-lon grid's pole row has no longitude to compare.
    if (std::fabs(expected.lat) > 89.999)
      return 0;
    double ex = 0, ny = 0, ey = 0, nx = 0;
    if (!CellStep(x, y, 1, 0, expected, ex, nx) || !CellStep(x, y, 0, 1, expected, ey, ny))
      return 0;
    // Read-out: the position under the pixel, in cells of the grid.
    EXPECT_TRUE(mapping_.PixelToLatLon(x, y, lon, lat)) << label_ << ": pixel " << x << "," << y;
    double e = 0, n = 0;
    Offset(expected, {lon, lat}, e, n);
    const double det = ex * ny - ey * nx;
    const double a = (e * ny - ey * n) / det, b = (ex * n - e * nx) / det;
    EXPECT_LT(std::hypot(a, b), kCellTolerance)
      << label_ << ": pixel " << x << "," << y << " reads " << lat << ", " << lon << "; " << ref_.why << " says "
      << expected.lat << ", " << expected.lon;
    // Drawing: the pixel a position is drawn on.
    float px = 0, py = 0;
    EXPECT_TRUE(mapping_.LatLonToPixelF(static_cast<float>(expected.lon), static_cast<float>(expected.lat), px, py));
    EXPECT_LT(std::hypot(px - x, py - y), kCellTolerance)
      << label_ << ": " << expected.lat << ", " << expected.lon << " drawn at " << px << "," << py << ", not " << x
      << "," << y << " (" << ref_.why << ")";
    return 1;
  }

  const TMapping& mapping_;
  const TGeometryReference& ref_;
  std::string label_;
  std::unique_ptr<TProjReference> proj_;
};

void CheckFile(const QString& path) {
  const std::string name = QFileInfo(path).fileName().toStdString();
  const std::vector<std::uint8_t> bytes = FileBytes(path);
  const std::vector<TGeometryReference> refs = GeometryReferences(bytes);
  ASSERT_FALSE(refs.empty()) << name;
  std::size_t offset = 0;
  for (std::size_t i = 0; i < refs.size(); ++i) {
    const std::string label = name + " message " + std::to_string(i) + " (" + refs[i].gridType + ")";
    TGribData data(BuildColourTable);
    const bool loaded = data.LoadFromStream(std::span(bytes).subspan(offset));
    ASSERT_TRUE(loaded) << label << "\n" << data.Log.join('\n').toStdString();
    offset += data.MessageLength();
    ASSERT_TRUE(data.Mapping) << label;
    TGeometryCheck(*data.Mapping, refs[i], label).Run();
    // The display copy keeps the projection.
    TGeometryCheck(*data.Mapping->Clone(), refs[i], label + " (display copy)").Run();
  }
}

void CheckFolder(const QString& folder) {
  ASSERT_FALSE(folder.isEmpty());
  const QStringList files = GribFilesBelow(folder);
  ASSERT_FALSE(files.isEmpty());
  for (const QString& path : files)
    CheckFile(path);
}

}  // namespace

TEST(GeometryOracle, SampleTreeGridsLieWhereTheirFilesSay) { CheckFolder(SampleTreeFolder()); }

TEST(GeometryOracle, VariantGridsLieWhereTheirFilesSay) { CheckFolder(VariantsFolder()); }

TEST(GeometryOracle, EveryGridKindLiesWhereItsFileSays) { CheckFolder(GeometryGridsFolder()); }

// Files as other producers write them (see the decoder oracle). Not the
// polar grid stored column by column: ecCodes' geo-iterator steps along
// rows there.
TEST(GeometryOracle, OtherProducersQuirkGridsLieWhereTheirFilesSay) {
  for (const char* name : {"g1-extended-gds-42.grb", "g1-data-hold-markers.grb"})
    CheckFile(QStringLiteral(NORVANT_SOURCE_DIR "/tests/data/bad/") + QLatin1String(name));
}
