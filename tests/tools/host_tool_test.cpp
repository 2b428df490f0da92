#include <gtest/gtest.h>

#include <sstream>

#include "common/paths.h"
#include "run_tool.h"
#include "support/temp_home.h"

using zephra::testing::RunTool;

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

size_t CountStarting(const std::vector<std::string>& lines, const std::string& prefix) {
  size_t n = 0;
  for (const auto& l : lines) n += l.rfind(prefix, 0) == 0;
  return n;
}

}  // namespace

TEST(ToolHost, RunsTheSampleHeadlessAndPrintsItsEvents) {
  zephra::testing::TempDir home;
  const std::string sample = zephra::common::ResourceDirectory() + "/samples/bracket.prg";

  struct Case {
    std::vector<std::string> options;
    size_t executed;  // per run
    const char* end;
    int runs;
  };
  const Case cases[] = {
      {{}, 23, "end 0", 1},
      {{"--runs", "2"}, 23, "end 0", 2},
      {{"--cancel-prompts"}, 18, "end 1", 1},  // Cancel on the prompt: the rest never runs
      {{"--abort-after", "3"}, 3, "end 1", 1},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"host", "run", sample};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const auto r = RunTool(args, home.Path());
    SCOPED_TRACE(r.err);
    ASSERT_EQ(r.exitCode, 0);
    const auto lines = Lines(r.out);
    EXPECT_EQ(CountStarting(lines, "start BRACKET-7"), static_cast<size_t>(c.runs));
    EXPECT_EQ(CountStarting(lines, "executed "), c.executed * static_cast<size_t>(c.runs));
    EXPECT_EQ(lines.back(), c.end);
  }
  // The seed of the file makes a run repeatable; another seed changes the results.
  const auto a = RunTool({"host", "run", sample}, home.Path());
  EXPECT_EQ(RunTool({"host", "run", sample}, home.Path()).out, a.out);
  EXPECT_NE(RunTool({"host", "run", sample, "--seed", "5"}, home.Path()).out, a.out);

  const auto missing = RunTool({"host", "run", home.File("none.prg")}, home.Path());
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.err.rfind("error 53: ", 0), 0u) << missing.err;
  EXPECT_EQ(RunTool({"host", "walk", sample}, home.Path()).exitCode, 2);
}
