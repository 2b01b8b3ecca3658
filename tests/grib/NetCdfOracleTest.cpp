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
    const QStringList files = NetCdfFilesBelow(NetCdfSampleTreeFolder());
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start("/usr/bin/python3",
               QStringList{QStringLiteral(NORVANT_SOURCE_DIR "/tests/tools/netcdf_reference.py"), r.folder} + files);
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
    const bool hole = index == field.MissingIndex;
    if (std::isnan(expected[k]) || hole) {
      if (std::isnan(expected[k]) != hole) {
        ++failures;
        ADD_FAILURE() << "pixel (" << x << ", " << y << "): reference " << expected[k] << ", index " << index;
      }
      continue;
    }
    const bool ok = field.Continuous ? std::fabs(field.IndexValues[index] - expected[k]) <= step
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

// The files the sample tool writes for the two days, below SAF/: named here
// so that listing the tests does not have to make them.
QStringList SampleFileNames() {
  QStringList names;
  for (const char* day : {"2026/11/30/", "2026/12/01/"}) {
    const QString date = QString::fromLatin1(day).remove('/');
    for (const char* product : {"conc", "edge", "type"})
      for (const char* hemisphere : {"nh", "sh"}) {
        const bool gzipped = date == "20261130" && QLatin1String(hemisphere) == QLatin1String("sh");
        names << QLatin1String(day) + "ice_" + product + "_" + hemisphere + "_polstere-100_multi_" + date +
                     "1200.nc" + (gzipped ? ".gz" : "");
      }
    names << QLatin1String(day) + date + "120000-OSISAF-L4_GHRSST-SSTfnd-OSISAF_OI-GLO-v02.0-fv01.0.nc";
  }
  names << QStringLiteral("2026/12/01/ice_conc_nh_ease2-250_icdr-v3p0_202612011200.nc");
  return names;
}

TEST(NetCdfSampleTree, HoldsExactlyTheFilesTheOracleChecks) {
  const QString saf = NetCdfSampleTreeFolder() + "/SAF/";
  QStringList expected;
  for (const QString& name : SampleFileNames())
    expected << saf + name;
  expected.sort();
  EXPECT_EQ(NetCdfFilesBelow(NetCdfSampleTreeFolder()), expected);
}

class NetCdfOracle : public testing::TestWithParam<QString> {};

TEST_P(NetCdfOracle, ValuesAndPositionsAgreeWithNetCdf4PythonAndProj) {
  const TReference& reference = Reference();
  const QString path = NetCdfSampleTreeFolder() + "/SAF/" + GetParam();
  const QString name = QFileInfo(path).fileName();
  ASSERT_TRUE(reference.manifest.contains(name)) << name.toStdString();
  const QJsonObject expected = reference.manifest[name].toObject();
  TGribData data(BuildColourTable);
  ASSERT_TRUE(DecodeDataFile(data, FileBytes(path), path)) << data.Log.join('\n').toStdString();
  EXPECT_EQ(data.ParameterCode(), expected["parameterCode"].toInt());
  ASSERT_EQ(data.Width, expected["width"].toInt());
  ASSERT_EQ(data.Height, expected["height"].toInt());
  CompareValues(*data.Current, ReadArray<float>(reference.folder + "/" + name + ".values"));
  ComparePositions(data, ReadArray<double>(reference.folder + "/" + name + ".positions"));
}

std::string TestName(const testing::TestParamInfo<QString>& info) {
  std::string name = QFileInfo(info.param).fileName().toStdString();
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)))
      c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(SampleFiles, NetCdfOracle, testing::ValuesIn(SampleFileNames()), TestName);

}  // namespace
