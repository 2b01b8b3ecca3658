// Writes random small pictures (one or an animation of several frames) as
// GIF, reads the file back with giflib and compares size, indices and
// colours. 24-bit pictures go through the web palette, so each channel may
// move by at most half a palette step.
#include <gif_lib.h>

#include <QBuffer>
#include <QByteArray>
#include <cstring>
#include <vector>

#include "PictureFuzz.h"
#include "imaging/GifImage.h"

namespace {
struct TMemoryReader {
  const QByteArray* bytes;
  int pos = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int length)
{
  auto* reader = static_cast<TMemoryReader*>(gif->UserData);
  const int n = std::min(length, static_cast<int>(reader->bytes->size()) - reader->pos);
  std::memcpy(out, reader->bytes->constData() + reader->pos, static_cast<std::size_t>(n));
  reader->pos += n;
  return n;
}

// Half a step of the 216-colour web palette (steps of 51), rounded up.
constexpr int kWebTolerance = 26;

void CompareFrame(const TExtBitmap& bitmap, const SavedImage& image, const ColorMapObject* globalMap)
{
  if (image.ImageDesc.Width != bitmap.Width() || image.ImageDesc.Height != bitmap.Height()) Mismatch("frame size");
  const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : globalMap;
  if (!map) Mismatch("no colour table");
  const bool indexed = bitmap.PixelFormat() == TPixelFormat::pf8bit;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const int index = image.RasterBits[y * bitmap.Width() + x];
      if (index >= map->ColorCount) Mismatch("index beyond the colour table");
      if (indexed && index != bitmap.ScanLine(y)[x]) Mismatch("pixel index");
      const GifColorType got = map->Colors[index];
      const TRgb want = PixelColour(bitmap, x, y);
      const int tolerance = indexed ? 0 : kWebTolerance;
      if (std::abs(got.Red - want.r) > tolerance || std::abs(got.Green - want.g) > tolerance ||
          std::abs(got.Blue - want.b) > tolerance)
        Mismatch("colour");
    }
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  FuzzedDataProvider in(data, size);
  const int frames = in.ConsumeIntegralInRange(1, 3);
  std::vector<TExtBitmap> pictures;
  TGIFImage gif;
  for (int i = 0; i < frames; ++i) {
    // Every frame but the last takes a fixed share of the input.
    const std::size_t share = i + 1 < frames ? in.remaining_bytes() / static_cast<std::size_t>(frames - i) : in.remaining_bytes();
    const std::vector<std::uint8_t> part = in.ConsumeBytes<std::uint8_t>(share);
    FuzzedDataProvider frameInput(part.data(), part.size());
    pictures.push_back(MakePicture(frameInput, false));
    gif.Add(pictures.back());
  }
  if (frames > 1) gif.Images().front().Extensions.push_back(TGIFAppExtNSLoop{});

  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  gif.SaveToStream(buffer);

  TMemoryReader reader{&bytes};
  int error = 0;
  GifFileType* file = DGifOpen(&reader, ReadFromMemory, &error);
  if (!file) Mismatch("giflib cannot open the file");
  if (DGifSlurp(file) != GIF_OK) Mismatch("giflib cannot read the file");
  if (file->ImageCount != frames) Mismatch("frame count");
  for (int i = 0; i < frames; ++i) CompareFrame(pictures[static_cast<std::size_t>(i)], file->SavedImages[i], file->SColorMap);
  DGifCloseFile(file, &error);
  return 0;
}
