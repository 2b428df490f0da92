#pragma once
// The live monitor's road through a part run, without any window: what happens at the start
// of a run (a fresh copy of the slide show, its first slide current, the part's history
// chosen), with every executed command (dimensions offered to the show, slide-show switches by
// the part program's ZEP_SLIDESHOW variable) and at the end (the worst state folded, the part
// status, the run logged to the history and the history trimmed). The monitor's windows
// observe it; the command-line tool drives it alone.
//
// The host is reached only by dispatch number (common/host_interface.h).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/automation_error.h"
#include "common/dispatch.h"
#include "document/average.h"
#include "document/history.h"
#include "document/slide_show.h"

namespace zephra::monitor {

// Status sub-codes of EventPartStatus posted at the end of a run.
inline constexpr int32_t kPartGood = 9;
inline constexpr int32_t kPartCaution = 10;
inline constexpr int32_t kPartReject = 11;

// Messages of the live run (the monitor's range).
inline constexpr int32_t kMsgRunning = 30107;
inline constexpr int32_t kMsgStatusEmpty = 30108;
inline constexpr int32_t kMsgStatusOK = 30109;
inline constexpr int32_t kMsgStatusWarning = 30110;
inline constexpr int32_t kMsgStatusError = 30111;
inline constexpr int32_t kMsgNoRunYet = 30115;  // name of the live show before the first run

// The part-program variable through which a program switches or restarts the live show.
inline constexpr const char* kSlideShowVariable = "ZEP_SLIDESHOW";

// What the end of a run leaves behind.
struct RunEnd {
  int32_t worst = 0;            // folded: 0 empty, 1 OK, 2 warning, 5 error
  std::string status;           // the status text of that state
  std::shared_ptr<document::ZEPHistoryLog> log;  // the run's entry, when it was logged
  double start = 0;
  double end = 0;
};

// The windows of the monitor (and the tool) learn of the run's steps through this.
class LiveRunObserver {
 public:
  virtual ~LiveRunObserver() = default;
  // A run started (or restarted on a switch): the live show is new.
  virtual void ShowStarted() {}
  // A dimension was offered to the live show.
  virtual void ResultsArrived() {}
  // A run ended; called after it was logged.
  virtual void ShowEnded(const RunEnd&) {}
  // EventPartStatus with its sub-code (kPartGood, kPartCaution, kPartReject).
  virtual void PartStatus(int32_t) {}
  // Errors the run reports and goes on after: a slide show that cannot be read, an average
  // that cannot be taken. The default shows the error box through the prompts.
  virtual void ErrorBox(const common::AutomationError& e);
  // Errors of the histories (a folder that does not exist) and of a run that could not be
  // logged at a slide-show switch; the monitor posts them to its context. Default: nothing.
  virtual void SignalError(int32_t, const std::string&, const std::string&) {}
};

class LiveRun {
 public:
  explicit LiveRun(LiveRunObserver* observer = nullptr);

  void SetObserver(LiveRunObserver* observer) { observer_ = observer ? observer : &defaultObserver_; }

  // The part program whose run is followed; its member 34 is set at every start.
  void SetPartProgram(std::shared_ptr<common::Dispatch> part) { part_ = std::move(part); }

  // Builds the histories from the settings (HistoryDirectory, HistoryTitle, HistoryMaxParts,
  // USER_ZEP\Historys); the first becomes the current one. Runs are logged only when this
  // succeeded.
  bool InitializeHistories();
  // Logs to this one history, whatever the settings name as the active part's folder.
  void UseHistory(std::shared_ptr<document::ZEPHistory> history);
  bool HistoryEnabled() const { return historyEnabled_; }
  const std::shared_ptr<document::ZEPHistory>& CurrentHistory() const { return currentHistory_; }
  void SetCurrentHistory(std::shared_ptr<document::ZEPHistory> h) { currentHistory_ = std::move(h); }
  const std::shared_ptr<document::ZEPHistoryCollection>& Histories() const { return histories_; }

  // Runs averaged after every logged run; below 2 averaging is off.
  void SetSampleSize(int16_t n) { sampleSize_ = n < 2 ? int16_t{0} : n; }
  int16_t SampleSize() const { return sampleSize_; }
  bool AverageEnabled() const { return historyEnabled_ && sampleSize_ != 0; }
  // Recomputes the average of the current history's newest runs; false when there is none.
  bool ComputeAverage();
  const document::AverageShow& Average() const { return average_; }
  int32_t AverageState() const { return average_.state; }

  // The slide show for the next run (MsgSetSlideShow); empty for none.
  void SetSlideShowFile(std::string file) { slideShowFile_ = std::move(file); }
  const std::string& SlideShowFile() const { return slideShowFile_; }

  // The host's part-program events.
  void OnStartExecution();
  void OnEndExecution(int32_t terminationType);
  // Host errors while a command is looked at are dropped: that command is then not shown.
  void OnObjectExecuted2(common::Dispatch& command);
  // The run is given up (the operator's Status command after the context was asked to abort).
  void CancelRun();

  // The steps of the run themselves.
  void ShowStart(const std::string& file);
  RunEnd ShowEnd();
  void UpdateReport(std::shared_ptr<common::Dispatch> dimension);

  bool Running() const { return running_; }
  bool SlideShowLoaded() const { return loaded_; }
  bool Ended() const { return ended_; }
  document::SlideShow& LiveShow() { return *live_; }
  const document::SlideShow& LiveShow() const { return *live_; }
  int32_t WorstState() const { return worst_; }
  const std::string& StatusText() const { return status_; }
  double StartTime() const { return start_; }
  double EndTime() const { return end_; }

  // The file a "LN|name" assignment names: name joined to DefaultSlideDirectory (the data home
  // when that is empty) and matched without regard to letter case; nothing when it does not
  // exist.
  static std::optional<std::string> SwitchTarget(const std::string& name);

 private:
  void SwitchSlideShow(const std::string& value);
  void ChooseHistory();

  LiveRunObserver defaultObserver_;
  LiveRunObserver* observer_;
  std::shared_ptr<common::Dispatch> part_;
  std::unique_ptr<document::SlideShow> live_;
  std::string slideShowFile_;
  bool running_ = false;
  bool loaded_ = false;
  bool ended_ = true;
  int32_t worst_ = 0;
  std::string status_;
  double start_ = 0;
  double end_ = 0;

  std::shared_ptr<document::ZEPHistoryCollection> histories_;
  bool historyEnabled_ = false;
  std::shared_ptr<document::ZEPHistory> currentHistory_;
  std::string defaultHistoryDir_;
  std::string defaultHistoryTitle_;
  std::optional<std::string> pinnedHistoryDir_;
  int16_t sampleSize_ = 0;
  document::AverageShow average_;
};

}  // namespace zephra::monitor
