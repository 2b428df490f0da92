#pragma once
// The editor and the monitor carry the same document classes; they differ only in the message
// numbers they fetch (each program has its own catalogue range). A profile names one program's
// numbers, so the classes have a single code path.

#include <cstdint>

#include "common/program.h"

namespace zephra::document {

struct MessageProfile {
  int32_t blockSyntax;      // tokeniser syntax error (line)
  int32_t blockMismatch;    // wrong block type ("BLOCK", line, expected, found)
  int32_t slideSource;      // source and title of slide errors and prompts
  int32_t binaryStructure;  // binary count that the file cannot hold (offset, count, kind)
  int32_t pastEnd;          // binary input past end of file (bytes wanted, offset, size)
  int32_t showSource;       // source and title of slide-show errors and prompts
  int32_t badStart;         // the file does not start with a block (line)
  int32_t trailingText;     // text after the show's END (line)
  int32_t unknownKey;       // unknown key (block word, key)
  int32_t valueSource;      // source and title of value errors and prompts
  int32_t badValue;         // a key's value does not convert (line, key, reason)
  int32_t iconSource;       // source and title of icon errors and prompts
  int32_t newSlideName;     // name of a slide made by Add or Insert

  static const MessageProfile& Editor();
  static const MessageProfile& Monitor();
  // The editor's numbers for the editor, the monitor's for every other program (the shell and
  // the tool read shows the way the monitor does).
  static const MessageProfile& For(common::ProgramKind kind);
  static const MessageProfile& Current() { return For(common::CurrentProgram()); }
};

inline constexpr MessageProfile kEditorMessages{
    .blockSyntax = 31045,
    .blockMismatch = 31081,
    .slideSource = 31082,
    .binaryStructure = 31083,
    .pastEnd = 31084,
    .showSource = 31085,
    .badStart = 31086,
    .trailingText = 31087,
    .unknownKey = 31088,
    .valueSource = 31089,
    .badValue = 31090,
    .iconSource = 31127,
    .newSlideName = 31217,
};

inline constexpr MessageProfile kMonitorMessages{
    .blockSyntax = 30045,
    .blockMismatch = 30081,
    .slideSource = 30082,
    .binaryStructure = 30083,
    .pastEnd = 30084,
    .showSource = 30085,
    .badStart = 30086,
    .trailingText = 30087,
    .unknownKey = 30088,
    .valueSource = 30089,
    .badValue = 30090,
    .iconSource = 30080,
    .newSlideName = 30127,
};

// Structure errors of slide-show files.
inline constexpr int32_t kStructureError = 1001;

}  // namespace zephra::document
