// Offering executed host dimensions to a slide show: which values take them, how they bind,
// the cursor walk for group axes, the icon's version, and how often the host is asked.

#include <gtest/gtest.h>

#include "common/host_interface.h"
#include "document/dimension_offer.h"
#include "document/slide_show.h"
#include "document_fixture.h"
#include "fake_dimension.h"

using namespace zephra;
using common::Variant;
using document::SlideShow;
using zephra::testing::FakeDimension;

namespace dim = common::host::dimension;
namespace cmd = common::host::command;

namespace {

// Adds an icon with one value per axis to a slide.
std::shared_ptr<document::Icon> AddIcon(document::Slide& slide, const std::string& feature,
                                        std::initializer_list<const char*> axes) {
  auto icon = slide.Icons().Add();
  icon->SetFeatureName(feature);
  for (const char* a : axes) icon->Values().Add()->SetAxisLetter(a);
  return icon;
}

std::shared_ptr<FakeDimension> Diameter(const std::string& feature, double measured, int32_t id1 = 7) {
  auto d = std::make_shared<FakeDimension>("D", measured, 12.0, 0.02, 0.02);
  d->Named(feature, 1111, id1, 42);
  return d;
}

}  // namespace

class UpdateReport : public zephra::testing::DocumentTest {};

TEST_F(UpdateReport, AValueBoundByItsKeyTakesTheResultWhateverItsAxis) {
  SlideShow show(document::kMonitorMessages);
  auto icon = AddIcon(*show.Slides().Add(), "OTHERNAME", {"Y"});
  auto& value = *icon->Values().Item(1);
  value.SetUniqueID("7|42");
  show.UpdateReport(Diameter("DIA1", 12.01));
  EXPECT_EQ(value.AxisLetter(), "D");
  EXPECT_DOUBLE_EQ(value.Measured(), 12.01);
  EXPECT_EQ(value.TOLERANCE(), 1);
}

TEST_F(UpdateReport, AnUnboundValueBindsByAxisAndFeatureNameAndRebindsWhenTheKeyChanges) {
  SlideShow show(document::kMonitorMessages);
  auto& slide = *show.Slides().Add();
  auto dia1 = AddIcon(slide, "dia1", {"D"});
  auto dia2 = AddIcon(slide, "DIA2", {"D"});
  show.UpdateReport(Diameter("DIA1", 12.03));
  const auto& v1 = *dia1->Values().Item(1);
  EXPECT_EQ(v1.UniqueID(), "7|42");
  EXPECT_EQ(v1.TOLERANCE(), 6);
  EXPECT_EQ(dia2->Values().Item(1)->UniqueID(), "");
  EXPECT_EQ(dia2->Values().Item(1)->TOLERANCE(), 0);

  // The part program was changed: the same feature now has another key.
  show.UpdateReport(Diameter("DIA1", 12.0, 9));
  EXPECT_EQ(v1.UniqueID(), "9|42");
  EXPECT_EQ(v1.TOLERANCE(), 1);
  // A dimension of another feature with the old key's axis does not take it over.
  show.UpdateReport(Diameter("DIA3", 13.0, 11));
  EXPECT_EQ(v1.UniqueID(), "9|42");
}

TEST_F(UpdateReport, GroupAxesTakeTheHeadersNameAndTheCursorIsPutBack) {
  struct Case {
    const char* name;
    bool location;
    int pass;
    bool reachHeader;
    bool failByFalse;
    const char* featureFound;
    int steps;  // attempted steps, the failed one included
  };
  const Case cases[] = {
      {"location header two steps on", true, 1, true, false, "LOC1", 2},
      {"true-position header next", false, 0, true, false, "TP1", 1},
      {"no header: a step fails by error", true, 2, false, false, "TP1 X", 3},
      {"no header: a step returns False", false, 1, false, true, "TP1 X", 2},
  };
  for (const Case& c : cases) {
    auto d = std::make_shared<FakeDimension>("X", 50.01, 50.0, 0.05, 0.05);
    d->Named("TP1 X", 1005, 3, 4);
    const int32_t headerType = c.location ? 1000 : 1200;
    if (c.reachHeader) {
      d->InGroup(c.location, c.location ? "LOC1" : "TP1", headerType, c.pass);
    } else {
      d->props[c.location ? dim::InLocationGroup : dim::InTruePositionGroup] = Variant(true);
      for (int i = 0; i < c.pass; ++i) d->command->path.push_back({1005, "AXIS"});
    }
    d->command->failByFalse = c.failByFalse;
    document::DimensionOffer offer(d);
    EXPECT_EQ(offer.FeatureName(), c.featureFound) << c.name;
    // Back (23) towards the header, then forward (22) as often.
    EXPECT_EQ(d->command->Reads(cmd::Previous), c.steps) << c.name;
    EXPECT_EQ(d->command->Reads(cmd::Next), c.steps) << c.name;
    EXPECT_EQ(d->command->cursor, 0) << c.name;
    EXPECT_EQ(offer.CommandType(), 1005) << c.name;  // read after the walk, at the dimension's own command
  }
  // A value of the group binds by the header's name; the X axis of a location group is judged
  // like any other axis.
  SlideShow show(document::kMonitorMessages);
  auto loc = AddIcon(*show.Slides().Add(), "LOC1", {"X", "D"});
  auto d = std::make_shared<FakeDimension>("X", 25.2, 25.0, 0.05, 0.05);
  d->Named("LOC1 X", 1005, 5, 6).InGroup(true, "LOC1", 1000);
  show.UpdateReport(d);
  EXPECT_EQ(loc->Values().Item(1)->UniqueID(), "5|6");
  EXPECT_EQ(loc->Values().Item(1)->TOLERANCE(), 6);
  EXPECT_EQ(loc->Values().Item(2)->UniqueID(), "");
}

TEST_F(UpdateReport, AValueOnEachOfTwoSlidesTakesTheSameResultFromOneRead) {
  SlideShow show(document::kMonitorMessages);
  auto a = AddIcon(*show.Slides().Add(), "DIA1", {"D"});
  AddIcon(*show.Slides().Item(1), "LOC1", {"X", "Y", "D"});
  auto b = AddIcon(*show.Slides().Add(), "DIA1", {"D"});
  AddIcon(*show.Slides().Item(2), "ANG1", {"A"});
  auto d = Diameter("DIA1", 12.015);
  show.UpdateReport(d);
  for (const auto& icon : {a, b}) {
    const auto& v = *icon->Values().Item(1);
    EXPECT_DOUBLE_EQ(v.Measured(), 12.015);
    EXPECT_EQ(v.TOLERANCE(), 1);
    EXPECT_EQ(icon->Version(), 2);  // the feature name set, then the report
  }
  // Every host fact was read once, however many values asked for it.
  for (common::DispId id : {dim::Command, dim::AxisLetter, dim::Measured, dim::Nominal, dim::PlusTol, dim::MinusTol,
                            dim::Deviation, dim::OutTol, dim::Angle, dim::Bonus, dim::DevAngle, dim::Length, dim::Max,
                            dim::Min, dim::Feat1, dim::InLocationGroup, dim::InTruePositionGroup}) {
    EXPECT_EQ(d->Reads(id), 1) << id;
  }
  for (common::DispId id : {cmd::Identity, cmd::Id, cmd::Type}) EXPECT_EQ(d->command->Reads(id), 1) << id;
  EXPECT_EQ(d->Reads(dim::M26), 0);  // only an M axis asks

  // A dimension no value wants: only the key and the axis are read.
  auto unused = std::make_shared<FakeDimension>("Z", 1, 1, 0.1, 0.1);
  unused->Named("Z1", 1101, 99, 99);
  show.UpdateReport(unused);
  EXPECT_EQ(unused->TotalReads(), 2);  // the command object and the axis
  EXPECT_EQ(unused->command->TotalReads(), 1);
}

TEST_F(UpdateReport, AHostErrorSurfacesAtTheFirstValueThatNeedsTheFact) {
  SlideShow show(document::kMonitorMessages);
  auto& slide = *show.Slides().Add();
  auto bound = AddIcon(slide, "ELSEWHERE", {"D"});
  bound->Values().Item(1)->SetUniqueID("7|42");
  auto unbound = AddIcon(slide, "DIA1", {"D"});
  auto after = AddIcon(slide, "DIA1", {"D"});
  auto d = Diameter("DIA1", 12.0);
  d->command->failOn = cmd::Id;  // the feature name cannot be read
  try {
    show.UpdateReport(d);
    FAIL() << "no error";
  } catch (const common::AutomationError& e) {
    EXPECT_EQ(e.Number(), 1234);
  }
  EXPECT_EQ(bound->Values().Item(1)->TOLERANCE(), 1);  // took the result before the failure
  EXPECT_EQ(bound->Version(), 2);
  EXPECT_EQ(unbound->Version(), 1);
  EXPECT_EQ(after->Values().Item(1)->UniqueID(), "");
  EXPECT_EQ(d->command->Reads(cmd::Id), 1);
}

TEST_F(UpdateReport, TheIconVersionCountsOnlyWhenItsLastValueTookTheDimension) {
  SlideShow show(document::kMonitorMessages);
  auto icon = AddIcon(*show.Slides().Add(), "LOC2", {"X", "Y"});
  const int32_t start = icon->Version();
  auto x = std::make_shared<FakeDimension>("X", 75.0, 75.0, 0.05, 0.05);
  x->Named("LOC2", 1005, 1, 1);
  show.UpdateReport(x);
  EXPECT_EQ(icon->Values().Item(1)->UniqueID(), "1|1");
  EXPECT_EQ(icon->Version(), start);
  auto y = std::make_shared<FakeDimension>("Y", 40.06, 40.0, 0.05, 0.05);
  y->Named("LOC2", 1005, 1, 2);
  show.UpdateReport(y);
  EXPECT_EQ(icon->Version(), start + 1);
  EXPECT_EQ(icon->Values().Item(2)->TOLERANCE(), 6);
  EXPECT_TRUE(show.Slides().Item(1)->IsOutOfTolerance());
  EXPECT_EQ(show.WorstTolerance(), 5);
}

TEST_F(UpdateReport, ValuesAreRoundedToTheIconsDigits) {
  SlideShow show(document::kMonitorMessages);
  auto icon = AddIcon(*show.Slides().Add(), "DIA1", {"D"});
  icon->IconFormat()->SetDisplayDigits(2);
  show.UpdateReport(Diameter("DIA1", 12.0149));
  const auto& v = *icon->Values().Item(1);
  EXPECT_EQ(v.Format(), 2);
  EXPECT_DOUBLE_EQ(v.CurrentValue().ToDouble(), 0.01);
  EXPECT_EQ(v.DisplayText(), ".01");
  EXPECT_EQ(v.TOLERANCE(), 1);  // classified on the unrounded deviation 0.0149
}
