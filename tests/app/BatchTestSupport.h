#pragma once
// Shared pieces of the picture-output tests: a sample tree with a day left
// out, made once per build and day by the project's own tool, and
// independent read-backs of written pictures (libpng, giflib).
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QString>
#include <gif_lib.h>
#include <png.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <ostream>
#include <optional>
#include <vector>

#include "grib/ExtBitmap.h"

// Failure messages show texts as text.
inline void PrintTo(const QString& text, std::ostream* stream) { *stream << '"' << text.toStdString() << '"'; }

// Four days ending yesterday (UTC, the day the newest-file search starts
// from) with the second newest left out, so an animation of four frames
// finds three days.
inline constexpr int kGapTreeDays = 4;

inline QDate GapTreeEnd() { return QDateTime::currentDateTimeUtc().date().addDays(-1); }
inline QDate GapTreeSkipped() { return GapTreeEnd().addDays(-1); }

// The folder that holds "SAF", with a trailing separator; empty when the
// tool could not be run. Kept in the build folder, named by its format and
// last day, and made through a temporary folder renamed into place, so test
// processes running at once share one finished tree.
inline QString GapTreeImagesPath(const QString& format = "grib")
{
  static QMap<QString, QString> paths;
  QString& path = paths[format];
  if (!path.isEmpty()) {
    return path;
  }
  const QDate end = GapTreeEnd();
  const QString root = QString(NORVANT_BINARY_DIR) + "/test-samples";
  const QString finished = root + (format == "grib" ? "/gap-" : "/gap-" + format + "-") + end.toString("yyyyMMdd");
  if (!QFileInfo(finished + "/SAF").isDir()) {
    QDir().mkpath(root);
    const QString building =
      finished + QString(".part-%1").arg(QCoreApplication::applicationPid());
    QDir(building).removeRecursively();
    QProcess tool;
    tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    tool.setStandardOutputFile(QProcess::nullDevice());
    tool.start("/usr/bin/python3", {QString(NORVANT_SOURCE_DIR) + "/tools/make_sample_tree.py", building, "--days",
                                    QString::number(kGapTreeDays), "--end", end.toString(Qt::ISODate), "--skip",
                                    GapTreeSkipped().toString(Qt::ISODate), "--format", format});
    const bool made = tool.waitForFinished(300000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    if (made && !QDir().rename(building, finished)) {
      QDir(building).removeRecursively();  // another process got there first
    }
    if (!QFileInfo(finished + "/SAF").isDir()) {
      return {};
    }
  }
  path = QDir::toNativeSeparators(finished + "/");
  return path;
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
  int Width = 0;
  int Height = 0;
  std::vector<TRgb> Pixels;
  friend bool operator==(const TRgbPicture&, const TRgbPicture&) = default;
};

inline TRgbPicture RgbOf(const TExtBitmap& bitmap)
{
  TRgbPicture picture{bitmap.Width(), bitmap.Height(), {}};
  picture.Pixels.reserve(static_cast<std::size_t>(bitmap.Width()) * static_cast<std::size_t>(bitmap.Height()));
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      picture.Pixels.push_back(bitmap.Palette()[row[x]]);
    }
  }
  return picture;
}

// libpng's own reader.
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

// giflib's reader: every frame with its delay, and whether the looping
// extension is there.
struct TGifReadBack {
  QByteArray Version;  // "GIF87a" or "GIF89a"
  std::vector<TRgbPicture> Frames;
  std::vector<int> Delays;  // hundredths of a second; -1 without a control block
  bool Loops = false;
  int LoopCount = -1;
};

inline std::optional<TGifReadBack> ReadGifWithGiflib(const QString& fileName)
{
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    return std::nullopt;
  }
  TGifReadBack result;
  result.Version = file.read(6);
  file.close();
  int error = 0;
  GifFileType* gif = DGifOpenFileName(QFile::encodeName(fileName).constData(), &error);
  if (gif == nullptr) {
    return std::nullopt;
  }
  const std::unique_ptr<GifFileType, void (*)(GifFileType*)> closer(gif, [](GifFileType* g) {
    int ignored = 0;
    DGifCloseFile(g, &ignored);
  });
  if (DGifSlurp(gif) != GIF_OK) {
    return std::nullopt;
  }
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& frame = gif->SavedImages[i];
    const ColorMapObject* map = frame.ImageDesc.ColorMap != nullptr ? frame.ImageDesc.ColorMap : gif->SColorMap;
    if (map == nullptr) {
      return std::nullopt;
    }
    TRgbPicture picture{frame.ImageDesc.Width, frame.ImageDesc.Height, {}};
    const std::size_t count = static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.Height);
    for (std::size_t p = 0; p < count; ++p) {
      const int index = frame.RasterBits[p];
      if (index >= map->ColorCount) {
        return std::nullopt;
      }
      const GifColorType colour = map->Colors[index];
      picture.Pixels.push_back({colour.Red, colour.Green, colour.Blue});
    }
    result.Frames.push_back(std::move(picture));
    GraphicsControlBlock control{};
    result.Delays.push_back(DGifSavedExtensionToGCB(gif, i, &control) == GIF_OK ? control.DelayTime : -1);
    for (int e = 0; e + 1 < frame.ExtensionBlockCount; ++e) {
      const ExtensionBlock& block = frame.ExtensionBlocks[e];
      if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
          std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0) {
        const ExtensionBlock& data = frame.ExtensionBlocks[e + 1];
        if (data.ByteCount == 3 && data.Bytes[0] == 1) {
          result.Loops = true;
          result.LoopCount = data.Bytes[1] | (data.Bytes[2] << 8);
        }
      }
    }
  }
  return result;
}

// pngcheck's verdict on a file: true when it reports no error.
inline bool PngcheckAccepts(const QString& fileName, QString* report = nullptr)
{
  QProcess check;
  check.setProcessChannelMode(QProcess::MergedChannels);
  check.start("pngcheck", {"-q", fileName});
  const bool finished = check.waitForFinished(30000);
  if (report != nullptr) {
    *report = QString::fromLocal8Bit(check.readAll());
  }
  return finished && check.exitStatus() == QProcess::NormalExit && check.exitCode() == 0;
}
