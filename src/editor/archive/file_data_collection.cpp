#include "file_data_collection.h"

#include "archive_messages.h"
#include "archive_path.h"
#include "common/automation_error.h"
#include "common/paths.h"
#include "common/prompts.h"
#include "common/string_res.h"
#include "export_file.h"
#include "overwrite_question.h"
#include "restore_transaction.h"

namespace zephra::editor {

using common::AutomationError;
using common::Variant;

const FileData& FileDataCollection::Item(int32_t index) const {
  if (index < 1 || index > Count()) common::RaisePlatformError(common::err::SubscriptOutOfRange, "FileDataCollection");
  return items_[static_cast<size_t>(index - 1)];
}

void FileDataCollection::Append(FileData data) {
  index_.emplace(data.OriginalFileName(), items_.size());
  items_.push_back(std::move(data));
}

void FileDataCollection::Add(const std::string& path) {
  if (Contains(path)) return;
  Append(FileData(path));
}

std::string FileDataCollection::FindNewFileName(const std::string& path) const {
  const auto it = index_.find(path);
  return it == index_.end() ? std::string() : items_[it->second].NewFileName();
}

void FileDataCollection::Clear() {
  items_.clear();
  index_.clear();
}

void FileDataCollection::Export(ExportFile& archive) const {
  archive.WriteLong(Count());
  for (const FileData& item : items_) {
    archive.WriteString(item.OriginalFileName());
    archive.WriteFile(item.OriginalFileName());
  }
}

namespace {

// A question that cannot be asked is reported and counts as No: the file is kept and the next
// one asks again.
OverwriteAnswer AskSafely(OverwriteQuestion& question, const std::string& path) {
  try {
    return question.Ask(path);
  } catch (const AutomationError& e) {
    common::CurrentPrompts().ShowMessage(std::to_string(e.Number()) + ": " + e.Description(),
                                         common::mb::Exclamation, "Error at " + e.Source());
    return OverwriteAnswer::No;
  }
}

}  // namespace

void FileDataCollection::Import(ExportFile& archive, OverwriteQuestion& question, RestoreTransaction& restore) {
  Clear();
  bool overwrite = false;
  bool askAgain = true;
  const int64_t countAt = archive.Position();
  const int32_t count = archive.ReadLong();
  if (count < 0) {
    throw AutomationError(archive_error::NotAnArchive, ExportFile::kReadSource,
                          common::FormatMessage(archive_msg::NegativeLength,
                                                {Variant(archive.Path()), Variant(std::to_string(countAt)),
                                                 Variant(std::to_string(count))}));
  }
  for (int32_t i = 0; i < count; ++i) {
    const std::string stored = archive.ReadString();
    CheckRestorablePath(archive.Path(), stored);
    if (Contains(stored)) {
      throw AutomationError(archive_error::NotAnArchive, ExportFile::kReadSource,
                            common::FormatMessage(archive_msg::Duplicate, {Variant(archive.Path()), Variant(stored)}));
    }
    restore.MakeFolders(common::ParentDirectory(stored));
    std::string target = stored;
    if (restore.IsTaken(stored)) {
      // Never replace a file this import has just restored.
      target = restore.FreeCopyName(stored);
    } else if (common::FileExists(stored)) {
      if (askAgain) ApplyOverwriteAnswer(AskSafely(question, stored), overwrite, askAgain);
      if (!overwrite) target = restore.FreeCopyName(stored);
    }
    restore.Stage(archive, target);
    Append(FileData(stored, target));
  }
}

}  // namespace zephra::editor
