// Sea-surface temperature keeps its hue palette and continuous value
// tables whatever the packing: complex packing with or without spatial
// differencing must give the picture simple packing gives, never a grey
// one. Values and missing points are compared with ecCodes by the decoder
// oracle; one of these files is packed by ecCodes itself, and in one the smallest
// packed value is well above zero.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "grib/GribData.h"
#include "grib/GribTestFiles.h"
#include "imaging/ColourTable.h"
#include "imaging/ColourTableBuild.h"

TEST(ParameterSstPacking, ComplexPackedSstVariantsGetTheSstPaletteAndContinuousTables) {
  TColourTableSource source;
  source.ParameterCode = 310010000;
  const TColourTable sst = MakeColourTable(source);
  for (const char* name : {"g2_complex_52.grb2", "g2_complex_52_bitmap.grb2", "g2_complex_53_order1.grb2",
                           "g2_complex_53_order1_bitmap.grb2", "g2_complex_53_order2_bitmap.grb2",
                           "g2_complex_52_eccodes.grb2", "g2_sst_rawmin_above_zero.grb2"}) {
    SCOPED_TRACE(name);
    TGribData data(BuildColourTable);
    ASSERT_TRUE(data.LoadFromStream(FileBytes(VariantsFolder() + "/" + name)));
    const TDataStuff& field = *data.Current;
    ASSERT_EQ(field.ParameterCode(), 310010000);
    EXPECT_TRUE(field.Continuous);
    EXPECT_EQ(field.Bitmap.Palette(), sst.Palette);
    // Values spread over all of entries 1..252, from the smallest packed
    // value up: 0 marks missing points, 253..255 hold the overlay colours.
    std::vector<std::uint8_t> shown;
    std::ranges::copy_if(field.Bitmap.Pixels(), std::back_inserter(shown),
                         [&](int i) { return i != field.MissingIndex; });
    EXPECT_EQ(std::ranges::min(shown), 1);
    EXPECT_EQ(std::ranges::max(shown), 252);
  }
}
