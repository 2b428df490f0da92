#include "screen_capture.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <cstdio>

#include "dib.h"

namespace zephra::graphics {

using common::Args;
using common::Variant;

namespace {

// Pieces in which the file is written.
constexpr size_t kWriteChunk = 16384;
// What the window manager draws around a top-level window is not the suite's to render; that
// margin shows the button-face colour.
const QColor kFrameColour(240, 240, 240);

void Put16(char* p, uint16_t v) {
  p[0] = static_cast<char>(v & 0xFF);
  p[1] = static_cast<char>(v >> 8);
}
void Put32(char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

const common::DispatchTable<ScreenCapture>& ScreenCapture::Table() {
  static const common::DispatchTable<ScreenCapture> table = [] {
    common::DispatchTable<ScreenCapture> t;
    t.Method(kCaptureWindow, "CaptureWindow", [](ScreenCapture& s, Args& args) {
      const Variant& h = common::Arg(args, 0);
      return Variant(s.CaptureWindow(h.IsMissing() ? 0 : h.ToLong()));
    });
    t.Method(kSaveToFile, "SaveToFile", [](ScreenCapture& s, Args& args) {
      const Variant& name = common::Arg(args, 0);
      if (name.IsMissing()) common::RaisePlatformError(common::err::ArgumentNotOptional, "VRDGraphics.ScreenCapture");
      return Variant(s.SaveToFile(name.ToString()));
    });
    t.Method(kEmpty, "Empty", [](ScreenCapture& s, Args&) {
      s.Empty();
      return Variant();
    });
    return t;
  }();
  return table;
}

int ScreenCapture::CaptureDepth(int displayDepth) {
  if (displayDepth <= 1) return 1;
  if (displayDepth <= 4) return 4;
  if (displayDepth <= 8) return 8;
  return 24;
}

bool ScreenCapture::CaptureWindow(Handle hWnd) {
  QWidget* widget = HandleTable::Instance().Widget(hWnd);
  if (!widget) return false;
  const bool topLevel = widget->isWindow();
  const QRect rect = topLevel ? widget->frameGeometry() : QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
  if (rect.isEmpty()) return false;
  QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
  if (!screen) return false;
  const QRect visible = rect.intersected(screen->geometry());
  if (visible.isEmpty()) return false;

  QImage shot(rect.size(), QImage::Format_RGB32);
  shot.fill(kFrameColour);
  {
    QPainter painter(&shot);
    const QPoint client = topLevel ? widget->geometry().topLeft() - rect.topLeft() : QPoint(0, 0);
    widget->render(&painter, client, QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
  }
  QByteArray dib = EncodeDib(shot.copy(visible.translated(-rect.topLeft())), CaptureDepth(screen->depth()));
  if (dib.isEmpty()) return false;
  dib_ = std::move(dib);
  return true;
}

bool ScreenCapture::SaveToFile(const std::string& fileName) const {
  if (dib_.size() < 40) return false;
  DibHeader header;
  ParseDibHeader({reinterpret_cast<const uint8_t*>(dib_.constData()), static_cast<size_t>(dib_.size())}, header);
  char fileHeader[14];
  fileHeader[0] = 'B';
  fileHeader[1] = 'M';
  Put32(fileHeader + 2, static_cast<uint32_t>(dib_.size()) + 14);
  Put16(fileHeader + 6, 0);
  Put16(fileHeader + 8, 0);
  Put32(fileHeader + 10, 14 + header.size + 4 * DibColourCount(header));

  std::FILE* f = std::fopen(fileName.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(fileHeader, 1, sizeof fileHeader, f) == sizeof fileHeader;
  const size_t total = static_cast<size_t>(dib_.size());
  for (size_t at = 0; ok && at < total; at += kWriteChunk) {
    const size_t n = std::min(kWriteChunk, total - at);
    ok = std::fwrite(dib_.constData() + at, 1, n, f) == n;
  }
  if (std::fclose(f) != 0) ok = false;
  return ok;
}

}  // namespace zephra::graphics
