#include <gtest/gtest.h>

#include <filesystem>

#include "common/automation_error.h"
#include "common/default_settings.h"
#include "common/paths.h"
#include "common/program.h"
#include "common/prompts.h"
#include "common/reg_entry.h"
#include "common/string_res.h"
#include "shell/menu/menu.h"
#include "support/temp_home.h"

using namespace zephra;
using common::AutomationError;
using common::ProgramKind;
using shell::Menu;
using shell::MenuItem;

namespace {

// One entry block at depth 1 with the keys given, in the order given.
std::string Entry(const std::string& keys, const std::string& children = "") {
  return "\tBLOCK SUBMENU\r\n" + keys + children + "\tEND\r\n";
}

std::string MenuText(const std::string& entries) {
  return "BLOCK MENU\r\n\tCAPTION=Main\r\n\tGRAPHIC=logo.bmp\r\n" + entries + "END\r\n";
}

// The history list as (directory, title) pairs in list order.
std::vector<std::pair<std::string, std::string>> HistoryList() {
  std::vector<std::pair<std::string, std::string>> out;
  common::RegEntry reg;
  if (!reg.TestKey(common::kHistoryListKey)) return out;
  reg.OpenKey(common::kHistoryListKey);
  const int n = common::GetLongField(reg.GetString("NumberOfHistorys"), 0, 0);
  for (int i = 1; i <= n; ++i) {
    out.emplace_back(reg.GetString("Directory" + std::to_string(i)), reg.GetString("Title" + std::to_string(i)));
  }
  return out;
}

class MenuModel : public ::testing::Test {
 protected:
  void SetUp() override {
    common::SetLanguage(common::kLanguageEnglish);
    common::SetCurrentProgram(ProgramKind::Shell);
    prompts = std::make_shared<common::ScriptedPrompts>();
    previous = common::SetPrompts(prompts);
  }
  void TearDown() override {
    common::SetPrompts(previous);
    common::SetCurrentProgram(ProgramKind::Tool);
  }

  std::unique_ptr<Menu> Load(const std::string& text, ProgramKind program = ProgramKind::Shell) {
    auto menu = std::make_unique<Menu>(program);
    menu->Initialize(root);
    menu->LoadFromFile(home.Write("Menu/menu.cfg", text));
    return menu;
  }

  // The error a load raises.
  AutomationError LoadError(const std::string& text, ProgramKind program = ProgramKind::Shell) {
    try {
      Load(text, program);
    } catch (const AutomationError& e) {
      return e;
    }
    ADD_FAILURE() << "the load did not fail";
    return AutomationError(0, "", "");
  }

  zephra::testing::TempHome home;
  const std::string root = home.File("Menu");
  std::shared_ptr<common::ScriptedPrompts> prompts;
  std::shared_ptr<common::Prompts> previous;
};

TEST_F(MenuModel, EntryKeysFollowThePropertyRules) {
  auto menu = Load(MenuText(
      Entry("\t\tSLIDESHOW=/shows/early.zep\r\n\t\tMENUTYPE=part program\r\n") +
      Entry("\t\tmenutype=Part Program\r\n\t\tSLIDESHOW=/shows/a.zep\r\n\t\tGRAPHIC=bolt.bmp\r\n"
            "\t\tPREVIEW=/pics/\r\n\t\tHELPFILE=help/parts.chm\r\n\t\tHELPTOPIC=12\r\n\t\tUNKNOWN=x\r\n") +
      Entry("\t\tMENUTYPE=menu\r\n\t\tSLIDESHOW=/shows/b.zep\r\n\t\tGRAPHIC=/pics/sub.emf\r\n"
            "\t\tPREVIEW=pre.bmp\r\n\t\tHELPFILE=/help/\r\n\t\tHELPTOPIC=twelve\r\n")));
  EXPECT_EQ(menu->Caption(), "Main");
  EXPECT_EQ(menu->Graphic(), "logo.bmp");  // the root's picture is kept as written
  ASSERT_EQ(menu->SubMenus().Count(), 3);

  const MenuItem& early = menu->SubMenus().Item(1);
  EXPECT_EQ(early.MenuType(), "PART PROGRAM");
  EXPECT_EQ(early.SlideShow(), "");  // SLIDESHOW came before MENUTYPE

  const MenuItem& part = menu->SubMenus().Item(2);
  EXPECT_EQ(part.MenuType(), "PART PROGRAM");
  EXPECT_EQ(part.SlideShow(), "/shows/a.zep");
  EXPECT_EQ(part.Graphic(), root + "/bolt.bmp");
  EXPECT_EQ(part.Preview(), "");
  EXPECT_EQ(part.HelpFile(), "help/parts.chm");
  EXPECT_EQ(part.HelpTopic(), 12);

  const MenuItem& sub = menu->SubMenus().Item(3);
  EXPECT_EQ(sub.MenuType(), "MENU");
  EXPECT_EQ(sub.SlideShow(), "");
  EXPECT_EQ(sub.Graphic(), "/pics/sub.emf");
  EXPECT_EQ(sub.Preview(), root + "/pre.bmp");
  EXPECT_EQ(sub.HelpFile(), "");
  EXPECT_EQ(sub.HelpTopic(), 0);  // a topic that is no number is ignored
}

TEST_F(MenuModel, PropertyWritesOutsideTheFile) {
  Menu menu;
  menu.Initialize("/data/Menu");
  MenuItem& item = menu.SubMenus().Add("Bracket", "menu");
  EXPECT_EQ(item.MenuType(), "MENU");
  item.SetSlideShow("/shows/x.zep");
  EXPECT_EQ(item.SlideShow(), "");
  item.SetMenuType("Part Program");
  item.SetSlideShow("/shows/x.zep");
  EXPECT_EQ(item.SlideShow(), "/shows/x.zep");
  item.SetMenuType("MENU");
  EXPECT_EQ(item.SlideShow(), "");  // kept, but only a part entry shows it
  item.SetHelpTopic(common::Variant(7));
  item.SetHelpTopic(common::Variant("abc"));
  EXPECT_EQ(item.HelpTopic(), 7);
  item.SetHelpTopic(common::Variant("99999999999"));
  EXPECT_EQ(item.HelpTopic(), 7);  // out of range: ignored like any other value that does not convert
  item.SetGraphic("./bolt.bmp");
  EXPECT_EQ(item.Graphic(), "./bolt.bmp");
  item.SetGraphic("bolt.bmp");
  EXPECT_EQ(item.Graphic(), "/data/Menu/bolt.bmp");
  item.SetGraphic("");
  EXPECT_EQ(item.Graphic(), "");
}

TEST_F(MenuModel, SavingWritesTheExactLayoutAndReloadingKeepsTheTree) {
  Menu menu;
  menu.Initialize(root);
  menu.SetCaption("Shop floor");
  MenuItem& housings = menu.SubMenus().Add("Housings", "MENU");
  MenuItem& cover = housings.SubMenus().Add("Cover\r\nleft", "PART PROGRAM");
  cover.SetProgramID("/parts/cover.prg");
  cover.SetSlideShow("/shows/cover.zep");
  cover.SetGraphic("cover.bmp");
  cover.SetHelpTopic(5);
  cover.SetHistoryDir("/hist/cover");
  cover.SetHistoryTitle("Cover");
  housings.SubMenus().Add("Lid", "part program");
  menu.SubMenus().Add("Bracket", "PART PROGRAM");

  const std::string path = home.File("Menu/menu.cfg");
  std::filesystem::create_directories(root);
  menu.SaveToFile(path);
  const std::string expected =
      "BLOCK MENU\r\n\tCAPTION=Shop floor\r\n\tGRAPHIC=\r\n"
      "\tBLOCK SUBMENU\r\n"
      "\t\tCAPTION=Housings\r\n\t\tGRAPHIC=\r\n\t\tPREVIEW=\r\n\t\tHELPFILE=\r\n\t\tHELPTOPIC=0\r\n"
      "\t\tMENUTYPE=MENU\r\n\t\tPROGRAMID=\r\n\t\tSLIDESHOW=\r\n\t\tHISTORY_DIR=\r\n\t\tHISTORY_TITLE=\r\n"
      "\t\tBLOCK SUBMENU\r\n"
      "\t\t\tCAPTION=Cover  left\r\n\t\t\tGRAPHIC=" + root + "/cover.bmp\r\n\t\t\tPREVIEW=\r\n"
      "\t\t\tHELPFILE=\r\n\t\t\tHELPTOPIC=5\r\n\t\t\tMENUTYPE=PART PROGRAM\r\n"
      "\t\t\tPROGRAMID=/parts/cover.prg\r\n\t\t\tSLIDESHOW=/shows/cover.zep\r\n"
      "\t\t\tHISTORY_DIR=/hist/cover\r\n\t\t\tHISTORY_TITLE=Cover\r\n"
      "\t\tEND\r\n"
      "\t\tBLOCK SUBMENU\r\n"
      "\t\t\tCAPTION=Lid\r\n\t\t\tGRAPHIC=\r\n\t\t\tPREVIEW=\r\n\t\t\tHELPFILE=\r\n\t\t\tHELPTOPIC=0\r\n"
      "\t\t\tMENUTYPE=PART PROGRAM\r\n\t\t\tPROGRAMID=\r\n\t\t\tSLIDESHOW=\r\n\t\t\tHISTORY_DIR=\r\n"
      "\t\t\tHISTORY_TITLE=\r\n"
      "\t\tEND\r\n"
      "\tEND\r\n"
      "\tBLOCK SUBMENU\r\n"
      "\t\tCAPTION=Bracket\r\n\t\tGRAPHIC=\r\n\t\tPREVIEW=\r\n\t\tHELPFILE=\r\n\t\tHELPTOPIC=0\r\n"
      "\t\tMENUTYPE=PART PROGRAM\r\n\t\tPROGRAMID=\r\n\t\tSLIDESHOW=\r\n\t\tHISTORY_DIR=\r\n"
      "\t\tHISTORY_TITLE=\r\n"
      "\tEND\r\n"
      "END\r\n";
  EXPECT_EQ(zephra::testing::ReadAll(path), expected);

  Menu again;
  again.Initialize("/elsewhere");
  again.LoadFromFile(path);
  EXPECT_EQ(again.SaveToText(), expected);  // full paths stay full under another root
  ASSERT_EQ(again.SubMenus().Count(), 2);
  const MenuItem& h = again.SubMenus().Item(1);
  EXPECT_EQ(h.ID(), "R.1");
  ASSERT_EQ(h.SubMenus().Count(), 2);
  EXPECT_EQ(h.SubMenus().Item(1).ID(), "R.1.1");
  EXPECT_EQ(h.SubMenus().Item(2).ID(), "R.1.2");
  EXPECT_EQ(h.SubMenus().Item(2).Caption(), "Lid");
  EXPECT_EQ(again.SubMenus().Item(2).ID(), "R.2");
  EXPECT_EQ(again.Find("R.1.1"), &h.SubMenus().Item(1));
  EXPECT_EQ(again.Find("R"), &again);
  EXPECT_EQ(again.Find("R.3"), nullptr);
  EXPECT_EQ(HistoryList(), (std::vector<std::pair<std::string, std::string>>{{"/hist/cover", "Cover"}}));
}

TEST_F(MenuModel, LoadErrorsNameTheFileOrLineInTheProgramsMessages) {
  struct Case {
    std::string text;
    int32_t shellMessage;
    int32_t managerMessage;
    const char* source;
    std::vector<common::Variant> args;  // the path is added for 30041
  };
  const Case cases[] = {
      {"BLOCK SLIDESHOW\r\nEND\r\n", 30041, 32009, "MenuLoad", {}},
      {"CAPTION=x\r\n", 30041, 32009, "MenuLoad", {}},
      {"", 30041, 32009, "MenuLoad", {}},
      {MenuText("\tBLOCK ICON\r\n\tEND\r\n"), 30042, 32010, "MenuLoad", {4, "ICON"}},
      {MenuText(Entry("\t\tCAPTION=a\r\n", "\t\tBLOCK SLIDE x\r\n")), 30042, 32010, "MenuLoad", {6, "SLIDE"}},
      {MenuText("") + "BLOCK MENU\r\nEND\r\n", 30043, 32011, "Menu", {5}},
      {MenuText("") + "CAPTION=late\r\n", 30043, 32011, "Menu", {5}},
      {MenuText("") + "not a line\r\n", 30045, 32013, "BlockParse.GetToken", {5}},
  };
  for (const Case& c : cases) {
    const std::string path = home.File("Menu/menu.cfg");
    for (ProgramKind program : {ProgramKind::Shell, ProgramKind::Manager}) {
      const int32_t message = program == ProgramKind::Manager ? c.managerMessage : c.shellMessage;
      std::vector<common::Variant> args = c.args;
      if (args.empty()) args.push_back(path);
      const AutomationError e = LoadError(c.text, program);
      EXPECT_EQ(e.Number(), 5000) << c.text;
      EXPECT_EQ(e.Source(), c.source) << c.text;
      EXPECT_EQ(e.Description(), common::FormatMessage(message, args)) << c.text;
    }
  }
  // The default profile is the program's own.
  common::SetCurrentProgram(ProgramKind::Manager);
  Menu manager;
  EXPECT_EQ(manager.Messages().wrongBlock, 32010);
  EXPECT_EQ(LoadError("BLOCK MENU\r\nEND\r\nEND\r\n", common::CurrentProgram()).Description(),
            "Line 3 of the menu file: unexpected text after the end of the menu.");
}

TEST_F(MenuModel, AMissingFileIsReportedAndLeavesTheTreeAsItWas) {
  Menu menu(ProgramKind::Manager);
  menu.Initialize(root);
  menu.SubMenus().Add("Kept", "MENU");
  menu.LoadFromFile(home.File("Menu/none.cfg"));
  ASSERT_EQ(prompts->Records().size(), 1u);
  EXPECT_EQ(prompts->Records()[0].text, "The menu file " + home.File("Menu/none.cfg") + " was not found.");
  EXPECT_EQ(prompts->Records()[0].title, "zephra-manager");
  EXPECT_EQ(menu.SubMenus().Count(), 1);
}

TEST_F(MenuModel, AnEntryCutOffByTheEndOfTheFileEndsTheLoadQuietlyUnregistered) {
  auto menu = Load("BLOCK MENU\r\n" +
                   Entry("\t\tCAPTION=Whole\r\n\t\tHISTORY_DIR=/hist/whole\r\n\t\tHISTORY_TITLE=W\r\n") +
                   Entry("\t\tCAPTION=Also\r\n\t\tHISTORY_DIR=/hist/also\r\n") +
                   "\tBLOCK SUBMENU\r\n\t\tCAPTION=Cut\r\n\t\tHISTORY_DIR=/hist/cut\r\n");
  ASSERT_EQ(menu->SubMenus().Count(), 3);
  EXPECT_EQ(menu->SubMenus().Item(3).Caption(), "Cut");
  EXPECT_EQ(menu->SubMenus().Item(3).HistoryDir(), "/hist/cut");
  EXPECT_EQ(HistoryList(),
            (std::vector<std::pair<std::string, std::string>>{{"/hist/whole", "W"}, {"/hist/also", ""}}));
  EXPECT_TRUE(prompts->Records().empty());
}

TEST_F(MenuModel, MovingRemovingAndIdentifiers) {
  Menu menu;
  MenuItem& a = menu.SubMenus().Add("A", "MENU");
  MenuItem& b = menu.SubMenus().Add("B", "MENU");
  MenuItem& c = menu.SubMenus().Add("C", "MENU");
  auto order = [&] {
    std::string s;
    for (int i = 1; i <= menu.SubMenus().Count(); ++i) s += menu.SubMenus().Item(i).Caption();
    return s;
  };
  EXPECT_FALSE(a.MoveUp());
  EXPECT_FALSE(c.MoveDown());
  EXPECT_EQ(order(), "ABC");
  EXPECT_TRUE(c.MoveUp());
  EXPECT_EQ(order(), "ACB");
  EXPECT_TRUE(a.MoveDown());
  EXPECT_EQ(order(), "CAB");
  EXPECT_FALSE(b.MoveDown());

  Menu other;
  MenuItem& stranger = other.SubMenus().Add("X", "MENU");
  EXPECT_FALSE(menu.SubMenus().MoveUp(stranger));
  menu.SubMenus().RemoveItem(stranger);  // not in this collection: nothing happens
  EXPECT_EQ(order(), "CAB");
  menu.SubMenus().RemoveItem(a);
  EXPECT_EQ(order(), "CB");
  EXPECT_EQ(menu.SubMenus().Add("D", "MENU").ID(), "R.4");  // numbers are not reused
  EXPECT_EQ(b.SubMenus().Add("E", "MENU").ID(), "R.2.1");
  EXPECT_EQ(b.SubMenus().Item(1).ParentMenu(), &b);
  EXPECT_THROW(menu.SubMenus().Item(4), AutomationError);
  EXPECT_THROW(menu.SubMenus().Item(0), AutomationError);
}

TEST_F(MenuModel, TheMenuFileIsFoundWithoutRegardToLetterCase) {
  std::filesystem::create_directories(root);
  // No file yet: the sample one is written as menu.cfg and loads as one part entry.
  EXPECT_EQ(shell::MenuFilePath(root), root + "/menu.cfg");
  EXPECT_EQ(shell::EnsureMenuFile(root), root + "/menu.cfg");
  Menu sample;
  sample.Initialize(root);
  sample.LoadFromFile(root + "/Menu.cfg");
  EXPECT_EQ(sample.Caption(), "Main Menu");
  ASSERT_EQ(sample.SubMenus().Count(), 1);
  EXPECT_EQ(sample.SubMenus().Item(1).Caption(), "Sample");
  EXPECT_EQ(sample.SubMenus().Item(1).MenuType(), "PART PROGRAM");
  EXPECT_TRUE(prompts->Records().empty());

  // A file written elsewhere as Menu.cfg is the menu file of both programs, and saving
  // replaces it instead of adding a twin.
  std::filesystem::rename(root + "/menu.cfg", root + "/Menu.cfg");
  EXPECT_EQ(shell::MenuFilePath(root), root + "/Menu.cfg");
  EXPECT_EQ(shell::EnsureMenuFile(root), root + "/Menu.cfg");
  sample.SetCaption("Renamed");
  sample.SaveToFile(root + "/menu.cfg");
  EXPECT_FALSE(std::filesystem::exists(root + "/menu.cfg"));
  Menu reread;
  reread.LoadFromFile(root + "/menu.cfg");
  EXPECT_EQ(reread.Caption(), "Renamed");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root), std::filesystem::directory_iterator()), 1);
}

TEST_F(MenuModel, SavingIntoAMissingFolderFailsWithoutLeavingAFile) {
  Menu menu;
  EXPECT_THROW(menu.SaveToFile(home.File("nowhere/menu.cfg")), AutomationError);
  EXPECT_FALSE(std::filesystem::exists(home.File("nowhere")));
}

}  // namespace
