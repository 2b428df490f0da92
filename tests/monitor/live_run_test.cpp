// The live monitor's road through a run without windows: a fresh show at every start, results,
// the end of a run with its status and history entry, and the program's slide-show switches.

#include <gtest/gtest.h>

#include <filesystem>

#include "common/default_settings.h"
#include "common/host_interface.h"
#include "common/paths.h"
#include "common/prompts.h"
#include "common/reg_entry.h"
#include "common/string_res.h"
#include "document/fake_dimension.h"
#include "monitor/live/live_run.h"
#include "support/fake_dispatch.h"
#include "support/scripted_prompts.h"
#include "support/temp_home.h"

using namespace zephra;
using common::Dispatch;
using common::Variant;
using monitor::LiveRun;
using zephra::testing::FakeDimension;
using zephra::testing::FakeObject;
using zephra::testing::TempDir;
namespace cmd = common::host::command;

namespace {

// A show of one bore DIA1 (or DIA2), deviation shown, tolerance +-0.01.
void WriteShow(const std::string& path, const std::string& name, const std::string& feature) {
  document::SlideShow show(document::kMonitorMessages);
  show.SetName(name);
  auto icon = show.Slides().Add()->Icons().Add();
  icon->SetFeatureName(feature);
  icon->Values().Add()->SetAxisLetter("D");
  show.SaveToFile(path);
}

std::shared_ptr<FakeObject> DimensionCommand(const std::string& feature, double deviation, int32_t key,
                                             bool reported = true) {
  auto d = std::make_shared<FakeDimension>("D", 8.0 + deviation, 8.0, 0.01, 0.01);
  d->Named(feature, 1111, key, 1);
  auto c = std::make_shared<FakeObject>("Command");
  c->Set(cmd::IsDimension, Variant(true))
      .Set(cmd::Reported, Variant(reported))
      .Set(cmd::Type, Variant(int32_t{1111}))
      .Set(cmd::DimensionCommand, Variant(std::static_pointer_cast<Dispatch>(d)));
  return c;
}

std::shared_ptr<FakeObject> Assignment(const std::string& variable, const std::string& value) {
  auto a = std::make_shared<FakeObject>("Assignment");
  a->Set(common::host::assignment::Name, Variant(variable)).Set(common::host::assignment::Value, Variant(value));
  auto c = std::make_shared<FakeObject>("Command");
  c->Set(cmd::IsDimension, Variant(false))
      .Set(cmd::Reported, Variant(false))
      .Set(cmd::Type, Variant(int32_t{191}))
      .Set(cmd::AssignmentCommand, Variant(std::static_pointer_cast<Dispatch>(a)));
  return c;
}

struct Recorder : monitor::LiveRunObserver {
  int starts = 0;
  std::vector<monitor::RunEnd> ends;
  std::vector<int32_t> statuses;
  std::vector<std::string> boxes;
  std::vector<std::string> signals;
  void ShowStarted() override { ++starts; }
  void ShowEnded(const monitor::RunEnd& e) override { ends.push_back(e); }
  void PartStatus(int32_t code) override { statuses.push_back(code); }
  void ErrorBox(const common::AutomationError& e) override { boxes.push_back(e.Description()); }
  void SignalError(int32_t n, const std::string&, const std::string& text) override {
    signals.push_back(std::to_string(n) + " " + text);
  }
};

const document::Value& FirstValue(const LiveRun& run) {
  return *run.LiveShow().Slides().Item(1)->Icons().Item(1)->Values().Item(1);
}

void SetUser(const std::string& key, const std::string& name, const std::string& value) {
  common::RegEntry reg;
  if (!reg.TestKey(key)) reg.CreateKey(key);
  reg.OpenKey(key);
  reg.SetString(name, value);
}

}  // namespace

class LiveRunTest : public zephra::testing::ScriptedPromptsTest {
 protected:
  void SetUp() override {
    ScriptedPromptsTest::SetUp();
    showA = shows.File("Side-A.zep");
    WriteShow(showA, "Bore A", "DIA1");
    WriteShow(shows.File("Side-B.ZEP"), "Bore B", "DIA2");
    int16_t max = 10;
    history = std::make_shared<document::ZEPHistory>();
    ASSERT_TRUE(history->Initialize({}, logs.Path(), "", max));
  }
  zephra::testing::TempHome home;
  TempDir shows, logs;
  std::string showA;
  std::shared_ptr<document::ZEPHistory> history;
  Recorder seen;
};

TEST_F(LiveRunTest, EveryRunStartsOnAFreshCopyOfTheShowAndIsLoggedAtItsEnd) {
  LiveRun run(&seen);
  auto part = std::make_shared<FakeObject>("PartProgram");
  run.SetPartProgram(part);
  run.UseHistory(history);
  run.SetSampleSize(2);

  run.SetSlideShowFile(showA);
  run.OnStartExecution();
  EXPECT_TRUE(part->Get(common::host::part::RunStarted).ToBool());
  EXPECT_TRUE(run.Running());
  EXPECT_TRUE(run.SlideShowLoaded());
  EXPECT_EQ(run.LiveShow().Name(), "Bore A");
  EXPECT_EQ(run.LiveShow().CurrentPosition(), 1);
  EXPECT_EQ(run.StatusText(), "Part program running");
  run.OnObjectExecuted2(*DimensionCommand("DIA1", 0.02, 7));
  EXPECT_EQ(FirstValue(run).TOLERANCE(), 6);
  EXPECT_EQ(FirstValue(run).UniqueID(), "7|1");
  // Lines the program does not report, and anything after the end, change nothing.
  run.OnObjectExecuted2(*DimensionCommand("DIA1", 0.0, 7, false));
  EXPECT_EQ(FirstValue(run).TOLERANCE(), 6);
  run.OnEndExecution(0);
  EXPECT_FALSE(run.Running());
  EXPECT_EQ(run.SlideShowFile(), "");
  ASSERT_EQ(seen.ends.size(), 1u);
  EXPECT_EQ(seen.ends[0].worst, 5);
  EXPECT_EQ(seen.ends[0].status, "Part rejected");
  ASSERT_TRUE(seen.ends[0].log);
  EXPECT_EQ(seen.ends[0].log->TOLERANCE(), 5);
  EXPECT_EQ(seen.statuses, (std::vector<int32_t>{monitor::kPartReject}));
  EXPECT_EQ(run.AverageState(), document::kNoAverageState);  // one run of two
  run.OnObjectExecuted2(*DimensionCommand("DIA1", 0.0, 7));
  EXPECT_EQ(FirstValue(run).TOLERANCE(), 6);

  run.SetSlideShowFile(showA);
  run.OnStartExecution();
  EXPECT_EQ(FirstValue(run).TOLERANCE(), 0);
  EXPECT_EQ(FirstValue(run).UniqueID(), "");
  run.OnObjectExecuted2(*DimensionCommand("DIA1", 0.001, 7));
  run.OnEndExecution(0);
  EXPECT_EQ(seen.statuses, (std::vector<int32_t>{monitor::kPartReject, monitor::kPartGood}));
  EXPECT_EQ(history->HistoryLogs().Count(), 2);
  EXPECT_TRUE(common::FileExists(logs.File("History.log")));
  EXPECT_NE(run.AverageState(), document::kNoAverageState);  // averaged after the second run
  EXPECT_TRUE(seen.boxes.empty());
}

TEST_F(LiveRunTest, ARunWithoutAReadableShowIsFollowedButNotLogged) {
  const std::string broken = shows.Write("broken.zep", "BLOCK Menu\r\nEND\r\n");
  struct Case {
    std::string file;
    size_t boxes;
  };
  const Case cases[] = {{"", 0}, {shows.File("missing.zep"), 0}, {broken, 1}};
  for (const Case& c : cases) {
    Recorder r;
    LiveRun run(&r);
    run.UseHistory(history);
    run.SetSlideShowFile(c.file);
    run.OnStartExecution();
    EXPECT_TRUE(run.Running()) << c.file;
    EXPECT_FALSE(run.SlideShowLoaded()) << c.file;
    run.OnObjectExecuted2(*DimensionCommand("DIA1", 0.02, 7));
    run.OnEndExecution(0);
    ASSERT_EQ(r.ends.size(), 1u) << c.file;
    EXPECT_EQ(r.ends[0].worst, 0) << c.file;
    EXPECT_FALSE(r.ends[0].log) << c.file;
    EXPECT_TRUE(r.statuses.empty()) << c.file;
    EXPECT_EQ(r.boxes.size(), c.boxes) << c.file;
  }
  EXPECT_EQ(history->HistoryLogs().Count(), 0);
}

TEST_F(LiveRunTest, TheProgramSwitchesAndRestartsTheShowWhileARunIsFollowed) {
  SetUser(common::kUserKey, "DefaultSlideDirectory", shows.Path());
  LiveRun run(&seen);
  run.UseHistory(history);
  // Not followed yet: a switch changes nothing.
  run.OnObjectExecuted2(*Assignment("ZEP_SLIDESHOW", "ln|side-b.zep"));
  EXPECT_TRUE(seen.ends.empty());
  EXPECT_EQ(run.SlideShowFile(), "");

  run.SetSlideShowFile(showA);
  run.OnStartExecution();
  run.OnObjectExecuted2(*DimensionCommand("DIA1", 0.001, 7));
  // Written in lower case; the file on disk is Side-B.ZEP.
  run.OnObjectExecuted2(*Assignment("zep_slideshow", "ln| side-b.zep "));
  ASSERT_EQ(seen.ends.size(), 1u);
  EXPECT_EQ(seen.ends[0].log->Name(), "Bore A");
  EXPECT_TRUE(run.Running());
  EXPECT_EQ(run.SlideShowFile(), shows.File("Side-B.ZEP"));
  EXPECT_EQ(run.LiveShow().Name(), "Bore B");
  run.OnObjectExecuted2(*DimensionCommand("DIA2", 0.001, 9));
  EXPECT_EQ(FirstValue(run).UniqueID(), "9|1");

  // Nothing happens for a file that is not there, another variable or another value.
  for (const auto& a : {Assignment("ZEP_SLIDESHOW", "LN|nothing.zep"), Assignment("ZEP_SLIDESHOW", "LN|"),
                        Assignment("OTHER", "RESET"), Assignment("ZEP_SLIDESHOW", "SIDE-B.ZEP")}) {
    run.OnObjectExecuted2(*a);
  }
  EXPECT_EQ(seen.ends.size(), 1u);
  EXPECT_EQ(FirstValue(run).UniqueID(), "9|1");

  // RESET logs the run so far and starts again on the same show.
  run.OnObjectExecuted2(*Assignment("ZEP_SLIDESHOW", "reset"));
  ASSERT_EQ(seen.ends.size(), 2u);
  EXPECT_EQ(seen.ends[1].log->Name(), "Bore B");
  EXPECT_EQ(seen.ends[1].worst, 1);
  EXPECT_EQ(run.LiveShow().Name(), "Bore B");
  EXPECT_EQ(FirstValue(run).UniqueID(), "");
  EXPECT_EQ(seen.starts, 3);

  run.OnEndExecution(0);
  EXPECT_EQ(seen.ends.size(), 3u);
  std::vector<std::string> names;
  for (const auto& log : history->HistoryLogs()) names.push_back(log->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"Bore B", "Bore B", "Bore A"}));
  run.OnObjectExecuted2(*Assignment("ZEP_SLIDESHOW", "RESET"));
  EXPECT_EQ(seen.ends.size(), 3u);
}

TEST_F(LiveRunTest, SwitchTargetsAreFoundInTheSlideFolderOrElseTheDataHome) {
  WriteShow(home.File("bracket-b.zep"), "Home B", "DIA2");
  EXPECT_EQ(LiveRun::SwitchTarget("BRACKET-B.ZEP"), home.File("bracket-b.zep"));
  EXPECT_EQ(LiveRun::SwitchTarget("SIDE-B.ZEP"), std::nullopt);
  SetUser(common::kUserKey, "DefaultSlideDirectory", shows.Path());
  EXPECT_EQ(LiveRun::SwitchTarget("SIDE-B.ZEP"), shows.File("Side-B.ZEP"));
  EXPECT_EQ(LiveRun::SwitchTarget("BRACKET-B.ZEP"), std::nullopt);
}

TEST_F(LiveRunTest, TheActivePartsFolderTakesTheRun) {
  TempDir other;
  SetUser(common::kUserKey, "HistoryDirectory", logs.Path());
  SetUser(common::kHistoryListKey, "NumberOfHistorys", "1");
  SetUser(common::kHistoryListKey, "Directory1", other.Path());
  LiveRun run(&seen);
  ASSERT_TRUE(run.InitializeHistories());
  struct Case {
    std::string active;
    std::string logged;  // empty: not logged
  };
  const Case cases[] = {
      {other.Path(), other.Path() + "/"},
      {"", logs.Path() + "/"},
      {shows.Path(), ""},  // a folder the histories do not know
  };
  for (const Case& c : cases) {
    SetUser(common::kUserKey, "ActiveHistoryDirectory", c.active);
    run.SetSlideShowFile(showA);
    run.OnStartExecution();
    run.OnEndExecution(0);
    ASSERT_FALSE(seen.ends.empty());
    if (c.logged.empty()) {
      EXPECT_FALSE(run.CurrentHistory()) << c.active;
      EXPECT_FALSE(seen.ends.back().log) << c.active;
    } else {
      ASSERT_TRUE(run.CurrentHistory()) << c.active;
      EXPECT_EQ(run.CurrentHistory()->Directory(), c.logged);
      ASSERT_TRUE(seen.ends.back().log) << c.active;
      EXPECT_EQ(seen.ends.back().log->Filename(), c.logged + "Hst1.Log");
    }
  }
}

TEST_F(LiveRunTest, ARunThatCannotBeLoggedIsReportedAtASwitchAndRaisedAtTheEnd) {
  SetUser(common::kUserKey, "DefaultSlideDirectory", shows.Path());
  std::filesystem::create_directories(logs.File("Hst1.Log/in-the-way"));
  LiveRun run(&seen);
  run.UseHistory(history);
  run.SetSlideShowFile(showA);
  run.OnStartExecution();
  run.OnObjectExecuted2(*Assignment("ZEP_SLIDESHOW", "LN|SIDE-B.ZEP"));
  ASSERT_EQ(seen.signals.size(), 1u);
  EXPECT_TRUE(seen.ends.empty());
  EXPECT_EQ(run.LiveShow().Name(), "Bore A");  // the switch did not happen
  EXPECT_THROW(run.OnEndExecution(0), common::AutomationError);
  EXPECT_EQ(history->HistoryLogs().Count(), 0);
}
