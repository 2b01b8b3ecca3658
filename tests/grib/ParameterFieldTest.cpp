// A field works out its parameter code and name from its own product
// identification and the reader's edition, discipline and reference time.
#include <gtest/gtest.h>

#include "grib/GribData.h"
#include "imaging/ColourTableBuild.h"

namespace {

void SetEdition1(TDataStuff& field, int centre, int process, int parameter, int levelType, int levelValue)
{
  field.ProductId[0] = static_cast<std::uint8_t>(centre);
  field.ProductId[1] = static_cast<std::uint8_t>(process);
  field.ProductId[4] = static_cast<std::uint8_t>(parameter);
  field.ProductId[5] = static_cast<std::uint8_t>(levelType);
  field.ProductId[6] = static_cast<std::uint8_t>(levelValue >> 8);
  field.ProductId[7] = static_cast<std::uint8_t>(levelValue);
}

TEST(ParameterField, Edition1FieldWithParameter6IsUnrecognised)
{
  TGribData data(BuildColourTable);
  data.Edition = 1;
  SetEdition1(*data.Current, 88, 1, 6, 1, 0);
  EXPECT_EQ(data.ParameterCode(), 0);
  data.Current->BuildEdition1Name();
  EXPECT_EQ(data.Current->Name.toStdString(), "Unrecognised data");
}

TEST(ParameterField, Edition1SstIsRecognisedByItsFileNameWithoutFolder)
{
  TGribData data(BuildColourTable);
  data.Edition = 1;
  SetEdition1(*data.Current, 211, 1, 11, 1, 0);
  data.Current->FileName = "/data/images/SAF/s-osi_-ifr_-mult-ahlsst_field-200901011200z.grb";
  data.Current->BuildEdition1Name();
  EXPECT_EQ(data.Current->Name.toStdString(), "SST");
  data.Current->FileName = "/data/-AHLSST_FIELD-/temperature.grb";
  data.Current->BuildEdition1Name();
  EXPECT_EQ(data.Current->Name.toStdString(), "Temperature");
}

TEST(ParameterField, CloudNumbersMoveWithTheLaterLocalTable)
{
  struct TCase {
    QDate Date;
    std::int32_t Code;
    const char* Name;
  } const cases[] = {
      {QDate(2006, 7, 1), 300001008, "0.8µm reflectance"},
      {QDate(2006, 8, 1), 300001006, "Sun-spacecraft azimuth angle"},
  };
  for (const TCase& c : cases) {
    TGribData data(BuildColourTable);
    data.Edition = 2;
    data.Discipline = 3;
    data.ReferenceTime = QDateTime(c.Date, QTime(0, 0), Qt::UTC);
    data.Current->ParameterCategory = 1;
    data.Current->ParameterNumber = 8;
    EXPECT_EQ(data.ParameterCode(), c.Code);
    data.Current->BuildName(data.Discipline, 0);
    EXPECT_EQ(data.Current->Name.toStdString(), c.Name);
  }
}

}  // namespace
