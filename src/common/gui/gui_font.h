#pragma once
// Fonts: the system GUI face for every window, and the font names the suite's files use mapped
// to faces this platform has.

class QWidget;

namespace zephra::common::gui {

// Sets the system's GUI face on the window and every control, keeping bold, italic and size,
// then raises small sizes: below 9 points for Chinese, Japanese and Korean, up to 8 otherwise.
void ApplyGuiFont(QWidget* window);
// "Courier New" to Liberation Mono, "Arial" to Liberation Sans, "MS Sans Serif" to the
// desktop's sans-serif face. Called once when a program starts.
void InstallFontSubstitutions();

}  // namespace zephra::common::gui
