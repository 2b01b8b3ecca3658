#pragma once
// Reads a GIF file back with giflib, the independent decoder of the tests.
#include "grib/ExtBitmap.h"

#include <gif_lib.h>
#include <QFile>
#include <QProcess>
#include <QString>
#include <optional>
#include <string>
#include <vector>

struct TReadFrame {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<TRgb> table;  // local table, or the global one
  std::vector<std::uint8_t> pixels;
  bool hasControl = false;
  int delay = -1;
  int transparentIndex = -1;
  int extensionsBeforeImage = 0;
};

struct TReadGif {
  std::string version;  // "87a" or "89a"
  int screenWidth = 0, screenHeight = 0;
  bool globalTable = false;
  int loopCount = -1;  // from the NETSCAPE2.0 extension; -1 when absent
  bool loopBeforeFirstControl = false;
  std::vector<TReadFrame> frames;
};

inline std::optional<TReadGif> ReadGif(const QString& fileName, std::string* error = nullptr)
{
  int code = 0;
  GifFileType* gif = DGifOpenFileName(fileName.toLocal8Bit().constData(), &code);
  if (!gif) {
    if (error)
      *error = GifErrorString(code);
    return std::nullopt;
  }
  TReadGif out;
  if (DGifSlurp(gif) != GIF_OK) {
    if (error)
      *error = GifErrorString(gif->Error);
    DGifCloseFile(gif, &code);
    return std::nullopt;
  }
  QFile file(fileName);
  if (file.open(QIODevice::ReadOnly))
    out.version = file.read(6).mid(3).toStdString();
  out.screenWidth = gif->SWidth;
  out.screenHeight = gif->SHeight;
  out.globalTable = gif->SColorMap != nullptr;
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    TReadFrame frame;
    frame.left = image.ImageDesc.Left;
    frame.top = image.ImageDesc.Top;
    frame.width = image.ImageDesc.Width;
    frame.height = image.ImageDesc.Height;
    const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    if (map)
      for (int c = 0; c < map->ColorCount; ++c)
        frame.table.push_back({map->Colors[c].Red, map->Colors[c].Green, map->Colors[c].Blue});
    frame.pixels.assign(image.RasterBits, image.RasterBits + static_cast<std::size_t>(frame.width) * frame.height);
    frame.extensionsBeforeImage = image.ExtensionBlockCount;
    for (int e = 0; e < image.ExtensionBlockCount; ++e) {
      const ExtensionBlock& block = image.ExtensionBlocks[e];
      if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
          std::string(reinterpret_cast<const char*>(block.Bytes), 11) == "NETSCAPE2.0" && e + 1 < image.ExtensionBlockCount) {
        const ExtensionBlock& data = image.ExtensionBlocks[e + 1];
        if (data.ByteCount == 3 && data.Bytes[0] == 1) {
          out.loopCount = data.Bytes[1] | (data.Bytes[2] << 8);
          out.loopBeforeFirstControl = i == 0 && !frame.hasControl;
        }
      }
      if (block.Function == GRAPHICS_EXT_FUNC_CODE)
        frame.hasControl = true;
    }
    GraphicsControlBlock gcb;
    if (frame.hasControl && DGifSavedExtensionToGCB(gif, i, &gcb) == GIF_OK) {
      frame.delay = gcb.DelayTime;
      frame.transparentIndex = gcb.TransparentColor;
    }
    out.frames.push_back(std::move(frame));
  }
  DGifCloseFile(gif, &code);
  return out;
}

// The output of a command-line tool, or "" when it could not run.
inline QString RunTool(const QString& program, const QStringList& arguments, int* exitCode = nullptr)
{
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  if (!process.waitForFinished(60000))
    return {};
  if (exitCode)
    *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  return QString::fromLocal8Bit(process.readAll());
}
