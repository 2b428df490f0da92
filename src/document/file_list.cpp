#include "file_list.h"

#include "common/automation_error.h"
#include "common/paths.h"

namespace zephra::document {

void AddReferencedFile(FileList& list, const std::string& path, const char* source) {
  if (path.empty()) return;
  if (!common::FileExists(path)) {
    throw common::AutomationError(common::err::FileNotFound, source, "File not found '" + path + "'.");
  }
  list.Add(path);
}

std::string RestoredName(const FileList& list, const std::string& path) {
  if (path.empty()) return path;
  std::string restored = list.FindNewFileName(path);
  return restored.empty() ? path : restored;
}

}  // namespace zephra::document
