#include "archive_commands.h"

#include <filesystem>
#include <set>

#include "archive_messages.h"
#include "archive_path.h"
#include "common/automation_error.h"
#include "common/paths.h"
#include "common/prompts.h"
#include "common/string_res.h"
#include "common/text.h"
#include "document/message_profile.h"
#include "document/slide_show.h"
#include "export_file.h"
#include "overwrite_question.h"
#include "pending_file.h"
#include "restore_transaction.h"

namespace zephra::editor {

using common::AutomationError;
using common::Variant;

std::string ProposedArchiveName(const std::string& workingFile) {
  std::string base = workingFile;
  if (base.size() >= 4) {
    const std::string tail = common::ToUpperAscii(std::string_view(base).substr(base.size() - 4));
    if (tail == ".ZEP" || tail == ".ZPX") base.resize(base.size() - 4);
  }
  return base + ".exp";
}

ArchiveListing ListArchive(const std::string& archivePath) {
  ExportFile archive;
  archive.OpenForRead(archivePath);
  ArchiveListing listing;
  listing.name = archive.Name();
  listing.timestamp = archive.Timestamp();
  listing.comment = archive.Comment();
  listing.showSize = archive.SkipFile();
  const int64_t countAt = archive.Position();
  const int32_t count = archive.ReadLong();
  if (count < 0) {
    throw AutomationError(archive_error::NotAnArchive, ExportFile::kReadSource,
                          common::FormatMessage(archive_msg::NegativeLength,
                                                {Variant(archivePath), Variant(std::to_string(countAt)),
                                                 Variant(std::to_string(count))}));
  }
  // Every entry takes at least six bytes, so a count the rest of the file cannot hold ends in
  // error 62 after at most that many rounds.
  for (int32_t i = 0; i < count; ++i) {
    ArchiveEntry entry;
    entry.path = archive.ReadString();
    entry.size = archive.SkipFile();
    listing.files.push_back(std::move(entry));
  }
  archive.FileClose();
  return listing;
}

void CheckArchivePaths(const ArchiveListing& listing, const std::string& archivePath) {
  CheckRestorablePath(archivePath, listing.name);
  std::set<std::string> seen{listing.name};
  for (const ArchiveEntry& entry : listing.files) {
    CheckRestorablePath(archivePath, entry.path);
    if (!seen.insert(entry.path).second) {
      throw AutomationError(archive_error::NotAnArchive, ExportFile::kReadSource,
                            common::FormatMessage(archive_msg::Duplicate,
                                                  {Variant(EscapeControls(archivePath)), Variant(entry.path)}));
    }
  }
}

namespace {

bool SameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace

void ExportArchive(const document::SlideShow& show, const std::string& showFile, const std::string& archivePath,
                   const std::string& comment) {
  FileDataCollection files;
  show.BuildFileList(files);
  // An archive that the import would refuse is not written in the first place.
  CheckStorablePath(showFile);
  for (const FileData& item : files) CheckStorablePath(item.OriginalFileName());
  // The archive is put in place by a rename, which would replace a file it holds.
  bool member = SameFile(archivePath, showFile);
  for (const FileData& item : files) member = member || SameFile(archivePath, item.OriginalFileName());
  if (member) {
    throw AutomationError(common::err::BadFileName, ExportFile::kWriteSource,
                          common::FormatMessage(archive_msg::ArchiveIsMember, {Variant(archivePath)}));
  }
  ExportFile archive;
  archive.OpenForWrite(archivePath, showFile, comment);
  archive.WriteFile(showFile);
  files.Export(archive);
  archive.FileClose();
}

namespace {

bool AskReplaceShow(const std::string& showFile) {
  return common::CurrentPrompts().StandardMessage(
             common::FormatMessage(archive_msg::ReplaceShow, {Variant(showFile)}),
             common::mb::YesNo | common::mb::Question, common::GetMessage(archive_msg::EditorTitle)) ==
         common::answer::Yes;
}

}  // namespace

ImportResult ImportArchive(const std::string& archivePath, const ImportQuestions& questions) {
  const ArchiveListing listing = ListArchive(archivePath);
  CheckArchivePaths(listing, archivePath);
  const std::string& showFile = listing.name;
  if (common::FileExists(showFile)) {
    const bool replace = questions.replaceShow ? questions.replaceShow(showFile) : AskReplaceShow(showFile);
    if (!replace) {
      throw AutomationError(common::err::FileAlreadyExists, ExportFile::kReadSource,
                            common::FormatMessage(archive_msg::ShowExists, {Variant(showFile)}));
    }
  }

  PromptsOverwriteQuestion askThroughPrompts;
  OverwriteQuestion& overwrite = questions.overwrite ? *questions.overwrite : askThroughPrompts;

  ExportFile archive;
  archive.OpenForRead(archivePath);
  if (archive.Name() != showFile) {
    // Changed since it was checked: nothing is restored from it.
    throw AutomationError(archive_error::NotAnArchive, ExportFile::kReadSource,
                          common::FormatMessage(archive_msg::NotAnArchive, {Variant(archivePath)}));
  }
  // Declared before the show's bytes so that those are gone when the transaction removes the
  // folders it made.
  RestoreTransaction restore;
  restore.MakeFolders(common::ParentDirectory(showFile));
  restore.Reserve(showFile);
  const PendingFile showBytes = archive.ReadFilePending(showFile);
  // Loaded from beside its target, so pictures named relative to the show resolve as they will
  // once it is in place.
  document::SlideShow show(document::MessageProfile::Editor());
  show.LoadFromFile(showBytes.TemporaryPath());

  ImportResult result;
  result.showFile = showFile;
  result.files.Import(archive, overwrite, restore);
  archive.FileClose();

  show.UpdateFileList(result.files);
  result.binary = show.Binary();
  restore.StageBytes(showFile, result.binary ? show.ToBinaryBytes() : show.ToText(), ExportFile::kReadSource);
  restore.Commit();
  return result;
}

}  // namespace zephra::editor
