// zephra run PROGRAM: one part run the way the suite follows it, without any window. The live
// monitor's road (the slide show loaded afresh at every start, results offered to it, slide-show
// switches by the program, the run logged to a history) and the report monitor's lines, printed
// at the end of every logged run.

#include <QCoreApplication>
#include <QEventLoop>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

#include "cli.h"
#include "common/host_startup.h"
#include "gui_app.h"
#include "common/component_registry.h"
#include "common/default_settings.h"
#include "common/dispatch.h"
#include "common/host_interface.h"
#include "common/paths.h"
#include "common/reg_entry.h"
#include "document/history.h"
#include "hostsim/host_registration.h"
#include "monitor/live/live_run.h"
#include "report/lines/report_lines.h"

namespace zephra::tools {
namespace {

using common::Args;
using common::AutomationError;
using common::Dispatch;
using common::Variant;
namespace h = common::host;

std::string UserSetting(const char* name) {
  common::RegEntry reg;
  if (!reg.TestKey(common::kUserKey)) return "";
  reg.OpenKey(common::kUserKey);
  return reg.GetString(name);
}

int32_t WholeOption(const std::optional<std::string>& text, const char* name, int32_t fallback, int32_t least) {
  if (!text) return fallback;
  int32_t n = 0;
  try {
    n = Variant(*text).ToLong();
  } catch (const AutomationError&) {
    throw UsageError(std::string(name) + " needs a whole number");
  }
  if (n < least) throw UsageError(std::string(name) + " must be at least " + std::to_string(least));
  return n;
}

// Prints the report at the end of every run and keeps the first error that must end the tool.
class RunPrinter : public monitor::LiveRunObserver {
 public:
  explicit RunPrinter(const report::ReportLines& report) : report_(report) {}

  void ShowEnded(const monitor::RunEnd& end) override {
    for (const std::string& line : report_.Lines()) std::cout << line << '\n';
    std::cout << "worst tolerance: " << end.worst << '\n';
    std::cout.flush();
  }
  void SignalError(int32_t number, const std::string& source, const std::string& text) override {
    Fail(AutomationError(number, source, text));
  }
  void Fail(const AutomationError& e) {
    if (!failure) failure = e;
  }

  std::optional<AutomationError> failure;

 private:
  const report::ReportLines& report_;
};

int RunRun(Arguments& args) {
  ApplyLanguageOption(args);
  const auto showOption = TakeOption(args, "--slideshow");
  const auto historyOption = TakeOption(args, "--history");
  const auto maxOption = TakeOption(args, "--max");
  const auto runsOption = TakeOption(args, "--runs");
  const auto seedOption = TakeOption(args, "--seed");
  const auto paceOption = TakeOption(args, "--pace-ms");
  if (args.size() != 1) throw UsageError("run takes one PROGRAM");
  const int32_t runs = WholeOption(runsOption, "--runs", 1, 0);
  const int32_t pace = WholeOption(paceOption, "--pace-ms", 0, 0);
  const int32_t maxRuns = WholeOption(maxOption, "--max", 0, 1);
  if (maxRuns > 32767) throw UsageError("--max must be at most 32767");

  // A show named on the command line that is not there is a mistake worth an error; the live
  // monitor itself would quietly run without a show.
  std::string show;
  if (showOption) {
    show = *showOption;
    if (!common::FileExists(show) || common::DirectoryExists(show)) {
      throw AutomationError(common::err::FileNotFound, "zephra run",
                            common::PlatformErrorText(common::err::FileNotFound) + " '" + show + "'");
    }
  }

  report::ReportLines report;
  RunPrinter printer(report);
  monitor::LiveRun live(&printer);

  if (historyOption) {
    int16_t max = static_cast<int16_t>(maxRuns);
    if (max == 0) {
      max = common::GetIntegerField(UserSetting("HistoryMaxParts"), 0, document::kDefaultHistoryMax);
      if (max <= 0) max = document::kDefaultHistoryMax;
    }
    // The index names each run file by its full path, so a folder given relative to the
    // current one is made absolute first.
    const std::string folder = std::filesystem::absolute(*historyOption).lexically_normal().string();
    auto history = std::make_shared<document::ZEPHistory>();
    if (!history->Initialize({}, folder, "", max)) throw *history->LastError();
    live.UseHistory(history);
  }

  EnsureCoreApplication();

  std::string machine = UserSetting("VRDMachine");
  if (machine.empty()) machine = h::kOfflineMachine;
  hostsim::RegisterHost();
  // Off-line, the host finds its start-up option file in its folder when it starts.
  common::EnsureHostStartupOptions(machine);
  auto host = common::CreateObject(h::kProgId);
  host->PutByName("ExecutionDelay", Variant(pace));
  auto programs = host->Get(h::app::PartPrograms).ToObject();
  auto program = programs->Call(h::programs::Open, {Variant(args[0]), Variant(machine)}).ToObject();
  if (seedOption) program->PutByName("Seed", Variant(*seedOption));
  live.SetPartProgram(program);

  QEventLoop loop;
  auto partSink = std::make_shared<common::FunctionSink>([&](Dispatch&, common::DispId event, Args& a) {
    try {
      switch (event) {
        case h::part_event::OnStartExecution:
          try {
            report.NewReport(*program);
          } catch (const AutomationError&) {
          }
          live.SetSlideShowFile(show);
          live.OnStartExecution();
          break;
        case h::part_event::OnObjectExecuted2: {
          auto command = a[0].ToObject();
          if (!command) break;
          live.OnObjectExecuted2(*command);
          // The report monitor hears the same command after the live monitor, so a switch
          // prints the report of the run it ends before the report starts anew.
          try {
            report.OnObjectExecuted(*command, *program);
          } catch (const AutomationError&) {
          }
          break;
        }
        case h::part_event::OnEndExecution:
          live.OnEndExecution(a[0].ToLong());
          loop.quit();
          break;
        default: break;
      }
    } catch (const AutomationError& e) {
      printer.Fail(e);
    }
    if (printer.failure) loop.quit();
  });
  // Operator prompts are answered with their first button, as an operator who reads them and
  // goes on would; the execution panel stays open for the whole run.
  auto appSink = std::make_shared<common::FunctionSink>([&](Dispatch&, common::DispId event, Args& a) {
    if (event != h::app_event::OnOpenRemotePanelDialog2) return;
    try {
      const int32_t number = a[1].ToLong();
      const int32_t hwnd = a[2].ToLong();
      if (number != h::dialog::ExecutionPanel && hwnd != 0) {
        host->CallByName(h::app::PressDialogButton, {Variant(hwnd), Variant(a[4].ToLong())});
      }
    } catch (const AutomationError& e) {
      printer.Fail(e);
      loop.quit();
    }
  });
  const int partCookie = program->Connect(partSink);
  auto events = host->Get(h::app::EventSource).ToObject();
  const int appCookie = events->Connect(appSink);

  for (int32_t run = 0; run < runs && !printer.failure; ++run) {
    if (!program->Call(h::part::Execute).ToBool()) {
      printer.Fail(AutomationError(common::err::InvalidCall, "zephra run", "the host is already running a part program"));
      break;
    }
    loop.exec();
  }

  events->Disconnect(appCookie);
  program->Disconnect(partCookie);
  try {
    program->Call(h::part::Close);
    host->Call(h::app::Quit);
  } catch (const AutomationError&) {
  }
  if (printer.failure) throw *printer.failure;
  return 0;
}

const CommandRegistrar registrar(
    "run", "run a part program headless as the suite follows it, print its report and log it",
    "usage: zephra run [--lang LCID] PROGRAM [--slideshow SHOW] [--history DIR] [--max N]\n"
    "                  [--runs K] [--seed S] [--pace-ms M]\n\n"
    "Creates the measuring host (QVXHOST.Application), opens PROGRAM with the machine of the\n"
    "settings (VRDMachine, OFFLINE when empty) and executes it K times (default 1), following\n"
    "each run as the live monitor and the report monitor do:\n"
    "  - at every start of a run the slide show SHOW is loaded afresh (without --slideshow the\n"
    "    run starts without a show) and the report begins anew;\n"
    "  - every reported dimension is offered to the show's values and added to the report;\n"
    "    report comments are added to the report;\n"
    "  - an assignment of \"LN|name\" to the program variable ZEP_SLIDESHOW ends the run so far and\n"
    "    starts another on the show of that name in DefaultSlideDirectory (the data home when it\n"
    "    is empty), found without regard to letter case; \"RESET\" ends it and starts again on the\n"
    "    same show; either starts the report anew;\n"
    "  - operator prompts are answered with their first button.\n"
    "At the end of every run (so also at every switch) it prints the report lines and then\n"
    "'worst tolerance: N' (0 empty or no show, 1 OK, 2 warning, 5 error). With --history DIR\n"
    "(an existing folder) every run that had a show is logged there as the live monitor logs it:\n"
    "a run file Hst<ID>.Log and an entry in History.log, keeping at most N runs (--max N, else\n"
    "HistoryMaxParts when positive, else 20). --seed S replaces the program's SEED; --pace-ms M\n"
    "waits M ms per command (default 0).\n",
    RunRun);

}  // namespace
}  // namespace zephra::tools
