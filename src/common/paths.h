#pragma once
// Path helpers every program forms its file names with. Paths are POSIX paths; "/" is the
// separator and a path is absolute when it starts with "/".

#include <optional>
#include <string>
#include <string_view>

namespace zephra::common {

inline constexpr char kPathSeparator = '/';

// Trailing blanks removed, a separator appended unless the text already ends in one.
std::string AddSeparator(std::string_view path);
// The text up to and including the separator before the last element ("/a/b/c" and "/a/b/"
// give "/a/" and "/a/"); empty when there is none.
std::string ParentDirectory(std::string_view path);
// Joins a name to a directory: an absolute name stands alone; leading "./", "../" (which also
// steps the directory up) and lone dots are consumed from the name first.
std::string JoinPath(std::string_view directory, std::string_view name);
// Creates every missing level of the directory path from the top down. Raises the platform's
// file error when a level cannot be created.
void MakeDirectories(std::string_view path);
// True when the path names an existing entry (file or directory).
bool FileExists(std::string_view path);
bool DirectoryExists(std::string_view path);
// The last element of a path, and the path without it.
std::string FileNameOf(std::string_view path);

// An existing entry of the directory whose name equals name without regard to letter case
// (an exact match is preferred); the full path, or nothing.
std::optional<std::string> FindFileNoCase(std::string_view directory, std::string_view name);
// path itself when it exists, else the entry of its folder that matches its name without
// regard to case, else nothing.
std::optional<std::string> ResolvePathNoCase(std::string_view path);

// The directory of the running executable, without a trailing separator.
std::string ProgramDirectory();
// Where the suite writes: ZEPHRA_HOME, else $XDG_DATA_HOME/zephra, else ~/.local/share/zephra.
// Without a trailing separator.
std::string DataHome();
// Read-only resources (catalogues, help, images, samples): ZEPHRA_DATA_DIR, else a "data" or
// "../share/zephra" folder beside the executable, else the source tree's data folder.
std::string ResourceDirectory();

// Writes bytes to a temporary file in the target's folder and renames it over the target, so
// the old file stays intact until the new one is complete. Raises the platform's file error.
void WriteFileAtomically(const std::string& path, std::string_view bytes);
// Opens a regular file for reading and returns its descriptor. Folders, devices and pipes are
// refused (a pipe could block for ever, a device feed bytes without end): the platform's file
// error, or 52 for something that is not a file.
int OpenRegularFileForRead(const std::string& path, const std::string& source);
// The whole file, or the platform's file error.
std::string ReadFileBytes(const std::string& path, const std::string& source);

}  // namespace zephra::common
