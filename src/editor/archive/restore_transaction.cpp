#include "restore_transaction.h"

#include <unistd.h>

#include "common/automation_error.h"
#include "common/paths.h"
#include "export_file.h"

namespace zephra::editor {

RestoreTransaction::~RestoreTransaction() {
  if (!committed_) Rollback();
}

void RestoreTransaction::MakeFolders(const std::string& folder) {
  // The levels that are missing now, from the top down, are the ones this import makes.
  const std::string p = common::AddSeparator(folder);
  std::vector<std::string> missing;
  for (size_t i = 1; i < p.size(); ++i) {
    if (p[i] != '/') continue;
    const std::string level = p.substr(0, i);
    if (!common::FileExists(level)) missing.push_back(level);
  }
  try {
    common::MakeDirectories(folder);
  } catch (const common::AutomationError& e) {
    for (const std::string& level : missing) {
      if (common::DirectoryExists(level)) createdFolders_.push_back(level);
    }
    throw common::AutomationError(e.Number(), ExportFile::kReadSource, e.Description());
  }
  createdFolders_.insert(createdFolders_.end(), missing.begin(), missing.end());
}

void RestoreTransaction::Stage(ExportFile& archive, const std::string& target) {
  files_.push_back(archive.ReadFilePending(target));
  taken_.insert(target);
}

void RestoreTransaction::StageBytes(const std::string& target, std::string_view bytes, const char* source) {
  PendingFile file(target, source);
  file.Write(bytes.data(), bytes.size());
  file.Finish();
  files_.push_back(std::move(file));
  taken_.insert(target);
}

std::string RestoreTransaction::FreeCopyName(const std::string& path) const {
  const std::string folder = common::ParentDirectory(path);
  const std::string name = common::FileNameOf(path);
  // Counting on until a free name is found: taking an existing copy's name would replace a
  // file the user chose to keep.
  for (long n = 1;; ++n) {
    std::string candidate = folder + "Copy(" + std::to_string(n) + ") of " + name;
    if (!common::FileExists(candidate) && !IsTaken(candidate)) return candidate;
  }
}

void RestoreTransaction::Commit() {
  committed_ = true;
  for (PendingFile& file : files_) {
    try {
      file.Commit();
    } catch (const common::AutomationError& e) {
      // Files put in place before stay; the rest are dropped with their temporary names.
      files_.clear();
      throw common::AutomationError(e.Number(), ExportFile::kReadSource, e.Description());
    }
  }
  files_.clear();
}

void RestoreTransaction::Rollback() noexcept {
  files_.clear();
  for (auto it = createdFolders_.rbegin(); it != createdFolders_.rend(); ++it) ::rmdir(it->c_str());
  createdFolders_.clear();
}

}  // namespace zephra::editor
