#include "history.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "common/default_settings.h"
#include "common/number_text.h"
#include "common/paths.h"
#include "common/reg_entry.h"
#include "common/string_res.h"
#include "common/text.h"
#include "common/variant.h"
#include "document_io.h"
#include "message_profile.h"
#include "slide_show.h"

namespace zephra::document {

using common::AutomationError;
using common::Variant;

namespace {

constexpr const char* kSourceInitialize = "History.Initialize";
constexpr const char* kSourceLoad = "History.LoadFromFile";

const MessageProfile& Messages() { return kMonitorMessages; }

[[noreturn]] void RaiseHistoryError(const char* source, int32_t message, std::initializer_list<Variant> args) {
  throw AutomationError(kStructureError, source, common::FormatMessage(message, args));
}

[[noreturn]] void RaiseMismatch(const char* source, const BlockParser& parser, const char* expected) {
  RaiseHistoryError(source, Messages().blockMismatch,
                    {Variant("BLOCK"), Variant(std::to_string(parser.CurrentLine())), Variant(expected),
                     Variant(parser.BlockType())});
}

// A key's value as a 16-bit integer; a value that does not convert names the line and key.
int16_t KeyInteger(const BlockParser& parser) {
  try {
    return Variant(parser.Value()).ToInt();
  } catch (const AutomationError& e) {
    throw AutomationError(e.Number(), kSourceLoad,
                          common::FormatMessage(Messages().badValue, {Variant(std::to_string(parser.CurrentLine())),
                                                                      Variant(parser.Key()), Variant(e.Description())}));
  }
}

double KeyTimestamp(const BlockParser& parser) {
  if (auto d = common::ParseDateTime(parser.Value())) return *d;
  throw AutomationError(common::err::TypeMismatch, kSourceLoad,
                        common::FormatMessage(Messages().badValue,
                                              {Variant(std::to_string(parser.CurrentLine())), Variant(parser.Key()),
                                               Variant(common::PlatformErrorText(common::err::TypeMismatch))}));
}

std::string RunFileName(const std::string& directory, int16_t id) {
  return common::JoinPath(directory, "Hst" + std::to_string(id) + ".Log");
}

// The folder as the history keeps it: trimmed, a separator appended unless it is empty.
std::string FolderText(const std::string& dir) {
  const std::string trimmed(common::TrimSpaces(dir));
  return trimmed.empty() ? trimmed : common::AddSeparator(trimmed);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// ZEPHistoryLog

ZEPHistoryLog::ZEPHistoryLog() : timestamp_(common::Now()) {}

void ZEPHistoryLog::Record(int16_t n, const std::string& sDir, SlideShow& oSlideShow, const std::string& sStat,
                           int16_t nTol) {
  id_ = n;
  filename_ = RunFileName(sDir, n);
  name_ = oSlideShow.Name();
  timestamp_ = common::Now();
  status_ = sStat;
  tolerance_ = nTol;
  oSlideShow.SaveToBinary(filename_);
}

void ZEPHistoryLog::LoadFromFile(BlockParser& parser) {
  while (true) {
    const int token = parser.GetToken();
    if (token == BlockParser::TokenEndBlock || token == BlockParser::TokenEndFile) return;
    if (token == BlockParser::TokenStartBlock) RaiseMismatch(kSourceLoad, parser, "none");
    const std::string& key = parser.Key();
    if (key == "NAME") {
      name_ = parser.Value();
    } else if (key == "FILE") {
      filename_ = parser.Value();
    } else if (key == "STATUS") {
      status_ = parser.Value();
    } else if (key == "ID") {
      id_ = KeyInteger(parser);
    } else if (key == "TOLERANCE") {
      tolerance_ = KeyInteger(parser);
    } else if (key == "TIMESTAMP") {
      timestamp_ = KeyTimestamp(parser);
    } else {
      ReportUnknownKey(Messages(), "HistoryLog Value", key, Messages().valueSource);
    }
  }
}

void ZEPHistoryLog::SaveToFile(std::string& out) const {
  WritePlainLine(out, 1, "BLOCK Log");
  WriteKeyLine(out, 2, "ID", static_cast<int32_t>(id_));
  WriteKeyLine(out, 2, "NAME", name_);
  WriteKeyLine(out, 2, "STATUS", status_);
  WriteKeyLine(out, 2, "FILE", filename_);
  WriteKeyLine(out, 2, "TOLERANCE", static_cast<int32_t>(tolerance_));
  WriteKeyLine(out, 2, "TIMESTAMP", common::FormatDateTime(timestamp_));
  WritePlainLine(out, 1, "END");
}

void ZEPHistoryLog::Destroy(const std::string& historyFolder) const {
  if (filename_.empty()) return;
  if (common::ParentDirectory(filename_) != common::AddSeparator(historyFolder)) return;
  const std::string name = common::FileNameOf(filename_);
  const bool runFileName = name.size() > 7 && common::StartsWithNoCase(name, "Hst") && common::EndsWithNoCase(name, ".Log") &&
                           std::all_of(name.begin() + 3, name.end() - 4, [](char c) { return c >= '0' && c <= '9'; });
  if (!runFileName) return;
  // A read-only run file must go too: give the owner write permission first.
  struct stat st {};
  if (::stat(filename_.c_str(), &st) == 0) ::chmod(filename_.c_str(), st.st_mode | S_IWUSR);
  std::remove(filename_.c_str());
}

// ---------------------------------------------------------------------------------------------
// ZEPHistoryLogCollection

void ZEPHistoryLogCollection::Initialize(int16_t nMax, std::string sDirectory) {
  max_ = nMax > 0 ? nMax : kDefaultHistoryMax;
  directory_ = std::move(sDirectory);
  items_.clear();
}

const std::shared_ptr<ZEPHistoryLog>& ZEPHistoryLogCollection::Item(int32_t index) const {
  if (index < 1 || index > Count()) common::RaisePlatformError(common::err::SubscriptOutOfRange, "ZEPHistoryLogCollection");
  return items_[static_cast<size_t>(index - 1)];
}

void ZEPHistoryLogCollection::AddFromFile(BlockParser& parser) {
  auto log = std::make_shared<ZEPHistoryLog>();
  log->LoadFromFile(parser);
  auto at = std::find_if(items_.begin(), items_.end(),
                         [&](const auto& other) { return other->Timestamp() < log->Timestamp(); });
  items_.insert(at, std::move(log));
}

std::shared_ptr<ZEPHistoryLog> ZEPHistoryLogCollection::Append(SlideShow& oSlideShow, const std::string& sStatus,
                                                                int16_t nTol) {
  // The runs that give way are those from position maximum on. The new run is written before
  // any of them is dropped, so a run file that cannot be written costs no old run and leaves
  // the list and the index as they were.
  const size_t keep = std::min(items_.size(), static_cast<size_t>(max_ - 1));
  std::vector<bool> used(static_cast<size_t>(max_) + 2, false);
  for (size_t i = 0; i < keep; ++i) {
    const int16_t id = items_[i]->ID();
    if (id >= 1 && id <= max_ + 1) used[static_cast<size_t>(id)] = true;
  }
  int16_t newId = 1;
  while (newId <= max_ && used[static_cast<size_t>(newId)]) ++newId;

  auto log = std::make_shared<ZEPHistoryLog>();
  log->Record(newId, directory_, oSlideShow, sStatus, nTol);

  for (size_t i = keep; i < items_.size(); ++i) {
    // The new run may have taken over the file of a run that gave way.
    if (items_[i]->Filename() != log->Filename()) items_[i]->Destroy(directory_);
  }
  items_.resize(keep);
  items_.insert(items_.begin(), log);
  return log;
}

// ---------------------------------------------------------------------------------------------
// ZEPHistory

bool ZEPHistory::Initialize(const HistoryErrorSink& onError, const std::string& sDir, const std::string& sTitle,
                            int16_t& nMax) {
  lastError_.reset();
  directory_ = FolderText(sDir);
  if (directory_.empty() || !common::DirectoryExists(directory_)) {
    AutomationError e(common::regerr::CreateFailed, common::GetMessage(kMsgHistorySource),
                      common::FormatMessage(kMsgHistoryMissingFolder, {Variant(directory_)}));
    if (onError) onError(e.Number(), e.Source(), e.Description());
    lastError_ = std::move(e);
    return false;
  }
  title_ = std::string(common::TrimSpaces(sTitle));
  if (nMax <= 0) nMax = kDefaultHistoryMax;
  logs_.Initialize(nMax, directory_);
  path_ = common::JoinPath(directory_, kHistoryIndexName);
  if (!common::FileExists(path_)) return true;
  try {
    Read();
  } catch (const AutomationError& e) {
    lastError_ = e;
    return false;
  }
  return true;
}

void ZEPHistory::Read() {
  BlockParser parser(Messages().blockSyntax);
  parser.OpenFile(path_);
  int token = parser.GetToken();
  if (token != BlockParser::TokenStartBlock) {
    RaiseHistoryError(kSourceInitialize, Messages().badStart, {Variant(std::to_string(parser.CurrentLine()))});
  }
  if (common::ToUpperAscii(parser.BlockType()) != "HISTORY") RaiseMismatch(kSourceInitialize, parser, "HISTORY");
  while (true) {
    token = parser.GetToken();
    if (token == BlockParser::TokenEndBlock || token == BlockParser::TokenEndFile) break;
    if (token == BlockParser::TokenStartBlock) {
      if (common::ToUpperAscii(parser.BlockType()) != "LOG") RaiseMismatch(kSourceInitialize, parser, "LOG");
      logs_.AddFromFile(parser);
    } else {
      ReportUnknownKey(Messages(), "SlideShow", parser.Key(), Messages().showSource);
    }
  }
  if (token == BlockParser::TokenEndBlock && parser.GetToken() != BlockParser::TokenEndFile) {
    RaiseHistoryError(kSourceInitialize, Messages().trailingText, {Variant(std::to_string(parser.CurrentLine()))});
  }
}

std::string ZEPHistory::ToText() const {
  std::string out;
  WritePlainLine(out, 0, "BLOCK History");
  for (const auto& log : logs_) log->SaveToFile(out);
  WritePlainLine(out, 0, "END");
  return out;
}

void ZEPHistory::SaveToFile() const { common::WriteFileAtomically(path_, ToText()); }

// ---------------------------------------------------------------------------------------------
// ZEPHistoryCollection

bool ZEPHistoryCollection::Initialize(const HistoryErrorSink& onError) {
  items_.clear();
  try {
    common::RegEntry reg;
    if (!reg.TestKey(common::kUserKey)) return false;
    reg.OpenKey(common::kUserKey);
    const std::string dir(common::TrimSpaces(reg.GetString("HistoryDirectory")));
    std::string title = reg.GetString("HistoryTitle");
    if (title.empty()) title = common::GetMessage(kMsgDefaultHistoryTitle);
    int16_t max = common::GetIntegerField(reg.GetString("HistoryMaxParts"), 0, kDefaultHistoryMax);
    if (dir.empty() || max == 0) return false;

    auto first = std::make_shared<ZEPHistory>();
    if (!first->Initialize(onError, common::AddSeparator(dir), title, max)) {
      if (onError) {
        onError(common::regerr::CreateFailed, common::GetMessage(kMsgHistorySource),
                common::GetMessage(kMsgHistoryDefaultMissing));
      }
      return false;
    }
    items_.push_back(first);

    if (!reg.TestKey(common::kHistoryListKey)) return true;
    reg.OpenKey(common::kHistoryListKey);
    const int32_t count = Variant(reg.GetString("NumberOfHistorys")).ToLong();
    for (int32_t n = 1; n <= count; ++n) {
      const std::string folder = reg.GetString("Directory" + std::to_string(n));
      if (folder.empty()) break;
      const std::string folderTitle = reg.GetString("Title" + std::to_string(n));
      auto history = std::make_shared<ZEPHistory>();
      if (history->Initialize(onError, common::AddSeparator(folder), folderTitle, max) &&
          !FindHistory(history->Directory(), "")) {
        items_.push_back(std::move(history));
      }
    }
    return true;
  } catch (const AutomationError&) {
    return false;
  }
}

const std::shared_ptr<ZEPHistory>& ZEPHistoryCollection::Item(int32_t index) const {
  if (index < 1 || index > Count()) common::RaisePlatformError(common::err::SubscriptOutOfRange, "ZEPHistoryCollection");
  return items_[static_cast<size_t>(index - 1)];
}

std::shared_ptr<ZEPHistory> ZEPHistoryCollection::FindHistory(const std::string& sKeyDir,
                                                              const std::string& sKeyTitle) const {
  const std::string dir = common::AddSeparator(sKeyDir);
  for (const auto& h : items_) {
    if (h->Directory() == dir && (sKeyTitle.empty() || h->Title() == sKeyTitle)) return h;
  }
  return nullptr;
}

}  // namespace zephra::document
