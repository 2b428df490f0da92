#pragma once
// The screen-capture component: copies what a window of the suite shows into a
// device-independent bitmap held in memory, and writes it as a BMP file (for printing).

#include <QByteArray>
#include <string>

#include "common/dispatch.h"
#include "handles.h"

namespace zephra::graphics {

class ScreenCapture : public common::DispatchObject<ScreenCapture> {
 public:
  static constexpr common::DispId kCaptureWindow = 1;
  static constexpr common::DispId kSaveToFile = 2;
  static constexpr common::DispId kEmpty = 3;

  static const common::DispatchTable<ScreenCapture>& Table();
  std::string TypeName() const override { return "ScreenCapture"; }

  // Captures the part of the window's screen rectangle that lies on its screen; false when
  // hWnd is no window or nothing of it is on the screen (the previous capture is then kept).
  bool CaptureWindow(Handle hWnd);
  // A 14-byte file header and the held bitmap; false when nothing is held or writing fails.
  bool SaveToFile(const std::string& fileName) const;
  void Empty() { dib_.clear(); }

  // The held bitmap: 40-byte header, colour table, rows. Empty when none is held.
  const QByteArray& Dib() const { return dib_; }

  // The depth a capture is held in for a display depth: 1, 4, 8, or 24 above 8.
  static int CaptureDepth(int displayDepth);

 private:
  QByteArray dib_;
};

}  // namespace zephra::graphics
