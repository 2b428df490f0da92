#pragma once
// The editor's Export and Import commands without their windows: the export dialog gives the
// archive path and comment, the import dialog the archive, and both report errors as the editor
// does. The questions an import asks go to the question objects given, or through the prompts
// interface.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "file_data_collection.h"

namespace zephra::document {
class SlideShow;
}

namespace zephra::editor {

class OverwriteQuestion;

// The archive name proposed for a working file: without a final ".zep" or ".zpx" (any letter
// case), followed by ".exp".
std::string ProposedArchiveName(const std::string& workingFile);

struct ArchiveEntry {
  std::string path;
  int32_t size = 0;
};

// What an archive holds, read without restoring anything.
struct ArchiveListing {
  std::string name;
  std::string timestamp;
  std::string comment;
  int32_t showSize = 0;
  std::vector<ArchiveEntry> files;
};

// Reads the whole archive's structure: error 1005 for a file that is no archive or holds a
// negative length, 62 for one that is cut short or claims more bytes than it has.
ArchiveListing ListArchive(const std::string& archivePath);
// Error 1005 naming the first path of the listing that may not be restored (the slide show's
// or an entry's) or that occurs twice.
void CheckArchivePaths(const ArchiveListing& listing, const std::string& archivePath);

// Writes the archive of a slide show: the show's file as it is on disk (save the document
// first), then every file the show refers to. Missing files (error 53) and paths an archive
// cannot keep (error 52) stop the export before the archive is touched; the archive replaces
// any file at archivePath only when it is complete.
void ExportArchive(const document::SlideShow& show, const std::string& showFile, const std::string& archivePath,
                   const std::string& comment);

struct ImportQuestions {
  // Asked for every restored file that exists already; none: asked through the prompts.
  OverwriteQuestion* overwrite = nullptr;
  // Asked when the slide-show file exists already; true replaces it. None: a standard message
  // box asks through the prompts (Yes, No).
  std::function<bool(const std::string& showFile)> replaceShow;
};

struct ImportResult {
  std::string showFile;
  bool binary = false;
  FileDataCollection files;
};

// Restores an archive: the slide-show file to the path recorded in it, every file to its
// recorded path or a "Copy(n) of" name beside it, and the show, rewritten to refer to the
// restored names, in the form it had. The archive is checked whole before anything is written
// (ListArchive, CheckArchivePaths); declining to replace the show is error 58 and writes
// nothing; any other failure leaves every existing file as it was.
ImportResult ImportArchive(const std::string& archivePath, const ImportQuestions& questions = {});

}  // namespace zephra::editor
