// norvant-inspect as a user runs it: its JSON report, the values and
// indices it writes, and its exit status on a broken file.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <bit>
#include <cmath>
#include <cstring>

#include "grib/GribTestFiles.h"
#include "support/EcCodesReference.h"

namespace {

struct TRun {
  int exitCode = -1;
  QByteArray out, err;
  long peakKiB = 0;
};

// norvant-inspect under GNU time, which measures the whole process and
// adds its peak memory as the last line of the error output.
TRun Inspect(const QStringList& arguments) {
  QProcess tool;
  tool.start(QStringLiteral("/usr/bin/time"), QStringList{"-q", "-f", "peak-rss-kib %M",
                                                          NORVANT_BINARY_DIR "/norvant-inspect"} + arguments);
  TRun run;
  if (!tool.waitForFinished(120000))
    return run;
  run.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
  run.out = tool.readAllStandardOutput();
  run.err = tool.readAllStandardError().trimmed();
  const qsizetype last = run.err.lastIndexOf('\n') + 1;
  EXPECT_TRUE(run.err.mid(last).startsWith("peak-rss-kib ")) << run.err.toStdString();
  run.peakKiB = run.err.mid(last + 13).toLong();
  run.err.truncate(last);
  return run;
}

// The values file is little-endian float32, as the machines this runs on.
std::vector<float> ReadFloats(const QString& path) {
  static_assert(std::endian::native == std::endian::little);
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  std::vector<float> values(static_cast<std::size_t>(bytes.size()) / 4);
  std::memcpy(values.data(), bytes.constData(), values.size() * 4);
  return values;
}

// The values file holds ecCodes' value of every grid point at the pixel the
// WMO scanning mode puts it on, NaN where ecCodes has none.
void ExpectValuesLikeEcCodes(const QString& file, const QJsonObject& report, const QString& valuesPath) {
  const auto reference = ReferenceFields(FileBytes(file), false).front();
  const int width = report[QStringLiteral("width")].toInt(), height = report[QStringLiteral("height")].toInt();
  ASSERT_EQ(width, reference.width);
  ASSERT_EQ(height, reference.height);
  const std::vector<float> decoded = ReadFloats(valuesPath);
  ASSERT_EQ(decoded.size(), static_cast<std::size_t>(width * height));
  const double step = (report[QStringLiteral("maxValue")].toDouble() - report[QStringLiteral("minValue")].toDouble()) / 255;
  for (std::size_t k = 0; k < reference.values.size(); ++k) {
    const float v = decoded[static_cast<std::size_t>(reference.PictureY(k)) * width + reference.PictureX(k)];
    ASSERT_EQ(std::isnan(v), static_cast<bool>(reference.missing[k])) << "point " << k;
    if (!reference.missing[k]) {
      ASSERT_NEAR(v, reference.values[k], 1.5 * step + 1e-3) << "point " << k;
    }
  }
}

}  // namespace

// The report, and a values file in which every value lands on the pixel of
// its grid point, whatever the scanning order: column by column, from the
// south, or in rows that alternate in direction.
TEST(InspectTool, JsonReportAndValuesAgreeWithEcCodes) {
  for (const char* name : {"g2_complex_53_order2_missing_primary_secondary.grb2",
                           "g2_ll_simple_12bit_scan_60_bitmap.grb2", "g2_ll_simple_12bit_scan_10_bitmap.grb2",
                           "g2_ll_simple_12bit_scan_20_bitmap.grb2", "g2_ll_simple_12bit_scan_30.grb2"}) {
    SCOPED_TRACE(name);
    const QString file = VariantsFolder() + QLatin1Char('/') + QLatin1String(name);
    QTemporaryDir out;
    const QString values = out.filePath(QStringLiteral("values.f32"));
    const QString indices = out.filePath(QStringLiteral("indices.u8"));
    const TRun run = Inspect({file, QStringLiteral("--json"), QStringLiteral("--values"), values,
                              QStringLiteral("--indices"), indices});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject report = QJsonDocument::fromJson(run.out).object();
    for (const char* key : {"edition", "name", "projection", "corners", "log"})
      EXPECT_TRUE(report.contains(QLatin1String(key))) << key;
    if (name[3] == 'c') {
      EXPECT_EQ(report[QStringLiteral("parameterCode")].toInt(), 310010000);
      EXPECT_EQ(report[QStringLiteral("referenceTime")].toString(), QStringLiteral("2026-12-05T12:00:00Z"));
    }
    ExpectValuesLikeEcCodes(file, report, values);
    EXPECT_EQ(QFile(indices).size(), report["width"].toInt() * report["height"].toInt());
  }
}

// Broken files end with status 1 and the reason; the whole process,
// measured from outside, never inflates a bomb of zeros beyond what the
// messages need.
TEST(InspectTool, BrokenFilesAndGzipBombsEndWithinTheMemoryBudget) {
  ASSERT_TRUE(QFile::exists(QStringLiteral("/usr/bin/time"))) << "the Debian package \"time\" is missing";
  const std::pair<const char*, int> cases[] = {
    {"gz-bomb-1gib.gz", 1}, {"gz-message-then-bomb.gz", 0}, {"g2-section-length-zero.grb", 1}, {"gz-truncated.gz", 1}};
  for (const auto& [file, exitCode] : cases) {
    SCOPED_TRACE(file);
    const TRun run = Inspect({QStringLiteral(NORVANT_SOURCE_DIR "/tests/data/bad/") + QLatin1String(file)});
    EXPECT_EQ(run.exitCode, exitCode);
    EXPECT_TRUE(exitCode == 0 || !run.err.trimmed().isEmpty()) << "no reason given";
    EXPECT_GT(run.peakKiB, 0);
    EXPECT_LT(run.peakKiB, 256 * 1024);
  }
}
