#include "grib/GribTestFiles.h"

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include "grib/FileReading.h"

namespace {

// The tools need the system interpreter, which has numpy and ecCodes.
const char* const kPython = "/usr/bin/python3";

QString RunTool(const char* script, const QStringList& arguments, std::unique_ptr<QTemporaryDir>& folder) {
  if (folder)
    return folder->path();
  folder = std::make_unique<QTemporaryDir>();
  QProcess tool;
  tool.setProcessChannelMode(QProcess::MergedChannels);
  const QString path = QStringLiteral(NORVANT_SOURCE_DIR "/tools/") + QString::fromLatin1(script);
  tool.start(QString::fromLatin1(kPython), QStringList{path, folder->path()} + arguments);
  if (!tool.waitForFinished(300000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
    ADD_FAILURE() << script << " failed: " << tool.readAll().toStdString();
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
