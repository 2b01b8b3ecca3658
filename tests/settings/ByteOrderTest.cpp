#include "settings/ByteOrder.h"

#include <cstring>
#include <gtest/gtest.h>

static_assert(SwapBytes32(0x12345678u) == 0x78563412u);
static_assert(SwapBytes64(0x0102030405060708ull) == 0x0807060504030201ull);

TEST(ByteOrder, SwapsEveryByteIntoItsMirrorPosition)
{
  EXPECT_EQ(SwapBytes32(0x000000FFu), 0xFF000000u);
  EXPECT_EQ(SwapBytes32(0x0000FF00u), 0x00FF0000u);
  EXPECT_EQ(SwapBytes32(SwapBytes32(0xDEADBEEFu)), 0xDEADBEEFu);
  EXPECT_EQ(SwapBytes64(0x00000000000000FFull), 0xFF00000000000000ull);
  EXPECT_EQ(SwapBytes64(0x00000000FF000000ull), 0x000000FF00000000ull);
  EXPECT_EQ(SwapBytes64(SwapBytes64(0x0123456789ABCDEFull)), 0x0123456789ABCDEFull);
}

TEST(ByteOrder, ReadsBigEndianFloatsIndependentOfHostOrder)
{
  struct Case {
    std::uint8_t bytes[4];
    float expected;
  };
  // Expected values from Python's struct.unpack(">f", ...).
  const Case cases[] = {
      {{0x3F, 0x80, 0x00, 0x00}, 1.0f},
      {{0xC2, 0xED, 0x40, 0x00}, -118.625f},
      {{0x43, 0x88, 0x92, 0x66}, 273.14373779296875f},
      {{0x00, 0x00, 0x00, 0x01}, 1.401298464e-45f}, // smallest subnormal
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BigEndianSingle(std::span<const std::uint8_t, 4>(c.bytes)), c.expected);
    std::byte asBytes[4];
    std::memcpy(asBytes, c.bytes, 4);
    EXPECT_EQ(BigEndianSingle(std::span<const std::byte, 4>(asBytes)), c.expected);
  }
}
