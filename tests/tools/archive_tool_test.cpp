#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "editor/archive_bytes.h"
#include "run_tool.h"
#include "support/temp_home.h"

using zephra::testing::ArchiveBytes;
using zephra::testing::ReadAll;
using zephra::testing::RunTool;

namespace {

class ToolArchive : public ::testing::Test {
 protected:
  void SetUp() override {
    h_ = home_.Path();
    help_ = home_.Write("part/help.html", "help");
    pic_ = home_.Write("part/pics/a.bmp", std::string(16385, 'a'));
    show_ = home_.Write("part/part.zep", zephra::testing::ShowText(help_, {"pics/a.bmp", "pics/a.bmp"}));
    archive_ = home_.File("part.exp");
  }

  zephra::testing::TempHome home_;
  std::string h_, help_, pic_, show_, archive_;
};

TEST_F(ToolArchive, ExportListsAndRestoresAShowWithItsFiles) {
  const auto exported = RunTool({"archive", "export", show_, archive_, "--comment", "line 1\r\nline 2"}, h_);
  EXPECT_EQ(exported.exitCode, 0) << exported.err;
  EXPECT_EQ(exported.out + exported.err, "");

  const auto info = RunTool({"archive", "info", archive_}, h_);
  EXPECT_EQ(info.exitCode, 0) << info.err;
  EXPECT_TRUE(std::regex_match(info.out, std::regex("name: " + h_ + "/part/part.zep\n"
                                                    "timestamp: \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\n"
                                                    "comment: line 1\\\\nline 2\n"
                                                    "file: " + h_ + "/part/help.html 4\n"
                                                    "file: " + h_ + "/part/pics/a.bmp 16385\n")))
      << info.out;

  std::filesystem::remove_all(home_.File("part"));
  const auto restored = RunTool({"archive", "import", archive_}, h_);
  EXPECT_EQ(restored.exitCode, 0) << restored.err;
  EXPECT_EQ(restored.out, "slide show: " + show_ + "\nfile: " + help_ + " -> " + help_ + "\nfile: " + pic_ + " -> " +
                              pic_ + "\n");
  EXPECT_EQ(ReadAll(pic_), std::string(16385, 'a'));
  const std::string showText = ReadAll(show_);
  EXPECT_NE(showText.find("\tHELPFILE=" + help_ + "\r\n"), std::string::npos);
  EXPECT_NE(showText.find("\t\tGRAPHIC=" + pic_ + "\r\n"), std::string::npos);
}

TEST_F(ToolArchive, ExistingFilesAreKeptReplacedOrAskedFor) {
  ASSERT_EQ(RunTool({"archive", "export", show_, archive_}, h_).exitCode, 0);
  home_.Write("part/pics/a.bmp", "changed");

  const auto refused = RunTool({"archive", "import", archive_, "--overwrite", "all"}, h_);
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_EQ(refused.err, "error 58: The slide show " + show_ + " exists already; the archive is not restored. (Export.Read)\n");
  EXPECT_EQ(ReadAll(pic_), "changed");

  const std::string copy = h_ + "/part/pics/Copy(1) of a.bmp";
  const auto none = RunTool({"archive", "import", archive_, "--overwrite", "none", "--replace-show"}, h_);
  EXPECT_EQ(none.exitCode, 0) << none.err;
  EXPECT_NE(none.out.find("file: " + pic_ + " -> " + copy + "\n"), std::string::npos);
  EXPECT_EQ(ReadAll(pic_), "changed");
  EXPECT_EQ(ReadAll(copy), std::string(16385, 'a'));
  EXPECT_NE(ReadAll(show_).find("\t\tGRAPHIC=" + copy + "\r\n"), std::string::npos);

  // On the terminal: replace the help file, keep the picture (a second copy).
  const auto asked = RunTool({"archive", "import", archive_, "--replace-show"}, h_, "y\nn\nn\nn\n");
  EXPECT_EQ(asked.exitCode, 0) << asked.err;
  EXPECT_NE(asked.err.find("warning: Replace File: The file " + help_ + " exists already. Do you want to replace it?\n"
                           "[Yes/No/Cancel] (default No): "),
            std::string::npos);
  EXPECT_NE(asked.out.find("file: " + pic_ + " -> " + h_ + "/part/pics/Copy(2) of a.bmp\n"), std::string::npos);
  EXPECT_NE(asked.out.find("file: " + help_ + " -> " + help_ + "\n"), std::string::npos);

  const auto all = RunTool({"archive", "import", archive_, "--overwrite", "all", "--replace-show"}, h_);
  EXPECT_EQ(all.exitCode, 0) << all.err;
  EXPECT_EQ(ReadAll(pic_), std::string(16385, 'a'));
  EXPECT_NE(ReadAll(show_).find("\t\tGRAPHIC=" + pic_ + "\r\n"), std::string::npos);
  EXPECT_EQ(ReadAll(show_).find("Copy("), std::string::npos);
}

TEST_F(ToolArchive, UnsafeOrForeignArchivesRestoreNothing) {
  const std::string evil = h_ + "/part/../evil.sh";
  const std::string bad = home_.Write(
      "bad.exp", ArchiveBytes::Archive(h_ + "/new/s.zep", zephra::testing::ShowText("", {}), {{evil, "#!/bin/sh\n"}}));
  const auto r = RunTool({"archive", "import", bad, "--overwrite", "all", "--replace-show"}, h_);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "error 1005: The archive " + bad + " is not restored: the path " + evil +
                       " contains a \".\" or \"..\" folder. (Export.Read)\n");
  EXPECT_FALSE(std::filesystem::exists(h_ + "/evil.sh"));
  EXPECT_FALSE(std::filesystem::exists(h_ + "/new"));
  // info shows what such an archive holds, so the path can be seen.
  EXPECT_EQ(RunTool({"archive", "info", bad}, h_).out,
            "name: " + h_ + "/new/s.zep\ntimestamp: 2026-12-11 10:06:16\ncomment: \nfile: " + evil + " 10\n");

  const std::string relative = home_.Write(
      "rel.exp", ArchiveBytes::Archive("s.zep", zephra::testing::ShowText("", {}), {}));
  EXPECT_EQ(RunTool({"archive", "import", relative}, h_).err,
            "error 1005: The archive " + relative + " is not restored: s.zep is not the full path of a file. (Export.Read)\n");
  EXPECT_EQ(RunTool({"archive", "info", show_}, h_).err,
            "error 1005: " + show_ + " is not an export archive. (Export.Read)\n");
  EXPECT_EQ(RunTool({"archive", "--lang", "1031", "info", show_}, h_).err,
            "error 1005: " + show_ + " ist kein Exportarchiv. (Export.Read)\n");

  // A picture that is gone stops the export; the archive made before stays as it was.
  ASSERT_EQ(RunTool({"archive", "export", show_, archive_}, h_).exitCode, 0);
  const std::string before = ReadAll(archive_);
  std::filesystem::remove(pic_);
  const auto gone = RunTool({"archive", "export", show_, archive_, "--comment", "new"}, h_);
  EXPECT_EQ(gone.exitCode, 1);
  EXPECT_EQ(gone.err, "error 53: File not found '" + pic_ + "'. (Slide)\n");
  EXPECT_EQ(ReadAll(archive_), before);

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"archive"}, {"archive", "pack"}, {"archive", "export", show_},
        {"archive", "import", archive_, "--overwrite", "maybe"}}) {
    EXPECT_EQ(RunTool(args, h_).exitCode, 2) << args.back();
  }
}

}  // namespace
