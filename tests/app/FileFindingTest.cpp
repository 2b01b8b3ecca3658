// Every file a user has is found: sea-ice siblings under the multi-product
// (long) names, and days stored with or without gzip, on trees written by
// the project's own tool.
#include <QTemporaryDir>

#include "app/workflow/Animation.h"
#include "grib/GribData.h"
#include "app/BatchTestSupport.h"
#include "support/WorkflowFixture.h"

namespace {

const QDate kLastDay(2026, 12, 5);

// One day of both hemispheres under the long names only.
QString LongNameTree()
{
  return BuiltSampleTree("long-names-20261205", {"--days", "1", "--end", "2026-12-05", "--names", "long"});
}

// Seven days whose northern sea ice and SST are gzipped on some days and
// plain on the others (the 1st, 3rd and 5th).
QString MixedCompressionTree()
{
  return BuiltSampleTree("mixed-gzip-20261205", {"--days", "7", "--end", "2026-12-05", "--plain", "2026-11-29",
                                                 "2026-12-01", "2026-12-03"});
}

QString DayFolder(const QString& tree, const QDate& day) { return tree + "SAF/" + day.toString("yyyy/MM/dd/"); }

using FileFinding = WorkflowFixture;

TEST_F(FileFinding, LongNameOnlyTreeGivesConcentrationEdgeAndType)
{
  ASSERT_FALSE(LongNameTree().isEmpty()) << "the tree could not be made";
  const QString folder = DayFolder(LongNameTree(), kLastDay);
  for (const char* hemisphere : {"nh", "sh"}) {
    SCOPED_TRACE(hemisphere);
    const QString extension = QString(hemisphere) == "nh" ? ".grb.gz" : ".grb";
    const QString stem = QString("_%1_polstere-100_multi_202612051200").arg(hemisphere) + extension;
    // Opened from any of the three.
    for (const char* opened : {"conc", "edge", "type"}) {
      SCOPED_TRACE(opened);
      EXPECT_TRUE(workflow->LoadProducts(folder + "ice_" + opened + stem, kMaskAll));
      EXPECT_EQ(Name(prConcentration), "ice_conc" + stem);
      EXPECT_EQ(Name(prEdge), "ice_edge" + stem);
      EXPECT_EQ(Name(prType), "ice_type" + stem);
      EXPECT_EQ(QFileInfo(workflow->AnimationSource(prType)).fileName(), "ice_type" + stem);
    }
  }
}

TEST_F(FileFinding, DaysStoredWithOrWithoutGzipAllBecomeFrames)
{
  ASSERT_FALSE(MixedCompressionTree().isEmpty()) << "the tree could not be made";
  settings->OverrideImagesPath(MixedCompressionTree());
  QTemporaryDir out;
  const QString stamp = kLastDay.toString("yyyyMMdd") + "1200Z";
  const QString newest = DayFolder(MixedCompressionTree(), kLastDay);
  const QString conc = newest + "S-OSI_-NOR_-MULT-GL_NH_CONC__-" + stamp + ".grb.gz";
  for (const auto& [product, file] : {std::pair{prConcentration, conc}, {prType, conc},
                                      {prSst, newest + "S-OSI_-FRA_-MULT-MAPSST_FIELD-" + stamp + ".grb.gz"}}) {
    SCOPED_TRACE(product);
    ASSERT_TRUE(workflow->LoadProducts(file, kMaskAll));
    const TAnimationResult result = MakeAnimation(*workflow, product, out.path());
    ASSERT_TRUE(result.Written()) << result.Error.toStdString();
    EXPECT_EQ(result.Frames, 7);
  }
  // A plain day named as if gzipped, and a gzipped day named as if plain:
  // each file and its siblings load.
  const QString plainDay = DayFolder(MixedCompressionTree(), kLastDay.addDays(-2));
  EXPECT_TRUE(workflow->LoadProducts(plainDay + "S-OSI_-NOR_-MULT-GL_NH_EDGE__-202612031200Z.grb.gz", kMaskAll));
  EXPECT_EQ(Name(prConcentration), "S-OSI_-NOR_-MULT-GL_NH_CONC__-202612031200Z.grb");
  EXPECT_EQ(Name(prType), "S-OSI_-NOR_-MULT-GL_NH_TYPE__-202612031200Z.grb");
  EXPECT_TRUE(workflow->LoadProducts(newest + "S-OSI_-NOR_-MULT-GL_NH_TYPE__-" + stamp + ".grb", kMaskAll));
  EXPECT_EQ(Name(prEdge), "S-OSI_-NOR_-MULT-GL_NH_EDGE__-" + stamp + ".grb.gz");
  EXPECT_TRUE(workflow->LoadProducts(plainDay + "S-OSI_-FRA_-MULT-MAPSST_FIELD-202612031200Z.grb.gz", kMaskSst));
  EXPECT_EQ(Name(prSst), "S-OSI_-FRA_-MULT-MAPSST_FIELD-202612031200Z.grb");
}

}  // namespace
