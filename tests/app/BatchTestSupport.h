#pragma once
// Shared pieces of the picture-output tests: sample trees made once per
// build by the project's own tool, independent read-backs of written
// pictures (libpng, giflib, pngcheck), and runs of the built program.
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QString>
#include <png.h>
#include <gtest/gtest.h>

#include <ostream>
#include <optional>
#include <vector>

#include "grib/ExtBitmap.h"
#include "support/GifReadBack.h"
#include "support/SampleTree.h"

// Failure messages show texts as text.
inline void PrintTo(const QString& text, std::ostream* stream) { *stream << '"' << text.toStdString() << '"'; }

// Four days ending yesterday (UTC, the day the newest-file search starts
// from) with the second newest left out, so an animation of four frames
// finds three days.
inline constexpr int kGapTreeDays = 4;

inline QDate GapTreeEnd() { return QDateTime::currentDateTimeUtc().date().addDays(-1); }
inline QDate GapTreeSkipped() { return GapTreeEnd().addDays(-1); }

// A sample tree made by the project's own tool with `options`, kept in the
// build folder under `name` and made through a temporary folder renamed into
// place, so test processes running at once share one finished tree. The
// folder holding "SAF" with a trailing separator; empty when the tool failed.
inline QString BuiltSampleTree(const QString& name, const QStringList& options)
{
  const QString root = QString(NORVANT_BINARY_DIR) + "/test-samples";
  const QString finished = root + "/" + name;
  if (!QFileInfo(finished + "/SAF").isDir()) {
    QDir().mkpath(root);
    const QString building = finished + QString(".part-%1").arg(QCoreApplication::applicationPid());
    QDir(building).removeRecursively();
    if (MakeSampleTree(building, options) && !QDir().rename(building, finished)) {
      QDir(building).removeRecursively();  // another process got there first
    }
  }
  return QFileInfo(finished + "/SAF").isDir() ? QDir::toNativeSeparators(finished + "/") : QString();
}

// The gap tree in the given format.
inline QString GapTreeImagesPath(const QString& format = "grib")
{
  const QDate end = GapTreeEnd();
  return BuiltSampleTree((format == "grib" ? "gap-" : "gap-" + format + "-") + end.toString("yyyyMMdd"),
                         {"--days", QString::number(kGapTreeDays), "--end", end.toString(Qt::ISODate), "--skip",
                          GapTreeSkipped().toString(Qt::ISODate), "--format", format});
}

// The file the sample tool writes for a product and day: 0..2 sea ice of
// the given hemisphere ("NH" gzip-compressed, "SH" plain), 3 SST.
inline QString GapTreeFile(int product, const QString& hemisphere, const QDate& day)
{
  static const char* const kinds[] = {"CONC", "EDGE", "TYPE"};
  const QString folder = GapTreeImagesPath() + "SAF/" + day.toString("yyyy/MM/dd/");
  const QString stamp = day.toString("yyyyMMdd") + "1200Z";
  if (product == 3) {
    return QDir::toNativeSeparators(folder + "S-OSI_-FRA_-MULT-MAPSST_FIELD-" + stamp + ".grb.gz");
  }
  return QDir::toNativeSeparators(folder + QString("S-OSI_-NOR_-MULT-GL_%1_%2__-%3.grb%4")
                                             .arg(hemisphere, kinds[product], stamp,
                                                  hemisphere == "NH" ? ".gz" : ""));
}

// A picture read back as RGB rows.
struct TRgbPicture {
  int Width = 0, Height = 0;
  std::vector<TRgb> Pixels;
  friend bool operator==(const TRgbPicture&, const TRgbPicture&) = default;
};

inline TRgbPicture RgbOf(const TExtBitmap& bitmap)
{
  TRgbPicture picture{bitmap.Width(), bitmap.Height(), {}};
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      picture.Pixels.push_back(bitmap.Palette()[row[x]]);
    }
  }
  return picture;
}

// A written picture as independent readers see it: libpng for PNG (one
// frame), giflib for GIF (every frame with its delay, and whether the
// looping extension is there).
struct TReadBack {
  QByteArray Version;  // "PNG", "GIF87a" or "GIF89a"
  std::vector<TRgbPicture> Frames;
  std::vector<int> Delays;  // hundredths of a second; -1 without a control block
  int LoopCount = -1;       // -1 without the looping extension
};

inline std::optional<TRgbPicture> ReadPngWithLibpng(const QString& fileName)
{
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, QFile::encodeName(fileName).constData()) == 0) {
    return std::nullopt;
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> buffer(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr) == 0) {
    png_image_free(&image);
    return std::nullopt;
  }
  TRgbPicture picture{static_cast<int>(image.width), static_cast<int>(image.height), {}};
  for (std::size_t i = 0; i + 2 < buffer.size(); i += 3) {
    picture.Pixels.push_back({buffer[i], buffer[i + 1], buffer[i + 2]});
  }
  return picture;
}

inline std::optional<TReadBack> ReadBack(const QString& fileName)
{
  if (std::optional<TRgbPicture> png = ReadPngWithLibpng(fileName)) {
    return TReadBack{"PNG", {std::move(*png)}, {}, -1};
  }
  const std::optional<TReadGif> gif = ReadGif(fileName);
  if (!gif) {
    return std::nullopt;
  }
  TReadBack result{QByteArray("GIF") + gif->version.c_str(), {}, {}, gif->loopCount};
  for (const TReadFrame& frame : gif->frames) {
    TRgbPicture picture{frame.width, frame.height, {}};
    for (const std::uint8_t index : frame.pixels) {
      if (index >= frame.table.size()) {
        return std::nullopt;
      }
      picture.Pixels.push_back(frame.table[index]);
    }
    result.Frames.push_back(std::move(picture));
    result.Delays.push_back(frame.delay);
  }
  return result;
}

// The frames a written file holds; none when it cannot be read.
inline std::vector<TRgbPicture> FramesOf(const QString& fileName)
{
  std::optional<TReadBack> read = ReadBack(fileName);
  return read ? std::move(read->Frames) : std::vector<TRgbPicture>{};
}

// norvant's result: whether it ended, its status and what it printed.
struct TRun {
  bool Finished = false;
  int ExitCode = -1;
  QString Out, Err;
};

// The environment without any display or platform choice.
inline QProcessEnvironment ScreenlessEnvironment(const QStringList& alsoRemoved = {})
{
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const QString& name : QStringList{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"} + alsoRemoved) {
    environment.remove(name);
  }
  return environment;
}

// Runs the built program through the shell, killed after `capMsec` if it
// hangs; `shellPrefix` runs first in that shell (limits).
inline TRun RunNorvant(const QStringList& arguments, const QProcessEnvironment& environment, int capMsec,
                       const QString& shellPrefix = {}, const QString& workingFolder = {})
{
  QProcess program;
  program.setProcessEnvironment(environment);
  if (!workingFolder.isEmpty()) {
    program.setWorkingDirectory(workingFolder);
  }
  const QString binary = QString(NORVANT_BINARY_DIR) + "/norvant";
  program.start("/bin/bash", QStringList{"-c", shellPrefix + " exec \"$0\" \"$@\"", binary} + arguments);
  TRun run;
  run.Finished = program.waitForFinished(capMsec);
  if (!run.Finished) {
    program.kill();
    program.waitForFinished();
  }
  run.ExitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
  run.Out = QString::fromLocal8Bit(program.readAllStandardOutput());
  run.Err = QString::fromLocal8Bit(program.readAllStandardError());
  return run;
}

// An unattended run on the data below `images` with no display and its own
// settings below `config`, animating the gap tree's days at 250 ms a frame.
inline constexpr int kFrameMsec = 250;

inline TRun RunUnattended(const QString& config, const QString& images, const QStringList& arguments,
                          const QString& shellPrefix = {})
{
  QSettings planted(config + "/Ostrand/norvant.conf", QSettings::IniFormat);
  planted.setValue("AnimationFrames", kGapTreeDays);
  planted.setValue("AnimationFrameMsec", kFrameMsec);
  planted.sync();
  QProcessEnvironment environment = ScreenlessEnvironment();
  environment.insert("XDG_CONFIG_HOME", config);
  return RunNorvant(QStringList{"--images-path", images} + arguments, environment, 240000, shellPrefix);
}

// pngcheck's verdict on a file: empty when it reports no error.
inline QString PngcheckComplaint(const QString& fileName)
{
  int status = -1;
  const QString output = RunTool("pngcheck", {"-q", fileName}, &status);
  return status == 0 ? QString() : "pngcheck: " + output;
}
