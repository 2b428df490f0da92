#include "host_application.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <filesystem>
#include <random>

#include "common/automation_error.h"
#include "common/host_interface.h"
#include "common/paths.h"
#include "common/reg_entry.h"
#include "common/string_res.h"
#include "common/text.h"
#include "host_messages.h"
#include "host_window.h"
#include "part_program.h"

namespace zephra::hostsim {

namespace {

using common::Args;
using common::AutomationError;
using common::DispatchTable;
using common::Variant;
namespace h = common::host;

constexpr const char* kSimulatorKey = "USER_ZEP\\Simulator";
constexpr int32_t kDefaultPaceMs = 300;
// The platform's number for a call to a server that is no longer there.
constexpr int32_t kServerUnavailable = 462;

Variant Obj(std::shared_ptr<common::Dispatch> object) { return Variant(std::move(object)); }
Variant Nothing() { return Variant(std::shared_ptr<common::Dispatch>()); }

[[noreturn]] void RaiseHostGone() {
  throw AutomationError(kServerUnavailable, h::kProgId, common::FormatMessage(msg::HostGone));
}

// A value of the simulator's settings key, or empty.
std::string SimulatorSetting(const std::string& name) {
  try {
    common::RegEntry reg;
    if (!reg.TestKey(kSimulatorKey)) return "";
    reg.OpenKey(kSimulatorKey);
    return reg.GetString(name);
  } catch (const AutomationError&) {
    return "";
  }
}

bool WidgetsAvailable() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

std::string ReadStartupOptions(const std::string& folder) {
  const std::string path = common::JoinPath(folder, h::kStartupOptionFile);
  if (!common::FileExists(path)) return "";
  try {
    const std::string bytes = common::ReadFileBytes(path, h::kProgId);
    const size_t end = bytes.find_first_of("\r\n");
    return std::string(common::TrimWhite(common::DecodeText(bytes.substr(0, end))));
  } catch (const AutomationError&) {
    return "";
  }
}

// The file a part-program path names: absolute paths as they are, relative ones against the
// working folder when the file is there, else against the part-program folder.
std::string ResolveProgramPath(const std::string& path, const std::string& programFolder) {
  namespace fs = std::filesystem;
  std::string full = path;
  if (path.empty() || path[0] != common::kPathSeparator) {
    std::error_code ec;
    const std::string inWorking = (fs::current_path(ec) / path).string();
    full = !ec && common::FileExists(inWorking) ? inWorking : common::JoinPath(programFolder, path);
  }
  // Normalised but not resolved through links: the suite compares these paths with the ones
  // it opened.
  return fs::path(full).lexically_normal().string();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Construction and the member tables

const DispatchTable<HostEvents>& HostEvents::Table() {
  static const DispatchTable<HostEvents> table;
  return table;
}

std::shared_ptr<HostApplication> HostApplication::Create(std::string installFolder, std::string partProgramFolder) {
  auto app = std::make_shared<HostApplication>(std::move(installFolder), std::move(partProgramFolder));
  app->programs_ = std::make_shared<PartProgramCollection>(app);
  return app;
}

HostApplication::HostApplication(std::string installFolder, std::string partProgramFolder)
    : installFolder_(common::AddSeparator(installFolder)),
      partProgramFolder_(common::AddSeparator(partProgramFolder)),
      events_(std::make_shared<HostEvents>()),
      delay_(kDefaultPaceMs) {
  startupOptions_ = ReadStartupOptions(installFolder_);
  const std::string pace = SimulatorSetting("Pace");
  if (!pace.empty()) {
    try {
      SetExecutionDelay(Variant(pace).ToLong());
    } catch (const AutomationError&) {
    }
  }
}

HostApplication::~HostApplication() {
  delete window_.data();
  delete readout_.data();
}

const DispatchTable<HostApplication>& HostApplication::Table() {
  static const DispatchTable<HostApplication> table = [] {
    DispatchTable<HostApplication> t;
    namespace m = h::app;
    t.Property(m::PartPrograms, "PartPrograms", [](HostApplication& a, Args&) { return Obj(a.programs_); });
    t.Property(m::ActivePartProgram, "ActivePartProgram", [](HostApplication& a, Args&) {
      auto active = a.ActiveProgram();
      return active ? Obj(active) : Nothing();
    });
    t.Property(m::Path, "Path", [](HostApplication& a, Args&) { return Variant(a.installFolder_); });
    t.Property(m::PartProgramFolder, "PartProgramFolder",
               [](HostApplication& a, Args&) { return Variant(a.partProgramFolder_); });
    t.Property(m::Alive, "Alive", [](HostApplication&, Args&) { return Variant(true); });
    t.Property(
        m::Visible, "Visible", [](HostApplication& a, Args&) { return Variant(a.visible_); },
        [](HostApplication& a, Args&, const Variant& v) { a.SetVisible(v.ToBool()); });
    t.Property(
        m::QuitPending, "QuitPending", [](HostApplication& a, Args&) { return Variant(a.quitPending_); },
        [](HostApplication& a, Args&, const Variant& v) { a.quitPending_ = v.ToBool(); });
    t.Method(m::BringToFront, "BringToFront", [](HostApplication& a, Args&) {
      if (a.window_ && a.window_->isVisible()) {
        a.window_->raise();
        a.window_->activateWindow();
      }
      return Variant(true);
    });
    t.Method(m::Quit, "Quit", [](HostApplication& a, Args&) {
      a.Quit();
      return Variant();
    });
    t.Property(m::EventSource, "EventSource", [](HostApplication& a, Args&) { return Obj(a.events_); });
    t.Property(
        m::Interactive, "Interactive", [](HostApplication& a, Args&) { return Variant(a.interactive_); },
        [](HostApplication& a, Args&, const Variant& v) { a.interactive_ = v.ToBool(); });
    t.Property(
        m::AutomationMode, "AutomationMode", [](HostApplication& a, Args&) { return Variant(a.automationMode_); },
        [](HostApplication& a, Args&, const Variant& v) { a.automationMode_ = v.ToBool(); });
    t.Property(m::LanguageId, "LanguageId", [](HostApplication& a, Args&) { return Variant(a.LanguageId()); });
    t.Method(app_member::PressDialogButton, h::app::PressDialogButton, [](HostApplication& a, Args& args) {
      const Variant& hwnd = common::Arg(args, 0);
      const Variant& button = common::Arg(args, 1);
      if (hwnd.IsMissing() || button.IsMissing()) {
        common::RaisePlatformError(common::err::ArgumentNotOptional, a.TypeName());
      }
      return Variant(a.PressDialogButton(hwnd.ToLong(), button.ToLong()));
    });
    t.Property(
        app_member::ExecutionDelay, "ExecutionDelay", [](HostApplication& a, Args&) { return Variant(a.delay_); },
        [](HostApplication& a, Args&, const Variant& v) { a.SetExecutionDelay(v.ToLong()); });
    t.Property(app_member::StartupOptions, "StartupOptions",
               [](HostApplication& a, Args&) { return Variant(a.startupOptions_); });
    t.Property(app_member::OpenDialogs, "OpenDialogs", [](HostApplication& a, Args&) {
      std::vector<Variant> handles;
      for (const HostDialog& d : a.dialogs_) handles.emplace_back(d.hwnd);
      return Variant(std::move(handles));
    });
    return t;
  }();
  return table;
}

common::Variant HostApplication::Invoke(common::DispId id, common::InvokeKind kind, common::Args& args) {
  if (quit_) RaiseHostGone();
  return DispatchObject<HostApplication>::Invoke(id, kind, args);
}

int32_t HostApplication::LanguageId() const {
  const std::string text = SimulatorSetting("Language");
  if (text.empty()) return common::kLanguageEnglish;
  try {
    return Variant(text).ToLong();
  } catch (const AutomationError&) {
    return common::kLanguageEnglish;
  }
}

// ---------------------------------------------------------------------------------------------
// Part programs

std::shared_ptr<PartProgram> HostApplication::Open(const std::string& path, const std::string& machine) {
  const std::string full = ResolveProgramPath(path, partProgramFolder_);
  for (auto it = open_.begin(); it != open_.end(); ++it) {
    if ((*it)->FullPath() == full) {
      // Opening it again makes it the active program.
      auto program = *it;
      open_.erase(it);
      open_.push_back(program);
      Changed();
      return program;
    }
  }
  ProgramData data = LoadProgramFile(full);
  uint64_t seed = 0;
  if (data.seed) {
    seed = *data.seed;
  } else {
    std::random_device device;
    seed = (static_cast<uint64_t>(device()) << 32) ^ device();
  }
  auto self = std::static_pointer_cast<HostApplication>(shared_from_this());
  auto program = std::make_shared<PartProgram>(self, std::move(data), full, machine, seed);
  open_.push_back(program);
  Changed();
  return program;
}

std::shared_ptr<PartProgram> HostApplication::ActiveProgram() const {
  return open_.empty() ? nullptr : open_.back();
}

std::shared_ptr<PartProgram> HostApplication::ShownProgram() const {
  return run_.program ? run_.program : ActiveProgram();
}

void HostApplication::Close(const std::shared_ptr<PartProgram>& program) {
  if (!program || program->IsClosed()) return;
  if (run_.program == program) FinishRun(h::termination::Aborted);
  program->MarkClosed();
  std::erase(open_, program);
  Changed();
  FireApp(h::app_event::OnClosePartProgram, {Obj(program)});
}

// ---------------------------------------------------------------------------------------------
// Execution

bool HostApplication::Execute(const std::shared_ptr<PartProgram>& program) {
  if (quit_ || !program || program->IsClosed() || Running()) return false;
  if (!QCoreApplication::instance()) {
    throw AutomationError(common::err::InvalidCall, h::kProgId, common::FormatMessage(msg::NoEventLoop));
  }
  run_ = RunState();
  run_.program = program;
  run_.phase = Phase::Starting;
  ++generation_;
  ScheduleStep();
  Changed();
  return true;
}

long HostApplication::CurrentCommand() const {
  if (!run_.program || run_.phase == Phase::Starting) return -1;
  return static_cast<long>(run_.position);
}

void HostApplication::ScheduleStep() {
  stepPending_ = true;
  if (!delivering_) ArmTimer();
}

void HostApplication::ArmTimer() {
  if (!timer_) {
    timer_ = std::make_unique<QTimer>();
    timer_->setSingleShot(true);
    QObject::connect(timer_.get(), &QTimer::timeout, [this] { OnTimer(); });
  }
  timer_->start(delay_);
}

void HostApplication::OnTimer() {
  if (delivering_) return;  // armed again when the delivery under way ends
  if (!stepPending_ || !Running()) return;
  stepPending_ = false;
  // Keep the application alive while sinks run: one of them may drop the last reference.
  auto keep = shared_from_this();
  Step();
}

void HostApplication::Step() {
  delivering_ = true;
  switch (run_.phase) {
    case Phase::Starting: StepStart(); break;
    case Phase::Commands: StepCommand(); break;
    case Phase::Answered: StepAnswered(); break;
    case Phase::WaitingForButton:
    case Phase::Ending:
    case Phase::Idle: break;
  }
  delivering_ = false;
  if (stepPending_ && Running() && !quit_) ArmTimer();
  Changed();
}

void HostApplication::StepStart() {
  const uint64_t gen = generation_;
  auto program = run_.program;
  program->BeginRun();
  FireApp(h::app_event::OnStartExecution, {Obj(program)});
  if (!Alive(gen)) return;
  FirePart(program, h::part_event::OnStartExecution, {});
  if (!Alive(gen)) return;
  run_.phase = Phase::Commands;
  run_.position = 0;
  const std::string name = common::FileNameOf(program->FullPath());
  run_.panelHwnd = OpenDialog(h::dialog::ExecutionPanel, common::FormatMessage(msg::PanelMessage, {Variant(name)}),
                              {{h::dialog::ButtonCancel, common::GetMessage(msg::CancelCaption)}});
  ScheduleStep();
  AnnounceDialog(dialogs_.back());
}

void HostApplication::StepCommand() {
  const uint64_t gen = generation_;
  auto program = run_.program;
  if (run_.abortRequested) {
    FinishRun(h::termination::Aborted);
    return;
  }
  const auto& commands = program->Data().commands;
  if (run_.position >= commands.size()) {
    FinishRun(h::termination::Completed);
    return;
  }
  const size_t index = run_.position;
  const CommandData& c = commands[index];
  switch (c.kind) {
    case BlockKind::Prompt:
      // The run waits for a button; the press schedules the next step.
      run_.phase = Phase::WaitingForButton;
      run_.promptHwnd = OpenDialog(kPromptDialog, c.text.value_or(std::string()), c.buttons);
      AnnounceDialog(dialogs_.back());
      return;
    case BlockKind::Dimension:
      program->Measure(index);
      if (c.role == DimensionRole::Axis || c.role == DimensionRole::Single) {
        readoutProgram_ = program;
        readoutIndex_ = static_cast<long>(index);
      }
      break;
    case BlockKind::Status: {
      const std::string text = c.text.value_or(std::string());
      FireApp(h::app_event::OnUpdateStatusMessage, {Variant(text)});
      if (!Alive(gen)) return;
      FirePart(program,
               c.isError ? h::part_event::OnExecuteDialogErrorMsg : h::part_event::OnExecuteDialogStatusMsg,
               {Variant(text)});
      if (!Alive(gen)) return;
      break;
    }
    case BlockKind::Command:
      if (c.added) {
        FireApp(h::app_event::OnAddObject, {Obj(program), Obj(std::make_shared<HostCommand>(program, index))});
        if (!Alive(gen)) return;
      }
      break;
    case BlockKind::Assignment:
    case BlockKind::Comment: break;
  }
  FireExecuted(index);
  if (!Alive(gen)) return;
  ++run_.position;
  ScheduleStep();
}

void HostApplication::StepAnswered() {
  const uint64_t gen = generation_;
  FireExecuted(run_.position);
  if (!Alive(gen)) return;
  ++run_.position;
  run_.phase = Phase::Commands;
  ScheduleStep();
}

void HostApplication::FireExecuted(size_t index) {
  const uint64_t gen = generation_;
  auto program = run_.program;
  // Each event gets its own command object: a sink that steps one as a cursor moves no other.
  auto command = [&] { return Obj(std::make_shared<HostCommand>(program, index)); };
  FirePart(program, h::part_event::OnObjectExecuted, {command()});
  if (!Alive(gen)) return;
  FirePart(program, h::part_event::OnObjectExecuted2, {command(), Variant(static_cast<int32_t>(1))});
  if (!Alive(gen)) return;
  FireApp(h::app_event::OnObjectExecuted2, {Obj(program), command(), Variant(static_cast<int32_t>(1))});
}

void HostApplication::FinishRun(int32_t termination) {
  auto program = run_.program;
  if (!program) return;
  if (run_.panelHwnd) CloseDialog(run_.panelHwnd);
  if (run_.promptHwnd) CloseDialog(run_.promptHwnd);
  // The run is over before anyone hears of it, so an end handler may start the next one.
  run_ = RunState();
  ++generation_;
  stepPending_ = false;
  if (timer_) timer_->stop();
  Changed();
  FireApp(h::app_event::OnEndExecution, {Obj(program), Variant(termination)});
  FirePart(program, h::part_event::OnEndExecution, {Variant(termination)});
}

void HostApplication::FireApp(common::DispId event, common::Args args) {
  if (quit_) return;
  // A failing client handler must not stop the host.
  try {
    events_->Fire(event, args);
  } catch (const std::exception&) {
  }
}

void HostApplication::FirePart(const std::shared_ptr<PartProgram>& program, common::DispId event, common::Args args) {
  if (quit_) return;
  try {
    program->Fire(event, args);
  } catch (const std::exception&) {
  }
}

// ---------------------------------------------------------------------------------------------
// Dialogs

int32_t HostApplication::OpenDialog(int32_t number, std::string message, std::vector<DialogButton> buttons) {
  HostDialog d;
  d.hwnd = nextHwnd_;
  nextHwnd_ += 2;
  d.number = number;
  d.message = std::move(message);
  d.buttons = std::move(buttons);
  d.defaultButton = d.buttons.empty() ? 0 : d.buttons.front().id;
  dialogs_.push_back(std::move(d));
  Changed();
  return dialogs_.back().hwnd;
}

void HostApplication::AnnounceDialog(const HostDialog& dialog) {
  Args args{Obj(run_.program), Variant(dialog.number), Variant(dialog.hwnd), Variant(dialog.message)};
  for (size_t i = 0; i < 5; ++i) args.emplace_back(i < dialog.buttons.size() ? dialog.buttons[i].id : 0);
  args.emplace_back(dialog.defaultButton);
  FireApp(h::app_event::OnOpenRemotePanelDialog2, std::move(args));
}

void HostApplication::CloseDialog(int32_t hwnd) {
  std::erase_if(dialogs_, [hwnd](const HostDialog& d) { return d.hwnd == hwnd; });
  Changed();
}

bool HostApplication::PressDialogButton(int32_t hwnd, int32_t buttonId) {
  auto dialog = std::find_if(dialogs_.begin(), dialogs_.end(), [hwnd](const HostDialog& d) { return d.hwnd == hwnd; });
  if (dialog == dialogs_.end()) return false;
  const bool hasButton = std::any_of(dialog->buttons.begin(), dialog->buttons.end(),
                                     [buttonId](const DialogButton& b) { return b.id == buttonId; });
  if (!hasButton || !Running()) return false;
  if (hwnd == run_.promptHwnd) {
    CloseDialog(hwnd);
    run_.promptHwnd = 0;
    if (buttonId == h::dialog::ButtonCancel) {
      run_.abortRequested = true;
      run_.phase = Phase::Commands;
    } else {
      run_.phase = Phase::Answered;
    }
    ScheduleStep();
  } else if (hwnd == run_.panelHwnd && buttonId == h::dialog::ButtonCancel) {
    run_.abortRequested = true;
    if (run_.promptHwnd) {
      CloseDialog(run_.promptHwnd);
      run_.promptHwnd = 0;
    }
    // Waiting for a prompt or not: the next step ends the run.
    if (run_.phase == Phase::WaitingForButton || run_.phase == Phase::Answered) run_.phase = Phase::Commands;
    ScheduleStep();
  }
  Changed();
  return true;
}

// ---------------------------------------------------------------------------------------------
// Windows and shut-down

void HostApplication::SetVisible(bool visible) {
  visible_ = visible;
  if (!WidgetsAvailable()) return;
  if (visible) {
    if (!window_) window_ = new HostWindow(this);
    window_->Refresh();
    window_->show();
  } else if (window_) {
    window_->hide();
  }
}

void HostApplication::ShowReadout(bool show) {
  readoutShown_ = show;
  if (!WidgetsAvailable()) return;
  if (show) {
    if (!readout_) readout_ = new ReadoutView(this);
    readout_->Refresh();
    readout_->show();
  } else if (readout_) {
    readout_->hide();
  }
}

void HostApplication::Quit() {
  if (quit_) return;
  // A host that goes away says nothing more: no end of run, no closing events.
  run_ = RunState();
  ++generation_;
  stepPending_ = false;
  if (timer_) timer_->stop();
  dialogs_.clear();
  for (auto& program : open_) program->MarkClosed();
  open_.clear();
  delete window_.data();
  delete readout_.data();
  visible_ = false;
  readoutShown_ = false;
  quit_ = true;
}

void HostApplication::Changed() {
  if (window_) window_->Refresh();
  if (readout_) readout_->Refresh();
}

void CheckHostAlive(const std::weak_ptr<HostApplication>& app) {
  auto host = app.lock();
  if (!host || host->HasQuit()) RaiseHostGone();
}

common::Variant PartProgram::Invoke(common::DispId id, common::InvokeKind kind, common::Args& args) {
  CheckHostAlive(app_);
  return DispatchObject<PartProgram>::Invoke(id, kind, args);
}

// ---------------------------------------------------------------------------------------------
// PartProgramCollection

HostApplication& PartProgramCollection::App() const {
  auto app = app_.lock();
  if (!app || app->HasQuit()) RaiseHostGone();
  return *app;
}

common::Variant PartProgramCollection::Invoke(common::DispId id, common::InvokeKind kind, common::Args& args) {
  auto app = app_.lock();
  if (!app || app->HasQuit()) RaiseHostGone();
  return DispatchObject<PartProgramCollection>::Invoke(id, kind, args);
}

const DispatchTable<PartProgramCollection>& PartProgramCollection::Table() {
  static const DispatchTable<PartProgramCollection> table = [] {
    DispatchTable<PartProgramCollection> t;
    t.Property(h::programs::Count, "Count", [](PartProgramCollection& c, Args&) { return Variant(c.App().OpenCount()); });
    t.Method(h::programs::Open, "Open", [](PartProgramCollection& c, Args& args) {
      const Variant& path = common::Arg(args, 0);
      if (path.IsMissing()) common::RaisePlatformError(common::err::ArgumentNotOptional, c.TypeName());
      const Variant& machine = common::Arg(args, 1);
      return Obj(c.App().Open(path.ToString(), machine.IsMissing() ? std::string() : machine.ToString()));
    });
    return t;
  }();
  return table;
}

}  // namespace zephra::hostsim
