#pragma once
// Subcommands that draw need a Qt application object. Without a display the offscreen platform
// serves, so the tool works on machines without one.

namespace zephra::tools {

// Creates the application once for this process: with windows (QApplication) when asked,
// else a QGuiApplication. Qt's own notes are kept off the tool's output; critical ones go to
// stderr.
void EnsureGuiApplication(bool widgets = false);
// A plain event loop (the host stand-in paces its runs with timers), created once.
void EnsureCoreApplication();

}  // namespace zephra::tools
