#include "slide_render.h"

#include <QWidget>

#include "common/reg_entry.h"
#include "slide_view.h"

namespace zephra::document {

void ApplyMonitorColors(SlideView& view, const std::string& monitorKey) {
  struct Setting {
    const char* name;
    int32_t fallback;
    int32_t SlideView::*colour;
  };
  const Setting settings[] = {
      {"OKColor", 65280, &SlideView::ColorOK},
      {"EmptyColor", 16776960, &SlideView::ColorEmpty},
      {"WarningColor", 65535, &SlideView::ColorWarning},
      {"WarningPlusColor", 65535, &SlideView::ColorWarningPlus},
      {"WarningMinusColor", 65535, &SlideView::ColorWarningMinus},
      {"ErrorColor", 255, &SlideView::ColorError},
      {"ErrorPlusColor", 255, &SlideView::ColorErrorPlus},
      {"ErrorMinusColor", 255, &SlideView::ColorErrorMinus},
  };
  common::RegEntry reg;
  bool open = false;
  try {
    if (reg.TestKey(monitorKey)) {
      reg.OpenKey(monitorKey);
      open = true;
    }
  } catch (...) {
    open = false;
  }
  for (const Setting& s : settings) {
    view.*(s.colour) = open ? common::GetLongField(reg.GetString(s.name), 0, s.fallback) : s.fallback;
  }
}

QImage RenderSlide(const SlideShow& show, int32_t slideIndex, QSize size, RenderView kind) {
  QWidget window;
  window.setAttribute(Qt::WA_DontShowOnScreen);
  window.resize(size);
  auto* host = new SlideHost(&window);
  host->setGeometry(0, 0, size.width(), size.height());
  SimpleSlideViewOwner owner(host);
  SlideView view;
  view.Initialize(&owner, host, LoadSymbolImages(), LoadKindImages());
  if (kind == RenderView::Monitor) {
    view.SetLocked(true);
    view.SetMonitorTexts(true);
    ApplyMonitorColors(view, "USER_ZEP\\ShowMonitor0");
  } else {
    view.SetMonitorTexts(false);
  }
  window.show();
  view.SetSlide(show.Slides().Item(slideIndex));
  host->grab();  // the first paint loads the picture and places everything
  return host->grab().toImage();
}

}  // namespace zephra::document
