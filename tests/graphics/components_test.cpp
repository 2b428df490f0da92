#include <gtest/gtest.h>

#include <QPainter>

#include "common/component_registry.h"
#include "common/reg_entry.h"
#include "common/string_res.h"
#include "graphics/bitmap.h"
#include "graphics/graphics_components.h"
#include "graphics/handles.h"
#include "graphics/metafile.h"
#include "picture_writer.h"
#include "render_support.h"
#include "support/temp_home.h"

using namespace zephra;
using namespace zephra::graphics;
using namespace zephra::testing;
using common::AutomationError;
using common::Variant;

namespace {

// The code, description and source of the error a call raises.
template <class Fn>
std::string ErrorOf(Fn fn) {
  try {
    fn();
  } catch (const AutomationError& e) {
    return std::to_string(e.Number()) + "|" + e.Description() + "|" + e.Source();
  }
  return "no error";
}

std::string SmallBmp() {
  BmpSpec s;
  s.width = 3;
  s.height = 2;
  s.pixels = Row24({0xFFFFFF, 0x000000, 0x0000FF}) + Row24({0xFF0000, 0x00FF00, 0x0000FF});
  return MakeBmp(s);
}

}  // namespace

TEST(GraphicsComponents, CreatedByTheirNamesWithMembersInTheirOrder) {
  TempHome home;
  RegisterGraphicsComponents();
  EXPECT_EQ(common::CreateObject("VRDGraphics.Bitmap")->TypeName(), "Bitmap");
  EXPECT_EQ(common::CreateObject("vrdgraphics.metafile")->TypeName(), "Metafile");
  EXPECT_EQ(common::CreateObject("VRDGRAPHICS.SCREENCAPTURE")->TypeName(), "ScreenCapture");
  common::RegEntry reg;
  EXPECT_EQ(reg.GetClassID("VRDGraphics.Bitmap"), kBitmapClassId);
  EXPECT_EQ(reg.GetClassID("VRDGraphics.Metafile"), kMetafileClassId);
  EXPECT_EQ(reg.GetClassID("VRDGraphics.ScreenCapture"), kScreenCaptureClassId);

  struct Members {
    std::shared_ptr<common::Dispatch> object;
    std::vector<std::string> names;
  } objects[] = {
      {common::CreateObject(kBitmapProgId), {"Width", "Height", "Draw", "ReleaseFile", "LoadFile"}},
      {common::CreateObject(kMetafileProgId), {"ReleaseFile", "LoadFile", "Draw"}},
      {common::CreateObject(kScreenCaptureProgId), {"CaptureWindow", "SaveToFile", "Empty"}},
  };
  for (const Members& m : objects) {
    for (size_t i = 0; i < m.names.size(); ++i) EXPECT_EQ(m.object->IdOfName(m.names[i]), static_cast<int>(i + 1));
  }
}

TEST(BitmapComponent, LoadsMeasuresDrawsAndReleases) {
  TempDir dir;
  const std::string file = dir.Write("Part.bmp", SmallBmp());
  Bitmap bitmap;
  EXPECT_EQ(bitmap.GetByName("Width").ToLong(), 0);
  EXPECT_EQ(bitmap.GetByName("Height").ToLong(), 0);
  // Names from slide shows made elsewhere may differ in letter case only.
  bitmap.CallByName("LoadFile", {Variant(dir.File("PART.BMP")), Variant(0)});
  EXPECT_EQ(bitmap.Get(Bitmap::kWidth).ToLong(), 3);
  EXPECT_EQ(bitmap.Get(Bitmap::kHeight).ToLong(), 2);
  EXPECT_EQ(ErrorOf([&] { bitmap.Put(Bitmap::kWidth, Variant(5)); }).substr(0, 4), "438|");

  QImage surface(10, 10, QImage::Format_RGB32);
  surface.fill(Qt::white);
  {
    QPainter painter(&surface);
    const ScopedPainterHandle dc(&painter);
    bitmap.Call(Bitmap::kDraw, {Variant(dc.handle()), Variant(4), Variant(5)});
  }
  EXPECT_TRUE(Near(surface.pixel(4, 5), Qt::red, 0)) << "unscaled at its corner " << Describe(surface.pixel(4, 5));
  EXPECT_TRUE(Near(surface.pixel(6, 6), QColor(0, 0, 255), 0)) << Describe(surface.pixel(6, 6));
  EXPECT_TRUE(Near(surface.pixel(7, 5), Qt::white, 0)) << Describe(surface.pixel(7, 5));

  bitmap.CallByName("ReleaseFile");
  EXPECT_EQ(bitmap.GetByName("Width").ToLong(), 0);
  EXPECT_EQ(bitmap.GetByName("Height").ToLong(), 0);
}

TEST(BitmapComponent, FailuresCarryTheirCodeAndDescription) {
  TempDir dir;
  const std::string good = dir.Write("good.bmp", SmallBmp());
  const std::string text = dir.Write("notes.bmp", "These are notes, not a picture of a part at all.\n");
  const std::string cut = dir.Write("cut.bmp", SmallBmp().substr(0, 60));
  Bitmap bitmap;
  bitmap.LoadFile(good, 0);
  EXPECT_EQ(ErrorOf([&] { bitmap.LoadFile(text, 0); }),
            "5000|Unable to convert DIB to bitmap, error = 1002\n|VRDGraphics.Bitmap");
  EXPECT_EQ(bitmap.Width(), 0) << "a failed load holds nothing";
  EXPECT_EQ(ErrorOf([&] { bitmap.LoadFile(dir.File("none.bmp"), 0); }),
            "5000|Unable to load file, error = 2\n|VRDGraphics.Bitmap");
  EXPECT_EQ(ErrorOf([&] { bitmap.LoadFile(cut, 0); }), "5000|Unable to load file, error = 1006\n|VRDGraphics.Bitmap");
  EXPECT_EQ(ErrorOf([&] { bitmap.Draw(12345, 0, 0); }), "5001|BitBlt failed, error = 9\n|VRDGraphics.Bitmap");
  EXPECT_EQ(ErrorOf([&] { bitmap.CallByName("LoadFile"); }).substr(0, 4), "449|");
}

TEST(MetafileComponent, PlaysIntoTheRectangleAndReportsEachFailingStep) {
  TempDir dir;
  EmfWriter e(100, 100);
  e.SelectObject(0x80000008).CreateBrush(1, 0, 0x0000FF).SelectObject(1).Rectangle(0, 0, 100, 100);
  const std::string emf = dir.Write("square.emf", e.Finish());
  Metafile metafile;
  EXPECT_EQ(ErrorOf([&] { metafile.Draw(0, 0, 0, 10, 10); }), "5001|Play metafile error = 9\n|VRDGraphics.Metafile");
  QImage surface(40, 40, QImage::Format_RGB32);
  surface.fill(Qt::white);
  {
    QPainter painter(&surface);
    const ScopedPainterHandle dc(&painter);
    EXPECT_EQ(ErrorOf([&] { metafile.Draw(dc.handle(), 0, 0, 10, 10); }),
              "5001|Play metafile error = 1008\n|VRDGraphics.Metafile");
    metafile.CallByName("LoadFile", {Variant(emf), Variant(dc.handle())});
    metafile.CallByName("Draw", {Variant(dc.handle()), Variant(10), Variant(20), Variant(20), Variant(10)});
  }
  EXPECT_TRUE(Near(surface.pixel(20, 25), Qt::red, 0)) << Describe(surface.pixel(20, 25));
  EXPECT_TRUE(Near(surface.pixel(20, 32), Qt::white, 0)) << Describe(surface.pixel(20, 32));
  EXPECT_TRUE(Near(surface.pixel(32, 25), Qt::white, 0)) << Describe(surface.pixel(32, 25));

  std::string badEmf = e.Finish();
  badEmf[0] = 7;
  std::string badPlaceable = WmfWriter().Placeable(0, 0, 10, 10, 96);
  badPlaceable[24] = 3;  // the embedded header's size
  std::string badPlain = WmfWriter().Plain();
  badPlain[0] = 5;
  const struct {
    std::string file;
    std::string error;
  } cases[] = {
      {dir.File("none.wmf"), "5000|Fail in file open. Error 2\n|VRDGraphics.Metafile"},
      {dir.Write("empty.wmf", ""), "5000|Fail in creating map file! Error 22\n|VRDGraphics.Metafile"},
      {dir.Write("bad.emf", badEmf), "5000|Get enhanced metafile error = 1002\n|VRDGraphics.Metafile"},
      {dir.Write("bad.wmf", badPlaceable), "5000|SetWinMetaFileBits failed, 3ea|VRDGraphics.Metafile"},
      {dir.Write("plain.wmf", badPlain), "5000|GetMetaFile failed, 3ea|VRDGraphics.Metafile"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(ErrorOf([&] { metafile.LoadFile(c.file, 0); }), c.error);
    EXPECT_FALSE(metafile.Picture().IsLoaded());
  }
}

TEST(HandleTable, HandlesResolveWhileTheirObjectsLive) {
  auto& table = HandleTable::Instance();
  EXPECT_EQ(table.Painter(0), nullptr);
  EXPECT_EQ(table.Widget(0), nullptr);
  QImage image(4, 4, QImage::Format_RGB32);
  QPainter painter(&image);
  Handle h = 0;
  {
    const ScopedPainterHandle dc(&painter);
    h = dc.handle();
    EXPECT_NE(h, 0);
    EXPECT_EQ(table.Painter(h), &painter);
    EXPECT_EQ(table.Widget(h), nullptr);
  }
  EXPECT_EQ(table.Painter(h), nullptr);
}
