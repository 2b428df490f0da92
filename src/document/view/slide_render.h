#pragma once
// One slide drawn offscreen into an image, the way the monitor or the editor shows it.

#include <QImage>
#include <QSize>
#include <memory>
#include <string>

#include "document/slide_show.h"

namespace zephra::document {

class SlideView;

enum class RenderView { Monitor, Editor };

// Sets the state colours of a view from a monitor key (USER_ZEP\ShowMonitor0 and its siblings),
// each with its default where the setting is missing or unreadable.
void ApplyMonitorColors(SlideView& view, const std::string& monitorKey);

// Draws slide n (1-based) of the show into a slide area of the size in pixels: the monitor's
// view is locked, shows evaluated texts and the colours of ShowMonitor0; the editor's shows the
// numbers of the value columns. Needs a QApplication and the picture components registered.
QImage RenderSlide(const SlideShow& show, int32_t slideIndex, QSize size, RenderView kind);

}  // namespace zephra::document
