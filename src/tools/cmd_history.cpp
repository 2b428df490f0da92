// zephra history DIR: the runs of a part history, read as the live monitor reads them, and the
// average of the newest ones.

#include <iostream>

#include "cli.h"
#include "common/number_text.h"
#include "common/variant.h"
#include "document/average.h"
#include "document/history.h"

namespace zephra::tools {
namespace {

int RunHistory(Arguments& args) {
  ApplyLanguageOption(args);
  const auto averageOption = TakeOption(args, "--average");
  if (args.size() != 1) throw UsageError("history takes one DIR");
  int16_t sampleSize = 0;
  if (averageOption) {
    try {
      sampleSize = common::Variant(*averageOption).ToInt();
    } catch (const common::AutomationError&) {
      throw UsageError("--average needs a whole number");
    }
  }

  document::ZEPHistory history;
  int16_t max = document::kDefaultHistoryMax;
  if (!history.Initialize({}, args[0], "", max)) throw *history.LastError();

  if (!averageOption) {
    for (const auto& log : history.HistoryLogs()) {
      std::cout << log->ID() << '\t' << common::FormatDateTime(log->Timestamp()) << '\t' << log->TOLERANCE() << '\t'
                << log->Status() << '\t' << log->Name() << '\n';
    }
    return 0;
  }
  document::AverageShow average = document::ComputeAverage(history, sampleSize);
  if (!average) {
    std::cout << "no average: " << average.reason << '\n';
    return 1;
  }
  const std::string text = document::AverageShowText(*average.show);
  std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
  return 0;
}

const CommandRegistrar registrar(
    "history", "list the runs of a part history or print the average of the newest",
    "usage: zephra history [--lang LCID] DIR [--average N]\n\n"
    "Reads the part history in the folder DIR (its index History.log and run files\n"
    "Hst<ID>.Log) as the live monitor does and lists its runs newest first, one line each:\n"
    "ID<TAB>TIMESTAMP<TAB>TOLERANCE<TAB>STATUS<TAB>NAME (TOLERANCE 0 empty, 1 OK, 2 warning,\n"
    "5 error). A folder without History.log is an empty history.\n\n"
    "With --average N it prints instead the text form of the average show of the N newest\n"
    "runs (CR LF lines, as a slide-show file holds them): the newest run's show in which every\n"
    "value of the deviation column holds the mean of its samples in DEVIATION and VALUE and is\n"
    "classified against its tolerances once all N samples are in (TOLERANCE 0 otherwise).\n"
    "When there is no average (fewer than N runs, N below 2, a run file that cannot be read)\n"
    "it prints 'no average: REASON' and exits with 1.\n\n"
    "A folder that does not exist or a History.log that cannot be read fails with\n"
    "'error N: DESCRIPTION (SOURCE)' and exit code 1.\n",
    RunHistory);

}  // namespace
}  // namespace zephra::tools
