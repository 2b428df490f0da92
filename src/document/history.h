#pragma once
// The part history: the finished runs of a part, each kept as a copy of its slide show with
// the results (a binary run file "Hst<ID>.Log"), listed newest first in the folder's index
// "History.log". The live monitor logs to it and browses it; averages are taken over its
// newest runs (average.h).
//
// ZEPHistoryCollection  every folder the monitor knows (the default one, then the list below
//                       USER_ZEP\Historys)
// ZEPHistory            one folder and its index
// ZEPHistoryLogCollection  the runs of one folder, newest first
// ZEPHistoryLog         one run

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "block_parser.h"
#include "common/automation_error.h"

namespace zephra::document {

class SlideShow;

// Messages of the history (the monitor's range).
inline constexpr int32_t kMsgHistoryMissingFolder = 30140;   // a history folder does not exist (folder)
inline constexpr int32_t kMsgHistoryDefaultMissing = 30141;  // the default history is not available
inline constexpr int32_t kMsgHistorySource = 30142;          // source of history errors
inline constexpr int32_t kMsgDefaultHistoryTitle = 30175;    // title of the default history when none is set

// Errors the history hands to its owner instead of raising them (the monitor posts them to its
// context): number, source, description.
using HistoryErrorSink = std::function<void(int32_t number, const std::string& source, const std::string& description)>;

// The most runs a history keeps when no positive maximum is given.
inline constexpr int16_t kDefaultHistoryMax = 20;
inline constexpr const char* kHistoryIndexName = "History.log";

class ZEPHistoryLog {
 public:
  // A new run is stamped with the time it is created.
  ZEPHistoryLog();

  int16_t ID() const { return id_; }
  const std::string& Name() const { return name_; }
  const std::string& Status() const { return status_; }
  const std::string& Filename() const { return filename_; }
  int16_t TOLERANCE() const { return tolerance_; }
  double Timestamp() const { return timestamp_; }

  // Fills the fields of a finished run and writes its slide show in the binary form to
  // "Hst<n>.Log" in sDir, replacing a file of that name.
  void Record(int16_t n, const std::string& sDir, SlideShow& oSlideShow, const std::string& sStat, int16_t nTol);
  // Reads the keys of one run, just after its "BLOCK Log" line; END or the end of the file
  // ends it. Unknown keys are reported and skipped.
  void LoadFromFile(BlockParser& parser);
  // Appends the run's block (tab-indented, CR LF lines).
  void SaveToFile(std::string& out) const;
  // Deletes the run file, read-only or not; errors are ignored.
  // Deletes the run file, but only a run file of this history: a file named Hst<ID>.Log in the
  // folder given. An index copied from elsewhere or edited by hand can name any file; those are
  // left alone.
  void Destroy(const std::string& historyFolder) const;

  // For tests and tools that build runs by hand.
  void SetID(int16_t v) { id_ = v; }
  void SetTimestamp(double v) { timestamp_ = v; }

 private:
  int16_t id_ = 0;
  std::string name_;
  std::string status_;
  std::string filename_;
  int16_t tolerance_ = 0;
  double timestamp_ = 0;
};

class ZEPHistoryLogCollection {
 public:
  void Initialize(int16_t nMax, std::string sDirectory);

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // 1-based; error 9 outside the list.
  const std::shared_ptr<ZEPHistoryLog>& Item(int32_t index) const;
  int16_t Maximum() const { return max_; }
  const std::string& Directory() const { return directory_; }

  // Reads one run (the parser stands after its "BLOCK Log" line) and inserts it before the
  // first run that is older, so the list stays newest first and equal times keep file order.
  void AddFromFile(BlockParser& parser);
  // Records a finished run: the oldest runs beyond the maximum give way, the new run takes the
  // smallest free ID and goes first. The caller writes the index afterwards.
  std::shared_ptr<ZEPHistoryLog> Append(SlideShow& oSlideShow, const std::string& sStatus, int16_t nTol);

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  int16_t max_ = kDefaultHistoryMax;
  std::string directory_;
  std::vector<std::shared_ptr<ZEPHistoryLog>> items_;
};

class ZEPHistory {
 public:
  // Opens the folder's history. A folder that does not exist is reported to onError (5000)
  // and gives false; a missing index is an empty history; a malformed one gives false with
  // nothing reported (LastError() tells why). A maximum of 0 or less becomes 20, also in nMax.
  bool Initialize(const HistoryErrorSink& onError, const std::string& sDir, const std::string& sTitle, int16_t& nMax);

  // The folder, ending in a separator.
  const std::string& Directory() const { return directory_; }
  void SetDirectory(std::string v) { directory_ = std::move(v); }
  const std::string& Title() const { return title_; }
  void SetTitle(std::string v) { title_ = std::move(v); }
  int16_t Maximum() const { return logs_.Maximum(); }
  // The index file: the folder joined with "History.log".
  const std::string& Path() const { return path_; }
  ZEPHistoryLogCollection& HistoryLogs() { return logs_; }
  const ZEPHistoryLogCollection& HistoryLogs() const { return logs_; }
  // Why the last Initialize gave false, when it did.
  const std::optional<common::AutomationError>& LastError() const { return lastError_; }

  // Rewrites the index: "BLOCK History", every run newest first, "END". The old index stays
  // intact until the new one is complete.
  void SaveToFile() const;
  // The index's bytes, exactly as SaveToFile writes them.
  std::string ToText() const;

 private:
  void Read();

  std::string directory_;
  std::string title_;
  std::string path_;
  ZEPHistoryLogCollection logs_;
  std::optional<common::AutomationError> lastError_;
};

class ZEPHistoryCollection {
 public:
  // Builds the histories from the settings: the default folder (HistoryDirectory,
  // HistoryTitle, HistoryMaxParts), then every folder of USER_ZEP\Historys that is not in the
  // collection yet. False when histories are off (no default folder, or HistoryMaxParts 0),
  // when the default folder cannot be opened, or when the list cannot be read.
  bool Initialize(const HistoryErrorSink& onError);

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // 1-based; error 9 outside the list.
  const std::shared_ptr<ZEPHistory>& Item(int32_t index) const;
  // Adds a history opened elsewhere (a tool's own folder).
  void Add(std::shared_ptr<ZEPHistory> history) { items_.push_back(std::move(history)); }
  // The first history whose Directory equals sKeyDir (a separator appended) and, when sKeyTitle
  // is not empty, whose Title equals it; exact comparison.
  std::shared_ptr<ZEPHistory> FindHistory(const std::string& sKeyDir, const std::string& sKeyTitle) const;

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<std::shared_ptr<ZEPHistory>> items_;
};

}  // namespace zephra::document
