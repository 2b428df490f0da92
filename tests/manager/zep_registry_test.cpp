#include <gtest/gtest.h>

#include <filesystem>

#include "common/default_settings.h"
#include "common/prompts.h"
#include "common/reg_entry.h"
#include "common/settings_export.h"
#include "common/string_res.h"
#include "manager/settings/zep_registry.h"
#include "shell/menu/menu.h"
#include "support/temp_home.h"

using namespace zephra;
using manager::ZEPRegistry;

namespace {

class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    common::SetLanguage(common::kLanguageEnglish);
    prompts = std::make_shared<common::ScriptedPrompts>();
    previous = common::SetPrompts(prompts);
  }
  void TearDown() override { common::SetPrompts(previous); }

  static std::string UserZep() { return common::ExportSettings(common::Hive::LocalMachine, "USER_ZEP").value_or(""); }
  static void Set(const std::string& name, const std::string& text) {
    common::RegEntry reg;
    reg.CreateKey(common::kUserKey);
    reg.SetString(name, text);
  }

  zephra::testing::TempHome home;
  const std::string h = home.Path();
  std::shared_ptr<common::ScriptedPrompts> prompts;
  std::shared_ptr<common::Prompts> previous;
};

TEST_F(Settings, FirstStartSetsUpTheDataHome) {
  ZEPRegistry settings;
  settings.Load();
  EXPECT_EQ(UserZep(),
            "[USER_ZEP]\n"
            "DefaultBitmapDirectory=" + h + "/Bitmaps\n"
            "DefaultSlideDirectory=" + h + "/SlideShow\n"
            "HistoryDirectory=" + h + "/History\n"
            "VRDMachine=OFFLINE\n"
            "VRDRoot=" + h + "/Menu\n\n");
  for (const char* folder : {"Menu", "SlideShow", "Bitmaps", "History"}) {
    EXPECT_TRUE(std::filesystem::is_directory(home.File(folder))) << folder;
  }
  EXPECT_EQ(settings.RootDir(), h + "/Menu");
  EXPECT_EQ(settings.Machine(), "OFFLINE");
  EXPECT_EQ(settings.MaxParts(), 0);
  EXPECT_EQ(settings.SampleSize(), 0);
  EXPECT_EQ(settings.MenuFile(), h + "/Menu/menu.cfg");
  EXPECT_EQ(zephra::testing::ReadAll(settings.MenuFile()), shell::DefaultMenuFileText());
  EXPECT_TRUE(prompts->Records().empty());

  // A second start changes nothing, and an edited menu file survives it.
  home.Write("Menu/menu.cfg", "BLOCK MENU\r\nEND\r\n");
  const std::string before = UserZep();
  ZEPRegistry().Load();
  EXPECT_EQ(UserZep(), before);
  EXPECT_EQ(zephra::testing::ReadAll(home.File("Menu/menu.cfg")), "BLOCK MENU\r\nEND\r\n");
}

TEST_F(Settings, AMenuFolderThatWasSetGetsNoSampleMenu) {
  std::filesystem::create_directories(home.File("Own"));
  Set("VRDRoot", home.File("Own"));
  ZEPRegistry settings;
  settings.Load();
  EXPECT_FALSE(std::filesystem::exists(home.File("Own/menu.cfg")));
  EXPECT_FALSE(std::filesystem::exists(home.File("Menu")));
  EXPECT_EQ(settings.MenuFile(), home.File("Own/menu.cfg"));  // names the missing file

  home.Write("Own/Menu.CFG", "BLOCK MENU\r\nEND\r\n");
  EXPECT_EQ(settings.MenuFile(), home.File("Own/Menu.CFG"));

  settings.SetRootDir(home.File("Gone"));
  EXPECT_EQ(settings.MenuFile(), "");
  settings.SetRootDir("");
  EXPECT_EQ(settings.MenuFile(), "");
}

TEST_F(Settings, LoadReadsEveryValueAndKeepsWhatDoesNotConvert) {
  const std::pair<const char*, const char*> values[] = {
      {"HistoryTitle", "Bracket runs"}, {"HistoryMaxParts", "15|x"}, {"SampleSize", "abc"},
      {"VRDMachine", "CMM1"},           {"VRDUser", "anna"},         {"ExitKey", "4711"},
      {"PrinterDevice", "Lab"},         {"PrinterDriver", "pdf"},    {"PrinterOrientation", "2"},
      {"PrinterPaperSize", "9"},        {"PrinterPaperBin", "7"},    {"PrinterQuality", "-4"},
      {"PrinterZoom", "100"},           {"PartProgQuitAfterEx", "yes"},
  };
  for (const auto& [name, text] : values) Set(name, text);
  ZEPRegistry settings;
  settings.SetSampleSize(7);
  settings.Load();
  EXPECT_EQ(settings.HistoryTitle(), "Bracket runs");
  EXPECT_EQ(settings.MaxParts(), 15);
  EXPECT_EQ(settings.SampleSize(), 7);
  EXPECT_EQ(settings.Machine(), "CMM1");
  EXPECT_EQ(settings.User(), "anna");
  EXPECT_EQ(settings.ExitKey(), "4711");
  EXPECT_EQ(settings.PrtDevice() + settings.PrtDriver() + settings.PrtOrientation() + settings.PrtPaperSize() +
                settings.PrtPaperBin() + settings.PrtQuality() + settings.PrtZoom(),
            "Labpdf297-4100");
  EXPECT_TRUE(settings.PartProgQuitAfterEx());
  Set("SampleSize", " 3 ");
  settings.Load();
  EXPECT_EQ(settings.SampleSize(), 3);
}

TEST_F(Settings, SaveWritesEveryPropertyAndEmptyTextsRemoveValues) {
  Set("VRDUser", "old");
  Set("PrinterZoom", "150");
  ZEPRegistry settings;
  settings.SetRootDir("/m");
  settings.SetDefDir("/s");
  settings.SetBitmapDir("/b");
  settings.SetHistoryDir("/h");
  settings.SetHistoryTitle("T");
  settings.SetMaxParts(20);
  settings.SetSampleSize(5);
  settings.SetMachine("CMM1");
  settings.SetExitKey("12");
  settings.SetPrtDevice("Lab");
  settings.SetPrtOrientation("2");
  settings.SetPartProgQuitAfterEx(true);
  settings.Save();
  EXPECT_TRUE(prompts->Records().empty());
  EXPECT_EQ(UserZep(),
            "[USER_ZEP]\n"
            "DefaultBitmapDirectory=/b\nDefaultSlideDirectory=/s\nExitKey=12\nHistoryDirectory=/h\n"
            "HistoryMaxParts=20\nHistoryTitle=T\nPartProgQuitAfterEx=true\nPrinterDevice=Lab\n"
            "PrinterOrientation=2\nSampleSize=5\nVRDMachine=CMM1\nVRDRoot=/m\n\n");
  ZEPRegistry reread;
  reread.Load();
  EXPECT_EQ(reread.MaxParts(), 20);
  EXPECT_EQ(reread.SampleSize(), 5);
  EXPECT_TRUE(reread.PartProgQuitAfterEx());
}

TEST_F(Settings, SaveStopsAtTheFirstFailureAndReportsIt) {
  ZEPRegistry settings;
  settings.SetRootDir("/m");
  settings.SetDefDir("/s");
  settings.SetHistoryTitle(std::string(300, 't'));  // longer than a setting can hold
  settings.SetMaxParts(20);
  settings.SetMachine("CMM1");
  settings.Save();
  ASSERT_EQ(prompts->Records().size(), 1u);
  const auto& shown = prompts->Records()[0];
  EXPECT_EQ(shown.kind, common::PromptKind::StandardMessage);
  EXPECT_EQ(shown.text, "5002: The setting HistoryTitle cannot be written.");
  EXPECT_EQ(shown.title, "Error at RegEntry.SetValue");
  EXPECT_EQ(shown.options, common::mb::Exclamation);
  // What comes before the failure is written, nothing after it.
  EXPECT_EQ(UserZep(), "[USER_ZEP]\nDefaultSlideDirectory=/s\nVRDRoot=/m\n\n");
}

}  // namespace
