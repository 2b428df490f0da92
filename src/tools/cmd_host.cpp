// zephra host run PROGRAM: runs a part program in the simulated measuring host without any
// window and prints the host's events as they arrive.

#include <QCoreApplication>
#include <QEventLoop>
#include <iostream>
#include <memory>

#include "cli.h"
#include "common/host_startup.h"
#include "gui_app.h"
#include "common/component_registry.h"
#include "common/dispatch.h"
#include "common/host_interface.h"
#include "common/number_text.h"
#include "common/paths.h"
#include "hostsim/host_registration.h"

namespace zephra::tools {
namespace {

using common::Args;
using common::Dispatch;
using common::Variant;
namespace h = common::host;

std::string Number(const Variant& v) { return common::FormatDouble(v.ToDouble()); }

// CR and LF shown as escapes, so a comment stays on its line.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string DescribeCommand(Dispatch& command) {
  Args identity{Variant(0), Variant(0)};
  command.Call(h::command::Identity, identity);
  std::string line = "key=" + identity[0].ToString() + "|" + identity[1].ToString() +
                     " type=" + command.Get(h::command::Type).ToString();
  const std::string id = command.Get(h::command::Id).ToString();
  if (!id.empty()) line += " id=" + id;
  if (command.Get(h::command::IsDimension).ToBool()) {
    auto dim = command.Get(h::command::DimensionCommand).ToObject();
    const std::string axis = dim->Get(h::dimension::AxisLetter).ToString();
    line += " feature=" + dim->Get(h::dimension::Id).ToString();
    if (!axis.empty()) {
      line += " axis=" + axis + " nominal=" + Number(dim->Get(h::dimension::Nominal)) +
              " plustol=" + Number(dim->Get(h::dimension::PlusTol)) +
              " minustol=" + Number(dim->Get(h::dimension::MinusTol)) +
              " measured=" + Number(dim->Get(h::dimension::Measured)) +
              " deviation=" + Number(dim->Get(h::dimension::Deviation)) +
              " outtol=" + Number(dim->Get(h::dimension::OutTol));
    }
    if (!command.Get(h::command::Reported).ToBool()) line += " unreported";
  } else if (command.Get(h::command::IsAssignment).ToBool()) {
    auto a = command.Get(h::command::AssignmentCommand).ToObject();
    line += " assign " + a->Get(h::assignment::Name).ToString() + "=" + a->Get(h::assignment::Value).ToString();
  } else if (command.Get(h::command::IsComment).ToBool()) {
    auto c = command.Get(h::command::CommentCommand).ToObject();
    line += " comment kind=" + c->Get(h::comment::Kind).ToString() + " \"" +
            Escaped(c->Get(h::comment::Text).ToString()) + "\"";
  } else {
    line += " text=\"" + command.Get(h::command::DisplayText).ToString() + "\"";
  }
  return line;
}

int RunHost(Arguments& args) {
  const auto runsText = TakeOption(args, "--runs");
  const auto seedText = TakeOption(args, "--seed");
  const auto paceText = TakeOption(args, "--pace-ms");
  const auto abortText = TakeOption(args, "--abort-after");
  const bool cancelPrompts = TakeFlag(args, "--cancel-prompts");
  if (args.size() != 2 || args[0] != "run") throw UsageError("host run PROGRAM");
  auto whole = [](const std::optional<std::string>& text, const char* name, int32_t fallback) {
    if (!text) return fallback;
    try {
      const int32_t n = Variant(*text).ToLong();
      if (n < 0) throw UsageError(std::string(name) + " must not be negative");
      return n;
    } catch (const common::AutomationError&) {
      throw UsageError(std::string(name) + " needs a whole number");
    }
  };
  const int32_t runs = whole(runsText, "--runs", 1);
  const int32_t pace = whole(paceText, "--pace-ms", 0);
  const int32_t abortAfter = whole(abortText, "--abort-after", -1);

  EnsureCoreApplication();

  hostsim::RegisterHost();
  common::EnsureHostStartupOptions(h::kOfflineMachine);
  auto host = common::CreateObject(h::kProgId);
  host->PutByName("ExecutionDelay", Variant(pace));
  auto programs = host->Get(h::app::PartPrograms).ToObject();
  auto program = programs->Call(h::programs::Open, {Variant(args[1]), Variant(std::string(h::kOfflineMachine))}).ToObject();
  if (seedText) program->PutByName("Seed", Variant(*seedText));

  QEventLoop loop;
  int runsLeft = runs;
  int executed = 0;
  int32_t panel = 0;
  auto sink = std::make_shared<common::FunctionSink>([&](Dispatch&, common::DispId event, Args& a) {
    switch (event) {
      case h::app_event::OnStartExecution:
        executed = 0;
        std::cout << "start " << a[0].ToObject()->Get(h::part::PartName).ToString() << '\n';
        break;
      case h::app_event::OnObjectExecuted2:
        std::cout << "executed " << DescribeCommand(*a[1].ToObject()) << '\n';
        if (++executed == abortAfter && panel != 0) {
          std::cout << "press " << panel << ' ' << h::dialog::ButtonCancel << '\n';
          host->CallByName(h::app::PressDialogButton, {Variant(panel), Variant(h::dialog::ButtonCancel)});
        }
        break;
      case h::app_event::OnUpdateStatusMessage: std::cout << "status " << a[0].ToString() << '\n'; break;
      case h::app_event::OnAddObject: std::cout << "added " << DescribeCommand(*a[1].ToObject()) << '\n'; break;
      case h::app_event::OnOpenRemotePanelDialog2: {
        const int32_t number = a[1].ToLong();
        const int32_t hwnd = a[2].ToLong();
        std::cout << "dialog " << number << " hwnd=" << hwnd << " buttons=" << a[4].ToLong() << ',' << a[5].ToLong()
                  << ',' << a[6].ToLong() << ',' << a[7].ToLong() << ',' << a[8].ToLong()
                  << " default=" << a[9].ToLong() << " \"" << a[3].ToString() << "\"\n";
        if (number == h::dialog::ExecutionPanel) {
          panel = hwnd;
        } else {
          // An operator prompt: the first button, or Cancel when asked to.
          const int32_t button = cancelPrompts ? h::dialog::ButtonCancel : a[4].ToLong();
          std::cout << "press " << hwnd << ' ' << button << '\n';
          host->CallByName(h::app::PressDialogButton, {Variant(hwnd), Variant(button)});
        }
        break;
      }
      case h::app_event::OnEndExecution:
        std::cout << "end " << a[1].ToLong() << '\n';
        panel = 0;
        if (--runsLeft > 0) {
          program->Call(h::part::Execute);
        } else {
          loop.quit();
        }
        break;
      default: break;
    }
  });
  auto events = host->Get(h::app::EventSource).ToObject();
  const int cookie = events->Connect(sink);
  if (runs > 0) {
    if (!program->Call(h::part::Execute).ToBool()) {
      events->Disconnect(cookie);
      throw UsageError("the host is already running a part program");
    }
    loop.exec();
  }
  events->Disconnect(cookie);
  program->Call(h::part::Close);
  host->Call(h::app::Quit);
  return 0;
}

const CommandRegistrar registrar(
    "host", "run a part program in the simulated measuring host and print its events",
    "usage: zephra host run PROGRAM [--runs K] [--seed S] [--pace-ms M] [--abort-after N]\n"
    "                              [--cancel-prompts]\n\n"
    "Opens PROGRAM (a .prg file; see docs/HOST-PROGRAMS.md) in the simulated measuring host and\n"
    "executes it K times (default 1), printing one line per host event: start, dialog, press,\n"
    "status, added, executed (with the dimension's numbers), end and the termination type.\n"
    "Operator prompts are answered with their first button, or with Cancel (which aborts the\n"
    "run) under --cancel-prompts. --seed S replaces the program's SEED; --pace-ms M waits M ms\n"
    "per command (default 0); --abort-after N presses Cancel on the execution panel once N\n"
    "commands of a run have executed.\n",
    RunHost);

}  // namespace
}  // namespace zephra::tools
