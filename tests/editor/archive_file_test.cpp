// The archive file: its exact layout, copying in pieces, its errors, and the export.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "archive_fixture.h"
#include "document/message_profile.h"
#include "document/slide_show.h"
#include "editor/archive/archive_commands.h"
#include "editor/archive/archive_path.h"
#include "editor/archive/export_file.h"

using namespace zephra;
namespace zt = zephra::testing;
using editor::ExportFile;
using zt::ArchiveBytes;
using zt::ErrorOf;
using zt::ReadAll;

namespace {

class ArchiveFileTest : public zt::ArchiveTest {
 protected:
  std::unique_ptr<document::SlideShow> LoadShow(const std::string& path) {
    auto show = std::make_unique<document::SlideShow>(document::MessageProfile::Editor());
    show->LoadFromFile(path);
    return show;
  }
};

TEST_F(ArchiveFileTest, ExportWritesTheLayoutByteForByte) {
  const std::string help = dir_.Write("help.html", "HELP");
  const std::string pic = dir_.Write("pics/front.bmp", "BM1");
  const std::string showText = zt::ShowText(help, {"pics/front.bmp", pic});
  const std::string show = dir_.Write("part.zep", showText);
  const std::string archive = dir_.File("part.exp");
  editor::ExportArchive(*LoadShow(show), show, archive, "two\r\nlines");

  ExportFile reader;
  reader.OpenForRead(archive);
  const std::string stamp = reader.Timestamp();
  reader.FileClose();
  EXPECT_EQ(stamp.size(), 19u) << stamp;
  // The show goes in as it is on disk; its relative picture is listed by its full path, once.
  EXPECT_EQ(ReadAll(archive),
            ArchiveBytes::Archive(show, showText, {{help, "HELP"}, {pic, "BM1"}}, "two\r\nlines", stamp));

  // An empty comment is a count of 0, a show without files a count of 0 after its block.
  const std::string bare = dir_.Write("bare.zep", zt::ShowText("", {}));
  editor::ExportArchive(*LoadShow(bare), bare, archive, "");
  reader.OpenForRead(archive);
  EXPECT_EQ(reader.Comment(), "");
  EXPECT_EQ(reader.Name(), bare);
  EXPECT_EQ(ReadAll(archive), ArchiveBytes::Archive(bare, ReadAll(bare), {}, "", reader.Timestamp()));
}

TEST_F(ArchiveFileTest, FilesAreCopiedInPiecesOf16384Bytes) {
  const struct {
    size_t size;
    std::vector<size_t> pieces;
  } cases[] = {{0, {}}, {3, {3}}, {16384, {16384}}, {16385, {16384, 1}}, {40000, {16384, 16384, 7232}}};
  for (const auto& c : cases) {
    std::string bytes(c.size, '\0');
    for (size_t i = 0; i < c.size; ++i) bytes[i] = static_cast<char>(i * 7 + c.size);
    const std::string source = dir_.Write("in.bin", bytes);
    std::vector<size_t> written;
    std::vector<size_t> read;
    ExportFile out;
    out.SetPieceObserver([&](size_t n) { written.push_back(n); });
    out.OpenForWrite(dir_.File("a.exp"), "/x.zep", "");
    out.WriteFile(source);
    out.FileClose();
    ExportFile in;
    in.SetPieceObserver([&](size_t n) { read.push_back(n); });
    in.OpenForRead(dir_.File("a.exp"));
    in.ReadFile(dir_.File("out/copy.bin"));
    EXPECT_EQ(written, c.pieces) << c.size;
    EXPECT_EQ(read, c.pieces) << c.size;
    EXPECT_EQ(ReadAll(dir_.File("out/copy.bin")), bytes) << c.size;
    EXPECT_EQ(in.Position(), in.Size());
  }
}

TEST_F(ArchiveFileTest, ItemsRoundTripAndTextsOver32767BytesAreRefused) {
  const std::string path = dir_.File("items.exp");
  ExportFile out;
  out.OpenForWrite(path, "/s/Müller.zep", "ä\nb");
  out.WriteLong(-2);
  out.WriteString("");
  out.WriteString(std::string(32767, 'x'));
  EXPECT_EQ(ErrorOf([&] { out.WriteString(std::string(32768, 'x')); }).Number(), 6);
  out.FileClose();
  ExportFile in;
  in.OpenForRead(path);
  EXPECT_EQ(in.Name(), "/s/Müller.zep");
  EXPECT_EQ(in.Comment(), "ä\nb");
  EXPECT_EQ(in.ReadLong(), -2);
  EXPECT_EQ(in.ReadString(), "");
  EXPECT_EQ(in.ReadString(), std::string(32767, 'x'));
  EXPECT_EQ(ErrorOf([&] { in.ReadLong(); }).Number(), 62);

  // A negative count reads as empty; text made elsewhere in Windows-1252 is decoded.
  dir_.Write("old.exp", ArchiveBytes().Raw("VRXEXPRT").String("/a.zep").Integer(-5).String("Gr\xFC\xDF").Bytes());
  in.FileClose();
  in.OpenForRead(dir_.File("old.exp"));
  EXPECT_EQ(in.Timestamp(), "");
  EXPECT_EQ(in.Comment(), "Grüß");
}

TEST_F(ArchiveFileTest, OpenAndDirectionErrors) {
  const std::string path = dir_.File("e.exp");
  ExportFile a;
  const auto closedWrite = ErrorOf([&] { a.WriteLong(1); });
  EXPECT_EQ(closedWrite.Number(), 1004);
  EXPECT_EQ(closedWrite.Source(), "Export.Write");
  EXPECT_EQ(closedWrite.Description(), "The archive is not open for writing.");
  a.OpenForWrite(path, "/s.zep", "");
  const auto twice = ErrorOf([&] { a.OpenForWrite(path, "/s.zep", ""); });
  EXPECT_EQ(twice.Number(), 1003);
  EXPECT_EQ(twice.Source(), "Export.Write");
  EXPECT_EQ(twice.Description(), "The archive " + path + " is already open.");
  EXPECT_EQ(ErrorOf([&] { a.OpenForRead(path); }).Source(), "Export.Read");
  const auto readWhileWriting = ErrorOf([&] { a.ReadString(); });
  EXPECT_EQ(readWhileWriting.Number(), 1004);
  EXPECT_EQ(readWhileWriting.Source(), "Export.Read");
  EXPECT_EQ(readWhileWriting.Description(), "The archive is not open for reading.");
  a.FileClose();
  a.FileClose();

  // Anything that does not start with the magic, a file too short to hold it included.
  for (const std::string& bytes : {std::string("BLOCK SlideShow\r\nEND\r\n"), std::string("VRX"), std::string()}) {
    const std::string other = dir_.Write("other.zep", bytes);
    const auto e = ErrorOf([&] { a.OpenForRead(other); });
    EXPECT_EQ(e.Number(), 1005);
    EXPECT_EQ(e.Source(), "Export.Read");
    EXPECT_EQ(e.Description(), other + " is not an export archive.");
    EXPECT_FALSE(a.IsOpen());
  }
  EXPECT_EQ(ErrorOf([&] { a.OpenForRead(dir_.File("none.exp")); }).Number(), 53);
}

TEST_F(ArchiveFileTest, AnArchiveIsPutInPlaceOnlyWhenComplete) {
  const std::string archive = dir_.Write("keep.exp", "old archive");
  const std::string pic = dir_.Write("p.bmp", "P");
  const std::string show = dir_.Write("s.zep", zt::ShowText("", {pic}));
  {
    ExportFile abandoned;
    abandoned.OpenForWrite(archive, show, "");
    abandoned.WriteFile(show);
  }
  EXPECT_EQ(ReadAll(archive), "old archive");

  // A picture that is gone stops the export before the archive is touched.
  ::unlink(pic.c_str());
  const auto missing = ErrorOf([&] { editor::ExportArchive(*LoadShow(show), show, archive, ""); });
  EXPECT_EQ(missing.Number(), 53);
  EXPECT_EQ(missing.Source(), "Slide");
  // A picture that cannot be read fails while copying, with the archive's source.
  dir_.Write("p.bmp", "P");
  ::chmod(pic.c_str(), 0);
  if (::access(pic.c_str(), R_OK) != 0) {
    const auto unreadable = ErrorOf([&] { editor::ExportArchive(*LoadShow(show), show, archive, ""); });
    EXPECT_EQ(unreadable.Number(), 70);
    EXPECT_EQ(unreadable.Source(), "Export.Write");
  }
  ::chmod(pic.c_str(), 0644);
  EXPECT_EQ(ReadAll(archive), "old archive");
  EXPECT_EQ(Tree(), (std::set<std::string>{"keep.exp=old archive", "p.bmp=P", "s.zep=" + ReadAll(show)}));
}

TEST_F(ArchiveFileTest, ExportRefusesWhatAnImportWouldRefuse) {
  const std::string show = dir_.Write("s.zep", zt::ShowText("", {}));
  dir_.Write("help.html", "h");
  const std::filesystem::path oldFolder = std::filesystem::current_path();
  std::filesystem::current_path(dir_.Path());
  // A help file named relative to the working folder could never be restored.
  auto relativeHelp = std::make_unique<document::SlideShow>(document::MessageProfile::Editor());
  relativeHelp->SetHelpFile("help.html");
  const auto e = ErrorOf([&] { editor::ExportArchive(*relativeHelp, show, dir_.File("a.exp"), ""); });
  std::filesystem::current_path(oldFolder);
  EXPECT_EQ(e.Number(), 52);
  EXPECT_EQ(e.Description(), "help.html cannot be kept in an archive: an archive keeps only full paths of files, "
                             "without \".\" or \"..\" folders and without control characters.");
  EXPECT_EQ(ErrorOf([&] { editor::ExportArchive(*LoadShow(show), dir_.Path() + "/./s.zep", dir_.File("a.exp"), ""); })
                .Number(),
            52);
  // The archive may not replace the show it holds.
  const std::string before = ReadAll(show);
  const auto self = ErrorOf([&] { editor::ExportArchive(*LoadShow(show), show, dir_.Path() + "//s.zep", ""); });
  EXPECT_EQ(self.Number(), 52);
  EXPECT_EQ(ReadAll(show), before);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("a.exp")));
}

TEST(ArchiveNames, ZepAndZpxProposeTheSameArchive) {
  const std::pair<const char*, const char*> cases[] = {
      {"/s/part.zep", "/s/part.exp"}, {"/s/part.zpx", "/s/part.exp"}, {"/s/part.ZPX", "/s/part.exp"},
      {"/s/part.Zep", "/s/part.exp"}, {"/s/part.txt", "/s/part.txt.exp"}, {"zep", "zep.exp"},
      {"/s/a.zep.zpx", "/s/a.zep.exp"}, {"", ".exp"}};
  for (const auto& [in, out] : cases) EXPECT_EQ(editor::ProposedArchiveName(in), out) << in;
}

TEST(ArchivePaths, OnlyPlainFullPathsOfFiles) {
  const std::pair<std::string, int32_t> cases[] = {
      {"/home/me/Bitmaps/front.bmp", 0}, {"/a b/.hidden", 0}, {"/a/..b/c..", 0}, {"/a//b", 0},
      {"/x/Müller.bmp", 0}, {"", 31236}, {"pics/a.bmp", 31236}, {"C:\\Bitmaps\\a.bmp", 31236},
      {"/", 31236}, {"/a/b/", 31236}, {"/a/../etc/passwd", 31237}, {"/a/./b", 31237},
      {"/..", 31237}, {"/a/.", 31237}, {"/a/\x1b[2Jb", 31238}, {"/a\nb", 31238}, {"/a/\xC2\x85", 31238},
      {"/a/\x7F", 31238}};
  for (const auto& [path, fault] : cases) EXPECT_EQ(editor::ArchivePathFault(path), fault) << path;
  EXPECT_EQ(editor::EscapeControls("a\r\nb\rc\nd\x1b\te\xC2\x9F"), "a\\nb\\nc\\nd\\x1B\\x09e\\xC2\\x9F");
}

}  // namespace
