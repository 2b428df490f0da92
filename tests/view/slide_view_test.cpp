#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "common/component_registry.h"
#include "common/prompts.h"
#include "common/string_res.h"
#include "document/view/slide_view.h"
#include "support/temp_home.h"

using namespace zephra;
using namespace zephra::document;
using common::Variant;

namespace {

// A picture component standing in for the picture library: a fixed pixel size, and a record
// of what it was asked to draw.
class FakePicture : public common::DispatchObject<FakePicture> {
 public:
  static inline int width = 300;
  static inline int height = 200;
  static inline std::vector<std::string> calls;
  std::string TypeName() const override { return "FakePicture"; }
  static const common::DispatchTable<FakePicture>& Table() {
    static const common::DispatchTable<FakePicture> t = [] {
      common::DispatchTable<FakePicture> t;
      t.Property(1, "Width", [](FakePicture&, common::Args&) { return Variant(width); });
      t.Property(2, "Height", [](FakePicture&, common::Args&) { return Variant(height); });
      t.Method(3, "Draw", [](FakePicture&, common::Args& a) {
        std::string call = "Draw";
        for (size_t i = 1; i < a.size(); ++i) call += " " + a[i].ToString();
        calls.push_back(call);
        return Variant();
      });
      t.Method(4, "ReleaseFile", [](FakePicture&, common::Args&) { return Variant(); });
      t.Method(5, "LoadFile", [](FakePicture&, common::Args& a) {
        calls.push_back("Load " + a[0].ToString());
        return Variant();
      });
      return t;
    }();
    return t;
  }
};

class SlideViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    common::SetLanguage(common::kLanguageEnglish);
    for (const char* id : {"VRDGraphics.Bitmap", "VRDGraphics.Metafile"}) {
      common::ComponentRegistry::Instance().Register({id, "{0}", "", true},
                                                     [] { return std::make_shared<FakePicture>(); }, false);
    }
    FakePicture::calls.clear();
    window.resize(1000, 800);
    host = new SlideHost(&window);
    host->setGeometry(0, 0, 1000, 800);
    owner = std::make_unique<SimpleSlideViewOwner>(host);
    view.Initialize(owner.get(), host, Images(48), Images(14));
    view.SetUnitsPerPixel(1, 1);
    window.show();
  }

  static std::vector<QPixmap> Images(int n) {
    std::vector<QPixmap> v;
    for (int i = 0; i < n; ++i) {
      QPixmap p(16, 16);
      p.fill(QColor(i, i, i));
      v.push_back(p);
    }
    return v;
  }

  std::shared_ptr<Slide> MakeSlide(const std::string& picture, int values = 0) {
    auto slide = std::make_shared<Slide>();
    slide->SetPictureFileUnchecked(picture);
    slide->SetPicturePosition(10, 10, 80, 80);
    auto icon = slide->Icons().Add();
    icon->SetFeatureName("LOC1");
    icon->SetLeft(100);
    icon->SetTop(100);
    icon->SetDrawLeader(true);
    icon->SetLeaderX(500);
    icon->SetLeaderY(500);
    for (int i = 0; i < values; ++i) icon->Values().Add();
    return slide;
  }

  // Shows the slide and lets the host paint once, which loads the picture.
  void Show(std::shared_ptr<Slide> slide) {
    view.SetSlide(std::move(slide));
    host->grab();
  }

  IconWindow* WindowOf(int i) { return qobject_cast<IconWindow*>(view.Views().Item(i).Window()); }

  zephra::testing::TempHome home;
  QWidget window;
  SlideHost* host = nullptr;
  std::unique_ptr<SimpleSlideViewOwner> owner;
  SlideView view;
};

}  // namespace

TEST_F(SlideViewTest, PictureRectanglesByKindOfPicture) {
  struct Case {
    const char* file;
    int32_t x0, y0, pw, ph;
    bool scaleable;
  };
  const Case cases[] = {
      {"/p/part.emf", 20, 16, 800, 640, true},
      {"/p/part.svg", 20, 16, 800, 640, true},
      {"/p/part.bmp", 70, 60, 300, 200, false},  // unscaled, at 10 % of the free space
      {"", 100, 80, 800, 640, false},
      {"/p/notes.txt", 100, 80, 800, 640, false},
  };
  for (const Case& c : cases) {
    Show(MakeSlide(c.file));
    int32_t x0, y0, pw, ph;
    view.PictureRect(x0, y0, pw, ph);
    EXPECT_EQ((std::vector<int32_t>{x0, y0, pw, ph}), (std::vector<int32_t>{c.x0, c.y0, c.pw, c.ph})) << c.file;
    EXPECT_EQ(view.IsScaleable(), c.scaleable) << c.file;
  }
  Show(MakeSlide("/p/part.emf"));
  int32_t x = 500, y = 500;
  view.ConvertPictureToHost(x, y);
  EXPECT_EQ(x, 420);
  EXPECT_EQ(y, 336);
  view.ConvertHostToPicture(x, y);
  EXPECT_EQ(x, 500);
  int32_t far = 5000, neg = -10;
  view.ConvertHostToPicture(far, neg);
  EXPECT_EQ(far, 1000);
  EXPECT_EQ(neg, 0);
  EXPECT_NE(std::find(FakePicture::calls.begin(), FakePicture::calls.end(), "Draw 20 16 800 640"),
            FakePicture::calls.end());
}

TEST_F(SlideViewTest, PicturePositionIsClampedAndHandedBack) {
  Show(MakeSlide(""));
  int16_t l = 90, t = -5, w = 120, h = 0;
  view.SetPicturePosition(l, t, w, h);
  EXPECT_EQ((std::vector<int16_t>{l, t, w, h}), (std::vector<int16_t>{0, 0, 100, 1}));
  int16_t sl, st, sw, sh;
  view.GetPicturePosition(sl, st, sw, sh);
  EXPECT_EQ((std::vector<int16_t>{sl, st, sw, sh}), (std::vector<int16_t>{0, 0, 100, 1}));
  EXPECT_EQ(owner->fileChanges, 1);
}

TEST_F(SlideViewTest, IconWindowsAreSizedByTheirRows) {
  for (int values : {0, 3}) {
    Show(MakeSlide("", values));
    IconWindow* w = WindowOf(1);
    const int row = std::max(16, QFontMetrics(w->font()).height());
    EXPECT_EQ(w->height(), values == 0 ? row + 6 : (values + 1) * row + 8) << values;
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->objectName(), QString("picIconView_%1").arg(w->Index()));
  }
}

TEST_F(SlideViewTest, StatesHaveTheirColours) {
  view.ColorWarningPlus = 0x000080;
  const std::pair<int32_t, int32_t> cases[] = {{-1, 0xFFFFFF}, {0, 0xFFFF00}, {1, 0x00FF00}, {2, 0x00FFFF},
                                               {3, 0x000080},  {5, 0x0000FF}, {9, 0xFFFF00}, {-7, 0xFFFF00}};
  for (const auto& [state, colour] : cases) EXPECT_EQ(view.StateColor(state), colour) << state;
  // A row painted in the state's colour.
  auto slide = MakeSlide("", 2);
  slide->Icons().Item(1)->Values().Item(1)->SetTOLERANCE(1);
  slide->Icons().Item(1)->Values().Item(2)->SetTOLERANCE(-1);
  Show(slide);
  IconWindow* w = WindowOf(1);
  const QImage img = w->grab().toImage();
  const int row = std::max(16, QFontMetrics(w->font()).height());
  EXPECT_EQ(img.pixelColor(w->width() - 8, row + 6), QColor(0, 255, 0));
  EXPECT_EQ(img.pixelColor(w->width() - 8, 2 * row + 6), QColor(255, 255, 255));
  // Any system colour fills as the button face.
  view.ColorOK = static_cast<int32_t>(0x80000005u);
  const QImage face = w->grab().toImage();
  EXPECT_EQ(face.pixelColor(w->width() - 8, row + 6), QColor(240, 240, 240));
}

TEST_F(SlideViewTest, EditorAndMonitorShowDifferentValueTexts) {
  auto slide = MakeSlide("", 1);
  auto value = slide->Icons().Item(1)->Values().Item(1);
  value->SetNominal(25);
  value->SetColumn(1);
  Show(slide);
  IconView& v = view.Views().Item(1);
  view.SetMonitorTexts(false);
  ASSERT_EQ(slide->Icons().Item(1)->DisplayDigits(), 4);
  EXPECT_EQ(v.ValueText(*value), " 25.0000");  // the column's number, 4 digits, padded to 8
  view.SetMonitorTexts(true);
  EXPECT_EQ(v.ValueText(*value), "        ");  // no result yet
  value->SetCurrentValue(Variant(25.01234));
  // The monitor formats the evaluated text, which carries the value's own decimals (3).
  EXPECT_EQ(v.ValueText(*value), " 25.0120");
}

TEST_F(SlideViewTest, DraggingAnIconPastTheRightEdgeStopsAtTheEdge) {
  Show(MakeSlide("", 1));
  IconWindow* w = WindowOf(1);
  const QPoint start(5, 5);
  QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, start);
  QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(2000, 0)), w->mapToGlobal(QPointF(start + QPoint(2000, 0))),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &move);
  EXPECT_TRUE(view.Overlay()->Showing());
  EXPECT_EQ(view.Overlay()->Frame().size(), w->size());
  QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, start + QPoint(2000, 0));
  EXPECT_FALSE(view.Overlay()->Showing());
  EXPECT_EQ(w->geometry().right(), host->width() - 1);
  EXPECT_EQ(view.Views().Item(1).GetIcon()->Left(), static_cast<int32_t>(std::lround((1000.0 - w->width()) * 1000 / 1000)));
  EXPECT_EQ(view.Views().Item(1).GetIcon()->Top(), 100);
  EXPECT_EQ(owner->fileChanges, 1);
}

TEST_F(SlideViewTest, AClickChangesNothingAndRightClicksSignalTheIcon) {
  Show(MakeSlide("", 1));
  IconWindow* w = WindowOf(1);
  const QPoint before = w->pos();
  QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_EQ(w->pos(), before);
  EXPECT_EQ(owner->fileChanges, 0);
  EXPECT_EQ(owner->iconSignals, 0);
  QTest::mouseClick(w, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_EQ(owner->iconSignals, 1);
  view.SetLocked(true);
  QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_EQ(owner->iconSignals, 2);
  EXPECT_EQ(owner->fileChanges, 0);
}

TEST_F(SlideViewTest, TheCursorBecomesACrossNearALeaderTarget) {
  Show(MakeSlide("/p/part.emf"));  // target at (420, 336)
  const std::pair<QPoint, Qt::CursorShape> cases[] = {{{423, 336}, Qt::CrossCursor},
                                                      {{424, 336}, Qt::ArrowCursor},
                                                      {{417, 333}, Qt::CrossCursor},
                                                      {{420, 340}, Qt::ArrowCursor}};
  for (const auto& [point, shape] : cases) {
    QTest::mouseMove(host, point);
    QMouseEvent move(QEvent::MouseMove, QPointF(point), host->mapToGlobal(QPointF(point)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(host, &move);
    EXPECT_EQ(host->cursor().shape(), shape) << point.x() << "," << point.y();
  }
}

TEST_F(SlideViewTest, DraggingALeaderTargetMovesItInPictureThousandths) {
  Show(MakeSlide("/p/part.emf"));
  QTest::mousePress(host, Qt::LeftButton, Qt::NoModifier, QPoint(421, 335));
  const QPoint to(620, 496);
  QMouseEvent move(QEvent::MouseMove, QPointF(to), host->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(host, &move);
  EXPECT_EQ(view.Overlay()->Square(), QRect(619, 495, 3, 3));
  QTest::mouseRelease(host, Qt::LeftButton, Qt::NoModifier, to);
  auto icon = view.Views().Item(1).GetIcon();
  EXPECT_EQ(icon->LeaderX(), 750);  // (620 - 20) * 1000 / 800
  EXPECT_EQ(icon->LeaderY(), 750);  // (496 - 16) * 1000 / 640
  EXPECT_EQ(owner->fileChanges, 1);
  // Away from every target the press is left to the owner.
  EXPECT_FALSE(view.HostMouseDown(kLeftButton, 0, 10, 10));
}

TEST_F(SlideViewTest, TestRepaintRepaintsOnlyChangedIcons) {
  auto slide = MakeSlide("", 1);
  auto second = slide->Icons().Add();
  second->Values().Add();
  second->SetLeft(600);  // apart from the first, so one's repaint does not expose the other
  second->SetTop(600);
  Show(slide);
  QApplication::processEvents();
  IconView& a = view.Views().Item(1);
  IconView& b = view.Views().Item(2);
  a.GetIcon()->SetFeatureName("LOC9");  // counts a version
  const int paintsA = a.PaintCount(), paintsB = b.PaintCount();
  view.TestRepaint();
  QApplication::processEvents();
  EXPECT_GT(a.PaintCount(), paintsA);
  EXPECT_EQ(b.PaintCount(), paintsB);
  const int again = a.PaintCount();
  view.TestRepaint();
  QApplication::processEvents();
  EXPECT_EQ(a.PaintCount(), again);
}

TEST_F(SlideViewTest, TitleComesFromAnInputBoxAndCancelEmptiesIt) {
  auto scripted = std::make_shared<common::ScriptedPrompts>();
  auto old = common::SetPrompts(scripted);
  Show(MakeSlide(""));
  scripted->AnswerText("Top view");
  view.UpdateTitle();
  EXPECT_EQ(view.CurrentSlide()->Name(), "Top view");
  scripted->AnswerCancel();
  view.UpdateTitle();
  EXPECT_EQ(view.CurrentSlide()->Name(), "");
  EXPECT_EQ(scripted->Records()[0].title, common::GetMessage(30129));
  common::SetPrompts(old);
}
