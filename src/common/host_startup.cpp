#include "host_startup.h"

#include "automation_error.h"
#include "host_interface.h"
#include "paths.h"
#include "reg_entry.h"
#include "text.h"

namespace zephra::common {

bool EnsureHostStartupOptions(const std::string& machine) {
  if (!EqualsNoCase(TrimSpaces(machine), host::kOfflineMachine)) return false;
  try {
    RegEntry reg;
    const std::string folder = reg.LocateQVXAppPath();
    if (folder.empty() || !DirectoryExists(folder)) return false;
    const std::string file = JoinPath(folder, host::kStartupOptionFile);
    if (!FileExists(file)) WriteFileAtomically(file, "/f\r\n");
    return true;
  } catch (const AutomationError&) {
    return false;
  }
}

}  // namespace zephra::common
