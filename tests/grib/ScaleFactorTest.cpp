// Scale factors that push the field's values beyond the float range must end
// the decode with a reason, before any colour table sees infinity or NaN.
#include <gtest/gtest.h>

#include <QFile>

#include "grib/GribData.h"

namespace {

QByteArray ReadFile(const char* path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST(ScaleFactors, RefusesBinaryScaleThatOverflowsTheValueRange)
{
  const QByteArray bytes =
    ReadFile(NORVANT_SOURCE_DIR "/fuzz/corpus/fuzz_grib_message/grib-binary-scale-1280.grb");
  ASSERT_FALSE(bytes.isEmpty());
  TGribData data(false);
  const auto* begin = reinterpret_cast<const std::uint8_t*>(bytes.constData());
  EXPECT_FALSE(data.LoadFromStream(std::span<const std::uint8_t>(begin, bytes.size())));
  ASSERT_FALSE(data.Log.isEmpty());
  EXPECT_TRUE(data.Log.join('\n').contains("Scale factors give values beyond the number range"))
    << data.Log.join('\n').toStdString();
}
