#pragma once
// The simulated measuring host: the application object with its part-program collection and
// event source, the execution of a part program on the Qt event loop, and the host's dialogs.
//
// Execution advances only from the event loop: every step is started by a QTimer, and the next
// step is armed only after every sink has returned from the events of the current one. A sink
// that lets pending events run therefore never re-enters the host; presses of dialog buttons
// and aborts made from inside a handler take effect at the next step.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QPointer>

#include "common/dispatch.h"
#include "host_program.h"

class QTimer;

namespace zephra::hostsim {

class PartProgram;
class PartProgramCollection;
class HostWindow;
class ReadoutView;

// Members bound by name; the numbers are the stand-in's own.
namespace app_member {
inline constexpr common::DispId PressDialogButton = 1001;  // (window handle, button id) -> Boolean
inline constexpr common::DispId ExecutionDelay = 1002;     // get/put: milliseconds per step
inline constexpr common::DispId StartupOptions = 1003;     // get: the option file's first line
inline constexpr common::DispId OpenDialogs = 1004;        // get: array of open dialog handles
}  // namespace app_member

// One of the host's dialogs: the execution panel of a run or an operator prompt.
struct HostDialog {
  int32_t hwnd = 0;
  int32_t number = 0;
  std::string message;
  std::vector<DialogButton> buttons;
  int32_t defaultButton = 0;
};

// The object whose events are the application events (application member 27).
class HostEvents : public common::DispatchObject<HostEvents> {
 public:
  std::string TypeName() const override { return "ApplicationEvents"; }
  static const common::DispatchTable<HostEvents>& Table();
  void Fire(common::DispId event, common::Args& args) { FireEvent(event, args); }
};

class HostApplication : public common::DispatchObject<HostApplication> {
 public:
  // installFolder: the host's folder (ends in a separator); partProgramFolder: member 6.
  static std::shared_ptr<HostApplication> Create(std::string installFolder, std::string partProgramFolder);
  HostApplication(std::string installFolder, std::string partProgramFolder);
  ~HostApplication() override;
  HostApplication(const HostApplication&) = delete;
  HostApplication& operator=(const HostApplication&) = delete;

  std::string TypeName() const override { return "Application"; }
  static const common::DispatchTable<HostApplication>& Table();
  // Every member fails once the host has quit, as calls to a program that has gone do.
  common::Variant Invoke(common::DispId id, common::InvokeKind kind, common::Args& args) override;

  // The part-program collection's work.
  std::shared_ptr<PartProgram> Open(const std::string& path, const std::string& machine);
  int32_t OpenCount() const { return static_cast<int32_t>(open_.size()); }
  std::shared_ptr<PartProgram> ActiveProgram() const;

  // Part-program members that involve the host.
  bool Execute(const std::shared_ptr<PartProgram>& program);
  void Close(const std::shared_ptr<PartProgram>& program);

  // Presses a button of an open dialog; false when there is no such dialog or button.
  bool PressDialogButton(int32_t hwnd, int32_t buttonId);
  const std::vector<HostDialog>& Dialogs() const { return dialogs_; }

  void SetVisible(bool visible);
  bool Visible() const { return visible_; }
  void Quit();
  bool HasQuit() const { return quit_; }
  int32_t ExecutionDelay() const { return delay_; }
  void SetExecutionDelay(int32_t ms) { delay_ = ms < 0 ? 0 : ms; }
  void ShowReadout(bool show);
  bool ReadoutShown() const { return readoutShown_; }

  // What the window shows.
  bool Running() const { return run_.program != nullptr; }
  std::shared_ptr<PartProgram> RunningProgram() const { return run_.program; }
  // The command executing or waiting (its index), or -1.
  long CurrentCommand() const;
  bool WaitingForOperator() const { return run_.phase == Phase::WaitingForButton; }
  const std::string& InstallFolder() const { return installFolder_; }
  const std::string& StartupOptionsText() const { return startupOptions_; }
  // The program the window lists: the running one, else the active one.
  std::shared_ptr<PartProgram> ShownProgram() const;
  // The last dimension line executed, for the read-out (program and index), if any.
  std::shared_ptr<PartProgram> ReadoutProgram() const { return readoutProgram_.lock(); }
  long ReadoutIndex() const { return readoutIndex_; }

  std::shared_ptr<HostEvents> Events() const { return events_; }
  std::shared_ptr<PartProgramCollection> Programs() const { return programs_; }
  int32_t LanguageId() const;

 private:
  enum class Phase { Idle, Starting, Commands, WaitingForButton, Answered, Ending };
  struct RunState {
    std::shared_ptr<PartProgram> program;
    Phase phase = Phase::Idle;
    size_t position = 0;
    bool abortRequested = false;
    int32_t panelHwnd = 0;
    int32_t promptHwnd = 0;
  };

  void ScheduleStep();
  void ArmTimer();
  void OnTimer();
  void Step();
  void StepStart();
  void StepCommand();
  void StepAnswered();
  void FinishRun(int32_t termination);
  void FireExecuted(size_t index);
  void FireApp(common::DispId event, common::Args args);
  void FirePart(const std::shared_ptr<PartProgram>& program, common::DispId event, common::Args args);
  int32_t OpenDialog(int32_t number, std::string message, std::vector<DialogButton> buttons);
  void AnnounceDialog(const HostDialog& dialog);
  void CloseDialog(int32_t hwnd);
  void Changed();
  bool Alive(uint64_t generation) const { return generation == generation_; }

  std::string installFolder_;
  std::string partProgramFolder_;
  std::string startupOptions_;
  std::shared_ptr<HostEvents> events_;
  std::shared_ptr<PartProgramCollection> programs_;
  std::vector<std::shared_ptr<PartProgram>> open_;  // in the order opened; the last is active
  std::vector<HostDialog> dialogs_;
  RunState run_;
  uint64_t generation_ = 0;  // changes whenever a run starts or ends
  bool delivering_ = false;
  bool stepPending_ = false;
  int32_t nextHwnd_ = 0x2010;
  int32_t delay_;
  bool visible_ = false;
  bool quit_ = false;
  bool quitPending_ = false;
  bool interactive_ = true;
  bool automationMode_ = false;
  bool readoutShown_ = false;
  std::weak_ptr<PartProgram> readoutProgram_;
  long readoutIndex_ = -1;
  std::unique_ptr<QTimer> timer_;
  QPointer<HostWindow> window_;
  QPointer<ReadoutView> readout_;

  friend class PartProgramCollection;
};

class PartProgramCollection : public common::DispatchObject<PartProgramCollection> {
 public:
  explicit PartProgramCollection(std::weak_ptr<HostApplication> app) : app_(std::move(app)) {}
  std::string TypeName() const override { return "PartPrograms"; }
  static const common::DispatchTable<PartProgramCollection>& Table();
  // Fails like the application once the host has quit or is gone.
  common::Variant Invoke(common::DispId id, common::InvokeKind kind, common::Args& args) override;
  HostApplication& App() const;

 private:
  std::weak_ptr<HostApplication> app_;
};

}  // namespace zephra::hostsim
