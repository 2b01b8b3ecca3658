#include "imaging/Resample.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

// A source picture as the resamplers see it: rows of width x channels bytes.
struct TSource {
  const std::uint8_t* pixels;
  int width, height, channels;
  const std::uint8_t* Row(int y) const { return pixels + static_cast<std::size_t>(y) * width * channels; }
};

std::uint8_t ClampByte(float v)
{
  return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

// Source pixel under output pixel i of an axis of n outputs over s sources.
int SourceIndex(int i, int s, int n)
{
  return static_cast<int>(static_cast<std::int64_t>(i) * s / n);
}

TBytes Nearest(const TSource& src, int nw, int nh)
{
  const int c = src.channels;
  std::vector<int> column(nw);
  for (int x = 0; x < nw; ++x)
    column[x] = SourceIndex(x, src.width, nw) * c;
  TBytes out(static_cast<std::size_t>(nw) * nh * c);
  const std::size_t rowBytes = static_cast<std::size_t>(nw) * c;
  int previous = -1;
  for (int y = 0; y < nh; ++y) {
    std::uint8_t* d = out.data() + y * rowBytes;
    const int sy = SourceIndex(y, src.height, nh);
    if (sy == previous) {
      std::memcpy(d, d - rowBytes, rowBytes);
      continue;
    }
    previous = sy;
    const std::uint8_t* s = src.Row(sy);
    if (c == 1) {
      for (int x = 0; x < nw; ++x)
        d[x] = s[column[x]];
    } else {
      for (int x = 0; x < nw; ++x)
        for (int k = 0; k < c; ++k)
          d[x * c + k] = s[column[x] + k];
    }
  }
  return out;
}

// Linear weights in 1/65536: output i lies between sources lo and hi.
struct TLinearTap {
  int lo, hi;
  std::uint32_t w;  // weight of hi
};

std::vector<TLinearTap> LinearTaps(int s, int n)
{
  std::vector<TLinearTap> taps(n);
  for (int i = 0; i < n; ++i) {
    const std::int64_t pos = static_cast<std::int64_t>(i) * s;
    const int lo = static_cast<int>(pos / n);
    const auto frac = static_cast<std::uint32_t>(((pos % n) << 16) / n);
    taps[i] = {lo, std::min(lo + 1, s - 1), frac};
  }
  return taps;
}

TBytes Linear(const TSource& src, int nw, int nh)
{
  const int c = src.channels;
  const auto tx = LinearTaps(src.width, nw), ty = LinearTaps(src.height, nh);
  TBytes out(static_cast<std::size_t>(nw) * nh * c);
  std::uint8_t* d = out.data();
  for (int y = 0; y < nh; ++y) {
    const std::uint8_t* r0 = src.Row(ty[y].lo);
    const std::uint8_t* r1 = src.Row(ty[y].hi);
    const std::uint64_t wy = ty[y].w;
    for (int x = 0; x < nw; ++x) {
      const int a = tx[x].lo * c, b = tx[x].hi * c;
      const std::uint32_t wx = tx[x].w;
      for (int k = 0; k < c; ++k) {
        const std::uint64_t top = r0[a + k] * (65536u - wx) + r0[b + k] * wx;
        const std::uint64_t bottom = r1[a + k] * (65536u - wx) + r1[b + k] * wx;
        *d++ = static_cast<std::uint8_t>((top * (65536u - wy) + bottom * wy + (1ull << 31)) >> 32);
      }
    }
  }
  return out;
}

// Linear over present pixels only: an output pixel whose neighbours with
// weight include a hole takes its nearest source pixel (tap lo on both
// axes, the pixel Nearest gives), so no index between the data and the hole
// is made up and holes keep their nearest-neighbour shape.
TBytes LinearPresent(const TSource& src, int nw, int nh, std::uint8_t hole)
{
  const auto tx = LinearTaps(src.width, nw), ty = LinearTaps(src.height, nh);
  TBytes out(static_cast<std::size_t>(nw) * nh);
  std::uint8_t* d = out.data();
  for (int y = 0; y < nh; ++y) {
    const std::uint8_t* r0 = src.Row(ty[y].lo);
    const std::uint8_t* r1 = src.Row(ty[y].hi);
    const std::uint64_t wy = ty[y].w;
    for (int x = 0; x < nw; ++x) {
      const int a = tx[x].lo, b = tx[x].hi;
      const std::uint32_t wx = tx[x].w;
      const std::uint8_t p00 = r0[a], p01 = r0[b], p10 = r1[a], p11 = r1[b];
      const bool nearHole = p00 == hole || (wx != 0 && p01 == hole) || (wy != 0 && p10 == hole) ||
                            (wx != 0 && wy != 0 && p11 == hole);
      if (nearHole) {
        *d++ = p00;
        continue;
      }
      const std::uint64_t top = p00 * (65536u - wx) + p01 * wx;
      const std::uint64_t bottom = p10 * (65536u - wx) + p11 * wx;
      *d++ = static_cast<std::uint8_t>((top * (65536u - wy) + bottom * wy + (1ull << 31)) >> 32);
    }
  }
  return out;
}

// Cubic convolution (a = -0.5) over four neighbours, edges repeated.
struct TCubicTap {
  std::array<int, 4> index;
  std::array<float, 4> weight;
};

float CubicWeight(float t)
{
  constexpr float a = -0.5f;
  t = std::fabs(t);
  if (t <= 1)
    return ((a + 2) * t - (a + 3)) * t * t + 1;
  if (t < 2)
    return ((a * t - 5 * a) * t + 8 * a) * t - 4 * a;
  return 0;
}

std::vector<TCubicTap> CubicTaps(int s, int n)
{
  std::vector<TCubicTap> taps(n);
  for (int i = 0; i < n; ++i) {
    const std::int64_t pos = static_cast<std::int64_t>(i) * s;
    const int base = static_cast<int>(pos / n);
    const float t = static_cast<float>(pos % n) / static_cast<float>(n);
    for (int k = 0; k < 4; ++k) {
      taps[i].index[k] = std::clamp(base - 1 + k, 0, s - 1);
      taps[i].weight[k] = CubicWeight(t - static_cast<float>(k - 1));
    }
  }
  return taps;
}

TBytes Cubic(const TSource& src, int nw, int nh)
{
  const int c = src.channels;
  const auto tx = CubicTaps(src.width, nw), ty = CubicTaps(src.height, nh);
  TBytes out(static_cast<std::size_t>(nw) * nh * c);
  std::uint8_t* d = out.data();
  for (int y = 0; y < nh; ++y) {
    for (int x = 0; x < nw; ++x) {
      for (int k = 0; k < c; ++k) {
        float sum = 0;
        for (int j = 0; j < 4; ++j) {
          const std::uint8_t* row = src.Row(ty[y].index[j]);
          float h = 0;
          for (int i = 0; i < 4; ++i)
            h += tx[x].weight[i] * static_cast<float>(row[tx[x].index[i] * c + k]);
          sum += ty[y].weight[j] * h;
        }
        *d++ = ClampByte(sum);
      }
    }
  }
  return out;
}

// Area weights: output i covers [i*s, (i+1)*s) and source j covers
// [j*n, (j+1)*n), in units of 1/(s*n) of the axis; the overlaps sum to s.
struct TAreaTap {
  int index;
  std::uint32_t weight;
};

std::vector<std::vector<TAreaTap>> AreaTaps(int s, int n)
{
  std::vector<std::vector<TAreaTap>> taps(n);
  for (int i = 0; i < n; ++i) {
    const std::int64_t from = static_cast<std::int64_t>(i) * s, to = from + s;
    for (auto j = static_cast<int>(from / n); j < s && static_cast<std::int64_t>(j) * n < to; ++j) {
      const std::int64_t lo = std::max<std::int64_t>(from, static_cast<std::int64_t>(j) * n);
      const std::int64_t hi = std::min<std::int64_t>(to, static_cast<std::int64_t>(j + 1) * n);
      if (hi > lo)
        taps[i].push_back({j, static_cast<std::uint32_t>(hi - lo)});
    }
  }
  return taps;
}

TBytes SuperSample(const TSource& src, int nw, int nh)
{
  const int c = src.channels;
  const auto tx = AreaTaps(src.width, nw), ty = AreaTaps(src.height, nh);
  // Rows summed across first: at most 255 x source width, well inside 32 bits.
  const std::size_t across = static_cast<std::size_t>(nw) * c;
  std::vector<std::uint32_t> rows(across * src.height);
  for (int y = 0; y < src.height; ++y) {
    const std::uint8_t* s = src.Row(y);
    std::uint32_t* r = rows.data() + y * across;
    for (int x = 0; x < nw; ++x)
      for (const auto& tap : tx[x])
        for (int k = 0; k < c; ++k)
          r[x * c + k] += tap.weight * s[tap.index * c + k];
  }
  const std::uint64_t total = static_cast<std::uint64_t>(src.width) * src.height;
  TBytes out(across * nh);
  std::vector<std::uint64_t> sum(across);
  for (int y = 0; y < nh; ++y) {
    std::fill(sum.begin(), sum.end(), 0);
    for (const auto& tap : ty[y]) {
      const std::uint32_t* r = rows.data() + tap.index * across;
      for (std::size_t i = 0; i < across; ++i)
        sum[i] += static_cast<std::uint64_t>(tap.weight) * r[i];
    }
    for (std::size_t i = 0; i < across; ++i)
      out[y * across + i] = static_cast<std::uint8_t>((sum[i] + total / 2) / total);
  }
  return out;
}

enum class TDirection { None, Enlarge, Reduce };

// The checks both resamplers share: None when the call leaves the picture
// alone; raises for a mixed direction, a pixel format other than 8 or 24
// bits, and a new size out of range.
TDirection CheckResize(const TExtBitmap& bitmap, int newWidth, int newHeight)
{
  const int width = bitmap.Width(), height = bitmap.Height();
  if (newWidth == width && newHeight == height)
    return TDirection::None;
  if (width <= 2 || height <= 2)
    return TDirection::None;
  const bool enlarge = width <= newWidth && height <= newHeight;
  const bool reduce = newWidth <= width && newHeight <= height;
  if (!enlarge && !reduce)
    throw EImageError(kMixedDirectionMessage);
  const TPixelFormat format = bitmap.PixelFormat();
  if (format != TPixelFormat::pf8bit && format != TPixelFormat::pf24bit)
    throw EImageError(kPixelFormatMessage);
  if (newWidth < 1 || newHeight < 1 || newWidth > TExtBitmap::kMaxSide || newHeight > TExtBitmap::kMaxSide)
    throw EImageError("Error: Interpolate called with a size out of range.");
  return enlarge ? TDirection::Enlarge : TDirection::Reduce;
}

}  // namespace

void Interpolate(TExtBitmap& bitmap, int newWidth, int newHeight, int method)
{
  const TDirection direction = CheckResize(bitmap, newWidth, newHeight);
  if (direction == TDirection::None)
    return;
  const int width = bitmap.Width(), height = bitmap.Height();
  const TPixelFormat format = bitmap.PixelFormat();
  if (method == kInterpolateDefault)
    method = direction == TDirection::Enlarge ? kInterpolateCubic : kInterpolateSuperSample;

  const TSource source{bitmap.Pixels().data(), width, height, bitmap.BytesPerPixel()};
  TBytes pixels;
  switch (method) {
  case kInterpolateNearest: pixels = Nearest(source, newWidth, newHeight); break;
  case kInterpolateLinear: pixels = Linear(source, newWidth, newHeight); break;
  case kInterpolateCubic: pixels = Cubic(source, newWidth, newHeight); break;
  case kInterpolateSuperSample: pixels = SuperSample(source, newWidth, newHeight); break;
  default: throw EImageError("Error: Interpolate called with an unknown method.");
  }
  bitmap.TakePixels(newWidth, newHeight, format, std::move(pixels));
}

void InterpolatePresent(TExtBitmap& bitmap, int newWidth, int newHeight, std::uint8_t hole)
{
  if (CheckResize(bitmap, newWidth, newHeight) == TDirection::None)
    return;
  if (bitmap.PixelFormat() != TPixelFormat::pf8bit)
    throw EImageError(kPixelFormatMessage);
  const TSource source{bitmap.Pixels().data(), bitmap.Width(), bitmap.Height(), 1};
  bitmap.TakePixels(newWidth, newHeight, TPixelFormat::pf8bit, LinearPresent(source, newWidth, newHeight, hole));
}
