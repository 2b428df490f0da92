#include "program.h"

namespace zephra::common {

namespace {
ProgramKind g_program = ProgramKind::Tool;
}

void SetCurrentProgram(ProgramKind kind) { g_program = kind; }
ProgramKind CurrentProgram() { return g_program; }

int32_t MessageBase(ProgramKind kind) {
  switch (kind) {
    case ProgramKind::Editor: return 31000;
    case ProgramKind::Manager: return 32000;
    default: return 30000;
  }
}

std::string HelpPrefix(ProgramKind kind) {
  switch (kind) {
    case ProgramKind::Editor: return "zeped";
    case ProgramKind::Manager: return "zepmn";
    default: return "zep";
  }
}

std::string ProgramTitle(ProgramKind kind) {
  switch (kind) {
    case ProgramKind::Shell: return "zephra-shell";
    case ProgramKind::Monitor: return "zephra-monitor";
    case ProgramKind::Report: return "zephra-report";
    case ProgramKind::Editor: return "zephra-editor";
    case ProgramKind::Manager: return "zephra-manager";
    case ProgramKind::Tool: return "zephra";
  }
  return "zephra";
}

}  // namespace zephra::common
