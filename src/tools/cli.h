#pragma once
// The frame of the `zephra` tool: subcommands register themselves by name; each gets its
// arguments (without the subcommand's name) and returns the exit code.

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "common/automation_error.h"

namespace zephra::tools {

using Arguments = std::vector<std::string>;
using CommandFn = std::function<int(Arguments&)>;

struct Command {
  std::string name;
  std::string summary;
  std::string usage;  // shown by --help
  CommandFn run;
};

// Registers a subcommand; used as a static object in each command's source file.
struct CommandRegistrar {
  CommandRegistrar(std::string name, std::string summary, std::string usage, CommandFn run);
};

const std::vector<Command>& Commands();

// Prints "error N: DESCRIPTION (SOURCE)" and returns 1.
int ReportError(const common::AutomationError& e);
// Prints "error: TEXT" and returns the code (usage errors use 2).
int ReportUsage(const std::string& text, int code = 2);

// True when args asks for help (--help or -h anywhere).
bool WantsHelp(const Arguments& args);
// Removes "--name VALUE" from args and returns VALUE; a flag without its value is a usage error
// reported by throwing UsageError.
std::optional<std::string> TakeOption(Arguments& args, const std::string& name);
// Removes "--name" from args and returns whether it was there.
bool TakeFlag(Arguments& args, const std::string& name);

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Options are looked for up to a lone "--"; this removes that marker once they are taken.
void DropEndOfOptions(Arguments& args);

// Applies --lang LCID (default 1033) to the message catalogues.
void ApplyLanguageOption(Arguments& args);

}  // namespace zephra::tools
