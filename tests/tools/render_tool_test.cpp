#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "run_tool.h"
#include "support/temp_home.h"

using zephra::testing::RunTool;

namespace {

const std::string kSample = std::string(ZEPHRA_TEST_DATA_DIR) + "/../../data/samples/bracket-a.zep";

int CountColour(const QImage& image, QColor colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == colour;
  }
  return n;
}

}  // namespace

TEST(ToolDocRender, DrawsThePictureTheIconsAndTheMonitorsColours) {
  zephra::testing::TempHome home;
  const std::string out = home.File("slide.png");
  const auto r = RunTool({"doc", "render", kSample, out}, home.Path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const QImage image(QString::fromStdString(out));
  ASSERT_EQ(image.size(), QSize(1024, 668));
  // Values without a result are drawn in the empty colour (cyan by default): three rows of two
  // location icons and one diameter row.
  const int cyan = CountColour(image, QColor(0, 255, 255));
  EXPECT_GT(cyan, 7 * 60);
  // The background picture covers the slide area's button-face grey where it is placed.
  EXPECT_NE(image.pixelColor(400, 300), QColor(240, 240, 240));
  EXPECT_EQ(image.pixelColor(1010, 650), QColor(240, 240, 240));

  // The monitor's colours come from its settings.
  ASSERT_EQ(RunTool({"reg", "set", "USER_ZEP\\ShowMonitor0", "EmptyColor", "255"}, home.Path()).exitCode, 0);
  ASSERT_EQ(RunTool({"doc", "render", kSample, out, "--size", "800x600"}, home.Path()).exitCode, 0);
  const QImage red(QString::fromStdString(out));
  EXPECT_EQ(red.size(), QSize(800, 600));
  EXPECT_EQ(CountColour(red, QColor(0, 255, 255)), 0);
  EXPECT_GT(CountColour(red, QColor(255, 0, 0)), 7 * 60);
}

TEST(ToolDocRender, EditorViewAndArgumentErrors) {
  zephra::testing::TempHome home;
  const std::string out = home.File("slide2.png");
  ASSERT_EQ(RunTool({"doc", "render", kSample, out, "--slide", "2", "--view", "editor"}, home.Path()).exitCode, 0);
  EXPECT_FALSE(QImage(QString::fromStdString(out)).isNull());
  EXPECT_EQ(RunTool({"doc", "render", kSample, out, "--slide", "9"}, home.Path()).exitCode, 2);
  EXPECT_EQ(RunTool({"doc", "render", kSample, out, "--view", "printer"}, home.Path()).exitCode, 2);
  EXPECT_EQ(RunTool({"doc", "render", kSample, out, "--size", "big"}, home.Path()).exitCode, 2);
  EXPECT_EQ(RunTool({"doc", "render", home.File("none.zep"), out}, home.Path()).exitCode, 1);
}
