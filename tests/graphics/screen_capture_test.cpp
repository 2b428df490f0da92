#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <filesystem>

#include "graphics/bitmap_reader.h"
#include "graphics/dib.h"
#include "graphics/handles.h"
#include "graphics/screen_capture.h"
#include "render_support.h"
#include "support/temp_home.h"

using namespace zephra::graphics;
using namespace zephra::testing;
using zephra::common::Variant;

namespace {

// A red window with a green child at (20, 20), 30 x 20.
struct TestWindow {
  QWidget window;
  QWidget* child;
  TestWindow() : child(new QWidget(&window)) {
    Paint(&window, Qt::red);
    Paint(child, QColor(0, 200, 0));
    window.resize(120, 80);
    child->setGeometry(20, 20, 30, 20);
  }
  static void Paint(QWidget* w, QColor c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
  }
  void ShowAt(QPoint where) {
    window.move(where);
    window.show();
    QApplication::processEvents();
  }
};

uint32_t U32(const std::string& s, size_t o) {
  return static_cast<uint8_t>(s[o]) | (static_cast<uint8_t>(s[o + 1]) << 8) | (static_cast<uint8_t>(s[o + 2]) << 16) |
         (static_cast<uint32_t>(static_cast<uint8_t>(s[o + 3])) << 24);
}

}  // namespace

TEST(ScreenCapture, SavesNothingBeforeACapture) {
  TempDir dir;
  ScreenCapture capture;
  EXPECT_FALSE(capture.CallByName("SaveToFile", {Variant(dir.File("screen.bmp"))}).ToBool());
  EXPECT_FALSE(std::filesystem::exists(dir.File("screen.bmp")));
  EXPECT_FALSE(capture.CaptureWindow(0));
  EXPECT_FALSE(capture.CaptureWindow(987654));
}

TEST(ScreenCapture, CapturesAWindowAndWritesItAsABmpFile) {
  TempDir dir;
  TestWindow w;
  w.ShowAt(QPoint(30, 40));
  ScreenCapture capture;
  const Handle hWnd = HandleTable::Instance().HandleOf(&w.window);
  EXPECT_EQ(HandleTable::Instance().HandleOf(&w.window), hWnd) << "one handle per window";
  ASSERT_TRUE(capture.CallByName("CaptureWindow", {Variant(hWnd)}).ToBool());
  ASSERT_TRUE(capture.SaveToFile(dir.File("screen.bmp")));

  // The window's rectangle includes the frame the window system puts around it.
  const QRect frame = w.window.frameGeometry();
  const QPoint client = w.window.geometry().topLeft() - frame.topLeft();
  const std::string file = ReadAll(dir.File("screen.bmp"));
  const QByteArray& dib = capture.Dib();
  ASSERT_EQ(file.size(), static_cast<size_t>(dib.size()) + 14);
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(U32(file, 2), file.size());
  EXPECT_EQ(U32(file, 6), 0u);
  EXPECT_EQ(U32(file, 10), 14u + 40u) << "24 bits per pixel: no colour table";
  EXPECT_EQ(file.substr(14), std::string(dib.constData(), static_cast<size_t>(dib.size())));
  EXPECT_EQ(U32(file, 14), 40u);
  EXPECT_EQ(U32(file, 18), static_cast<uint32_t>(frame.width()));
  EXPECT_EQ(U32(file, 22), static_cast<uint32_t>(frame.height()));
  EXPECT_EQ(U32(file, 28) & 0xFFFF, 24u);

  const BitmapResult back = ReadBitmapFile(dir.File("screen.bmp"));
  ASSERT_TRUE(back.ok());
  SaveRendering(back.image, "screen_capture");
  EXPECT_TRUE(Near(back.image.pixel(client + QPoint(5, 5)), Qt::red, 0)) << Describe(back.image.pixel(client + QPoint(5, 5)));
  EXPECT_TRUE(Near(back.image.pixel(client + QPoint(30, 25)), QColor(0, 200, 0), 0));
  EXPECT_TRUE(Near(back.image.pixel(client + QPoint(119, 79)), Qt::red, 0));

  // The child window alone.
  ASSERT_TRUE(capture.CaptureWindow(HandleTable::Instance().HandleOf(w.child)));
  DibHeader h;
  ParseDibHeader(AsBytes(capture.Dib()), h);
  EXPECT_EQ(h.width, 30);
  EXPECT_EQ(h.height, 20);

  capture.CallByName("Empty");
  EXPECT_FALSE(capture.SaveToFile(dir.File("again.bmp")));
}

TEST(ScreenCapture, KeepsOnlyWhatIsOnTheScreen) {
  TestWindow w;
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  w.ShowAt(QPoint(screen.right() + 1 - 50, screen.bottom() + 1 - 30));
  ScreenCapture capture;
  ASSERT_TRUE(capture.CaptureWindow(HandleTable::Instance().HandleOf(&w.window)));
  DibHeader h;
  ParseDibHeader(AsBytes(capture.Dib()), h);
  EXPECT_EQ(h.width, 50);
  EXPECT_EQ(h.height, 30);

  // A window wholly off the screen captures nothing, and a destroyed one is no window.
  w.window.move(screen.right() + 100, 0);
  EXPECT_FALSE(capture.CaptureWindow(HandleTable::Instance().HandleOf(&w.window)));
  const Handle child = HandleTable::Instance().HandleOf(w.child);
  delete w.child;
  EXPECT_FALSE(capture.CaptureWindow(child));
  EXPECT_EQ(HandleTable::Instance().Widget(child), nullptr);
}
