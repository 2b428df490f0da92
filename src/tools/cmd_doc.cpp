// zephra doc cat|convert|info: slide-show files, text or binary form, read the way the monitor
// reads them.

#include <iostream>

#include "cli.h"
#include "document/message_profile.h"
#include "document/slide_show.h"

namespace zephra::tools {
namespace {

using document::SlideShow;

void Load(SlideShow& show, const std::string& path) { show.LoadFromFile(path); }

int RunCat(Arguments& args) {
  if (args.size() != 1) throw UsageError("doc cat takes one FILE");
  SlideShow show(document::MessageProfile::Monitor());
  Load(show, args[0]);
  const std::string text = show.ToText();
  std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
  return 0;
}

int RunConvert(Arguments& args) {
  const bool toText = TakeFlag(args, "--text");
  const bool toBinary = TakeFlag(args, "--binary");
  if (toText && toBinary) throw UsageError("doc convert takes --text or --binary, not both");
  if (args.size() != 2) throw UsageError("doc convert takes IN and OUT");
  SlideShow show(document::MessageProfile::Monitor());
  Load(show, args[0]);
  const bool binary = toBinary || (!toText && show.Binary());
  if (binary) {
    show.SaveToBinary(args[1]);
  } else {
    show.SaveToFile(args[1]);
  }
  return 0;
}

int RunInfo(Arguments& args) {
  if (args.size() != 1) throw UsageError("doc info takes one FILE");
  SlideShow show(document::MessageProfile::Monitor());
  Load(show, args[0]);
  int64_t icons = 0;
  int64_t values = 0;
  for (const auto& slide : show.Slides()) {
    icons += slide->Icons().Count();
    for (const auto& icon : slide->Icons()) values += icon->Values().Count();
  }
  std::cout << "form: " << (show.Binary() ? "binary" : "text") << '\n'
            << "version: " << (show.Binary() ? show.BinaryVersion() : 0) << '\n'
            << "name: " << show.Name() << '\n'
            << "slides: " << show.Slides().Count() << '\n'
            << "icons: " << icons << '\n'
            << "values: " << values << '\n'
            << "worst tolerance: " << show.WorstTolerance() << '\n';
  return 0;
}

}  // namespace

int RunDocRender(Arguments& args);

namespace {

int RunDoc(Arguments& args) {
  ApplyLanguageOption(args);
  if (args.empty()) throw UsageError("doc needs an action: cat, convert, info or render");
  const std::string action = args[0];
  args.erase(args.begin());
  if (action == "cat") return RunCat(args);
  if (action == "convert") return RunConvert(args);
  if (action == "info") return RunInfo(args);
  if (action == "render") return RunDocRender(args);
  throw UsageError("unknown doc action '" + action + "'");
}

const CommandRegistrar registrar(
    "doc", "show, convert and describe slide-show files",
    "usage: zephra doc [--lang LCID] cat FILE\n"
    "       zephra doc [--lang LCID] convert IN OUT [--text | --binary]\n"
    "       zephra doc [--lang LCID] info FILE\n"
    "       zephra doc render SHOW OUT.png [--slide N] [--size WxH] [--view monitor|editor]\n\n"
    "FILE is a slide show in the text form (.zep) or the binary form (.zpx); the form is\n"
    "recognised by the file's first bytes.\n\n"
    "  cat      writes the show's text form to stdout exactly as saving it would (CR LF lines,\n"
    "           tab indentation)\n"
    "  convert  loads IN and saves OUT in the text or binary form, by default in the form IN\n"
    "           had; OUT is replaced only once it is completely written\n"
    "  info     prints form (text or binary), version (binary format version, 0 for text),\n"
    "           name, slides, icons, values and worst tolerance (0 empty, 1 OK, 2 warning,\n"
    "           5 error), one 'key: value' line each\n"
    "  render   draws slide N (default 1) into a slide area of WxH pixels (default 1024x668) as\n"
    "           the monitor (locked, evaluated texts, the colours of ShowMonitor0) or the editor\n"
    "           (the numbers of the value columns) shows it, and saves it as PNG; works without a\n"
    "           display\n\n"
    "Keys a show does not know are reported as warnings and skipped. A file that cannot be\n"
    "read fails with 'error N: DESCRIPTION (SOURCE)' and exit code 1.\n",
    RunDoc);

}  // namespace
}  // namespace zephra::tools
