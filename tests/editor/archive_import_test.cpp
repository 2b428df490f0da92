// Restoring an archive: where files go, the questions asked, and archives that must restore
// nothing.

#include <gtest/gtest.h>

#include "archive_fixture.h"
#include "common/paths.h"
#include "document/message_profile.h"
#include "document/slide_show.h"
#include "editor/archive/archive_commands.h"
#include "editor/archive/export_file.h"
#include "editor/archive/overwrite_question.h"
#include "editor/archive/restore_transaction.h"

using namespace zephra;
namespace zt = zephra::testing;
using common::answer::Cancel;
using common::answer::No;
using common::answer::Yes;
using editor::FixedOverwriteAnswer;
using editor::ImportQuestions;
using editor::OverwriteAnswer;
using zt::ArchiveBytes;
using zt::ErrorOf;
using zt::ReadAll;

namespace {

class ArchiveImportTest : public zt::ArchiveTest {
 protected:
  // A show in part/ with a help file and four pictures (the first on two slides), exported to
  // part.exp. The pictures hold "old X" on disk afterwards, "X" in the archive.
  void MakeArchive(bool binary = false) {
    help_ = dir_.Write("part/help.html", "help");
    for (const char* n : {"a", "b", "c", "d"}) pics_.push_back(dir_.Write(std::string("part/pics/") + n + ".bmp", n));
    show_ = dir_.Write("part/part.zep", zt::ShowText(help_, {"pics/a.bmp", "pics/b.bmp", pics_[0], pics_[2],
                                                                  pics_[3]}));
    document::SlideShow show(document::MessageProfile::Editor());
    show.LoadFromFile(show_);
    if (binary) show.SaveToBinary(show_);
    archive_ = dir_.File("part.exp");
    editor::ExportArchive(show, show_, archive_, "");
    for (const char* n : {"a", "b", "c", "d"}) dir_.Write(std::string("part/pics/") + n + ".bmp", std::string("old ") + n);
  }

  std::unique_ptr<document::SlideShow> RestoredShow() {
    auto show = std::make_unique<document::SlideShow>(document::MessageProfile::Editor());
    show->LoadFromFile(show_);
    return show;
  }

  std::vector<std::string> Pictures() {
    std::vector<std::string> out;
    const auto show = RestoredShow();
    for (const auto& s : show->Slides()) out.push_back(s->PictureFile());
    return out;
  }

  std::string Pic(const std::string& name) { return dir_.File("part/pics/" + name); }

  std::string help_;
  std::vector<std::string> pics_;
  std::string show_;
  std::string archive_;
};

TEST_F(ArchiveImportTest, RestoresEveryFileWhereItWasRecorded) {
  for (const bool binary : {false, true}) {
    MakeArchive(binary);
    std::filesystem::remove_all(dir_.File("part"));
    const editor::ImportResult r = editor::ImportArchive(archive_);
    EXPECT_TRUE(Prompts().Records().empty());
    EXPECT_EQ(r.showFile, show_);
    EXPECT_EQ(r.binary, binary);
    EXPECT_EQ(r.files.Count(), 5);
    EXPECT_EQ(r.files.FindNewFileName(pics_[1]), pics_[1]);
    EXPECT_EQ(ReadAll(show_).rfind("ZEPFILE", 0) == 0, binary);
    EXPECT_EQ(RestoredShow()->HelpFile(), help_);
    EXPECT_EQ(Pictures(), (std::vector<std::string>{pics_[0], pics_[1], pics_[0], pics_[2], pics_[3]}));
    EXPECT_EQ(ReadAll(help_), "help");
    EXPECT_EQ(ReadAll(pics_[3]), "d");
    // The archive, two folders and the six restored files: no temporary files are left behind.
    EXPECT_EQ(Tree().size(), 9u);
    std::filesystem::remove_all(dir_.File("part"));
    std::filesystem::remove(archive_);
    pics_.clear();
  }
}

TEST_F(ArchiveImportTest, NoToAllRestoresUnderTheFirstFreeCopyName) {
  MakeArchive();
  dir_.Write("part/pics/Copy(1) of b.bmp", "older copy");
  FixedOverwriteAnswer noToAll(OverwriteAnswer::NoToAll);
  editor::ImportArchive(archive_, ImportQuestions{&noToAll, [](const std::string&) { return true; }});
  EXPECT_EQ(Pictures(), (std::vector<std::string>{Pic("Copy(1) of a.bmp"), Pic("Copy(2) of b.bmp"),
                                                   Pic("Copy(1) of a.bmp"), Pic("Copy(1) of c.bmp"),
                                                   Pic("Copy(1) of d.bmp")}));
  EXPECT_EQ(RestoredShow()->HelpFile(), dir_.File("part/Copy(1) of help.html"));
  EXPECT_EQ(ReadAll(Pic("a.bmp")), "old a");
  EXPECT_EQ(ReadAll(Pic("Copy(1) of a.bmp")), "a");
  EXPECT_EQ(ReadAll(Pic("Copy(1) of b.bmp")), "older copy");
  EXPECT_EQ(ReadAll(Pic("Copy(2) of b.bmp")), "b");
}

TEST_F(ArchiveImportTest, TheQuestionsAreAskedThroughThePrompts) {
  const struct {
    std::vector<int> answers;
    // Per picture a to d: replaced (true) or restored under a copy name.
    std::vector<bool> replaced;
    size_t questions;
  } cases[] = {
      {{Yes, No, No, No, Cancel}, {true, false, false, false}, 5},
      {{Yes, Yes}, {true, true, true, true}, 2},
      {{No, Yes}, {false, false, false, false}, 2},
      {{No, No, Yes, Yes}, {false, true, true, true}, 4},
  };
  for (const auto& c : cases) {
    MakeArchive();
    std::filesystem::remove(help_);
    Prompts().ClearRecords();
    Prompts().AnswerButton(Yes);  // replace the show
    for (int a : c.answers) Prompts().AnswerButton(a);
    editor::ImportArchive(archive_);
    const auto& records = Prompts().Records();
    ASSERT_EQ(records.size(), 1 + c.questions);
    EXPECT_EQ(records[0].kind, common::PromptKind::StandardMessage);
    EXPECT_EQ(records[0].text, "The slide show " + show_ +
                                   " exists already. Do you want to replace it with the one from the archive?");
    EXPECT_EQ(records[1].text, "The file " + pics_[0] + " exists already. Do you want to replace it?");
    EXPECT_EQ(records[1].title, "Replace File");
    EXPECT_EQ(records[1].options, common::mb::YesNoCancel | common::mb::Question | common::mb::DefaultButton2);
    if (c.questions > 2) {
      EXPECT_EQ(records[2].text, "Give the same answer for all further files that exist already?");
    }
    const char* names[] = {"a", "b", "c", "d"};
    for (size_t i = 0; i < 4; ++i) {
      const std::string copy = Pic(std::string("Copy(1) of ") + names[i] + ".bmp");
      EXPECT_EQ(ReadAll(pics_[i]), c.replaced[i] ? names[i] : std::string("old ") + names[i]) << names[i];
      EXPECT_EQ(std::filesystem::exists(copy), !c.replaced[i]) << names[i];
    }
    std::filesystem::remove_all(dir_.File("part"));
    pics_.clear();
  }
}

TEST_F(ArchiveImportTest, AQuestionThatCannotBeAskedIsReportedAndCountsAsNo) {
  MakeArchive();
  struct Broken : editor::OverwriteQuestion {
    int asked = 0;
    OverwriteAnswer Ask(const std::string&) override {
      ++asked;
      throw common::AutomationError(429, "FormOverwrite", "The dialog cannot be shown.");
    }
  } broken;
  editor::ImportArchive(archive_, ImportQuestions{&broken, [](const std::string&) { return true; }});
  EXPECT_EQ(broken.asked, 5);
  EXPECT_EQ(Prompts().Records().size(), 5u);
  EXPECT_EQ(Prompts().Records()[0].text, "429: The dialog cannot be shown.");
  EXPECT_EQ(Prompts().Records()[0].title, "Error at FormOverwrite");
  EXPECT_EQ(ReadAll(Pic("a.bmp")), "old a");
  EXPECT_EQ(ReadAll(Pic("Copy(1) of d.bmp")), "d");
}

TEST_F(ArchiveImportTest, KeepingTheExistingShowRestoresNothing) {
  MakeArchive();
  const auto before = Tree();
  const auto declined = ErrorOf([&] {
    editor::ImportArchive(archive_, ImportQuestions{nullptr, [](const std::string&) { return false; }});
  });
  EXPECT_EQ(declined.Number(), 58);
  EXPECT_EQ(declined.Source(), "Export.Read");
  EXPECT_EQ(declined.Description(), "The slide show " + show_ + " exists already; the archive is not restored.");
  Prompts().AnswerButton(No);
  EXPECT_EQ(ErrorOf([&] { editor::ImportArchive(archive_); }).Number(), 58);
  EXPECT_EQ(Prompts().Records().size(), 1u);
  EXPECT_EQ(Tree(), before);
}

TEST_F(ArchiveImportTest, AnArchiveWithAnUnsafePathRestoresNothing) {
  const std::string d = dir_.Path();
  const std::string show = zt::ShowText("", {});
  const struct {
    std::string name;
    std::vector<std::pair<std::string, std::string>> files;
    std::string description;
  } cases[] = {
      {d + "/s.zep", {{d + "/ok.bmp", "1"}, {d + "/x/../evil.bmp", "2"}},
       "the path " + d + "/x/../evil.bmp contains a \".\" or \"..\" folder."},
      {d + "/s.zep", {{"evil.bmp", "2"}}, "evil.bmp is not the full path of a file."},
      {d + "/s.zep", {{d + "/x/", "2"}}, d + "/x/ is not the full path of a file."},
      {d + "/./s.zep", {}, "the path " + d + "/./s.zep contains a \".\" or \"..\" folder."},
      {"s.zep", {}, "s.zep is not the full path of a file."},
      {d + "/s.zep", {{d + "/e\x1b]0;x\a.bmp", "2"}}, "the path " + d + "/e\\x1B]0;x\\x07.bmp contains control characters."},
      {d + "/s.zep", {{d + "/a.bmp", "1"}, {d + "/a.bmp", "2"}}, "it holds the file " + d + "/a.bmp more than once."},
      {d + "/s.zep", {{d + "/s.zep", "2"}}, "it holds the file " + d + "/s.zep more than once."},
  };
  FixedOverwriteAnswer yesToAll(OverwriteAnswer::YesToAll);
  for (const auto& c : cases) {
    const std::string archive = dir_.Write("bad.exp", ArchiveBytes::Archive(c.name, show, c.files));
    const auto before = Tree();
    const auto e = ErrorOf([&] { editor::ImportArchive(archive, ImportQuestions{&yesToAll, {}}); });
    EXPECT_EQ(e.Number(), 1005) << c.description;
    EXPECT_EQ(e.Source(), "Export.Read");
    EXPECT_EQ(e.Description(), "The archive " + archive + " is not restored: " + c.description);
    EXPECT_EQ(Tree(), before) << c.description;
  }
  EXPECT_TRUE(Prompts().Records().empty());
}

TEST_F(ArchiveImportTest, ADamagedArchiveRestoresNothing) {
  const std::string d = dir_.Path();
  const std::string good =
      ArchiveBytes::Archive(d + "/new/s.zep", zt::ShowText("", {d + "/new/p.bmp"}), {{d + "/new/p.bmp", "PIC"}});
  // Cut anywhere, the archive fails whole: in the magic as no archive, later as input past its end.
  for (size_t cut = 0; cut < good.size(); ++cut) {
    const std::string archive = dir_.Write("cut.exp", good.substr(0, cut));
    const auto e = ErrorOf([&] { editor::ImportArchive(archive); });
    EXPECT_EQ(e.Number(), cut < 8 ? 1005 : 62) << cut;
    ASSERT_EQ(Tree(), (std::set<std::string>{"cut.exp=" + good.substr(0, cut)})) << cut;
  }
  const auto pastEnd = ErrorOf([&] {
    editor::ImportArchive(dir_.Write("big.exp", ArchiveBytes().Raw("VRXEXPRT").String(d + "/s.zep").String("").String("")
                                                      .Long(1000000).Raw("BLOCK").Bytes()));
  });
  EXPECT_EQ(pastEnd.Number(), 62);
  EXPECT_EQ(pastEnd.Description(), "Input past end of file: 1000000 bytes wanted at byte " +
                                       std::to_string(8 + 2 + d.size() + 6 + 2 + 2 + 4) + ", but the file has " +
                                       std::to_string(8 + 2 + d.size() + 6 + 2 + 2 + 4 + 5) + " bytes.");
  const std::string header = ArchiveBytes().Raw("VRXEXPRT").String(d + "/s.zep").String("").String("").Bytes();
  const auto negative = ErrorOf([&] { editor::ImportArchive(dir_.Write("neg.exp", header + ArchiveBytes().Long(-1).Bytes())); });
  EXPECT_EQ(negative.Number(), 1005);
  EXPECT_EQ(negative.Description(), "The archive " + dir_.File("neg.exp") + " is damaged: byte " +
                                        std::to_string(header.size()) + " holds the length -1.");
  EXPECT_EQ(ErrorOf([&] {
              editor::ImportArchive(dir_.Write("count.exp", header + ArchiveBytes().Block("x").Long(-3).Bytes()));
            }).Number(),
            1005);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("s.zep")));
}

TEST_F(ArchiveImportTest, AFailureMidwayLeavesEveryFileAsItWas) {
  const std::string d = dir_.Path();
  dir_.Write("keep.bmp", "old keep");
  dir_.Write("blocker", "a file where a folder is needed");
  const std::string showText = zt::ShowText("", {d + "/keep.bmp", d + "/new/deeper/x.bmp"});
  FixedOverwriteAnswer yesToAll(OverwriteAnswer::YesToAll);
  const struct {
    std::string show;
    std::vector<std::pair<std::string, std::string>> files;
    int32_t number;
  } cases[] = {
      // A folder that cannot be made, after files that were already restored.
      {showText, {{d + "/keep.bmp", "new keep"}, {d + "/new/deeper/x.bmp", "X"}, {d + "/blocker/y.bmp", "Y"}}, 76},
      // A show that does not load.
      {"BLOCK Picture\r\nEND\r\n", {{d + "/keep.bmp", "new keep"}}, 1001},
  };
  for (const auto& c : cases) {
    const std::string archive = dir_.Write("a.exp", ArchiveBytes::Archive(d + "/shows/s.zep", c.show, c.files));
    const auto before = Tree();
    EXPECT_EQ(ErrorOf([&] { editor::ImportArchive(archive, ImportQuestions{&yesToAll, {}}); }).Number(), c.number);
    EXPECT_EQ(Tree(), before);
  }
}

TEST_F(ArchiveImportTest, CopyNamesCountOnPastAThousand) {
  for (int n = 1; n <= 1000; ++n) dir_.Write("Copy(" + std::to_string(n) + ") of p.bmp", "");
  editor::RestoreTransaction restore;
  EXPECT_EQ(restore.FreeCopyName(dir_.File("p.bmp")), dir_.File("Copy(1001) of p.bmp"));
  restore.Reserve(dir_.File("Copy(1001) of p.bmp"));
  EXPECT_EQ(restore.FreeCopyName(dir_.File("p.bmp")), dir_.File("Copy(1002) of p.bmp"));
}

}  // namespace
