// Every netCDF sample file decoded by Norvant and by netCDF4-python with
// pyproj (tests/tools/netcdf_reference.py): the same class code at every
// pixel (concentration, edge, type) or the value within half a colour step
// (SST), the same holes, and the mapping putting every 16th pixel centre
// where PROJ says its latitude and longitude lie.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
#include <cstring>

#include "grib/DataFile.h"
#include "grib/GribData.h"
#include "grib/GribTestFiles.h"
#include "imaging/ColourTableBuild.h"

namespace {

struct TReference {
  QJsonObject manifest;
  QString folder;
};

const TReference& Reference() {
  static QTemporaryDir folder;
  static TReference reference = [] {
    TReference r;
    r.folder = folder.path();
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start("/usr/bin/python3",
               QStringList{QStringLiteral(NORVANT_SOURCE_DIR "/tests/tools/netcdf_reference.py"), r.folder} +
                 FilesBelow(NetCdfSampleTreeFolder(), kNetCdfNames));
    if (!tool.waitForFinished(300000) || tool.exitCode() != 0) {
      ADD_FAILURE() << "netcdf_reference.py failed: " << tool.readAll().toStdString();
      return r;
    }
    QFile manifest(r.folder + "/manifest.json");
    if (manifest.open(QIODevice::ReadOnly))
      r.manifest = QJsonDocument::fromJson(manifest.readAll()).object();
    return r;
  }();
  return reference;
}

template <class T>
std::vector<T> ReadArray(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  const QByteArray bytes = file.readAll();
  std::vector<T> values(static_cast<std::size_t>(bytes.size()) / sizeof(T));
  std::memcpy(values.data(), bytes.constData(), values.size() * sizeof(T));
  return values;
}

void CompareValues(const TDataStuff& field, const std::vector<float>& expected) {
  const TExtBitmap& picture = field.Bitmap;
  ASSERT_EQ(expected.size(), static_cast<std::size_t>(picture.Width()) * picture.Height());
  const double step = (field.MaxValue - field.MinValue) / 250.0;
  int failures = 0;
  for (std::size_t k = 0; k < expected.size() && failures < 5; ++k) {
    const int x = static_cast<int>(k % picture.Width()), y = static_cast<int>(k / picture.Width());
    const int index = picture.ScanLine(y)[x];
    const bool hole = index == field.MissingIndex, referenceHole = std::isnan(expected[k]);
    const bool ok = hole || referenceHole ? hole == referenceHole
                    : field.Continuous    ? std::fabs(field.IndexValues[index] - expected[k]) <= step
                                          : index == static_cast<int>(expected[k]);
    if (!ok) {
      ++failures;
      ADD_FAILURE() << "pixel (" << x << ", " << y << "): index " << index << " shows "
                    << field.IndexValues[index] << ", reference " << expected[k];
    }
  }
}

// Within 0.1 of a cell, both ways.
void ComparePositions(const TGribData& data, const std::vector<double>& positions) {
  ASSERT_FALSE(positions.empty());
  int failures = 0;
  for (std::size_t i = 0; i + 4 <= positions.size() && failures < 5; i += 4) {
    const double column = positions[i], row = positions[i + 1], lat = positions[i + 2], lon = positions[i + 3];
    float x = 0, y = 0;
    const bool placed = data.Mapping->LatLonToPixelF(static_cast<float>(lon), static_cast<float>(lat), x, y);
    if (!placed || std::fabs(x - column) > 0.1 || std::fabs(y - row) > 0.1) {
      ++failures;
      ADD_FAILURE() << "pixel (" << column << ", " << row << ") at " << lat << ", " << lon << " placed at (" << x
                    << ", " << y << ")";
    }
  }
}

// Every file of the two days: six sea-ice files a day (one gzipped), an
// SST file a day and an EASE2 grid.
TEST(NetCdfOracle, ValuesAndPositionsAgreeWithNetCdf4PythonAndProj) {
  const TReference& reference = Reference();
  const QStringList files = FilesBelow(NetCdfSampleTreeFolder(), kNetCdfNames);
  EXPECT_EQ(files.size(), 15);
  for (const QString& path : files) {
    const QString name = QFileInfo(path).fileName();
    SCOPED_TRACE(name.toStdString());
    ASSERT_TRUE(reference.manifest.contains(name));
    const QJsonObject expected = reference.manifest[name].toObject();
    TGribData data(BuildColourTable);
    ASSERT_TRUE(DecodeDataFile(data, FileBytes(path), path)) << data.Log.join('\n').toStdString();
    EXPECT_EQ(data.ParameterCode(), expected["parameterCode"].toInt());
    ASSERT_EQ(data.Width, expected["width"].toInt());
    ASSERT_EQ(data.Height, expected["height"].toInt());
    CompareValues(*data.Current, ReadArray<float>(reference.folder + "/" + name + ".values"));
    ComparePositions(data, ReadArray<double>(reference.folder + "/" + name + ".positions"));
  }
}

}  // namespace
