#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "common/gui/color.h"
#include "common/gui/form_message_box.h"
#include "common/gui/help_window.h"
#include "common/gui/qt_prompts.h"
#include "common/gui/screen_res.h"
#include "common/string_res.h"
#include "support/temp_home.h"

using namespace zephra::common;
using namespace zephra::common::gui;

namespace {

// Twips to compare against laid-out sizes: one pixel of rounding either way.
constexpr int kTpp = 15;

ScreenRes Screen(int pixels) {
  ScreenRes r;
  r.Initialize(pixels * kTpp, kTpp);
  return r;
}

}  // namespace

TEST(ScreenRes, RowsByScreenWidth) {
  struct Row {
    int pixels;
    int16_t pw, ph, cw, ch, cf, tf, lf;
  };
  const Row rows[] = {{640, 2400, 840, 825, 540, 8, 18, 10},
                      {800, 3120, 1092, 1072, 702, 12, 24, 10},
                      {1024, 3840, 1344, 1320, 864, 14, 24, 12},
                      {1920, 3840, 1344, 1320, 864, 14, 24, 12}};
  for (const Row& row : rows) {
    const ScreenRes r = Screen(row.pixels);
    EXPECT_EQ(r.ScreenWidthPix(), row.pixels);
    EXPECT_EQ(r.PicButtonWidth(), row.pw);
    EXPECT_EQ(r.PicButtonHeight(), row.ph);
    EXPECT_EQ(r.CmdButtonWidth(), row.cw);
    EXPECT_EQ(r.CmdButtonHeight(), row.ch);
    EXPECT_EQ(r.CmdButtonFontSize(), row.cf);
    EXPECT_EQ(r.TitleFontSize(), row.tf);
    EXPECT_EQ(r.LabelFontSize(), row.lf);
  }
  const ScreenRes before;
  EXPECT_EQ(before.CmdButtonWidth(), 1072);
  EXPECT_EQ(before.ScreenWidthPix(), 800);
}

TEST(FormMessageBox, AOneWordOkBoxHasTheMinimumSize) {
  FormMessageBox box(Screen(1024), kTpp);
  box.Prepare("Done", mb::OK, "Title");
  EXPECT_EQ(box.WidthTwips(), 3700);
  EXPECT_GE(box.HeightTwips(), 1080);
  EXPECT_NEAR(box.width() * kTpp, 3700, kTpp);
  ASSERT_EQ(box.Buttons().size(), 1u);
  EXPECT_EQ(box.Buttons()[0]->text(), "OK");
  // The last button's left edge stands a button width and a margin from the right edge.
  EXPECT_NEAR((box.width() - box.Buttons()[0]->geometry().left()) * kTpp, 1320 + 150, kTpp);
}

TEST(FormMessageBox, LongTextWrapsAtScreenWidthLessMargins) {
  FormMessageBox box(Screen(1024), kTpp);
  std::string text;
  for (int i = 0; i < 60; ++i) text += "measurement ";
  box.Prepare(text, mb::OK | mb::Exclamation, "Title");
  EXPECT_EQ(box.WidthTwips(), 1024 * kTpp - 3000);
  const QLabel* label = box.MessageLabel();
  EXPECT_GT(label->height(), label->fontMetrics().height() * 2);  // several lines
  EXPECT_LE(label->geometry().right() * kTpp, 1024 * kTpp - 3000);
}

TEST(FormMessageBox, DefaultButtonHasFocusAndButtonsAnswerTheirCodes) {
  FormMessageBox box(Screen(1024), kTpp);
  QTimer::singleShot(0, [&] {
    QPushButton* focused = qobject_cast<QPushButton*>(box.focusWidget());
    if (!focused) {
      ADD_FAILURE() << "no button has the focus";
      box.done(0);
      return;
    }
    EXPECT_EQ(focused->text(), "No");
    EXPECT_TRUE(focused->isDefault());
    QTest::mouseClick(focused, Qt::LeftButton);
  });
  EXPECT_EQ(box.Initialize("Overwrite?", mb::YesNo | mb::DefaultButton2, "Export"), answer::No);
  EXPECT_EQ(box.ReturnCode(), answer::No);

  // Two buttons with the third asked as default keep the first.
  FormMessageBox second(Screen(1024), kTpp);
  QTimer::singleShot(0, [&] {
    auto* focused = qobject_cast<QPushButton*>(second.focusWidget());
    EXPECT_TRUE(focused && focused->text() == "OK");
    QTest::keyClick(&second, Qt::Key_Escape);
  });
  EXPECT_EQ(second.Initialize("Go on?", mb::OKCancel | mb::DefaultButton3, "T"), answer::Cancel);
}

TEST(FormMessageBox, EscapeDoesNothingWithoutACancelButton) {
  FormMessageBox box(Screen(1024), kTpp);
  QTimer::singleShot(0, [&] {
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_TRUE(box.isVisible());
    QTest::mouseClick(box.Buttons()[1], Qt::LeftButton);
  });
  EXPECT_EQ(box.Initialize("Save?", mb::YesNo, "T"), answer::No);
}

TEST(FormMessageBox, HostModePressesTheHostDialogsButton) {
  std::vector<std::pair<int64_t, int>> pressed;
  FormMessageBox::SetHostButtonPresser([&](int64_t w, int code) { pressed.emplace_back(w, code); });
  auto* box = new FormMessageBox(Screen(1024), kTpp);
  box->QVXInitialize(77, "Load the part.", mb::OKCancel, "Quarvex Message");
  QTest::qWait(50);
  ASSERT_TRUE(box->isVisible());
  EXPECT_FALSE(box->isModal());
  QTest::mouseClick(box->Buttons()[0], Qt::LeftButton);
  EXPECT_EQ(pressed, (std::vector<std::pair<int64_t, int>>{{77, answer::OK}}));
  FormMessageBox::SetHostButtonPresser(nullptr);
  QTest::qWait(10);
}

TEST(FormMessageBox, ABoxWithoutButtonsStillCloses) {
  FormMessageBox box(Screen(1024), kTpp);
  QTimer::singleShot(0, [&] { QTest::keyClick(&box, Qt::Key_Escape); });
  EXPECT_EQ(box.Initialize("Odd options", 6, "T"), 0);
  EXPECT_TRUE(box.Buttons().empty());
}

TEST(Colors, SystemColoursHaveFixedValues) {
  EXPECT_EQ(ToQColor(0x8000000F), QColor(240, 240, 240));
  EXPECT_EQ(ToQColor(0x80000005), QColor(255, 255, 255));
  EXPECT_EQ(ToQColor(0x000000FF), QColor(255, 0, 0));
  EXPECT_EQ(ToQColor(65280), QColor(0, 255, 0));
  EXPECT_EQ(FromQColor(QColor(0, 255, 255)), 16776960u);
}

TEST(QtPrompts, FilterListsBecomeQtFilters) {
  EXPECT_EQ(DialogFilter("Slide shows (*.zep;*.zpx)|*.zep;*.zpx|All files (*.*)|*.*"),
            "Slide shows (*.zep *.zpx);;All files (*.*)");
  EXPECT_EQ(DialogSelectedFilter("Pictures|*.bmp|All|*.*", 2), "All (*.*)");
  EXPECT_EQ(DialogSelectedFilter("Pictures|*.bmp|All|*.*", 9), "Pictures (*.bmp)");
}

TEST(HelpWindow, TopicsOpenAtTheirAnchorsAndNothingHappensWithoutAFile) {
  zephra::testing::TempDir data;
  data.Write("lang/ENU30000.txt", "30000\tx\n");
  data.Write("help/zepENU.html",
             "<html><head><title>Operator help</title></head><body><h1>Contents</h1>"
             "<p style='margin-top:2000px'><a id='31007'></a>Results</p></body></html>");
  ::setenv("ZEPHRA_DATA_DIR", data.Path().c_str(), 1);
  ClearHelpFile();
  ShowHelpTopic(nullptr, 31007);
  EXPECT_EQ(CurrentHelpWindow(), nullptr);
  ASSERT_TRUE(SelectHelpFile(kLanguageEnglish, "zep"));
  ShowHelpTopic(nullptr, 31007);
  HelpWindow* w = CurrentHelpWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->CurrentTopic(), 31007);
  EXPECT_EQ(w->Browser()->source().fragment(), "31007");
  EXPECT_EQ(w->windowTitle(), "Operator help");
  ShowHelpOnHelp(nullptr);
  EXPECT_EQ(w->CurrentTopic(), kHelpTopicOnHelp);
  CloseHelp();
  QTest::qWait(10);
  EXPECT_EQ(CurrentHelpWindow(), nullptr);
  ClearHelpFile();
  ::unsetenv("ZEPHRA_DATA_DIR");
}
