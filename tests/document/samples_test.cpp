// The sample slide shows fit the sample part program BRACKET-7: every value of them takes a
// result when the program's dimensions are offered, and their pictures are found.

#include <gtest/gtest.h>

#include "common/paths.h"
#include "document/slide_show.h"
#include "document_fixture.h"
#include "fake_dimension.h"

using namespace zephra;
using zephra::testing::FakeDimension;

namespace {

struct Dim {
  const char* feature;
  const char* axis;
  int group;  // 0 none, 1000 location, 1200 true position
  double nominal, plus, minus, measured;
};

// The dimensions of BRACKET-7 in program order, with measured results.
const Dim kBracket[] = {
    {"LOC1", "X", 1000, 25, 0.05, 0.05, 25.01},   {"LOC1", "Y", 1000, 40, 0.05, 0.05, 39.98},
    {"LOC1", "D", 1000, 12, 0.02, 0.02, 12.025},  {"LOC2", "X", 1000, 75, 0.05, 0.05, 75.0},
    {"LOC2", "Y", 1000, 40, 0.05, 0.05, 40.01},   {"LOC2", "D", 1000, 12, 0.02, 0.02, 12.0},
    {"TP1", "X", 1200, 50, 0.05, 0.05, 50.02},    {"TP1", "Y", 1200, 20, 0.05, 0.05, 19.99},
    {"TP1", "TP", 1200, 0, 0.1, 0, 0.045},        {"DIA1", "D", 0, 8, 0.01, 0.01, 8.004},
    {"DIA2", "D", 0, 6, 0.01, 0.01, 5.991},       {"ANG1", "A", 0, 90, 0.5, 0.5, 90.3},
    {"FLAT1", "M", 0, 0, 0.02, 0, 0.012},
};

}  // namespace

class Samples : public zephra::testing::DocumentTest {};

TEST_F(Samples, EveryValueOfTheSampleShowsTakesAResultOfTheSampleProgram) {
  const std::string folder = common::JoinPath(common::ResourceDirectory(), "samples");
  for (const char* file : {"bracket-a.zep", "bracket-b.zep"}) {
    document::SlideShow show(document::kMonitorMessages);
    show.LoadFromFile(common::JoinPath(folder, file));
    EXPECT_TRUE(Prompts().Records().empty()) << file;
    int32_t key = 0;
    for (const Dim& d : kBracket) {
      auto dim = std::make_shared<FakeDimension>(d.axis, d.measured, d.nominal, d.plus, d.minus);
      ++key;
      dim->Named(d.group ? std::string(d.feature) + " " + d.axis : d.feature, 1101, key, 1);
      if (d.group) dim->InGroup(d.group == 1000, d.feature, d.group);
      show.UpdateReport(dim);
    }
    int values = 0;
    for (const auto& slide : show.Slides()) {
      if (!slide->PictureFile().empty()) {
        EXPECT_TRUE(common::FileExists(slide->PictureFile())) << slide->PictureFile();
      }
      for (const auto& icon : slide->Icons()) {
        for (const auto& v : icon->Values()) {
          ++values;
          EXPECT_NE(v->UniqueID(), "") << file << " " << icon->Name() << " " << v->AxisLetter();
          EXPECT_NE(v->TOLERANCE(), 0) << file << " " << icon->Name() << " " << v->AxisLetter();
        }
      }
    }
    EXPECT_GT(values, 3) << file;
    // LOC1 D (12.025 against 12 +-0.02) is an error in side A; DIA2 (5.991) a warning in side B.
    EXPECT_EQ(show.WorstTolerance(), std::string(file) == "bracket-a.zep" ? 5 : 2) << file;
  }
}
