// Picture output and resampling on a product-sized picture (760 x 1120),
// side by side with libpng and giflib called directly on the same pixels.
#include "imaging/Canvas.h"
#include "imaging/GifImage.h"
#include "imaging/PngImage.h"
#include "imaging/Resample.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <png.h>

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <ctime>
#include <random>

namespace {

constexpr int kWidth = 760, kHeight = 1120;

// A concentration-like picture: open water, an ice cap whose concentration
// falls off towards its edge with some noise, land patches and a few
// drawing colours.
const TExtBitmap& Concentration()
{
  static const TExtBitmap picture = [] {
    TExtBitmap b(kWidth, kHeight);
    b.SetPaletteSize(105);
    for (int i = 0; i < 105; ++i)
      b.Palette()[i] = {static_cast<std::uint8_t>(i * 2), static_cast<std::uint8_t>(255 - i), 200};
    std::mt19937 rng(1);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const double d = std::hypot(x - kWidth / 2.0, y - kHeight / 2.0);
        int value = d < 300 ? 100 : d < 420 ? static_cast<int>(100 - (d - 300) * 0.8) : 0;
        if (value > 0 && value < 100)
          value = std::clamp(value + static_cast<int>(rng() % 9) - 4, 0, 100);
        if (std::sin(x * 0.013) + std::cos(y * 0.011) > 1.4)
          value = 101;
        b.ScanLine(y)[x] = static_cast<std::uint8_t>(value);
      }
    return b;
  }();
  return picture;
}

QString TempName(const char* name)
{
  return QDir::temp().filePath(QString::fromLatin1(name));
}

void SavePngNorvant(benchmark::State& state)
{
  const QString name = TempName("norvant-bench.png");
  for (auto _ : state)
    SavePng(Concentration(), name, kPngAuthor, kPngTitle, kPngSoftware, kPngDescription);
  QFile::remove(name);
}
BENCHMARK(SavePngNorvant)->Unit(benchmark::kMillisecond);

// libpng on its own: same chunks, filters (none, sub, Paeth) and level 4.
void SavePngLibpngDirect(benchmark::State& state)
{
  const TExtBitmap& b = Concentration();
  const std::string name = TempName("libpng-bench.png").toStdString();
  std::vector<png_bytep> rows(kHeight);
  for (int y = 0; y < kHeight; ++y)
    rows[y] = const_cast<png_bytep>(b.ScanLine(y));
  png_color palette[105];
  for (int i = 0; i < 105; ++i)
    palette[i] = {b.Palette()[i].r, b.Palette()[i].g, b.Palette()[i].b};
  for (auto _ : state) {
    FILE* file = std::fopen(name.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
      state.SkipWithError("libpng failed");
      break;
    }
    png_init_io(png, file);
    png_set_compression_level(png, 4);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_PALETTE, 0, 0, 0);
    png_set_PLTE(png, info, palette, 105);
    png_text texts[4] = {};
    const char* keys[4] = {"Author", "Description", "Software", "Title"};
    const char* values[4] = {kPngAuthor, kPngDescription, kPngSoftware, kPngTitle};
    for (int i = 0; i < 4; ++i) {
      texts[i].compression = PNG_TEXT_COMPRESSION_NONE;
      texts[i].key = const_cast<char*>(keys[i]);
      texts[i].text = const_cast<char*>(values[i]);
    }
    png_set_text(png, info, texts, 4);
    png_write_info(png, info);
    png_set_filter(png, 0, PNG_FILTER_NONE | PNG_FILTER_SUB | PNG_FILTER_PAETH);
    png_write_image(png, rows.data());
    png_time now;
    png_convert_from_time_t(&now, std::time(nullptr));
    png_set_tIME(png, info, &now);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
  }
  std::remove(name.c_str());
}
BENCHMARK(SavePngLibpngDirect)->Unit(benchmark::kMillisecond);

// The encoding alone: both into memory, no file system in the way.
void PngToMemoryNorvant(benchmark::State& state)
{
  for (auto _ : state) {
    TPngImage image;
    image.Assign(Concentration());
    image.CompressionLevel = 4;
    image.Filters = kPngFilterNone | kPngFilterSub | kPngFilterPaeth;
    image.Author = kPngAuthor;
    image.Description = kPngDescription;
    image.Software = kPngSoftware;
    image.Title = kPngTitle;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.SaveToStream(buffer);
    benchmark::DoNotOptimize(buffer.data().size());
  }
}
BENCHMARK(PngToMemoryNorvant)->Unit(benchmark::kMillisecond);

void PngToMemoryLibpngDirect(benchmark::State& state)
{
  const TExtBitmap& b = Concentration();
  std::vector<png_bytep> rows(kHeight);
  for (int y = 0; y < kHeight; ++y)
    rows[y] = const_cast<png_bytep>(b.ScanLine(y));
  png_color palette[105];
  for (int i = 0; i < 105; ++i)
    palette[i] = {b.Palette()[i].r, b.Palette()[i].g, b.Palette()[i].b};
  std::vector<unsigned char> out;
  for (auto _ : state) {
    out.clear();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
      state.SkipWithError("libpng failed");
      break;
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t n) {
          auto* v = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(p));
          v->insert(v->end(), data, data + n);
        },
        [](png_structp) {});
    png_set_compression_level(png, 4);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_PALETTE, 0, 0, 0);
    png_set_PLTE(png, info, palette, 105);
    png_write_info(png, info);
    png_set_filter(png, 0, PNG_FILTER_NONE | PNG_FILTER_SUB | PNG_FILTER_PAETH);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(PngToMemoryLibpngDirect)->Unit(benchmark::kMillisecond);

void SaveGifNorvant(benchmark::State& state)
{
  const QString name = TempName("norvant-bench.gif");
  for (auto _ : state)
    SaveBitmapAsGif(Concentration(), name);
  QFile::remove(name);
}
BENCHMARK(SaveGifNorvant)->Unit(benchmark::kMillisecond);

// giflib's encoder on the same pixels and table.
void SaveGifGiflibDirect(benchmark::State& state)
{
  const TExtBitmap& b = Concentration();
  const std::string name = TempName("giflib-bench.gif").toStdString();
  GifColorType colours[128] = {};
  for (int i = 0; i < 105; ++i)
    colours[i] = {b.Palette()[i].r, b.Palette()[i].g, b.Palette()[i].b};
  for (auto _ : state) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(name.c_str(), false, &error);
    ColorMapObject* map = GifMakeMapObject(128, colours);
    bool ok = gif && map && EGifPutScreenDesc(gif, kWidth, kHeight, 8, 0, nullptr) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, map) == GIF_OK;
    for (int y = 0; ok && y < kHeight; ++y)
      ok = EGifPutLine(gif, const_cast<GifPixelType*>(b.ScanLine(y)), kWidth) == GIF_OK;
    GifFreeMapObject(map);
    if (gif)
      EGifCloseFile(gif, &error);
    if (!ok) {
      state.SkipWithError("giflib failed");
      break;
    }
  }
  std::remove(name.c_str());
}
BENCHMARK(SaveGifGiflibDirect)->Unit(benchmark::kMillisecond);

void DoubleNearest(benchmark::State& state)
{
  for (auto _ : state) {
    state.PauseTiming();
    TExtBitmap b = Concentration();
    state.ResumeTiming();
    Interpolate(b, 2 * kWidth, 2 * kHeight, kInterpolateNearest);
    benchmark::DoNotOptimize(b.Pixels().data());
  }
}
BENCHMARK(DoubleNearest)->Unit(benchmark::kMillisecond);

void DoubleLinear(benchmark::State& state)
{
  for (auto _ : state) {
    state.PauseTiming();
    TExtBitmap b = Concentration();
    state.ResumeTiming();
    Interpolate(b, 2 * kWidth, 2 * kHeight, kInterpolateLinear);
    benchmark::DoNotOptimize(b.Pixels().data());
  }
}
BENCHMARK(DoubleLinear)->Unit(benchmark::kMillisecond);

// The zoomed SST's doubling: linear between present values, the nearest
// value beside a hole (the land patches' index 101 here).
void DoubleLinearPresent(benchmark::State& state)
{
  for (auto _ : state) {
    state.PauseTiming();
    TExtBitmap b = Concentration();
    state.ResumeTiming();
    InterpolatePresent(b, 2 * kWidth, 2 * kHeight, 101);
    benchmark::DoNotOptimize(b.Pixels().data());
  }
}
BENCHMARK(DoubleLinearPresent)->Unit(benchmark::kMillisecond);

// A graticule's worth of drawing on a zoomed picture: 60 labels with their
// four-fold halo and 40 polylines of 360 points.
void CanvasGraticule(benchmark::State& state)
{
  TExtBitmap b = Concentration();
  Interpolate(b, 2 * kWidth, 2 * kHeight, kInterpolateNearest);
  std::vector<TPoint> line(360);
  for (auto _ : state) {
    TCanvas canvas(b);
    canvas.SetPenColour(0xC0C0C0u);
    canvas.SetBrushStyle(TBrushStyle::bsClear);
    for (int k = 0; k < 40; ++k) {
      for (int i = 0; i < 360; ++i)
        line[i] = {static_cast<int>(kWidth + std::cos(i * 0.01745) * k * 40),
                   static_cast<int>(kHeight + std::sin(i * 0.01745) * k * 40)};
      canvas.Polyline(line);
    }
    for (int k = 0; k < 60; ++k) {
      const QString text = QString::number(k * 5) + QChar(0xB0) + "N";
      const int x = 100 + (k % 10) * 120, y = 100 + (k / 10) * 300;
      canvas.SetFontColour(0u);
      for (const auto& [dx, dy] : {std::pair{-1, -1}, {1, -1}, {-1, 1}, {1, 1}})
        canvas.TextOut(x + dx, y + dy, text);
      canvas.SetFontColour(0xFFFFFFu);
      canvas.TextOut(x, y, text);
    }
  }
}
BENCHMARK(CanvasGraticule)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
  // Text needs a GUI application; no display is needed.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
