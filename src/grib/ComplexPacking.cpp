// GRIB 2 complex packing (data representation 5.2) and complex packing with
// spatial differencing (5.3): groups of values, each with its own reference
// and bit width, optionally holding first- or second-order differences.
#include "grib/BitReader.h"
#include "grib/Decoder.h"
#include "grib/Limits.h"

namespace {

std::uint64_t AllOnes(int bits) { return bits >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1; }

std::int64_t SignAndMagnitude(std::uint32_t raw, int bits) {
  const std::uint32_t sign = std::uint32_t{1} << (bits - 1);
  const std::int64_t magnitude = raw & (sign - 1);
  return (raw & sign) ? -magnitude : magnitude;
}

// Where each of the three group lists and the packed values start, in bits.
struct TListStarts {
  std::uint64_t references, widths, lengths, values;
};

std::uint64_t AlignedEnd(std::uint64_t start, std::uint64_t count, int bits) {
  return (start + count * static_cast<std::uint64_t>(bits) + 7) & ~std::uint64_t{7};
}

}  // namespace

bool TMessageDecoder::UnpackComplex(TDataStuff& field, TOctets s5, std::span<const std::uint8_t> data) {
  const int templateNumber = static_cast<int>(s5.U16(10));
  const int referenceBits = field.BitsPerValue;
  const int missingManagement = static_cast<int>(s5.U8(23));
  const std::uint64_t groups = s5.U32(32);
  const std::uint32_t widthReference = s5.U8(36);
  const int widthBits = static_cast<int>(s5.U8(37));
  const std::uint64_t lengthReference = s5.U32(38);
  const std::uint64_t lengthIncrement = s5.U8(42);
  const std::uint64_t lastLength = s5.U32(43);
  const int lengthBits = static_cast<int>(s5.U8(47));
  const int order = templateNumber == 3 ? static_cast<int>(s5.U8(48)) : 0;
  const int extraOctets = templateNumber == 3 ? static_cast<int>(s5.U8(49)) : 0;

  if (referenceBits > 32 || widthBits > 32 || lengthBits > 32)
    return Fail("Complex packing with %d/%d/%d-bit group lists is not supported", referenceBits, widthBits,
                lengthBits);
  if (missingManagement > 2)
    return Fail("Unknown missing value management %d", missingManagement);
  if (templateNumber == 3 && (order < 1 || order > 2 || extraOctets < 1 || extraOctets > 4))
    return Fail("Spatial differencing of order %d with %d-octet descriptors is not supported", order, extraOctets);
  if (groups > static_cast<std::uint64_t>(std::max<std::int64_t>(presentPoints_, 1)) || groups > kMaxGroups ||
      (groups == 0 && presentPoints_ > 0))
    return Fail("%llu groups cannot hold %lld values", static_cast<unsigned long long>(groups),
                static_cast<long long>(presentPoints_));

  TBitReader head(data);
  std::int64_t firstValues[2] = {0, 0};
  std::int64_t minimum = 0;
  std::uint32_t raw = 0;
  for (int i = 0; i < order; ++i) {
    if (!head.Read(extraOctets * 8, raw))
      return Fail("The data end inside the spatial differencing descriptors");
    firstValues[i] = SignAndMagnitude(raw, extraOctets * 8);
  }
  if (order > 0) {
    if (!head.Read(extraOctets * 8, raw))
      return Fail("The data end inside the spatial differencing descriptors");
    minimum = SignAndMagnitude(raw, extraOctets * 8);
  }
  TListStarts starts{};
  starts.references = head.BitPos();
  starts.widths = AlignedEnd(starts.references, groups, referenceBits);
  starts.lengths = AlignedEnd(starts.widths, groups, widthBits);
  starts.values = AlignedEnd(starts.lengths, groups, lengthBits);
  if (starts.values > data.size() * std::uint64_t{8})
    return Fail("The data hold %zu bytes, the group lists of %llu groups need %llu", data.size(),
                static_cast<unsigned long long>(groups), static_cast<unsigned long long>(starts.values / 8));

  auto readerAt = [&](std::uint64_t bit) { return TBitReader(data.subspan(static_cast<std::size_t>(bit / 8))); };
  TBitReader references = readerAt(starts.references);
  TBitReader widths = readerAt(starts.widths);
  TBitReader lengths = readerAt(starts.lengths);
  TBitReader values = readerAt(starts.values);

  packed_ = {};
  packed_.unpacked = true;
  packed_.bitsPerValue = referenceBits;
  packed_.values.assign(static_cast<std::size_t>(presentPoints_), 0);
  const std::uint64_t referenceMissing = AllOnes(referenceBits);
  std::uint64_t filled = 0;
  for (std::uint64_t g = 0; g < groups; ++g) {
    const std::uint64_t reference = references.Take(referenceBits);
    const std::uint64_t width = widthReference + widths.Take(widthBits);
    const std::uint64_t length =
        g + 1 == groups ? lastLength : lengthReference + lengths.Take(lengthBits) * lengthIncrement;
    if (width > 32)
      return Fail("Group %llu has a width of %llu bits", static_cast<unsigned long long>(g),
                  static_cast<unsigned long long>(width));
    if (length > static_cast<std::uint64_t>(presentPoints_) - filled)
      return Fail("The groups hold more than the %lld values of the field", static_cast<long long>(presentPoints_));
    if (length * width > values.BitsLeft())
      return Fail("The data end inside group %llu", static_cast<unsigned long long>(g));
    const int bits = static_cast<int>(width);
    const std::uint64_t valueMissing = AllOnes(bits);
    for (std::uint64_t k = 0; k < length; ++k) {
      std::int64_t& out = packed_.values[static_cast<std::size_t>(filled + k)];
      if (bits == 0) {
        const bool missing = (missingManagement >= 1 && reference == referenceMissing) ||
                             (missingManagement == 2 && reference == referenceMissing - 1);
        out = missing ? kMissingValue : static_cast<std::int64_t>(reference);
        continue;
      }
      const std::uint64_t v = values.Take(bits);
      const bool missing = (missingManagement >= 1 && v == valueMissing) ||
                           (missingManagement == 2 && v == valueMissing - 1);
      out = missing ? kMissingValue : static_cast<std::int64_t>(reference + v);
    }
    filled += length;
  }
  if (filled != static_cast<std::uint64_t>(presentPoints_))
    return Fail("The groups hold %llu of the %lld values of the field", static_cast<unsigned long long>(filled),
                static_cast<long long>(presentPoints_));
  return order == 0 || UndoSpatialDifferencing(order, firstValues, minimum);
}

// Differences run over the points that have values; missing points are
// skipped, as the encoder skipped them.
bool TMessageDecoder::UndoSpatialDifferencing(int order, const std::int64_t (&firstValues)[2], std::int64_t minimum) {
  std::int64_t previous = 0, beforePrevious = 0;
  int seen = 0;
  for (std::int64_t& x : packed_.values) {
    if (x == kMissingValue)
      continue;
    std::int64_t value;
    if (seen < order) {
      value = firstValues[seen];
    } else {
      std::int64_t sum;
      bool overflow = __builtin_add_overflow(x, minimum, &sum);
      if (order == 1) {
        overflow |= __builtin_add_overflow(sum, previous, &value);
      } else {
        std::int64_t twice, step;
        overflow |= __builtin_mul_overflow(previous, 2, &twice);
        overflow |= __builtin_sub_overflow(twice, beforePrevious, &step);
        overflow |= __builtin_add_overflow(sum, step, &value);
      }
      if (overflow || value == kMissingValue)
        return Fail("Spatial differencing runs beyond the range of values");
    }
    beforePrevious = previous;
    previous = value;
    x = value;
    ++seen;
  }
  return true;
}

void TMessageDecoder::Edition2IndexTables(TDataStuff& field) {
  static constexpr int kContinuousCodes[] = {1000000000, 1000001000, 1000001001, 1000002000, 1000002002,
                                             1000002003, 1000002008, 1000003000, 1000003001, 1000003005,
                                             1000019025, 310010000,  310010002,  310040007,  310050003};
  const int code = field.ParameterCode();
  bool linear = std::find(std::begin(kContinuousCodes), std::end(kContinuousCodes), code) != std::end(kContinuousCodes);
  if (field.BitsPerValue == 16 &&
      (code == 1000002022 ||
       (code == 300001001 && field.SectionCopy.Centre == 80 && field.SectionCopy.SubCentre == 0)))
    linear = true;
  wideIndex_ = nullptr;
  if (field.SectionCopy.DataTemplate() != 0) {
    // Tables of the satellite products that come complex-packed.
    auto& toIndex = field.IndexOfRaw;
    auto& values = field.IndexValues;
    if (code == 300001006)
      for (int i = 0; i <= 180; ++i) {
        toIndex[i] = static_cast<std::uint8_t>(i * 4 / 3);
        values[i * 4 / 3] = static_cast<float>(i);
      }
    if (code == 300000009)
      for (int i = 0; i <= 3; ++i)
        toIndex[i] = static_cast<std::uint8_t>(i);
    if (code == 300001005)
      for (int i = 0; i <= 85; ++i) {
        toIndex[i] = static_cast<std::uint8_t>(3 * i);
        values[3 * i] = static_cast<float>(i);
      }
    if (code >= 300001007 && code <= 300001010)
      for (int i = 0; i <= 100; ++i)
        toIndex[i] = static_cast<std::uint8_t>(i);
    if (code == 300001004 || code == 300001013)
      linear = true;
  }
  if (linear)
    UseLinearIndex(field);
}
