// The host's automation contract: every member the suite calls answers with the type the
// callers expect, and the sample program reads back as the slide shows bind to it.

#include "common/reg_entry.h"
#include "host_fixture.h"

namespace zephra::testing {
namespace {

using common::VarType;

enum class How { Get, Call };

struct Member {
  const char* object;
  DispId id;
  How how;
  VarType type;
};

class ContractTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    program = Open(SamplePath());
    auto commands = program->Get(h::part::Commands).ToObject();
    objects["app"] = host;
    objects["programs"] = programs;
    objects["program"] = program;
    objects["commands"] = commands;
    objects["header"] = Command(program, 1);
    objects["axis"] = Command(program, 2);
    objects["single"] = Command(program, 16);
    objects["comment"] = Command(program, 18);
    objects["assignment"] = Command(program, 20);
    objects["axisDim"] = objects["axis"]->Get(h::command::DimensionCommand).ToObject();
    objects["headerDim"] = objects["header"]->Get(h::command::DimensionCommand).ToObject();
    objects["assignmentObj"] = objects["assignment"]->Get(h::command::AssignmentCommand).ToObject();
    objects["commentObj"] = objects["comment"]->Get(h::command::CommentCommand).ToObject();
    objects["readout"] = program->Get(h::part::ReadoutWindow).ToObject();
  }
  std::shared_ptr<Dispatch> program;
  std::map<std::string, std::shared_ptr<Dispatch>> objects;
};

TEST_F(ContractTest, EveryMemberTheSuiteReadsAnswersWithTheExpectedType) {
  namespace c = h::command;
  namespace d = h::dimension;
  const Member members[] = {
      {"app", h::app::PartPrograms, How::Get, VarType::Object},
      {"app", h::app::ActivePartProgram, How::Get, VarType::Object},
      {"app", h::app::Path, How::Get, VarType::String},
      {"app", h::app::PartProgramFolder, How::Get, VarType::String},
      {"app", h::app::Alive, How::Get, VarType::Boolean},
      {"app", h::app::BringToFront, How::Call, VarType::Boolean},
      {"app", h::app::EventSource, How::Get, VarType::Object},
      {"app", h::app::LanguageId, How::Get, VarType::Long},
      {"programs", h::programs::Count, How::Get, VarType::Long},
      {"program", h::part::PartName, How::Get, VarType::String},
      {"program", h::part::Directory, How::Get, VarType::String},
      {"program", h::part::Revision, How::Get, VarType::String},
      {"program", h::part::SerialNumber, How::Get, VarType::String},
      {"program", h::part::FullName, How::Get, VarType::String},
      {"program", h::part::Name, How::Get, VarType::String},
      {"program", h::part::Application, How::Get, VarType::Object},
      {"program", h::part::Commands, How::Get, VarType::Object},
      {"program", h::part::ReadoutWindow, How::Get, VarType::Object},
      {"commands", h::commands::Count, How::Get, VarType::Long},
      {"axis", c::Id, How::Get, VarType::String},
      {"axis", c::Type, How::Get, VarType::Long},
      {"axis", c::DimensionCommand, How::Get, VarType::Object},
      {"axis", c::IsDimension, How::Get, VarType::Boolean},
      {"axis", c::IsDimensionLine, How::Get, VarType::Boolean},
      {"axis", c::Reported, How::Get, VarType::Boolean},
      {"axis", c::IsComment, How::Get, VarType::Boolean},
      {"axis", c::IsAssignment, How::Get, VarType::Boolean},
      {"axis", c::DisplayText, How::Get, VarType::String},
      {"assignment", c::AssignmentCommand, How::Get, VarType::Object},
      {"comment", c::CommentCommand, How::Get, VarType::Object},
      {"assignmentObj", h::assignment::Name, How::Get, VarType::String},
      {"assignmentObj", h::assignment::Value, How::Get, VarType::String},
      {"commentObj", h::comment::Kind, How::Get, VarType::Long},
      {"commentObj", h::comment::Text, How::Get, VarType::String},
      {"axisDim", d::AxisLetter, How::Get, VarType::String},
      {"axisDim", d::Measured, How::Get, VarType::Double},
      {"axisDim", d::Nominal, How::Get, VarType::Double},
      {"axisDim", d::PlusTol, How::Get, VarType::Double},
      {"axisDim", d::MinusTol, How::Get, VarType::Double},
      {"axisDim", d::Deviation, How::Get, VarType::Double},
      {"axisDim", d::OutTol, How::Get, VarType::Double},
      {"axisDim", d::Angle, How::Get, VarType::Double},
      {"axisDim", d::Bonus, How::Get, VarType::Double},
      {"axisDim", d::DevAngle, How::Get, VarType::Double},
      {"axisDim", d::Length, How::Get, VarType::Double},
      {"axisDim", d::Max, How::Get, VarType::Double},
      {"axisDim", d::Min, How::Get, VarType::Double},
      {"axisDim", d::Feat1, How::Get, VarType::String},
      {"axisDim", d::Command, How::Get, VarType::Object},
      {"axisDim", d::M26, How::Get, VarType::Long},
      {"axisDim", d::InLocationGroup, How::Get, VarType::Boolean},
      {"axisDim", d::InTruePositionGroup, How::Get, VarType::Boolean},
      {"axisDim", d::Id, How::Get, VarType::String},
      {"headerDim", d::Measured, How::Get, VarType::Double},
      {"headerDim", d::AxisLetter, How::Get, VarType::String},
  };
  for (const Member& m : members) {
    SCOPED_TRACE(std::string(m.object) + " member " + std::to_string(m.id));
    auto& object = objects.at(m.object);
    const Variant v = m.how == How::Get ? object->Get(m.id) : object->Call(m.id);
    EXPECT_EQ(v.Type(), m.type);
  }
  // Objects that are there, and Nothing where a command has no such part.
  EXPECT_EQ(host->Get(h::app::ActivePartProgram).ToObject(), program);
  EXPECT_EQ(program->Get(h::part::Application).ToObject(), host);
  EXPECT_EQ(objects["comment"]->Get(h::command::DimensionCommand).ToObject(), nullptr);
  EXPECT_EQ(objects["axis"]->Get(h::command::AssignmentCommand).ToObject(), nullptr);
  EXPECT_EQ(objects["axis"]->Get(h::command::CommentCommand).ToObject(), nullptr);
  EXPECT_EQ(objects["commands"]->Call(h::commands::Item, {Variant(int16_t{2})}).Type(), VarType::Object);
  EXPECT_EQ(objects["commands"]->Get(h::commands::Count).ToLong(), 23);
}

TEST_F(ContractTest, IdentityQueryWritesTwoLongsThroughItsArguments) {
  Args pair{Variant(), Variant()};
  objects["axis"]->Call(h::command::Identity, pair);
  EXPECT_EQ(pair[0].Type(), VarType::Long);
  EXPECT_EQ(pair[1].Type(), VarType::Long);
  EXPECT_EQ(pair[0].ToLong(), 1002);
  EXPECT_EQ(pair[1].ToLong(), 1);
  Args one{Variant()};
  EXPECT_THROW(objects["axis"]->Call(h::command::Identity, one), common::AutomationError);
}

TEST_F(ContractTest, PutMembersAreStoredAndReadBack) {
  host->Put(h::app::Interactive, Variant(false));
  host->Put(h::app::AutomationMode, Variant(true));
  host->Put(h::app::QuitPending, Variant(true));
  EXPECT_FALSE(host->Get(h::app::Interactive).ToBool());
  EXPECT_TRUE(host->Get(h::app::AutomationMode).ToBool());
  EXPECT_TRUE(host->Get(h::app::QuitPending).ToBool());
  program->Put(h::part::RunStarted, Variant(true));
  EXPECT_TRUE(program->Get(h::part::RunStarted).ToBool());
  for (const char* name : {h::part::ExecOptContinueButtonVisible, h::part::ExecOptJumpButtonVisible,
                           h::part::ExecOptSkipButtonVisible}) {
    EXPECT_TRUE(program->GetByName(name).ToBool()) << name;
    program->PutByName(name, Variant(false));
    EXPECT_FALSE(program->GetByName(name).ToBool()) << name;
  }
  auto readout = objects["readout"];
  readout->Call(h::readout::ShowReadout, {Variant(h::readout::Show)});
  EXPECT_TRUE(readout->GetByName("Shown").ToBool());
  readout->Call(h::readout::ShowReadout, {Variant(h::readout::Hide)});
  EXPECT_FALSE(readout->GetByName("Shown").ToBool());
}

TEST_F(ContractTest, ProgramHeadingsPathsAndFolders) {
  EXPECT_EQ(program->Get(h::part::PartName).ToString(), "BRACKET-7");
  EXPECT_EQ(program->Get(h::part::Revision).ToString(), "B");
  EXPECT_EQ(program->Get(h::part::SerialNumber).ToString(), "0001");
  EXPECT_EQ(program->Get(h::part::Name).ToString(), "bracket.prg");
  const std::string full = program->Get(h::part::FullName).ToString();
  EXPECT_EQ(full, program->Get(h::part::Directory).ToString() + "bracket.prg");
  EXPECT_EQ(host->Get(h::app::PartProgramFolder).ToString(), program->Get(h::part::Directory).ToString());
  // The host's folder is the one the class registration points at.
  const std::string folder = host->Get(h::app::Path).ToString();
  EXPECT_EQ(folder, home.Path() + "/host/");
  EXPECT_TRUE(common::DirectoryExists(folder));
  EXPECT_EQ(common::RegEntry().LocateQVXAppPath(), folder);
}

// How a slide-show value finds its feature name: the command's ID, or for an axis of a group
// the ID of the group header reached by stepping the cursor back.
std::string FeatureName(Dispatch& dimension) {
  auto cursor = dimension.Get(h::dimension::Command).ToObject();
  std::string name = cursor->Get(h::command::Id).ToString();
  if (dimension.Get(h::dimension::InLocationGroup).ToBool() || dimension.Get(h::dimension::InTruePositionGroup).ToBool()) {
    int steps = 0;
    while (true) {
      ++steps;
      if (!cursor->Call(h::command::Previous).ToBool()) break;
      const int32_t type = cursor->Get(h::command::Type).ToLong();
      if (type == h::type::LocationStart || type == h::type::TruePositionStart) {
        name = cursor->Get(h::command::Id).ToString();
        break;
      }
    }
    for (int i = 0; i < steps; ++i) cursor->Call(h::command::Next);
  }
  return name;
}

TEST_F(ContractTest, SampleDimensionsReadBackAsSlideShowsBindToThem) {
  struct Row {
    int32_t index;
    int32_t type;
    const char* feature;  // by the binding rule
    const char* axis;
    const char* identifier;  // member 5
    const char* text;        // member 78
    bool inLocation, inTruePosition;
  };
  const Row rows[] = {
      {1, 1000, "LOC1", "", "LOC1", "LOC1", false, false},
      {2, 1002, "LOC1", "X", "LOC1", "X", true, false},
      {3, 1003, "LOC1", "Y", "LOC1", "Y", true, false},
      {4, 1005, "LOC1", "D", "LOC1", "D", true, false},
      {5, 1001, "", "", "LOC1", "", false, false},
      {7, 1002, "LOC2", "X", "LOC2", "X", true, false},
      {9, 1005, "LOC2", "D", "LOC2", "D", true, false},
      {11, 1200, "TP1", "", "TP1", "TP1", false, false},
      {12, 1202, "TP1", "X", "TP1", "X", false, true},
      {13, 1203, "TP1", "Y", "TP1", "Y", false, true},
      {14, 1209, "TP1", "TP", "TP1", "TP", false, true},
      {15, 1201, "", "", "TP1", "", false, false},
      {16, 1111, "DIA1", "D", "DIA1", "DIA1", false, false},
      {21, 1111, "DIA2", "D", "DIA2", "DIA2", false, false},
      {22, 1108, "ANG1", "A", "ANG1", "ANG1", false, false},
      {23, 1102, "FLAT1", "M", "FLAT1", "FLAT1", false, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE("command " + std::to_string(r.index));
    auto command = Command(program, r.index);
    EXPECT_EQ(command->Get(h::command::Type).ToLong(), r.type);
    EXPECT_TRUE(command->Get(h::command::IsDimension).ToBool());
    EXPECT_TRUE(command->Get(h::command::Reported).ToBool());
    EXPECT_EQ(command->Get(h::command::DisplayText).ToString(), r.text);
    auto dim = command->Get(h::command::DimensionCommand).ToObject();
    EXPECT_EQ(FeatureName(*dim), r.feature);
    EXPECT_EQ(dim->Get(h::dimension::AxisLetter).ToString(), r.axis);
    EXPECT_EQ(dim->Get(h::dimension::Id).ToString(), r.identifier);
    EXPECT_EQ(dim->Get(h::dimension::InLocationGroup).ToBool(), r.inLocation);
    EXPECT_EQ(dim->Get(h::dimension::InTruePositionGroup).ToBool(), r.inTruePosition);
    Args pair{Variant(0), Variant(0)};
    command->Call(h::command::Identity, pair);
    EXPECT_EQ(pair[0].ToLong(), 1000 + r.index);
  }
  // The commands that are no dimensions.
  auto assignment = Command(program, 20);
  EXPECT_EQ(assignment->Get(h::command::Type).ToLong(), h::type::Assignment);
  EXPECT_TRUE(assignment->Get(h::command::IsAssignment).ToBool());
  EXPECT_FALSE(assignment->Get(h::command::IsDimension).ToBool());
  EXPECT_FALSE(assignment->Get(h::command::IsDimensionLine).ToBool());
  auto a = assignment->Get(h::command::AssignmentCommand).ToObject();
  EXPECT_EQ(a->Get(h::assignment::Name).ToString(), "ZEP_SLIDESHOW");
  EXPECT_EQ(a->Get(h::assignment::Value).ToString(), "LN|BRACKET-B.ZEP");
  auto comment = Command(program, 18);
  EXPECT_TRUE(comment->Get(h::command::IsComment).ToBool());
  auto c = comment->Get(h::command::CommentCommand).ToObject();
  EXPECT_EQ(c->Get(h::comment::Kind).ToLong(), 1);
  EXPECT_EQ(c->Get(h::comment::Text).ToString(), "Turn the part over.\r\nThen press Continue.\r\n");
}

TEST_F(ContractTest, CursorStepsStopAtEitherEndAndEveryReadGivesANewCursor) {
  auto dim = Command(program, 2)->Get(h::command::DimensionCommand).ToObject();
  auto cursor = dim->Get(h::dimension::Command).ToObject();
  auto other = dim->Get(h::dimension::Command).ToObject();
  EXPECT_TRUE(cursor->Call(h::command::Previous).ToBool());
  EXPECT_EQ(cursor->Get(h::command::Type).ToLong(), 1000);
  EXPECT_EQ(other->Get(h::command::Type).ToLong(), 1002);  // untouched by the first
  EXPECT_FALSE(cursor->Call(h::command::Previous).ToBool());
  EXPECT_EQ(cursor->Get(h::command::Type).ToLong(), 1000);  // stays at the first command
  EXPECT_TRUE(cursor->Call(h::command::Next).ToBool());
  EXPECT_EQ(cursor->Get(h::command::DisplayText).ToString(), "X");

  auto last = Command(program, 23)->Get(h::command::DimensionCommand).ToObject()->Get(h::dimension::Command).ToObject();
  EXPECT_FALSE(last->Call(h::command::Next).ToBool());
  EXPECT_EQ(last->Get(h::command::Id).ToString(), "FLAT1");
}

TEST_F(ContractTest, GroupHeadersAndEndsReportNoNumbers) {
  for (int32_t index : {1, 5, 11, 15}) {
    auto dim = Command(program, index)->Get(h::command::DimensionCommand).ToObject();
    for (DispId id : {h::dimension::Measured, h::dimension::Nominal, h::dimension::PlusTol, h::dimension::MinusTol,
                      h::dimension::Deviation, h::dimension::OutTol}) {
      EXPECT_EQ(dim->Get(id).ToDouble(), 0.0) << index << " member " << id;
    }
    EXPECT_EQ(dim->Get(h::dimension::AxisLetter).ToString(), "");
  }
}

TEST_F(ContractTest, LanguageComesFromTheSimulatorSettings) {
  EXPECT_EQ(host->Get(h::app::LanguageId).ToLong(), 1033);
  common::RegEntry reg;
  reg.CreateKey("USER_ZEP\\Simulator");
  reg.SetString("Language", "1031");
  EXPECT_EQ(host->Get(h::app::LanguageId).ToLong(), 1031);
}

TEST_F(ContractTest, OpeningTheSamePathTwiceGivesTheSameProgram) {
  const std::string relative = SamplePath().substr(SamplePath().rfind('/') + 1);
  auto again = Open(SamplePath());
  auto byName = Open(relative);  // found in the part-program folder
  EXPECT_EQ(again, program);
  EXPECT_EQ(byName, program);
  EXPECT_EQ(programs->Get(h::programs::Count).ToLong(), 1);
  auto second = OpenText("BLOCK PartProgram\nPARTNAME=OTHER\nEND\n");
  EXPECT_EQ(programs->Get(h::programs::Count).ToLong(), 2);
  EXPECT_EQ(host->Get(h::app::ActivePartProgram).ToObject(), second);
}

}  // namespace
}  // namespace zephra::testing
