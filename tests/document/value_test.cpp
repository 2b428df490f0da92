// Values: classification against tolerances, warning limits by axis, display text and
// rounding, the tagged VALUE text, copying and sample sets.

#include <gtest/gtest.h>

#include <cmath>

#include "common/host_interface.h"
#include "document/dimension_offer.h"
#include "document/document_io.h"
#include "document/value.h"
#include "document_fixture.h"
#include "fake_dimension.h"

using namespace zephra;
using common::Variant;
using document::Value;
using zephra::testing::FakeDimension;

namespace dim = common::host::dimension;

namespace {

// A value bound to the dimension's key, so it takes it whatever its axis.
std::shared_ptr<FakeDimension> Dimension(const std::string& axis, double deviation, double plus, double minus) {
  auto d = std::make_shared<FakeDimension>(axis, 10.0 + deviation, 10.0, plus, minus);
  d->Named("F", 1101, 7, 42);
  return d;
}

Value Bound(int16_t percent = 80) {
  Value v(document::kMonitorMessages);
  v.SetUniqueID("7|42");
  v.SetPercentage(percent);
  return v;
}

}  // namespace

class ValueTest : public zephra::testing::DocumentTest {};

TEST_F(ValueTest, DeviationsAreClassifiedStrictlyAgainstTheLimits) {
  const std::pair<double, int32_t> cases[] = {
      {0.375, 1}, {0.4, 3}, {-0.4, 4}, {0.5, 3}, {0.5001, 6}, {-0.5001, 7}, {0.0, 1}, {-0.375, 1}, {-0.5, 4},
  };
  for (const auto& [deviation, state] : cases) {
    Value v = Bound(75);
    auto d = Dimension("X", deviation, 0.5, 0.5);
    d->props[dim::Deviation] = Variant(deviation);
    ASSERT_TRUE(v.UpdateReport(d, "F"));
    EXPECT_DOUBLE_EQ(v.SoftPlusTol(), 0.375);
    EXPECT_DOUBLE_EQ(v.SoftMinusTol(), 0.375);
    EXPECT_EQ(v.TOLERANCE(), state) << deviation;
    EXPECT_TRUE(v.GotTols());
    EXPECT_EQ(v.OutOfTolerance(), state >= 2) << deviation;
  }
  // With no tolerance at all every deviation but zero is an error.
  EXPECT_EQ(Value::Classify(1e-9, 0, 0, 0, 0), 6);
  EXPECT_EQ(Value::Classify(0, 0, 0, 0, 0), 1);
}

TEST_F(ValueTest, WarningLimitsFollowTheAxisCode) {
  struct Case {
    const char* axis;
    int32_t commandType;
    int32_t m26;
    double plus, minus, soft_plus, soft_minus;
  };
  // Plus 0.5, minus 0.25, bonus 0.25, percentage 50; soft limits start at 9 to show "left alone".
  const Case cases[] = {
      {"D", 1101, 0, 0.5, 0.25, 0.25, 0.125},    {"RT", 1101, 0, 0.5, 0.25, 0.25, 0.125},
      {"X", 1101, 0, 0.5, 0.25, 0.25, 0.125},    {"PR", 1101, 0, 0.5, 0.25, 0.25, 0.125},
      {"TP", 1101, 0, 0.75, 0.0, 0.375, 0.0},    {"M", 1106, 0, 0.5, 0.25, 0.25, 0.125},
      {"M", 1118, 1, 0.5, 0.25, 0.25, 0.125},    {"M", 1118, 0, 0.75, 0.0, 0.375, 0.0},
      {"M", 1101, 1, 0.75, 0.0, 0.375, 0.0},     {"Q", 1101, 0, 0.5, 0.25, 9, 9},
      {"d", 1101, 0, 0.5, 0.25, 9, 9},
  };
  for (const Case& c : cases) {
    Value v = Bound(50);
    v.SetSoftPlusTol(9);
    v.SetSoftMinusTol(9);
    auto d = Dimension(c.axis, -0.001, 0.5, 0.25);
    d->props[dim::Bonus] = Variant(0.25);
    d->props[dim::M26] = Variant(c.m26);
    d->command->path[0].type = c.commandType;
    ASSERT_TRUE(v.UpdateReport(d, "F"));
    const std::string what = std::string(c.axis) + " " + std::to_string(c.commandType);
    EXPECT_DOUBLE_EQ(v.PlusTol(), c.plus) << what;
    EXPECT_DOUBLE_EQ(v.MinusTol(), c.minus) << what;
    EXPECT_DOUBLE_EQ(v.SoftPlusTol(), c.soft_plus) << what;
    EXPECT_DOUBLE_EQ(v.SoftMinusTol(), c.soft_minus) << what;
  }
  // One-sided: a small negative deviation is already below the lower limit of 0.
  Value tp = Bound(50);
  auto d = Dimension("TP", -0.001, 0.5, 0.3);
  d->props[dim::Bonus] = Variant(0.25);
  tp.UpdateReport(d, "F");
  EXPECT_EQ(tp.TOLERANCE(), 7);
}

TEST_F(ValueTest, OnlyTheDeviationColumnIsEvaluatedAndTruePositionCoordinatesAreNot) {
  Value measured = Bound();
  measured.SetColumn(Value::kColumnMeasured);
  measured.UpdateReport(Dimension("D", 0.9, 0.5, 0.5), "F");
  EXPECT_EQ(measured.TOLERANCE(), -1);
  EXPECT_FALSE(measured.GotTols());
  EXPECT_EQ(measured.CurrentValue().ToDouble(), 10.9);

  // Member 31 (a true-position group) switches off the positional axes, member 30 (a location
  // group) does not; other axes of either group are evaluated.
  struct Case {
    const char* axis;
    common::DispId flag;
    int32_t state;
  };
  const Case cases[] = {
      {"X", dim::InTruePositionGroup, -1}, {"Y", dim::InTruePositionGroup, -1}, {"Z", dim::InTruePositionGroup, -1},
      {"PA", dim::InTruePositionGroup, -1}, {"PR", dim::InTruePositionGroup, -1}, {"D", dim::InTruePositionGroup, 6},
      {"X", dim::InLocationGroup, 6},       {"D", dim::InLocationGroup, 6},
  };
  for (const Case& c : cases) {
    auto d = Dimension(c.axis, 0.9, 0.5, 0.5);
    d->props[c.flag] = Variant(true);
    Value v = Bound();
    v.SetAxisLetter(c.axis);
    v.UpdateReport(d, "F");
    EXPECT_EQ(v.TOLERANCE(), c.state) << c.axis << " " << c.flag;
  }
}

TEST_F(ValueTest, AValueThatIsNotBoundAndHasAnotherAxisIsLeftAlone) {
  Value v(document::kMonitorMessages);
  v.SetAxisLetter("Y");
  v.SetTOLERANCE(3);
  v.SetMeasured(1.5);
  auto d = Dimension("X", 0.2, 0.1, 0.1);
  EXPECT_FALSE(v.UpdateReport(d, "F"));
  EXPECT_EQ(v.UniqueID(), "");
  EXPECT_EQ(v.TOLERANCE(), 3);
  EXPECT_EQ(v.Measured(), 1.5);
  EXPECT_TRUE(v.CurrentValue().IsEmpty());
}

TEST_F(ValueTest, TheShownNumberIsRoundedToTheFormat) {
  Value v = Bound();
  auto d = Dimension("D", 0.123456, 0.5, 0.5);
  d->props[dim::Deviation] = Variant(0.123456);
  v.UpdateReport(d, "F");
  EXPECT_EQ(v.CurrentValue().ToDouble(), 0.123);
  EXPECT_EQ(v.DisplayText(), ".123");
  v.UpdateDigits(5);
  EXPECT_EQ(v.CurrentValue().ToDouble(), 0.12346);
  v.SetDeviation(0.5555);
  v.UpdateDigits(5);
  EXPECT_EQ(v.CurrentValue().ToDouble(), 0.5555);
  v.UpdateDigits(3);
  EXPECT_EQ(v.CurrentValue().ToDouble(), 0.556);
  v.SetDeviation(-0.0005);
  v.UpdateDigits(3);
  EXPECT_EQ(v.DisplayText(), "-.001");
  v.SetColumn(Value::kColumnNominal);
  v.UpdateDigits(1);
  EXPECT_EQ(v.DisplayText(), "10.0");
  v.SetColumn(7);
  v.UpdateDigits(3);  // no number column: nothing changes
  EXPECT_EQ(v.CurrentValue().ToDouble(), 10.0);
}

TEST_F(ValueTest, TheDisplayTextShowsEachKindOfCurrentValue) {
  const std::tuple<Variant, int16_t, const char*> cases[] = {
      {Variant(0.25), 3, ".250"},       {Variant(-0.05), 3, "-.050"},    {Variant(12.3456), 3, "12.346"},
      {Variant(-12.5), 0, "-13."},      {Variant(2.0f), 2, "2.00"},      {Variant(), 3, ""},
      {Variant::Null(), 3, "NULL"},     {Variant(int32_t{17}), 3, "17"}, {Variant("text"), 3, "text"},
      {Variant(true), 3, "True"},
  };
  for (const auto& [current, format, text] : cases) {
    Value v(document::kMonitorMessages);
    v.SetColumn(8);
    v.SetFormat(format);
    v.SetCurrentValue(current);
    EXPECT_EQ(v.DisplayText(), text);
  }
}

TEST_F(ValueTest, TaggedValuesReadAndWriteTheirType) {
  const std::pair<const char*, const char*> reads[] = {
      // text in the file, text written back
      {"DOUBLE", "DOUBLE|0"},          {"DOUBLE|0.25", "DOUBLE|0.25"},  {"double|1E-05", "DOUBLE|1E-05"},
      {"STRING|a|b", "STRING|a"},      {"STRING", "STRING|"},           {"INTEGER|-7", "INTEGER|-7"},
      {"LONG|70000", "LONG|70000"},    {"SINGLE|0.1", "SINGLE|0.1"},    {"BOOLEAN", "BOOLEAN|False"},
      {"BOOLEAN|True", "BOOLEAN|True"}, {"BYTE|200", "BYTE|200"},       {"EMPTY", "EMPTY"},
      {"NULL", "NULL"},                {"UNSUPPORTED", "EMPTY"},        {"CURRENCY|5", "EMPTY"},
      {"", "EMPTY"},                   {"DATE|2026-12-11 10:06:16", "DATE|2026-12-11 10:06:16"},
  };
  for (const auto& [in, out] : reads) {
    EXPECT_EQ(Value::VariantToTagged(Value::TaggedToVariant(in)), out) << in;
  }
  EXPECT_EQ(Value::TaggedToVariant("DOUBLE").Type(), common::VarType::Double);
  EXPECT_EQ(Value::VariantToTagged(Variant(std::vector<Variant>{})), "UNSUPPORTED");
  EXPECT_THROW(Value::TaggedToVariant("INTEGER|40000"), common::AutomationError);
}

TEST_F(ValueTest, PercentageAndSymbolSetters) {
  const std::pair<double, int16_t> fractions[] = {{0.125, 12}, {0.375, 38}, {0.8, 80}, {0.005, 0}, {0.015, 2}};
  for (const auto& [fraction, percent] : fractions) {
    Value v(document::kMonitorMessages);
    v.SetPercentageFraction(fraction);
    EXPECT_EQ(v.Percentage(), percent) << fraction;
  }
  Value v(document::kMonitorMessages);
  v.SetPercentage(75);
  EXPECT_DOUBLE_EQ(v.PercentageFraction(), 0.75);
  for (int32_t s : {0, 49, -1}) v.SetGeometricSymbol(s);
  EXPECT_EQ(v.GeometricSymbol(), 1);
  v.SetGeometricSymbol(48);
  EXPECT_EQ(v.GeometricSymbol(), 48);
}

TEST_F(ValueTest, CopyTakesTheDescriptionAndResultsButNotTheStateOrFormat) {
  Value a(document::kMonitorMessages);
  a.SetValueType("XY");
  a.SetColumn(0);
  a.SetGeometricSymbol(23);
  a.SetPercentageFraction(0.333);
  a.SetCurrentValue(Variant(4.5));
  a.SetUniqueID("1|2");
  a.SetAxisLetter("TP");
  a.SetFeat1("f");
  a.SetMeasured(1);
  a.SetNominal(2);
  a.SetPlusTol(3);
  a.SetMinusTol(4);
  a.SetDeviation(5);
  a.SetOutTol(6);
  a.SetSoftPlusTol(7);
  a.SetSoftMinusTol(8);
  a.SetMax(9);
  a.SetTOLERANCE(6);
  a.SetFormat(1);
  a.SetGotTols(true);
  a.SetIsAverage(true);
  Value b(document::kMonitorMessages);
  a.Copy(b);
  EXPECT_EQ(b.ValueType(), "XY");
  EXPECT_EQ(b.Column(), 0);
  EXPECT_EQ(b.GeometricSymbol(), 23);
  EXPECT_DOUBLE_EQ(b.PercentageFraction(), 0.33);  // through the whole percent
  EXPECT_EQ(b.CurrentValue().ToDouble(), 4.5);
  EXPECT_EQ(b.UniqueID(), "1|2");
  EXPECT_EQ(b.AxisLetter(), "TP");
  EXPECT_EQ(b.Feat1(), "f");
  EXPECT_EQ(b.Measured() + b.Nominal() + b.PlusTol() + b.MinusTol() + b.Deviation() + b.OutTol(), 21);
  EXPECT_EQ(b.SoftPlusTol() + b.SoftMinusTol() + b.Max(), 24);
  EXPECT_TRUE(b.IsAverage());
  EXPECT_EQ(b.TOLERANCE(), 0);
  EXPECT_EQ(b.Format(), 3);
  EXPECT_FALSE(b.GotTols());
}

TEST_F(ValueTest, SampleSetsAverageTheRunsCollectedOnce) {
  auto run = [](double deviation, int32_t state) {
    Value v(document::kMonitorMessages);
    v.SetAxisLetter("D");
    v.SetDeviation(deviation);
    v.SetCurrentValue(Variant(deviation));
    v.SetTOLERANCE(state);
    v.SetPlusTol(0.1);
    v.SetMinusTol(0.1);
    v.SetSoftPlusTol(0.08);
    v.SetSoftMinusTol(0.08);
    v.SetGotTols(true);
    return v;
  };
  Value avg(document::kMonitorMessages);
  avg.SetAxisLetter("D");
  avg.InitializeSampleSet(3);
  run(0.05, 1).CollectSampleSet(avg, "Hst1.Log");
  run(0.05, 1).CollectSampleSet(avg, "Hst1.Log");  // the same run again: ignored
  run(0.09, 3).CollectSampleSet(avg, "Hst2.Log");
  run(0.5, 0).CollectSampleSet(avg, "Hst3.Log");   // no result in that run
  Value other = run(0.5, 6);
  other.SetAxisLetter("X");
  other.CollectSampleSet(avg, "Hst4.Log");          // another axis
  Value empty = run(0.5, 6);
  empty.SetCurrentValue(Variant());
  empty.CollectSampleSet(avg, "Hst5.Log");          // nothing shown: left out silently
  EXPECT_EQ(avg.SummCount(), 2);
  EXPECT_EQ(avg.LogCount(), 2);
  EXPECT_EQ(avg.LogItem(2), "Hst2.Log");
  EXPECT_EQ(avg.ValueItem(1), ".050");
  EXPECT_TRUE(avg.IsLogCol("Hst1.Log"));
  EXPECT_FALSE(avg.IsLogCol("hst1.log"));
  EXPECT_TRUE(avg.GotTols());
  EXPECT_DOUBLE_EQ(avg.PlusTol(), 0.1);

  avg.CalculateAverage();
  EXPECT_DOUBLE_EQ(avg.CurrentValue().ToDouble(), 0.07);
  EXPECT_EQ(avg.TOLERANCE(), 0);  // two of three runs: still empty

  run(0.1, 1).CollectSampleSet(avg, "Hst6.Log");
  run(0.1, 1).CollectSampleSet(avg, "Hst7.Log");  // the set is full
  EXPECT_EQ(avg.SummCount(), 3);
  avg.CalculateAverage();
  EXPECT_DOUBLE_EQ(avg.CurrentValue().ToDouble(), 0.08);
  EXPECT_EQ(avg.TOLERANCE(), 1);
  EXPECT_TRUE(avg.IsAverage());
  EXPECT_THROW(avg.LogItem(4), common::AutomationError);
}

TEST_F(ValueTest, ValueCollectionAddsRemovesAndAggregates) {
  document::ValueCollection values(document::kMonitorMessages);
  EXPECT_EQ(values.WorstTolerance(), 0);
  values.Add()->SetTOLERANCE(-1);
  EXPECT_EQ(values.WorstTolerance(), 0);
  values.Add(1)->SetTOLERANCE(4);  // before the first
  EXPECT_EQ(values.Item(1)->TOLERANCE(), 4);
  EXPECT_EQ(values.WorstTolerance(), 4);  // not folded here
  EXPECT_TRUE(values.IsOutOfTolerance());
  values.Remove(5);
  values.Remove(0);
  EXPECT_EQ(values.Count(), 2);
  values.Remove(1);
  EXPECT_FALSE(values.IsOutOfTolerance());
  document::ValueCollection copy(document::kMonitorMessages);
  copy.Add();
  copy.Add();
  copy.Add();
  values.Copy(copy);
  EXPECT_EQ(copy.Count(), 1);
  EXPECT_NE(copy.Item(1), values.Item(1));
  values.RemoveAll();
  EXPECT_EQ(values.Count(), 0);
  EXPECT_THROW(values.Item(1), common::AutomationError);
}

TEST_F(ValueTest, APercentageThatDoesNotFitOverflowsInsteadOfWrapping) {
  Value v(document::kMonitorMessages);
  v.SetPercentageFraction(0.8);
  EXPECT_EQ(v.Percentage(), 80);
  v.SetPercentageFraction(400.0);  // PERCENTAGE=400 in a file is 40000 percent
  try {
    v.Percentage();
    FAIL();
  } catch (const common::AutomationError& e) {
    EXPECT_EQ(e.Number(), common::err::Overflow);
  }
}
