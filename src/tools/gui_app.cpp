#include "gui_app.h"

#include <QApplication>
#include <QGuiApplication>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "common/gui/gui_font.h"

namespace zephra::tools {

void EnsureGuiApplication(bool widgets) {
  if (QCoreApplication::instance()) return;
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << "\n";
  });
  static int argc = 1;
  static char name[] = "zephra";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QGuiApplication> app =
      widgets ? std::make_unique<QApplication>(argc, argv) : std::make_unique<QGuiApplication>(argc, argv);
  common::gui::InstallFontSubstitutions();
}

void EnsureCoreApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "zephra";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QCoreApplication> app = std::make_unique<QCoreApplication>(argc, argv);
}

}  // namespace zephra::tools
