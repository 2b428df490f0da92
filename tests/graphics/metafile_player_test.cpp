#include <gtest/gtest.h>

#include <functional>

#include "graphics/metafile_picture.h"
#include "picture_writer.h"
#include "render_support.h"

using namespace zephra::graphics;
using namespace zephra::testing;

namespace {

constexpr uint32_t kNullPen = 0x80000008;
constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00A000, kBlue = 0xFF0000, kYellow = 0x00FFFF, kMagenta = 0xFF00FF;
const QColor kRedC(255, 0, 0), kGreenC(0, 160, 0), kBlueC(0, 0, 255), kYellowC(255, 255, 0), kMagentaC(255, 0, 255);

MetafilePicture Load(const std::string& bytes) {
  MetafilePicture p;
  const auto r = p.Load(ToBytes(bytes));
  EXPECT_TRUE(r.ok()) << "error " << r.error;
  return p;
}

// The test scene, 200 x 120 units: a red rectangle, a green ellipse, a cross-hatched rectangle
// on yellow, a blue line six units wide, and bold text "HH" with its top at y 60.
std::string SceneEmf() {
  EmfWriter w(200, 120);
  w.SelectObject(kNullPen);
  w.CreateBrush(1, 0, kRed).SelectObject(1).Rectangle(10, 10, 60, 50);
  w.CreateBrush(2, 0, kGreen).SelectObject(2).Ellipse(70, 10, 130, 60);
  w.CreateBrush(3, 2, 0, 4).SetBkMode(2).SetBkColor(kYellow).SelectObject(3).Rectangle(140, 10, 190, 50);
  w.Record(999, {1, 2, 3});  // unknown to the player: skipped
  w.CreateBrush(4, 0, kMagenta).SelectObject(4).SetPolyFillMode(1);
  w.PolyPolygon16({{{140, 60}, {190, 60}, {190, 90}, {140, 90}}, {{155, 68}, {175, 68}, {175, 82}, {155, 82}}});
  w.CreatePen(5, 0, 6, kBlue).SelectObject(5).MoveTo(10, 100).LineTo(190, 100);
  w.CreateFont(6, -24, u"Liberation Sans", 700).SelectObject(6).SetTextColor(0).SetBkMode(1).SetTextAlign(0);
  w.ExtTextOutW(10, 60, u"HH");
  return w.Finish();
}

// The same scene as a Windows metafile, whose window is the 200 x 120 units.
WmfWriter SceneWmf() {
  WmfWriter w;
  w.SetMapMode(8).SetWindowOrg(0, 0).SetWindowExt(200, 120);
  w.CreatePen(5, 0, 0).SelectObject(0);
  w.CreateBrush(0, kRed).SelectObject(1).Rectangle(10, 10, 60, 50);
  w.CreateBrush(0, kGreen).SelectObject(2).Ellipse(70, 10, 130, 60);
  w.CreateBrush(2, 0, 4).SetBkMode(2).SetBkColor(kYellow).SelectObject(3).Rectangle(140, 10, 190, 50);
  w.Record(0x0999, {1, 2, 3});
  w.CreatePen(0, 6, kBlue).SelectObject(4).MoveTo(10, 100).LineTo(190, 100);
  w.CreateFont(-24, "Liberation Sans", 700).SelectObject(5).SetTextColor(0).SetBkMode(1).SetTextAlign(0);
  w.TextOut(10, 60, "HH");
  w.DeleteObject(3);
  return w;
}

// The scene's colours and positions in an image of any size.
void CheckScene(const QImage& img, bool withPolygon) {
  const double sx = img.width() / 200.0, sy = img.height() / 120.0;
  auto at = [&](double x, double y) { return img.pixel(static_cast<int>(x * sx), static_cast<int>(y * sy)); };
  auto box = [&](double l, double t, double r, double b) {
    return QRect(QPoint(static_cast<int>(l * sx), static_cast<int>(t * sy)), QPoint(static_cast<int>(r * sx), static_cast<int>(b * sy)));
  };
  EXPECT_TRUE(Near(at(35, 30), kRedC)) << Describe(at(35, 30));
  EXPECT_TRUE(Near(at(9, 30), Qt::white)) << "left of the rectangle " << Describe(at(9, 30));
  EXPECT_TRUE(Near(at(100, 35), kGreenC)) << Describe(at(100, 35));
  EXPECT_TRUE(Near(at(72, 12), Qt::white)) << "the ellipse's corner stays empty " << Describe(at(72, 12));
  const QRect hatch = box(145, 15, 185, 45);
  const int area = hatch.width() * hatch.height();
  EXPECT_GT(CountNear(img, hatch, kYellowC), area / 4) << "opaque background of the hatch";
  EXPECT_GT(CountDark(img, hatch, 60), area / 10) << "hatch lines";
  if (withPolygon) {
    EXPECT_TRUE(Near(at(145, 65), kMagentaC)) << Describe(at(145, 65));
    EXPECT_TRUE(Near(at(165, 75), Qt::white)) << "the inner figure is a hole " << Describe(at(165, 75));
  }
  EXPECT_TRUE(Near(at(100, 100), kBlueC)) << Describe(at(100, 100));
  EXPECT_TRUE(Near(at(100, 106), Qt::white)) << "the line is six units wide " << Describe(at(100, 106));
  const int ink = CountDark(img, box(10, 60, 70, 90));
  EXPECT_GT(ink, static_cast<int>(60 * sx * sy)) << "text ink";
  EXPECT_EQ(CountDark(img, box(10, 50, 70, 59)), 0) << "nothing above the text's top";
  EXPECT_EQ(CountDark(img, box(75, 62, 135, 90)), 0) << "two letters end well before x 75";
}

}  // namespace

TEST(MetafilePlayer, EnhancedSceneAtTwoSizes) {
  const MetafilePicture p = Load(SceneEmf());
  EXPECT_EQ(p.Format(), PictureFormat::Emf);
  EXPECT_GT(p.RecordCount(), 20u);
  for (QSize size : {QSize(200, 120), QSize(400, 360)}) {
    SCOPED_TRACE(size.width());
    const QImage img = RenderMetafile(p, size);
    SaveRendering(img, "scene_emf_" + std::to_string(size.width()));
    CheckScene(img, true);
  }
}

TEST(MetafilePlayer, WindowsSceneAtTwoSizesPlaceableAndPlain) {
  const WmfWriter w = SceneWmf();
  const MetafilePicture placeable = Load(w.Placeable(0, 0, 200, 120, 96));
  const MetafilePicture plain = Load(w.Plain());
  EXPECT_EQ(placeable.Format(), PictureFormat::WmfPlaceable);
  EXPECT_EQ(plain.Format(), PictureFormat::Wmf);
  EXPECT_EQ(placeable.Size96(), QSizeF(200, 120));
  EXPECT_EQ(plain.Size96(), QSizeF(200, 120));  // its window
  for (QSize size : {QSize(200, 120), QSize(300, 240)}) {
    SCOPED_TRACE(size.width());
    const QImage a = RenderMetafile(placeable, size);
    const QImage b = RenderMetafile(plain, size);
    SaveRendering(a, "scene_wmf_placeable_" + std::to_string(size.width()));
    SaveRendering(b, "scene_wmf_plain_" + std::to_string(size.width()));
    CheckScene(a, false);
    CheckScene(b, false);
  }
}

TEST(MetafilePlayer, EveryKindDrawsStretchedIntoTheRectangleOnly) {
  // A red rectangle (10,10)-(60,50) of a 200 x 120 picture, drawn into (20,10) 100 x 60.
  EmfWriter e(200, 120);
  e.SelectObject(kNullPen).CreateBrush(1, 0, kRed).SelectObject(1).Rectangle(10, 10, 60, 50);
  WmfWriter w;
  w.SetMapMode(8).SetWindowOrg(0, 0).SetWindowExt(200, 120);
  w.CreatePen(5, 0, 0).SelectObject(0).CreateBrush(0, kRed).SelectObject(1).Rectangle(10, 10, 60, 50);
  // Without a window the frame is what the records draw: here just the rectangle.
  WmfWriter bare;
  bare.CreatePen(5, 0, 0).SelectObject(0).CreateBrush(0, kRed).SelectObject(1).Rectangle(50, 30, 150, 90);

  struct Case {
    const char* name;
    std::string bytes;
    QPoint inside, outside;
  } cases[] = {
      {"enhanced", e.Finish(), {37, 25}, {60, 40}},
      {"placeable", w.Placeable(0, 0, 200, 120, 1440), {37, 25}, {60, 40}},
      {"plain with window", w.Plain(), {37, 25}, {60, 40}},
      {"plain without window", bare.Plain(), {22, 12}, {18, 8}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MetafilePicture p = Load(c.bytes);
    QImage img(200, 100, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
      QPainter painter(&img);
      p.Play(painter, QRectF(20, 10, 100, 60));
    }
    SaveRendering(img, std::string("stretched_") + c.name);
    EXPECT_TRUE(Near(img.pixel(c.inside), kRedC)) << Describe(img.pixel(c.inside));
    EXPECT_TRUE(Near(img.pixel(c.outside), Qt::white)) << Describe(img.pixel(c.outside));
    EXPECT_EQ(CountNear(img, QRect(121, 0, 79, 100), kRedC), 0) << "nothing right of the rectangle";
    EXPECT_EQ(CountNear(img, QRect(0, 71, 200, 29), kRedC), 0) << "nothing below the rectangle";
  }
}

namespace {

std::string WorldTransform(float m11, float m12, float m21, float m22, float dx, float dy) {
  return Bytes().f32(m11).f32(m12).f32(m21).f32(m22).f32(dx).f32(dy).str();
}

struct Probe {
  QPoint at;
  QColor colour;
};

struct MappingCase {
  const char* name;
  std::function<void(EmfWriter&)> draw;
  std::vector<Probe> probes;
};

}  // namespace

TEST(MetafilePlayer, MappingTransformsStateClipArcsAndBitmaps) {
  const std::vector<std::vector<uint32_t>> quads = {{0xFF0000, 0x00FF00}, {0x0000FF, 0x000000}};
  std::vector<std::vector<uint32_t>> quads8(8, std::vector<uint32_t>(8));
  for (size_t y = 0; y < 8; ++y) {
    for (size_t x = 0; x < 8; ++x) quads8[y][x] = quads[y / 4][x / 4];
  }
  const std::vector<MappingCase> cases = {
      {"anisotropic window onto viewport",
       [](EmfWriter& w) {
         w.SetMapMode(8).SetWindowExt(1000, 1000).SetViewportExt(200, 120);
         w.Rectangle(0, 0, 500, 500);
       },
       {{{50, 30}, kRedC}, {{150, 90}, Qt::white}}},
      {"metric mapping grows upwards",
       [](EmfWriter& w) { w.SetMapMode(2).Rectangle(0, 0, 100, -100); },  // 10 mm at 4 pixels per mm
       {{{20, 20}, kRedC}, {{60, 60}, Qt::white}}},
      {"world transform",
       [](EmfWriter& w) {
         w.Raw(35, WorldTransform(2, 0, 0, 2, 10, 0));
         w.Rectangle(0, 0, 20, 20);
       },
       {{{30, 20}, kRedC}, {{5, 20}, Qt::white}, {{60, 20}, Qt::white}}},
      {"restored state",
       [](EmfWriter& w) {
         w.SaveDc().CreateBrush(2, 0, kGreen).SelectObject(2).RestoreDc(-1).Rectangle(0, 0, 50, 50);
       },
       {{{25, 25}, kRedC}}},
      {"clipping rectangle",
       [](EmfWriter& w) { w.IntersectClipRect(0, 0, 50, 50).Rectangle(0, 0, 200, 120); },
       {{{25, 25}, kRedC}, {{100, 100}, Qt::white}}},
      {"pie counter-clockwise",
       [](EmfWriter& w) { w.Arc(47, 0, 0, 100, 100, 100, 50, 50, 0); },
       {{{75, 25}, kRedC}, {{25, 75}, Qt::white}}},
      {"pie clockwise",
       [](EmfWriter& w) { w.Record(57, {2}).Arc(47, 0, 0, 100, 100, 100, 50, 50, 0); },
       {{{75, 25}, Qt::white}, {{25, 75}, kRedC}}},
      {"chord",
       [](EmfWriter& w) { w.Arc(46, 0, 0, 100, 100, 100, 50, 50, 0); },
       {{{80, 20}, kRedC}, {{60, 40}, Qt::white}}},
      {"round rectangle",
       [](EmfWriter& w) { w.RoundRect(0, 0, 100, 100, 60, 60); },
       {{{50, 50}, kRedC}, {{3, 3}, Qt::white}}},
      {"stretched device-independent bitmap",
       [&](EmfWriter& w) { w.StretchDib(20, 20, 40, 40, quads); },
       {{{30, 30}, kRedC}, {{50, 30}, QColor(0, 255, 0)}, {{30, 50}, kBlueC}, {{50, 50}, Qt::black}}},
      {"block transfer of a bitmap",
       [&](EmfWriter& w) { w.BitBltDib(100, 20, quads8); },
       {{{102, 22}, kRedC}, {{106, 22}, QColor(0, 255, 0)}, {{102, 26}, kBlueC}, {{106, 26}, Qt::black}}},
      {"filled path",
       [](EmfWriter& w) {
         w.Record(59, {}).MoveTo(10, 10).LineTo(90, 10).LineTo(90, 90).Record(61, {}).Record(60, {}).Record(62, {});
       },
       {{{70, 30}, kRedC}, {{30, 70}, Qt::white}}},
      {"stretching block transfer",
       [&](EmfWriter& w) { w.StretchBltDib(120, 60, 40, 40, quads); },
       {{{130, 70}, kRedC}, {{150, 70}, QColor(0, 255, 0)}, {{130, 90}, kBlueC}, {{150, 90}, Qt::black}}},
      {"pattern brush from a bitmap",
       [&](EmfWriter& w) {
         w.CreatePatternBrush(2, {{0xFF0000, 0xFF0000, 0x0000FF, 0x0000FF}, {0xFF0000, 0xFF0000, 0x0000FF, 0x0000FF}});
         w.SelectObject(2).Rectangle(0, 0, 64, 16);
       },
       // Columns of two red and two blue pixels, repeating from the device's left edge.
       {{{0, 5}, kRedC}, {{1, 5}, kRedC}, {{2, 5}, kBlueC}, {{3, 5}, kBlueC}, {{40, 5}, kRedC}, {{43, 5}, kBlueC}}},
      {"Bezier curve, 32-bit points",
       [](EmfWriter& w) {
         w.CreatePen(3, 0, 8, kBlue).SelectObject(3).Points32(2, {{10, 100}, {10, 20}, {190, 20}, {190, 100}});
       },
       {{{100, 40}, kBlueC}, {{100, 100}, Qt::white}}},
      {"Bezier curve",
       [](EmfWriter& w) {
         w.CreatePen(3, 0, 8, kBlue).SelectObject(3).Points16(85, {{10, 100}, {10, 20}, {190, 20}, {190, 100}});
       },
       {{{100, 40}, kBlueC}, {{100, 100}, Qt::white}}},
  };
  for (const MappingCase& c : cases) {
    SCOPED_TRACE(c.name);
    EmfWriter w(200, 120);
    w.SelectObject(kNullPen).CreateBrush(1, 0, kRed).SelectObject(1);
    c.draw(w);
    const QImage img = RenderMetafile(Load(w.Finish()), QSize(200, 120));
    SaveRendering(img, std::string("case_") + c.name);
    for (const Probe& p : c.probes) {
      EXPECT_TRUE(Near(img.pixel(p.at), p.colour)) << "at " << p.at.x() << "," << p.at.y() << " " << Describe(img.pixel(p.at));
    }
  }
}

TEST(MetafilePlayer, TextAlignmentAndAdvances) {
  auto render = [](int align, std::vector<int32_t> dx, int bkMode = 1) {
    EmfWriter w(200, 120);
    w.CreateFont(1, -20, u"Liberation Sans", 700).SelectObject(1).SetBkMode(bkMode).SetTextAlign(align);
    w.SetBkColor(kYellow).SetTextColor(0);
    w.ExtTextOutW(100, 60, u"HH", 0, dx);
    return RenderMetafile(Load(w.Finish()), QSize(200, 120));
  };
  auto inkBox = [](const QImage& img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y) {
      for (int x = 0; x < img.width(); ++x) {
        if (CountDark(img, QRect(x, y, 1, 1)) != 0) box |= QRect(x, y, 1, 1);
      }
    }
    return box;
  };
  const QRect centred = inkBox(render(6 | 24, {}));  // centre, baseline
  EXPECT_NEAR(centred.center().x(), 100, 3);
  EXPECT_NEAR(centred.bottom(), 59, 2) << "the letters stand on the baseline";
  const QRect right = inkBox(render(2, {}));  // right, top
  EXPECT_LE(right.right(), 100);
  EXPECT_GE(right.top(), 61);
  const QImage spaced = render(0, {50, 50});
  SaveRendering(spaced, "text_advances");
  EXPECT_GT(CountDark(spaced, QRect(100, 60, 25, 25)), 0);
  EXPECT_EQ(CountDark(spaced, QRect(127, 60, 21, 25)), 0) << "the second letter starts 50 units on";
  EXPECT_GT(CountDark(spaced, QRect(150, 60, 25, 25)), 0);
  // An opaque background fills the text's cell in the background colour; a transparent one
  // leaves the picture alone.
  const QImage opaque = render(0, {}, 2);
  const QRect cell(100, 60, 30, 23);
  EXPECT_GT(CountNear(opaque, cell, kYellowC), cell.width() * cell.height() / 3);
  EXPECT_EQ(CountNear(opaque, QRect(100, 40, 30, 18), kYellowC), 0) << "nothing above the cell";
  EXPECT_EQ(CountNear(render(0, {}), cell, kYellowC), 0);
}

TEST(MetafilePlayer, WindowsMetafileFlippedWindowPieAndBitmap) {
  WmfWriter w;
  // y grows upwards: the window starts at the top edge (y 120) and extends downwards.
  w.SetMapMode(8).SetWindowOrg(0, 120).SetWindowExt(200, -120);
  w.CreatePen(5, 0, 0).SelectObject(0).CreateBrush(0, kRed).SelectObject(1);
  w.Rectangle(10, 110, 60, 70);                  // top left
  w.Pie(100, 120, 200, 20, 200, 70, 150, 120);   // quarter towards the top right
  w.StretchDib(20, 50, 40, -40, {{0xFF0000, 0x00FF00}, {0x0000FF, 0x000000}});
  const MetafilePicture p = Load(w.Placeable(0, 0, 200, 120, 96));
  const QImage img = RenderMetafile(p, QSize(200, 120));
  SaveRendering(img, "wmf_flipped");
  EXPECT_TRUE(Near(img.pixel(35, 30), kRedC)) << Describe(img.pixel(35, 30));
  EXPECT_TRUE(Near(img.pixel(175, 25), kRedC)) << "pie in the upper right " << Describe(img.pixel(175, 25));
  EXPECT_TRUE(Near(img.pixel(125, 75), Qt::white)) << Describe(img.pixel(125, 75));
  // The bitmap keeps its rows the right way up when the window is flipped and the height too.
  EXPECT_TRUE(Near(img.pixel(30, 80), kRedC)) << Describe(img.pixel(30, 80));
  EXPECT_TRUE(Near(img.pixel(50, 80), QColor(0, 255, 0))) << Describe(img.pixel(50, 80));
  EXPECT_TRUE(Near(img.pixel(30, 100), kBlueC)) << Describe(img.pixel(30, 100));
}

TEST(MetafilePlayer, CutFilesDrawWhatComesBeforeTheCut) {
  EmfWriter e(200, 120);
  e.SelectObject(kNullPen).CreateBrush(1, 0, kRed).SelectObject(1).Rectangle(10, 10, 60, 50);
  e.CreateBrush(2, 0, kGreen).SelectObject(2).Rectangle(100, 10, 150, 50);
  std::string emf = e.Finish();
  emf.resize(emf.size() - 20 - 12);  // the end record and half of the green rectangle go
  WmfWriter w;
  w.SetMapMode(8).SetWindowOrg(0, 0).SetWindowExt(200, 120);
  w.CreatePen(5, 0, 0).SelectObject(0).CreateBrush(0, kRed).SelectObject(1).Rectangle(10, 10, 60, 50);
  w.CreateBrush(0, kGreen).SelectObject(2).Rectangle(100, 10, 150, 50);
  std::string wmf = w.Plain();
  wmf.resize(wmf.size() - 6 - 4);
  for (const std::string& bytes : {emf, wmf}) {
    const QImage img = RenderMetafile(Load(bytes), QSize(200, 120));
    EXPECT_TRUE(Near(img.pixel(35, 30), kRedC)) << Describe(img.pixel(35, 30));
    EXPECT_TRUE(Near(img.pixel(125, 30), Qt::white)) << Describe(img.pixel(125, 30));
  }
}

TEST(MetafilePlayer, MalformedHeadersFailWithTheStepOfTheirKind) {
  std::string emf = EmfWriter(10, 10).Finish();
  std::string badEmf = emf;
  badEmf[0] = 2;  // first record is no header
  std::string wmf = WmfWriter().Plain();
  std::string badWmf = wmf;
  badWmf[2] = 7;  // header size
  std::string placeable = WmfWriter().Placeable(0, 0, 10, 10, 96);
  std::string badPlaceable = placeable;
  badPlaceable[22] = 9;  // the embedded metafile's type
  struct Case {
    const char* name;
    std::string bytes;
    PictureFailure failure;
    int32_t error;
  } cases[] = {
      {"enhanced", badEmf, PictureFailure::EnhancedLoad, reader_error::UnsupportedHeader},
      {"enhanced cut in its header", emf.substr(0, 60), PictureFailure::EnhancedLoad, reader_error::HeaderTruncated},
      {"placeable", badPlaceable, PictureFailure::PlaceableConvert, reader_error::UnsupportedHeader},
      {"placeable cut", placeable.substr(0, 30), PictureFailure::PlaceableConvert, reader_error::HeaderTruncated},
      {"plain", badWmf, PictureFailure::PlainLoad, reader_error::UnsupportedHeader},
      {"svg", "<svg xmlns='http://www.w3.org/2000/svg'><rect", PictureFailure::PlainLoad, reader_error::DecoderFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MetafilePicture p;
    const auto r = p.Load(ToBytes(c.bytes));
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.failure, c.failure);
    EXPECT_EQ(r.error, c.error);
    EXPECT_FALSE(p.IsLoaded());
  }
}
