// The command line: data arguments that look like options stay arguments.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, DataArgumentsStayInOrderAndOptionsAreTakenOut)
{
  const TCommandLine line = ParseCommandLine({"-LATEST", "--images-path", "/tmp/s", "-SAVE:/tmp/out", "-ANIM"});
  EXPECT_EQ(line.Arguments, QStringList({"-LATEST", "-SAVE:/tmp/out", "-ANIM"}));
  EXPECT_EQ(line.ImagesPath, "/tmp/s");
  EXPECT_FALSE(line.ShowVersion);
  EXPECT_TRUE(line.Error.isEmpty());
}

TEST(CommandLine, ImagesPathWithEqualsSignAndVersion)
{
  const TCommandLine line = ParseCommandLine({"--images-path=/data/images", "--version"});
  EXPECT_EQ(line.ImagesPath, "/data/images");
  EXPECT_TRUE(line.ShowVersion);
  EXPECT_TRUE(line.Arguments.isEmpty());
}

TEST(CommandLine, ImagesPathWithoutFolderIsAnError)
{
  EXPECT_FALSE(ParseCommandLine({"--images-path"}).Error.isEmpty());
}

}  // namespace

TEST(CommandLine, DatedNamesIsAnOptionAndSaveMakesTheRunUnattended)
{
  const TCommandLine dated = ParseCommandLine({"-LATEST-NORTH", "--dated-names", "-save:/tmp/out"});
  EXPECT_TRUE(dated.DatedNames);
  EXPECT_EQ(dated.Arguments, QStringList({"-LATEST-NORTH", "-save:/tmp/out"}));
  EXPECT_TRUE(IsUnattendedRun(dated));
  EXPECT_FALSE(ParseCommandLine({"-LATEST"}).DatedNames);
  EXPECT_FALSE(IsUnattendedRun(ParseCommandLine({"-LATEST"})));
  EXPECT_FALSE(IsUnattendedRun(ParseCommandLine({"-SAVE"})));
}
