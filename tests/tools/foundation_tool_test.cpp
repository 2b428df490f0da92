#include <gtest/gtest.h>

#include "common/paths.h"
#include "run_tool.h"
#include "support/temp_home.h"

using zephra::testing::RunTool;

TEST(ToolTokens, ListsEveryTokenWithItsPhysicalLineAndStopsAtTheFirstError) {
  zephra::testing::TempDir dir;
  const std::string file = dir.Write("edge.txt",
                                     "; comment\r\n"
                                     "block   slide   Front View\r\n"
                                     "  key name   =   some value = 2  \r\n"
                                     "=abc\r\n"
                                     "abc=\r\n"
                                     "\r\n"
                                     "BLOCK\r\n"
                                     "End\r\n"
                                     "END now\r\n"
                                     "x=never\r\n");
  const auto r = RunTool({"tokens", file});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out,
            "2\tBLOCK\tSLIDE\tFront\n"
            "3\tKV\tKEY NAME\tsome value = 2\n"
            "4\tKV\t\tabc\n"
            "5\tKV\tABC\t\n"
            "7\tBLOCK\t\t\n"
            "8\tEND\n");
  EXPECT_EQ(r.err, "error 5000: Syntax error in line 9. (BlockParse.GetToken)\n");

  const auto ok = RunTool({"tokens", dir.Write("ok.txt", "a=1\n")});
  EXPECT_EQ(ok.exitCode, 0);
  EXPECT_EQ(ok.out, "1\tKV\tA\t1\n1\tEOF\n");
  EXPECT_EQ(RunTool({"tokens", dir.File("none.txt")}).exitCode, 1);
}

TEST(ToolMsg, PrintsMessagesInTheLanguageAsked) {
  EXPECT_EQ(RunTool({"msg", "--lang", "1031", "30145"}).out, "Diashow-Monitor\n");
  EXPECT_EQ(RunTool({"msg", "--lang", "1036", "30145"}).out, "Error: Resource File Not Found\n");
  EXPECT_EQ(RunTool({"msg", "--lang", "-1", "30145"}).out, "\xC2\xBBSlide Show Monitor\xC2\xAB\n");
  EXPECT_EQ(RunTool({"msg", "30998"}).out, "Message 30998 is missing from the message catalogue.\n");
  EXPECT_EQ(RunTool({"msg", "30045", "17"}).out, "Syntax error in line 17.\n");
  EXPECT_EQ(RunTool({"msg", "--lang", "1031", "30999"}).out, "Die Meldung 30999 fehlt im Meldungskatalog.\n");
  EXPECT_EQ(RunTool({"msg", "banana"}).exitCode, 2);
}

TEST(ToolReg, DefaultsExportExactlyAndASecondRunChangesNothing) {
  zephra::testing::TempHome home;
  const std::string h = home.Path();
  ASSERT_EQ(RunTool({"reg", "ensure-defaults"}, h).exitCode, 0);
  const auto first = RunTool({"reg", "export"}, h);
  ASSERT_EQ(first.exitCode, 0);
  const std::string checkFile = zephra::common::JoinPath(
      zephra::common::ParentDirectory(ZEPHRA_TOOL), "zephra-shell");
  EXPECT_EQ(first.out,
            "[]\n\n"
            "[USER_ZEP]\n"
            "CheckFile=" + checkFile + "\n"
            "DefaultBitmapDirectory=" + h + "/Bitmaps\n"
            "DefaultLanguage=1033\n"
            "HistoryDirectory=" + h + "/History\n"
            "VRDMachine=OFFLINE\n"
            "VRDRoot=" + h + "/Menu\n\n"
            "[USER_ZEP\\ShowMonitor0]\nCaption=@30145\nProgID=ZEPMonitor.Monitor\n\n"
            "[USER_ZEP\\ShowMonitor1]\nCaption=@30155\n\n"
            "[USER_ZEP\\ShowMonitor2]\nCaption=@30149\nProgID=ZEPReport.ReportMonitor\n\n"
            "[USER_ZEP\\ShowMonitor3]\n\n");
  ASSERT_EQ(RunTool({"reg", "ensure-defaults"}, h).exitCode, 0);
  EXPECT_EQ(RunTool({"reg", "export"}, h).out, first.out);
  EXPECT_EQ(RunTool({"reg", "get", "user_zep", "vrdmachine"}, h).out, "OFFLINE\n");
  EXPECT_EQ(RunTool({"reg", "get", "USER_ZEP", "Nothing"}, h).out, "\n");
  EXPECT_EQ(RunTool({"reg", "get", "NoKey", "x"}, h).exitCode, 2);
}

TEST(ToolReg, SetDeleteImportAndTheClassHive) {
  zephra::testing::TempHome home;
  const std::string h = home.Path();
  EXPECT_EQ(RunTool({"reg", "set", "USER_ZEP\\Layout\\ZEPMonitor", "Position", "0|6165|3900|2835"}, h).exitCode, 0);
  EXPECT_EQ(RunTool({"reg", "set", "USER_ZEP", "@", "default"}, h).exitCode, 0);
  EXPECT_EQ(RunTool({"reg", "export", "user_zep"}, h).out,
            "[USER_ZEP]\n@=default\n\n[USER_ZEP\\Layout]\n\n[USER_ZEP\\Layout\\ZEPMonitor]\nPosition=0|6165|3900|2835\n\n");
  const auto tooLong = RunTool({"reg", "set", "USER_ZEP", "Long", std::string(256, 'x')}, h);
  EXPECT_EQ(tooLong.exitCode, 1);
  EXPECT_EQ(tooLong.err.rfind("error 5002: ", 0), 0u);
  EXPECT_EQ(RunTool({"reg", "delete", "USER_ZEP\\Layout"}, h).exitCode, 0);
  EXPECT_EQ(RunTool({"reg", "delete", "USER_ZEP\\Layout"}, h).exitCode, 2);
  EXPECT_EQ(RunTool({"reg", "delete", "USER_ZEP", "@"}, h).exitCode, 0);
  EXPECT_EQ(RunTool({"reg", "export", "USER_ZEP"}, h).out, "[USER_ZEP]\n\n");

  zephra::testing::TempDir dir;
  const std::string file = dir.Write("in.reg", "[QVXHOST.Application\\CLSID]\n@={1}\n\n[CLSID\\{1}\\LocalServer32]\n@=/opt/host/qvxhost --automation\n");
  EXPECT_EQ(RunTool({"reg", "--classes", "import", file}, h).exitCode, 0);
  EXPECT_EQ(RunTool({"reg", "--classes", "get", "qvxhost.application\\clsid", "@"}, h).out, "{1}\n");
  EXPECT_EQ(RunTool({"reg", "get", "QVXHOST.Application\\CLSID", "@"}, h).exitCode, 2);
  EXPECT_EQ(RunTool({"reg", "import", dir.Write("bad.reg", "x=1\n")}, h).exitCode, 1);
}
