// Part-program files: what their keys make of a command, and the errors of bad files.

#include "host_fixture.h"

namespace zephra::testing {
namespace {

class ProgramFileTest : public HostTest {};

TEST_F(ProgramFileTest, MissingAndMalformedFilesNameTheFileAndTheLine) {
  const std::string missing = home.File("nowhere.prg");
  try {
    Open(missing);
    FAIL() << "a missing file opened";
  } catch (const common::AutomationError& e) {
    EXPECT_EQ(e.Number(), common::err::FileNotFound);
    EXPECT_NE(e.Description().find(missing), std::string::npos) << e.Description();
  }

  struct Case {
    const char* text;
    int line;
    const char* says;
  };
  const Case cases[] = {
      {"BLOCK PartProgram\n\tBLOCK Dimension\n\tEND\nEND\n", 2, "needs a TYPE"},
      {"BLOCK PartProgram\n\tBLOCK Dimension\n\t\tTYPE=999\n\tEND\nEND\n", 3, "999"},
      {"BLOCK PartProgram\n\tBLOCK Dimension\n\t\tTYPE=1002\n\t\tNOMINAL=2,5\n\tEND\nEND\n", 4, "NOMINAL"},
      {"BLOCK PartProgram\n\tBLOCK Dimension\n\t\tTYPE=1002.5\n\tEND\nEND\n", 3, "TYPE"},
      {"BLOCK PartProgram\n\tBLOCK Dimension\n\t\tTYPE=1002\n\t\tCOLOUR=red\n\tEND\nEND\n", 4, "COLOUR"},
      {"BLOCK PartProgram\n\tBLOCK Dimension\n\t\tTYPE=1111\n\t\tUNIQUEID=7\n\tEND\nEND\n", 4, "UNIQUEID"},
      {"BLOCK PartProgram\n\tBLOCK Prompt\n\t\tBUTTONS=1:Go|Stop\n\tEND\nEND\n", 3, "BUTTONS"},
      {"BLOCK PartProgram\n\tBLOCK Prompt\n\t\tBUTTONS=1:a|2:b|3:c|4:d|5:e|6:f\n\tEND\nEND\n", 3, "BUTTONS"},
      {"BLOCK PartProgram\n\tBLOCK Probe\n\tEND\nEND\n", 2, "PROBE"},
      {"BLOCK PartProgram\n\tBLOCK Comment\n\t\tBLOCK Comment\n\t\tEND\n\tEND\nEND\n", 3, "Comment"},
      {"BLOCK PartProgram\n\tPARTNAME=A\n\tSPEED=3\nEND\n", 3, "SPEED"},
      {"BLOCK PartProgram\n\tSEED=-4\nEND\n", 2, "SEED"},
      {"BLOCK PartProgram\n\tjust words\nEND\n", 2, "neither"},
      {"BLOCK PartProgram\nEND\nEND\n", 3, "END"},
      {"BLOCK PartProgram\n\tBLOCK Status\n\t\tTEXT=x\n", 3, "Status"},
      {"PARTNAME=A\n", 1, "PARTNAME"},
      {"; nothing but a comment\n", 1, "no PartProgram"},
      {"BLOCK PartProgram\nEND\nBLOCK PartProgram\nEND\n", 3, "only one"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string path = home.Write("bad.prg", c.text);
    try {
      Open(path);
      ADD_FAILURE() << "a malformed file opened";
    } catch (const common::AutomationError& e) {
      EXPECT_EQ(e.Number(), 34002);
      const std::string where = path + ", line " + std::to_string(c.line) + ": ";
      EXPECT_EQ(e.Description().rfind(where, 0), 0u) << e.Description();
      EXPECT_NE(e.Description().find(c.says), std::string::npos) << e.Description();
    }
  }
  EXPECT_EQ(programs->Get(h::programs::Count).ToLong(), 0);
}

TEST_F(ProgramFileTest, KeysOfACommandBlockDecideWhatItsMembersAnswer) {
  auto program = OpenText(
      "BLOCK PartProgram\n"
      "\tBLOCK Dimension\n\t\tTYPE=1200\n\t\tID=TP9\n\tEND\n"
      "\tBLOCK Dimension\n\t\tTYPE=1209\n\t\tAXIS=TP\n\t\tTEXT=Position\n\t\tUNIQUEID=77|3\n"
      "\t\tNOMINAL=0\n\t\tPLUSTOL=0.1\n\t\tMEASURED=0.08\n\t\tBONUS=0.02\n\t\tANGLE=1.5\n\t\tDEVANGLE=2.5\n"
      "\t\tLENGTH=3.5\n\t\tMAX=4.5\n\t\tMIN=-4.5\n\t\tFEAT1=CIR3\n\t\tM26=1\n\t\tREPORTED=0\n\tEND\n"
      "\tBLOCK Dimension\n\t\tTYPE=1201\n\tEND\n"
      "\tBLOCK Dimension\n\t\tTYPE=1002\n\t\tAXIS=X\n\tEND\n"
      "\tBLOCK Command\n\t\tTYPE=12350\n\t\tID=MOVE1\n\tEND\n"
      "\tBLOCK Comment\n\t\tKIND=2\n\t\tLINE=one\n\t\tTEXT=two\n\tEND\n"
      "END\n");
  auto axis = Command(program, 2);
  EXPECT_EQ(axis->Get(h::command::DisplayText).ToString(), "Position");
  EXPECT_FALSE(axis->Get(h::command::Reported).ToBool());
  Args pair{Variant(0), Variant(0)};
  axis->Call(h::command::Identity, pair);
  EXPECT_EQ(pair[0].ToLong(), 77);
  EXPECT_EQ(pair[1].ToLong(), 3);
  auto dim = axis->Get(h::command::DimensionCommand).ToObject();
  EXPECT_EQ(dim->Get(h::dimension::Bonus).ToDouble(), 0.02);
  EXPECT_EQ(dim->Get(h::dimension::Angle).ToDouble(), 1.5);
  EXPECT_EQ(dim->Get(h::dimension::DevAngle).ToDouble(), 2.5);
  EXPECT_EQ(dim->Get(h::dimension::Length).ToDouble(), 3.5);
  EXPECT_EQ(dim->Get(h::dimension::Max).ToDouble(), 4.5);
  EXPECT_EQ(dim->Get(h::dimension::Min).ToDouble(), -4.5);
  EXPECT_EQ(dim->Get(h::dimension::Feat1).ToString(), "CIR3");
  EXPECT_EQ(dim->Get(h::dimension::M26).ToLong(), 1);
  EXPECT_EQ(dim->Get(h::dimension::Id).ToString(), "TP9");
  EXPECT_TRUE(dim->Get(h::dimension::InTruePositionGroup).ToBool());
  // The end of the group carries the group's identifier; an axis outside any group none.
  auto end = Command(program, 3)->Get(h::command::DimensionCommand).ToObject();
  EXPECT_EQ(end->Get(h::dimension::Id).ToString(), "TP9");
  auto stray = Command(program, 4)->Get(h::command::DimensionCommand).ToObject();
  EXPECT_EQ(stray->Get(h::dimension::Id).ToString(), "");
  EXPECT_FALSE(stray->Get(h::dimension::InLocationGroup).ToBool());
  auto move = Command(program, 5);
  EXPECT_EQ(move->Get(h::command::Type).ToLong(), h::type::MoveAll);
  EXPECT_EQ(move->Get(h::command::DisplayText).ToString(), "MOVE1");
  EXPECT_FALSE(move->Get(h::command::IsDimension).ToBool());
  auto comment = Command(program, 6)->Get(h::command::CommentCommand).ToObject();
  EXPECT_EQ(comment->Get(h::comment::Kind).ToLong(), 2);
  EXPECT_EQ(comment->Get(h::comment::Text).ToString(), "one\r\ntwo");  // no line end after TEXT
}

TEST_F(ProgramFileTest, DeviationAndOutOfToleranceFollowTheLimits) {
  struct Case {
    const char* keys;
    double deviation, outTol;
  };
  const Case cases[] = {
      {"NOMINAL=25\nPLUSTOL=0.05\nMINUSTOL=0.05\nMEASURED=25.012", 0.012, 0},
      {"NOMINAL=25\nPLUSTOL=0.05\nMINUSTOL=0.05\nMEASURED=25.05", 0.05, 0},  // on the limit: inside
      {"NOMINAL=25\nPLUSTOL=0.05\nMINUSTOL=0.05\nMEASURED=25.07", 0.07, 0.02},
      {"NOMINAL=25\nPLUSTOL=0.05\nMINUSTOL=0.03\nMEASURED=24.96", -0.04, -0.01},
      {"NOMINAL=0\nPLUSTOL=0.02\nMINUSTOL=0\nMEASURED=0.025", 0.025, 0.005},
      {"NOMINAL=10\nPLUSTOL=0.1\nMINUSTOL=0.1\nBIAS=0.02", 0.02, 0},  // before any run: no scatter
      {"NOMINAL=10\nPLUSTOL=0.1\nMINUSTOL=0.1\nMEASURED=10.5\nDEVIATION=0.3\nOUTTOL=0.7", 0.3, 0.7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    auto program = OpenText(std::string("BLOCK PartProgram\nBLOCK Dimension\nTYPE=1111\nAXIS=D\n") + c.keys +
                                "\nEND\nEND\n",
                            "limits" + std::to_string(&c - cases) + ".prg");
    auto dim = Command(program, 1)->Get(h::command::DimensionCommand).ToObject();
    EXPECT_DOUBLE_EQ(dim->Get(h::dimension::Deviation).ToDouble(), c.deviation);
    EXPECT_DOUBLE_EQ(dim->Get(h::dimension::OutTol).ToDouble(), c.outTol);
  }
}

}  // namespace
}  // namespace zephra::testing
