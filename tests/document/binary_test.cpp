// The binary form: exact bytes of the items and records, round trips, older versions, and
// cut, corrupt or random files that must fail cleanly.

#include <gtest/gtest.h>

#include <random>

#include "common/automation_error.h"
#include "document/binary_stream.h"
#include "document/slide_show.h"
#include "document_fixture.h"
#include "support/temp_home.h"

using namespace zephra;
using common::Variant;
using document::BinaryStream;
using document::SlideShow;

namespace {

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(static_cast<char>(b));
  return s;
}

std::string Str(const std::string& s) { return Bytes({static_cast<int>(s.size()), 0}) + s; }
std::string Int(int16_t v) { return Bytes({v & 0xFF, (v >> 8) & 0xFF}); }
std::string Long(int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  return Bytes({static_cast<int>(u & 0xFF), static_cast<int>((u >> 8) & 0xFF), static_cast<int>((u >> 16) & 0xFF),
                static_cast<int>(u >> 24)});
}
std::string Dbl(double d) {
  BinaryStream s;
  s.OpenMemory();
  s.WriteDouble(d);
  return s.Bytes().substr(7);
}

// A small show with something in every field, used for round trips and cuts.
void Fill(SlideShow& show) {
  show.SetName("Bracket");
  show.SetDescription("Ä description");
  show.SetCustomer("Customer");
  show.SetHelpFile("/help/bracket.html");
  show.SetHelpTopic(-5);
  for (int s = 1; s <= 2; ++s) {
    auto slide = show.Slides().Add();
    slide->SetName("Slide " + std::to_string(s));
    slide->SetEnabled(s == 1);
    slide->SetPictureFileUnchecked("/pictures/p" + std::to_string(s) + ".svg");
    slide->SetBackColor(0x00112233 * s);
    slide->SetPicturePosition(1, 2, 3, 4);
    slide->SetHelpTopic(static_cast<int16_t>(s * 100));
    for (int i = 1; i <= s; ++i) {
      auto icon = slide->Icons().Add();
      icon->SetFeatureName("Loc" + std::to_string(i));
      icon->SetDimensionType(9);
      icon->SetLeft(11);
      icon->SetTop(999);
      icon->SetLeaderColor(-1);
      icon->SetLeaderX(0);
      icon->SetLeaderY(1000);
      icon->SetDrawLeader(false);
      icon->SetLeaderBendPoint(0);
      icon->SetIsLeaderVertical(true);
      icon->IconFormat()->SetDisplayDigits(15);
      icon->SetFontName("Arial");
      icon->SetFontSize(24);
      icon->SetFontBold(false);
      icon->SetFontColor(0xFF);
      icon->SetNameColor(0x8000000A);
      for (int v = 0; v < 3; ++v) {
        auto value = icon->Values().Add();
        value->SetValueType("DA" + std::to_string(v));
        value->SetUniqueID(std::to_string(v) + "|9");
        value->SetAxisLetter(v == 0 ? "X" : v == 1 ? "TP" : "D");
        value->SetGeometricSymbol(20 + v);
        value->SetColumn(static_cast<int16_t>(v == 2 ? 7 : v * 2));
        value->SetFormat(static_cast<int16_t>(v + 1));
        value->SetPercentageFraction(0.125);
        value->SetTOLERANCE(v - 1);
        value->SetIsLimitTolerance(v == 1);
        value->SetCurrentValue(v == 2 ? Variant("kept") : Variant());
        value->SetMeasured(25.012 + v);
        value->SetNominal(25);
        value->SetDeviation(0.012);
        value->SetOutTol(1e-9);
        value->SetPlusTol(0.05);
        value->SetMinusTol(0.04);
        value->SetSoftPlusTol(0.04);
        value->SetSoftMinusTol(0.032);
      }
    }
  }
}

std::string LoadError(const std::string& bytes) {
  SlideShow show(document::kMonitorMessages);
  try {
    show.LoadFromMemory(bytes);
  } catch (const common::AutomationError& e) {
    return std::to_string(e.Number());
  }
  return "loaded";
}

}  // namespace

class BinaryForm : public zephra::testing::DocumentTest {};

TEST_F(BinaryForm, AnEmptyShowIsExactly42Bytes) {
  SlideShow show(document::kMonitorMessages);
  const std::string bytes = show.ToBinaryBytes();
  EXPECT_EQ(bytes, "ZEPFILE" + Str("### | 1 | 22-feb-02") + Str("") + Str("") + Str("") + Str("") + Int(0) + Long(0));
  EXPECT_EQ(bytes.size(), 42u);
  auto back = Load(bytes);
  EXPECT_TRUE(back->Binary());
  EXPECT_EQ(back->BinaryVersion(), 1);
  EXPECT_EQ(back->BinaryHeader(), "### | 1 | 22-feb-02");
  EXPECT_EQ(back->Slides().Count(), 0);
}

TEST_F(BinaryForm, ItemsAreWrittenLittleEndianBackToBack) {
  struct Case {
    const char* name;
    std::function<void(BinaryStream&)> write;
    std::string bytes;
  };
  const Case cases[] = {
      {"integer", [](BinaryStream& s) { s.WriteInteger(-2); }, Bytes({0xFE, 0xFF})},
      {"long", [](BinaryStream& s) { s.WriteLong(0x01020304); }, Bytes({4, 3, 2, 1})},
      {"boolean true", [](BinaryStream& s) { s.WriteBoolean(true); }, Bytes({0xFF, 0xFF})},
      {"boolean false", [](BinaryStream& s) { s.WriteBoolean(false); }, Bytes({0, 0})},
      {"single", [](BinaryStream& s) { s.WriteSingle(1.0f); }, Bytes({0, 0, 0x80, 0x3F})},
      {"double", [](BinaryStream& s) { s.WriteDouble(-2.0); }, Bytes({0, 0, 0, 0, 0, 0, 0, 0xC0})},
      {"string", [](BinaryStream& s) { s.WriteString("ab"); }, Bytes({2, 0, 'a', 'b'})},
      {"empty variant", [](BinaryStream& s) { s.WriteVariant(Variant()); }, Bytes({0, 0})},
      {"null variant", [](BinaryStream& s) { s.WriteVariant(Variant::Null()); }, Bytes({1, 0})},
      {"integer variant", [](BinaryStream& s) { s.WriteVariant(Variant(int16_t{5})); }, Bytes({2, 0, 5, 0})},
      {"long variant", [](BinaryStream& s) { s.WriteVariant(Variant(int32_t{-1})); }, Bytes({3, 0, 255, 255, 255, 255})},
      {"double variant", [](BinaryStream& s) { s.WriteVariant(Variant(0.5)); }, Int(5) + Dbl(0.5)},
      {"string variant", [](BinaryStream& s) { s.WriteVariant(Variant("x")); }, Bytes({8, 0, 1, 0, 'x'})},
      {"boolean variant", [](BinaryStream& s) { s.WriteVariant(Variant(true)); }, Bytes({11, 0, 255, 255})},
      {"date variant", [](BinaryStream& s) { s.WriteVariant(Variant::Date(1.5)); }, Bytes({7, 0})},
      {"byte variant", [](BinaryStream& s) { s.WriteVariant(Variant(uint8_t{3})); }, Bytes({17, 0})},
  };
  for (const Case& c : cases) {
    BinaryStream s;
    s.OpenMemory();
    c.write(s);
    EXPECT_EQ(s.Bytes(), "ZEPFILE" + c.bytes) << c.name;
  }
  // Reading: kinds that are not stored come back as the long 10; any non-zero Boolean is true.
  BinaryStream r;
  ASSERT_TRUE(r.OpenBytes("ZEPFILE" + Bytes({7, 0, 17, 0, 1, 0, 0xFE, 0xFF, 0, 0})));
  Variant v;
  r.GetVariant(v);
  EXPECT_EQ(v.Type(), common::VarType::Long);
  EXPECT_EQ(v.ToLong(), 10);
  r.GetVariant(v);
  EXPECT_EQ(v.ToLong(), 10);
  bool b = false;
  r.GetBoolean(b);
  EXPECT_TRUE(b);
  std::string text = "old";
  r.GetString(text);  // length -2: an empty string, nothing more read
  EXPECT_EQ(text, "");
  r.GetString(text);
  EXPECT_EQ(text, "");
  EXPECT_EQ(r.Position(), r.Size());
}

TEST_F(BinaryForm, EveryStoredFieldRoundTripsThroughBothForms) {
  SlideShow show(document::kMonitorMessages);
  Fill(show);
  const std::string bytes = show.ToBinaryBytes();
  auto back = Load(bytes);
  EXPECT_EQ(back->ToBinaryBytes(), bytes);
  ASSERT_EQ(back->Slides().Count(), 2);
  const auto& icon = back->Slides().Item(2)->Icons().Item(1);
  EXPECT_EQ(icon->Name(), "Loc1");  // the binary form keeps the letter case
  EXPECT_EQ(icon->FeatureName(), "LOC1");
  EXPECT_EQ(icon->NameColor(), static_cast<int32_t>(0x8000000A));
  const auto& tp = icon->Values().Item(2);
  EXPECT_EQ(tp->CurrentValue().Type(), common::VarType::Double);  // column 2: the plus tolerance
  EXPECT_DOUBLE_EQ(tp->CurrentValue().ToDouble(), 0.05);
  EXPECT_DOUBLE_EQ(tp->SoftMinusTol(), 0.032);
  EXPECT_TRUE(tp->GotTols());
  EXPECT_EQ(tp->BinaryVersion(), 1);
  EXPECT_EQ(icon->Values().Item(3)->CurrentValue().ToString(), "kept");

  // Binary to text and back to binary: the same bytes, apart from what the text form does not
  // hold (soft limits, the shown name's letter case), which the text round trip leaves out.
  auto viaText = Load(back->ToText());
  EXPECT_EQ(viaText->ToText(), back->ToText());
  auto again = Load(viaText->ToBinaryBytes());
  EXPECT_EQ(again->ToText(), back->ToText());
}

TEST_F(BinaryForm, AVersion0FileHasNoHeaderAndNoTolerances) {
  const std::string value = Str("DA") + Str("1|2") + Str("D") + Long(4) + Int(4) + Int(3) + Dbl(0.8) + Long(6) +
                            Int(0) + Int(5) + Dbl(0.03) + Dbl(12.03) + Dbl(12) + Dbl(0.03) + Dbl(0.01);
  const std::string icon = Long(1) + Long(2) + Long(3) + Long(4) + Long(5) + Int(-1) + Int(60) + Int(0) + Int(4) +
                           Str("Courier New") + Int(12) + Int(-1) + Long(0) + Long(0) + Long(7) + Str("Dia1") +
                           Long(1) + value;
  const std::string slide = Str("S") + Int(-1) + Str("") + Long(0) + Int(10) + Int(10) + Int(80) + Int(80) + Int(0) +
                            Long(1) + icon;
  const std::string file = "ZEPFILE" + Str("Old show") + Str("d") + Str("c") + Str("") + Int(0) + Long(1) + slide;
  auto show = Load(file);
  EXPECT_EQ(show->Name(), "Old show");
  EXPECT_EQ(show->BinaryHeader(), "");
  EXPECT_EQ(show->BinaryVersion(), 0);
  const auto& v = show->Slides().Item(1)->Icons().Item(1)->Values().Item(1);
  EXPECT_FALSE(v->GotTols());
  EXPECT_EQ(v->PlusTol(), 0);
  EXPECT_EQ(v->TOLERANCE(), 6);
  EXPECT_DOUBLE_EQ(v->Measured(), 12.03);
  // A version-0 file saved again is version 1.
  EXPECT_EQ(Load(show->ToBinaryBytes())->BinaryVersion(), 1);
  // The record ends exactly at the end of the file: one byte less fails.
  EXPECT_EQ(LoadError(file.substr(0, file.size() - 1)), "62");
}

TEST_F(BinaryForm, AHeaderWithoutAUsableVersionBecomesTheName) {
  for (const char* header : {"### | 0 | x", "###", "### | one |"}) {
    const std::string file = "ZEPFILE" + Str(header) + Str("dropped") + Str("desc") + Str("") + Str("") + Int(2) + Long(0);
    auto show = Load(file);
    EXPECT_EQ(show->Name(), header);
    EXPECT_EQ(show->Description(), "desc");
    EXPECT_EQ(show->HelpTopic(), 2);
    EXPECT_EQ(show->BinaryVersion(), 0);
  }
}

TEST_F(BinaryForm, TrailingBytesAreIgnoredAndTheFormIsRecognisedFromTheFile) {
  zephra::testing::TempDir dir;
  SlideShow show(document::kMonitorMessages);
  Fill(show);
  const std::string bytes = show.ToBinaryBytes();
  const std::string path = dir.Write("run.zpx", bytes + std::string(100, 'x'));
  SlideShow back(document::kMonitorMessages);
  back.LoadFromFile(path);
  EXPECT_TRUE(back.Binary());
  EXPECT_EQ(back.ToBinaryBytes(), bytes);
  back.SaveToFile(dir.File("run.zep"));
  EXPECT_FALSE(back.Binary());
  SlideShow text(document::kMonitorMessages);
  text.LoadFromFile(dir.File("run.zep"));
  EXPECT_FALSE(text.Binary());
  text.SaveToBinary(path);  // over the longer file: nothing of the old tail stays
  EXPECT_TRUE(text.Binary());
  EXPECT_EQ(zephra::testing::ReadAll(path), text.ToBinaryBytes());
}

TEST_F(BinaryForm, AFileCutAtAnyByteFailsCleanly) {
  SlideShow show(document::kMonitorMessages);
  Fill(show);
  const std::string bytes = show.ToBinaryBytes();
  EXPECT_EQ(LoadError(bytes), "loaded");
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    const std::string e = LoadError(bytes.substr(0, cut));
    // Shorter than the magic it is read as text, which fails too.
    const bool ok = cut < BinaryStream::kMagic.size() ? (e == "1001" || e == "5000") : (e == "62" || e == "1001");
    EXPECT_TRUE(ok) << "cut at " << cut << " gave " << e;
  }
}

TEST_F(BinaryForm, CountsTheFileCannotHoldAreRefusedBeforeAnythingIsMade) {
  const std::string head = "ZEPFILE" + Str("### | 1 |") + Str("n") + Str("") + Str("") + Str("") + Int(0);
  struct Case {
    const char* name;
    std::string file;
    const char* description;
  };
  const Case cases[] = {
      {"two billion slides", head + Long(2000000000),
       "Byte 29: the file claims 2000000000 records of kind Slide, more than the 0 bytes after it can hold."},
      {"negative slides", head + Long(-1) + std::string(100, '\0'),
       "Byte 29: the file claims -1 records of kind Slide, more than the 100 bytes after it can hold."},
      {"icons", head + Long(1) + Str("") + Int(0) + Str("") + Long(0) + std::string(10, '\0') + Long(1000000),
       "Byte 53: the file claims 1000000 records of kind Icon, more than the 0 bytes after it can hold."},
  };
  for (const Case& c : cases) {
    SlideShow show(document::kMonitorMessages);
    try {
      show.LoadFromMemory(c.file);
      ADD_FAILURE() << c.name << " loaded";
    } catch (const common::AutomationError& e) {
      EXPECT_EQ(e.Number(), 1001) << c.name;
      EXPECT_EQ(e.Source(), "Slide Show") << c.name;
      EXPECT_EQ(e.Description(), c.description) << c.name;
    }
  }
  // A string longer than the rest of the file is input past its end.
  SlideShow show(document::kMonitorMessages);
  try {
    show.LoadFromMemory("ZEPFILE" + Int(30000) + "abc");
    FAIL();
  } catch (const common::AutomationError& e) {
    EXPECT_EQ(e.Number(), 62);
    EXPECT_EQ(e.Description(), "Input past end of file: 30000 bytes wanted at byte 9, but the file has 12 bytes.");
  }
}

// Random and mutated input to both readers: every load either succeeds or raises an
// AutomationError (run under the sanitizers as well).
TEST_F(BinaryForm, RandomAndMutatedFilesNeverCrashEitherReader) {
  SlideShow show(document::kMonitorMessages);
  Fill(show);
  const std::string binary = show.ToBinaryBytes();
  const std::string text = show.ToText();
  std::mt19937 rng(20260211);
  auto mutate = [&](std::string s) {
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < edits && !s.empty(); ++i) {
      const size_t at = rng() % s.size();
      switch (rng() % 4) {
        case 0: s[at] = static_cast<char>(rng()); break;
        case 1: s.erase(at, 1 + rng() % 16); break;
        case 2: s.insert(at, 1, static_cast<char>(rng())); break;
        default: s[at] = static_cast<char>(s[at] ^ (1 << (rng() % 8))); break;
      }
    }
    return s;
  };
  int loaded = 0;
  for (int i = 0; i < 3000; ++i) {
    std::string input;
    switch (i % 4) {
      case 0: input = mutate(binary); break;
      case 1: input = mutate(text); break;
      case 2: {
        input = "ZEPFILE";
        const size_t n = rng() % 200;
        for (size_t k = 0; k < n; ++k) input.push_back(static_cast<char>(rng()));
        break;
      }
      default: {
        const size_t n = rng() % 200;
        for (size_t k = 0; k < n; ++k) input.push_back(static_cast<char>(rng() % 2 ? rng() : "BLOCK=END\r\n\t"[rng() % 12]));
        break;
      }
    }
    loaded += LoadError(input) == "loaded";
  }
  EXPECT_GT(loaded, 0);
}
