// Parameter codes decide the product slot, the palette and the read-out, so
// a wrong code shows a product in the wrong tab or with the wrong colours.
#include <gtest/gtest.h>

#include "grib/ParameterCode.h"

namespace {

TParameterIdentity Edition1(int parameter, int centre = 88, int process = 1)
{
  TParameterIdentity id;
  id.Edition = 1;
  id.Centre = centre;
  id.Process = process;
  id.ParameterOctet = parameter;
  return id;
}

TParameterIdentity Edition2(int discipline, int category, int number, bool later = false)
{
  TParameterIdentity id;
  id.Edition = 2;
  id.Discipline = discipline;
  id.Category = category;
  id.Number = number;
  id.LaterCloudTable = later;
  return id;
}

struct TCodeCase {
  const char* What;
  TParameterIdentity Identity;
  std::int32_t Code;
};

TEST(ParameterCode, ComposesCodesOfBothEditionsWithoutCollisions)
{
  const TCodeCase cases[] = {
      {"ice concentration", Edition1(91), 91},
      {"ice edge", Edition1(220), 220},
      {"ice type", Edition1(221), 221},
      {"temperature", Edition1(11), 11},
      {"parameter 6 is not recognised", Edition1(6), 0},
      {"parameter 0", Edition1(0), 0},
      {"surge model elevation", Edition1(229, 74, 56), 99229},
      {"surge model tide direction", Edition1(234, 74, 56), 99234},
      {"surge model outside its range", Edition1(228, 74, 56), 228},
      {"same octet from another process", Edition1(229, 74, 55), 229},
      {"edition 2 temperature", Edition2(0, 0, 0), 1000000000},
      {"relative humidity", Edition2(0, 1, 1), 1000001001},
      {"total precipitation is formed but ignored", Edition2(0, 1, 52), 0},
      {"max wind", Edition2(0, 2, 22), 1000002022},
      {"wind number 1 has no code", Edition2(0, 2, 1), 0},
      {"pressure 3/4 ignored", Edition2(0, 3, 4), 0},
      {"geopotential height", Edition2(0, 3, 5), 1000003005},
      {"short-wave", Edition2(0, 4, 7), 310040007},
      {"long-wave", Edition2(0, 5, 3), 310050003},
      {"cloud 0/6/1", Edition2(0, 6, 1), 1000006001},
      {"0/19/25", Edition2(0, 19, 25), 1000019025},
      {"snow water equivalent ignored", Edition2(1, 0, 2), 0},
      {"clear/cloud", Edition2(3, 0, 7), 300000007},
      {"surface", Edition2(3, 0, 8), 300000008},
      {"fire", Edition2(3, 0, 9), 300000009},
      {"precipitation accumulation ignored", Edition2(3, 1, 0), 0},
      {"cloud mask", Edition2(3, 1, 3), 300001003},
      {"earlier cloud table keeps 8", Edition2(3, 1, 8), 300001008},
      {"later cloud table moves 8 to 6", Edition2(3, 1, 8, true), 300001006},
      {"later cloud table moves 12 to 10", Edition2(3, 1, 12, true), 300001010},
      {"11 unknown in the earlier table", Edition2(3, 1, 11), 0},
      {"later table leaves 13", Edition2(3, 1, 13, true), 300001013},
      {"cloud 24 ignored", Edition2(3, 1, 24), 0},
      {"cloud 34 ignored", Edition2(3, 1, 34), 0},
      {"cloud 35 unknown", Edition2(3, 1, 35), 0},
      {"sea-surface temperature", Edition2(10, 3, 0), 310010000},
      {"SST confidence", Edition2(10, 192, 1), 310010001},
      {"SST delta time", Edition2(10, 192, 2), 310010002},
      {"10/192/3 unknown", Edition2(10, 192, 3), 0},
      {"later table only touches discipline 3", Edition2(0, 1, 8, true), 0},
  };
  for (const TCodeCase& c : cases)
    EXPECT_EQ(ComposeParameterCode(c.Identity), c.Code) << c.What;
}

TEST(ParameterCode, SwitchesCloudTableOnlyAfterThirdOfJuly2006)
{
  struct TCase {
    QDateTime Time;
    bool Later;
  } const cases[] = {
      {QDateTime(QDate(2006, 7, 1), QTime(0, 0), Qt::UTC), false},
      {QDateTime(QDate(2006, 7, 3), QTime(0, 0), Qt::UTC), false},
      {QDateTime(QDate(2006, 7, 3), QTime(0, 1), Qt::UTC), true},
      {QDateTime(QDate(2006, 8, 1), QTime(0, 0), Qt::UTC), true},
      {QDateTime(), false},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(UsesLaterCloudTable(c.Time), c.Later) << c.Time.toString(Qt::ISODate).toStdString();
}

}  // namespace
