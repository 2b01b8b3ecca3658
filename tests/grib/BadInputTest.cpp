// Broken and hostile input never crashes the decoder or the file reader:
// each ends in a logged reason and false, under the sanitizer build too.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <random>

#include "grib/FileReading.h"
#include "grib/GribData.h"
#include "grib/GribTestFiles.h"
#include "imaging/ColourTableBuild.h"

namespace {

std::vector<std::uint8_t> MessageOf(const QString& variant) {
  const QString folder = VariantsFolder();
  return folder.isEmpty() ? std::vector<std::uint8_t>{} : FileBytes(folder + QLatin1Char('/') + variant);
}

// Small messages of every section layout the decoder reads.
const char* const kSmallMessages[] = {
    "g1_ps_simple_12bit_bitmap.grb", "g1_ll_scan_80_bitmap.grb",  "g1_edge_extended_gds.grb",
    "g2_complex_53_order2_bitmap.grb2", "g2_complex_52_missing_primary_secondary.grb2",
    "g2_two_products_bitmap_reuse.grb2", "g2_ps_south_scan_00.grb2",
};

// Writes a big-endian total length into the indicator section.
void SetTotalLength(std::vector<std::uint8_t>& message, std::size_t length) {
  if (message.size() < 16)
    return;
  if (message[7] == 1) {
    for (int i = 0; i < 3; ++i)
      message[4 + i] = static_cast<std::uint8_t>(length >> (8 * (2 - i)));
  } else {
    for (int i = 0; i < 8; ++i)
      message[8 + i] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(length) >> (8 * (7 - i)));
  }
}

}  // namespace

TEST(BadInput, EveryPrefixOfAMessageFailsWithAReason) {
  for (const char* name : kSmallMessages) {
    SCOPED_TRACE(name);
    const std::vector<std::uint8_t> message = MessageOf(QString::fromLatin1(name));
    ASSERT_FALSE(message.empty());
    for (std::size_t size = 0; size < message.size(); ++size) {
      // As cut, and with the cut length written into the indicator section,
      // so that the section readers meet the short data themselves.
      std::vector<std::uint8_t> prefix(message.begin(), message.begin() + static_cast<std::ptrdiff_t>(size));
      for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1)
          SetTotalLength(prefix, prefix.size());
        TGribData data(BuildColourTable);
        data.LowerPriority = false;
        EXPECT_FALSE(data.LoadFromStream(prefix)) << "prefix of " << size << " bytes, pass " << pass;
        EXPECT_FALSE(data.Log.isEmpty()) << "prefix of " << size << " bytes";
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
    const std::vector<std::uint8_t> message = MessageOf(QString::fromLatin1(name));
    ASSERT_FALSE(message.empty());
    std::uniform_int_distribution<std::size_t> where(0, message.size() - 1);
    std::uniform_int_distribution<int> byte(0, 255), count(1, 4);
    for (int round = 0; round < 400; ++round) {
      std::vector<std::uint8_t> damaged = message;
      for (int n = count(random); n > 0; --n)
        damaged[where(random)] = static_cast<std::uint8_t>(byte(random));
      TGribData data(BuildColourTable);
      data.LowerPriority = false;
      if (!data.LoadFromStream(damaged))
        EXPECT_FALSE(data.Log.isEmpty());
      else
        EXPECT_LE(data.MessageLength(), damaged.size());
    }
  }
}

TEST(BadInput, StreamWithoutSignatureKeepsOnlyTheInitialField) {
  TGribData data(BuildColourTable);
  data.LowerPriority = false;
  const std::vector<std::uint8_t> bytes = {'G', 'R', 'I', 'D', 0, 0, 0, 1, 0, 0};
  EXPECT_FALSE(data.LoadFromStream(bytes));
  EXPECT_EQ(data.Fields.size(), 1u);
  EXPECT_EQ(data.Log.last(), QStringLiteral("No GRIB message at the start of the data"));
}
