#pragma once
// The measuring host reads a start-up option file from its installation folder. Working
// off-line, the programs make sure it is there before they start the host.

#include <string>

namespace zephra::common {

// With the machine "OFFLINE" (any letter case): when the host's folder is registered and holds
// no AutomationStartupOptions.txt, writes it with the one line "/f". Returns whether the file
// exists afterwards. A host that is not registered, or a folder that cannot be written, gives
// false; nothing is raised.
bool EnsureHostStartupOptions(const std::string& machine);

}  // namespace zephra::common
