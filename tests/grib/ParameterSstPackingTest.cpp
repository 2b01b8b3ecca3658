// Sea-surface temperature keeps its hue palette and continuous value
// tables whatever the packing: complex packing with or without spatial
// differencing must give the picture simple packing gives, never a grey
// one. Values are checked against ecCodes; one file is packed by ecCodes.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "grib/GribData.h"
#include "grib/GribTestFiles.h"
#include "imaging/ColourTable.h"
#include "imaging/ColourTableBuild.h"
#include "imaging/ValueReadout.h"
#include "support/EcCodesReference.h"

namespace {

std::unique_ptr<TGribData> Decode(std::span<const std::uint8_t> bytes)
{
  auto data = std::make_unique<TGribData>(BuildColourTable);
  data->LowerPriority = false;
  EXPECT_TRUE(data->LoadFromStream(bytes)) << data->Log.join('\n').toStdString();
  return data;
}

const std::array<TRgb, 256>& SstPalette()
{
  static const TColourTable table = [] {
    TColourTableSource source;
    source.ParameterCode = 310010000;
    return MakeColourTable(source);
  }();
  return table.Palette;
}

// Every point of the decoded picture against ecCodes: missing points carry
// the missing entry, values sit within half a colour step of their index.
void ExpectSstPicture(const TGribData& data, const TReferenceField& reference, const std::string& what)
{
  const TDataStuff& field = *data.Current;
  ASSERT_EQ(field.ParameterCode(), 310010000) << what;
  EXPECT_TRUE(field.Continuous) << what;
  EXPECT_EQ(field.Bitmap.PaletteSize(), 256) << what;
  EXPECT_EQ(field.Bitmap.Palette(), SstPalette()) << what;
  // Values spread over entries 1..252: 0 marks missing points, 253..255
  // hold the overlay colours.
  const TDataStuff::TScaleSpan entries = field.ScaleSpan();
  EXPECT_EQ(entries.First, 1) << what;
  EXPECT_EQ(entries.Last, 252) << what;
  const double step = (static_cast<double>(field.MaxValue) - field.MinValue) / (entries.Last - entries.First);
  ASSERT_GT(step, 0.0) << what;
  int failures = 0;
  for (std::size_t k = 0; k < reference.values.size() && failures < 5; ++k) {
    const int index = field.Bitmap.ScanLine(reference.PictureY(k))[reference.PictureX(k)];
    if (reference.missing[k]) {
      failures += index != field.MissingIndex;
      EXPECT_EQ(index, field.MissingIndex) << what << " point " << k;
      EXPECT_EQ(ClassNameAt(field, index).toStdString(), "No data") << what;
      continue;
    }
    const double allowed = 0.5 * step + 1e-3;
    const bool near = std::abs(field.IndexValues[index] - reference.values[k]) <= allowed;
    failures += !near || index == field.MissingIndex || index > entries.Last;
    EXPECT_LE(index, entries.Last) << what << " point " << k;
    EXPECT_TRUE(near) << what << " point " << k << ": " << field.IndexValues[index] << " for "
                      << reference.values[k];
    EXPECT_NE(index, field.MissingIndex) << what << " point " << k;
  }
}

TEST(ParameterSstPacking, ComplexPackedSstVariantsGetTheSstPaletteAndContinuousTables)
{
  const QString folder = VariantsFolder();
  ASSERT_FALSE(folder.isEmpty());
  const char* const files[] = {
      "g2_complex_52.grb2",           "g2_complex_52_bitmap.grb2",        "g2_complex_53_order1.grb2",
      "g2_complex_53_order1_bitmap.grb2", "g2_complex_53_order2_bitmap.grb2", "g2_complex_52_eccodes.grb2",
  };
  for (const char* name : files) {
    const std::vector<std::uint8_t> bytes = FileBytes(folder + "/" + name);
    ASSERT_FALSE(bytes.empty()) << name;
    const std::vector<TReferenceField> reference = ReferenceFields(bytes, false);
    ASSERT_EQ(reference.size(), 1u) << name;
    const auto data = Decode(bytes);
    ExpectSstPicture(*data, reference[0], name);
  }
  // The same values and bit map packed by 5.2 and by 5.3 give one picture.
  const auto plain = Decode(FileBytes(folder + "/g2_complex_52_bitmap.grb2"));
  const auto differenced = Decode(FileBytes(folder + "/g2_complex_53_order2_bitmap.grb2"));
  EXPECT_EQ(plain->Bitmap().Pixels().size(), differenced->Bitmap().Pixels().size());
  EXPECT_TRUE(std::equal(plain->Bitmap().Pixels().begin(), plain->Bitmap().Pixels().end(),
                         differenced->Bitmap().Pixels().begin(), differenced->Bitmap().Pixels().end()));
}

}  // namespace
