// Every grid point of every test file, decoded by Norvant and by ecCodes:
// the same value (class products) or within half a colour step
// (continuous products) and the same missing points, each at the pixel the
// picture order implies. Where the mapping places the points is checked
// against ecCodes and PROJ by the geometry oracle.
#include <gtest/gtest.h>

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <memory>

#include "grib/GribData.h"
#include "grib/GribTestFiles.h"
#include "imaging/ColourTableBuild.h"
#include "support/EcCodesReference.h"

namespace {

struct TDecodedFile {
  std::vector<std::unique_ptr<TGribData>> messages;
  std::vector<const TDataStuff*> fields;
};

TDecodedFile DecodeAll(std::span<const std::uint8_t> bytes, const QString& name) {
  TDecodedFile decoded;
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
      decoded.fields.push_back(field.get());
    decoded.messages.push_back(std::move(data));
  }
  return decoded;
}

// Colour index a continuous value is closest to, for the tolerance near
// the index that marks missing points.
int NearestIndex(double value, double low, double step) {
  return step > 0 ? std::clamp(static_cast<int>(std::nearbyint((value - low) / step)), 0, 255) : 0;
}

struct TValueCheck {
  bool continuous = false;
  bool fixedScale = false;
  double low = 0, high = 0, step = 0;
};

TValueCheck ValueCheckFor(const TDataStuff& field, const TReferenceField& ref) {
  TValueCheck check;
  check.continuous = field.Continuous;
  check.fixedScale = field.ParameterOctet() == 11 && field.Name != QLatin1String("SST") &&
                     field.Owner && field.Owner->Edition == 1;
  if (check.fixedScale) {
    check.low = field.MinValue;
    check.high = field.MaxValue;
  } else {
    check.low = HUGE_VAL;
    check.high = -HUGE_VAL;
    for (std::size_t k = 0; k < ref.values.size(); ++k)
      if (!ref.missing[k]) {
        check.low = std::min(check.low, ref.values[k]);
        check.high = std::max(check.high, ref.values[k]);
      }
  }
  check.step = (check.high - check.low) / 255.0;
  return check;
}

// Class code a value stands for: the nearest whole number, land (-99) as 101.
int ClassCode(double value) {
  const int code = static_cast<int>(std::nearbyint(value));
  return code == -99 ? 101 : code;
}

void CompareField(const TDataStuff& field, const TReferenceField& ref, const std::string& label) {
  SCOPED_TRACE(label);
  const TExtBitmap& picture = field.Bitmap;
  ASSERT_EQ(picture.Width(), ref.width);
  ASSERT_EQ(picture.Height(), ref.height);
  ASSERT_EQ(ref.values.size(), static_cast<std::size_t>(ref.width * ref.height));
  const TValueCheck check = ValueCheckFor(field, ref);
  int failures = 0;
  for (std::size_t k = 0; k < ref.values.size() && failures < 5; ++k) {
    const int x = ref.PictureX(k), y = ref.PictureY(k);
    const int index = picture.ScanLine(y)[x];
    const bool shownMissing = index == field.MissingIndex;
    if (ref.missing[k] || shownMissing) {
      if (ref.missing[k] != shownMissing) {
        ++failures;
        ADD_FAILURE() << "point " << k << " at (" << x << ", " << y << "): ecCodes "
                      << (ref.missing[k] ? "missing" : "has a value") << ", picture index " << index;
      }
      continue;
    }
    const double expected = ref.values[k];
    if (!check.continuous) {
      // A code on the index that marks missing points is shown one entry over.
      int code = ClassCode(expected);
      if (code == field.MissingIndex)
        code = code == 255 ? 254 : code + 1;
      if (index != code) {
        ++failures;
        ADD_FAILURE() << "point " << k << " at (" << x << ", " << y << "): class " << index << ", ecCodes "
                      << expected;
      }
      continue;
    }
    const double target = check.fixedScale ? std::clamp(expected, check.low, check.high) : expected;
    const double shown = field.IndexValues[index];
    // A value whose own index marks missing points is shown one entry over.
    const bool shifted = NearestIndex(target, check.low, check.step) == field.MissingIndex;
    const double tolerance = check.step * (shifted ? 1.5 : 0.5) + 1e-4 * std::max(1.0, std::fabs(target));
    if (std::fabs(shown - target) > tolerance) {
      ++failures;
      ADD_FAILURE() << "point " << k << " at (" << x << ", " << y << "): shown " << shown << " (index " << index
                    << "), ecCodes " << expected << ", step " << check.step;
    }
  }
}

void CompareFile(const QString& path) {
  const std::string name = QFileInfo(path).fileName().toStdString();
  SCOPED_TRACE(name);
  const std::vector<std::uint8_t> bytes = FileBytes(path);
  const std::vector<TReferenceField> reference = ReferenceFields(bytes, false);
  const TDecodedFile decoded = DecodeAll(bytes, QFileInfo(path).fileName());
  ASSERT_EQ(decoded.fields.size(), reference.size());
  for (std::size_t i = 0; i < reference.size(); ++i) {
    const std::string label = name + " field " + std::to_string(i);
    CompareField(*decoded.fields[i], reference[i], label);
  }
}

void CompareFolder(const QString& folder) {
  ASSERT_FALSE(folder.isEmpty());
  const QStringList files = GribFilesBelow(folder);
  ASSERT_FALSE(files.isEmpty());
  for (const QString& path : files)
    CompareFile(path);
}

}  // namespace

TEST(DecoderOracle, SampleTreeMatchesEcCodesPointByPoint) { CompareFolder(SampleTreeFolder()); }

TEST(DecoderOracle, VariantsMatchEcCodesPointByPoint) {
  if (!QFileInfo::exists(QStringLiteral(NORVANT_SOURCE_DIR "/tools/make_grib_variants.py")))
    GTEST_SKIP() << "tools/make_grib_variants.py is not in this tree";
  CompareFolder(VariantsFolder());
}

// Files as other producers write them: a bulletin header before the message,
// an extended grid section too short for its extension, points stored
// column by column, packed data that happen to hold "7777" and "GRIB".
TEST(DecoderOracle, OtherProducersQuirksMatchEcCodesPointByPoint) {
  for (const char* name : {"g1-bulletin-header.grb", "g1-extended-gds-42.grb", "g1-scanning-columns.grb",
                           "g1-data-hold-markers.grb"})
    CompareFile(QStringLiteral(NORVANT_SOURCE_DIR "/tests/data/bad/") + QLatin1String(name));
}
