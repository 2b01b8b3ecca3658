// Writes random small pictures as PNG (paletted, grey or RGB, with random
// row filters and compression level), reads the file back with libpng and
// compares every pixel's colour.
#include <png.h>

#include <QBuffer>
#include <QByteArray>
#include <vector>

#include "PictureFuzz.h"
#include "imaging/PngImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  FuzzedDataProvider in(data, size);
  TPngImage png;
  png.Filters = kPngFilterNone | (in.ConsumeIntegral<std::uint8_t>() & 0xF8);
  png.CompressionLevel = in.ConsumeIntegralInRange(0, 9);
  png.Title = in.ConsumeBool() ? QStringLiteral("Sea Ice Data") : QString();
  png.Clock = [] { return QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59), Qt::UTC); };
  const TExtBitmap bitmap = MakePicture(in, true);
  png.Assign(bitmap);

  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  png.SaveToStream(buffer);

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.constData(), static_cast<std::size_t>(bytes.size())))
    Mismatch(image.message);
  if (static_cast<int>(image.width) != bitmap.Width() || static_cast<int>(image.height) != bitmap.Height())
    Mismatch("size");
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) Mismatch(image.message);
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const png_byte* got = &rgb[(static_cast<std::size_t>(y) * bitmap.Width() + x) * 3];
      const TRgb want = PixelColour(bitmap, x, y);
      if (got[0] != want.r || got[1] != want.g || got[2] != want.b) Mismatch("colour");
    }
  }
  return 0;
}
