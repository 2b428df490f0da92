// zephra setup: the manager's first-start set-up of the data home.

#include <iostream>

#include "cli.h"
#include "manager/settings/zep_registry.h"

namespace zephra::tools {
namespace {

int RunSetup(Arguments& args) {
  ApplyLanguageOption(args);
  if (!args.empty()) throw UsageError("setup takes no arguments");
  manager::ZEPRegistry& settings = manager::ZEPRegistry::Instance();
  settings.Load();
  std::cout << "menu folder: " << settings.RootDir() << "\n"
            << "slide-show folder: " << settings.DefDir() << "\n"
            << "picture folder: " << settings.BitmapDir() << "\n"
            << "history folder: " << settings.HistoryDir() << "\n"
            << "machine: " << settings.Machine() << "\n"
            << "menu file: " << settings.MenuFile() << "\n";
  return 0;
}

const CommandRegistrar registrar(
    "setup", "set up the data home as the manager does at its first start",
    "usage: zephra setup\n\n"
    "Loads the settings as the manager does when it starts: an empty menu, slide-show, picture\n"
    "or history folder setting gets its default folder in the data home ($ZEPHRA_HOME), written\n"
    "back and created, an empty machine becomes OFFLINE, and a menu folder chosen this way gets\n"
    "the sample menu file. A menu folder that was already set is left as it is. Then prints the\n"
    "folders, the machine and the menu file in use (the menu file is empty when the menu folder\n"
    "does not exist).\n",
    RunSetup);

}  // namespace
}  // namespace zephra::tools
