#pragma once
// Which program of the suite this process is. It decides the message range that shared classes
// draw their messages from and the help-file prefix.

#include <cstdint>
#include <string>

namespace zephra::common {

enum class ProgramKind { Shell, Monitor, Report, Editor, Manager, Tool };

void SetCurrentProgram(ProgramKind kind);
ProgramKind CurrentProgram();

// 30000 for the shell, the monitor and report servers and the tool; 31000 editor; 32000 manager.
int32_t MessageBase(ProgramKind kind);
inline int32_t MessageBase() { return MessageBase(CurrentProgram()); }
// "zep", "zeped" or "zepmn".
std::string HelpPrefix(ProgramKind kind);
// The program's name as its title ("zephra-shell").
std::string ProgramTitle(ProgramKind kind);

inline constexpr int32_t kSharedMessageBase = 33000;

}  // namespace zephra::common
