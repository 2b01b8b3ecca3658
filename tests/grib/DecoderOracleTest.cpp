// Every grid point of every test file, decoded by Norvant and by ecCodes:
// the same value (class products) or within half a colour step
// (continuous products) and the same missing points, each at the pixel the
// picture order implies; and every grid placed where its file says (see
// Placement.h).
#include <gtest/gtest.h>

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <memory>

#include "grib/GribData.h"
#include "grib/GribTestFiles.h"
#include "grib/Placement.h"
#include "imaging/ColourTableBuild.h"
#include "support/EcCodesReference.h"

namespace {

// The fields of every message, each with its message as Owner.
std::vector<std::unique_ptr<TGribData>> DecodeAll(std::span<const std::uint8_t> bytes, const QString& name,
                                                  std::vector<const TDataStuff*>& fields) {
  std::vector<std::unique_ptr<TGribData>> messages;
  std::size_t offset = 0;
  while (offset + 8 <= bytes.size()) {
    auto data = std::make_unique<TGribData>(BuildColourTable);
    data->FileName = name;
    const bool ok = data->LoadFromStream(bytes.subspan(offset));
    EXPECT_TRUE(ok) << "message at " << offset << ": " << data->Log.join('\n').toStdString();
    if (!ok || data->MessageLength() == 0)
      break;
    offset += data->MessageLength();
    for (const auto& field : data->Fields)
      fields.push_back(field.get());
    messages.push_back(std::move(data));
  }
  return messages;
}

struct TValueCheck {
  bool fixedScale = false;
  double low = HUGE_VAL, high = -HUGE_VAL, step = 0;
};

TValueCheck ValueCheckFor(const TDataStuff& field, const TReferenceField& ref) {
  TValueCheck check;
  check.fixedScale = field.ParameterOctet() == 11 && field.Name != QLatin1String("SST") &&
                     field.Owner && field.Owner->Edition == 1;
  if (check.fixedScale) {
    check.low = field.MinValue;
    check.high = field.MaxValue;
  } else {
    for (std::size_t k = 0; k < ref.values.size(); ++k)
      if (!ref.missing[k]) {
        check.low = std::min(check.low, ref.values[k]);
        check.high = std::max(check.high, ref.values[k]);
      }
  }
  check.step = (check.high - check.low) / 255.0;
  return check;
}

// Class code a value stands for: the nearest whole number, land (-99) as
// 101; a code on the index that marks missing points is shown one entry over.
int ClassIndex(double value, int missingIndex) {
  int code = static_cast<int>(std::nearbyint(value));
  code = code == -99 ? 101 : code;
  return code != missingIndex ? code : code == 255 ? 254 : code + 1;
}

// Empty when the picture index shows the reference value.
std::string Mismatch(const TDataStuff& field, const TValueCheck& check, int index, bool missing, double expected) {
  const bool shownMissing = index == field.MissingIndex;
  if (missing || shownMissing)
    return missing == shownMissing ? "" : missing ? "ecCodes: missing" : "ecCodes has a value";
  if (!field.Continuous)
    return index == ClassIndex(expected, field.MissingIndex) ? "" : "ecCodes " + std::to_string(expected);
  const double target = check.fixedScale ? std::clamp(expected, check.low, check.high) : expected;
  // A value whose own index marks missing points is shown one entry over.
  const double nearest = check.step > 0 ? std::clamp(std::nearbyint((target - check.low) / check.step), 0.0, 255.0) : 0;
  const bool shifted = static_cast<int>(nearest) == field.MissingIndex;
  const double tolerance = check.step * (shifted ? 1.5 : 0.5) + 1e-4 * std::max(1.0, std::fabs(target));
  if (std::fabs(field.IndexValues[index] - target) <= tolerance)
    return "";
  return "shown " + std::to_string(field.IndexValues[index]) + ", ecCodes " + std::to_string(expected);
}

void CompareField(const TDataStuff& field, const TReferenceField& ref) {
  const TExtBitmap& picture = field.Bitmap;
  ASSERT_EQ(picture.Width(), ref.width);
  ASSERT_EQ(picture.Height(), ref.height);
  ASSERT_EQ(ref.values.size(), static_cast<std::size_t>(ref.width * ref.height));
  const TValueCheck check = ValueCheckFor(field, ref);
  int failures = 0;
  for (std::size_t k = 0; k < ref.values.size() && failures < 5; ++k) {
    const int x = ref.PictureX(k), y = ref.PictureY(k);
    const int index = picture.ScanLine(y)[x];
    const std::string mismatch = Mismatch(field, check, index, ref.missing[k], ref.values[k]);
    if (!mismatch.empty()) {
      ++failures;
      ADD_FAILURE() << "point " << k << " at (" << x << ", " << y << "), index " << index << ": " << mismatch;
    }
  }
}

// Placement is checked once a message; not where ecCodes' own positions
// are known to be wrong with no PROJ reference to stand in.
void CompareFile(const QString& path, bool checkPlacement = true) {
  const std::string name = QFileInfo(path).fileName().toStdString();
  SCOPED_TRACE(name);
  const std::vector<std::uint8_t> bytes = FileBytes(path);
  const std::vector<TReferenceField> reference = ReferenceFields(bytes, checkPlacement);
  std::vector<const TDataStuff*> fields;
  const auto messages = DecodeAll(bytes, QFileInfo(path).fileName(), fields);
  ASSERT_EQ(fields.size(), reference.size());
  for (std::size_t i = 0; i < reference.size(); ++i) {
    SCOPED_TRACE("field " + std::to_string(i) + " (" + reference[i].gridType + ")");
    const TDataStuff& field = *fields[i];
    CompareField(field, reference[i]);
    if (checkPlacement && (i == 0 || field.Owner != fields[i - 1]->Owner)) {
      ASSERT_TRUE(field.Owner && field.Owner->Mapping);
      CheckPlacement(*field.Owner->Mapping, reference[i]);
      // The display copy keeps the projection.
      CheckPlacement(*field.Owner->Mapping->Clone(), reference[i]);
    }
  }
}

void CompareFolder(const QString& folder) {
  ASSERT_FALSE(folder.isEmpty());
  const QStringList files = FilesBelow(folder, kGribNames);
  ASSERT_FALSE(files.isEmpty());
  for (const QString& path : files)
    CompareFile(path);
}

}  // namespace

TEST(DecoderOracle, SampleTreeMatchesEcCodesPointByPoint) { CompareFolder(SampleTreeFolder()); }

TEST(DecoderOracle, VariantsMatchEcCodesPointByPoint) { CompareFolder(VariantsFolder()); }

TEST(DecoderOracle, EveryGridKindMatchesEcCodesPointByPoint) { CompareFolder(GeometryGridsFolder()); }

// Files as other producers write them: a bulletin header before the message,
// an extended grid section too short for its extension, points stored
// column by column (where ecCodes' geo-iterator steps along rows), packed
// data that happen to hold "7777" and "GRIB".
TEST(DecoderOracle, OtherProducersQuirksMatchEcCodesPointByPoint) {
  const std::pair<const char*, bool> files[] = {{"g1-bulletin-header.grb", true}, {"g1-extended-gds-42.grb", true},
                                                {"g1-scanning-columns.grb", false}, {"g1-data-hold-markers.grb", true}};
  for (const auto& [name, checkPlacement] : files)
    CompareFile(QStringLiteral(NORVANT_SOURCE_DIR "/tests/data/bad/") + QLatin1String(name), checkPlacement);
}

// Places where the decoder deliberately differs from a plain reading of the
// format rules it was first written to, each on its own file.
namespace {

struct TCorrection {
  const char* name;
  const char* file;
};

void PrintTo(const TCorrection& c, std::ostream* out) { *out << c.file; }

const TCorrection kCorrections[] = {
  {"ComplexPackingMissingValuesAreMissingPoints", "g2_complex_52_missing_primary_secondary.grb2"},
  {"SpatialDifferencingMissingValuesAreMissingPoints", "g2_complex_53_order2_missing_primary_secondary.grb2"},
  {"BitMapFollowsValuesOnEastToWestGrids", "g1_ll_scan_80_bitmap.grb"},
  {"BitMapFollowsValuesOnGridsScannedBothWays", "g1_ll_scan_c0_bitmap.grb"},
};

class Correction : public testing::TestWithParam<TCorrection> {};

}  // namespace

TEST_P(Correction, ShowsOnItsFile) { CompareFile(VariantsFolder() + QLatin1Char('/') + GetParam().file); }

INSTANTIATE_TEST_SUITE_P(Decoder, Correction, testing::ValuesIn(kCorrections),
                         [](const auto& info) { return std::string(info.param.name); });
