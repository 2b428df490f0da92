#include <gtest/gtest.h>

#include <cstdlib>

#include "common/string_res.h"
#include "support/temp_home.h"

using namespace zephra::common;

class StringRes : public ::testing::Test {
 protected:
  void TearDown() override {
    SetLanguage(kLanguageEnglish);
    ClearHelpFile();
  }
};

TEST_F(StringRes, LanguageCodes) {
  const std::pair<int32_t, const char*> cases[] = {
      {1031, "DEU"}, {2049, "ENU"}, {-1, "PIG"}, {1033, "ENU"}, {3082, "ESN"}, {6153, "ENI"}, {0, "ENU"}};
  for (const auto& [id, code] : cases) EXPECT_EQ(LanguageCode(id), code) << id;
}

TEST_F(StringRes, MessagesComeFromTheCatalogueOfTheLanguageAndRange) {
  ReleaseLanguage();
  EXPECT_EQ(GetMessage(30145), "");
  EXPECT_EQ(ResolveText("@30145"), "");
  SetLanguage(kLanguageGerman);
  EXPECT_EQ(GetMessage(30145), "Diashow-Monitor");
  EXPECT_EQ(GetMessage(33067), "Hilfe");
  SetLanguage(kLanguageEnglish);
  EXPECT_EQ(GetMessage(30145), "Slide Show Monitor");
  SetLanguage(1036);
  EXPECT_EQ(GetMessage(30145), "Error: Resource File Not Found");
  SetLanguage(kLanguagePseudo);
  EXPECT_EQ(GetMessage(30145), "\xC2\xBBSlide Show Monitor\xC2\xAB");
}

TEST_F(StringRes, MissingNumbersGiveTheBaseMessageWithTheNumber) {
  SetLanguage(kLanguageEnglish);
  EXPECT_EQ(GetMessage(30999), "Message 30999 is missing from the message catalogue.");
  SetLanguage(kLanguageGerman);
  EXPECT_EQ(GetMessage(31999), "Die Meldung 31999 fehlt im Meldungskatalog.");
}

TEST_F(StringRes, FormattingReplacesOnlyTheArgumentsGiven) {
  zephra::testing::TempDir data;
  data.Write("lang/ENU30000.txt", "30000\tmissing %0%\n30500\tLine %0% of %1%\n30501\ta\\tb\\\\n\\n%0%%0%\n");
  ::setenv("ZEPHRA_DATA_DIR", data.Path().c_str(), 1);
  SetLanguage(kLanguageEnglish);
  EXPECT_EQ(FormatMessage(30500, {Variant(12), Variant("menu.cfg")}), "Line 12 of menu.cfg");
  EXPECT_EQ(FormatMessage(30500, {Variant(12)}), "Line 12 of %1%");
  EXPECT_EQ(FormatMessage(30500, {Variant::Missing(), Variant("x")}), "Line %0% of x");
  EXPECT_EQ(FormatMessage(30501, {Variant("%0%")}), "a\tb\\n\n%0%%0%");
  EXPECT_EQ(FormatMessage(30500, {Variant(std::vector<Variant>{}), Variant("y")}), "Line %0% of y");
  ::unsetenv("ZEPHRA_DATA_DIR");
}

TEST_F(StringRes, ReplaceAllAndResolveText) {
  EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceAll("a.b.c", ".", ".."), "a..b..c");
  SetLanguage(kLanguageEnglish);
  EXPECT_EQ(ResolveText("@30145"), "Slide Show Monitor");
  EXPECT_EQ(ResolveText("X"), "X");
  EXPECT_EQ(ResolveText("Results"), "[Results]");
  EXPECT_EQ(ResolveText("@abc"), "[@abc]");
}

TEST_F(StringRes, HelpFileFallsBackToEnglishAndKeepsTheLastChoice) {
  zephra::testing::TempDir data;
  data.Write("lang/ENU30000.txt", "30000\tx\n");
  data.Write("help/zepENU.html", "<html></html>");
  ::setenv("ZEPHRA_DATA_DIR", data.Path().c_str(), 1);
  EXPECT_TRUE(SelectHelpFile(kLanguageGerman, "zep"));
  EXPECT_EQ(HelpFile(), data.File("help/zepENU.html"));
  EXPECT_TRUE(IsHtmlHelp());
  data.Write("help/zepDEU.html", "<html></html>");
  EXPECT_TRUE(SelectHelpFile(kLanguageGerman, "zep"));
  EXPECT_EQ(HelpFile(), data.File("help/zepDEU.html"));
  EXPECT_FALSE(SelectHelpFile(kLanguageGerman, "zepmn"));
  EXPECT_EQ(HelpFile(), data.File("help/zepDEU.html"));
  EXPECT_EQ(HelpFileForName("parts.CHM"), "parts.html");
  EXPECT_EQ(HelpFileForName("parts.hlp"), "parts.html");
  ::unsetenv("ZEPHRA_DATA_DIR");
}

TEST_F(StringRes, UserLanguageFollowsThePosixLocale) {
  const char* old = std::getenv("LC_ALL");
  std::string saved = old ? old : "";
  const std::pair<const char*, int32_t> cases[] = {
      {"de_DE.UTF-8", 1031}, {"en_US.UTF-8", 1033}, {"en_GB", 2057}, {"de_AT@euro", 3079},
      {"fr", 1036},          {"C", 1033},           {"xx_YY", 1033}};
  for (const auto& [locale, id] : cases) {
    ::setenv("LC_ALL", locale, 1);
    EXPECT_EQ(UserDefaultLanguage(), id) << locale;
  }
  if (old) {
    ::setenv("LC_ALL", saved.c_str(), 1);
  } else {
    ::unsetenv("LC_ALL");
  }
}
