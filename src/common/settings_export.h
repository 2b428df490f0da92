#pragma once
// The text form of a part of the settings store, for people and for scripts:
//
//   [USER_ZEP\ShowMonitor0]
//   Caption=@30145
//   ProgID=ZEPMonitor.Monitor
//   <blank line>
//
// Keys depth-first, each with its values; values and subkeys ordered by their names in ASCII
// upper case. The path is relative to the hive's base (the settings root, or the class hive);
// the base itself is "[]". "@" is a key's unnamed default value. In data, "\", CR and LF are
// written "\\", "\r" and "\n"; in names also "=" is written "\=".

#include <string>
#include <string_view>

#include "settings_store.h"

namespace zephra::common {

// The key the export and import paths are relative to: the settings root or the class hive.
KeyId SettingsBase(Hive hive, bool create);

// The text form of keyPath and everything below it. Nothing when the key does not exist.
std::optional<std::string> ExportSettings(Hive hive, std::string_view keyPath);
// Merges a text form into the store: keys created, values written, nothing removed. All or
// nothing: a malformed line raises error 5000 naming the line, and nothing is written.
void ImportSettings(Hive hive, std::string_view text);

std::string EscapeSettingsName(std::string_view name);
std::string EscapeSettingsData(std::string_view data);

}  // namespace zephra::common
