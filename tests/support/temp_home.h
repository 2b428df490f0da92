#pragma once
// A temporary data home for one test: ZEPHRA_HOME points at a fresh folder that is removed
// afterwards, and the settings store is reopened there.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/settings_store.h"
#include "common/string_res.h"

namespace zephra::testing {

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zephra-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string p = File(name);
    std::filesystem::create_directories(std::filesystem::path(p).parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }

 private:
  std::string path_;
};

class TempHome : public TempDir {
 public:
  TempHome() {
    const char* old = std::getenv("ZEPHRA_HOME");
    if (old) old_ = old;
    hadOld_ = old != nullptr;
    ::setenv("ZEPHRA_HOME", Path().c_str(), 1);
    common::SettingsStore::CloseCurrent();
  }
  ~TempHome() {
    common::SettingsStore::CloseCurrent();
    if (hadOld_) {
      ::setenv("ZEPHRA_HOME", old_.c_str(), 1);
    } else {
      ::unsetenv("ZEPHRA_HOME");
    }
  }

 private:
  std::string old_;
  bool hadOld_ = false;
};

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace zephra::testing
