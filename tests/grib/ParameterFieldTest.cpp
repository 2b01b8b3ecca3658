// A field works out its parameter code and name from its own product
// identification and the reader's edition, discipline and reference time.
#include <gtest/gtest.h>

#include "grib/GribData.h"
#include "imaging/ColourTableBuild.h"

namespace {

std::string Edition1Name(int centre, int parameter, const char* fileName, std::int32_t& code)
{
  TGribData data(BuildColourTable);
  data.Edition = 1;
  TDataStuff& field = *data.Current;
  field.ProductId[0] = static_cast<std::uint8_t>(centre);
  field.ProductId[1] = 1;
  field.ProductId[4] = static_cast<std::uint8_t>(parameter);
  field.ProductId[5] = 1;
  field.FileName = fileName;
  code = data.ParameterCode();
  field.BuildEdition1Name();
  return field.Name.toStdString();
}

TEST(ParameterField, Edition1NamesComeFromTheParameterAndTheFileName)
{
  std::int32_t code = -1;
  EXPECT_EQ(Edition1Name(88, 6, "", code), "Unrecognised data");
  EXPECT_EQ(code, 0);
  // SST is told by the file's own name, never by a folder above it.
  EXPECT_EQ(Edition1Name(211, 11, "/data/images/SAF/s-osi_-ifr_-mult-ahlsst_field-200901011200z.grb", code), "SST");
  EXPECT_EQ(Edition1Name(211, 11, "/data/-AHLSST_FIELD-/temperature.grb", code), "Temperature");
}

// The later local cloud table applies to data after 3 July 2006 00:00 UTC.
TEST(ParameterField, CloudNumbersMoveWithTheLaterLocalTable)
{
  const auto utc = [](int month, int day, int minute) { return QDateTime(QDate(2006, month, day), QTime(0, minute), Qt::UTC); };
  const std::pair<QDateTime, bool> cases[] = {
    {utc(7, 1, 0), false}, {utc(7, 3, 0), false}, {utc(7, 3, 1), true}, {utc(8, 1, 0), true}, {QDateTime(), false}};
  for (const auto& [time, later] : cases) {
    TGribData data(BuildColourTable);
    data.Edition = 2;
    data.Discipline = 3;
    data.ReferenceTime = time;
    data.Current->ParameterCategory = 1;
    data.Current->ParameterNumber = 8;
    EXPECT_EQ(data.ParameterCode(), later ? 300001006 : 300001008) << time.toString(Qt::ISODate).toStdString();
    data.Current->BuildName(data.Discipline, 0);
    EXPECT_EQ(data.Current->Name.toStdString(), later ? "Sun-spacecraft azimuth angle" : "0.8µm reflectance");
  }
}

}  // namespace
