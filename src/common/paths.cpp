#include "paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

#include "automation_error.h"
#include "text.h"

namespace zephra::common {

std::string AddSeparator(std::string_view path) {
  std::string p(TrimRightSpaces(path));
  if (p.empty() || p.back() != kPathSeparator) p.push_back(kPathSeparator);
  return p;
}

std::string ParentDirectory(std::string_view path) {
  size_t i = path.size();
  while (i > 0 && path[i - 1] == kPathSeparator) --i;
  while (i > 0) {
    if (path[i - 1] == kPathSeparator) return std::string(path.substr(0, i));
    --i;
  }
  return "";
}

std::string JoinPath(std::string_view directory, std::string_view name) {
  std::string dir(TrimSpaces(directory));
  std::string_view n = TrimSpaces(name);
  if (!n.empty() && n[0] == kPathSeparator) return std::string(n);
  while (!n.empty() && n[0] == '.') {
    if (n.size() >= 2 && n[1] == kPathSeparator) {
      n.remove_prefix(2);
    } else if (n.size() >= 3 && n[1] == '.' && n[2] == kPathSeparator) {
      n.remove_prefix(3);
      dir = ParentDirectory(dir);
    } else {
      n.remove_prefix(1);
    }
  }
  return AddSeparator(dir) + std::string(n);
}

void MakeDirectories(std::string_view path) {
  const std::string p = AddSeparator(path);
  for (size_t i = 0; i < p.size(); ++i) {
    if (p[i] != kPathSeparator || i == 0) continue;
    const std::string level = p.substr(0, i);
    if (DirectoryExists(level)) continue;
    if (::mkdir(level.c_str(), 0777) != 0 && errno != EEXIST) {
      RaiseFileError(errno, level, "MakeDirectories");
    }
  }
}

bool FileExists(std::string_view path) {
  if (path.empty()) return false;
  struct stat st {};
  return ::stat(std::string(path).c_str(), &st) == 0;
}

bool DirectoryExists(std::string_view path) {
  if (path.empty()) return false;
  struct stat st {};
  return ::stat(std::string(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string FileNameOf(std::string_view path) {
  const size_t pos = path.rfind(kPathSeparator);
  return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::optional<std::string> FindFileNoCase(std::string_view directory, std::string_view name) {
  const std::string dir = directory.empty() ? std::string(".") : std::string(directory);
  const std::string exact = JoinPath(dir, name);
  if (FileExists(exact)) return exact;
  DIR* d = ::opendir(dir.c_str());
  if (!d) return std::nullopt;
  std::optional<std::string> found;
  while (dirent* e = ::readdir(d)) {
    if (EqualsNoCase(e->d_name, name)) {
      found = JoinPath(dir, e->d_name);
      break;
    }
  }
  ::closedir(d);
  return found;
}

std::optional<std::string> ResolvePathNoCase(std::string_view path) {
  if (FileExists(path)) return std::string(path);
  const std::string parent = ParentDirectory(path);
  const std::string name = FileNameOf(path);
  if (name.empty()) return std::nullopt;
  return FindFileNoCase(parent.empty() ? "." : parent, name);
}

std::string ProgramDirectory() {
  char buf[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return ".";
  std::string exe(buf, static_cast<size_t>(n));
  std::string dir = ParentDirectory(exe);
  if (dir.size() > 1 && dir.back() == kPathSeparator) dir.pop_back();
  return dir;
}

std::string DataHome() {
  auto strip = [](std::string p) {
    while (p.size() > 1 && p.back() == kPathSeparator) p.pop_back();
    return p;
  };
  if (const char* h = std::getenv("ZEPHRA_HOME"); h && *h) return strip(h);
  if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x) return strip(JoinPath(x, "zephra"));
  const char* home = std::getenv("HOME");
  return strip(JoinPath(JoinPath(home && *home ? home : "/tmp", ".local/share"), "zephra"));
}

std::string ResourceDirectory() {
  if (const char* d = std::getenv("ZEPHRA_DATA_DIR"); d && *d) return d;
  const std::string prog = ProgramDirectory();
  for (const char* rel : {"data", "../share/zephra"}) {
    const std::string candidate = JoinPath(prog, rel);
    if (DirectoryExists(JoinPath(candidate, "lang"))) return candidate;
  }
#ifdef ZEPHRA_SOURCE_DATA_DIR
  return ZEPHRA_SOURCE_DATA_DIR;
#else
  return JoinPath(prog, "data");
#endif
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  const std::string dir = ParentDirectory(path);
  std::random_device rd;
  const std::string tmp =
      JoinPath(dir.empty() ? "." : dir, "." + FileNameOf(path) + ".tmp" + std::to_string(rd() % 1000000));
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) RaiseFileError(errno, path, "WriteFile");
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (w < 0) {
      if (errno == EINTR) continue;
      const int e = errno;
      ::close(fd);
      ::unlink(tmp.c_str());
      RaiseFileError(e, path, "WriteFile");
    }
    done += static_cast<size_t>(w);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    const int e = errno;
    ::unlink(tmp.c_str());
    RaiseFileError(e, path, "WriteFile");
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    const int e = errno;
    ::unlink(tmp.c_str());
    RaiseFileError(e, path, "WriteFile");
  }
}

int OpenRegularFileForRead(const std::string& path, const std::string& source) {
  // Non-blocking, so opening a pipe with no writer returns at once and can be refused.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) RaiseFileError(errno, path, source);
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int e = errno;
    ::close(fd);
    RaiseFileError(e, path, source);
  }
  if (S_ISDIR(st.st_mode)) {
    ::close(fd);
    RaiseFileError(EISDIR, path, source);
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    throw AutomationError(err::BadFileName, source, "Not a regular file: " + path);
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

std::string ReadFileBytes(const std::string& path, const std::string& source) {
  const int fd = OpenRegularFileForRead(path, source);
  struct stat st {};
  ::fstat(fd, &st);
  std::string out;
  if (st.st_size > 0) out.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  while (true) {
    const ssize_t r = ::read(fd, buf, sizeof buf);
    if (r < 0) {
      if (errno == EINTR) continue;
      const int e = errno;
      ::close(fd);
      RaiseFileError(e, path, source);
    }
    if (r == 0) break;
    out.append(buf, static_cast<size_t>(r));
  }
  ::close(fd);
  return out;
}

}  // namespace zephra::common
