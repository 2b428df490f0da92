#pragma once
// Sizes of the touch buttons and fonts, chosen by the width of the screen.

#include <cstdint>

namespace zephra::common::gui {

class ScreenRes {
 public:
  // Picks the row of the table for the screen: widthTwips \ twipsPerPixel pixels.
  void Initialize(int32_t screenWidthTwips, int32_t twipsPerPixel);
  // Initialises from the primary screen of the running application.
  void InitializeFromScreen();

  int16_t PicButtonWidth() const { return picButtonWidth_; }
  int16_t PicButtonHeight() const { return picButtonHeight_; }
  int16_t CmdButtonWidth() const { return cmdButtonWidth_; }
  int16_t CmdButtonHeight() const { return cmdButtonHeight_; }
  int16_t CmdButtonFontSize() const { return cmdButtonFontSize_; }
  int16_t TitleFontSize() const { return titleFontSize_; }
  int16_t LabelFontSize() const { return labelFontSize_; }
  int16_t ScreenWidthPix() const { return screenWidthPix_; }

 private:
  // The 800-pixel row until Initialize runs.
  int16_t picButtonWidth_ = 3120;
  int16_t picButtonHeight_ = 1092;
  int16_t cmdButtonWidth_ = 1072;
  int16_t cmdButtonHeight_ = 702;
  int16_t cmdButtonFontSize_ = 12;
  int16_t titleFontSize_ = 24;
  int16_t labelFontSize_ = 10;
  int16_t screenWidthPix_ = 800;
};

// Twips per pixel of the primary screen (1440 / logical dots per inch).
int32_t TwipsPerPixel();
// The primary screen's width in twips.
int32_t ScreenWidthTwips();
// Twips to pixels and back with the screen's twips per pixel.
int TwipsToPixels(double twips);
double PixelsToTwips(int pixels);

}  // namespace zephra::common::gui
