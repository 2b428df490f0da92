#pragma once
// The files a slide show refers to, as an export writes them and an import restores them:
// each path as the show refers to it and, after an import, the path it was restored to.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "document/file_list.h"

namespace zephra::editor {

class ExportFile;
class OverwriteQuestion;
class RestoreTransaction;

class FileData {
 public:
  FileData() = default;
  explicit FileData(std::string originalFileName, std::string newFileName = {})
      : original_(std::move(originalFileName)), new_(std::move(newFileName)) {}
  // The path as the slide show refers to it.
  const std::string& OriginalFileName() const { return original_; }
  void SetOriginalFileName(std::string v) { original_ = std::move(v); }
  // The path the file was restored to; empty until an import.
  const std::string& NewFileName() const { return new_; }
  void SetNewFileName(std::string v) { new_ = std::move(v); }

 private:
  std::string original_;
  std::string new_;
};

// Ordered, 1-based, keyed by OriginalFileName: every referenced path occurs once.
class FileDataCollection : public document::FileList {
 public:
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // Error 9 outside 1..Count.
  const FileData& Item(int32_t index) const;
  bool Contains(const std::string& path) const { return index_.count(path) != 0; }
  // Appends the path with an empty NewFileName; a path already present is ignored.
  void Add(const std::string& path) override;
  // The restored name of a referenced path; empty when the path is not in the collection.
  std::string FindNewFileName(const std::string& path) const override;
  void Clear();

  // Writes the count of entries, then each entry's path and its file's bytes.
  void Export(ExportFile& archive) const;
  // Reads the entries back (the collection is emptied first) and restores each file through
  // the transaction: to its recorded path, or, when a file exists there and the question keeps
  // it, to the first free "Copy(n) of" name in the same folder. The archive must hold only
  // paths that may be restored (error 1005 otherwise).
  void Import(ExportFile& archive, OverwriteQuestion& question, RestoreTransaction& restore);

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  void Append(FileData data);

  std::vector<FileData> items_;
  std::unordered_map<std::string, size_t> index_;
};

}  // namespace zephra::editor
