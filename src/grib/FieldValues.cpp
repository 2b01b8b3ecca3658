// Shared by both editions: grid sizing, the value range, the colour-index
// tables and the painting of packed values into the field's picture.
#include <cmath>
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

bool TMessageDecoder::CheckBitmap(TDataStuff& field) {
  const std::int64_t points = std::int64_t{data_.Width} * data_.Height;
  if (field.NoBitmap) {
    presentPoints_ = points;
    return true;
  }
  if (field.Available.Rows() != data_.Height || field.Available.Columns() != data_.Width)
    return Fail("The bit map does not cover the %d x %d grid", data_.Width, data_.Height);
  presentPoints_ = 0;
  for (const std::uint8_t bit : field.Available.Cells())
    presentPoints_ += bit;
  return true;
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
    ForEachValue(field, data_.Width, data_.Height, packed_, [&](int, int, std::int64_t x) {
      if (x == kMissingValue)
        return;
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
  wideIndex_ = [low, span](std::int64_t x) -> std::uint8_t {
    return static_cast<std::uint8_t>(span > 0 ? ClampIndex(Nint((static_cast<double>(x) - low) * 255.0 / span)) : 0);
  };
  FillIndexTable(field);
  LinearIndexValues(field);
}

void TMessageDecoder::LinearIndexValues(TDataStuff& field) {
  const double binary = std::ldexp(1.0, field.BinaryScale);
  const double decimal = std::pow(10.0, field.DecimalScale);
  const double low = static_cast<double>(rawMin_);
  const double span = static_cast<double>(rawMax_) - low;
  for (int i = 0; i < 256; ++i)
    field.IndexValues[i] =
        static_cast<float>(((low + i * span / 255.0) * binary + field.ReferenceValue) / decimal);
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
  const int width = data_.Width, height = data_.Height;
  field.Bitmap.Fill(field.MissingIndex);
  const bool keepRaw = field.KeepRaw && !field.RawValues.Empty();
  if (keepRaw)
    std::fill(field.RawValues.Cells().begin(), field.RawValues.Cells().end(),
              field.ParameterCode() == 300001013 ? 255 : 0);
  std::uint8_t* pixels = field.Bitmap.Pixels().data();
  const bool flipRows = data_.VerticalFlip, flipColumns = data_.HorizontalFlip;
  const auto& table = field.IndexOfRaw;
  ForEachValue(field, width, height, packed_, [&](int r, int c, std::int64_t x) {
    if (x == kMissingValue)
      return;
    const int row = flipRows ? height - 1 - r : r;
    const int column = flipColumns ? width - 1 - c : c;
    std::uint8_t index;
    if (x >= 0 && x <= 65535)
      index = table[static_cast<std::size_t>(x)];
    else if (wideIndex_)
      index = WideIndex(field, x);
    else
      index = table[x < 0 ? 0 : 65535];
    const std::size_t at = static_cast<std::size_t>(row) * width + column;
    pixels[at] = index;
    if (keepRaw)
      field.RawValues.Cells()[at] = static_cast<std::uint16_t>(std::clamp<std::int64_t>(x, 0, 65535));
  });
}

void TMessageDecoder::ColourTable(TDataStuff& field) {
  data_.Current = &field;
  if (data_.OnColourTable)
    data_.OnColourTable(data_, field.Bitmap, field.Continuous, data_.ReferenceTime, field.ParameterOctet());
  else
    BuildColourTable(data_, field);
}
