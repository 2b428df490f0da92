// Icons and icon formats: clamping, defaults, copying, the version counter and the icon format
// as a component called late-bound.

#include <gtest/gtest.h>

#include "common/component_registry.h"
#include "common/reg_entry.h"
#include "document/icon.h"
#include "document/icon_format.h"
#include "document_fixture.h"
#include "support/temp_home.h"

using namespace zephra;
using common::Variant;
using document::CIconFormat;
using document::Icon;
using zephra::testing::Crlf;

class IconTest : public zephra::testing::DocumentTest {};

TEST_F(IconTest, FormatSettersClampAndFilesAreClampedTheSameWay) {
  struct Case {
    const char* key;
    const char* text;
    std::function<int32_t(const Icon&)> get;
    int32_t expected;
  };
  const Case cases[] = {
      {"FONTSIZE", "30", [](const Icon& i) { return i.FontSize(); }, 24},
      {"FONTSIZE", "7", [](const Icon& i) { return i.FontSize(); }, 8},
      {"LEFT", "-5", [](const Icon& i) { return i.Left(); }, 0},
      {"TOP", "1001", [](const Icon& i) { return i.Top(); }, 1000},
      {"LEADERX", "-1", [](const Icon& i) { return i.LeaderX(); }, 0},
      {"LEADERY", "5000", [](const Icon& i) { return i.LeaderY(); }, 1000},
      {"BENDPOINT", "150", [](const Icon& i) { return i.LeaderBendPoint(); }, 100},
      {"BENDPOINT", "-3", [](const Icon& i) { return i.LeaderBendPoint(); }, 0},
      {"DISPLAYDIGITS", "0", [](const Icon& i) { return i.DisplayDigits(); }, 1},
      {"DISPLAYDIGITS", "16", [](const Icon& i) { return i.DisplayDigits(); }, 15},
      {"DIMENSIONTYPE", "25", [](const Icon& i) { return i.DimensionType(); }, 25},  // no check on reading
      {"LEADERCOLOR", "-2147483633", [](const Icon& i) { return i.LeaderColor(); }, -2147483633},
  };
  for (const Case& c : cases) {
    auto show = Load(Crlf({"BLOCK SlideShow", "BLOCK Slide", "BLOCK Icon"}) + c.key + "=" + c.text + "\r\n");
    EXPECT_EQ(c.get(*show->Slides().Item(1)->Icons().Item(1)), c.expected) << c.key << "=" << c.text;
  }
  CIconFormat f;
  f.SetFontSize(-100);
  f.SetLeft(2000);
  f.SetDisplayDigits(-4);
  EXPECT_EQ(f.FontSize(), 8);
  EXPECT_EQ(f.Left(), 1000);
  EXPECT_EQ(f.DisplayDigits(), 1);
}

TEST_F(IconTest, NamesDimensionTypeAndVersion) {
  Icon icon(document::kMonitorMessages);
  EXPECT_EQ(icon.Name(), "NEWICON");
  EXPECT_EQ(icon.FeatureName(), "NEWICON");
  EXPECT_EQ(icon.Version(), 0);
  icon.SetFeatureName("Hole1");
  EXPECT_EQ(icon.FeatureName(), "HOLE1");
  EXPECT_EQ(icon.Name(), "Hole1");
  EXPECT_EQ(icon.Version(), 1);
  icon.SetName("Hole 1");
  EXPECT_EQ(icon.FeatureName(), "HOLE1");
  EXPECT_EQ(icon.Version(), 1);
  for (int32_t t : {0, 20, -1}) icon.SetDimensionType(t);
  EXPECT_EQ(icon.DimensionType(), 0);
  icon.SetDimensionType(19);
  EXPECT_EQ(icon.DimensionType(), 19);
}

TEST_F(IconTest, DisplayDigitsRoundTheValuesWithTheNumberGiven) {
  Icon icon(document::kMonitorMessages);
  auto v = icon.Values().Add();
  v->SetDeviation(0.123456);
  icon.SetDisplayDigits(20);  // values get 20 decimals, the format keeps 15
  EXPECT_EQ(v->Format(), 20);
  EXPECT_EQ(icon.DisplayDigits(), 15);
  EXPECT_DOUBLE_EQ(v->CurrentValue().ToDouble(), 0.123456);
  icon.SetDisplayDigits(2);
  EXPECT_DOUBLE_EQ(v->CurrentValue().ToDouble(), 0.12);
}

TEST_F(IconTest, CopyMakesAnIndependentTwinThatKeepsItsOwnLocation) {
  Icon a(document::kMonitorMessages);
  a.SetFeatureName("Dia1");
  a.SetName("Dia 1 shown");
  a.SetDimensionType(7);
  a.SetLeft(600);
  a.SetLeaderX(10);
  a.SetFontName("Arial");
  a.SetFontColor(255);
  a.Values().Add()->SetAxisLetter("D");
  Icon b(document::kMonitorMessages);
  b.SetLeft(50);
  b.Values().Add();
  b.Values().Add();
  a.Copy(b);
  EXPECT_EQ(b.FeatureName(), "DIA1");
  EXPECT_EQ(b.Name(), "Dia 1 shown");
  EXPECT_EQ(b.DimensionType(), 7);
  EXPECT_EQ(b.Version(), 1);
  EXPECT_EQ(b.FontName(), "Arial");
  EXPECT_EQ(b.FontColor(), 255);
  EXPECT_EQ(b.Left(), 50);
  EXPECT_EQ(b.LeaderX(), 500);
  ASSERT_EQ(b.Values().Count(), 1);
  EXPECT_EQ(b.Values().Item(1)->AxisLetter(), "D");
  EXPECT_NE(b.IconFormat(), a.IconFormat());
  EXPECT_NE(b.Values().Item(1), a.Values().Item(1));
}

TEST_F(IconTest, FormatCopyPasteAndResetTakeTheLocationOnlyWhenAsked) {
  CIconFormat source;
  source.SetLeft(1);
  source.SetTop(2);
  source.SetLeaderX(3);
  source.SetLeaderY(4);
  source.SetFontName("Arial");
  source.SetNameColor(0x00FF00);
  source.SetLeaderBendPoint(0);
  CIconFormat target;
  target.Copy(source);
  EXPECT_EQ(target.FontName(), "Arial");
  EXPECT_EQ(target.NameColor(), 0x00FF00);
  EXPECT_EQ(target.LeaderBendPoint(), 0);
  EXPECT_EQ(target.Left(), 100);
  EXPECT_EQ(target.LeaderY(), 500);
  target.Copy(source, true);
  EXPECT_EQ(target.Left() + target.Top() + target.LeaderX() + target.LeaderY(), 10);
  CIconFormat pasted;
  source.Paste(pasted, false);
  EXPECT_EQ(pasted.FontName(), "Arial");
  EXPECT_EQ(pasted.Top(), 100);
  target.Reset();
  EXPECT_EQ(target.FontName(), "Courier New");
  EXPECT_EQ(target.NameColor(), document::kButtonFaceColor);
  EXPECT_EQ(target.Left(), 1);
  target.Reset(true);
  EXPECT_EQ(target.Left(), 100);
  EXPECT_EQ(target.LeaderX(), 500);
}

TEST_F(IconTest, TheFormatIsACreatableComponentCalledByNumberOrName) {
  zephra::testing::TempHome home;
  document::RegisterIconFormatComponent(common::ProgramKind::Editor);
  document::RegisterIconFormatComponent(common::ProgramKind::Monitor);
  auto a = common::CreateObject("vrdeditor.ciconformat");
  auto b = common::CreateObject("ZEPMonitor.CIconFormat");
  ASSERT_TRUE(a && b);
  EXPECT_NE(a, b);

  const std::pair<common::DispId, const char*> members[] = {
      {0x68030000, "Top"},           {0x68030001, "NameColor"},       {0x68030002, "Left"},
      {0x68030003, "LeaderY"},       {0x68030004, "LeaderX"},         {0x68030005, "LeaderColor"},
      {0x68030006, "LeaderBendPoint"}, {0x68030007, "IsLeaderVertical"}, {0x68030008, "FontColor"},
      {0x68030009, "FontBold"},      {0x6803000A, "FontSize"},        {0x6803000B, "FontName"},
      {0x6803000C, "DrawTagLine"},   {0x6803000D, "DisplayDigits"},   {0x60030010, "Copy"},
      {0x60030012, "Paste"},         {0x60030013, "Reset"},
  };
  for (const auto& [id, name] : members) EXPECT_EQ(a->IdOfName(name), id) << name;

  a->Put(0x6803000A, Variant(int16_t{40}));
  EXPECT_EQ(a->Get(0x6803000A).ToLong(), 24);
  a->PutByName("Left", Variant(int32_t{-7}));
  EXPECT_EQ(a->GetByName("left").ToLong(), 0);
  a->PutByName("FontName", Variant("Arial"));
  a->PutByName("Top", Variant(int32_t{300}));
  b->CallByName("Copy", {Variant(a)});  // location left out
  EXPECT_EQ(b->GetByName("FontName").ToString(), "Arial");
  EXPECT_EQ(b->GetByName("Left").ToLong(), 100);
  b->CallByName("Copy", {Variant(a), Variant(true)});
  EXPECT_EQ(b->GetByName("Top").ToLong(), 300);
  b->CallByName("Reset", {Variant(true)});
  EXPECT_EQ(b->GetByName("Top").ToLong(), 100);
  EXPECT_EQ(b->GetByName("FontName").ToString(), "Courier New");
  a->Call(0x60030012, {Variant(b)});  // paste a into b
  EXPECT_EQ(b->GetByName("FontName").ToString(), "Arial");
  EXPECT_THROW(a->CallByName("Copy"), common::AutomationError);

  // The class registration is in the settings store.
  EXPECT_EQ(common::RegEntry().GetClassID("VRDEditor.CIconFormat"), "{6B1D3C52-0E4A-4F7B-9C21-5A8E2D7F1C01}");
  EXPECT_EQ(common::RegEntry().GetClassID("ZEPMonitor.CIconFormat"), "{6B1D3C52-0E4A-4F7B-9C21-5A8E2D7F1C02}");
  common::ComponentRegistry::Instance().Unregister("VRDEditor.CIconFormat");
  common::ComponentRegistry::Instance().Unregister("ZEPMonitor.CIconFormat");
}
