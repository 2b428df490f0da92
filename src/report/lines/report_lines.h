#pragma once
// The lines of the text report of a run: three heading lines, then for every dimension a blank
// line, "DIM <id>" and a column header once per group or single dimension, one result line per
// axis, and the lines of report comments. The report window shows these lines and prints them;
// the headless run prints them too.

#include <memory>
#include <string>
#include <vector>

#include "common/dispatch.h"

namespace zephra::report {

inline constexpr int32_t kMsgHeaderPart = 33062;
inline constexpr int32_t kMsgHeaderRevision = 33063;
inline constexpr int32_t kMsgHeaderSerial = 33064;

// Column widths in characters.
inline constexpr int kAxisWidth = 4;
inline constexpr int kNumberWidth = 12;

class ReportLines {
 public:
  // What an executed command did to the report.
  enum class Outcome { Nothing, Dimension, NewReport, Comment };

  // Clears the report and writes the heading lines from the part program (members 1, 3, 4).
  void NewReport(common::Dispatch& partProgram);
  // Adds the lines of one dimension command.
  void UpdateReport(common::Dispatch& dimension);
  // Adds the lines of a comment of kind 1.
  void UpdateComment(common::Dispatch& comment);
  // What the report does with an executed command: a reported dimension is added; an
  // assignment to ZEP_SLIDESHOW starts the report anew; a report comment is added. Errors of
  // the host reach the caller.
  Outcome OnObjectExecuted(common::Dispatch& command, common::Dispatch& partProgram);

  const std::vector<std::string>& Lines() const { return lines_; }
  void Clear() { lines_.clear(); }

  // The pieces, for the window and for tests.
  static std::string ColumnHeader();
  static std::string ResultLine(common::Dispatch& dimension);
  // A number with four decimals, right-aligned in 12 characters; 12 asterisks when it does not fit.
  static std::string NumberColumn(double value);
  // A text centred in a column of the width, halves of the spare room to the even side.
  static std::string Centre(const std::string& text, int width);

 private:
  std::vector<std::string> lines_;
};

}  // namespace zephra::report
