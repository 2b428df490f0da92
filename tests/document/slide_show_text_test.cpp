// The text form of slide shows: the exact layout written, reading it back, structure errors and
// unknown keys, and which message numbers the editor's and the monitor's copies use.

#include <gtest/gtest.h>

#include <cstdlib>

#include "common/automation_error.h"
#include "common/paths.h"
#include "document/document_io.h"
#include "document/slide_show.h"
#include "document_fixture.h"
#include "support/temp_home.h"

using namespace zephra;
using document::SlideShow;
using zephra::testing::Crlf;

namespace {

// A default show with one default slide, one default icon and one default value, as written.
const std::string kDefaultTree = Crlf({
    "BLOCK SlideShow",
    "\tNAME=",
    "\tDESCRIPTION=",
    "\tCUSTOMER=",
    "\tHELPFILE=",
    "\tHELPTOPIC=0",
    "\tBLOCK Slide",
    "\t\tNAME=New Slide",
    "\t\tENABLED=True",
    "\t\tGRAPHIC=",
    "\t\tBACKCOLOR=-2147483633",
    "\t\tLEFT=10",
    "\t\tTOP=10",
    "\t\tWIDTH=80",
    "\t\tHEIGHT=80",
    "\t\tHELPTOPIC=0",
    "\t\tBLOCK Icon",
    "\t\t\tFEATURENAME=NEWICON",
    "\t\t\tDIMENSIONTYPE=0",
    "\t\t\tLEFT=100",
    "\t\t\tTOP=100",
    "\t\t\tDRAWLEADER=True",
    "\t\t\tLEADERCOLOR=0",
    "\t\t\tLEADERX=500",
    "\t\t\tLEADERY=500",
    "\t\t\tBENDPOINT=60",
    "\t\t\tISVERTICAL=False",
    "\t\t\tDISPLAYDIGITS=4",
    "\t\t\tFONTNAME=Courier New",
    "\t\t\tFONTSIZE=12",
    "\t\t\tFONTBOLD=True",
    "\t\t\tFONTCOLOR=0",
    "\t\t\tNAMECOLOR=-2147483633",
    "\t\t\tBLOCK Value",
    "\t\t\t\tTYPE=DA",
    "\t\t\t\tUNIQUEID=",
    "\t\t\t\tAXISLETTER=",
    "\t\t\t\tSYMBOL=1",
    "\t\t\t\tCOLUMN=4",
    "\t\t\t\tPERCENTAGE=0.8",
    "\t\t\t\tVALUE=DOUBLE|0",
    "\t\t\t\tMEASURED=0",
    "\t\t\t\tNOMINAL=0",
    "\t\t\t\tPLUSTOL=0",
    "\t\t\t\tMINUSTOL=0",
    "\t\t\t\tDEVIATION=0",
    "\t\t\t\tOUTTOL=0",
    "\t\t\t\tFORMAT=3",
    "\t\t\t\tTOLERANCE=0",
    "\t\t\t\tISLIMIT=False",
    "\t\t\tEND",
    "\t\tEND",
    "\tEND",
    "END",
});

struct ErrorCase {
  const char* name;
  std::string text;
  int32_t number;
  const char* source;
  const char* description;
};

// A message text with its unused placeholders taken out.
std::string Filled(std::string s) {
  for (int i = 0; i <= 9; ++i) {
    const std::string p = "%" + std::to_string(i) + "%";
    for (size_t at; (at = s.find(p)) != std::string::npos;) s.erase(at, p.size());
  }
  return s;
}

std::string ErrorOf(SlideShow& show, const std::string& text) {
  try {
    show.LoadFromMemory(text);
  } catch (const common::AutomationError& e) {
    return std::to_string(e.Number()) + " | " + e.Source() + " | " + e.Description();
  }
  return "no error";
}

}  // namespace

class SlideShowText : public zephra::testing::DocumentTest {};

TEST_F(SlideShowText, AnEmptyShowIsTheFiveShowKeysAndReadsBackWithoutSlides) {
  SlideShow show(document::kMonitorMessages);
  EXPECT_EQ(show.ToText(), Crlf({"BLOCK SlideShow", "\tNAME=", "\tDESCRIPTION=", "\tCUSTOMER=", "\tHELPFILE=",
                                 "\tHELPTOPIC=0", "END"}));
  auto back = Load(show.ToText());
  EXPECT_EQ(back->Slides().Count(), 0);
  EXPECT_EQ(back->CurrentPosition(), 0);
  back->MoveNext();
  EXPECT_EQ(back->CurrentPosition(), 0);
  EXPECT_TRUE(back->IsLastSlide());
  EXPECT_FALSE(back->Binary());
}

TEST_F(SlideShowText, DefaultsAreWrittenInTheFixedLayoutAndReadBackUnchanged) {
  SlideShow show(document::kMonitorMessages);
  show.Slides().Add()->Icons().Add()->Values().Add();
  EXPECT_EQ(show.ToText(), kDefaultTree);
  auto back = Load(kDefaultTree);
  EXPECT_EQ(back->ToText(), kDefaultTree);
  EXPECT_TRUE(Prompts().Records().empty());
}

TEST_F(SlideShowText, FieldsSurviveASaveToDiskAndKeysMayComeInAnyOrder) {
  zephra::testing::TempDir dir;
  SlideShow show(document::kMonitorMessages);
  show.SetName("Bracket = top");
  show.SetDescription("Größe; with ; semicolons");
  show.SetCustomer("Werk 2");
  show.SetHelpFile("/opt/help/bracket.html");
  show.SetHelpTopic(12);
  auto slide = show.Slides().Add();
  slide->SetName("Front View");
  slide->SetEnabled(false);
  slide->SetBackColor(0x00336699);
  slide->SetPicturePosition(5, 0, 100, 45);
  slide->SetHelpTopic(-3);
  slide->SetPictureFileUnchecked("/pictures/front.svg");
  auto icon = slide->Icons().Add();
  icon->SetFeatureName("Loc1");
  icon->SetDimensionType(9);
  icon->SetLeft(1000);
  icon->SetLeaderColor(255);
  icon->SetIsLeaderVertical(true);
  icon->SetFontName("Arial");
  auto value = icon->Values().Add();
  value->SetAxisLetter("TP");
  value->SetUniqueID("7|42");
  value->SetColumn(9);  // not a number column: VALUE keeps what it holds
  value->SetCurrentValue(common::Variant("a text"));
  value->SetMeasured(25.012);
  value->SetNominal(1e-05);
  value->SetPlusTol(1.5e20);
  value->SetTOLERANCE(6);
  value->SetIsLimitTolerance(true);

  const std::string path = dir.File("show.zep");
  show.SaveToFile(path);
  const std::string written = zephra::testing::ReadAll(path);
  EXPECT_EQ(written, show.ToText());
  EXPECT_NE(written.find("\t\t\t\tVALUE=STRING|a text\r\n\t\t\t\tMEASURED=25.012\r\n\t\t\t\tNOMINAL=1E-05\r\n"
                         "\t\t\t\tPLUSTOL=1.5E+20\r\n"),
            std::string::npos);

  SlideShow back(document::kMonitorMessages);
  back.LoadFromFile(path);
  EXPECT_EQ(back.ToText(), written);
  EXPECT_EQ(back.Slides().Item(1)->Icons().Item(1)->Name(), "LOC1");  // only FEATURENAME is stored

  // Keys in another order, mixed with the slide block, given twice: the last one counts.
  auto shuffled = Load(Crlf({"BLOCK SlideShow", "HELPTOPIC=1", "BLOCK Slide", "top=7", "NAME=A", "END",
                             "NAME=first", "name=second", "END"}));
  EXPECT_EQ(shuffled->Name(), "second");
  EXPECT_EQ(shuffled->HelpTopic(), 1);
  EXPECT_EQ(shuffled->Slides().Item(1)->Top(), 7);
  EXPECT_EQ(shuffled->Slides().Item(1)->Left(), 10);
}

TEST_F(SlideShowText, ALineBreakInsideATextCannotBreakTheFile) {
  SlideShow show(document::kMonitorMessages);
  show.SetName("two\r\nEND\r\nlines");
  auto back = Load(show.ToText());
  EXPECT_EQ(back->Name(), "two  END  lines");
}

TEST_F(SlideShowText, StructureAndConversionErrorsNameTheLine) {
  const ErrorCase cases[] = {
      {"first block is a slide", Crlf({"BLOCK Slide", "END"}), 1001, "Slide Show",
       "Line 1: BLOCK SLIDESHOW expected, BLOCK SLIDE found."},
      {"starts with a key", Crlf({"NAME=x"}), 1001, "Slide Show", "Line 1: the file does not start with a block."},
      {"empty file", "", 1001, "Slide Show", "Line 0: the file does not start with a block."},
      {"text after the end", Crlf({"BLOCK SlideShow", "END", "", "NAME=x"}), 1001, "Slide Show",
       "Line 4: unexpected text after the final END."},
      {"icon directly in the show", Crlf({"BLOCK SlideShow", "BLOCK Icon"}), 1001, "Slide Show",
       "Line 2: BLOCK SLIDE expected, BLOCK ICON found."},
      {"value directly in a slide", Crlf({"BLOCK SlideShow", "BLOCK Slide", "BLOCK Value"}), 1001, "Slide",
       "Line 3: BLOCK ICON expected, BLOCK VALUE found."},
      {"slide in an icon", Crlf({"BLOCK SlideShow", "BLOCK Slide", "BLOCK Icon", "BLOCK Slide"}), 1001, "Icon",
       "Line 4: BLOCK VALUE expected, BLOCK SLIDE found."},
      {"block in a value", Crlf({"BLOCK SlideShow", "BLOCK Slide", "BLOCK Icon", "BLOCK Value", "BLOCK x"}), 1001,
       "Icon Value", "Line 5: BLOCK none expected, BLOCK X found."},
      {"letters for a number", Crlf({"BLOCK SlideShow", "HELPTOPIC=abc"}), 13, "Slide Show",
       "Line 2: the value of HELPTOPIC cannot be read (Type mismatch)."},
      {"16-bit overflow", Crlf({"BLOCK SlideShow", "BLOCK Slide", "LEFT=40000"}), 6, "Slide",
       "Line 3: the value of LEFT cannot be read (Overflow)."},
      {"not a boolean", Crlf({"BLOCK SlideShow", "BLOCK Slide", "BLOCK Icon", "FONTBOLD=maybe"}), 13, "Icon",
       "Line 4: the value of FONTBOLD cannot be read (Type mismatch)."},
      {"bad tagged value", Crlf({"BLOCK SlideShow", "BLOCK Slide", "BLOCK Icon", "BLOCK Value", "VALUE=LONG|x1"}),
       13, "Icon Value", "Line 5: the value of VALUE cannot be read (Type mismatch)."},
      {"syntax error", Crlf({"BLOCK SlideShow", "what is this"}), 5000, "BlockParse.GetToken",
       "Syntax error in line 2."},
  };
  for (const ErrorCase& c : cases) {
    SlideShow show(document::kMonitorMessages);
    EXPECT_EQ(ErrorOf(show, c.text), std::to_string(c.number) + " | " + c.source + " | " + c.description) << c.name;
  }
}

TEST_F(SlideShowText, AFileEndingInsideABlockKeepsWhatWasRead) {
  auto show = Load(Crlf({"BLOCK SlideShow", "NAME=cut", "BLOCK Slide", "NAME=one", "END", "BLOCK Slide", "NAME=two",
                         "BLOCK Icon", "FEATURENAME=a", "BLOCK Value", "AXISLETTER=X", "END", "BLOCK Value",
                         "AXISLETTER=Y"}));
  ASSERT_EQ(show->Slides().Count(), 2);
  EXPECT_EQ(show->Slides().Item(2)->Name(), "two");
  const auto& icon = show->Slides().Item(2)->Icons().Item(1);
  ASSERT_EQ(icon->Values().Count(), 2);
  EXPECT_EQ(icon->Values().Item(2)->AxisLetter(), "Y");
  EXPECT_EQ(icon->Version(), 2);  // FEATURENAME and the end of the block
}

TEST_F(SlideShowText, UnknownKeysAreShownOnceEachAndReadingGoesOn) {
  auto show = Load(Crlf({"BLOCK SlideShow", "COLOR=1", "BLOCK Slide", "KEY=ignored silently", "SHADOW=2",
                         "BLOCK Icon", "SIZE=3", "BLOCK Value", "unit=mm", "AXISLETTER=D", "END", "END", "NAME=s",
                         "END", "END"}));
  const auto& r = Prompts().Records();
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(r[0].text, "Unknown key in SlideShow: COLOR. The key is ignored.");
  EXPECT_EQ(r[0].title, "Slide Show");
  EXPECT_EQ(r[0].options, common::mb::OK);
  EXPECT_EQ(r[1].text, "Unknown key in Slide: SHADOW. The key is ignored.");
  EXPECT_EQ(r[1].title, "Slide");
  EXPECT_EQ(r[2].text, "Unknown key in Icon: SIZE. The key is ignored.");
  EXPECT_EQ(r[2].title, "Icon");
  EXPECT_EQ(r[3].text, "Unknown key in Icon Value: UNIT. The key is ignored.");
  EXPECT_EQ(r[3].title, "Icon Value");
  EXPECT_EQ(show->Slides().Item(1)->Name(), "s");
  EXPECT_EQ(show->Slides().Item(1)->Icons().Item(1)->Values().Item(1)->AxisLetter(), "D");
}

// Every message the document raises, with catalogues whose texts show their own numbers, for
// the editor's copy and the monitor's.
TEST_F(SlideShowText, TheEditorAndTheMonitorUseTheirOwnMessageNumbers) {
  zephra::testing::TempDir data;
  std::string en30, en31;
  for (int n = 0; n < 1000; ++n) {
    en30 += std::to_string(30000 + n) + "\t#" + std::to_string(30000 + n) + "(%0%,%1%,%2%,%3%)\n";
    en31 += std::to_string(31000 + n) + "\t#" + std::to_string(31000 + n) + "(%0%,%1%,%2%,%3%)\n";
  }
  data.Write("lang/ENU30000.txt", en30);
  data.Write("lang/ENU31000.txt", en31);
  const char* old = std::getenv("ZEPHRA_DATA_DIR");
  const std::string oldValue = old ? old : "";
  ::setenv("ZEPHRA_DATA_DIR", data.Path().c_str(), 1);
  common::SetLanguage(common::kLanguageEnglish);

  struct Case {
    std::string text;
    const char* monitor;
    const char* editor;
  };
  const Case cases[] = {
      {Crlf({"BLOCK Slide"}), "1001 | #30085(,,,) | #30081(BLOCK,1,SLIDESHOW,SLIDE)",
       "1001 | #31085(,,,) | #31081(BLOCK,1,SLIDESHOW,SLIDE)"},
      {Crlf({"X=1"}), "1001 | #30085(,,,) | #30086(1,,,)", "1001 | #31085(,,,) | #31086(1,,,)"},
      {Crlf({"BLOCK SlideShow", "END", "END"}), "1001 | #30085(,,,) | #30087(3,,,)",
       "1001 | #31085(,,,) | #31087(3,,,)"},
      {Crlf({"BLOCK SlideShow", "BLOCK Slide", "BLOCK Slide"}), "1001 | #30082(,,,) | #30081(BLOCK,3,ICON,SLIDE)",
       "1001 | #31082(,,,) | #31081(BLOCK,3,ICON,SLIDE)"},
      {Crlf({"BLOCK SlideShow", "BLOCK Slide", "BLOCK Icon", "BLOCK Icon"}),
       "1001 | #30080(,,,) | #30081(BLOCK,4,VALUE,ICON)", "1001 | #31127(,,,) | #31081(BLOCK,4,VALUE,ICON)"},
      {Crlf({"BLOCK SlideShow", "BLOCK Slide", "BLOCK Icon", "BLOCK Value", "BLOCK"}),
       "1001 | #30089(,,,) | #30081(BLOCK,5,none,)", "1001 | #31089(,,,) | #31081(BLOCK,5,none,)"},
      {Crlf({"BLOCK SlideShow", "HELPTOPIC=x"}), "13 | #30085(,,,) | #30090(2,HELPTOPIC,Type mismatch,)",
       "13 | #31085(,,,) | #31090(2,HELPTOPIC,Type mismatch,)"},
      {Crlf({"BLOCK SlideShow", "?"}), "5000 | BlockParse.GetToken | #30045(2,,,)",
       "5000 | BlockParse.GetToken | #31045(2,,,)"},
      {"ZEPFILE\x01", "62 | BinaryStream | #30084(2,7,8,)", "62 | BinaryStream | #31084(2,7,8,)"},
  };
  for (const Case& c : cases) {
    SlideShow monitor(document::kMonitorMessages);
    EXPECT_EQ(Filled(ErrorOf(monitor, c.text)), c.monitor);
    SlideShow editor(document::kEditorMessages);
    EXPECT_EQ(Filled(ErrorOf(editor, c.text)), c.editor);
  }

  // Unknown keys and the name of a new slide.
  for (const auto* profile : {&document::kMonitorMessages, &document::kEditorMessages}) {
    ClearPrompts();
    SlideShow show(*profile);
    show.LoadFromMemory(Crlf({"BLOCK SlideShow", "A=1", "BLOCK Slide", "B=2", "BLOCK Icon", "C=3", "BLOCK Value",
                              "D=4"}));
    const std::string b = profile == &document::kEditorMessages ? "31" : "30";
    const auto& r = Prompts().Records();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(Filled(r[0].text + r[0].title), "#" + b + "088(SlideShow,A,,)#" + b + "085(,,,)");
    EXPECT_EQ(Filled(r[1].text + r[1].title), "#" + b + "088(Slide,B,,)#" + b + "082(,,,)");
    EXPECT_EQ(Filled(r[2].text + r[2].title), "#" + b + "088(Icon,C,,)" + (b == "31" ? "#31127(,,,)" : "#30080(,,,)"));
    EXPECT_EQ(Filled(r[3].text + r[3].title), "#" + b + "088(Icon Value,D,,)#" + b + "089(,,,)");
    EXPECT_EQ(Filled(show.Slides().Add()->Name()), b == "31" ? "#31217(,,,)" : "#30127(,,,)");
  }

  // Without an explicit profile the current program decides.
  common::SetCurrentProgram(common::ProgramKind::Editor);
  EXPECT_EQ(Filled(SlideShow().Slides().Add()->Name()), "#31217(,,,)");
  common::SetCurrentProgram(common::ProgramKind::Monitor);
  EXPECT_EQ(Filled(SlideShow().Slides().Add()->Name()), "#30127(,,,)");
  common::SetCurrentProgram(common::ProgramKind::Tool);

  if (old) {
    ::setenv("ZEPHRA_DATA_DIR", oldValue.c_str(), 1);
  } else {
    ::unsetenv("ZEPHRA_DATA_DIR");
  }
  common::SetLanguage(common::kLanguageEnglish);
}

TEST_F(SlideShowText, RelativePicturePathsAreTakenFromTheShowsFolder) {
  zephra::testing::TempDir dir;
  const std::string path = dir.Write("shows/a.zep", Crlf({"BLOCK SlideShow", "BLOCK Slide", "GRAPHIC=pictures/f.svg",
                                                          "END", "BLOCK Slide", "GRAPHIC=/abs/g.svg", "END",
                                                          "BLOCK Slide", "END", "END"}));
  SlideShow show(document::kMonitorMessages);
  show.LoadFromFile(path);
  EXPECT_EQ(show.Slides().Item(1)->PictureFile(), dir.Path() + "/shows/pictures/f.svg");
  EXPECT_EQ(show.Slides().Item(2)->PictureFile(), "/abs/g.svg");
  EXPECT_EQ(show.Slides().Item(3)->PictureFile(), "");
}

TEST_F(SlideShowText, AMissingFileIsReportedAndFailsWithTheFileError) {
  zephra::testing::TempDir dir;
  SlideShow show(document::kMonitorMessages);
  try {
    show.LoadFromFile(dir.File("none.zep"));
    FAIL() << "no error";
  } catch (const common::AutomationError& e) {
    EXPECT_EQ(e.Number(), 53);
  }
  ASSERT_EQ(Prompts().Records().size(), 1u);
  EXPECT_EQ(Prompts().Records()[0].title, "Error at BinaryStream.OpenFile");
  EXPECT_EQ(Prompts().Records()[0].options, common::mb::Information);
  EXPECT_NE(Prompts().Records()[0].text.find("\n" + dir.File("none.zep")), std::string::npos);
}

TEST_F(SlideShowText, SavingReplacesTheFileOnlyWhenTheNewContentIsComplete) {
  zephra::testing::TempDir dir;
  const std::string path = dir.Write("keep.zep", "old content");
  SlideShow show(document::kMonitorMessages);
  show.Slides().Add();
  // A value text too long for the binary form fails the save half-way.
  show.SetDescription(std::string(40000, 'x'));
  EXPECT_THROW(show.SaveToBinary(path), common::AutomationError);
  EXPECT_EQ(zephra::testing::ReadAll(path), "old content");
  show.SetDescription("ok");
  show.SaveToBinary(path);
  EXPECT_EQ(zephra::testing::ReadAll(path), show.ToBinaryBytes());
  // No temporary files are left behind.
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path())) files += e.is_regular_file();
  EXPECT_EQ(files, 1);
  // A folder that does not exist: reported, then the save fails and nothing is created.
  ClearPrompts();
  EXPECT_THROW(show.SaveToBinary(dir.File("no/such/folder.zpx")), common::AutomationError);
  EXPECT_EQ(Prompts().Records().size(), 1u);
  EXPECT_THROW(show.SaveToFile(dir.File("no/such/folder.zep")), common::AutomationError);
}
