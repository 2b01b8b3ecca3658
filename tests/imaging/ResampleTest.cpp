// Resampling of pictures. Zooming doubles the display: nearest for classes,
// blending over present pixels for temperatures (the zoom workflow checks
// the blocks and the coast fringe); here each method's weights against a
// floating-point reference, and the refused calls.
#include "imaging/Resample.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <random>

namespace {

TExtBitmap Random(int w, int h, TPixelFormat format, unsigned seed, int below = 256)
{
  TExtBitmap b(w, h, format);
  std::mt19937 rng(seed);
  for (auto& p : b.Pixels())
    p = static_cast<std::uint8_t>(1 + rng() % (below - 1));
  return b;
}

double Bilinear(const TExtBitmap& s, int nw, int nh, int x, int y, int k)
{
  const double fx = double(x) * s.Width() / nw, fy = double(y) * s.Height() / nh;
  const int x0 = int(fx), y0 = int(fy);
  const int x1 = std::min(x0 + 1, s.Width() - 1), y1 = std::min(y0 + 1, s.Height() - 1);
  const double tx = fx - x0, ty = fy - y0;
  auto v = [&](int xx, int yy) { return double(s.ScanLine(yy)[xx * s.BytesPerPixel() + k]); };
  return (v(x0, y0) * (1 - tx) + v(x1, y0) * tx) * (1 - ty) + (v(x0, y1) * (1 - tx) + v(x1, y1) * tx) * ty;
}

// Every output pixel averages the source area its rectangle covers.
double AreaMean(const TExtBitmap& s, int nw, int nh, int x, int y, int k)
{
  const double sx = double(s.Width()) / nw, sy = double(s.Height()) / nh;
  double sum = 0;
  for (int j = 0; j < s.Height(); ++j)
    for (int i = 0; i < s.Width(); ++i) {
      const double ox = std::min<double>((x + 1) * sx, i + 1) - std::max<double>(x * sx, i);
      const double oy = std::min<double>((y + 1) * sy, j + 1) - std::max<double>(y * sy, j);
      if (ox > 0 && oy > 0)
        sum += ox * oy * s.ScanLine(j)[i * s.BytesPerPixel() + k];
    }
  return sum / (sx * sy);
}

}  // namespace

TEST(Resample, RefusedCallsRaiseTheirMessageAndKeepThePicture)
{
  constexpr const char* kRange = "Error: Interpolate called with a size out of range.";
  const struct {
    TPixelFormat format;
    int nw, nh, method;
    const char* message;
  } cases[] = {
      {TPixelFormat::pf8bit, 20, 7, 0, kMixedDirectionMessage},  // wider, lower
      {TPixelFormat::pf24bit, 9, 9, 1, kMixedDirectionMessage},  // narrower, higher
      {TPixelFormat::pf32bit, 20, 16, 0, kPixelFormatMessage},
      {TPixelFormat::pf32bit, 5, 4, 3, kPixelFormatMessage},
      {TPixelFormat::pf8bit, 0, 0, 3, kRange},
      {TPixelFormat::pf8bit, TExtBitmap::kMaxSide + 1, 8, 0, kRange},
      {TPixelFormat::pf8bit, 20, 16, 4, "Error: Interpolate called with an unknown method."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.nw << "x" << c.nh << " method " << c.method);
    TExtBitmap b = Random(10, 8, c.format, 2);
    const TExtBitmap before = b;
    try {
      Interpolate(b, c.nw, c.nh, c.method);
      ADD_FAILURE() << "no error";
    } catch (const EImageError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(b, before);
  }
}

// Away from holes the zoom blends as bilinear interpolation does, and the
// other methods of Interpolate match their floating-point definitions,
// within rounding, on indices and on RGB alike.
TEST(Resample, BlendsMatchAFloatingPointReference)
{
  constexpr int kPresent = -2;  // InterpolatePresent with no hole in the picture
  const struct {
    int w, h, nw, nh, method;
    TPixelFormat format;
  } cases[] = {
      {31, 23, 62, 46, kPresent, TPixelFormat::pf8bit},
      {17, 11, 40, 23, kPresent, TPixelFormat::pf8bit},
      {9, 14, 31, 14, kInterpolateLinear, TPixelFormat::pf24bit},
      {40, 30, 20, 15, kInterpolateSuperSample, TPixelFormat::pf8bit},
      {37, 23, 11, 7, kInterpolateDefault, TPixelFormat::pf24bit},  // reducing: area mean
      {12, 10, 30, 25, kInterpolateSuperSample, TPixelFormat::pf8bit},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " -> " << c.nw << "x" << c.nh << " method " << c.method);
    TExtBitmap b = Random(c.w, c.h, c.format, c.w * 31 + c.nw, 254);
    const TExtBitmap source = b;
    if (c.method == kPresent)
      InterpolatePresent(b, c.nw, c.nh, 255);
    else
      Interpolate(b, c.nw, c.nh, c.method);
    ASSERT_EQ(b.Width(), c.nw);
    ASSERT_EQ(b.Height(), c.nh);
    const auto reference = c.method == kPresent || c.method == kInterpolateLinear ? Bilinear : AreaMean;
    for (int y = 0; y < c.nh; ++y)
      for (int x = 0; x < c.nw; ++x)
        for (int k = 0; k < b.BytesPerPixel(); ++k)
          ASSERT_NEAR(b.ScanLine(y)[x * b.BytesPerPixel() + k], reference(source, c.nw, c.nh, x, y, k), 0.51)
              << x << "," << y;
  }
}

// Enlarging by default is cubic: it keeps the source samples, keeps a flat
// area flat, and clamps the undershoot before a hard edge to 0.
TEST(Resample, CubicKeepsSamplesAndFlatAreasAndClampsUndershoot)
{
  TExtBitmap b = Random(8, 6, TPixelFormat::pf8bit, 9);
  const TExtBitmap source = b;
  Interpolate(b, 16, 12);
  for (int y = 0; y < 12; y += 2)
    for (int x = 0; x < 16; x += 2)
      EXPECT_EQ(b.ScanLine(y)[x], source.ScanLine(y / 2)[x / 2]);
  TExtBitmap flat(5, 5, TPixelFormat::pf24bit);
  flat.Fill(77);
  Interpolate(flat, 13, 11, kInterpolateCubic);
  EXPECT_EQ(std::ranges::count(flat.Pixels(), 77), std::ssize(flat.Pixels()));
  TExtBitmap edge(6, 3);
  for (int y = 0; y < 3; ++y)
    std::fill_n(edge.ScanLine(y) + 3, 3, 255);
  Interpolate(edge, 18, 3, kInterpolateCubic);
  for (int x = 0; x < 6; ++x)
    EXPECT_EQ(edge.ScanLine(1)[x], 0) << x;
}
