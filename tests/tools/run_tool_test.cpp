// zephra run and zephra history: the sample part run headless through the simulated host, its
// report, the runs it logs, the values they bound, the average, and the program's switches.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "common/paths.h"
#include "run_tool.h"
#include "support/temp_home.h"

using zephra::testing::ReadAll;
using zephra::testing::RunTool;
using zephra::testing::TempDir;

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> out;
  std::string field;
  std::istringstream in(line);
  while (std::getline(in, field, '\t')) out.push_back(field);
  return out;
}

std::vector<std::string> Starting(const std::vector<std::string>& lines, const std::string& prefix) {
  std::vector<std::string> out;
  for (const auto& l : lines) {
    if (l.rfind(prefix, 0) == 0) out.push_back(l.substr(prefix.size()));
  }
  return out;
}

std::string Samples() { return zephra::common::ResourceDirectory() + "/samples"; }

// The values of a show's text form: "FEATURE AXIS COLUMN" -> {UNIQUEID, TOLERANCE}; the same
// feature on several slides keeps its first occurrence.
struct Bound {
  std::string key;
  int tolerance;
};
std::map<std::string, Bound> Values(const std::string& text, std::string* showName) {
  std::map<std::string, Bound> values;
  std::string feature, key, axis, column;
  bool inShow = true;
  for (std::string line : Lines(text)) {
    line.erase(0, line.find_first_not_of('\t'));
    auto value = [&](const char* k) { return line.substr(std::string(k).size()); };
    if (inShow && line.rfind("NAME=", 0) == 0) {
      *showName = value("NAME=");
      inShow = false;
    } else if (line.rfind("FEATURENAME=", 0) == 0) {
      feature = value("FEATURENAME=");
    } else if (line.rfind("UNIQUEID=", 0) == 0) {
      key = value("UNIQUEID=");
    } else if (line.rfind("AXISLETTER=", 0) == 0) {
      axis = value("AXISLETTER=");
    } else if (line.rfind("COLUMN=", 0) == 0) {
      column = value("COLUMN=");
    } else if (line.rfind("TOLERANCE=", 0) == 0) {
      values.emplace(feature + " " + axis + " " + column, Bound{key, std::stoi(value("TOLERANCE="))});
    }
  }
  return values;
}

// A slide show of one icon per feature with a D value each.
std::string ShowText(const std::string& name, std::initializer_list<const char*> features) {
  std::string s = "BLOCK SlideShow\r\nNAME=" + name + "\r\n\tBLOCK Slide\r\n";
  for (const char* f : features) {
    s += std::string("\t\tBLOCK Icon\r\n\t\t\tFEATURENAME=") + f +
         "\r\n\t\t\tBLOCK Value\r\n\t\t\t\tAXISLETTER=D\r\n\t\t\tEND\r\n\t\tEND\r\n";
  }
  return s + "\tEND\r\nEND\r\n";
}

std::string Bore(const char* id, double nominal, double measured) {
  return std::string("\tBLOCK Dimension\r\n\t\tTYPE=1111\r\n\t\tID=") + id + "\r\n\t\tAXIS=D\r\n\t\tNOMINAL=" +
         std::to_string(nominal) + "\r\n\t\tPLUSTOL=0.01\r\n\t\tMINUSTOL=0.01\r\n\t\tMEASURED=" +
         std::to_string(measured) + "\r\n\tEND\r\n";
}

std::string Assign(const char* variable, const char* value) {
  return std::string("\tBLOCK Assignment\r\n\t\tVARIABLE=") + variable + "\r\n\t\tVALUE=" + value + "\r\n\tEND\r\n";
}

}  // namespace

TEST(ToolRun, TheSampleIsLoggedToAHistoryThatKeepsItsNewestRunsWithTheirBoundValues) {
  TempDir home, history;
  ASSERT_EQ(RunTool({"reg", "set", "USER_ZEP", "DefaultSlideDirectory", Samples()}, home.Path()).exitCode, 0);
  const auto r = RunTool({"run", Samples() + "/bracket.prg", "--slideshow", Samples() + "/bracket-a.zep", "--history",
                          history.Path(), "--runs", "4", "--max", "3"},
                         home.Path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const auto out = Lines(r.out);
  // Each pass of the program is two runs: side A up to the switch, then side B.
  const auto worst = Starting(out, "worst tolerance: ");
  ASSERT_EQ(worst.size(), 8u);
  EXPECT_EQ(Starting(out, "Part: BRACKET-7").size(), 8u);
  EXPECT_EQ(Starting(out, "DIM LOC1").size(), 4u);
  EXPECT_EQ(Starting(out, "DIM FLAT1").size(), 4u);
  EXPECT_EQ(Starting(out, "Then press Continue.").size(), 4u);

  std::vector<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(history.Path())) files.push_back(e.path().filename());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"History.log", "Hst1.Log", "Hst2.Log", "Hst3.Log"}));
  // Eight runs through a history of three: the IDs of the runs that gave way come back.
  EXPECT_EQ(Starting(Lines(ReadAll(history.File("History.log"))), "\t\tID="),
            (std::vector<std::string>{"2", "1", "3"}));

  const auto listed = RunTool({"history", history.Path()}, home.Path());
  ASSERT_EQ(listed.exitCode, 0) << listed.err;
  const auto rows = Lines(listed.out);
  ASSERT_EQ(rows.size(), 3u);
  const char* names[] = {"BRACKET-7 side B", "BRACKET-7 side A", "BRACKET-7 side B"};
  for (size_t i = 0; i < 3; ++i) {
    const auto f = Fields(rows[i]);
    ASSERT_EQ(f.size(), 5u) << rows[i];
    EXPECT_EQ(f[0], (std::vector<std::string>{"2", "1", "3"})[i]);
    EXPECT_EQ(f[2], worst[7 - i]) << rows[i];  // newest first
    EXPECT_EQ(f[4], names[i]);
  }

  // Every value of both shows took a result, and each bound to its own command: the axes of a
  // group by the group's header before them (command 1000 + position in the program).
  const std::map<std::string, std::string> keys = {
      {"LOC1 X 4", "1002|1"}, {"LOC1 Y 4", "1003|1"}, {"LOC1 D 4", "1004|1"}, {"LOC2 X 4", "1007|1"},
      {"LOC2 D 4", "1009|1"}, {"TP1 X 0", "1012|1"},  {"TP1 TP 4", "1014|1"}, {"DIA1 D 4", "1016|1"},
      {"LOC1 D 5", "1004|1"}, {"DIA2 D 4", "1021|1"}, {"ANG1 A 4", "1022|1"}, {"FLAT1 M 4", "1023|1"}};
  std::set<std::string> seen;
  for (const char* file : {"Hst1.Log", "Hst2.Log"}) {
    const auto cat = RunTool({"doc", "cat", history.File(file)}, home.Path());
    ASSERT_EQ(cat.exitCode, 0) << cat.err;
    std::string show;
    const auto values = Values(cat.out, &show);
    EXPECT_EQ(show, file == std::string("Hst1.Log") ? "BRACKET-7 side A" : "BRACKET-7 side B");
    EXPECT_GT(values.size(), 3u);
    for (const auto& [what, v] : values) {
      EXPECT_NE(v.key, "") << file << " " << what;
      EXPECT_NE(v.tolerance, 0) << file << " " << what;
      if (auto k = keys.find(what); k != keys.end()) {
        EXPECT_EQ(v.key, k->second) << what;
        seen.insert(what);
      }
    }
    if (show == "BRACKET-7 side A") {
      EXPECT_NE(values.at("LOC1 X 4").tolerance, -1);  // a location axis is judged
      EXPECT_EQ(values.at("TP1 Y 0").tolerance, -1);   // a shown measurement is not
    }
  }
  EXPECT_EQ(seen.size(), keys.size());

  const auto avg = RunTool({"history", history.Path(), "--average", "3"}, home.Path());
  ASSERT_EQ(avg.exitCode, 0) << avg.err;
  EXPECT_EQ(avg.out.rfind("BLOCK SlideShow\r\n\tNAME=BRACKET-7 side B\r\n", 0), 0u) << avg.out;
  const auto none = RunTool({"history", history.Path(), "--average", "4"}, home.Path());
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_EQ(none.out, "no average: The history holds 3 runs; an average of 4 runs needs at least that many.\n");

  // Without --slideshow only the program's switch loads a show: one logged run per pass. A
  // history folder given relative to the current one still gets full paths in its index.
  TempDir second;
  const std::string relative = std::filesystem::relative(second.Path()).string();
  ASSERT_NE(relative[0], '/');
  const auto bare = RunTool({"run", Samples() + "/bracket.prg", "--history", relative}, home.Path());
  ASSERT_EQ(bare.exitCode, 0) << bare.err;
  const auto bareWorst = Starting(Lines(bare.out), "worst tolerance: ");
  ASSERT_EQ(bareWorst.size(), 2u);
  EXPECT_EQ(bareWorst[0], "0");
  EXPECT_EQ(Lines(RunTool({"history", second.Path()}, home.Path()).out).size(), 1u);
  EXPECT_EQ(Starting(Lines(ReadAll(second.File("History.log"))), "\t\tFILE="),
            (std::vector<std::string>{second.File("Hst1.Log")}));
}

TEST(ToolRun, ALowerCaseSwitchFindsItsShowWhateverTheCaseAndResetLogsTheRunSoFar) {
  const std::string program = "BLOCK PartProgram\r\n\tPARTNAME=SWITCH\r\n" + Bore("DIA1", 8, 8.001) +
                              Assign("zep_slideshow", "ln|side-b.zep") + Bore("DIA2", 6, 6.02) +
                              Assign("ZEP_SLIDESHOW", "RESET") + Bore("DIA2", 6, 6.0) + "END\r\n";
  struct Case {
    const char* name;
    bool slideFolder;  // DefaultSlideDirectory names a folder; else the data home is searched
  };
  for (const Case c : {Case{"slide folder", true}, Case{"data home", false}}) {
    TempDir home, slides, history, work;
    const std::string prg = work.Write("switch.prg", program);
    const std::string sideA = work.Write("side-a.zep", ShowText("Side A", {"DIA1"}));
    (c.slideFolder ? slides : home).Write("Side-B.ZEP", ShowText("Side B", {"DIA2"}));
    if (c.slideFolder) {
      ASSERT_EQ(RunTool({"reg", "set", "USER_ZEP", "DefaultSlideDirectory", slides.Path()}, home.Path()).exitCode, 0);
    }
    const auto r = RunTool({"run", prg, "--slideshow", sideA, "--history", history.Path()}, home.Path());
    ASSERT_EQ(r.exitCode, 0) << c.name << r.err;
    const auto out = Lines(r.out);
    EXPECT_EQ(Starting(out, "worst tolerance: "), (std::vector<std::string>{"1", "5", "1"})) << c.name << r.out;
    // The run ended by RESET printed its report with the result before the RESET only.
    const auto measured = Starting(out, "D         6.0000      0.0100      0.0100      ");
    ASSERT_EQ(measured.size(), 2u) << r.out;
    EXPECT_EQ(measured[0].substr(0, 7), "6.0200 ");
    EXPECT_EQ(measured[1].substr(0, 6), "6.0000");
    const auto rows = Lines(RunTool({"history", history.Path()}, home.Path()).out);
    ASSERT_EQ(rows.size(), 3u) << c.name;
    EXPECT_EQ(Fields(rows[0])[4], "Side B");
    EXPECT_EQ(Fields(rows[1])[4], "Side B");
    EXPECT_EQ(Fields(rows[1])[2], "5");
    EXPECT_EQ(Fields(rows[2])[4], "Side A");
  }
}

TEST(ToolRun, MistakesInTheArgumentsAndBrokenHistoriesFail) {
  TempDir home, history;
  const std::string prg = Samples() + "/bracket.prg";
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    const char* errStart;
  };
  const Case cases[] = {
      {{"run", prg, "--history", home.File("gone")}, 1, "error 5000: The history folder"},
      {{"run", prg, "--slideshow", home.File("gone.zep")}, 1, "error 53: "},
      {{"run", prg, "--max", "0", "--history", history.Path()}, 2, "error: --max must be at least 1"},
      {{"run", prg, "--runs", "two"}, 2, "error: --runs needs a whole number"},
      {{"run"}, 2, "error: run takes one PROGRAM"},
      {{"history", home.File("gone")}, 1, "error 5000: The history folder"},
      {{"history", history.Path(), "--average", "x"}, 2, "error: --average needs a whole number"},
  };
  for (const Case& c : cases) {
    const auto r = RunTool(c.args, home.Path());
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0] << " " << r.err;
    EXPECT_EQ(r.err.rfind(c.errStart, 0), 0u) << r.err;
  }
  // An empty folder is an empty history; a broken index fails with the line that is wrong.
  const auto empty = RunTool({"history", history.Path()}, home.Path());
  EXPECT_EQ(empty.exitCode, 0);
  EXPECT_EQ(empty.out, "");
  history.Write("History.log", "BLOCK History\r\nEND\r\ntrailing=1\r\n");
  const auto broken = RunTool({"history", history.Path()}, home.Path());
  EXPECT_EQ(broken.exitCode, 1);
  EXPECT_EQ(broken.err, "error 1001: Line 3: unexpected text after the final END. (History.Initialize)\n");
  const auto run = RunTool({"run", prg, "--history", history.Path()}, home.Path());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err.rfind("error 1001: ", 0), 0u) << run.err;
  EXPECT_EQ(ReadAll(history.File("History.log")), "BLOCK History\r\nEND\r\ntrailing=1\r\n");
}
