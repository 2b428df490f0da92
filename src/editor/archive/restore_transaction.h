#pragma once
// The writes of one import, held back until all of them have succeeded. Every restored file
// is first written beside its target under a temporary name; Commit renames them into place.
// An import that fails before that (a damaged archive, a full disk, a folder it cannot write)
// leaves every existing file as it was and removes the temporary files and the folders it made.

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "pending_file.h"

namespace zephra::editor {

class ExportFile;

class RestoreTransaction {
 public:
  RestoreTransaction() = default;
  RestoreTransaction(const RestoreTransaction&) = delete;
  RestoreTransaction& operator=(const RestoreTransaction&) = delete;
  // Rolls back unless committed.
  ~RestoreTransaction();

  // Creates the folder with all missing parents, remembering the ones it made.
  void MakeFolders(const std::string& folder);
  // Claims a path for this import (a file it restores there).
  void Reserve(const std::string& path) { taken_.insert(path); }
  bool IsTaken(const std::string& path) const { return taken_.count(path) != 0; }
  // Reads the archive's next file block for target; claims target.
  void Stage(ExportFile& archive, const std::string& target);
  // Bytes for target; claims target.
  void StageBytes(const std::string& target, std::string_view bytes, const char* source);
  // The first "Copy(n) of NAME" in the folder of path, n from 1, that neither exists nor is
  // claimed by this import.
  std::string FreeCopyName(const std::string& path) const;

  // Puts every staged file in place, in the order staged.
  void Commit();
  // Drops the staged files and removes the folders made that are still empty.
  void Rollback() noexcept;

 private:
  std::vector<PendingFile> files_;
  std::vector<std::string> createdFolders_;
  std::set<std::string> taken_;
  bool committed_ = false;
};

}  // namespace zephra::editor
