#include "grib/GribTestFiles.h"

#include <QDirIterator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include "grib/FileReading.h"
#include "support/SampleTree.h"

namespace {

QString RunTool(const char* script, const QStringList& arguments, std::unique_ptr<QTemporaryDir>& folder) {
  if (folder)
    return folder->path();
  folder = std::make_unique<QTemporaryDir>();
  if (!RunProjectTool(script, folder->path(), arguments)) {
    ADD_FAILURE() << script << " failed";
    return {};
  }
  return folder->path();
}

}  // namespace

QString SampleTreeFolder() {
  static std::unique_ptr<QTemporaryDir> folder;
  return RunTool("make_sample_tree.py", {"--days", "2", "--end", "2026-12-01"}, folder);
}

QString NetCdfSampleTreeFolder() {
  static std::unique_ptr<QTemporaryDir> folder;
  return RunTool("make_sample_tree.py", {"--days", "2", "--end", "2026-12-01", "--format", "netcdf"}, folder);
}

QString VariantsFolder() {
  static std::unique_ptr<QTemporaryDir> folder;
  return RunTool("make_grib_variants.py", {}, folder);
}

QString GeometryGridsFolder() {
  static std::unique_ptr<QTemporaryDir> folder;
  return RunTool("make_geometry_grids.py", {}, folder);
}

QStringList FilesBelow(const QString& folder, const QStringList& patterns) {
  QStringList files;
  QDirIterator it(folder, patterns, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext())
    files << it.next();
  files.sort();
  return files;
}

std::vector<std::uint8_t> FileBytes(const QString& path) {
  std::vector<std::uint8_t> bytes;
  QString error;
  EXPECT_TRUE(ReadDataFile(path, bytes, error)) << error.toStdString();
  return bytes;
}
