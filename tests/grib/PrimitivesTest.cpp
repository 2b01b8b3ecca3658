// The number formats GRIB is written in, against values worked out by hand
// from the format definitions.
#include <gtest/gtest.h>

#include "grib/BitReader.h"
#include "grib/Octets.h"

TEST(Primitives, IbmFloatDecodesSignExponentAndFraction) {
  struct {
    std::uint32_t raw;
    float value;
  } const cases[] = {
      {0x00000000u, 0.0f},       {0x41100000u, 1.0f},     {0xC1100000u, -1.0f},
      {0x42640000u, 100.0f},     {0xC2630000u, -99.0f},   {0x40800000u, 0.5f},
      {0x4110CCCDu, 1.05f},      {0x44FFFFFFu, 65535.99609375f},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(IbmFloat(c.raw), c.value, 1e-6f * std::max(1.0f, std::fabs(c.value))) << std::hex << c.raw;
}

TEST(Primitives, SignedFieldsAreSignAndMagnitudeNotTwosComplement) {
  const std::uint8_t bytes[] = {0x80, 0x02, 0x00, 0x02, 0x81, 0x3B, 0x10, 0xFF, 0xFF};
  const TOctets octets(bytes);
  EXPECT_EQ(octets.S(1, 2), -2);        // decimal scale factor 0x8002
  EXPECT_EQ(octets.S(3, 2), 2);
  EXPECT_EQ(octets.S(5, 3), -80656);    // a latitude in millidegrees
  EXPECT_EQ(octets.S(8, 2), -32767);
}

TEST(Primitives, ReadsOutsideTheRangeYieldZeroAndHasSaysSo) {
  const std::uint8_t bytes[] = {1, 2, 3};
  const TOctets octets(bytes);
  EXPECT_TRUE(octets.Has(1, 3));
  EXPECT_FALSE(octets.Has(2, 3));
  EXPECT_FALSE(octets.Has(0, 1));
  EXPECT_FALSE(octets.Has(4, static_cast<std::size_t>(-1)));
  EXPECT_EQ(octets.U24(1), 0x010203u);
  EXPECT_EQ(octets.U24(2), 0u);
  EXPECT_TRUE(octets.Sub(3, 2).Bytes().empty());
}

TEST(Primitives, NearestIntegerRoundsHalvesToEven) {
  EXPECT_EQ(Nint(0.5), 0);
  EXPECT_EQ(Nint(1.5), 2);
  EXPECT_EQ(Nint(2.5), 2);
  EXPECT_EQ(Nint(-0.5), 0);
  EXPECT_EQ(Nint(-1.5), -2);
  EXPECT_EQ(ClampIndex(-3), 0);
  EXPECT_EQ(ClampIndex(300), 255);
  EXPECT_EQ(ClampIndex(std::nan("")), 0);
}

TEST(Primitives, BitReaderTakesFieldsAcrossByteBoundariesAndStopsAtTheEnd) {
  const std::uint8_t bytes[] = {0b10110011, 0b01011100, 0xFF, 0x00, 0x12, 0x34, 0x56, 0x78, 0x9A};
  TBitReader reader(bytes);
  EXPECT_EQ(reader.Take(3), 0b101u);
  EXPECT_EQ(reader.Take(7), 0b1001101u);
  EXPECT_EQ(reader.Take(6), 0b011100u);
  EXPECT_EQ(reader.Take(32), 0xFF001234u);
  std::uint32_t value = 0;
  EXPECT_TRUE(reader.Read(24, value));
  EXPECT_EQ(value, 0x56789Au);
  EXPECT_FALSE(reader.Read(1, value));
  EXPECT_EQ(reader.BitsLeft(), 0u);
}
