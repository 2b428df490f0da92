#pragma once
// A simulated host of its own for each test, in a temporary data home, with the events it
// fires recorded as short texts.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/component_registry.h"
#include "common/dispatch.h"
#include "common/host_interface.h"
#include "common/paths.h"
#include "common/string_res.h"
#include "hostsim/host_registration.h"
#include "support/temp_home.h"

namespace zephra::testing {

namespace h = common::host;
using common::Args;
using common::Dispatch;
using common::DispId;
using common::Variant;

// The widgets of the host need an application object; one serves every test of the program.
// It is made and destroyed by a test environment, so it goes before the program's statics.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "hostsim_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

inline ::testing::Environment* const kQtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// Lets the event loop run until done() holds; gives up after a generous while so a fault shows
// as a failed expectation rather than a hung test.
inline bool RunUntil(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

// Lets the event loop run a fixed number of rounds.
inline void Spin(int rounds) {
  for (int i = 0; i < rounds; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

inline std::string CommandKey(Dispatch& command) {
  return command.Get(h::command::Type).ToString() + ":" + command.Get(h::command::DisplayText).ToString();
}

// Records application and part-program events as texts such as "app.Executed2 1002:X".
class EventLog {
 public:
  std::function<void(const std::string&, Args&)> onEvent;  // called after recording

  EventLog() = default;
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;
  ~EventLog() {
    for (auto& [source, cookie] : connections_) source->Disconnect(cookie);
  }

  void Attach(const std::shared_ptr<Dispatch>& host, const std::shared_ptr<Dispatch>& program) {
    auto events = host->Get(h::app::EventSource).ToObject();
    connections_.emplace_back(events, events->Connect(std::make_shared<common::FunctionSink>(
                                          [this](Dispatch&, DispId id, Args& a) { Record(AppText(id, a), a); })));
    connections_.emplace_back(program, program->Connect(std::make_shared<common::FunctionSink>(
                                           [this](Dispatch&, DispId id, Args& a) { Record(PartText(id, a), a); })));
  }

  const std::vector<std::string>& Lines() const { return lines_; }
  bool Has(const std::string& line) const {
    for (const auto& l : lines_) {
      if (l == line) return true;
    }
    return false;
  }
  size_t Count(const std::string& prefix) const {
    size_t n = 0;
    for (const auto& l : lines_) n += l.rfind(prefix, 0) == 0;
    return n;
  }
  bool Ended() const { return Count("part.End") > 0; }
  void Clear() { lines_.clear(); }
  int32_t lastDialogNumber = 0, lastDialogHwnd = 0, panelHwnd = 0;

 private:
  void Record(std::string text, Args& a) {
    lines_.push_back(text);
    if (onEvent) onEvent(text, a);
  }
  std::string AppText(DispId id, Args& a) {
    switch (id) {
      case h::app_event::OnStartExecution: return "app.Start";
      case h::app_event::OnEndExecution: return "app.End " + a[1].ToString();
      case h::app_event::OnObjectExecuted2: return "app.Executed2 " + CommandKey(*a[1].ToObject()) + " arm " + a[2].ToString();
      case h::app_event::OnAddObject: return "app.Added " + CommandKey(*a[1].ToObject());
      case h::app_event::OnClosePartProgram: return "app.Close";
      case h::app_event::OnUpdateStatusMessage: return "app.Status " + a[0].ToString();
      case h::app_event::OnOpenRemotePanelDialog2: {
        lastDialogNumber = a[1].ToLong();
        lastDialogHwnd = a[2].ToLong();
        if (lastDialogNumber == h::dialog::ExecutionPanel) panelHwnd = lastDialogHwnd;
        std::string text = "app.Dialog " + a[1].ToString() + " " + a[3].ToString() + " [";
        for (int i = 4; i <= 8; ++i) text += a[static_cast<size_t>(i)].ToString() + (i < 8 ? "," : "]");
        return text + " default " + a[9].ToString();
      }
    }
    return "app.? " + std::to_string(id);
  }
  static std::string PartText(DispId id, Args& a) {
    switch (id) {
      case h::part_event::OnStartExecution: return "part.Start";
      case h::part_event::OnEndExecution: return "part.End " + a[0].ToString();
      case h::part_event::OnObjectExecuted: return "part.Executed " + CommandKey(*a[0].ToObject());
      case h::part_event::OnObjectExecuted2: return "part.Executed2 " + CommandKey(*a[0].ToObject()) + " arm " + a[1].ToString();
      case h::part_event::OnExecuteDialogStatusMsg: return "part.StatusMsg " + a[0].ToString();
      case h::part_event::OnExecuteDialogErrorMsg: return "part.ErrorMsg " + a[0].ToString();
    }
    return "part.? " + std::to_string(id);
  }
  std::vector<std::string> lines_;
  std::vector<std::pair<std::shared_ptr<Dispatch>, int>> connections_;
};

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    common::SetLanguage(common::kLanguageEnglish);
    hostsim::RegisterHost();
    host = common::CreateObject(h::kProgId);
    host->PutByName("ExecutionDelay", Variant(0));
    programs = host->Get(h::app::PartPrograms).ToObject();
  }
  void TearDown() override {
    try {
      host->Call(h::app::Quit);
    } catch (const common::AutomationError&) {
    }
  }

  std::shared_ptr<Dispatch> OpenText(const std::string& text, const std::string& name = "p.prg") {
    return Open(home.Write(name, text));
  }
  std::shared_ptr<Dispatch> Open(const std::string& path) {
    return programs->Call(h::programs::Open, {Variant(path), Variant("OFFLINE")}).ToObject();
  }
  std::shared_ptr<Dispatch> Command(const std::shared_ptr<Dispatch>& program, int32_t index) {
    return program->Get(h::part::Commands).ToObject()->Call(h::commands::Item, {Variant(index)}).ToObject();
  }
  // Runs the program to its end, answering prompts with their first button.
  void RunToEnd(const std::shared_ptr<Dispatch>& program, EventLog& log) {
    ASSERT_TRUE(program->Call(h::part::Execute).ToBool());
    ASSERT_TRUE(RunUntil([&] { return log.Ended(); }));
  }

  TempHome home;
  std::shared_ptr<Dispatch> host;
  std::shared_ptr<Dispatch> programs;
};

// The sample shipped with the suite.
inline std::string SamplePath() { return common::ResourceDirectory() + "/samples/bracket.prg"; }

}  // namespace zephra::testing
