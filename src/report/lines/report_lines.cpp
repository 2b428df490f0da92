#include "report_lines.h"

#include "common/host_interface.h"
#include "common/number_text.h"
#include "common/string_res.h"
#include "common/text.h"

namespace zephra::report {

namespace host = common::host;
using common::Variant;

std::string ReportLines::Centre(const std::string& text, int width) {
  const int n = static_cast<int>(text.size());
  if (n > width) return std::string(static_cast<size_t>(width), '*');
  const int spare = width - n;
  // g = spare / 2 rounded half to even; the text is preceded by spare - g blanks.
  const int g = static_cast<int>(common::RoundHalfEven(spare / 2.0));
  return std::string(static_cast<size_t>(spare - g), ' ') + text + std::string(static_cast<size_t>(g), ' ');
}

std::string ReportLines::NumberColumn(double value) {
  const std::string text = common::FormatFixed(value, 4);
  if (text.size() > static_cast<size_t>(kNumberWidth)) return std::string(kNumberWidth, '*');
  return std::string(kNumberWidth - text.size(), ' ') + text;
}

std::string ReportLines::ColumnHeader() {
  return Centre("AX", kAxisWidth) + Centre("NOMINAL", kNumberWidth) + Centre("+TOL", kNumberWidth) +
         Centre("-TOL", kNumberWidth) + Centre("MEAS", kNumberWidth) + Centre("DEV", kNumberWidth) +
         Centre("OUTTOL", kNumberWidth);
}

std::string ReportLines::ResultLine(common::Dispatch& dimension) {
  std::string axis = dimension.Get(host::dimension::AxisLetter).ToString();
  if (axis.size() > static_cast<size_t>(kAxisWidth)) {
    axis = std::string(kAxisWidth, '*');
  } else {
    axis += std::string(kAxisWidth - axis.size(), ' ');
  }
  std::string line = axis;
  line += NumberColumn(dimension.Get(host::dimension::Nominal).ToDouble());
  line += NumberColumn(dimension.Get(host::dimension::PlusTol).ToDouble());
  line += NumberColumn(dimension.Get(host::dimension::MinusTol).ToDouble());
  line += NumberColumn(dimension.Get(host::dimension::Measured).ToDouble());
  line += NumberColumn(dimension.Get(host::dimension::Deviation).ToDouble());
  const double outTol = dimension.Get(host::dimension::OutTol).ToDouble();
  if (outTol != 0.0) line += NumberColumn(outTol);
  return line;
}

void ReportLines::NewReport(common::Dispatch& partProgram) {
  lines_.clear();
  lines_.push_back(common::FormatMessage(kMsgHeaderPart, {Variant(partProgram.Get(host::part::PartName).ToString())}));
  lines_.push_back(common::FormatMessage(kMsgHeaderRevision, {Variant(partProgram.Get(host::part::Revision).ToString())}));
  lines_.push_back(common::FormatMessage(kMsgHeaderSerial, {Variant(partProgram.Get(host::part::SerialNumber).ToString())}));
}

void ReportLines::UpdateReport(common::Dispatch& dimension) {
  auto command = dimension.Get(host::dimension::Command).ToObject();
  const int32_t type = command ? command->Get(host::command::Type).ToLong() : 0;
  auto header = [&] {
    lines_.emplace_back();
    lines_.push_back("DIM " + dimension.Get(host::dimension::Id).ToString());
    lines_.push_back(ColumnHeader());
  };
  if (type == host::type::LocationStart || type == host::type::TruePositionStart) {
    header();
    return;
  }
  if (type == host::type::LocationEnd || type == host::type::TruePositionEnd) return;
  const bool inGroup = dimension.Get(host::dimension::InLocationGroup).ToBool() ||
                       dimension.Get(host::dimension::InTruePositionGroup).ToBool();
  if (!inGroup) header();
  lines_.push_back(ResultLine(dimension));
}

void ReportLines::UpdateComment(common::Dispatch& comment) {
  if (comment.Get(host::comment::Kind).ToLong() != 1) return;
  lines_.emplace_back();
  const std::string text = comment.Get(host::comment::Text).ToString();
  std::string line;
  for (char c : text) {
    if (c == '\r') {
      lines_.push_back(line);
      line.clear();
    } else if (c == '\n') {
      line.clear();
    } else {
      line.push_back(c);
    }
  }
  // Text after the last carriage return is a line too; dropping it would lose the comment's
  // last line whenever the host does not end it with a line break.
  if (!line.empty()) lines_.push_back(line);
}

ReportLines::Outcome ReportLines::OnObjectExecuted(common::Dispatch& command, common::Dispatch& partProgram) {
  if (command.Get(host::command::Reported).ToBool() && command.Get(host::command::IsDimension).ToBool()) {
    auto dimension = command.Get(host::command::DimensionCommand).ToObject();
    if (dimension) UpdateReport(*dimension);
    return Outcome::Dimension;
  }
  if (command.Get(host::command::Hidden).ToBool()) return Outcome::Nothing;
  if (command.Get(host::command::IsAssignment).ToBool()) {
    auto assignment = command.Get(host::command::AssignmentCommand).ToObject();
    if (assignment && common::ToUpperAscii(assignment->Get(host::assignment::Name).ToString()) == "ZEP_SLIDESHOW") {
      NewReport(partProgram);
      return Outcome::NewReport;
    }
    return Outcome::Nothing;
  }
  if (command.Get(host::command::IsComment).ToBool()) {
    auto comment = command.Get(host::command::CommentCommand).ToObject();
    if (comment) UpdateComment(*comment);
    return Outcome::Comment;
  }
  return Outcome::Nothing;
}

}  // namespace zephra::report
