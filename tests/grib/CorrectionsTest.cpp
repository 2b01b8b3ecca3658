// Places where the decoder deliberately differs from a plain reading of the
// format rules it was first written to, each shown on a file against ecCodes.
#include <gtest/gtest.h>

#include <functional>
#include <algorithm>
#include <cmath>

#include "grib/GribData.h"
#include "grib/GribTestFiles.h"
#include "imaging/ColourTableBuild.h"
#include "support/EcCodesReference.h"

namespace {

struct TDecoded {
  TGribData data{BuildColourTable};
  TReferenceField reference;
  std::vector<std::uint8_t> bytes;
};

std::unique_ptr<TDecoded> Decode(const char* variant) {
  auto decoded = std::make_unique<TDecoded>();
  decoded->data.LowerPriority = false;
  decoded->bytes = FileBytes(VariantsFolder() + QLatin1Char('/') + QString::fromLatin1(variant));
  const auto reference = ReferenceFields(decoded->bytes, false);
  EXPECT_FALSE(reference.empty());
  if (!reference.empty())
    decoded->reference = reference.front();
  EXPECT_TRUE(decoded->data.LoadFromStream(decoded->bytes)) << decoded->data.Log.join('\n').toStdString();
  return decoded;
}

const TDataStuff& First(const TDecoded& d) { return *d.data.Fields.front(); }

std::size_t MissingPixels(const TDataStuff& field) {
  const auto pixels = field.Bitmap.Pixels();
  return static_cast<std::size_t>(std::count(pixels.begin(), pixels.end(), field.MissingIndex));
}

std::size_t MissingPoints(const TReferenceField& ref) {
  return static_cast<std::size_t>(std::count(ref.missing.begin(), ref.missing.end(), 1));
}

// Pixel positions of missing points agree with ecCodes.
bool MissingWhereEcCodesSays(const TDecoded& d) {
  const TDataStuff& field = First(d);
  for (std::size_t k = 0; k < d.reference.missing.size(); ++k) {
    const bool shown = field.Bitmap.ScanLine(d.reference.PictureY(k))[d.reference.PictureX(k)] == field.MissingIndex;
    if (shown != static_cast<bool>(d.reference.missing[k]))
      return false;
  }
  return true;
}

struct TCorrection {
  const char* name;
  const char* variant;
  std::function<void(const TDecoded&)> check;
};

const TCorrection kCorrections[] = {
    {"ComplexPackingMissingValuesAreMissingPoints", "g2_complex_52_missing_primary_secondary.grb2",
     [](const TDecoded& d) {
       EXPECT_GT(MissingPoints(d.reference), 0u);
       EXPECT_EQ(MissingPixels(First(d)), MissingPoints(d.reference));
       EXPECT_TRUE(MissingWhereEcCodesSays(d));
     }},
    {"SpatialDifferencingMissingValuesAreMissingPoints", "g2_complex_53_order2_missing_primary_secondary.grb2",
     [](const TDecoded& d) {
       EXPECT_GT(MissingPoints(d.reference), 0u);
       EXPECT_TRUE(MissingWhereEcCodesSays(d));
     }},
    {"ColourIndexStartsAtTheSmallestPackedValue", "g2_sst_rawmin_above_zero.grb2",
     [](const TDecoded& d) {
       const TDataStuff& field = First(d);
       EXPECT_GT(field.RawMin, 0);
       double low = HUGE_VAL, high = -HUGE_VAL;
       for (std::size_t k = 0; k < d.reference.values.size(); ++k)
         if (!d.reference.missing[k]) {
           low = std::min(low, d.reference.values[k]);
           high = std::max(high, d.reference.values[k]);
         }
       // The scale runs from entry 1 (0 marks missing points) to entry 252
       // (253 to 255 are the overlay colours).
       ASSERT_LT(low, high);
       EXPECT_NEAR(field.IndexValues[1], low, 1e-3);
       EXPECT_NEAR(field.IndexValues[252], high, 1e-3);
       // The whole scale is used: the warmest point gets the top index.
       const auto pixels = field.Bitmap.Pixels();
       EXPECT_EQ(*std::max_element(pixels.begin(), pixels.end()), 252);
     }},
    {"BitMapFollowsValuesOnEastToWestGrids", "g1_ll_scan_80_bitmap.grb",
     [](const TDecoded& d) {
       EXPECT_TRUE(d.data.HorizontalFlip);
       EXPECT_GT(MissingPoints(d.reference), 0u);
       EXPECT_TRUE(MissingWhereEcCodesSays(d));
     }},
    {"BitMapFollowsValuesOnGridsScannedBothWays", "g1_ll_scan_c0_bitmap.grb",
     [](const TDecoded& d) { EXPECT_TRUE(MissingWhereEcCodesSays(d)); }},
};

class Correction : public testing::TestWithParam<TCorrection> {};

}  // namespace

TEST_P(Correction, ShowsOnItsFile) {
  const TCorrection& c = GetParam();
  const auto decoded = Decode(c.variant);
  c.check(*decoded);
}

INSTANTIATE_TEST_SUITE_P(Decoder, Correction, testing::ValuesIn(kCorrections),
                         [](const testing::TestParamInfo<TCorrection>& info) { return std::string(info.param.name); });
