#include "document_io.h"

#include "common/automation_error.h"
#include "common/number_text.h"
#include "common/prompts.h"
#include "common/string_res.h"

namespace zephra::document {

using common::AutomationError;
using common::Variant;

int32_t FoldTolerance(int32_t state) {
  switch (state) {
    case tolerance::WarningPlus:
    case tolerance::WarningMinus: return tolerance::Warning;
    case tolerance::ErrorPlus:
    case tolerance::ErrorMinus: return tolerance::Error;
    default: return state;
  }
}

bool IsOutOfToleranceState(int32_t state) { return state >= tolerance::Warning && state <= tolerance::ErrorMinus; }

namespace {

void Indent(std::string& out, int depth) { out.append(static_cast<size_t>(depth), '\t'); }

template <class Fn>
auto Convert(const BlockParser& parser, const MessageProfile& profile, int32_t sourceMessage, Fn fn)
    -> decltype(fn(Variant())) {
  try {
    return fn(Variant(parser.Value()));
  } catch (const AutomationError& e) {
    RaiseBadValue(e, parser, profile, sourceMessage);
  }
}

}  // namespace

void RaiseBadValue(const AutomationError& e, const BlockParser& parser, const MessageProfile& profile,
                   int32_t sourceMessage) {
  throw AutomationError(e.Number(), common::GetMessage(sourceMessage),
                        common::FormatMessage(profile.badValue, {Variant(std::to_string(parser.CurrentLine())),
                                                                 Variant(parser.Key()), Variant(e.Description())}));
}

void WriteKeyLine(std::string& out, int depth, std::string_view key, std::string_view value) {
  Indent(out, depth);
  out.append(key);
  out.push_back('=');
  for (char c : value) out.push_back(c == '\r' || c == '\n' ? ' ' : c);
  out.append("\r\n");
}

void WriteKeyLine(std::string& out, int depth, std::string_view key, int32_t value) {
  WriteKeyLine(out, depth, key, std::to_string(value));
}

void WriteKeyLine(std::string& out, int depth, std::string_view key, bool value) {
  WriteKeyLine(out, depth, key, std::string_view(value ? "True" : "False"));
}

void WriteKeyDouble(std::string& out, int depth, std::string_view key, double value) {
  WriteKeyLine(out, depth, key, common::FormatDouble(value));
}

void WritePlainLine(std::string& out, int depth, std::string_view text) {
  Indent(out, depth);
  out.append(text);
  out.append("\r\n");
}

int16_t KeyInt(const BlockParser& parser, const MessageProfile& profile, int32_t sourceMessage) {
  return Convert(parser, profile, sourceMessage, [](const Variant& v) { return v.ToInt(); });
}

int32_t KeyLong(const BlockParser& parser, const MessageProfile& profile, int32_t sourceMessage) {
  return Convert(parser, profile, sourceMessage, [](const Variant& v) { return v.ToLong(); });
}

double KeyDouble(const BlockParser& parser, const MessageProfile& profile, int32_t sourceMessage) {
  return Convert(parser, profile, sourceMessage, [](const Variant& v) { return v.ToDouble(); });
}

bool KeyBool(const BlockParser& parser, const MessageProfile& profile, int32_t sourceMessage) {
  return Convert(parser, profile, sourceMessage, [](const Variant& v) { return v.ToBool(); });
}

void ReportUnknownKey(const MessageProfile& profile, std::string_view blockWord, const std::string& key,
                      int32_t titleMessage) {
  common::CurrentPrompts().ShowMessage(
      common::FormatMessage(profile.unknownKey, {Variant(std::string(blockWord)), Variant(key)}), common::mb::OK,
      common::GetMessage(titleMessage));
}

void RaiseStructureError(int32_t sourceMessage, int32_t descriptionMessage, std::initializer_list<Variant> args) {
  throw AutomationError(kStructureError, common::GetMessage(sourceMessage),
                        common::FormatMessage(descriptionMessage, args));
}

void RaiseBlockMismatch(const BlockParser& parser, const MessageProfile& profile, int32_t sourceMessage,
                        std::string_view expected) {
  RaiseStructureError(sourceMessage, profile.blockMismatch,
                      {Variant("BLOCK"), Variant(std::to_string(parser.CurrentLine())),
                       Variant(std::string(expected)), Variant(parser.BlockType())});
}

}  // namespace zephra::document
