#include "run_tool.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zephra::testing {

namespace {
std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}
}  // namespace

ToolResult RunTool(const std::vector<std::string>& args, const std::string& home, const std::string& input) {
  char dirPattern[] = "/tmp/zephra-tool-XXXXXX";
  const std::string dir = ::mkdtemp(dirPattern);
  const std::string outPath = dir + "/out", errPath = dir + "/err", inPath = dir + "/in";
  std::ofstream(inPath, std::ios::binary) << input;
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (!home.empty()) ::setenv("ZEPHRA_HOME", home.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const int in = ::open(inPath.c_str(), O_RDONLY);
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    std::vector<char*> argv;
    std::string tool = ZEPHRA_TOOL;
    argv.push_back(tool.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(tool.c_str(), argv.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ToolResult r;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = Slurp(outPath);
  r.err = Slurp(errPath);
  std::filesystem::remove_all(dir);
  return r;
}

}  // namespace zephra::testing
