#pragma once
// Which paths an archive may hold. An archive restores its files to the full paths recorded in
// it, so an archive from elsewhere must not be able to write outside the places it names
// plainly: every path must be a full path of a file, without "." or ".." folders and without
// control characters. Export refuses to record other paths; import refuses, before anything
// is written, an archive that holds one.

#include <cstdint>
#include <string>
#include <string_view>

namespace zephra::editor {

// 0 when the path may stand in an archive, else the message number that says why not.
int32_t ArchivePathFault(std::string_view path);

// Text as one printable line: CR LF, CR and LF become "\n", other control characters "\xNN".
std::string EscapeControls(std::string_view text);

// Error 1005 (source "Export.Read") naming the archive and the path when the path may not be
// restored.
void CheckRestorablePath(const std::string& archivePath, const std::string& path);
// Error 52 (source "Export.Write") naming the path when it may not be recorded.
void CheckStorablePath(const std::string& path);

}  // namespace zephra::editor
