// Resampling of the displayed picture. Zooming doubles it: nearest for
// classes, blending over present pixels for temperatures (the zoom
// workflow checks the blocks and the coast fringe); here the blend weights
// against a floating-point bilinear reference and the refused calls.
#include "imaging/Resample.h"

#include <gtest/gtest.h>
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

double Bilinear(const TExtBitmap& s, int nw, int nh, int x, int y)
{
  const double fx = double(x) * s.Width() / nw, fy = double(y) * s.Height() / nh;
  const int x0 = int(fx), y0 = int(fy);
  const int x1 = std::min(x0 + 1, s.Width() - 1), y1 = std::min(y0 + 1, s.Height() - 1);
  const double tx = fx - x0, ty = fy - y0;
  auto v = [&](int xx, int yy) { return double(s.ScanLine(yy)[xx]); };
  return (v(x0, y0) * (1 - tx) + v(x1, y0) * tx) * (1 - ty) + (v(x0, y1) * (1 - tx) + v(x1, y1) * tx) * ty;
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

// Away from holes the zoom blends as bilinear interpolation does, within
// rounding.
TEST(Resample, PresentPixelsBlendLikeAFloatingPointBilinear)
{
  const struct {
    int w, h, nw, nh;
  } cases[] = {{31, 23, 62, 46}, {17, 11, 40, 23}, {9, 14, 31, 14}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " -> " << c.nw << "x" << c.nh);
    TExtBitmap b = Random(c.w, c.h, TPixelFormat::pf8bit, c.w * 31 + c.nw, 254);
    const TExtBitmap source = b;
    InterpolatePresent(b, c.nw, c.nh, 255);
    ASSERT_EQ(b.Width(), c.nw);
    ASSERT_EQ(b.Height(), c.nh);
    for (int y = 0; y < c.nh; ++y)
      for (int x = 0; x < c.nw; ++x)
        ASSERT_NEAR(b.ScanLine(y)[x], Bilinear(source, c.nw, c.nh, x, y), 0.51) << x << "," << y;
  }
}
