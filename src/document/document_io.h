#pragma once
// Helpers shared by the readers and writers of the slide-show tree: text lines, key
// conversions that name the line that is wrong, prompts for unknown keys, structure errors.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "block_parser.h"
#include "common/automation_error.h"
#include "common/variant.h"
#include "message_profile.h"

namespace zephra::document {

// Tolerance states of a value.
namespace tolerance {
inline constexpr int32_t NotEvaluated = -1;
inline constexpr int32_t Empty = 0;
inline constexpr int32_t OK = 1;
inline constexpr int32_t Warning = 2;
inline constexpr int32_t WarningPlus = 3;
inline constexpr int32_t WarningMinus = 4;
inline constexpr int32_t Error = 5;
inline constexpr int32_t ErrorPlus = 6;
inline constexpr int32_t ErrorMinus = 7;
}  // namespace tolerance

// Aggregates show the plain state: 3 and 4 become 2, 6 and 7 become 5.
int32_t FoldTolerance(int32_t state);
// States 2 to 7, warnings included, count as out of tolerance.
bool IsOutOfToleranceState(int32_t state);

// The system colour "button face" (top bit set, index 15).
inline constexpr int32_t kButtonFaceColor = static_cast<int32_t>(0x8000000Fu);

// Appends "<tabs>KEY=VALUE\r\n". A line break inside the value would split the line and could
// make the file unreadable, so it is written as a space.
void WriteKeyLine(std::string& out, int depth, std::string_view key, std::string_view value);
void WriteKeyLine(std::string& out, int depth, std::string_view key, int32_t value);
void WriteKeyLine(std::string& out, int depth, std::string_view key, bool value);
void WriteKeyDouble(std::string& out, int depth, std::string_view key, double value);
// Appends "<tabs>TEXT\r\n" (BLOCK and END lines).
void WritePlainLine(std::string& out, int depth, std::string_view text);

// The current key's value converted the platform's way. A value that does not convert fails
// with the platform's number (13, 6, ...), the block's source and the line and key in the
// description.
int16_t KeyInt(const BlockParser& parser, const MessageProfile& profile, int32_t sourceMessage);
int32_t KeyLong(const BlockParser& parser, const MessageProfile& profile, int32_t sourceMessage);
double KeyDouble(const BlockParser& parser, const MessageProfile& profile, int32_t sourceMessage);
bool KeyBool(const BlockParser& parser, const MessageProfile& profile, int32_t sourceMessage);

// Rethrows a conversion failure of the current key with the line and key named.
[[noreturn]] void RaiseBadValue(const common::AutomationError& e, const BlockParser& parser,
                                const MessageProfile& profile, int32_t sourceMessage);

// The message box for a key no block knows: "Unknown key in WORD: KEY", titled by the block's
// source message, OK only. Reading goes on afterwards.
void ReportUnknownKey(const MessageProfile& profile, std::string_view blockWord, const std::string& key,
                      int32_t titleMessage);

// Error 1001 with a localized source and description.
[[noreturn]] void RaiseStructureError(int32_t sourceMessage, int32_t descriptionMessage,
                                      std::initializer_list<common::Variant> args);
// Error 1001 for a block of the wrong type where expected was wanted.
[[noreturn]] void RaiseBlockMismatch(const BlockParser& parser, const MessageProfile& profile,
                                     int32_t sourceMessage, std::string_view expected);

}  // namespace zephra::document
