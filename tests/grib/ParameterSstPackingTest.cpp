// Sea-surface temperature keeps its hue palette and continuous value
// tables whatever the packing: complex packing with or without spatial
// differencing must give the picture simple packing gives, never a grey
// one. Values are checked against ecCodes.
#include <eccodes.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "grib/EcCodesReference.h"
#include "grib/GribData.h"
#include "grib/GribTestFiles.h"
#include "imaging/ColourTable.h"
#include "imaging/ValueReadout.h"

namespace {

std::unique_ptr<TGribData> Decode(std::span<const std::uint8_t> bytes)
{
  auto data = std::make_unique<TGribData>();
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
  const double step = (static_cast<double>(field.MaxValue) - field.MinValue) / 255.0;
  ASSERT_GT(step, 0.0) << what;
  int failures = 0;
  for (std::size_t k = 0; k < reference.values.size() && failures < 5; ++k) {
    const int index = field.Bitmap.ScanLine(reference.PictureY(k))[reference.PictureX(k)];
    if (reference.missing[k]) {
      failures += index != field.MissingIndex;
      EXPECT_EQ(index, field.MissingIndex) << what << " point " << k;
      continue;
    }
    // The coldest values move up one entry, off the missing-point entry.
    const double allowed = (index == field.MissingIndex + 1 ? 1.0 : 0.5) * step + 1e-3;
    const bool near = std::abs(field.IndexValues[index] - reference.values[k]) <= allowed;
    failures += !near || index == field.MissingIndex;
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

struct THandleDeleter {
  void operator()(codes_handle* h) const { codes_handle_delete(h); }
};

constexpr long kWidth = 24;
constexpr long kHeight = 16;
constexpr double kMissing = 9999.0;

// SST from -1.8 to 30 degrees Celsius with a block of land left out.
std::vector<double> SstValues()
{
  std::vector<double> values(static_cast<std::size_t>(kWidth * kHeight));
  for (long k = 0; k < kWidth * kHeight; ++k) {
    const long r = k / kWidth, c = k % kWidth;
    const bool land = r >= 4 && r < 8 && c >= 10 && c < 15;
    values[static_cast<std::size_t>(k)] = land ? kMissing : 271.35 + 31.8 * k / double(kWidth * kHeight - 1);
  }
  return values;
}

// The same SST message from ecCodes' own sample, simply or complex packed.
std::vector<std::uint8_t> EcCodesSst(const char* packingType)
{
  std::unique_ptr<codes_handle, THandleDeleter> h(codes_grib_handle_new_from_samples(nullptr, "GRIB2"));
  if (!h)
    return {};
  const std::pair<const char*, long> keys[] = {
      {"discipline", 10}, {"parameterCategory", 3}, {"parameterNumber", 0}, {"Ni", kWidth},
      {"Nj", kHeight},    {"bitmapPresent", 1},     {"bitsPerValue", 12},
  };
  for (const auto& [key, value] : keys)
    codes_set_long(h.get(), key, value);
  const std::pair<const char*, double> geometry[] = {
      {"latitudeOfFirstGridPointInDegrees", 60.0}, {"longitudeOfFirstGridPointInDegrees", 0.0},
      {"latitudeOfLastGridPointInDegrees", 45.0},  {"longitudeOfLastGridPointInDegrees", 23.0},
      {"iDirectionIncrementInDegrees", 1.0},       {"jDirectionIncrementInDegrees", 1.0},
      {"missingValue", kMissing},
  };
  for (const auto& [key, value] : geometry)
    codes_set_double(h.get(), key, value);
  const std::vector<double> values = SstValues();
  codes_set_double_array(h.get(), "values", values.data(), values.size());
  std::size_t length = std::string(packingType).size();
  if (codes_set_string(h.get(), "packingType", packingType, &length) != 0)
    return {};
  const void* message = nullptr;
  std::size_t size = 0;
  if (codes_get_message(h.get(), &message, &size) != 0)
    return {};
  const auto* bytes = static_cast<const std::uint8_t*>(message);
  return {bytes, bytes + size};
}

TEST(ParameterSstPacking, EcCodesComplexPackingLooksLikeItsSimplePacking)
{
  const std::vector<std::uint8_t> simpleBytes = EcCodesSst("grid_simple");
  const std::vector<std::uint8_t> complexBytes = EcCodesSst("grid_complex");
  ASSERT_FALSE(simpleBytes.empty());
  ASSERT_FALSE(complexBytes.empty());
  const auto simple = Decode(simpleBytes);
  const auto complex = Decode(complexBytes);
  ExpectSstPicture(*simple, ReferenceFields(simpleBytes, false).at(0), "simple");
  ExpectSstPicture(*complex, ReferenceFields(complexBytes, false).at(0), "complex");
  const TDataStuff& a = *simple->Current;
  const TDataStuff& b = *complex->Current;
  EXPECT_EQ(a.MissingIndex, b.MissingIndex);
  int differing = 0;
  for (std::size_t i = 0; i < a.Bitmap.Pixels().size(); ++i) {
    const int pa = a.Bitmap.Pixels()[i], pb = b.Bitmap.Pixels()[i];
    EXPECT_LE(std::abs(pa - pb), 1) << "pixel " << i;
    differing += pa != pb;
    if (pa == a.MissingIndex) {
      EXPECT_EQ(ClassNameAt(b, pb).toStdString(), "No data");
    }
  }
  EXPECT_LE(differing, static_cast<int>(a.Bitmap.Pixels().size()) / 10);
}

}  // namespace
