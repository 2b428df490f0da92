#pragma once
// The settings every program may rely on, written where missing at start-up.

#include <string>

namespace zephra::common {

inline constexpr const char* kUserKey = "USER_ZEP";
inline constexpr const char* kHistoryListKey = "USER_ZEP\\Historys";

// Writes the missing defaults of USER_ZEP and the monitor keys ShowMonitor0..3. Existing values
// are never changed; errors reach the caller.
void EnsureDefaultSettings();

// Appends a directory and title to the history list (USER_ZEP\Historys), creating it as needed.
void AppendHistoryList(const std::string& directory, const std::string& title);

}  // namespace zephra::common
