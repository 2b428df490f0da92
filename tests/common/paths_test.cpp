#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "common/automation_error.h"
#include "common/paths.h"
#include "support/temp_home.h"

using namespace zephra::common;

TEST(Paths, ParentDirectoryAddSeparatorAndJoin) {
  EXPECT_EQ(ParentDirectory("/opt/host/qvxhost --automation"), "/opt/host/");
  EXPECT_EQ(ParentDirectory("/dir/"), "/");
  EXPECT_EQ(ParentDirectory("/a/b/c"), "/a/b/");
  EXPECT_EQ(ParentDirectory("name"), "");
  EXPECT_EQ(AddSeparator("/a/b  "), "/a/b/");
  EXPECT_EQ(AddSeparator("/a/"), "/a/");
  const std::tuple<const char*, const char*, const char*> joins[] = {
      {"/data/menu", "pic.bmp", "/data/menu/pic.bmp"},
      {" /data/menu/ ", " pic.bmp ", "/data/menu/pic.bmp"},
      {"/data/menu", "/abs/pic.bmp", "/abs/pic.bmp"},
      {"/data/menu", "./pic.bmp", "/data/menu/pic.bmp"},
      {"/data/menu", "../pic.bmp", "/data/pic.bmp"},
      {"/data/menu/sub", "../../pic.bmp", "/data/pic.bmp"},
      {"/data", "sub/pic.bmp", "/data/sub/pic.bmp"},
  };
  for (const auto& [dir, name, expected] : joins) EXPECT_EQ(JoinPath(dir, name), expected) << name;
}

TEST(Paths, MakeDirectoriesCreatesEveryLevelAndReportsFailures) {
  zephra::testing::TempDir dir;
  const std::string deep = dir.File("a/b/c");
  MakeDirectories(deep);
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_TRUE(FileExists(deep));
  MakeDirectories(deep);  // again: nothing to do
  dir.Write("file", "x");
  EXPECT_TRUE(FileExists(dir.File("file")));
  EXPECT_FALSE(DirectoryExists(dir.File("file")));
  EXPECT_FALSE(DirectoryExists(""));
  EXPECT_THROW(MakeDirectories(dir.File("file/below")), AutomationError);
}

TEST(Paths, FilesAreFoundWithoutRegardToCase) {
  zephra::testing::TempDir dir;
  dir.Write("Menu.cfg", "x");
  EXPECT_EQ(FindFileNoCase(dir.Path(), "menu.cfg"), dir.File("Menu.cfg"));
  EXPECT_EQ(ResolvePathNoCase(dir.File("MENU.CFG")), dir.File("Menu.cfg"));
  EXPECT_FALSE(FindFileNoCase(dir.Path(), "other.cfg"));
}

TEST(Paths, AtomicWriteReplacesOnlyWhenComplete) {
  zephra::testing::TempDir dir;
  const std::string target = dir.Write("show.zep", "old");
  WriteFileAtomically(target, "new content");
  EXPECT_EQ(zephra::testing::ReadAll(target), "new content");
  // When the rename cannot happen the target stays and no temporary file is left behind.
  dir.Write("busy/keep", "kept");
  EXPECT_THROW(WriteFileAtomically(dir.File("busy"), "lost"), AutomationError);
  EXPECT_EQ(zephra::testing::ReadAll(dir.File("busy/keep")), "kept");
  size_t entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path())) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 2u);
  try {
    ReadFileBytes(dir.File("none"), "Test");
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), err::FileNotFound);
  }
}

TEST(Paths, OnlyRegularFilesAreReadWhole) {
  try {
    ReadFileBytes("/dev/zero", "Test");
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), err::BadFileName);
  }
}

TEST(Paths, APipeIsRefusedAtOnceRatherThanWaitedOn) {
  zephra::testing::TempDir dir;
  const std::string fifo = dir.File("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_THROW(OpenRegularFileForRead(fifo, "Test"), AutomationError);
}
