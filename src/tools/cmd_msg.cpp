// zephra msg [--lang LCID] NUMBER [ARG...]: a message of the catalogues, formatted.

#include <iostream>

#include "cli.h"
#include "common/string_res.h"
#include "common/variant.h"

namespace zephra::tools {
namespace {

int RunMsg(Arguments& args) {
  ApplyLanguageOption(args);
  DropEndOfOptions(args);
  if (args.empty()) throw UsageError("msg needs a NUMBER");
  int32_t number = 0;
  try {
    number = common::Variant(args[0]).ToLong();
  } catch (const common::AutomationError&) {
    throw UsageError("'" + args[0] + "' is not a message number");
  }
  std::vector<common::Variant> formatArgs(args.begin() + 1, args.end());
  std::cout << common::FormatMessage(number, formatArgs) << '\n';
  return 0;
}

const CommandRegistrar registrar(
    "msg", "print a message of the catalogues",
    "usage: zephra msg [--lang LCID] NUMBER [ARG...]\n\n"
    "Prints message NUMBER in language LCID (default 1033; -1 is the pseudo-language) with\n"
    "%0%, %1%, ... replaced by the ARGs.\n",
    RunMsg);

}  // namespace
}  // namespace zephra::tools
