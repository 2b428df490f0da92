#pragma once
// Text helpers shared by every reader and writer of the suite: encoding of stored bytes,
// letter case without regard to locale, trimming and splitting.

#include <string>
#include <string_view>
#include <vector>

namespace zephra::common {

bool IsValidUtf8(std::string_view bytes);

// Windows-1252 bytes to UTF-8. Undefined code points map to U+FFFD.
std::string Cp1252ToUtf8(std::string_view bytes);

// Stored text as the suite reads it: valid UTF-8 stays, anything else is taken as Windows-1252.
std::string DecodeText(std::string_view bytes);

std::string ToUpperAscii(std::string_view text);
std::string ToLowerAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);

// Blanks are spaces only; TrimWhite also strips tabs, CR and LF.
std::string_view TrimSpaces(std::string_view text);
std::string_view TrimLeftSpaces(std::string_view text);
std::string_view TrimRightSpaces(std::string_view text);
std::string_view TrimWhite(std::string_view text);

std::vector<std::string> Split(std::string_view text, char separator);
std::string Join(const std::vector<std::string>& parts, std::string_view separator);

}  // namespace zephra::common
