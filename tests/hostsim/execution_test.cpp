// Running a part program: the events in order, pacing on the event loop without re-entry,
// prompts and the execution panel, closing and quitting, repeatable simulated results.

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "hostsim/host_application.h"
#include "hostsim/host_registration.h"
#include "host_fixture.h"

namespace zephra::testing {
namespace {

const char* const kSmall =
    "BLOCK PartProgram\n"
    "\tPARTNAME=SMALL\n"
    "\tBLOCK Dimension\n\t\tTYPE=1000\n\t\tID=LOC1\n\tEND\n"
    "\tBLOCK Dimension\n\t\tTYPE=1002\n\t\tAXIS=X\n\t\tNOMINAL=1\n\tEND\n"
    "\tBLOCK Dimension\n\t\tTYPE=1001\n\tEND\n"
    "\tBLOCK Status\n\t\tTEXT=#QVXMSGBOX# Probe changed\n\tEND\n"
    "\tBLOCK Status\n\t\tTEXT=Collision\n\t\tERROR=1\n\tEND\n"
    "\tBLOCK Command\n\t\tTYPE=12350\n\t\tID=MOVE1\n\t\tADDED=1\n\tEND\n"
    "\tBLOCK Prompt\n\t\tTEXT=Load the part\n\t\tBUTTONS=1:Go|2:Cancel|5:Later\n\tEND\n"
    "\tBLOCK Assignment\n\t\tVARIABLE=ZEP_SLIDESHOW\n\t\tVALUE=RESET\n\tEND\n"
    "END\n";

class ExecutionTest : public HostTest {
 protected:
  // Presses a button of the dialog last announced, as the suite does.
  bool Press(int32_t hwnd, int32_t button) {
    return host->CallByName(h::app::PressDialogButton, {Variant(hwnd), Variant(button)}).ToBool();
  }
};

TEST_F(ExecutionTest, AWholeRunFiresItsEventsInOrder) {
  auto program = OpenText(kSmall);
  EventLog log;
  log.Attach(host, program);
  log.onEvent = [&](const std::string& line, Args&) {
    if (line.rfind("app.Dialog 340", 0) == 0) Press(log.lastDialogHwnd, 5);  // from inside the handler
  };
  RunToEnd(program, log);
  const std::vector<std::string> expected = {
      "app.Start",
      "part.Start",
      "app.Dialog 338 Executing p.prg [2,0,0,0,0] default 2",
      "part.Executed 1000:LOC1",
      "part.Executed2 1000:LOC1 arm 1",
      "app.Executed2 1000:LOC1 arm 1",
      "part.Executed 1002:X",
      "part.Executed2 1002:X arm 1",
      "app.Executed2 1002:X arm 1",
      "part.Executed 1001:",
      "part.Executed2 1001: arm 1",
      "app.Executed2 1001: arm 1",
      "app.Status #QVXMSGBOX# Probe changed",
      "part.StatusMsg #QVXMSGBOX# Probe changed",
      "part.Executed 193:#QVXMSGBOX# Probe changed",
      "part.Executed2 193:#QVXMSGBOX# Probe changed arm 1",
      "app.Executed2 193:#QVXMSGBOX# Probe changed arm 1",
      "app.Status Collision",
      "part.ErrorMsg Collision",
      "part.Executed 193:Collision",
      "part.Executed2 193:Collision arm 1",
      "app.Executed2 193:Collision arm 1",
      "app.Added 12350:MOVE1",
      "part.Executed 12350:MOVE1",
      "part.Executed2 12350:MOVE1 arm 1",
      "app.Executed2 12350:MOVE1 arm 1",
      "app.Dialog 340 Load the part [1,2,5,0,0] default 1",
      "part.Executed 192:Load the part",
      "part.Executed2 192:Load the part arm 1",
      "app.Executed2 192:Load the part arm 1",
      "part.Executed 191:",
      "part.Executed2 191: arm 1",
      "app.Executed2 191: arm 1",
      "app.End 0",
      "part.End 0",
  };
  EXPECT_EQ(log.Lines(), expected);
  EXPECT_EQ(host->GetByName("OpenDialogs").ToArray().size(), 0u);
  EXPECT_FALSE(program->GetByName("Executing").ToBool());
}

TEST_F(ExecutionTest, EventsComeFromTheEventLoopOneStepAtATimeWithoutReentry) {
  auto program = OpenText(
      "BLOCK PartProgram\n"
      "BLOCK Dimension\nTYPE=1111\nID=A\nAXIS=D\nEND\n"
      "BLOCK Dimension\nTYPE=1111\nID=B\nAXIS=D\nEND\n"
      "BLOCK Dimension\nTYPE=1111\nID=C\nAXIS=D\nEND\n"
      "END\n");
  EventLog log;
  int depth = 0;
  bool reentered = false;
  log.onEvent = [&](const std::string& line, Args&) {
    if (depth > 0) reentered = true;
    // A handler that lets pending events run, as the shell's does, must not get the next step;
    // a press of the panel's Cancel from inside a handler waits for the next step too.
    if (line == "part.Executed2 1111:C arm 1") Press(log.panelHwnd, h::dialog::ButtonCancel);
    ++depth;
    for (int i = 0; i < 50; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents);
    --depth;
  };
  log.Attach(host, program);
  ASSERT_TRUE(program->Call(h::part::Execute).ToBool());
  EXPECT_TRUE(log.Lines().empty());  // nothing is delivered from inside the call
  EXPECT_FALSE(program->Call(h::part::Execute).ToBool());  // already running
  ASSERT_TRUE(RunUntil([&] { return log.Ended(); }));
  EXPECT_FALSE(reentered);
  EXPECT_EQ(log.Count("part.Executed2"), 3u);
  EXPECT_EQ(log.Lines().back(), "part.End 1");
  // Once ended it can run again.
  log.Clear();
  log.onEvent = nullptr;
  RunToEnd(program, log);
  EXPECT_EQ(log.Count("part.Executed2"), 3u);
}

TEST_F(ExecutionTest, APromptWaitsUntilTheSuitePressesOneOfItsButtons) {
  auto program = OpenText(kSmall);
  EventLog log;
  log.Attach(host, program);
  ASSERT_TRUE(program->Call(h::part::Execute).ToBool());
  ASSERT_TRUE(RunUntil([&] { return log.lastDialogNumber == 340; }));
  const int32_t prompt = log.lastDialogHwnd;
  Spin(100);
  EXPECT_FALSE(log.Ended());
  EXPECT_EQ(log.Count("part.Executed 191"), 0u);  // the assignment after the prompt waits
  const auto open = host->GetByName("OpenDialogs").ToArray();
  ASSERT_EQ(open.size(), 2u);  // the panel and the prompt
  EXPECT_EQ(open[1].ToLong(), prompt);

  EXPECT_FALSE(Press(prompt + 100, 1));  // no such window
  EXPECT_FALSE(Press(prompt, 3));        // no such button
  EXPECT_TRUE(Press(prompt, 1));
  ASSERT_TRUE(RunUntil([&] { return log.Ended(); }));
  EXPECT_TRUE(log.Has("part.End 0"));
  EXPECT_TRUE(log.Has("part.Executed 191:"));
}

TEST_F(ExecutionTest, CancelOfAPromptOrOfThePanelAbortsTheRun) {
  struct Case {
    const char* name;
    bool panel;  // press Cancel on the panel instead of the prompt
  };
  for (const Case c : {Case{"prompt", false}, Case{"panel", true}}) {
    SCOPED_TRACE(c.name);
    auto program = OpenText(kSmall, std::string(c.name) + ".prg");
    EventLog log;
    log.Attach(host, program);
    ASSERT_TRUE(program->Call(h::part::Execute).ToBool());
    ASSERT_TRUE(RunUntil([&] { return log.lastDialogNumber == 340; }));
    EXPECT_TRUE(Press(c.panel ? log.panelHwnd : log.lastDialogHwnd, h::dialog::ButtonCancel));
    ASSERT_TRUE(RunUntil([&] { return log.Ended(); }));
    EXPECT_EQ(log.Lines().back(), "part.End 1");
    EXPECT_TRUE(log.Has("app.End 1"));
    EXPECT_EQ(log.Count("part.Executed 192"), 0u);  // the prompt never counts as executed
    EXPECT_EQ(log.Count("part.Executed 191"), 0u);
    EXPECT_EQ(host->GetByName("OpenDialogs").ToArray().size(), 0u);
  }
}

TEST_F(ExecutionTest, ThePanelCancelAbortsBetweenCommandsEvenFromInsideAHandler) {
  auto program = Open(SamplePath());
  EventLog log;
  log.onEvent = [&](const std::string& line, Args&) {
    if (line == "part.Executed2 1002:X arm 1") Press(log.panelHwnd, h::dialog::ButtonCancel);
  };
  log.Attach(host, program);
  RunToEnd(program, log);
  EXPECT_EQ(log.Lines().back(), "part.End 1");
  // The command under way finishes its events; nothing after it runs.
  EXPECT_TRUE(log.Has("app.Executed2 1002:X arm 1"));
  EXPECT_EQ(log.Count("part.Executed 1003"), 0u);
}

TEST_F(ExecutionTest, AnOperatorAbortsThroughThePanelInTheHostWindow) {
  host->Put(h::app::Visible, Variant(true));
  QWidget* window = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == "frmHost" && w->isVisible()) window = w;
  }
  ASSERT_NE(window, nullptr);
  auto program = OpenText(kSmall);
  EventLog log;
  log.Attach(host, program);
  ASSERT_TRUE(program->Call(h::part::Execute).ToBool());
  ASSERT_TRUE(RunUntil([&] { return log.lastDialogNumber == 340; }));
  Spin(5);
  auto* list = window->findChild<QListWidget*>("lstCommands");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->count(), 8);
  EXPECT_EQ(list->currentRow(), 6);  // the prompt is the command under way
  auto* go = window->findChild<QPushButton*>(QString("cmdDialog_%1_1").arg(log.lastDialogHwnd));
  auto* cancel = window->findChild<QPushButton*>(QString("cmdDialog_%1_2").arg(log.panelHwnd));
  ASSERT_NE(go, nullptr);
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(go->text(), "Go");
  window->grab().save("host_window.png");  // for a person to look at
  QTest::mouseClick(cancel, Qt::LeftButton);
  ASSERT_TRUE(RunUntil([&] { return log.Ended(); }));
  EXPECT_EQ(log.Lines().back(), "part.End 1");
  Spin(5);
  EXPECT_EQ(window->findChild<QPushButton*>(QString("cmdDialog_%1_2").arg(log.panelHwnd)), nullptr);
  host->Put(h::app::Visible, Variant(false));
  EXPECT_FALSE(window->isVisible());
}

TEST_F(ExecutionTest, ClosingFiresItsEventAndEndsARunUnderWay) {
  auto program = OpenText(kSmall);
  EventLog log;
  log.Attach(host, program);
  ASSERT_TRUE(program->Call(h::part::Execute).ToBool());
  ASSERT_TRUE(RunUntil([&] { return log.lastDialogNumber == 340; }));
  program->Call(h::part::Close);
  EXPECT_EQ(log.Lines()[log.Lines().size() - 3], "app.End 1");
  EXPECT_EQ(log.Lines()[log.Lines().size() - 2], "part.End 1");
  EXPECT_EQ(log.Lines().back(), "app.Close");
  EXPECT_EQ(program->Get(h::part::Name).ToString(), "");
  EXPECT_EQ(host->Get(h::app::ActivePartProgram).ToObject(), nullptr);
  EXPECT_EQ(programs->Get(h::programs::Count).ToLong(), 0);
  EXPECT_FALSE(program->Call(h::part::Execute).ToBool());
  Spin(20);
  EXPECT_EQ(log.Lines().back(), "app.Close");  // nothing of the old run comes later
}

TEST_F(ExecutionTest, AfterQuitTheHostNoLongerAnswers) {
  auto program = OpenText(kSmall);
  auto commands = program->Get(h::part::Commands).ToObject();
  auto command = commands->Call(h::commands::Item, {Variant(1)}).ToObject();
  host->Put(h::app::QuitPending, Variant(true));
  host->Call(h::app::Quit);
  for (DispId id : {h::app::Alive, h::app::PartPrograms, h::app::LanguageId}) {
    try {
      host->Get(id);
      ADD_FAILURE() << "member " << id << " answered after quit";
    } catch (const common::AutomationError& e) {
      EXPECT_EQ(e.Number(), 462);
    }
  }
  EXPECT_THROW(programs->Get(h::programs::Count), common::AutomationError);
  // Every object the host handed out stops answering too, like those of an ended server.
  const std::pair<std::shared_ptr<Dispatch>, DispId> objects[] = {
      {program, h::part::PartName}, {commands, h::commands::Count}, {command, h::command::Type}};
  for (const auto& [object, member] : objects) {
    try {
      object->Get(member);
      ADD_FAILURE() << object->TypeName() << " answered after quit";
    } catch (const common::AutomationError& e) {
      EXPECT_EQ(e.Number(), 462);
    }
  }
  // Creating the component again starts a new host.
  auto fresh = common::CreateObject(h::kProgId);
  EXPECT_NE(fresh, host);
  EXPECT_TRUE(fresh->Get(h::app::Alive).ToBool());
  fresh->Call(h::app::Quit);
}

TEST_F(ExecutionTest, SimulatedResultsRepeatForASeedAndDifferFromRunToRun) {
  // Measured values of every dimension line of `runs` runs of the sample.
  auto measure = [&](std::shared_ptr<Dispatch> program, int runs) {
    std::vector<double> values;
    EventLog log;
    log.onEvent = [&](const std::string& line, Args& a) {
      if (line.rfind("app.Dialog 340", 0) == 0) Press(log.lastDialogHwnd, 1);
      if (line.rfind("part.Executed2 ", 0) != 0) return;
      auto command = a[0].ToObject();
      if (!command->Get(h::command::IsDimension).ToBool()) return;
      values.push_back(command->Get(h::command::DimensionCommand).ToObject()->Get(h::dimension::Measured).ToDouble());
    };
    log.Attach(host, program);
    for (int i = 0; i < runs; ++i) {
      log.Clear();
      RunToEnd(program, log);
    }
    return values;
  };
  auto first = measure(Open(SamplePath()), 2);
  ASSERT_EQ(first.size(), 2u * 19u);
  const std::vector<double> run1(first.begin(), first.begin() + 19), run2(first.begin() + 19, first.end());
  EXPECT_NE(run1, run2);

  // The same program opened in a new host repeats the same runs.
  host->Call(h::app::Quit);
  host = common::CreateObject(h::kProgId);
  host->PutByName("ExecutionDelay", Variant(0));
  programs = host->Get(h::app::PartPrograms).ToObject();
  auto program = Open(SamplePath());
  EXPECT_EQ(measure(program, 2), first);

  // Another seed gives other results; setting a seed starts its runs from the first again.
  program->PutByName("Seed", Variant(7));
  const auto seven = measure(program, 1);
  EXPECT_NE(seven, run1);
  program->PutByName("Seed", Variant(42));
  EXPECT_EQ(program->GetByName("RunNumber").ToLong(), 0);
  EXPECT_EQ(measure(program, 1), run1);
}

TEST_F(ExecutionTest, TheStartupOptionFileIsReadFromTheInstallationFolder) {
  host->Call(h::app::Quit);
  home.Write("host/AutomationStartupOptions.txt", "/f\r\n");
  host = common::CreateObject(h::kProgId);
  EXPECT_EQ(host->GetByName("StartupOptions").ToString(), "/f");
}

}  // namespace
}  // namespace zephra::testing
