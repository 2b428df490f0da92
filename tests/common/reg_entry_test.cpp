#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "common/automation_error.h"
#include "common/default_settings.h"
#include "common/paths.h"
#include "common/reg_entry.h"
#include "common/settings_export.h"
#include "common/string_res.h"
#include "support/temp_home.h"

using namespace zephra::common;

class Registry : public ::testing::Test {
 protected:
  void SetUp() override { SetLanguage(kLanguageEnglish); }
  zephra::testing::TempHome home;
};

TEST_F(Registry, ValuesAreWrittenReadAndDeletedWithoutRegardToCase) {
  RegEntry reg(30000);
  reg.CreateKey("USER_ZEP");
  reg.SetString("VRDRoot", "/data/Menu");
  EXPECT_EQ(reg.GetString("vrdroot"), "/data/Menu");
  reg.SetString("VRDROOT", "/other");
  std::vector<std::array<std::string, 2>> table;
  ASSERT_EQ(reg.QueryValues(table), 1);
  EXPECT_EQ(table[0][0], "VRDRoot");  // the case it was created with
  EXPECT_EQ(table[0][1], "/other");
  reg.SetString("VRDRoot", "");
  EXPECT_EQ(reg.GetString("VRDRoot"), "");
  EXPECT_EQ(reg.QueryValues(table), 0);
  reg.DeleteValue("NotThere");
  EXPECT_TRUE(reg.TestKey("user_zep"));
}

TEST_F(Registry, NothingHappensWithoutAnOpenKey) {
  RegEntry reg;
  reg.SetString("A", "b");
  EXPECT_EQ(reg.GetString("A"), "");
  EXPECT_FALSE(reg.GetBoolean("A"));
  std::vector<std::string> names;
  EXPECT_EQ(reg.Query(names), 0);
  reg.DeleteKey("X");
  reg.Copy("Y");
  EXPECT_FALSE(reg.TestKey("Y"));
}

TEST_F(Registry, BooleansReadAsTheSuiteWritesThem) {
  RegEntry reg;
  reg.CreateKey("USER_ZEP");
  const std::pair<const char*, bool> cases[] = {{"No", false}, {"false", false}, {"0", false}, {"", false},
                                                {"yes", true}, {"1", true},      {"true", true}, {"x", true}};
  for (const auto& [text, expected] : cases) {
    reg.SetString("Flag", text);
    EXPECT_EQ(reg.GetBoolean("Flag"), expected) << text;
  }
  reg.SetBoolean("Flag", false);
  EXPECT_EQ(reg.GetString("Flag"), "false");
}

TEST_F(Registry, OpeningAMissingKeyRaises5001WithThePath) {
  RegEntry reg(31000);
  try {
    reg.OpenKey("USER_ZEP\\Nowhere");
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), 5001);
    EXPECT_EQ(e.Source(), "RegEntry.OpenInternal");
    EXPECT_EQ(e.Description(),
              "The settings key SOFTWARE\\Brennick\\Quarvex\\USER_ZEP\\Nowhere cannot be opened.");
  }
  EXPECT_FALSE(reg.IsOpen());
}

TEST_F(Registry, CreateKeyMakesEveryLevelAndReopensExistingOnes) {
  RegEntry reg;
  reg.CreateKey("USER_ZEP\\Layout\\ZEPMonitor");
  reg.SetString("Position", "0|6165|3900|2835");
  reg.CreateKey("user_zep\\LAYOUT\\zepmonitor");
  EXPECT_EQ(reg.GetString("Position"), "0|6165|3900|2835");
  EXPECT_TRUE(reg.TestKey("USER_ZEP\\Layout"));
  reg.OpenKey("USER_ZEP");
  std::vector<std::string> names{"existing"};
  EXPECT_EQ(reg.Query(names), 2);
  EXPECT_EQ(names[1], "Layout");
}

TEST_F(Registry, DeleteKeyRemovesTheWholeTree) {
  RegEntry reg;
  reg.CreateKey("USER_ZEP\\A\\B\\C");
  reg.SetString("V", "1");
  reg.OpenKey("USER_ZEP");
  reg.DeleteKey("a");
  EXPECT_FALSE(reg.TestKey("USER_ZEP\\A\\B\\C"));
  EXPECT_FALSE(reg.TestKey("USER_ZEP\\A"));
  EXPECT_TRUE(reg.TestKey("USER_ZEP"));
  try {
    reg.DeleteKey("A");
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), 5001);
  }
}

TEST_F(Registry, TheReadLimitIsKeptAndLongerValuesAreRefused) {
  RegEntry reg;
  reg.CreateKey("USER_ZEP");
  reg.SetString("Exact", std::string(255, 'a'));
  EXPECT_EQ(reg.GetString("Exact").size(), 255u);
  try {
    reg.SetString("Long", std::string(256, 'a'));
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), 5002);
    EXPECT_EQ(e.Source(), "RegEntry.SetValue");
  }
  // A value stored by other means beyond the limit reads as empty.
  SettingsStore& store = SettingsStore::Current();
  const KeyId key = *store.FindKey(SettingsBase(Hive::LocalMachine, false), "USER_ZEP");
  store.SetValue(key, "Stored", std::string(256, 'b'));
  EXPECT_EQ(reg.GetString("Stored"), "");
  store.SetValue(key, "Zero", std::string("abc\0", 4));
  EXPECT_EQ(reg.GetString("Zero"), "abc");
  store.SetValue(key, "Latin", "Gr\xF6\xDF" "e");
  EXPECT_EQ(reg.GetString("Latin"), "Gr\xC3\xB6\xC3\x9F" "e");
}

TEST_F(Registry, CopyStopsAtAnOversizeValueButCopiesSubkeys) {
  RegEntry reg;
  reg.CreateKey("Src\\Child\\Grandchild");
  reg.SetString("Deep", "d");
  reg.CreateKey("Src");
  reg.SetString("First", "1");
  SettingsStore& store = SettingsStore::Current();
  const KeyId src = *store.FindKey(SettingsBase(Hive::LocalMachine, false), "Src");
  store.SetValue(src, "Huge", std::string(300, 'x'));
  reg.SetString("After", "2");
  reg.Copy("Dst");
  reg.OpenKey("Dst");
  EXPECT_EQ(reg.GetString("First"), "1");
  EXPECT_EQ(reg.GetString("After"), "");
  reg.OpenKey("Dst\\Child\\Grandchild");
  EXPECT_EQ(reg.GetString("Deep"), "d");
  // Copying a key into its own subkey copies what was there once and ends.
  reg.OpenKey("Src");
  reg.Copy("Src\\Child\\Copy");
  EXPECT_TRUE(reg.TestKey("Src\\Child\\Copy\\Child\\Grandchild"));
  EXPECT_FALSE(reg.TestKey("Src\\Child\\Copy\\Child\\Copy"));
}

TEST_F(Registry, InternationalNamesFallBackToThePlainName) {
  RegEntry reg;
  reg.CreateKey("USER_ZEP\\ShowMonitor0");
  reg.SetString("Caption", "@30145");
  reg.SetString("CaptionDEU", "Monitor");
  EXPECT_EQ(reg.GetStringInternational("Caption", 1031), "Monitor");
  EXPECT_EQ(reg.GetStringInternational("Caption", 1036), "@30145");
}

TEST_F(Registry, DefaultsAreWrittenOnceAndNeverChanged) {
  EnsureDefaultSettings();
  const std::string first = *ExportSettings(Hive::LocalMachine, "");
  const std::string h = home.Path();
  const std::string expected =
      "[]\n\n"
      "[USER_ZEP]\n"
      "CheckFile=" + JoinPath(ProgramDirectory(), "zephra-shell") + "\n"
      "DefaultBitmapDirectory=" + h + "/Bitmaps\n"
      "DefaultLanguage=1033\n"
      "HistoryDirectory=" + h + "/History\n"
      "VRDMachine=OFFLINE\n"
      "VRDRoot=" + h + "/Menu\n\n"
      "[USER_ZEP\\ShowMonitor0]\nCaption=@30145\nProgID=ZEPMonitor.Monitor\n\n"
      "[USER_ZEP\\ShowMonitor1]\nCaption=@30155\n\n"
      "[USER_ZEP\\ShowMonitor2]\nCaption=@30149\nProgID=ZEPReport.ReportMonitor\n\n"
      "[USER_ZEP\\ShowMonitor3]\n\n";
  EXPECT_EQ(first, expected);
  RegEntry reg;
  reg.OpenKey("USER_ZEP");
  reg.SetString("VRDMachine", "CMM-2");
  EnsureDefaultSettings();
  EXPECT_EQ(reg.GetString("VRDMachine"), "CMM-2");
  reg.SetString("VRDMachine", "OFFLINE");
  EXPECT_EQ(*ExportSettings(Hive::LocalMachine, ""), expected);
}

TEST_F(Registry, FieldLists) {
  EXPECT_EQ(GetField("10|20", 2, "7"), "7");
  EXPECT_EQ(GetField("10||30", 1, "d"), "d");
  EXPECT_EQ(GetField("10|20|30", 2, "d"), "30");
  EXPECT_EQ(GetIntegerField("a|b", 0, 5), 5);
  EXPECT_EQ(GetIntegerField("70000|b", 0, 5), 5);
  EXPECT_EQ(GetLongField("0|6165|3900", 1, 0), 6165);
  EXPECT_TRUE(GetBooleanField("", 0, true));
  EXPECT_FALSE(GetBooleanField("yes|true", 0, true));
  EXPECT_TRUE(GetBooleanField("yes|TRUE", 1, false));
}

TEST_F(Registry, HistoryListAppendsNumberedPairs) {
  AppendHistoryList("/h/a", "Part A");
  AppendHistoryList("/h/a", "Part A");
  RegEntry reg;
  reg.OpenKey("USER_ZEP\\Historys");
  EXPECT_EQ(reg.GetString("NumberOfHistorys"), "2");
  EXPECT_EQ(reg.GetString("Directory2"), "/h/a");
  EXPECT_EQ(reg.GetString("Title1"), "Part A");
}

TEST_F(Registry, ExportAndImportRoundTripEscapes) {
  const std::string text =
      "[A]\n@=default\nLine=one\\r\\ntwo\\\\three\nname\\=x=y\n\n[A\\B]\n\n";
  ImportSettings(Hive::LocalMachine, text);
  EXPECT_EQ(*ExportSettings(Hive::LocalMachine, "a"), text);
  RegEntry reg;
  reg.OpenKey("A");
  EXPECT_EQ(reg.GetString("Line"), "one\r\ntwo\\three");
  EXPECT_EQ(reg.GetString("name=x"), "y");
  try {
    ImportSettings(Hive::LocalMachine, "[C]\nok=1\nbroken line\n");
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_NE(e.Description().find("line 3"), std::string::npos);
  }
  EXPECT_FALSE(reg.TestKey("C"));  // nothing of a failed import is kept
}

TEST_F(Registry, ConcurrentWritersLoseNothing) {
  constexpr int kProcesses = 6;
  constexpr int kValues = 40;
  SettingsStore::CloseCurrent();
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int rc = 0;
      try {
        for (int v = 0; v < kValues; ++v) {
          RegEntry reg;
          reg.CreateKey("USER_ZEP\\Load" + std::to_string(p));
          reg.SetString("V" + std::to_string(v), std::to_string(p * 1000 + v));
          AppendHistoryList("/h/" + std::to_string(p), "t");
        }
      } catch (...) {
        rc = 1;
      }
      ::_exit(rc);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  RegEntry reg;
  for (int p = 0; p < kProcesses; ++p) {
    reg.OpenKey("USER_ZEP\\Load" + std::to_string(p));
    for (int v = 0; v < kValues; ++v) {
      EXPECT_EQ(reg.GetString("V" + std::to_string(v)), std::to_string(p * 1000 + v));
    }
  }
  reg.OpenKey("USER_ZEP\\Historys");
  EXPECT_EQ(reg.GetString("NumberOfHistorys"), std::to_string(kProcesses * kValues));
}

TEST_F(Registry, CreateFailuresNameTheLevelThatFailed) {
  RegEntry reg(30000);
  const std::string longName(300, 'k');
  const std::pair<std::string, std::string> cases[] = {
      {"USER_ZEP\\" + longName, "The settings key " + longName + " cannot be opened."},   // base + 1, the leaf
      {longName + "\\Leaf", "The settings key " + longName + " cannot be created."},       // base + 2, a level above
  };
  for (const auto& [path, description] : cases) {
    try {
      reg.CreateKey(path);
      FAIL() << path;
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.Number(), 5000);
      EXPECT_EQ(e.Source(), "RegEntry.CreateInternal");
      EXPECT_EQ(e.Description(), description);
    }
  }
}

TEST_F(Registry, AKeyDeletedUnderAnOpenEntryIsNeverConfusedWithANewOne) {
  RegEntry stale;
  stale.CreateKey("USER_ZEP\\Old");
  RegEntry other;
  other.OpenKey("USER_ZEP");
  other.DeleteKey("Old");
  other.CreateKey("USER_ZEP\\New");
  EXPECT_THROW(stale.SetString("Lost", "x"), AutomationError);
  other.OpenKey("USER_ZEP\\New");
  EXPECT_EQ(other.GetString("Lost"), "");
}

TEST_F(Registry, ImportRefusesWhatCouldNotBeReadBackAndNamesRoundTrip) {
  EXPECT_THROW(ImportSettings(Hive::LocalMachine, "[A]\nok=1\nLong=" + std::string(256, 'x') + "\n"), AutomationError);
  EXPECT_THROW(ImportSettings(Hive::LocalMachine, "[A\\" + std::string(256, 'k') + "]\n"), AutomationError);
  RegEntry reg;
  EXPECT_FALSE(reg.TestKey("A"));
  // Names that look like a key line or like the default value survive export and import.
  reg.CreateKey("B");
  reg.SetString("[q", "z]");
  reg.SetString("@", "at");
  reg.SetString("", "default");
  const std::string text = *ExportSettings(Hive::LocalMachine, "B");
  reg.OpenKey("");
  reg.DeleteKey("B");
  ImportSettings(Hive::LocalMachine, text);
  reg.OpenKey("B");
  EXPECT_EQ(reg.GetString("[q"), "z]");
  EXPECT_EQ(reg.GetString("@"), "at");
  EXPECT_EQ(reg.GetString(""), "default");
  EXPECT_FALSE(reg.TestKey("q=z"));
}
