#include "live_run.h"

#include "common/default_settings.h"
#include "common/host_interface.h"
#include "common/number_text.h"
#include "common/paths.h"
#include "common/prompts.h"
#include "common/reg_entry.h"
#include "common/string_res.h"
#include "common/text.h"
#include "document/message_profile.h"

namespace zephra::monitor {

namespace host = common::host;
using common::AutomationError;
using common::Variant;

namespace {

// The user settings value, or empty when it cannot be read.
std::string UserSetting(const char* name) {
  try {
    common::RegEntry reg;
    if (!reg.TestKey(common::kUserKey)) return "";
    reg.OpenKey(common::kUserKey);
    return reg.GetString(name);
  } catch (const AutomationError&) {
    return "";
  }
}

std::string StatusOf(int32_t worst) {
  switch (worst) {
    case 1: return common::GetMessage(kMsgStatusOK);
    case 2: return common::GetMessage(kMsgStatusWarning);
    case 5: return common::GetMessage(kMsgStatusError);
    default: return common::GetMessage(kMsgStatusEmpty);
  }
}

}  // namespace

void LiveRunObserver::ErrorBox(const AutomationError& e) {
  common::CurrentPrompts().ShowMessage(std::to_string(e.Number()) + ": " + e.Description(),
                                       common::mb::OK | common::mb::Exclamation, "Error at " + e.Source());
}

LiveRun::LiveRun(LiveRunObserver* observer)
    : observer_(observer ? observer : &defaultObserver_),
      live_(std::make_unique<document::SlideShow>(document::kMonitorMessages)) {
  // Before the first run the display holds a placeholder show of one empty slide.
  live_->SetName(common::GetMessage(kMsgNoRunYet));
  live_->Slides().Add()->SetName("");
  live_->MoveNext();
  status_ = common::GetMessage(kMsgStatusEmpty);
}

bool LiveRun::InitializeHistories() {
  defaultHistoryDir_ = std::string(common::TrimSpaces(UserSetting("HistoryDirectory")));
  if (!defaultHistoryDir_.empty()) defaultHistoryDir_ = common::AddSeparator(defaultHistoryDir_);
  defaultHistoryTitle_ = UserSetting("HistoryTitle");
  if (defaultHistoryTitle_.empty()) defaultHistoryTitle_ = common::GetMessage(document::kMsgDefaultHistoryTitle);
  histories_ = std::make_shared<document::ZEPHistoryCollection>();
  historyEnabled_ = histories_->Initialize(
      [this](int32_t number, const std::string& source, const std::string& text) {
        observer_->SignalError(number, source, text);
      });
  currentHistory_ = historyEnabled_ ? histories_->Item(1) : nullptr;
  pinnedHistoryDir_.reset();
  return historyEnabled_;
}

void LiveRun::UseHistory(std::shared_ptr<document::ZEPHistory> history) {
  histories_ = std::make_shared<document::ZEPHistoryCollection>();
  historyEnabled_ = history != nullptr;
  pinnedHistoryDir_.reset();
  if (history) {
    pinnedHistoryDir_ = history->Directory();
    histories_->Add(history);
  }
  currentHistory_ = std::move(history);
}

void LiveRun::ChooseHistory() {
  std::string folder;
  if (pinnedHistoryDir_) {
    folder = *pinnedHistoryDir_;
  } else {
    // The shell names the folder of the part being started; without one the default history
    // takes the run.
    folder = UserSetting("ActiveHistoryDirectory");
    if (folder.empty()) folder = defaultHistoryDir_;
  }
  currentHistory_ = histories_ ? histories_->FindHistory(folder, "") : nullptr;
}

bool LiveRun::ComputeAverage() {
  average_ = document::AverageShow();
  if (!AverageEnabled() || !currentHistory_) return false;
  average_ = document::ComputeAverage(*currentHistory_, sampleSize_);
  if (average_.error) observer_->ErrorBox(*average_.error);
  return static_cast<bool>(average_);
}

void LiveRun::ShowStart(const std::string& file) {
  loaded_ = false;
  try {
    loaded_ = !file.empty() && common::FileExists(file);
  } catch (const AutomationError& e) {
    observer_->ErrorBox(e);
  }
  live_ = std::make_unique<document::SlideShow>(document::kMonitorMessages);
  if (loaded_) {
    try {
      live_->LoadFromFile(file);
      live_->MoveNext();
    } catch (const AutomationError& e) {
      // A show that cannot be read leaves the run without one: it is followed but not logged.
      observer_->ErrorBox(e);
      loaded_ = false;
      live_ = std::make_unique<document::SlideShow>(document::kMonitorMessages);
    }
  }
  if (historyEnabled_) ChooseHistory();
  start_ = common::Now();
  worst_ = 0;
  ended_ = false;
  status_ = common::GetMessage(kMsgRunning);
  observer_->ShowStarted();
}

RunEnd LiveRun::ShowEnd() {
  RunEnd result;
  end_ = common::Now();
  worst_ = live_->WorstTolerance();
  ended_ = true;
  status_ = StatusOf(worst_);
  switch (worst_) {
    case 1: observer_->PartStatus(kPartGood); break;
    case 2: observer_->PartStatus(kPartCaution); break;
    case 5: observer_->PartStatus(kPartReject); break;
    default: break;
  }
  result.worst = worst_;
  result.status = status_;
  result.start = start_;
  result.end = end_;
  if (loaded_ && currentHistory_) {
    result.log = currentHistory_->HistoryLogs().Append(*live_, status_, static_cast<int16_t>(worst_));
    currentHistory_->SaveToFile();
    ComputeAverage();
  }
  observer_->ShowEnded(result);
  return result;
}

void LiveRun::UpdateReport(std::shared_ptr<common::Dispatch> dimension) {
  live_->UpdateReport(std::move(dimension));
  observer_->ResultsArrived();
}

void LiveRun::OnStartExecution() {
  if (part_) part_->Put(host::part::RunStarted, Variant(true));
  ShowStart(slideShowFile_);
  running_ = true;
}

void LiveRun::OnEndExecution(int32_t) {
  if (!running_) return;
  ShowEnd();
  running_ = false;
  slideShowFile_.clear();
}

void LiveRun::CancelRun() {
  if (!running_) return;
  ShowEnd();
  running_ = false;
  slideShowFile_.clear();
}

void LiveRun::OnObjectExecuted2(common::Dispatch& command) {
  std::string switchValue;
  try {
    if (command.Get(host::command::IsDimension).ToBool() && running_ &&
        command.Get(host::command::Reported).ToBool()) {
      UpdateReport(command.Get(host::command::DimensionCommand).ToObject());
      return;
    }
    if (command.Get(host::command::Type).ToLong() != host::type::Assignment) return;
    auto assignment = command.Get(host::command::AssignmentCommand).ToObject();
    if (!assignment) return;
    if (common::ToUpperAscii(assignment->Get(host::assignment::Name).ToString()) != kSlideShowVariable) return;
    switchValue = common::ToUpperAscii(assignment->Get(host::assignment::Value).ToString());
  } catch (const AutomationError&) {
    // The host could not tell: the command is simply not shown.
    return;
  }
  // A run that cannot be logged at a switch must not vanish without a word: it is reported
  // like the history's other failures.
  try {
    SwitchSlideShow(switchValue);
  } catch (const AutomationError& e) {
    observer_->SignalError(e.Number(), e.Source(), e.Description());
  }
}

std::optional<std::string> LiveRun::SwitchTarget(const std::string& name) {
  std::string directory = UserSetting("DefaultSlideDirectory");
  if (directory.empty()) directory = common::DataHome();
  const std::string path = common::JoinPath(directory, name);
  // The part program names the file in capitals; the file system knows letter case.
  return common::ResolvePathNoCase(path);
}

void LiveRun::SwitchSlideShow(const std::string& value) {
  if (value == "RESET") {
    if (!running_) return;
    ShowEnd();
    ShowStart(slideShowFile_);
    running_ = true;
    return;
  }
  if (value.rfind("LN|", 0) != 0) return;
  const std::string name(common::TrimSpaces(std::string_view(value).substr(3)));
  if (!running_ || name.empty()) return;
  const auto file = SwitchTarget(name);
  if (!file || !common::FileExists(*file) || common::DirectoryExists(*file)) return;
  ShowEnd();
  slideShowFile_ = *file;
  ShowStart(slideShowFile_);
  running_ = true;
}

}  // namespace zephra::monitor
