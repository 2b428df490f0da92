#include <gtest/gtest.h>

#include <cmath>

#include "common/automation_error.h"
#include "common/number_text.h"
#include "common/variant.h"

using namespace zephra::common;

namespace {

int ErrorOf(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const AutomationError& e) {
    return e.Number();
  }
  return 0;
}

}  // namespace

TEST(NumberText, DoublesAreWrittenInTheSuitesForm) {
  const std::pair<double, const char*> cases[] = {
      {0.8, "0.8"},           {25.012, "25.012"},      {0.0001, "0.0001"},
      {1e-05, "1E-05"},       {1.5e20, "1.5E+20"},     {-2147483633.0, "-2147483633"},
      {0.0, "0"},             {-0.0, "0"},             {1.0 / 3.0, "0.333333333333333"},
      {123456789012345678.0, "1.23456789012346E+17"}, {100.0, "100"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatDouble(value), text) << value;
}

TEST(NumberText, ParsingAcceptsOnlyTheNumberForms) {
  const std::pair<const char*, std::optional<double>> cases[] = {
      {" 12 ", 12.0},     {"+1.5e3", 1500.0}, {"-.5", -0.5},     {"5.", 5.0},
      {"&HFF", 255.0},    {"&HFFFF", -1.0},   {"&H10000", 65536.0}, {"1E-05", 1e-05},
      {"", std::nullopt}, {".", std::nullopt}, {"1,5", std::nullopt}, {"1e", std::nullopt},
      {"abc", std::nullopt}, {"1 2", std::nullopt}, {"&H", std::nullopt}, {"0x10", std::nullopt}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseNumber(text), expected) << text;
}

TEST(NumberText, FixedDecimalsRoundHalfAwayOnTheDecimalText) {
  EXPECT_EQ(FormatFixed(25.01249, 3), "25.012");
  EXPECT_EQ(FormatFixed(0.00005, 4), "0.0001");
  EXPECT_EQ(FormatFixed(-0.00004, 4), "0.0000");
  EXPECT_EQ(FormatFixed(9.9996, 3), "10.000");
  EXPECT_EQ(FormatFixed(2.5, 0), "3");
  EXPECT_EQ(FormatFixed(-1.25, 1), "-1.3");
}

TEST(Variant, IntegersRoundHalfToEvenAndOverflow) {
  EXPECT_EQ(Variant(2.5).ToLong(), 2);
  EXPECT_EQ(Variant(3.5).ToLong(), 4);
  EXPECT_EQ(Variant(-2.5).ToLong(), -2);
  EXPECT_EQ(Variant(2.6).ToInt(), 3);
  EXPECT_EQ(Variant("  41.5 ").ToInt(), 42);
  EXPECT_EQ(Variant(true).ToLong(), -1);
  EXPECT_EQ(ErrorOf([] { Variant(32767.5).ToInt(); }), err::Overflow);
  EXPECT_EQ(ErrorOf([] { Variant(2147483648.0).ToLong(); }), err::Overflow);
  EXPECT_EQ(ErrorOf([] { Variant(256.0).ToByte(); }), err::Overflow);
  EXPECT_EQ(ErrorOf([] { Variant("12a").ToLong(); }), err::TypeMismatch);
  EXPECT_EQ(ErrorOf([] { Variant::Null().ToLong(); }), err::InvalidUseOfNull);
  EXPECT_EQ(Variant().ToLong(), 0);
}

TEST(Variant, TextAndBooleanConversions) {
  EXPECT_EQ(Variant(true).ToString(), "True");
  EXPECT_EQ(Variant(int16_t{-7}).ToString(), "-7");
  EXPECT_EQ(Variant(0.1f).ToString(), "0.1");
  EXPECT_EQ(Variant().ToString(), "");
  EXPECT_TRUE(Variant("true").ToBool());
  EXPECT_FALSE(Variant(" FALSE ").ToBool());
  EXPECT_TRUE(Variant("-1").ToBool());
  EXPECT_FALSE(Variant("0").ToBool());
  EXPECT_EQ(ErrorOf([] { Variant("yes").ToBool(); }), err::TypeMismatch);
  EXPECT_EQ(ErrorOf([] { Variant(std::vector<Variant>{}).ToString(); }), err::TypeMismatch);
  EXPECT_EQ(Variant("True").ToDouble(), -1.0);
}

TEST(Variant, DatesReadBothFormsAndWriteIso) {
  const double d = *ParseDateTime("2026-12-11 10:06:16");
  EXPECT_EQ(FormatDateTime(d), "2026-12-11 10:06:16");
  EXPECT_EQ(*ParseDateTime("12/11/2026 10:06:16 AM"), d);
  EXPECT_EQ(FormatDateTime(*ParseDateTime("12/11/2026 10:06:16 PM")), "2026-12-11 22:06:16");
  EXPECT_EQ(FormatDateTime(*ParseDateTime("1/2/2026 12:00:00 AM")), "2026-01-02");
  EXPECT_EQ(*ParseDateTime("1899-12-30"), 0.0);
  EXPECT_EQ(*ParseDateTime("1900-01-01"), 2.0);
  EXPECT_EQ(Variant::Date(d).ToString(), "2026-12-11 10:06:16");
  EXPECT_EQ(Variant("2026-12-11T10:06:16").ToDate(), d);
  EXPECT_FALSE(ParseDateTime("2026-02-30"));
  EXPECT_FALSE(ParseDateTime("13/01/2026"));
  EXPECT_FALSE(ParseDateTime("2026-12-11 25:00"));
  EXPECT_EQ(ErrorOf([] { Variant("soon").ToDate(); }), err::TypeMismatch);
}
