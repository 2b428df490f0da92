#include "screen_res.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "common/number_text.h"

namespace zephra::common::gui {

void ScreenRes::Initialize(int32_t screenWidthTwips, int32_t twipsPerPixel) {
  if (twipsPerPixel <= 0) twipsPerPixel = 15;
  screenWidthPix_ = static_cast<int16_t>(screenWidthTwips / twipsPerPixel);
  if (screenWidthPix_ == 640) {
    picButtonWidth_ = 2400, picButtonHeight_ = 840, cmdButtonWidth_ = 825, cmdButtonHeight_ = 540;
    cmdButtonFontSize_ = 8, titleFontSize_ = 18, labelFontSize_ = 10;
  } else if (screenWidthPix_ == 800) {
    picButtonWidth_ = 3120, picButtonHeight_ = 1092;
    cmdButtonWidth_ = static_cast<int16_t>(RoundHalfEven(1072.5));
    cmdButtonHeight_ = 702, cmdButtonFontSize_ = 12, titleFontSize_ = 24, labelFontSize_ = 10;
  } else {
    picButtonWidth_ = 3840, picButtonHeight_ = 1344, cmdButtonWidth_ = 1320, cmdButtonHeight_ = 864;
    cmdButtonFontSize_ = 14, titleFontSize_ = 24, labelFontSize_ = 12;
  }
}

void ScreenRes::InitializeFromScreen() { Initialize(ScreenWidthTwips(), TwipsPerPixel()); }

int32_t TwipsPerPixel() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
  return std::max(1, static_cast<int32_t>(std::lround(1440.0 / (dpi > 0 ? dpi : 96.0))));
}

int32_t ScreenWidthTwips() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int width = screen ? screen->geometry().width() : 1024;
  return width * TwipsPerPixel();
}

int TwipsToPixels(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixel())); }

double PixelsToTwips(int pixels) { return static_cast<double>(pixels) * TwipsPerPixel(); }

}  // namespace zephra::common::gui
