#include <gtest/gtest.h>

#include <random>

#include "common/automation_error.h"
#include "common/string_res.h"
#include "document/block_parser.h"
#include "support/temp_home.h"

using namespace zephra;
using document::BlockParser;

namespace {

// The tokens of a text as "LINE KIND fields" strings, the way `zephra tokens` lists them.
std::vector<std::string> Tokens(const std::string& text, std::string* error = nullptr) {
  BlockParser p(document::kBlockSyntaxShell);
  p.OpenText(text);
  std::vector<std::string> out;
  try {
    while (true) {
      const int t = p.GetToken();
      const std::string line = std::to_string(p.CurrentLine());
      if (t == BlockParser::TokenStartBlock) out.push_back(line + " BLOCK|" + p.BlockType() + "|" + p.BlockName());
      if (t == BlockParser::TokenEndBlock) out.push_back(line + " END");
      if (t == BlockParser::TokenKeyValue) out.push_back(line + " KV|" + p.Key() + "|" + p.Value());
      if (t == BlockParser::TokenEndFile) {
        out.push_back(line + " EOF");
        break;
      }
    }
  } catch (const common::AutomationError& e) {
    if (error) *error = std::to_string(e.Number()) + " " + e.Source() + " " + e.Description();
  }
  return out;
}

using V = std::vector<std::string>;

}  // namespace

class BlockParserTest : public ::testing::Test {
 protected:
  void SetUp() override { common::SetLanguage(common::kLanguageEnglish); }
};

TEST_F(BlockParserTest, LinesAreClassifiedAsTheFormatSays) {
  const std::pair<const char*, V> cases[] = {
      {"  key name   =   some value = 2  ", {"1 KV|KEY NAME|some value = 2", "1 EOF"}},
      {"=abc", {"1 KV||abc", "1 EOF"}},
      {"abc=", {"1 KV|ABC|", "1 EOF"}},
      {"end\r\nEnd\r\nEND", {"1 END", "2 END", "3 END", "3 EOF"}},
      {"block   slide   Front View", {"1 BLOCK|SLIDE|Front", "1 EOF"}},
      {"BLOCK", {"1 BLOCK||", "1 EOF"}},
      {"BLOCK\tIcon\tLeft", {"1 BLOCK|ICON|Left", "1 EOF"}},
      {"BLOCK Icon A=B", {"1 KV|BLOCK ICON A|B", "1 EOF"}},
      {"END=1", {"1 KV|END|1", "1 EOF"}},
      {"; BLOCK Slide\r\n  ;x=1\r\nk=v ; not a comment", {"3 KV|K|v ; not a comment", "3 EOF"}},
      {"\r\n\t\r\n;c\r\n   \r\n", {"4 EOF"}},
      {"", {"0 EOF"}},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(Tokens(text), expected) << text;
}

TEST_F(BlockParserTest, EveryLineEndCountsOnceAndLinesArePhysical) {
  EXPECT_EQ(Tokens("a=1\rb=2\nc=3\r\nd=4\n\ne=5"),
            (V{"1 KV|A|1", "2 KV|B|2", "3 KV|C|3", "4 KV|D|4", "6 KV|E|5", "6 EOF"}));
}

TEST_F(BlockParserTest, SyntaxErrorsNameThePhysicalLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"BLOCK Slide\r\n\r\nEND now", "5000 BlockParse.GetToken Syntax error in line 3."},
      {"ENDS", "5000 BlockParse.GetToken Syntax error in line 1."},
      {"BLOCKSlide", "5000 BlockParse.GetToken Syntax error in line 1."},
      {";\r\n;\r\nhello", "5000 BlockParse.GetToken Syntax error in line 3."},
  };
  for (const auto& [text, expected] : cases) {
    std::string error;
    Tokens(text, &error);
    EXPECT_EQ(error, expected) << text;
  }
  // The editor's and the manager's own messages.
  BlockParser editor(document::kBlockSyntaxEditor);
  editor.OpenText("x");
  try {
    editor.GetToken();
    FAIL();
  } catch (const common::AutomationError& e) {
    EXPECT_EQ(e.Description(), "Syntax error in line 1.");
    EXPECT_EQ(editor.CurrentLine(), 1);
  }
}

TEST_F(BlockParserTest, EndOfFileRepeatsAndClosingIsIdempotent) {
  BlockParser p;
  p.OpenText("a=1");
  EXPECT_EQ(p.GetToken(), BlockParser::TokenKeyValue);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(p.GetToken(), BlockParser::TokenEndFile);
  p.CloseFile();
  p.CloseFile();
  EXPECT_FALSE(p.IsOpen());
  EXPECT_EQ(p.Key(), "A");  // properties keep what they held
}

TEST_F(BlockParserTest, FilesOpenForReadingOnly) {
  zephra::testing::TempDir dir;
  const std::string path = dir.Write("a.zep", "\xEF\xBB\xBF" "BLOCK SlideShow Caf\xE9\r\nNAME=Gr\xC3\xBC\xC3\x9F" "e\r\nEND\r\n");
  BlockParser p;
  try {
    p.OpenFile(path, true);
    FAIL();
  } catch (const common::AutomationError& e) {
    EXPECT_EQ(e.Number(), 5000);
    EXPECT_EQ(e.Source(), "BlockParser.Open");
    EXPECT_EQ(e.Description(), "A block file can only be opened for reading.");
  }
  EXPECT_FALSE(p.IsOpen());
  p.OpenFile(path);
  EXPECT_EQ(p.CurrentLine(), 0);
  EXPECT_EQ(p.GetToken(), BlockParser::TokenStartBlock);
  EXPECT_EQ(p.BlockName(), "Caf\xC3\xA9");  // a line that is not UTF-8 is Windows-1252
  EXPECT_EQ(p.GetToken(), BlockParser::TokenKeyValue);
  EXPECT_EQ(p.Value(), "Gr\xC3\xBC\xC3\x9F" "e");
  // Reopening starts again from the top.
  p.OpenFile(path);
  EXPECT_EQ(p.CurrentLine(), 0);
  EXPECT_EQ(p.GetToken(), BlockParser::TokenStartBlock);
  try {
    p.OpenFile(dir.File("missing.zep"));
    FAIL();
  } catch (const common::AutomationError& e) {
    EXPECT_EQ(e.Number(), common::err::FileNotFound);
  }
}

TEST_F(BlockParserTest, ClassifiersWorkOnSingleLines) {
  BlockParser p;
  EXPECT_FALSE(p.ParseKeyValue(""));
  EXPECT_FALSE(p.ParseEnd(""));
  EXPECT_FALSE(p.ParseBlock(""));
  EXPECT_TRUE(p.ParseBlock("BLOCK Value"));
  EXPECT_EQ(p.BlockType(), "VALUE");
  EXPECT_TRUE(p.ParseBlock("block"));
  EXPECT_EQ(p.BlockType(), "");
  EXPECT_EQ(BlockParser::ExpandTabs("a\tb\t"), "a b ");
}

TEST_F(BlockParserTest, RandomAndTruncatedInputNeverCrashes) {
  std::mt19937 rng(20261211);
  const std::string sample =
      "BLOCK SlideShow Demo\r\n\tNAME=Bracket\r\n\tBLOCK Slide Front\r\n\t\tKEY=1\r\n\tEND\r\nEND\r\n";
  const std::string alphabet = "BLOCKEND= ;\t\r\nabc\xE9\xC3\x00";
  for (size_t cut = 0; cut <= sample.size(); ++cut) Tokens(sample.substr(0, cut));
  for (int i = 0; i < 2000; ++i) {
    std::string text(rng() % 200, ' ');
    for (char& c : text) {
      c = (rng() % 4 == 0) ? static_cast<char>(rng() % 256) : alphabet[rng() % alphabet.size()];
    }
    BlockParser p;
    p.OpenText(text);
    int guard = 0;
    try {
      while (p.GetToken() != BlockParser::TokenEndFile) ASSERT_LT(++guard, 1000);
    } catch (const common::AutomationError& e) {
      ASSERT_EQ(e.Number(), 5000);
    }
  }
}
