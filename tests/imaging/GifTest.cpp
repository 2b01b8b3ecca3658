#include "imaging/GifImage.h"
#include "support/GifReadBack.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>
#include <random>

namespace {

using TFill = std::function<std::uint8_t(int x, int y)>;

TExtBitmap Picture(int w, int h, int paletteSize, const TFill& fill)
{
  TExtBitmap b(w, h);
  b.SetPaletteSize(paletteSize);
  for (int i = 0; i < 256; ++i)
    b.Palette()[i] = {static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 13)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.ScanLine(y)[x] = fill(x, y);
  return b;
}

TFill RandomBelow(int n, unsigned seed)
{
  auto rng = std::make_shared<std::mt19937>(seed);
  return [rng, n](int, int) { return static_cast<std::uint8_t>((*rng)() % n); };
}

void ExpectFrameMatches(const TReadFrame& frame, const TExtBitmap& b, std::size_t tableSize, const char* name)
{
  ASSERT_EQ(frame.width, b.Width()) << name;
  ASSERT_EQ(frame.height, b.Height()) << name;
  ASSERT_EQ(frame.table.size(), tableSize) << name;
  // The table holds the palette in use and any entry a pixel needs; the
  // rest is padding.
  const int highest = *std::max_element(b.Pixels().begin(), b.Pixels().end());
  const std::size_t used = std::max(b.PaletteSize(), highest + 1);
  for (std::size_t i = 0; i < tableSize; ++i)
    ASSERT_EQ(frame.table[i], i < used ? b.Palette()[i] : TRgb{}) << name << " entry " << i;
  ASSERT_TRUE(std::equal(frame.pixels.begin(), frame.pixels.end(), b.Pixels().begin())) << name;
}

}  // namespace

// Every picture must come back from giflib pixel for pixel with its palette,
// across the sizes the program writes and the cases that stress the coder:
// code-width growth, table resets at 4096 codes and very long strings.
TEST(Gif, SinglePicturesReadBackExactlyWithGiflib)
{
  struct TCase {
    const char* name;
    int w, h, paletteSize;
    TFill fill;
    std::size_t table;
  };
  const TCase cases[] = {
      {"one pixel", 1, 1, 2, [](int, int) { return std::uint8_t{1}; }, 2},
      {"odd width", 7, 3, 13, RandomBelow(13, 1), 16},
      {"two colours, random", 333, 101, 2, RandomBelow(2, 2), 2},
      {"four colours, random", 257, 259, 4, RandomBelow(4, 3), 4},
      {"concentration classes", 760, 1120, 105, [](int x, int y) { return std::uint8_t((x / 37 + y / 29) % 105); }, 128},
      {"one colour, zoomed size", 1580, 1660, 105, [](int, int) { return std::uint8_t{101}; }, 128},
      {"noise over a large size", 1580, 1660, 256, RandomBelow(256, 5), 256},
      {"ramp", 511, 3, 256, [](int x, int y) { return std::uint8_t((x + y) & 0xFF); }, 256},
      {"index beyond the palette", 9, 9, 13, [](int x, int y) { return std::uint8_t(x == 8 && y == 8 ? 40 : 3); }, 64},
  };
  QTemporaryDir dir;
  for (const auto& c : cases) {
    const TExtBitmap b = Picture(c.w, c.h, c.paletteSize, c.fill);
    const QString name = dir.filePath("picture.gif");
    SaveBitmapAsGif(b, name);
    std::string error;
    const auto gif = ReadGif(name, &error);
    ASSERT_TRUE(gif) << c.name << ": " << error;
    EXPECT_EQ(gif->version, "87a") << c.name;
    ASSERT_EQ(gif->frames.size(), 1u);
    ExpectFrameMatches(gif->frames[0], b, c.table, c.name);
  }
}

// A 24-bit picture is written against the 6 x 6 x 6 web palette, each
// channel to its nearest step of 51.
TEST(Gif, RgbPicturesAreReducedToTheWebPalette)
{
  TExtBitmap b(6, 2, TPixelFormat::pf24bit);
  const std::uint8_t row[] = {0, 0, 0, 255, 255, 255, 51, 102, 153, 30, 20, 10, 26, 25, 255, 204, 0, 51};
  std::copy(std::begin(row), std::end(row), b.ScanLine(1));
  QTemporaryDir dir;
  SaveBitmapAsGif(b, dir.filePath("rgb.gif"));
  const auto gif = ReadGif(dir.filePath("rgb.gif"));
  ASSERT_TRUE(gif);
  const auto& f = gif->frames.at(0);
  ASSERT_EQ(f.table.size(), 256u);
  const TRgb expected[] = {{0, 0, 0}, {255, 255, 255}, {51, 102, 153}, {51, 0, 0}, {51, 0, 255}, {204, 0, 51}};
  for (int x = 0; x < 6; ++x)
    EXPECT_EQ(f.table[f.pixels[6 + x]], expected[x]) << x;
}

TEST(Gif, AnimationLoopsForEverWithPerFrameDelays)
{
  std::vector<TExtBitmap> frames;
  for (int i = 0; i < 4; ++i)
    frames.push_back(Picture(31, 17, 13, RandomBelow(13, 10 + i)));
  frames[2].ScanLine(16)[0] = 11;
  StartAnimation();
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(AddAnimationFrame(frames[i], i == 2, i == 3 ? 5000 : 750), i);
  auto image = FinishAnimation();
  QTemporaryDir dir;
  const QString name = dir.filePath("anim.gif");
  image->SaveToFile(name);

  const auto gif = ReadGif(name);
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->version, "89a");
  EXPECT_EQ(gif->loopCount, 0);
  EXPECT_TRUE(gif->loopBeforeFirstControl);
  ASSERT_EQ(gif->frames.size(), 4u);
  const int delays[] = {75, 75, 75, 500};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(gif->frames[i].delay, delays[i]);
    EXPECT_EQ(gif->frames[i].extensionsBeforeImage, i == 0 ? 3 : 1);  // loop (two blocks) + control
    EXPECT_EQ(gif->frames[i].transparentIndex, i == 2 ? 11 : -1);
    ExpectFrameMatches(gif->frames[i], frames[i], 16, "frame");
  }

  // And the builder holds nothing afterwards.
  EXPECT_TRUE(FinishAnimation()->Images().empty());
}

// Empty pictures are refused with the picture files' other failed saves.
TEST(Gif, FramelessImagesAreRefusedWithoutAFile)
{
  QTemporaryDir dir;
  TGIFImage none;
  EXPECT_THROW(none.SaveToFile(dir.filePath("none.gif")), EImageError);
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
}
