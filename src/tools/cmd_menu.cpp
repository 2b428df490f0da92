// zephra menu cat FILE [--root DIR]: a menu file as the shell reads it, written back as the
// suite writes it.

#include <filesystem>
#include <iostream>

#include "cli.h"
#include "common/paths.h"
#include "common/program.h"
#include "shell/menu/menu.h"

namespace zephra::tools {
namespace {

int RunMenuCat(Arguments& args) {
  const std::optional<std::string> rootOption = TakeOption(args, "--root");
  if (args.size() != 1) throw UsageError("menu cat needs one FILE");
  const std::string& file = args[0];
  std::string root = rootOption ? *rootOption : common::ParentDirectory(file);
  if (root.empty()) root = std::filesystem::current_path().string();
  shell::Menu menu(common::ProgramKind::Shell);
  menu.Initialize(root);
  const bool exists = common::ResolvePathNoCase(file).has_value();
  // A missing file is reported by the load itself, in the shell's words.
  menu.LoadFromFile(file);
  if (!exists) return 1;
  const std::string text = menu.SaveToText();
  std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
  return 0;
}

int RunMenu(Arguments& args) {
  ApplyLanguageOption(args);
  if (args.empty()) throw UsageError("menu needs a subcommand");
  const std::string sub = args[0];
  args.erase(args.begin());
  if (sub == "cat") return RunMenuCat(args);
  throw UsageError("unknown menu subcommand '" + sub + "'");
}

const CommandRegistrar registrar(
    "menu", "read a menu file as the shell does",
    "usage: zephra menu [--lang LCID] cat FILE [--root DIR]\n\n"
    "  cat FILE   loads the menu file with the shell's rules and writes it to stdout exactly as\n"
    "             the suite saves it (CR LF, tab indentation). Bare picture and help file names\n"
    "             are joined to DIR (default: the folder of FILE). As in the shell, every entry\n"
    "             with a history folder is appended to the history list of the settings.\n\n"
    "A missing FILE prints a warning and exits 1; a malformed one prints the error and exits 1.\n",
    RunMenu);

}  // namespace
}  // namespace zephra::tools
