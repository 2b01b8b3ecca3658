// The decode log of the northern sea-ice concentration file, line by line
// against a reviewed copy.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "grib/GribData.h"
#include "grib/GribTestFiles.h"
#include "imaging/ColourTableBuild.h"

TEST(GoldenLog, NorthernConcentrationLogMatchesReviewedCopy) {
  const QString folder = SampleTreeFolder();
  ASSERT_FALSE(folder.isEmpty());
  const QStringList files = FilesBelow(folder, {"*_NH_CONC__-202612011200Z.grb.gz"});
  ASSERT_EQ(files.size(), 1);
  TGribData data(BuildColourTable);
  ASSERT_TRUE(data.LoadFromStream(FileBytes(files.front())));

  QFile golden(QStringLiteral(NORVANT_SOURCE_DIR "/tests/data/golden/nh_conc_decode_log.txt"));
  ASSERT_TRUE(golden.open(QIODevice::ReadOnly | QIODevice::Text));
  QStringList expected = QString::fromUtf8(golden.readAll()).split(QLatin1Char('\n'));
  if (!expected.isEmpty() && expected.last().isEmpty())
    expected.removeLast();
  for (qsizetype i = 0; i < std::min(expected.size(), data.Log.size()); ++i)
    EXPECT_EQ(data.Log[i].toStdString(), expected[i].toStdString()) << "line " << i + 1;
  EXPECT_EQ(data.Log.size(), expected.size());
}
