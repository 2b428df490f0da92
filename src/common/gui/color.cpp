#include "color.h"

namespace zephra::common::gui {

namespace {
// The platform's default system colours by index.
QColor SystemColor(uint32_t index) {
  switch (index) {
    case 0: return QColor(200, 200, 200);   // scroll bar
    case 1: return QColor(0, 0, 0);         // desktop
    case 2: return QColor(153, 180, 209);   // active caption
    case 3: return QColor(191, 205, 219);   // inactive caption
    case 4: return QColor(240, 240, 240);   // menu
    case 5: return QColor(255, 255, 255);   // window
    case 6: return QColor(100, 100, 100);   // window frame
    case 7: return QColor(0, 0, 0);         // menu text
    case 8: return QColor(0, 0, 0);         // window text
    case 9: return QColor(0, 0, 0);         // caption text
    case 10: return QColor(180, 180, 180);  // active border
    case 11: return QColor(244, 247, 252);  // inactive border
    case 12: return QColor(171, 171, 171);  // application workspace
    case 13: return QColor(0, 120, 215);    // highlight
    case 14: return QColor(255, 255, 255);  // highlight text
    case 15: return QColor(240, 240, 240);  // button face
    case 16: return QColor(160, 160, 160);  // button shadow
    case 17: return QColor(109, 109, 109);  // grey text
    case 18: return QColor(0, 0, 0);        // button text
    case 19: return QColor(0, 0, 0);        // inactive caption text
    case 20: return QColor(255, 255, 255);  // 3D highlight
    case 21: return QColor(105, 105, 105);  // 3D dark shadow
    case 22: return QColor(227, 227, 227);  // 3D light
    case 23: return QColor(0, 0, 0);        // tooltip text
    case 24: return QColor(255, 255, 225);  // tooltip background
    default: return QColor(255, 255, 255);
  }
}
}  // namespace

QColor ToQColor(uint32_t color) {
  if (color & 0x80000000u) return SystemColor(color & 0xFFu);
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

uint32_t FromQColor(const QColor& c) {
  return static_cast<uint32_t>(c.red()) | (static_cast<uint32_t>(c.green()) << 8) |
         (static_cast<uint32_t>(c.blue()) << 16);
}

}  // namespace zephra::common::gui
