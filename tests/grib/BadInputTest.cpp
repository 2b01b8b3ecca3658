// Broken and hostile input never crashes the decoder: each ends in a logged
// reason and false, under the sanitizer build too.
#include <gtest/gtest.h>

#include <random>

#include "grib/GribData.h"
#include "grib/GribTestFiles.h"
#include "imaging/ColourTableBuild.h"

namespace {

// Small messages of every section layout the decoder reads.
const char* const kSmallMessages[] = {
    "g1_ps_simple_12bit_bitmap.grb", "g1_ll_scan_80_bitmap.grb",  "g1_edge_extended_gds.grb",
    "g2_complex_53_order2_bitmap.grb2", "g2_complex_52_missing_primary_secondary.grb2",
    "g2_two_products_bitmap_reuse.grb2", "g2_ps_south_scan_00.grb2",
};

// Writes a big-endian total length into the indicator section.
void SetTotalLength(std::vector<std::uint8_t>& message, std::size_t length) {
  const bool edition1 = message[7] == 1;
  const int first = edition1 ? 4 : 8, octets = edition1 ? 3 : 8;
  for (int i = 0; i < octets; ++i)
    message[static_cast<std::size_t>(first + i)] =
      static_cast<std::uint8_t>(std::uint64_t{length} >> (8 * (octets - 1 - i)));
}

// True when refused with a reason, or decoded within the bytes given.
bool EndsWell(const std::vector<std::uint8_t>& bytes, bool mayDecode) {
  TGribData data(BuildColourTable);
  if (data.LoadFromStream(bytes))
    return mayDecode && data.MessageLength() <= bytes.size();
  return !data.Log.isEmpty();
}

}  // namespace

// As cut, and with the cut length written into the indicator section, so
// that the section readers meet the short data themselves.
TEST(BadInput, EveryPrefixOfAMessageFailsWithAReason) {
  for (const char* name : kSmallMessages) {
    SCOPED_TRACE(name);
    const std::vector<std::uint8_t> message = FileBytes(VariantsFolder() + QLatin1Char('/') + name);
    ASSERT_FALSE(message.empty());
    for (std::size_t size = 0; size < message.size(); ++size) {
      std::vector<std::uint8_t> prefix(message.begin(), message.begin() + static_cast<std::ptrdiff_t>(size));
      EXPECT_TRUE(EndsWell(prefix, false)) << "prefix of " << size << " bytes";
      if (size >= 16) {
        SetTotalLength(prefix, size);
        EXPECT_TRUE(EndsWell(prefix, false)) << "prefix of " << size << " bytes, length set";
      }
    }
  }
}

// Random byte changes: the result may be either, but nothing may crash,
// read outside the message or allocate without bound.
TEST(BadInput, RandomlyDamagedMessagesNeverCrash) {
  std::mt19937 random(20261206);
  for (const char* name : kSmallMessages) {
    SCOPED_TRACE(name);
    const std::vector<std::uint8_t> message = FileBytes(VariantsFolder() + QLatin1Char('/') + name);
    ASSERT_FALSE(message.empty());
    std::uniform_int_distribution<std::size_t> where(0, message.size() - 1);
    std::uniform_int_distribution<int> byte(0, 255), count(1, 4);
    for (int round = 0; round < 400; ++round) {
      std::vector<std::uint8_t> damaged = message;
      for (int n = count(random); n > 0; --n)
        damaged[where(random)] = static_cast<std::uint8_t>(byte(random));
      EXPECT_TRUE(EndsWell(damaged, true)) << "round " << round;
    }
  }
}
