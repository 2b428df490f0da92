#pragma once
// Window handles and device contexts cross the automation boundary as integers from the GUI
// foundation's handle table; the picture components take them by those names.

#include "common/gui/handle_table.h"

namespace zephra::graphics {
using common::gui::Handle;
using common::gui::HandleTable;
using common::gui::ScopedPainterHandle;
}  // namespace zephra::graphics
