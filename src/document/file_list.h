#pragma once
// The list of files a slide show refers to, as the editor's export and import archive keeps it.
// The archive lives with the editor; the show only needs to add its references to such a list
// and to learn, after an import, where each one was restored.

#include <string>

namespace zephra::document {

class FileList {
 public:
  virtual ~FileList() = default;
  // Adds a referenced path; a path already listed is ignored.
  virtual void Add(const std::string& path) = 0;
  // Where the referenced path was restored; empty when the list does not hold it.
  virtual std::string FindNewFileName(const std::string& path) const = 0;
};

}  // namespace zephra::document

namespace zephra::document {

// Adds a non-empty referenced path to the list after checking that it exists; a missing file
// is error 53 with the given source and the path in the description. An empty path is skipped.
void AddReferencedFile(FileList& list, const std::string& path, const char* source);
// The restored name of a non-empty reference, or the reference itself when the list has none.
std::string RestoredName(const FileList& list, const std::string& path);

}  // namespace zephra::document
