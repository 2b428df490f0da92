#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <cstdio>

#include "picture_writer.h"
#include "render_support.h"
#include "support/temp_home.h"
#include "tools/run_tool.h"

using namespace zephra::testing;

namespace {

std::string Fixture(const std::string& name) { return std::string(ZEPHRA_TEST_DATA_DIR) + "/graphics/" + name; }

}  // namespace

TEST(PictureTool, InfoTellsKindFormatAndSizeOfEveryKind) {
  TempDir dir;
  const std::string plain = dir.Write("plain.wmf", ReadAll(Fixture("part.wmf")).substr(22));
  BmpSpec spec;
  spec.width = 2;
  spec.height = 1;
  spec.pixels = Row24({0xFF0000, 0x00FF00});
  const std::string bmp = dir.Write("tiny", MakeBmp(spec));  // no extension: known by content
  const struct {
    std::string file;
    std::string out;
  } cases[] = {
      {Fixture("part.emf"), "kind: metafile\nformat: emf\nwidth: 242\nheight: 162\n"},
      {Fixture("part.wmf"), "kind: metafile\nformat: wmf-placeable\nwidth: 240\nheight: 160\n"},
      // Without its placeable header the frame is the window, one pixel per unit.
      {plain, "kind: metafile\nformat: wmf\nwidth: 2999\nheight: 1999\n"},
      {Fixture("part.svg"), "kind: metafile\nformat: svg\nwidth: 240\nheight: 160\n"},
      {Fixture("part.png"), "kind: bitmap\nformat: png\nwidth: 240\nheight: 160\n"},
      {bmp, "kind: bitmap\nformat: bmp\nwidth: 2\nheight: 1\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const ToolResult r = RunTool({"picture", "info", c.file});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, "");
  }
}

TEST(PictureTool, RendersAtItsOwnSizeOrStretchedToTheSizeGiven) {
  TempDir dir;
  ASSERT_EQ(RunTool({"picture", "render", Fixture("part.wmf"), dir.File("own.png")}).exitCode, 0);
  const QImage own(QString::fromStdString(dir.File("own.png")));
  EXPECT_EQ(own.size(), QSize(240, 160));
  EXPECT_EQ(own.pixelColor(5, 5).alpha(), 0) << "the background stays transparent";
  EXPECT_TRUE(Near(own.pixel(40, 40), QColor(200, 200, 200))) << Describe(own.pixel(40, 40));

  for (const char* name : {"part.emf", "part.wmf", "part.svg", "part.png"}) {
    SCOPED_TRACE(name);
    const ToolResult r =
        RunTool({"picture", "render", Fixture(name), dir.File("big.png"), "--size", "480x200", "--background", "white"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const QImage big(QString::fromStdString(dir.File("big.png")));
    ASSERT_EQ(big.size(), QSize(480, 200));
    // A bore's centre (60, 70) of 240 x 160 lands at (120, 87) when stretched to 480 x 200.
    EXPECT_TRUE(Near(big.pixel(120, 87), Qt::white)) << Describe(big.pixel(120, 87));
    EXPECT_TRUE(Near(big.pixel(80, 50), QColor(200, 200, 200))) << Describe(big.pixel(80, 50));
  }
}

TEST(PictureTool, ErrorsAndUsage) {
  TempDir dir;
  const std::string text = dir.Write("notes.txt", "These are notes about a part, not a picture of it.\n");
  ToolResult r = RunTool({"picture", "info", text});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "error 5000: Unable to convert DIB to bitmap, error = 1002 (VRDGraphics.Bitmap)\n");
  r = RunTool({"picture", "render", dir.File("missing.emf"), dir.File("out.png")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "error 5000: Fail in file open. Error 2 (VRDGraphics.Metafile)\n");
  EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.File("out.png"))));
  EXPECT_EQ(RunTool({"picture"}).exitCode, 2);
  EXPECT_EQ(RunTool({"picture", "info"}).exitCode, 2);
  EXPECT_EQ(RunTool({"picture", "render", Fixture("part.emf"), dir.File("x.png"), "--size", "0x10"}).exitCode, 2);
  EXPECT_EQ(RunTool({"picture", "render", Fixture("part.emf"), dir.File("x.png"), "--background", "nope"}).exitCode, 2);
  EXPECT_NE(RunTool({"picture", "--help"}).out.find("usage: zephra picture info FILE"), std::string::npos);
}

TEST(PictureTool, WorksWithoutADisplay) {
  TempDir dir;
  const std::string command = "env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY '" + std::string(ZEPHRA_TOOL) +
                              "' picture render '" + Fixture("part.emf") + "' '" + dir.File("out.png") + "' 2>&1";
  FILE* p = ::popen(command.c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string output;
  char buf[256];
  while (size_t n = std::fread(buf, 1, sizeof buf, p)) output.append(buf, n);
  EXPECT_EQ(::pclose(p), 0) << output;
  EXPECT_EQ(output, "");
  EXPECT_EQ(QImage(QString::fromStdString(dir.File("out.png"))).size(), QSize(242, 162));
}
