// zephra: the suite's command-line tool. One subcommand per job; `zephra SUBCOMMAND --help`
// tells how each is used.

#include <iostream>

#include "cli.h"
#include "common/program.h"
#include "common/prompts.h"
#include "common/string_res.h"

using namespace zephra;

namespace {

void PrintOverview() {
  std::cout << "usage: zephra SUBCOMMAND [ARGS...]\n\nsubcommands:\n";
  for (const tools::Command& c : tools::Commands()) {
    std::cout << "  " << c.name;
    for (size_t i = c.name.size(); i < 10; ++i) std::cout << ' ';
    std::cout << c.summary << "\n";
  }
  std::cout << "\n`zephra SUBCOMMAND --help` describes a subcommand.\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  common::SetCurrentProgram(common::ProgramKind::Tool);
  common::SetLanguage(common::kLanguageEnglish);
  common::SetPrompts(std::make_shared<common::ConsolePrompts>());

  if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
    PrintOverview();
    return argc < 2 ? 2 : 0;
  }
  const std::string name = argv[1];
  tools::Arguments args(argv + 2, argv + argc);
  for (const tools::Command& c : tools::Commands()) {
    if (c.name != name) continue;
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
      std::cout << c.usage;
      return 0;
    }
    try {
      const int rc = c.run(args);
      std::cout.flush();
      return rc;
    } catch (const common::AutomationError& e) {
      std::cout.flush();
      return tools::ReportError(e);
    } catch (const tools::UsageError& e) {
      std::cout.flush();
      std::cerr << "error: " << e.what() << "\n" << c.usage;
      return 2;
    } catch (const std::exception& e) {
      std::cout.flush();
      std::cerr << "error: " << e.what() << "\n";
      return 1;
    }
  }
  std::cerr << "error: unknown subcommand '" << name << "'\n";
  PrintOverview();
  return 2;
}
