#include "cli.h"

#include <iostream>

#include "common/string_res.h"
#include "common/variant.h"

namespace zephra::tools {

namespace {
std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}
}  // namespace

CommandRegistrar::CommandRegistrar(std::string name, std::string summary, std::string usage, CommandFn run) {
  Registry().push_back(Command{std::move(name), std::move(summary), std::move(usage), std::move(run)});
}

const std::vector<Command>& Commands() { return Registry(); }

int ReportError(const common::AutomationError& e) {
  std::cerr << "error " << e.Number() << ": " << e.Description() << " (" << e.Source() << ")\n";
  return 1;
}

int ReportUsage(const std::string& text, int code) {
  std::cerr << "error: " << text << "\n";
  return code;
}

bool WantsHelp(const Arguments& args) {
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") return true;
  }
  return false;
}

std::optional<std::string> TakeOption(Arguments& args, const std::string& name) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--") break;
    if (args[i] == name) {
      if (i + 1 >= args.size()) throw UsageError(name + " needs a value");
      std::string value = args[i + 1];
      args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
      return value;
    }
    if (args[i].rfind(name + "=", 0) == 0) {
      std::string value = args[i].substr(name.size() + 1);
      args.erase(args.begin() + static_cast<long>(i));
      return value;
    }
  }
  return std::nullopt;
}

bool TakeFlag(Arguments& args, const std::string& name) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--") break;
    if (args[i] == name) {
      args.erase(args.begin() + static_cast<long>(i));
      return true;
    }
  }
  return false;
}

void DropEndOfOptions(Arguments& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--") {
      args.erase(args.begin() + static_cast<long>(i));
      return;
    }
  }
}

void ApplyLanguageOption(Arguments& args) {
  int32_t language = common::kLanguageEnglish;
  if (auto lang = TakeOption(args, "--lang")) {
    try {
      language = common::Variant(*lang).ToLong();
    } catch (const common::AutomationError&) {
      throw UsageError("--lang needs a language identifier such as 1033");
    }
  }
  common::SetLanguage(language);
}

}  // namespace zephra::tools
