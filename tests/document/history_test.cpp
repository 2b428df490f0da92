// The part history: the index History.log and the run files, IDs reused and trimming to the
// maximum, reading newest first, malformed and cut-short indexes, and the folders of the
// settings.

#include <gtest/gtest.h>

#include <filesystem>

#include "common/default_settings.h"
#include "common/number_text.h"
#include "common/paths.h"
#include "common/reg_entry.h"
#include "document/history.h"
#include "document/slide_show.h"
#include "document_fixture.h"
#include "support/temp_home.h"

using namespace zephra;
using document::SlideShow;
using document::ZEPHistory;
using document::ZEPHistoryCollection;
using zephra::testing::Crlf;
using zephra::testing::ReadAll;
using zephra::testing::TempDir;

namespace {

std::unique_ptr<SlideShow> Show(const std::string& name) {
  auto show = std::make_unique<SlideShow>(document::kMonitorMessages);
  show->SetName(name);
  show->Slides().Add()->Icons().Add()->SetFeatureName("DIA1");
  return show;
}

std::vector<int16_t> Ids(const ZEPHistory& h) {
  std::vector<int16_t> ids;
  for (const auto& log : h.HistoryLogs()) ids.push_back(log->ID());
  return ids;
}

std::vector<std::string> Names(const ZEPHistory& h) {
  std::vector<std::string> names;
  for (const auto& log : h.HistoryLogs()) names.push_back(log->Name());
  return names;
}

// A history of the folder as a reader finds it.
ZEPHistory Open(const std::string& dir, int16_t max = 3) {
  ZEPHistory h;
  EXPECT_TRUE(h.Initialize({}, dir, "Bracket", max)) << (h.LastError() ? h.LastError()->Description() : "");
  return h;
}

void Log(ZEPHistory& h, const std::string& name, int16_t tol = 1) {
  auto show = Show(name);
  h.HistoryLogs().Append(*show, "Part OK", tol);
  h.SaveToFile();
}

}  // namespace

class History : public zephra::testing::DocumentTest {
 protected:
  TempDir dir;
};

TEST_F(History, ANewRunReusesTheIdOfTheRunThatGaveWayAndGoesFirst) {
  ZEPHistory h = Open(dir.Path());
  EXPECT_EQ(h.Directory(), dir.Path() + "/");
  EXPECT_EQ(h.Title(), "Bracket");
  EXPECT_EQ(h.HistoryLogs().Count(), 0);  // no index yet: an empty history
  for (const char* name : {"run 1", "run 2", "run 3"}) Log(h, name);
  EXPECT_EQ(Ids(h), (std::vector<int16_t>{3, 2, 1}));

  Log(h, "run 4");
  EXPECT_EQ(Ids(h), (std::vector<int16_t>{1, 3, 2}));
  EXPECT_EQ(Names(h), (std::vector<std::string>{"run 4", "run 3", "run 2"}));
  // Hst1.Log now holds the new run; no other run file is left.
  SlideShow back(document::kMonitorMessages);
  back.LoadFromFile(dir.File("Hst1.Log"));
  EXPECT_TRUE(back.Binary());
  EXPECT_EQ(back.Name(), "run 4");
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path())) files.push_back(e.path().filename());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"History.log", "Hst1.Log", "Hst2.Log", "Hst3.Log"}));

  // The index, byte for byte, and a reader of the folder sees the same list.
  const auto& newest = *h.HistoryLogs().Item(1);
  const std::string expected = "BLOCK History\r\n\tBLOCK Log\r\n\t\tID=1\r\n\t\tNAME=run 4\r\n\t\tSTATUS=Part OK\r\n"
                               "\t\tFILE=" + dir.File("Hst1.Log") + "\r\n\t\tTOLERANCE=1\r\n\t\tTIMESTAMP=" +
                               common::FormatDateTime(newest.Timestamp()) + "\r\n\tEND\r\n";
  const std::string index = ReadAll(dir.File("History.log"));
  EXPECT_EQ(index.substr(0, expected.size()), expected);
  EXPECT_TRUE(index.ends_with("\tEND\r\nEND\r\n"));
  EXPECT_EQ(Ids(Open(dir.Path())), (std::vector<int16_t>{1, 3, 2}));
}

TEST_F(History, AnIndexHoldingMoreRunsThanTheMaximumIsTrimmedByTheNextRun) {
  ZEPHistory big = Open(dir.Path(), 10);
  for (int i = 1; i <= 5; ++i) Log(big, "run " + std::to_string(i));  // IDs 5 4 3 2 1
  ZEPHistory h = Open(dir.Path(), 3);
  ASSERT_EQ(h.HistoryLogs().Count(), 5);
  Log(h, "run 6");
  // Runs 5 and 4 stay; 3, 2 and 1 give way; the smallest free ID is 1.
  EXPECT_EQ(Ids(h), (std::vector<int16_t>{1, 5, 4}));
  EXPECT_TRUE(common::FileExists(dir.File("Hst1.Log")));
  EXPECT_FALSE(common::FileExists(dir.File("Hst2.Log")));
  EXPECT_FALSE(common::FileExists(dir.File("Hst3.Log")));
}

TEST_F(History, TrimmingDeletesOnlyTheFoldersOwnRunFiles) {
  // A folder copied from another history, and an index naming a file that is no run file:
  // trimming leaves both alone.
  TempDir other;
  ZEPHistory original = Open(other.Path(), 2);
  Log(original, "run 1");
  Log(original, "run 2");
  std::filesystem::copy_file(other.File("History.log"), dir.File("History.log"));
  const std::string precious = dir.Write("notes.txt", "keep");
  std::string index = ReadAll(dir.File("History.log"));
  index.replace(index.find(other.File("Hst2.Log")), other.File("Hst2.Log").size(), precious);
  dir.Write("History.log", index);
  ZEPHistory copy = Open(dir.Path(), 1);
  Log(copy, "run 3");
  EXPECT_EQ(copy.HistoryLogs().Count(), 1);
  EXPECT_TRUE(common::FileExists(other.File("Hst1.Log")));
  EXPECT_TRUE(common::FileExists(other.File("Hst2.Log")));
  EXPECT_EQ(ReadAll(precious), "keep");
}

TEST_F(History, ARunFileThatCannotBeWrittenCostsNoOldRun) {
  ZEPHistory h = Open(dir.Path());
  for (const char* name : {"run 1", "run 2", "run 3"}) Log(h, name);
  // The file the new run would take over cannot be replaced: a folder stands in its place.
  std::filesystem::remove(dir.File("Hst1.Log"));
  std::filesystem::create_directory(dir.File("Hst1.Log"));
  std::filesystem::create_directory(dir.File("Hst1.Log/keep"));
  const std::string before = ReadAll(dir.File("History.log"));
  auto show = Show("run 4");
  EXPECT_THROW(h.HistoryLogs().Append(*show, "Part OK", 1), common::AutomationError);
  EXPECT_EQ(Ids(h), (std::vector<int16_t>{3, 2, 1}));
  EXPECT_TRUE(common::FileExists(dir.File("Hst2.Log")));
  EXPECT_TRUE(common::FileExists(dir.File("Hst3.Log")));
  EXPECT_EQ(ReadAll(dir.File("History.log")), before);
}

TEST_F(History, RunsAreReadBackNewestFirstWhateverTheirOrderInTheFile) {
  dir.Write("History.log",
            Crlf({"BLOCK History", "\tBLOCK Log", "\t\tID=1", "\t\tNAME=oldest", "\t\tTIMESTAMP=2026-01-01 10:00:00",
                  "\tEND", "\tBLOCK Log", "\t\tID=2", "\t\tNAME=middle", "\t\tTIMESTAMP=2026-01-02 10:00:00", "\tEND",
                  "\tBLOCK Log", "\t\tID=3", "\t\tNAME=newest", "\t\tSTATUS=Part rejected", "\t\tTOLERANCE=5",
                  "\t\tFILE=/elsewhere/Hst3.Log", "\t\tTIMESTAMP=1/3/2026 9:00:00 AM", "\tEND", "\tBLOCK Log",
                  "\t\tID=4", "\t\tNAME=same time as oldest, later in the file", "\t\tTIMESTAMP=2026-01-01 10:00:00",
                  "\tEND", "END"}));
  ZEPHistory h = Open(dir.Path());
  EXPECT_EQ(Ids(h), (std::vector<int16_t>{3, 2, 1, 4}));
  const auto& newest = *h.HistoryLogs().Item(1);
  EXPECT_EQ(newest.Status(), "Part rejected");
  EXPECT_EQ(newest.TOLERANCE(), 5);
  EXPECT_EQ(newest.Filename(), "/elsewhere/Hst3.Log");
  EXPECT_EQ(common::FormatDateTime(newest.Timestamp()), "2026-01-03 09:00:00");
  EXPECT_TRUE(Prompts().Records().empty());
}

TEST_F(History, UnknownKeysAreReportedAndAnIndexCutShortKeepsWhatItHolds) {
  dir.Write("History.log", Crlf({"BLOCK History", "COLOR=red", "\tBLOCK Log", "\t\tID=1", "\t\tWHO=me",
                                 "\t\tTIMESTAMP=2026-01-01 10:00:00", "\tEND", "\tBLOCK Log", "\t\tID=2",
                                 "\t\tNAME=half", "\t\tTIMESTAMP=2026-01-02 10:00:00"}));
  ZEPHistory h = Open(dir.Path());
  EXPECT_EQ(Ids(h), (std::vector<int16_t>{2, 1}));
  EXPECT_EQ(h.HistoryLogs().Item(1)->Name(), "half");
  ASSERT_EQ(Prompts().Records().size(), 2u);
  EXPECT_EQ(Prompts().Records()[0].text, "Unknown key in SlideShow: COLOR. The key is ignored.");
  EXPECT_EQ(Prompts().Records()[0].title, "Slide Show");
  EXPECT_EQ(Prompts().Records()[1].text, "Unknown key in HistoryLog Value: WHO. The key is ignored.");
}

TEST_F(History, AMalformedIndexMakesTheHistoryUnavailable) {
  struct Case {
    std::vector<const char*> lines;
    int32_t number;
    const char* source;
    const char* description;
  };
  const Case cases[] = {
      {{"BLOCK History", "END", "ID=1"}, 1001, "History.Initialize", "Line 3: unexpected text after the final END."},
      {{"BLOCK History", "END", "BLOCK History", "END"},
       1001, "History.Initialize", "Line 3: unexpected text after the final END."},
      {{"ID=1", "BLOCK History", "END"}, 1001, "History.Initialize", "Line 1: the file does not start with a block."},
      {{"BLOCK SlideShow", "END"}, 1001, "History.Initialize", "Line 1: BLOCK HISTORY expected, BLOCK SLIDESHOW found."},
      {{"BLOCK History", "\tBLOCK Run", "\tEND", "END"},
       1001, "History.Initialize", "Line 2: BLOCK LOG expected, BLOCK RUN found."},
      {{"BLOCK History", "\tBLOCK Log", "\t\tBLOCK Value", "END"},
       1001, "History.LoadFromFile", "Line 3: BLOCK none expected, BLOCK VALUE found."},
      {{"BLOCK History", "\tBLOCK Log", "\t\tID=seven", "\tEND", "END"}, 13, "History.LoadFromFile", nullptr},
      {{"BLOCK History", "\tBLOCK Log", "\t\tTOLERANCE=70000", "\tEND", "END"}, 6, "History.LoadFromFile", nullptr},
      {{"BLOCK History", "\tBLOCK Log", "\t\tTIMESTAMP=yesterday", "\tEND", "END"}, 13, "History.LoadFromFile", nullptr},
  };
  for (const Case& c : cases) {
    std::string text;
    for (const char* l : c.lines) text += std::string(l) + "\r\n";
    dir.Write("History.log", text);
    ZEPHistory h;
    int16_t max = 3;
    int reported = 0;
    EXPECT_FALSE(h.Initialize([&](int32_t, const std::string&, const std::string&) { ++reported; }, dir.Path(), "", max))
        << text;
    ASSERT_TRUE(h.LastError()) << text;
    EXPECT_EQ(h.LastError()->Number(), c.number) << text;
    EXPECT_EQ(h.LastError()->Source(), c.source) << text;
    if (c.description) {
      EXPECT_EQ(h.LastError()->Description(), c.description) << text;
    }
    EXPECT_EQ(reported, 0) << text;  // nothing is shown for a malformed index
  }
}

TEST_F(History, AFolderThatDoesNotExistIsReportedAndAMaximumBelowOneBecomesTwenty) {
  ZEPHistory h;
  int16_t max = 0;
  std::vector<std::string> reports;
  auto sink = [&](int32_t n, const std::string& source, const std::string& text) {
    reports.push_back(std::to_string(n) + " " + source + ": " + text);
  };
  EXPECT_FALSE(h.Initialize(sink, dir.File("gone"), "", max));
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], "5000 Part History: The history folder " + dir.File("gone") + "/ does not exist.");
  EXPECT_TRUE(h.Initialize(sink, "  " + dir.Path() + "  ", "  Title  ", max));
  EXPECT_EQ(max, 20);
  EXPECT_EQ(h.Maximum(), 20);
  EXPECT_EQ(h.Title(), "Title");
  EXPECT_EQ(h.Path(), dir.File("History.log"));
}

class HistoryCollection : public zephra::testing::DocumentTest {
 protected:
  void Set(const std::string& key, const std::string& name, const std::string& value) {
    common::RegEntry reg;
    if (!reg.TestKey(key)) reg.CreateKey(key);
    reg.OpenKey(key);
    reg.SetString(name, value);
  }
  zephra::testing::TempHome home;
  TempDir a, b;
};

TEST_F(HistoryCollection, TheDefaultFolderComesFirstAndEachListedFolderOnce) {
  Set(common::kUserKey, "HistoryDirectory", a.Path());
  Set(common::kUserKey, "HistoryMaxParts", "-4");
  Set(common::kHistoryListKey, "NumberOfHistorys", "4");
  Set(common::kHistoryListKey, "Directory1", b.Path());
  Set(common::kHistoryListKey, "Title1", "Bracket");
  Set(common::kHistoryListKey, "Directory2", b.Path() + "/");  // the same folder again
  Set(common::kHistoryListKey, "Title2", "Bracket again");
  Set(common::kHistoryListKey, "Directory3", a.File("gone"));
  Set(common::kHistoryListKey, "Directory4", a.Path());  // the default folder once more
  ZEPHistoryCollection histories;
  int reported = 0;
  ASSERT_TRUE(histories.Initialize([&](int32_t n, const std::string&, const std::string&) {
    EXPECT_EQ(n, 5000);
    ++reported;
  }));
  EXPECT_EQ(reported, 1);  // the folder that is gone
  ASSERT_EQ(histories.Count(), 2);
  EXPECT_EQ(histories.Item(1)->Directory(), a.Path() + "/");
  EXPECT_EQ(histories.Item(1)->Title(), "Part History");  // no HistoryTitle set
  EXPECT_EQ(histories.Item(1)->Maximum(), 20);           // a negative maximum
  EXPECT_EQ(histories.Item(2)->Title(), "Bracket");

  EXPECT_EQ(histories.FindHistory(b.Path(), ""), histories.Item(2));
  EXPECT_EQ(histories.FindHistory(b.Path() + "/", "Bracket"), histories.Item(2));
  EXPECT_EQ(histories.FindHistory(b.Path(), "Bracket again"), nullptr);
  std::string upper = b.Path();
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(histories.FindHistory(upper, ""), nullptr);  // folders compare exactly
}

TEST_F(HistoryCollection, HistoriesAreOffWithoutAUsableDefaultFolder) {
  struct Case {
    const char* name;
    std::string directory;
    const char* max;
    const char* count;
    bool expected;
    int reports;
  };
  const Case cases[] = {
      {"no default folder", "", "20", nullptr, false, 0},
      {"HistoryMaxParts 0", a.Path(), "0", nullptr, false, 0},
      {"default folder gone", a.File("gone"), "20", nullptr, false, 2},
      {"a list count that is not a number", a.Path(), "20", "many", false, 0},
      {"no list", a.Path(), "5", nullptr, true, 0},
  };
  for (const Case& c : cases) {
    common::RegEntry reg;
    if (reg.TestKey(common::kHistoryListKey)) {
      reg.OpenKey(common::kUserKey);
      reg.DeleteKey("Historys");
    }
    Set(common::kUserKey, "HistoryDirectory", c.directory);
    Set(common::kUserKey, "HistoryMaxParts", c.max);
    if (c.count) Set(common::kHistoryListKey, "NumberOfHistorys", c.count);
    ZEPHistoryCollection histories;
    int reports = 0;
    EXPECT_EQ(histories.Initialize([&](int32_t, const std::string&, const std::string&) { ++reports; }), c.expected)
        << c.name;
    EXPECT_EQ(reports, c.reports) << c.name;
  }
}
