// zephra doc render: one slide of a show drawn as the monitor or the editor shows it.

#include <QApplication>
#include <QImage>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "cli.h"
#include "gui_app.h"
#include "common/gui/gui_font.h"
#include "document/message_profile.h"
#include "document/slide_show.h"
#include "document/view/slide_render.h"
#include "graphics/graphics_components.h"

namespace zephra::tools {

namespace {


QSize ParseSize(const std::string& text) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) throw UsageError("--size takes WIDTHxHEIGHT, such as 1024x668");
  try {
    const int w = std::stoi(text.substr(0, x));
    const int h = std::stoi(text.substr(x + 1));
    if (w < 16 || h < 16 || w > 8192 || h > 8192) throw UsageError("--size must be between 16x16 and 8192x8192");
    return QSize(w, h);
  } catch (const std::logic_error&) {
    throw UsageError("--size takes WIDTHxHEIGHT, such as 1024x668");
  }
}

}  // namespace

int RunDocRender(Arguments& args) {
  int32_t slide = 1;
  if (auto s = TakeOption(args, "--slide")) {
    try {
      slide = std::stoi(*s);
    } catch (const std::logic_error&) {
      throw UsageError("--slide takes a slide number");
    }
  }
  QSize size(1024, 668);
  if (auto s = TakeOption(args, "--size")) size = ParseSize(*s);
  document::RenderView view = document::RenderView::Monitor;
  if (auto v = TakeOption(args, "--view")) {
    if (*v == "editor") {
      view = document::RenderView::Editor;
    } else if (*v != "monitor") {
      throw UsageError("--view is monitor or editor");
    }
  }
  if (args.size() != 2) throw UsageError("doc render takes SHOW and OUT.png");
  document::SlideShow show(document::MessageProfile::Monitor());
  show.LoadFromFile(args[0]);
  if (slide < 1 || slide > show.Slides().Count()) {
    throw UsageError("the show has " + std::to_string(show.Slides().Count()) + " slides; --slide " +
                     std::to_string(slide) + " is not one of them");
  }
  EnsureGuiApplication(true);
  graphics::RegisterGraphicsComponents(false);
  const QImage image = document::RenderSlide(show, slide, size, view);
  if (!image.save(QString::fromStdString(args[1]), "PNG")) {
    common::RaiseFileError(EACCES, args[1], "doc render");
  }
  return 0;
}

}  // namespace zephra::tools
