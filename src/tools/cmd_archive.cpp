// zephra archive export|info|import: the editor's export archive of a slide show and its files.

#include <filesystem>
#include <iostream>
#include <memory>

#include "cli.h"
#include "common/prompts.h"
#include "document/message_profile.h"
#include "document/slide_show.h"
#include "editor/archive/archive_commands.h"
#include "editor/archive/archive_path.h"
#include "editor/archive/overwrite_question.h"

namespace zephra::tools {
namespace {

using editor::EscapeControls;

// The archive records the show's full path, so a name given relative to the working folder is
// made absolute first.
std::string FullPath(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path abs = std::filesystem::absolute(path, ec);
  return ec ? path : abs.lexically_normal().string();
}

int RunExport(Arguments& args) {
  const std::string comment = TakeOption(args, "--comment").value_or("");
  if (args.size() != 2) throw UsageError("archive export takes SHOW and ARCHIVE");
  const std::string showFile = FullPath(args[0]);
  document::SlideShow show(document::MessageProfile::Editor());
  show.LoadFromFile(showFile);
  editor::ExportArchive(show, showFile, args[1], comment);
  return 0;
}

int RunInfo(Arguments& args) {
  if (args.size() != 1) throw UsageError("archive info takes one ARCHIVE");
  const editor::ArchiveListing listing = editor::ListArchive(args[0]);
  std::cout << "name: " << EscapeControls(listing.name) << '\n'
            << "timestamp: " << EscapeControls(listing.timestamp) << '\n'
            << "comment: " << EscapeControls(listing.comment) << '\n';
  for (const editor::ArchiveEntry& entry : listing.files) {
    std::cout << "file: " << EscapeControls(entry.path) << ' ' << entry.size << '\n';
  }
  return 0;
}

int RunImport(Arguments& args) {
  const std::string mode = TakeOption(args, "--overwrite").value_or("ask");
  const bool replaceShow = TakeFlag(args, "--replace-show");
  if (args.size() != 1) throw UsageError("archive import takes one ARCHIVE");
  std::unique_ptr<editor::OverwriteQuestion> question;
  if (mode == "ask") {
    common::SetPrompts(std::make_shared<common::ConsolePrompts>(true));
    question = std::make_unique<editor::PromptsOverwriteQuestion>();
  } else if (mode == "all") {
    question = std::make_unique<editor::FixedOverwriteAnswer>(editor::OverwriteAnswer::YesToAll);
  } else if (mode == "none") {
    question = std::make_unique<editor::FixedOverwriteAnswer>(editor::OverwriteAnswer::NoToAll);
  } else {
    throw UsageError("--overwrite takes ask, all or none");
  }
  editor::ImportQuestions questions;
  questions.overwrite = question.get();
  questions.replaceShow = [replaceShow](const std::string&) { return replaceShow; };
  const editor::ImportResult result = editor::ImportArchive(args[0], questions);
  std::cout << "slide show: " << result.showFile << '\n';
  for (const editor::FileData& item : result.files) {
    std::cout << "file: " << item.OriginalFileName() << " -> " << item.NewFileName() << '\n';
  }
  return 0;
}

int RunArchive(Arguments& args) {
  ApplyLanguageOption(args);
  if (args.empty()) throw UsageError("archive needs an action: export, info or import");
  const std::string action = args[0];
  args.erase(args.begin());
  if (action == "export") return RunExport(args);
  if (action == "info") return RunInfo(args);
  if (action == "import") return RunImport(args);
  throw UsageError("unknown archive action '" + action + "'");
}

const CommandRegistrar registrar(
    "archive", "pack a slide show with its files into an archive, list and restore archives",
    "usage: zephra archive [--lang LCID] export SHOW ARCHIVE [--comment TEXT]\n"
    "       zephra archive [--lang LCID] info ARCHIVE\n"
    "       zephra archive [--lang LCID] import ARCHIVE [--overwrite ask|all|none] [--replace-show]\n\n"
    "  export  writes ARCHIVE with the slide-show file SHOW as it is on disk, its help file and\n"
    "          every slide's picture. A missing file stops the export before ARCHIVE is touched;\n"
    "          ARCHIVE replaces an old file only once it is complete.\n"
    "  info    prints 'name: ' (the slide-show file), 'timestamp: ', 'comment: ' (line breaks as\n"
    "          \\n), then one 'file: PATH SIZE' line per file the archive holds.\n"
    "  import  restores the slide show and its files to the full paths recorded in ARCHIVE and\n"
    "          rewrites the show to refer to them. For a file that exists already, --overwrite\n"
    "          ask (the default) asks on the terminal, all replaces every one, none keeps every\n"
    "          one and restores under a free 'Copy(n) of NAME' beside it. An existing slide-show\n"
    "          file is replaced only with --replace-show; otherwise the import stops, exit 1.\n"
    "          Prints 'slide show: PATH', then 'file: RECORDED -> RESTORED' per file.\n\n"
    "An archive is checked whole before anything is restored: one that is damaged, or that\n"
    "names a path that is not a full path, holds a '.' or '..' folder or control characters,\n"
    "fails with error 1005 or 62 and nothing is written. A failure later on leaves every\n"
    "existing file as it was.\n",
    RunArchive);

}  // namespace
}  // namespace zephra::tools
