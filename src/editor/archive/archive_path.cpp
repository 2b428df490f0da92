#include "archive_path.h"

#include <cstdio>

#include "archive_messages.h"
#include "common/automation_error.h"
#include "common/string_res.h"
#include "export_file.h"

namespace zephra::editor {

namespace {

bool IsControl(std::string_view text, size_t i) {
  const auto c = static_cast<unsigned char>(text[i]);
  if (c < 0x20 || c == 0x7F) return true;
  // The C1 controls U+0080 to U+009F in UTF-8.
  return c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
         static_cast<unsigned char>(text[i + 1]) <= 0x9F;
}

}  // namespace

int32_t ArchivePathFault(std::string_view path) {
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsControl(path, i)) return archive_msg::ControlCharacters;
  }
  if (path.empty() || path.front() != '/' || path.back() == '/') return archive_msg::NotFullPath;
  size_t start = 1;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(start, end - start);
    if (part == "." || part == "..") return archive_msg::DotFolder;
    start = end + 1;
  }
  return 0;
}

std::string EscapeControls(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += "\\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (IsControl(text, i)) {
      // A C1 control is two bytes in UTF-8; both are shown.
      const size_t n = static_cast<unsigned char>(c) == 0xC2 ? 2 : 1;
      for (size_t k = 0; k < n; ++k) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(text[i + k]));
        out += hex;
      }
      i += n - 1;
    } else {
      out += c;
    }
  }
  return out;
}

void CheckRestorablePath(const std::string& archivePath, const std::string& path) {
  if (const int32_t fault = ArchivePathFault(path)) {
    throw common::AutomationError(archive_error::NotAnArchive, ExportFile::kReadSource,
                                  common::FormatMessage(fault, {common::Variant(EscapeControls(archivePath)),
                                                                common::Variant(EscapeControls(path))}));
  }
}

void CheckStorablePath(const std::string& path) {
  if (ArchivePathFault(path) != 0) {
    throw common::AutomationError(common::err::BadFileName, ExportFile::kWriteSource,
                                  common::FormatMessage(archive_msg::NotStorable, {common::Variant(EscapeControls(path))}));
  }
}

}  // namespace zephra::editor
