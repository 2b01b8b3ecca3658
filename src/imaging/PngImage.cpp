#include "imaging/PngImage.h"

#include "imaging/ExtBitmapFile.h"

#include <png.h>

#include <QByteArray>
#include <algorithm>
#include <csetjmp>
#include <cstring>

namespace {

// Everything the libpng calls need, as plain data: libpng reports errors by
// longjmp, so the function that holds the setjmp keeps no object with a
// destructor, and the callbacks let no C++ exception pass into libpng.
struct TPngJob {
  QIODevice* device = nullptr;
  png_uint_32 width = 0, height = 0;
  int bitDepth = 8, colourType = 0, interlace = 0, compressionMethod = 0, filterMethod = 0;
  int filters = 0, level = 0;
  const png_color* palette = nullptr;
  int paletteCount = 0;
  png_text* texts = nullptr;
  int textCount = 0;
  png_bytep* rows = nullptr;
  png_time time{};
  bool deviceFailed = false;
  char message[256] = {};
};

void OnPngError(png_structp png, png_const_charp message)
{
  auto* job = static_cast<TPngJob*>(png_get_error_ptr(png));
  if (job && message && job->message[0] == '\0')
    std::snprintf(job->message, sizeof job->message, "%s", message);
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void OnPngWrite(png_structp png, png_bytep data, png_size_t length)
{
  auto* job = static_cast<TPngJob*>(png_get_io_ptr(png));
  bool ok = false;
  try {
    ok = job->device->write(reinterpret_cast<const char*>(data), static_cast<qint64>(length)) ==
         static_cast<qint64>(length);
  } catch (...) {
    ok = false;
  }
  if (!ok) {
    job->deviceFailed = true;
    png_error(png, "write failed");
  }
}

void OnPngFlush(png_structp) {}

// The only frame with a setjmp; returns false after any libpng error.
bool RunPngWrite(png_structp png, png_infop info, TPngJob* job)
{
  if (setjmp(png_jmpbuf(png)))
    return false;
  png_set_write_fn(png, job, OnPngWrite, OnPngFlush);
  png_set_compression_level(png, job->level);
  png_set_IHDR(png, info, job->width, job->height, job->bitDepth, job->colourType, job->interlace,
               job->compressionMethod, job->filterMethod);
  if (job->colourType == PNG_COLOR_TYPE_PALETTE)
    png_set_PLTE(png, info, job->palette, job->paletteCount);
  if (job->textCount > 0)
    png_set_text(png, info, job->texts, job->textCount);
  png_write_info(png, info);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, job->filters);
  png_write_image(png, job->rows);
  // Set after the image data, so tIME follows the IDAT chunks.
  png_set_tIME(png, info, &job->time);
  png_write_end(png, info);
  return true;
}

class TPngWriteStruct {
public:
  explicit TPngWriteStruct(TPngJob* job)
  {
    png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, job, OnPngError, OnPngWarning);
    if (png_)
      info_ = png_create_info_struct(png_);
  }
  ~TPngWriteStruct() { png_destroy_write_struct(&png_, info_ ? &info_ : nullptr); }
  TPngWriteStruct(const TPngWriteStruct&) = delete;
  TPngWriteStruct& operator=(const TPngWriteStruct&) = delete;
  png_structp Png() const { return png_; }
  png_infop Info() const { return info_; }

private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

// tEXt holds Latin-1 without control characters other than line feeds.
QByteArray TextValue(const QString& value)
{
  QByteArray bytes = value.trimmed().toLatin1();
  for (char& c : bytes)
    if (static_cast<unsigned char>(c) < 0x20 && c != '\n')
      c = ' ';
  return bytes;
}

bool IsIdentityGrey(const std::array<TRgb, 256>& palette, int count)
{
  for (int i = 0; i < count; ++i) {
    const auto v = static_cast<std::uint8_t>(i);
    if (!(palette[i] == TRgb{v, v, v}))
      return false;
  }
  return true;
}

}  // namespace

void TPngImage::Assign(const TExtBitmap& bitmap)
{
  switch (bitmap.PixelFormat()) {
  case TPixelFormat::pf8bit: Channels = 1; break;
  case TPixelFormat::pf24bit: Channels = 3; break;
  default: throw EImageError("Unsupported bitmap format");
  }
  CheckPictureSize(bitmap, TExtBitmap::kMaxSide);
  if (Channels == 1) {
    const auto pixels = bitmap.Pixels();
    const int highest = *std::max_element(pixels.begin(), pixels.end());
    PaletteCount = std::max(bitmap.PaletteSize(), highest + 1);
    std::copy_n(bitmap.Palette().begin(), PaletteCount, Palette.begin());
    ColourType = IsIdentityGrey(Palette, PaletteCount) ? kPngColourGrey : kPngColourPalette;
  } else {
    PaletteCount = 0;
    ColourType = kPngColourRgb;
  }
  Width = bitmap.Width();
  Height = bitmap.Height();
  BitDepth = 8;
  RowBytes = Width * Channels;
  Pixels.assign(bitmap.Pixels().begin(), bitmap.Pixels().end());
}

void TPngImage::SaveToStream(QIODevice& device) const
{
  if (Width < 1 || Height < 1 || RowBytes != Width * Channels ||
      Pixels.size() != static_cast<std::size_t>(RowBytes) * Height)
    throw EImageError(QStringLiteral("Cannot save a picture of %1 x %2 pixels.").arg(Width).arg(Height).toStdString());

  TPngJob job;
  job.device = &device;
  job.width = static_cast<png_uint_32>(Width);
  job.height = static_cast<png_uint_32>(Height);
  job.bitDepth = BitDepth;
  job.colourType = ColourType;
  job.interlace = Interlace;
  job.compressionMethod = CompressionMethod;
  job.filterMethod = FilterMethod;
  job.filters = Filters;
  job.level = CompressionLevel;

  std::array<png_color, 256> palette{};
  for (int i = 0; i < PaletteCount; ++i)
    palette[i] = {Palette[i].r, Palette[i].g, Palette[i].b};
  job.palette = palette.data();
  job.paletteCount = PaletteCount;

  const std::pair<const char*, const QString*> keyed[] = {
      {"Author", &Author}, {"Description", &Description}, {"Software", &Software}, {"Title", &Title}};
  std::array<QByteArray, 4> values;
  std::array<png_text, 4> texts{};
  for (const auto& [key, value] : keyed) {
    QByteArray& bytes = values[job.textCount];
    bytes = TextValue(*value);
    if (bytes.isEmpty())
      continue;
    png_text& text = texts[job.textCount++];
    text.compression = PNG_TEXT_COMPRESSION_NONE;
    text.key = const_cast<char*>(key);
    text.text = bytes.data();
    text.text_length = static_cast<png_size_t>(bytes.size());
  }
  job.texts = texts.data();

  std::vector<png_bytep> rows(static_cast<std::size_t>(Height));
  for (int y = 0; y < Height; ++y)
    rows[y] = const_cast<png_bytep>(Pixels.data() + static_cast<std::size_t>(y) * RowBytes);
  job.rows = rows.data();

  const QDateTime now = Clock().toUTC();
  job.time.year = static_cast<png_uint_16>(now.date().year());
  job.time.month = static_cast<png_byte>(now.date().month());
  job.time.day = static_cast<png_byte>(now.date().day());
  job.time.hour = static_cast<png_byte>(now.time().hour());
  job.time.minute = static_cast<png_byte>(now.time().minute());
  job.time.second = static_cast<png_byte>(now.time().second());

  TPngWriteStruct structs(&job);
  if (!structs.Png() || !structs.Info())
    throw EImageError("Cannot start the PNG library: out of memory.");
  if (!RunPngWrite(structs.Png(), structs.Info(), &job)) {
    if (job.deviceFailed)
      throw EImageError(QStringLiteral("Cannot write the picture: %1").arg(device.errorString()).toStdString());
    throw EImageError(std::string("PNG library error: ") + job.message);
  }
  FlushDevice(device);
}

void TPngImage::SaveToFile(const QString& fileName) const
{
  SaveThroughTemporaryFile(fileName, [this](QIODevice& device) { SaveToStream(device); });
}

bool SavePng(const TExtBitmap& bitmap, const QString& fileName, const QString& author, const QString& title,
             const QString& software, const QString& description)
{
  TPngImage image;
  image.Assign(bitmap);
  image.CompressionLevel = 4;
  image.Filters = kPngFilterNone | kPngFilterSub | kPngFilterPaeth;
  image.Author = author;
  image.Title = title;
  image.Software = software;
  image.Description = description;
  image.SaveToFile(fileName);
  return true;
}
