#pragma once
// The suite's colours: 0x00BBGGRR, or a system colour by its low byte when the top bit is set.

#include <QColor>
#include <cstdint>

namespace zephra::common::gui {

// System colours have fixed values so pictures look the same under every style.
QColor ToQColor(uint32_t color);
// A colour as the suite stores it (never a system colour).
uint32_t FromQColor(const QColor& color);

}  // namespace zephra::common::gui
