#pragma once
// GIF pictures: a list of frames, each with its own colour table and the
// extension blocks written before it. A file with no extension block is
// written as GIF87a, any other as GIF89a.
//
// Frames are LZW-coded when they are added, so an animation under
// construction holds compressed frames only.
#include "grib/ExtBitmap.h"

#include <QIODevice>
#include <QString>
#include <memory>
#include <variant>
#include <vector>

struct TGIFGraphicControlExtension {
  std::uint8_t Disposal = 0;  // no disposal specified
  bool Transparent = false;
  std::uint8_t TransparentIndex = 0;
  std::uint16_t Delay = 0;  // hundredths of a second
};

// The NETSCAPE2.0 application extension; Loops 0 repeats for ever.
struct TGIFAppExtNSLoop {
  std::uint16_t Loops = 0;
};

using TGIFExtension = std::variant<TGIFGraphicControlExtension, TGIFAppExtNSLoop>;

struct TGIFSubImage {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  // The table as written: a power of two of 2..256 entries.
  std::vector<TRgb> ColourTable;
  std::vector<TGIFExtension> Extensions;
  // Minimum code size byte, LZW data sub-blocks and their terminator.
  std::vector<std::uint8_t> ImageData;
};

class TGIFImage {
public:
  // Largest side a GIF can describe.
  static constexpr int kMaxSide = 65535;

  // Codes the bitmap as a new frame at (0, 0) and returns it. An 8-bit
  // picture keeps its pixels and palette (the table grows to cover every
  // index in use); a 24- or 32-bit picture is reduced to the 216-colour web
  // palette by nearest colour. Raises EImageError for an empty picture.
  TGIFSubImage& Add(const TExtBitmap& bitmap);

  std::vector<TGIFSubImage>& Images() { return images_; }
  const std::vector<TGIFSubImage>& Images() const { return images_; }

  // Writes the file; every write is checked and a failure raises
  // EImageError. The logical screen covers every frame.
  void SaveToStream(QIODevice& device) const;
  // Writes through a temporary file that replaces fileName only when complete.
  void SaveToFile(const QString& fileName) const;

private:
  std::vector<TGIFSubImage> images_;
};

// One picture as a GIF87a file.
void SaveBitmapAsGif(const TExtBitmap& bitmap, const QString& fileName);

// The animation builder: one animation under construction at a time.
// StartAnimation discards any previous one; AddAnimationFrame adds a frame
// (starting an animation if none is under construction), puts the looping
// extension before frame 0 and a control extension with delay
// (delayMs taken to 16 bits) / 10 before every frame, and returns the
// frame's index; transparent makes the frame's bottom-left pixel the
// transparent colour. FinishAnimation hands the animation over and leaves
// none under construction (an empty image when none was started).
void StartAnimation();
int AddAnimationFrame(const TExtBitmap& bitmap, bool transparent, int delayMs);
std::unique_ptr<TGIFImage> FinishAnimation();
