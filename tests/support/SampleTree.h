#pragma once
// The sample data tree, made once per test run by the project's own tool
// (three days of both hemispheres and SST up to 5 December 2026), and a
// clock pinned to the morning after.
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

#include "app/workflow/UtcClock.h"

inline constexpr char kSampleEnd[] = "2026-12-05";

// Runs one of the project's tools (tools/`script`) with the system
// interpreter, which has numpy, ecCodes and netCDF4, writing into `folder`.
inline bool RunProjectTool(const QString& script, const QString& folder, const QStringList& arguments)
{
  QProcess tool;
  tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  tool.setStandardOutputFile(QProcess::nullDevice());
  tool.start("/usr/bin/python3", QStringList{QString(NORVANT_SOURCE_DIR) + "/tools/" + script, folder} + arguments);
  return tool.waitForFinished(600000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

inline bool MakeSampleTree(const QString& folder, const QStringList& options)
{
  return RunProjectTool("make_sample_tree.py", folder, options);
}

// The tool run into a fresh folder once per test program, up to kSampleEnd.
inline bool RunSampleTool(std::unique_ptr<QTemporaryDir>& folder, const QStringList& options)
{
  folder = std::make_unique<QTemporaryDir>();
  return MakeSampleTree(folder->path(), QStringList{"--end", kSampleEnd} + options);
}

// The folder that holds "SAF" (with a trailing separator); empty when the
// tool could not be run.
inline QString SampleImagesPath()
{
  static std::unique_ptr<QTemporaryDir> folder;
  static QString path;
  if (!folder && RunSampleTool(folder, {"--days", "3"}))
    path = QDir::toNativeSeparators(folder->path() + "/");
  return path;
}

// The last sample day again, with its SST also as GRIB 1 (parameter 11,
// the field the zoomed display interpolates); the GRIB 1 file's name, empty
// when the tool could not be run.
inline QString Grib1SstSampleFile()
{
  static std::unique_ptr<QTemporaryDir> folder;
  static QString file;
  if (!folder && RunSampleTool(folder, {"--days", "1", "--grib1-sst"})) {
    const QString name = folder->path() + "/SAF/2026/12/05/S-OSI_-FRA_-MULT-AHLSST_FIELD-202612051200Z.grb";
    if (QFileInfo::exists(name))
      file = QDir::toNativeSeparators(name);
  }
  return file;
}

inline QString SampleDay(int day)
{
  return SampleImagesPath() + QDir::toNativeSeparators(QString("SAF/2026/12/%1/").arg(day, 2, 10, QChar('0')));
}

// "Today" for the newest-file search: the morning after the last sample day.
inline QDateTime SampleMorning() { return QDateTime(QDate(2026, 12, 6), QTime(6, 0), Qt::UTC); }
