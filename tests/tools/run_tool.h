#pragma once
// Runs the `zephra` tool as a user would and collects what it printed.

#include <string>
#include <vector>

namespace zephra::testing {

struct ToolResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs `zephra ARGS...` with ZEPHRA_HOME set to home (when not empty) and stdin from input.
ToolResult RunTool(const std::vector<std::string>& args, const std::string& home = "",
                   const std::string& input = "");

}  // namespace zephra::testing
