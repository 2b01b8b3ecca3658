#pragma once
// PNG output through libpng. Every file has the chunks IHDR, PLTE (paletted
// pictures only), tEXt "Author", "Description", "Software" and "Title" (each
// only when its text is not blank), IDAT, tIME (UTC, the moment of writing)
// and IEND, in that order.
#include "grib/ExtBitmap.h"

#include <QDateTime>
#include <QIODevice>
#include <QString>
#include <array>
#include <functional>
#include <vector>

// libpng's row filter flags.
inline constexpr int kPngFilterNone = 0x08, kPngFilterSub = 0x10, kPngFilterUp = 0x20, kPngFilterAverage = 0x40,
                     kPngFilterPaeth = 0x80;
inline constexpr int kPngColourGrey = 0, kPngColourRgb = 2, kPngColourPalette = 3;

// The texts the program's own saves write.
inline constexpr const char* kPngTitle = "Sea Ice Data";
inline constexpr const char* kPngSoftware = "NorvantReader";
inline constexpr const char* kPngDescription = "Sea-ice type";
inline constexpr const char* kPngAuthor = "https://ostrand.example/norvant";

class TPngImage {
public:
  int Width = 0;
  int Height = 0;
  int BitDepth = 8;
  int Channels = 3;
  int ColourType = kPngColourRgb;
  int Interlace = 0;
  int CompressionMethod = 0;
  int FilterMethod = 0;
  int Filters = kPngFilterSub | kPngFilterUp | kPngFilterAverage;
  int CompressionLevel = 3;
  int RowBytes = 0;
  std::array<TRgb, 256> Palette{};
  int PaletteCount = 0;
  std::vector<std::uint8_t> Pixels;  // Height rows of RowBytes, top row first
  QString Author, Description, Software, Title;
  // The moment stamped into tIME; replaceable for tests.
  std::function<QDateTime()> Clock = [] { return QDateTime::currentDateTimeUtc(); };

  // Takes size, samples and palette from the bitmap. An 8-bit picture whose
  // palette is the identity grey ramp becomes greyscale, any other 8-bit
  // picture paletted (the palette covering every index in use), a 24-bit
  // picture RGB. Raises EImageError "Unsupported bitmap format" for other
  // formats and an error for an empty picture.
  void Assign(const TExtBitmap& bitmap);

  // Every failure (libpng's own, a device that will not take the bytes)
  // raises EImageError.
  void SaveToStream(QIODevice& device) const;
  // Writes through a temporary file that replaces fileName only when complete.
  void SaveToFile(const QString& fileName) const;
};

// Saves the bitmap with compression level 4 and the filters none, sub and
// Paeth; returns true, or raises EImageError.
bool SavePng(const TExtBitmap& bitmap, const QString& fileName, const QString& author, const QString& title,
             const QString& software, const QString& description);
