#include "imaging/Resample.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <random>

namespace {

TExtBitmap Random(int w, int h, TPixelFormat format, unsigned seed)
{
  TExtBitmap b(w, h, format);
  std::mt19937 rng(seed);
  for (auto& p : b.Pixels())
    p = static_cast<std::uint8_t>(rng());
  return b;
}

// Straightforward area mean in floating point: every output pixel averages
// the source area its rectangle covers.
double AreaMean(const TExtBitmap& s, int nw, int nh, int x, int y, int channel)
{
  const double sx = double(s.Width()) / nw, sy = double(s.Height()) / nh;
  const double x0 = x * sx, x1 = (x + 1) * sx, y0 = y * sy, y1 = (y + 1) * sy;
  double sum = 0;
  for (int j = 0; j < s.Height(); ++j) {
    const double oy = std::min<double>(y1, j + 1) - std::max<double>(y0, j);
    if (oy <= 0)
      continue;
    for (int i = 0; i < s.Width(); ++i) {
      const double ox = std::min<double>(x1, i + 1) - std::max<double>(x0, i);
      if (ox > 0)
        sum += ox * oy * s.ScanLine(j)[i * s.BytesPerPixel() + channel];
    }
  }
  return sum / (sx * sy);
}

double Bilinear(const TExtBitmap& s, int nw, int nh, int x, int y, int channel)
{
  const double fx = double(x) * s.Width() / nw, fy = double(y) * s.Height() / nh;
  const int x0 = int(fx), y0 = int(fy);
  const int x1 = std::min(x0 + 1, s.Width() - 1), y1 = std::min(y0 + 1, s.Height() - 1);
  const double tx = fx - x0, ty = fy - y0;
  const int c = s.BytesPerPixel();
  auto v = [&](int xx, int yy) { return double(s.ScanLine(yy)[xx * c + channel]); };
  return (v(x0, y0) * (1 - tx) + v(x1, y0) * tx) * (1 - ty) + (v(x0, y1) * (1 - tx) + v(x1, y1) * tx) * ty;
}

}  // namespace

TEST(Resample, RefusedCallsRaiseTheirMessageAndKeepThePicture)
{
  struct TCase {
    TPixelFormat format;
    int nw, nh, method;
    const char* message;
  };
  const TCase cases[] = {
      {TPixelFormat::pf8bit, 20, 7, 0, kMixedDirectionMessage},   // wider, lower
      {TPixelFormat::pf24bit, 9, 9, 1, kMixedDirectionMessage},   // narrower, higher
      {TPixelFormat::pf32bit, 20, 16, 0, kPixelFormatMessage},
      {TPixelFormat::pf32bit, 5, 4, 3, kPixelFormatMessage},
      {TPixelFormat::pf8bit, 0, 0, 3, "Error: Interpolate called with a size out of range."},
      {TPixelFormat::pf8bit, TExtBitmap::kMaxSide + 1, 8, 0, "Error: Interpolate called with a size out of range."},
      {TPixelFormat::pf8bit, 20, 16, 4, "Error: Interpolate called with an unknown method."},
  };
  for (const auto& c : cases) {
    TExtBitmap b = Random(10, 8, c.format, 2);
    const TExtBitmap before = b;
    try {
      Interpolate(b, c.nw, c.nh, c.method);
      ADD_FAILURE() << "no error for " << c.nw << "x" << c.nh;
    } catch (const EImageError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(b, before);
  }
}

TEST(Resample, NearestDoublingGivesExactTwoByTwoBlocks)
{
  for (const auto format : {TPixelFormat::pf8bit, TPixelFormat::pf24bit}) {
    TExtBitmap b = Random(13, 9, format, 4);
    b.SetPaletteSize(105);
    const TExtBitmap source = b;
    Interpolate(b, 26, 18, kInterpolateNearest);
    ASSERT_EQ(b.PixelFormat(), format);
    EXPECT_EQ(b.PaletteSize(), 105);
    const int c = b.BytesPerPixel();
    for (int y = 0; y < 18; ++y)
      for (int x = 0; x < 26; ++x)
        for (int k = 0; k < c; ++k)
          ASSERT_EQ(b.ScanLine(y)[x * c + k], source.ScanLine(y / 2)[(x / 2) * c + k]) << x << "," << y;
  }
}

TEST(Resample, LinearAndAreaMeanAgreeWithAFloatingPointReference)
{
  struct TCase {
    int w, h, nw, nh, method;
    TPixelFormat format;
  };
  const TCase cases[] = {
      {17, 11, 40, 23, kInterpolateLinear, TPixelFormat::pf8bit},
      {9, 14, 31, 14, kInterpolateLinear, TPixelFormat::pf24bit},
      {40, 30, 20, 15, kInterpolateSuperSample, TPixelFormat::pf8bit},
      {37, 23, 11, 7, kInterpolateSuperSample, TPixelFormat::pf24bit},
      {25, 25, 25, 3, kInterpolateSuperSample, TPixelFormat::pf8bit},
      {12, 10, 30, 25, kInterpolateSuperSample, TPixelFormat::pf8bit},
  };
  for (const auto& c : cases) {
    TExtBitmap b = Random(c.w, c.h, c.format, c.w * 31 + c.nw);
    const TExtBitmap source = b;
    Interpolate(b, c.nw, c.nh, c.method);
    ASSERT_EQ(b.Width(), c.nw);
    ASSERT_EQ(b.Height(), c.nh);
    const int channels = b.BytesPerPixel();
    for (int y = 0; y < c.nh; ++y)
      for (int x = 0; x < c.nw; ++x)
        for (int k = 0; k < channels; ++k) {
          const double want = c.method == kInterpolateLinear ? Bilinear(source, c.nw, c.nh, x, y, k)
                                                             : AreaMean(source, c.nw, c.nh, x, y, k);
          ASSERT_NEAR(b.ScanLine(y)[x * channels + k], want, 0.51) << c.w << "->" << c.nw << " at " << x << "," << y;
        }
  }
}

TEST(Resample, CubicKeepsSourceSamplesAndFlatAreas)
{
  TExtBitmap b = Random(8, 6, TPixelFormat::pf8bit, 9);
  const TExtBitmap source = b;
  Interpolate(b, 16, 12);  // the default when enlarging
  for (int y = 0; y < 12; y += 2)
    for (int x = 0; x < 16; x += 2)
      EXPECT_EQ(b.ScanLine(y)[x], source.ScanLine(y / 2)[x / 2]);
  TExtBitmap flat(5, 5, TPixelFormat::pf24bit);
  flat.Fill(77);
  Interpolate(flat, 13, 11, kInterpolateCubic);
  EXPECT_TRUE(std::all_of(flat.Pixels().begin(), flat.Pixels().end(), [](std::uint8_t v) { return v == 77; }));
  // Undershoot before a hard edge is clamped to 0, never wrapped round.
  TExtBitmap edge(6, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 3; x < 6; ++x)
      edge.ScanLine(y)[x] = 255;
  Interpolate(edge, 18, 3, kInterpolateCubic);
  for (int x = 0; x < 6; ++x)
    EXPECT_EQ(edge.ScanLine(1)[x], 0) << x;
}

namespace {

// An SST-like picture of indices 1..253 with holes (index 0, land and gaps)
// in blobs and single points.
TExtBitmap WithHoles(int w, int h, unsigned seed)
{
  TExtBitmap b(w, h);
  std::mt19937 rng(seed);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.ScanLine(y)[x] = static_cast<std::uint8_t>(120 + 100 * std::sin(x * 0.3) * std::cos(y * 0.2) + rng() % 7);
  for (int blob = 0; blob < 6; ++blob) {
    const int cx = static_cast<int>(rng() % w), cy = static_cast<int>(rng() % h), r = 1 + static_cast<int>(rng() % 4);
    for (int y = std::max(0, cy - r); y <= std::min(h - 1, cy + r); ++y)
      for (int x = std::max(0, cx - r); x <= std::min(w - 1, cx + r); ++x)
        b.ScanLine(y)[x] = 0;
  }
  for (int i = 0; i < 5; ++i)
    b.ScanLine(static_cast<int>(rng() % h))[rng() % w] = 0;
  return b;
}

// Pixels of `zoomed` (a doubling of `source`) whose index lies outside the
// range of the present source pixels around them (the 3 x 3 block centred
// on the pixel they come from), or that are a hole where the source pixel
// is not, or not one where it is.
std::vector<std::string> FringePixels(const TExtBitmap& source, const TExtBitmap& zoomed, std::uint8_t hole)
{
  std::vector<std::string> faults;
  for (int y = 0; y < zoomed.Height(); ++y)
    for (int x = 0; x < zoomed.Width(); ++x) {
      const int sx = x / 2, sy = y / 2;
      const std::uint8_t got = zoomed.ScanLine(y)[x];
      const bool sourceHole = source.ScanLine(sy)[sx] == hole;
      int low = 256, high = -1;
      for (int j = std::max(0, sy - 1); j <= std::min(source.Height() - 1, sy + 1); ++j)
        for (int i = std::max(0, sx - 1); i <= std::min(source.Width() - 1, sx + 1); ++i)
          if (const std::uint8_t v = source.ScanLine(j)[i]; v != hole) {
            low = std::min<int>(low, v);
            high = std::max<int>(high, v);
          }
      const bool ok = sourceHole ? got == hole : got != hole && got >= low && got <= high;
      if (!ok)
        faults.push_back(std::to_string(x) + "," + std::to_string(y) + ": " + std::to_string(got) + " from " +
                         (sourceHole ? std::string("a hole") : std::to_string(low) + ".." + std::to_string(high)));
    }
  return faults;
}

}  // namespace

TEST(Resample, DoublingWithHolesInterpolatesOnlyBetweenPresentPixels)
{
  for (const unsigned seed : {11u, 12u, 13u}) {
    const TExtBitmap source = WithHoles(31, 23, seed);
    TExtBitmap b = source;
    InterpolatePresent(b, 62, 46, 0);
    ASSERT_EQ(b.Width(), 62);
    ASSERT_EQ(b.Height(), 46);
    const auto faults = FringePixels(source, b, 0);
    EXPECT_TRUE(faults.empty()) << faults.size() << " pixels, first " << faults.front();
    // Plain linear doubling makes the fringe this guards against.
    TExtBitmap linear = source;
    Interpolate(linear, 62, 46, kInterpolateLinear);
    EXPECT_FALSE(FringePixels(source, linear, 0).empty());
  }
}
