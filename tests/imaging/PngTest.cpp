#include "imaging/GifImage.h"
#include "imaging/PngImage.h"
#include "support/GifReadBack.h"

#include <png.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csetjmp>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <random>

namespace {

// A PNG as libpng reads it back, with nothing converted.
struct TReadPng {
  int width = 0, height = 0, colourType = -1;
  std::vector<TRgb> palette;
  std::vector<std::uint8_t> pixels;
  std::optional<png_time> time;
};

bool ReadPngInto(FILE* file, TReadPng& out)
{
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_infop end = png_create_info_struct(png);
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, &end);
    return false;
  }
  png_init_io(png, file);
  png_read_info(png, info);
  out.width = static_cast<int>(png_get_image_width(png, info));
  out.height = static_cast<int>(png_get_image_height(png, info));
  out.colourType = png_get_color_type(png, info);
  png_colorp plte = nullptr;
  int count = 0;
  if (png_get_PLTE(png, info, &plte, &count))
    for (int i = 0; i < count; ++i)
      out.palette.push_back({plte[i].red, plte[i].green, plte[i].blue});
  const std::size_t rowBytes = png_get_rowbytes(png, info);
  out.pixels.resize(rowBytes * out.height);
  rows.resize(out.height);
  for (int y = 0; y < out.height; ++y)
    rows[y] = out.pixels.data() + y * rowBytes;
  png_read_image(png, rows.data());
  png_read_end(png, end);
  for (png_infop i : {info, end}) {
    png_timep time = nullptr;
    if (png_get_tIME(png, i, &time))
      out.time = *time;
  }
  png_destroy_read_struct(&png, &info, &end);
  return true;
}

std::optional<TReadPng> ReadPng(const QString& name)
{
  const std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(name.toLocal8Bit().constData(), "rb"), std::fclose);
  TReadPng out;
  return file && ReadPngInto(file.get(), out) ? std::optional(std::move(out)) : std::nullopt;
}

// The chunk names and text keywords pngcheck lists, in file order; empty
// unless pngcheck reports no errors.
QStringList CheckedChunks(const QString& name, QString* report = nullptr)
{
  int exitCode = -1;
  const QString out = RunTool("pngcheck", {"-v", name}, &exitCode);
  if (report)
    *report = out;
  if (exitCode != 0 || !out.contains("No errors detected"))
    return {};
  QStringList chunks;
  static const QRegularExpression line(R"(chunk (\w{4}) at offset[^\n]*?(?:keyword: (\w+))?\n)");
  for (auto it = line.globalMatch(out); it.hasNext();) {
    const auto m = it.next();
    chunks << (m.captured(2).isEmpty() ? m.captured(1) : m.captured(1) + ":" + m.captured(2));
  }
  return chunks;
}

TExtBitmap Paletted(int w, int h, int paletteSize, unsigned seed, int pixelsBelow)
{
  TExtBitmap b(w, h);
  b.SetPaletteSize(paletteSize);
  std::mt19937 rng(seed);
  for (int i = 0; i < 256; ++i)
    b.Palette()[i] = {static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng())};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.ScanLine(y)[x] = static_cast<std::uint8_t>(((x / 5 + y / 3) % 7 == 0 ? rng() : x + y) % pixelsBelow);
  return b;
}

void SaveProgramPng(const TExtBitmap& b, const QString& name)
{
  ASSERT_TRUE(SavePng(b, name, kPngAuthor, kPngTitle, kPngSoftware, kPngDescription));
}

QByteArray Contents(const QString& name)
{
  QFile f(name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(Png, EveryColourTypeReadsBackExactlyInTheFixedChunkOrder)
{
  struct TCase {
    const char* name;
    TExtBitmap bitmap;
    int colourType;
    int paletteEntries;  // PLTE entries; 0 for none
  };
  TExtBitmap grey = Paletted(33, 9, 256, 1, 256);
  grey.SetGreyPalette();
  TExtBitmap shortGrey = Paletted(8, 8, 13, 2, 13);
  for (int i = 0; i < 13; ++i)
    shortGrey.Palette()[i] = {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)};
  TExtBitmap rgb(5, 3, TPixelFormat::pf24bit);
  std::mt19937 rng(3);
  for (auto& p : rgb.Pixels())
    p = static_cast<std::uint8_t>(rng());
  TExtBitmap bigRgb(1580, 1660, TPixelFormat::pf24bit);
  for (auto& p : bigRgb.Pixels())
    p = static_cast<std::uint8_t>(rng() % 3);
  TExtBitmap beyond = Paletted(10, 10, 13, 4, 13);
  beyond.ScanLine(9)[9] = 200;

  const TCase cases[] = {
      {"concentration", Paletted(760, 1120, 105, 5, 105), kPngColourPalette, 105},
      {"edge classes, odd width", Paletted(761, 3, 13, 6, 13), kPngColourPalette, 13},
      {"one pixel", Paletted(1, 1, 2, 7, 2), kPngColourPalette, 2},
      {"zoomed", Paletted(1580, 1660, 256, 8, 256), kPngColourPalette, 256},
      {"identity grey", grey, kPngColourGrey, 0},
      {"identity grey over the entries in use", shortGrey, kPngColourGrey, 0},
      {"rgb", rgb, kPngColourRgb, 0},
      {"large rgb", bigRgb, kPngColourRgb, 0},
      {"index beyond the palette", beyond, kPngColourPalette, 201},
  };
  QTemporaryDir dir;
  const QString name = dir.filePath("picture.png");
  for (const auto& c : cases) {
    SaveProgramPng(c.bitmap, name);
    QString report;
    QStringList expected{"IHDR"};
    if (c.paletteEntries)
      expected << "PLTE";
    expected << "tEXt:Author" << "tEXt:Description" << "tEXt:Software" << "tEXt:Title" << "IDAT";
    const QStringList chunks = CheckedChunks(name, &report);
    ASSERT_FALSE(chunks.isEmpty()) << c.name << "\n" << report.toStdString();
    QStringList merged;  // consecutive IDAT chunks count once
    for (const auto& chunk : chunks)
      if (!(chunk == "IDAT" && !merged.isEmpty() && merged.back() == "IDAT"))
        merged << chunk;
    expected << "tIME" << "IEND";
    EXPECT_EQ(merged, expected) << c.name;

    const auto png = ReadPng(name);
    ASSERT_TRUE(png) << c.name;
    EXPECT_EQ(std::pair(png->width, png->height), std::pair(c.bitmap.Width(), c.bitmap.Height())) << c.name;
    EXPECT_EQ(png->colourType, c.colourType) << c.name;
    ASSERT_EQ(png->palette.size(), static_cast<std::size_t>(c.paletteEntries)) << c.name;
    for (int i = 0; i < c.paletteEntries; ++i)
      EXPECT_EQ(png->palette[i], c.bitmap.Palette()[i]) << c.name << " entry " << i;
    EXPECT_TRUE(png->pixels == std::vector<std::uint8_t>(c.bitmap.Pixels().begin(), c.bitmap.Pixels().end())) << c.name;
  }
}

TEST(Png, TimeChunkHoldsUtcWhateverTheLocalZone)
{
  const char* savedZone = std::getenv("TZ");
  const std::string saved = savedZone ? savedZone : "";
  setenv("TZ", "Pacific/Kiritimati", 1);  // fourteen hours ahead of UTC
  tzset();
  TPngImage image;
  image.Assign(Paletted(2, 2, 2, 10, 2));
  QTemporaryDir dir;
  const QDateTime before = QDateTime::currentDateTimeUtc();
  image.SaveToFile(dir.filePath("now.png"));
  const QDateTime after = QDateTime::currentDateTimeUtc();
  if (savedZone)
    setenv("TZ", saved.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();

  const auto now = ReadPng(dir.filePath("now.png"));
  ASSERT_TRUE(now && now->time);
  const QDateTime stamped(QDate(now->time->year, now->time->month, now->time->day),
                          QTime(now->time->hour, now->time->minute, now->time->second), Qt::UTC);
  EXPECT_GE(stamped, before.addSecs(-1));
  EXPECT_LE(stamped, after.addSecs(1));
}

// A refused save raises and leaves no file, and an existing picture of that
// name as it was. (A full disk and a folder that cannot be written are run
// end to end.)
TEST(PictureFiles, RefusedSavesRaiseAndLeaveThePreviousPicture)
{
  using TSave = void (*)(const TExtBitmap&, const QString&);
  const std::pair<const char*, TSave> writers[] = {
      {"png", [](const TExtBitmap& b, const QString& n) { SavePng(b, n, kPngAuthor, kPngTitle, kPngSoftware, kPngDescription); }},
      {"gif", [](const TExtBitmap& b, const QString& n) { SaveBitmapAsGif(b, n); }},
  };
  for (const auto& [format, save] : writers) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("conc.") + format);
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the previous picture");
    old.close();
    const struct {
      const char* name;
      TExtBitmap bitmap;
      QString file;
      const char* messageStart;
    } cases[] = {
        {"empty picture", TExtBitmap(0, 0), target, "Cannot save a picture of 0 x 0 pixels."},
        {"no rows", TExtBitmap(12, 0), target, "Cannot save a picture of 12 x 0 pixels."},
        {"missing folder", Paletted(20, 20, 13, 11, 13), dir.filePath("no/such/folder/x.png"), "Cannot create "},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << format << ", " << c.name);
      try {
        save(c.bitmap, c.file);
        ADD_FAILURE() << "no error";
      } catch (const EImageError& e) {
        EXPECT_EQ(std::string(e.what()).rfind(c.messageStart, 0), 0u) << e.what();
      }
      EXPECT_EQ(Contents(target), "the previous picture");
      EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{target.section('/', -1)});
    }
  }
}
