#include "imaging/GifImage.h"

#include "imaging/ExtBitmapFile.h"
#include "imaging/GifBlocks.h"
#include "imaging/Lzw.h"

#include <algorithm>
#include <bit>

namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kApplicationLabel = 0xFF;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kLocalTableFlag = 0x80;
// No global table; colour resolution field 7 (8 bits per primary).
constexpr std::uint8_t kScreenPacked = 0x70;
constexpr int kWebLevels = 6;  // web palette: 6 x 6 x 6 colours

void PutWord(std::vector<std::uint8_t>& out, int value)
{
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

// Bits of a table holding entries colours: 1..8.
int TableBits(int entries)
{
  return std::max(1, static_cast<int>(std::bit_width(static_cast<unsigned>(std::max(entries, 2) - 1))));
}

// Pixels and table of an 8-bit picture: the table covers the palette in use
// and any index beyond it, so every pixel has a colour.
std::vector<TRgb> IndexedTable(const TExtBitmap& bitmap)
{
  const auto pixels = bitmap.Pixels();
  const int highest = pixels.empty() ? 0 : *std::max_element(pixels.begin(), pixels.end());
  const int used = std::max(bitmap.PaletteSize(), highest + 1);
  std::vector<TRgb> table(bitmap.Palette().begin(), bitmap.Palette().begin() + used);
  return table;
}

std::vector<TRgb> WebPalette()
{
  std::vector<TRgb> table;
  for (int r = 0; r < kWebLevels; ++r)
    for (int g = 0; g < kWebLevels; ++g)
      for (int b = 0; b < kWebLevels; ++b)
        table.push_back({static_cast<std::uint8_t>(51 * r), static_cast<std::uint8_t>(51 * g),
                         static_cast<std::uint8_t>(51 * b)});
  return table;
}

std::uint8_t WebIndex(const std::uint8_t* rgb)
{
  auto level = [](std::uint8_t v) { return (v + 25) / 51; };
  return static_cast<std::uint8_t>(level(rgb[0]) * 36 + level(rgb[1]) * 6 + level(rgb[2]));
}

void EncodeFrame(const TExtBitmap& bitmap, int minCodeSize, TGIFSubImage& frame)
{
  frame.ImageData.clear();
  frame.ImageData.push_back(static_cast<std::uint8_t>(minCodeSize));
  TSubBlockSink blocks(frame.ImageData);
  TLzwEncoder encoder(minCodeSize, blocks);
  if (bitmap.PixelFormat() == TPixelFormat::pf8bit) {
    encoder.Encode(bitmap.Pixels());
  } else {
    const int bpp = bitmap.BytesPerPixel();
    std::vector<std::uint8_t> row(static_cast<std::size_t>(bitmap.Width()));
    for (int y = 0; y < bitmap.Height(); ++y) {
      const std::uint8_t* s = bitmap.ScanLine(y);
      for (int x = 0; x < bitmap.Width(); ++x)
        row[x] = WebIndex(s + static_cast<std::size_t>(x) * bpp);
      encoder.Encode(row);
    }
  }
  encoder.Finish();
  blocks.Finish();
}

void AppendExtension(std::vector<std::uint8_t>& out, const TGIFExtension& extension)
{
  if (const auto* control = std::get_if<TGIFGraphicControlExtension>(&extension)) {
    const std::uint8_t packed =
        static_cast<std::uint8_t>(((control->Disposal & 0x07) << 2) | (control->Transparent ? 1 : 0));
    out.insert(out.end(), {kExtensionIntroducer, kGraphicControlLabel, 4, packed});
    PutWord(out, control->Delay);
    out.insert(out.end(), {control->TransparentIndex, 0});
    return;
  }
  const auto& loop = std::get<TGIFAppExtNSLoop>(extension);
  static constexpr char kIdentifier[] = "NETSCAPE2.0";
  out.insert(out.end(), {kExtensionIntroducer, kApplicationLabel, 11});
  out.insert(out.end(), kIdentifier, kIdentifier + 11);
  out.insert(out.end(), {3, 1});
  PutWord(out, loop.Loops);
  out.push_back(0);
}

std::unique_ptr<TGIFImage>& AnimationImage()
{
  static std::unique_ptr<TGIFImage> image;
  return image;
}

}  // namespace

TGIFSubImage& TGIFImage::Add(const TExtBitmap& bitmap)
{
  CheckPictureSize(bitmap, kMaxSide);
  TGIFSubImage frame;
  frame.Width = bitmap.Width();
  frame.Height = bitmap.Height();
  frame.ColourTable = bitmap.PixelFormat() == TPixelFormat::pf8bit ? IndexedTable(bitmap) : WebPalette();
  const int bits = TableBits(static_cast<int>(frame.ColourTable.size()));
  frame.ColourTable.resize(std::size_t{1} << bits);
  EncodeFrame(bitmap, std::max(2, bits), frame);
  images_.push_back(std::move(frame));
  return images_.back();
}

void TGIFImage::SaveToStream(QIODevice& device) const
{
  if (images_.empty())
    throw EImageError("Cannot save a GIF picture without frames.");
  int screenWidth = 0, screenHeight = 0;
  bool anyExtension = false;
  for (const auto& image : images_) {
    screenWidth = std::max(screenWidth, image.Left + image.Width);
    screenHeight = std::max(screenHeight, image.Top + image.Height);
    anyExtension = anyExtension || !image.Extensions.empty();
  }
  if (screenWidth > kMaxSide || screenHeight > kMaxSide)
    throw EImageError("Cannot save a GIF picture larger than 65535 pixels a side.");

  std::vector<std::uint8_t> head;
  const char* signature = anyExtension ? "GIF89a" : "GIF87a";
  head.insert(head.end(), signature, signature + 6);
  PutWord(head, screenWidth);
  PutWord(head, screenHeight);
  head.insert(head.end(), {kScreenPacked, 0, 0});
  WriteAll(device, head);

  for (const auto& image : images_) {
    const std::size_t entries = image.ColourTable.size();
    if (entries < 2 || entries > 256 || !std::has_single_bit(entries) || image.ImageData.empty())
      throw EImageError("Cannot save a GIF frame without a proper colour table or image data.");
    std::vector<std::uint8_t> block;
    for (const auto& extension : image.Extensions)
      AppendExtension(block, extension);
    block.push_back(kImageSeparator);
    PutWord(block, image.Left);
    PutWord(block, image.Top);
    PutWord(block, image.Width);
    PutWord(block, image.Height);
    block.push_back(static_cast<std::uint8_t>(kLocalTableFlag | (std::bit_width(entries) - 2)));
    for (const TRgb& c : image.ColourTable)
      block.insert(block.end(), {c.r, c.g, c.b});
    WriteAll(device, block);
    WriteAll(device, image.ImageData);
  }
  const std::uint8_t trailer[] = {kTrailer};
  WriteAll(device, trailer);
  FlushDevice(device);
}

void TGIFImage::SaveToFile(const QString& fileName) const
{
  SaveThroughTemporaryFile(fileName, [this](QIODevice& device) { SaveToStream(device); });
}

void SaveBitmapAsGif(const TExtBitmap& bitmap, const QString& fileName)
{
  TGIFImage image;
  image.Add(bitmap);
  image.SaveToFile(fileName);
}

void StartAnimation()
{
  AnimationImage() = std::make_unique<TGIFImage>();
}

int AddAnimationFrame(const TExtBitmap& bitmap, bool transparent, int delayMs)
{
  auto& animation = AnimationImage();
  if (!animation)
    StartAnimation();
  TGIFSubImage& frame = animation->Add(bitmap);
  const int index = static_cast<int>(animation->Images().size()) - 1;
  if (index == 0)
    frame.Extensions.push_back(TGIFAppExtNSLoop{0});
  TGIFGraphicControlExtension control;
  control.Delay = static_cast<std::uint16_t>(static_cast<std::uint16_t>(delayMs) / 10);
  if (transparent) {
    control.Transparent = true;
    const std::uint8_t* corner = bitmap.ScanLine(bitmap.Height() - 1);
    control.TransparentIndex = bitmap.PixelFormat() == TPixelFormat::pf8bit ? corner[0] : WebIndex(corner);
  }
  frame.Extensions.push_back(control);
  return index;
}

std::unique_ptr<TGIFImage> FinishAnimation()
{
  auto image = std::move(AnimationImage());
  return image ? std::move(image) : std::make_unique<TGIFImage>();
}
