// Shared by both editions: grid sizing, the value range, the colour-index
// tables and the painting of packed values into the field's picture.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

#include "grib/BitReader.h"
#include "grib/Decoder.h"
#include "grib/Limits.h"

namespace {

// Visits every grid point that has a value, in file order, with the next
// packed value: visit(fileRow, fileColumn, value).
template <class Next, class Visit>
void Walk(const TDataStuff& field, int width, int height, Next&& next, Visit&& visit) {
  const std::uint8_t* present = field.NoBitmap ? nullptr : field.Available.Cells().data();
  for (int r = 0; r < height; ++r) {
    const std::uint8_t* row = present ? present + static_cast<std::size_t>(r) * width : nullptr;
    for (int c = 0; c < width; ++c)
      if (!row || row[c])
        visit(r, c, next());
  }
}

template <class Visit>
void ForEachValue(const TDataStuff& field, int width, int height, const TPackedValues& packed, Visit&& visit) {
  if (packed.unpacked) {
    std::size_t k = 0;
    Walk(field, width, height, [&] { return packed.values[k++]; }, visit);
    return;
  }
  const std::uint8_t* bytes = packed.bits.data();
  switch (packed.bitsPerValue) {
    case 0:
      Walk(field, width, height, [] { return std::int64_t{0}; }, visit);
      break;
    case 8:
      Walk(field, width, height, [&] { return std::int64_t{*bytes++}; }, visit);
      break;
    case 16:
      Walk(field, width, height, [&] {
        const std::int64_t value = (bytes[0] << 8) | bytes[1];
        bytes += 2;
        return value;
      }, visit);
      break;
    default: {
      TBitReader reader(packed.bits);
      const int bits = packed.bitsPerValue;
      Walk(field, width, height, [&] { return std::int64_t{reader.Take(bits)}; }, visit);
      break;
    }
  }
}

// Visits the packed values of the points that have one, in file order.
template <class Visit>
void ForEachPresentValue(const TPackedValues& packed, std::int64_t count, Visit&& visit) {
  const auto n = static_cast<std::size_t>(count);
  if (packed.unpacked) {
    for (const std::int64_t x : packed.values)
      if (x != kMissingValue)
        visit(x);
    return;
  }
  const std::uint8_t* bytes = packed.bits.data();
  switch (packed.bitsPerValue) {
    case 0:
      if (n > 0)
        visit(std::int64_t{0});
      break;
    case 8: {
      if (n == 0)
        break;
      // Four running pairs keep the loop free of one long dependency chain.
      unsigned l0 = 255, l1 = 255, l2 = 255, l3 = 255, h0 = 0, h1 = 0, h2 = 0, h3 = 0;
      std::size_t i = 0;
      for (; i + 4 <= n; i += 4) {
        const unsigned b0 = bytes[i], b1 = bytes[i + 1], b2 = bytes[i + 2], b3 = bytes[i + 3];
        l0 = std::min(l0, b0), h0 = std::max(h0, b0);
        l1 = std::min(l1, b1), h1 = std::max(h1, b1);
        l2 = std::min(l2, b2), h2 = std::max(h2, b2);
        l3 = std::min(l3, b3), h3 = std::max(h3, b3);
      }
      for (; i < n; ++i)
        l0 = std::min<unsigned>(l0, bytes[i]), h0 = std::max<unsigned>(h0, bytes[i]);
      visit(std::int64_t{std::min({l0, l1, l2, l3})});
      visit(std::int64_t{std::max({h0, h1, h2, h3})});
      break;
    }
    case 16: {
      if (n == 0)
        break;
      unsigned l0 = 65535, l1 = 65535, h0 = 0, h1 = 0;
      std::size_t i = 0;
      for (; i + 2 <= n; i += 2) {
        const unsigned v0 = (bytes[2 * i] << 8) | bytes[2 * i + 1];
        const unsigned v1 = (bytes[2 * i + 2] << 8) | bytes[2 * i + 3];
        l0 = std::min(l0, v0), h0 = std::max(h0, v0);
        l1 = std::min(l1, v1), h1 = std::max(h1, v1);
      }
      if (i < n) {
        const unsigned v = (bytes[2 * i] << 8) | bytes[2 * i + 1];
        l0 = std::min(l0, v), h0 = std::max(h0, v);
      }
      visit(std::int64_t{std::min(l0, l1)});
      visit(std::int64_t{std::max(h0, h1)});
      break;
    }
    default: {
      TBitReader reader(packed.bits);
      for (std::size_t i = 0; i < n; ++i)
        visit(std::int64_t{reader.Take(packed.bitsPerValue)});
      break;
    }
  }
}

// Calls use(next) with a function that hands out the packed values one by
// one, in file order, specialised for the common widths.
template <class Use>
void WithValueSource(const TPackedValues& packed, Use&& use) {
  if (packed.unpacked) {
    const std::int64_t* values = packed.values.data();
    use([&] { return *values++; });
    return;
  }
  const std::uint8_t* bytes = packed.bits.data();
  switch (packed.bitsPerValue) {
    case 0:
      use([] { return std::int64_t{0}; });
      break;
    case 8:
      use([&] { return std::int64_t{*bytes++}; });
      break;
    case 16:
      use([&] {
        const std::int64_t value = (bytes[0] << 8) | bytes[1];
        bytes += 2;
        return value;
      });
      break;
    default: {
      TBitReader reader(packed.bits);
      const int bits = packed.bitsPerValue;
      use([&] { return std::int64_t{reader.Take(bits)}; });
      break;
    }
  }
}

struct TPaintTarget {
  TDataStuff& field;
  TScanOrder order;
};

// Writes the colour index of every present point to the pixel the
// scanning mode puts it on; missing points keep the fill.
template <class Next, class IndexOf>
void PaintRows(const TPaintTarget& t, Next&& next, const IndexOf& indexOf) {
  const std::uint8_t* present = t.field.NoBitmap ? nullptr : t.field.Available.Cells().data();
  std::uint8_t* pixels = t.field.Bitmap.Pixels().data();
  const int width = t.order.Width, height = t.order.Height;
  const std::ptrdiff_t step = t.order.FlipColumns ? -1 : 1;
  for (int r = 0; r < height; ++r) {
    const std::size_t rowStart = static_cast<std::size_t>(t.order.FlipRows ? height - 1 - r : r) * width;
    const std::size_t first = rowStart + (t.order.FlipColumns ? width - 1 : 0);
    std::uint8_t* out = pixels + first;
    const std::uint8_t* has = present ? present + static_cast<std::size_t>(r) * width : nullptr;
    for (int c = 0; c < width; ++c, out += step) {
      if (has && !has[c])
        continue;
      const std::int64_t x = next();
      if (x == kMissingValue)
        continue;
      *out = indexOf(x);
    }
  }
}

// The same for the rarer orders: columns stored one after another, or rows
// (columns) that alternate in direction.
template <class Next, class IndexOf>
void PaintInScanOrder(const TPaintTarget& t, Next&& next, const IndexOf& indexOf) {
  const std::uint8_t* present = t.field.NoBitmap ? nullptr : t.field.Available.Cells().data();
  std::uint8_t* pixels = t.field.Bitmap.Pixels().data();
  const std::size_t points = static_cast<std::size_t>(t.order.Width) * static_cast<std::size_t>(t.order.Height);
  for (std::size_t k = 0; k < points; ++k) {
    if (present && !present[k])
      continue;
    const std::int64_t x = next();
    if (x == kMissingValue)
      continue;
    pixels[t.order.PixelOf(k)] = indexOf(x);
  }
}

// Number of 1 cells of a bit map (cells are 0 or 1), eight at a time.
std::int64_t CountOnes(const std::vector<std::uint8_t>& cells) {
  std::int64_t total = 0;
  std::size_t i = 0;
  while (i + 8 <= cells.size()) {
    // Up to 255 words before the byte lanes could overflow.
    std::uint64_t lanes = 0;
    for (int w = 0; w < 255 && i + 8 <= cells.size(); ++w, i += 8) {
      std::uint64_t word;
      std::memcpy(&word, cells.data() + i, 8);
      lanes += word;
    }
    for (int b = 0; b < 8; ++b)
      total += static_cast<std::int64_t>((lanes >> (8 * b)) & 0xFF);
  }
  for (; i < cells.size(); ++i)
    total += cells[i];
  return total;
}

bool HasFixedRange(int code) {
  return code == 300000007 || code == 300000008 || code == 300000009 || code == 300001002 || code == 300001003;
}

std::int32_t ClampToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

bool TMessageDecoder::SizeField(TDataStuff& field) {
  const std::int64_t points = std::int64_t{data_.Width} * data_.Height;
  if (data_.Width <= 0 || data_.Height <= 0 || data_.Width > kMaxGridSide || data_.Height > kMaxGridSide ||
      points > kMaxGridPoints)
    return Fail("A grid of %d x %d points is beyond what can be shown", data_.Width, data_.Height);
  field.SetGridSize(data_.Height, data_.Width);
  return true;
}

void TMessageDecoder::ExpandBitmap(std::span<const std::uint8_t> bits, TDataStuff& field) {
  // One byte of the bit map gives eight cells at once.
  static const auto kCells = [] {
    std::array<std::array<std::uint8_t, 8>, 256> cells{};
    for (int b = 0; b < 256; ++b)
      for (int i = 0; i < 8; ++i)
        cells[b][i] = static_cast<std::uint8_t>((b >> (7 - i)) & 1);
    return cells;
  }();
  const std::size_t points = static_cast<std::size_t>(data_.Width) * static_cast<std::size_t>(data_.Height);
  field.Available.Resize(data_.Height, data_.Width);
  std::uint8_t* out = field.Available.Cells().data();
  const std::size_t whole = points / 8;
  for (std::size_t i = 0; i < whole; ++i)
    std::memcpy(out + i * 8, kCells[bits[i]].data(), 8);
  for (std::size_t i = whole * 8; i < points; ++i)
    out[i] = kCells[bits[i / 8]][i % 8];
}

bool TMessageDecoder::CheckBitmap(TDataStuff& field) {
  const std::int64_t points = std::int64_t{data_.Width} * data_.Height;
  if (field.NoBitmap) {
    presentPoints_ = points;
    return true;
  }
  if (field.Available.Rows() != data_.Height || field.Available.Columns() != data_.Width)
    return Fail("The bit map does not cover the %d x %d grid", data_.Width, data_.Height);
  presentPoints_ = CountOnes(field.Available.Cells());
  return true;
}

// A hostile or damaged data section can carry scale factors (2^1280, say)
// that turn every value into infinity or NaN; nothing sound can be drawn
// from such a field, and the colour tables must never see those numbers.
bool TMessageDecoder::CheckScaleFactors(const TDataStuff& field) {
  const double binary = std::ldexp(1.0, field.BinaryScale);
  const double decimal = std::pow(10.0, field.DecimalScale);
  const int bits = std::min<int>(field.BitsPerValue, 32);
  const double top = std::ldexp(1.0, bits) - 1.0;
  const double lowest = field.ReferenceValue / decimal;
  const double highest = (field.ReferenceValue + top * binary) / decimal;
  const auto fits = [](double v) { return std::isfinite(v) && std::abs(v) <= std::numeric_limits<float>::max(); };
  if (decimal > 0 && fits(lowest) && fits(highest) && fits(binary))
    return true;
  return Fail("Scale factors give values beyond the number range (reference %g, binary scale %d, decimal scale %d)",
              static_cast<double>(field.ReferenceValue), field.BinaryScale, field.DecimalScale);
}

bool TMessageDecoder::PrepareSimple(TDataStuff& field, std::span<const std::uint8_t> bits, int bitsPerValue) {
  if (bitsPerValue > 32)
    return Fail("Unsupported width of %d bits per value", bitsPerValue);
  const auto needed = static_cast<std::uint64_t>(presentPoints_) * static_cast<std::uint64_t>(bitsPerValue);
  if (needed > bits.size() * std::uint64_t{8})
    return Fail("The data hold %zu bits, %lld values of %d bits need %llu", bits.size() * 8,
                static_cast<long long>(presentPoints_), bitsPerValue, static_cast<unsigned long long>(needed));
  packed_ = {};
  packed_.bits = bits;
  packed_.bitsPerValue = bitsPerValue;
  (void)field;
  return true;
}

void TMessageDecoder::ScanRange(TDataStuff& field) {
  const int code = field.ParameterCode();
  if (HasFixedRange(code)) {
    rawMin_ = 0;
    rawMax_ = field.BitsPerValue >= 32 ? 0xFFFFFFFFll : (std::int64_t{1} << field.BitsPerValue) - 1;
  } else {
    std::int64_t low = std::numeric_limits<std::int64_t>::max();
    std::int64_t high = std::numeric_limits<std::int64_t>::min();
    // The present values lie one after the other, whatever the bit map.
    ForEachPresentValue(packed_, presentPoints_, [&](std::int64_t x) {
      low = std::min(low, x);
      high = std::max(high, x);
    });
    if (low > high)
      low = high = 0;
    rawMin_ = low;
    rawMax_ = high;
  }
  field.RawMin = ClampToInt32(rawMin_);
  field.RawMax = ClampToInt32(rawMax_);
}

void TMessageDecoder::LogRange(TDataStuff& field) {
  Logf("  Raw value range: min: %lld  max: %lld", static_cast<long long>(rawMin_), static_cast<long long>(rawMax_));
  const float low = PhysicalValue(field, static_cast<double>(rawMin_));
  const float high = PhysicalValue(field, static_cast<double>(rawMax_));
  if (std::fabs(high) < 0.1f)
    Logf("  Calculated data range: %.5f .. %.5f", low, high);
  else
    Logf("  Calculated data range: %f .. %f", low, high);
  if (field.ParameterCode() == 310010000 || field.Name == QLatin1String("SST")) {
    field.MinValue = low;
    field.MaxValue = high;
  }
}

float TMessageDecoder::PhysicalValue(const TDataStuff& field, double x) const {
  return static_cast<float>((x * std::ldexp(1.0, field.BinaryScale) + field.ReferenceValue) /
                            std::pow(10.0, field.DecimalScale));
}

void TMessageDecoder::FillIndexTable(TDataStuff& field) {
  if (!wideIndex_ || rawMax_ < 0)
    return;
  const std::int64_t last = std::min<std::int64_t>(rawMax_, 65535);
  for (std::int64_t x = 0; x <= last; ++x)
    field.IndexOfRaw[static_cast<std::size_t>(x)] = WideIndex(field, x);
}

// The index that marks missing points is never given to a value: one that
// would land there takes the neighbouring entry.
std::uint8_t TMessageDecoder::WideIndex(const TDataStuff& field, std::int64_t x) const {
  const std::uint8_t index = wideIndex_(x);
  if (index != field.MissingIndex)
    return index;
  return index == 255 ? 254 : static_cast<std::uint8_t>(index + 1);
}

// Continuous products: the colour index runs linearly from the smallest to
// the largest packed value present.
void TMessageDecoder::UseLinearIndex(TDataStuff& field) {
  const double low = static_cast<double>(rawMin_);
  const double span = static_cast<double>(rawMax_) - low;
  const TDataStuff::TScaleSpan entries = field.ScaleSpan();
  wideIndex_ = [low, span, entries](std::int64_t x) -> std::uint8_t {
    return static_cast<std::uint8_t>(span > 0 ? ScaleIndex(entries, (static_cast<double>(x) - low) / span)
                                              : entries.First);
  };
  FillIndexTable(field);
  LinearIndexValues(field);
}

void TMessageDecoder::LinearIndexValues(TDataStuff& field) {
  const double binary = std::ldexp(1.0, field.BinaryScale);
  const double decimal = std::pow(10.0, field.DecimalScale);
  const double low = static_cast<double>(rawMin_);
  const double span = static_cast<double>(rawMax_) - low;
  const TDataStuff::TScaleSpan entries = field.ScaleSpan();
  const double steps = entries.Last - entries.First;
  for (int i = 0; i < 256; ++i)
    field.IndexValues[i] =
        static_cast<float>(((low + (i - entries.First) * span / steps) * binary + field.ReferenceValue) / decimal);
}

// Values that complex packing marks missing become holes in the bit map,
// so that every later reader sees one description of the missing points.
void TMessageDecoder::MarkMissingValues(TDataStuff& field) {
  if (!packed_.unpacked ||
      std::find(packed_.values.begin(), packed_.values.end(), kMissingValue) == packed_.values.end())
    return;
  if (field.NoBitmap) {
    field.Available.Resize(data_.Height, data_.Width, 1);
    field.NoBitmap = false;
  }
  std::uint8_t* present = field.Available.Cells().data();
  const int width = data_.Width;
  ForEachValue(field, width, data_.Height, packed_, [&](int r, int c, std::int64_t x) {
    if (x == kMissingValue)
      present[static_cast<std::size_t>(r) * width + c] = 0;
  });
}

void TMessageDecoder::Paint(TDataStuff& field) {
  field.Bitmap.Fill(field.MissingIndex);
  const auto& table = field.IndexOfRaw;
  const auto indexOf = [&](std::int64_t x) -> std::uint8_t {
    if (x >= 0 && x <= 65535)
      return table[static_cast<std::size_t>(x)];
    if (wideIndex_)
      return WideIndex(field, x);
    return table[x < 0 ? 0 : 65535];
  };
  const TPaintTarget target{field, data_.ScanOrder()};
  if (target.order.RowsInOrder())
    WithValueSource(packed_, [&](auto&& next) { PaintRows(target, next, indexOf); });
  else
    WithValueSource(packed_, [&](auto&& next) { PaintInScanOrder(target, next, indexOf); });
}

