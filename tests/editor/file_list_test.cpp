// The slide show's side of the archive: which files it lists for an export and how it takes
// the restored names after an import.

#include <gtest/gtest.h>

#include "archive_bytes.h"
#include "common/automation_error.h"
#include "common/prompts.h"
#include "common/string_res.h"
#include "document/message_profile.h"
#include "document/slide_show.h"
#include "editor/archive/file_data_collection.h"
#include "support/scripted_prompts.h"
#include "support/temp_home.h"

using namespace zephra;
namespace zt = zephra::testing;
using editor::FileData;
using editor::FileDataCollection;

namespace {

class FileListTest : public zt::ScriptedPromptsTest {
 protected:
  std::unique_ptr<document::SlideShow> Show(const std::string& help, const std::vector<std::string>& pictures) {
    auto show = std::make_unique<document::SlideShow>(document::MessageProfile::Editor());
    show->LoadFromMemory(zt::ShowText(help, pictures));
    return show;
  }

  std::vector<std::string> Originals(const FileDataCollection& files) {
    std::vector<std::string> out;
    for (const FileData& f : files) out.push_back(f.OriginalFileName());
    return out;
  }

  zt::TempDir dir_;
};

TEST_F(FileListTest, ListsTheHelpFileThenEachPictureOnce) {
  const std::string help = dir_.Write("help.html", "h");
  const std::string a = dir_.Write("a.bmp", "a");
  const std::string b = dir_.Write("b.bmp", "b");
  FileDataCollection files;
  // Two slides share a picture, one has none.
  Show(help, {a, "", b, a})->BuildFileList(files);
  EXPECT_EQ(Originals(files), (std::vector<std::string>{help, a, b}));
  EXPECT_EQ(files.Item(2).NewFileName(), "");
  EXPECT_THROW(files.Item(4), common::AutomationError);

  FileDataCollection none;
  Show("", {"", ""})->BuildFileList(none);
  EXPECT_EQ(none.Count(), 0);
}

TEST_F(FileListTest, AMissingFileIsError53NamingIt) {
  const std::string a = dir_.Write("a.bmp", "a");
  const std::string gone = dir_.File("gone.bmp");
  struct Case {
    std::string help;
    std::vector<std::string> pictures;
    std::string source;
  };
  for (const Case& c : {Case{gone, {a}, "SlideShow"}, Case{"", {a, gone}, "Slide"}}) {
    FileDataCollection files;
    try {
      Show(c.help, c.pictures)->BuildFileList(files);
      ADD_FAILURE() << "no error for " << c.source;
    } catch (const common::AutomationError& e) {
      EXPECT_EQ(e.Number(), 53);
      EXPECT_EQ(e.Source(), c.source);
      EXPECT_EQ(e.Description(), "File not found '" + gone + "'.");
    }
  }
}

TEST_F(FileListTest, RestoredNamesReplaceTheReferencesAndKeepThePicturePlace) {
  auto show = Show("/old/help.html", {"/old/a.bmp", "/old/b.bmp", "", "/old/a.bmp"});
  show->Slides().Item(1)->SetPicturePosition(1, 2, 3, 4);

  // What an import leaves in the collection.
  class Restored : public FileDataCollection {
   public:
    std::string FindNewFileName(const std::string& path) const override {
      if (path == "/old/help.html") return "/new/help.html";
      if (path == "/old/a.bmp") return "/new/Copy(1) of a.bmp";
      return "";
    }
  } restored;
  show->UpdateFileList(restored);
  EXPECT_EQ(show->HelpFile(), "/new/help.html");
  EXPECT_EQ(show->Slides().Item(1)->PictureFile(), "/new/Copy(1) of a.bmp");
  EXPECT_EQ(show->Slides().Item(4)->PictureFile(), "/new/Copy(1) of a.bmp");
  // A reference the archive did not hold keeps its picture rather than losing it.
  EXPECT_EQ(show->Slides().Item(2)->PictureFile(), "/old/b.bmp");
  EXPECT_EQ(show->Slides().Item(3)->PictureFile(), "");
  int16_t l, t, w, h;
  show->Slides().Item(1)->GetPicturePosition(l, t, w, h);
  EXPECT_EQ((std::vector<int>{l, t, w, h}), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(FileListTest, CollectionIsKeyedByTheReferencedPath) {
  FileDataCollection files;
  files.Add("/p/a.bmp");
  files.Add("/p/b.bmp");
  files.Add("/p/a.bmp");
  files.Add("/p/A.bmp");
  EXPECT_EQ(Originals(files), (std::vector<std::string>{"/p/a.bmp", "/p/b.bmp", "/p/A.bmp"}));
  EXPECT_EQ(files.FindNewFileName("/p/a.bmp"), "");
  EXPECT_EQ(files.FindNewFileName("/p/c.bmp"), "");
}

}  // namespace
