#include <gtest/gtest.h>

#include "common/host_interface.h"
#include "common/string_res.h"
#include "report/lines/report_lines.h"
#include "support/fake_dispatch.h"

using namespace zephra;
using common::Variant;
using report::ReportLines;
using zephra::testing::FakeObject;
namespace host = common::host;

namespace {

std::shared_ptr<FakeObject> Command(int32_t type, const std::string& id) {
  auto c = std::make_shared<FakeObject>("Command");
  c->Set(host::command::Type, Variant(type)).Set(host::command::Id, Variant(id));
  return c;
}

std::shared_ptr<FakeObject> Dimension(std::shared_ptr<FakeObject> command, const std::string& id,
                                      const std::string& axis, double nominal, double plus, double minus,
                                      double measured, double outTol, bool inGroup) {
  auto d = std::make_shared<FakeObject>("Dimension");
  d->Set(host::dimension::Command, Variant(std::static_pointer_cast<common::Dispatch>(command)))
      .Set(host::dimension::Id, Variant(id))
      .Set(host::dimension::AxisLetter, Variant(axis))
      .Set(host::dimension::Nominal, Variant(nominal))
      .Set(host::dimension::PlusTol, Variant(plus))
      .Set(host::dimension::MinusTol, Variant(minus))
      .Set(host::dimension::Measured, Variant(measured))
      .Set(host::dimension::Deviation, Variant(measured - nominal))
      .Set(host::dimension::OutTol, Variant(outTol))
      .Set(host::dimension::InLocationGroup, Variant(inGroup))
      .Set(host::dimension::InTruePositionGroup, Variant(false));
  return d;
}

// Blanks counted column by column: 1 AX 1, 3 NOMINAL 2, 4 +TOL 4, 4 -TOL 4, 4 MEAS 4, 5 DEV 4,
// 3 OUTTOL 3.
const std::string kHeader = std::string(" AX ") + "   NOMINAL  " + "    +TOL    " + "    -TOL    " +
                            "    MEAS    " + "     DEV    " + "   OUTTOL   ";

}  // namespace

class ReportLinesTest : public ::testing::Test {
 protected:
  void SetUp() override { common::SetLanguage(common::kLanguageEnglish); }
};

TEST_F(ReportLinesTest, ColumnsAreCentredAndNumbersRightAligned) {
  EXPECT_EQ(ReportLines::ColumnHeader(), kHeader);
  EXPECT_EQ(ReportLines::ColumnHeader().size(), 76u);
  const std::pair<double, const char*> numbers[] = {
      {0.5, "      0.5000"}, {-0.25, "     -0.2500"}, {123456789.0, "************"},
      {12345678.0, "12345678.0000"}, {25.00005, "     25.0001"}, {-0.00004, "      0.0000"}};
  for (const auto& [value, text] : numbers) {
    const std::string expected = std::string(text).size() > 12 ? std::string(12, '*') : text;
    EXPECT_EQ(ReportLines::NumberColumn(value), expected) << value;
  }
}

TEST_F(ReportLinesTest, ALocationGroupHasOneHeaderAndAResultPerAxis) {
  ReportLines report;
  auto group = Command(host::type::LocationStart, "LOC1");
  auto axisCommand = Command(1002, "");
  report.UpdateReport(*Dimension(group, "LOC1", "", 0, 0, 0, 0, 0, false));
  report.UpdateReport(*Dimension(axisCommand, "", "X", 25, 0.05, 0.05, 25.012, 0, true));
  report.UpdateReport(*Dimension(axisCommand, "", "Y", 40, 0.05, 0.05, 40.07, 0.02, true));
  report.UpdateReport(*Dimension(axisCommand, "", "LONGAXIS", 12, 0.02, 0.02, 12, 0, true));
  report.UpdateReport(*Dimension(Command(host::type::LocationEnd, ""), "", "", 0, 0, 0, 0, 0, false));
  const std::vector<std::string> expected = {
      "", "DIM LOC1", kHeader,
      "X        25.0000      0.0500      0.0500     25.0120      0.0120",
      "Y        40.0000      0.0500      0.0500     40.0700      0.0700      0.0200",
      "****     12.0000      0.0200      0.0200     12.0000      0.0000"};
  EXPECT_EQ(report.Lines(), expected);
  EXPECT_EQ(report.Lines()[3].size(), 64u);
}

TEST_F(ReportLinesTest, SingleDimensionsEachGetTheirOwnHeader) {
  ReportLines report;
  report.UpdateReport(*Dimension(Command(1101, "DIA1"), "DIA1", "D", 8, 0.01, 0.01, 8.001, 0, false));
  report.UpdateReport(*Dimension(Command(1101, "DIA2"), "DIA2", "D", 6, 0.01, 0.01, 6.02, 0.01, false));
  ASSERT_EQ(report.Lines().size(), 8u);
  EXPECT_EQ(report.Lines()[1], "DIM DIA1");
  EXPECT_EQ(report.Lines()[4], "");
  EXPECT_EQ(report.Lines()[5], "DIM DIA2");
}

TEST_F(ReportLinesTest, CommentsShowEveryLineOfKindOne) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"Turn the part over.\r\nThen press Continue.", {"", "Turn the part over.", "Then press Continue."}},
      {"Turn the part over.\r\nThen press Continue.\r\n", {"", "Turn the part over.", "Then press Continue."}},
      {"", {""}},
  };
  for (const auto& [text, expected] : cases) {
    ReportLines report;
    FakeObject comment("Comment");
    comment.Set(host::comment::Kind, Variant(1)).Set(host::comment::Text, Variant(text));
    report.UpdateComment(comment);
    EXPECT_EQ(report.Lines(), expected) << text;
  }
  ReportLines report;
  FakeObject other("Comment");
  other.Set(host::comment::Kind, Variant(2)).Set(host::comment::Text, Variant("x\r\n"));
  report.UpdateComment(other);
  EXPECT_TRUE(report.Lines().empty());
}

TEST_F(ReportLinesTest, ExecutedCommandsFeedTheReportAndASlideShowSwitchRestartsIt) {
  FakeObject part("PartProgram");
  part.Set(host::part::PartName, Variant("BRACKET-7"))
      .Set(host::part::Revision, Variant("B"))
      .Set(host::part::SerialNumber, Variant("0001"));
  ReportLines report;
  report.NewReport(part);
  EXPECT_EQ(report.Lines(), (std::vector<std::string>{"Part: BRACKET-7", "Revision: B", "Serial number: 0001"}));

  auto dimCommand = Command(1101, "DIA1");
  dimCommand->Set(host::command::Reported, Variant(true))
      .Set(host::command::IsDimension, Variant(true))
      .Set(host::command::DimensionCommand,
           Variant(std::static_pointer_cast<common::Dispatch>(
               Dimension(Command(1101, "DIA1"), "DIA1", "D", 8, 0.01, 0.01, 8, 0, false))));
  EXPECT_EQ(report.OnObjectExecuted(*dimCommand, part), ReportLines::Outcome::Dimension);
  EXPECT_EQ(report.Lines().size(), 7u);

  auto assignment = std::make_shared<FakeObject>("Assignment");
  assignment->Set(host::assignment::Name, Variant("zep_SlideShow")).Set(host::assignment::Value, Variant("RESET"));
  auto assign = Command(host::type::Assignment, "");
  assign->Set(host::command::Reported, Variant(false))
      .Set(host::command::IsDimension, Variant(false))
      .Set(host::command::Hidden, Variant(false))
      .Set(host::command::IsAssignment, Variant(true))
      .Set(host::command::AssignmentCommand, Variant(std::static_pointer_cast<common::Dispatch>(assignment)));
  EXPECT_EQ(report.OnObjectExecuted(*assign, part), ReportLines::Outcome::NewReport);
  EXPECT_EQ(report.Lines().size(), 3u);

  assignment->Set(host::assignment::Name, Variant("OTHER"));
  EXPECT_EQ(report.OnObjectExecuted(*assign, part), ReportLines::Outcome::Nothing);
  assign->Set(host::command::Hidden, Variant(true));
  assignment->Set(host::assignment::Name, Variant("ZEP_SLIDESHOW"));
  EXPECT_EQ(report.OnObjectExecuted(*assign, part), ReportLines::Outcome::Nothing);
  // The command and its dimension hold each other; let go so neither outlives the test.
  dimCommand->Set(host::command::DimensionCommand, Variant());
}
