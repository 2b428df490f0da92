#include <gtest/gtest.h>

#include <filesystem>

#include "run_tool.h"
#include "support/temp_home.h"

using zephra::testing::RunTool;

TEST(ToolMenu, CatWritesTheMenuAsSavedAndRegistersHistories) {
  zephra::testing::TempHome home;
  const std::string h = home.Path();
  const std::string file = home.Write("Menu/Menu.cfg",
                                      "block menu\n"
                                      "  caption = Shop\n"
                                      "  BLOCK SUBMENU\n"
                                      "    SLIDESHOW=/s/early.zep\n"
                                      "    MENUTYPE=part program\n"
                                      "    GRAPHIC=bolt.bmp\n"
                                      "    HISTORY_DIR=/hist/bolt\n"
                                      "    HISTORY_TITLE=Bolt\n"
                                      "  END\n"
                                      "END\n");
  const std::string entry =
      "\tBLOCK SUBMENU\r\n\t\tCAPTION=\r\n\t\tGRAPHIC=%ROOT%/bolt.bmp\r\n\t\tPREVIEW=\r\n\t\tHELPFILE=\r\n"
      "\t\tHELPTOPIC=0\r\n\t\tMENUTYPE=PART PROGRAM\r\n\t\tPROGRAMID=\r\n\t\tSLIDESHOW=\r\n"
      "\t\tHISTORY_DIR=/hist/bolt\r\n\t\tHISTORY_TITLE=Bolt\r\n\tEND\r\n";
  auto expected = [&](const std::string& root) {
    std::string e = entry;
    e.replace(e.find("%ROOT%"), 6, root);
    return "BLOCK MENU\r\n\tCAPTION=Shop\r\n\tGRAPHIC=\r\n" + e + "END\r\n";
  };
  // The file is found whatever the letter case of its name.
  const auto r = RunTool({"menu", "cat", h + "/Menu/menu.cfg"}, h);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, expected(h + "/Menu"));
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(RunTool({"menu", "cat", file, "--root", "/pics"}, h).out, expected("/pics"));
  EXPECT_EQ(RunTool({"reg", "export", "USER_ZEP\\Historys"}, h).out,
            "[USER_ZEP\\Historys]\nDirectory1=/hist/bolt\nDirectory2=/hist/bolt\nNumberOfHistorys=2\n"
            "Title1=Bolt\nTitle2=Bolt\n\n");
}

TEST(ToolMenu, CatReportsMissingAndMalformedFiles) {
  zephra::testing::TempHome home;
  const std::string h = home.Path();
  const auto missing = RunTool({"menu", "cat", h + "/none.cfg"}, h);
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "warning: zephra-shell: The menu file " + h + "/none.cfg was not found.\n");

  const auto wrong = RunTool({"menu", "cat", home.Write("a.cfg", "BLOCK MENU\nBLOCK ICON\nEND\nEND\n")}, h);
  EXPECT_EQ(wrong.exitCode, 1);
  EXPECT_EQ(wrong.out, "");
  EXPECT_EQ(wrong.err, "error 5000: Line 2 of the menu file: a block of type ICON cannot stand in a menu. (MenuLoad)\n");
  EXPECT_EQ(RunTool({"menu", "cat", "--lang", "1031", home.Write("b.cfg", "BLOCK MENU\nEND\nx=1\n")}, h).err,
            "error 5000: Zeile 3 der Menüdatei: Unerwarteter Text nach dem Ende des Menüs. (Menu)\n");
  EXPECT_EQ(RunTool({"menu", "cat"}, h).exitCode, 2);
  EXPECT_EQ(RunTool({"menu", "list"}, h).exitCode, 2);
}

TEST(ToolSetup, FirstStartWritesTheFoldersAndTheSampleMenu) {
  zephra::testing::TempHome home;
  const std::string h = home.Path();
  const auto r = RunTool({"setup"}, h);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "menu folder: " + h + "/Menu\n"
            "slide-show folder: " + h + "/SlideShow\n"
            "picture folder: " + h + "/Bitmaps\n"
            "history folder: " + h + "/History\n"
            "machine: OFFLINE\n"
            "menu file: " + h + "/Menu/menu.cfg\n");
  EXPECT_EQ(RunTool({"reg", "export", "USER_ZEP"}, h).out,
            "[USER_ZEP]\nDefaultBitmapDirectory=" + h + "/Bitmaps\nDefaultSlideDirectory=" + h +
                "/SlideShow\nHistoryDirectory=" + h + "/History\nVRDMachine=OFFLINE\nVRDRoot=" + h + "/Menu\n\n");
  for (const char* folder : {"Menu", "SlideShow", "Bitmaps", "History"}) {
    EXPECT_TRUE(std::filesystem::is_directory(home.File(folder))) << folder;
  }
  // The sample menu reads back as one part entry.
  const auto cat = RunTool({"menu", "cat", h + "/Menu/menu.cfg"}, h);
  EXPECT_EQ(cat.exitCode, 0);
  EXPECT_NE(cat.out.find("\t\tCAPTION=Sample\r\n"), std::string::npos);
  EXPECT_NE(cat.out.find("\t\tMENUTYPE=PART PROGRAM\r\n"), std::string::npos);
}

TEST(ToolSetup, AMenuFolderThatWasSetGetsNoMenuFile) {
  zephra::testing::TempHome home;
  const std::string h = home.Path();
  std::filesystem::create_directories(h + "/Own");
  ASSERT_EQ(RunTool({"reg", "set", "USER_ZEP", "VRDRoot", h + "/Own"}, h).exitCode, 0);
  const auto r = RunTool({"setup"}, h);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.out.find("menu folder: " + h + "/Own\n"), std::string::npos);
  EXPECT_NE(r.out.find("menu file: " + h + "/Own/menu.cfg\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(h + "/Own/menu.cfg"));
  EXPECT_FALSE(std::filesystem::exists(h + "/Menu"));
  EXPECT_TRUE(std::filesystem::is_directory(h + "/SlideShow"));
}
