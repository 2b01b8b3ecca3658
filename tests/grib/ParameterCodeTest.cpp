// The later local cloud table applies to data after 3 July 2006.
#include <gtest/gtest.h>

#include "grib/ParameterCode.h"

namespace {

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
