// `zephra doc`: cat, convert and info on the sample shows and on broken files.

#include <gtest/gtest.h>

#include "common/paths.h"
#include "run_tool.h"
#include "support/temp_home.h"

using zephra::testing::ReadAll;
using zephra::testing::RunTool;

namespace {

std::string Sample(const std::string& name) {
  return zephra::common::JoinPath(zephra::common::JoinPath(zephra::common::ResourceDirectory(), "samples"), name);
}

}  // namespace

TEST(ToolDoc, CatReproducesFilesWrittenByTheSuiteAndConvertRoundTrips) {
  zephra::testing::TempDir dir;
  for (const char* sample : {"bracket-a.zep", "bracket-b.zep"}) {
    const std::string text = dir.File("text.zep"), binary = dir.File("run.zpx");
    const std::string backText = dir.File("back.zep"), backBinary = dir.File("back.zpx");
    ASSERT_EQ(RunTool({"doc", "convert", Sample(sample), text}).exitCode, 0);
    const auto cat = RunTool({"doc", "cat", text});
    EXPECT_EQ(cat.exitCode, 0);
    EXPECT_EQ(cat.err, "");
    EXPECT_EQ(cat.out, ReadAll(text)) << sample;  // byte for byte, CR LF and tabs
    EXPECT_NE(cat.out.find("\r\n\t\tGRAPHIC=/"), std::string::npos);

    ASSERT_EQ(RunTool({"doc", "convert", text, binary, "--binary"}).exitCode, 0);
    EXPECT_EQ(ReadAll(binary).substr(0, 7), "ZEPFILE");
    EXPECT_EQ(RunTool({"doc", "cat", binary}).out, cat.out) << sample;
    ASSERT_EQ(RunTool({"doc", "convert", binary, backText, "--text"}).exitCode, 0);
    EXPECT_EQ(ReadAll(backText), ReadAll(text)) << sample;
    ASSERT_EQ(RunTool({"doc", "convert", backText, backBinary, "--binary"}).exitCode, 0);
    EXPECT_EQ(ReadAll(backBinary), ReadAll(binary)) << sample;
    // Without a form option the output keeps the input's form.
    ASSERT_EQ(RunTool({"doc", "convert", binary, dir.File("same.zep")}).exitCode, 0);
    EXPECT_EQ(ReadAll(dir.File("same.zep")), ReadAll(binary));
  }
}

TEST(ToolDoc, TheEmptyShowInBinaryFormIs42Bytes) {
  zephra::testing::TempDir dir;
  const std::string in = dir.Write("empty.zep", "BLOCK SlideShow\r\nEND\r\n");
  ASSERT_EQ(RunTool({"doc", "convert", in, dir.File("empty.zpx"), "--binary"}).exitCode, 0);
  const std::string bytes = ReadAll(dir.File("empty.zpx"));
  EXPECT_EQ(bytes, std::string("ZEPFILE\x13\0### | 1 | 22-feb-02", 28) + std::string(14, '\0'));
  EXPECT_EQ(RunTool({"doc", "info", dir.File("empty.zpx")}).out,
            "form: binary\nversion: 1\nname: \nslides: 0\nicons: 0\nvalues: 0\nworst tolerance: 0\n");
}

TEST(ToolDoc, InfoDescribesTheSamples) {
  EXPECT_EQ(RunTool({"doc", "info", Sample("bracket-a.zep")}).out,
            "form: text\nversion: 0\nname: BRACKET-7 side A\nslides: 3\nicons: 7\nvalues: 16\nworst tolerance: 0\n");
  EXPECT_EQ(RunTool({"doc", "info", Sample("bracket-b.zep")}).out,
            "form: text\nversion: 0\nname: BRACKET-7 side B\nslides: 2\nicons: 4\nvalues: 4\nworst tolerance: 0\n");
}

TEST(ToolDoc, BrokenFilesAndBadArgumentsFailWithTheirCodes) {
  zephra::testing::TempDir dir;
  const std::string text = dir.File("a.zep"), binary = dir.File("a.zpx");
  ASSERT_EQ(RunTool({"doc", "convert", Sample("bracket-a.zep"), binary, "--binary"}).exitCode, 0);
  const std::string bytes = ReadAll(binary);
  const std::string cut = dir.Write("cut.zpx", bytes.substr(0, bytes.size() / 2));
  const auto r = RunTool({"doc", "cat", cut});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("error 62: Input past end of file: ", 0), 0u) << r.err;
  EXPECT_NE(r.err.find("(BinaryStream)"), std::string::npos);

  const auto missing = RunTool({"doc", "info", dir.File("none.zep")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("error 53: "), std::string::npos);

  const auto unknown = RunTool({"doc", "cat", dir.Write("u.zep", "BLOCK SlideShow\r\nCOLOR=red\r\nEND\r\n")});
  EXPECT_EQ(unknown.exitCode, 0);
  EXPECT_EQ(unknown.err, "warning: Slide Show: Unknown key in SlideShow: COLOR. The key is ignored.\n");

  const auto german = RunTool({"doc", "--lang", "1031", "cat", dir.Write("bad.zep", "BLOCK Slide\r\n")});
  EXPECT_EQ(german.exitCode, 1);
  EXPECT_EQ(german.err, "error 1001: Zeile 1: BLOCK SLIDESHOW erwartet, BLOCK SLIDE gefunden. (Diashow)\n");

  // A failed conversion leaves an existing output file as it was.
  const std::string out = dir.Write("out.zep", "keep me");
  EXPECT_EQ(RunTool({"doc", "convert", cut, out}).exitCode, 1);
  EXPECT_EQ(ReadAll(out), "keep me");

  EXPECT_EQ(RunTool({"doc"}).exitCode, 2);
  EXPECT_EQ(RunTool({"doc", "cat"}).exitCode, 2);
  EXPECT_EQ(RunTool({"doc", "convert", text, binary, "--text", "--binary"}).exitCode, 2);
  EXPECT_EQ(RunTool({"doc", "shred", text}).exitCode, 2);
  const auto help = RunTool({"doc", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("zephra doc [--lang LCID] convert IN OUT [--text | --binary]"), std::string::npos);
}
