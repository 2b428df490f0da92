// Slides and the show's navigation: adding and moving slides, out-of-tolerance search, help
// topics, the picture-file check and aggregates.

#include <gtest/gtest.h>

#include "document/slide_show.h"
#include "document_fixture.h"

using namespace zephra;
using document::SlideShow;

namespace {

// A show of n slides; the slides listed get one icon with a value in the given state.
std::unique_ptr<SlideShow> ShowWithStates(int n, std::initializer_list<std::pair<int, int32_t>> states) {
  auto show = std::make_unique<SlideShow>(document::kMonitorMessages);
  for (int i = 1; i <= n; ++i) show->Slides().Add()->SetHelpTopic(static_cast<int16_t>(i * 10));
  for (const auto& [slide, state] : states) {
    show->Slides().Item(slide)->Icons().Add()->Values().Add()->SetTOLERANCE(state);
  }
  return show;
}

void MoveTo(SlideShow& show, int position) {
  while (show.CurrentPosition() < position) show.MoveNext();
}

}  // namespace

class SlideTest : public zephra::testing::DocumentTest {};

TEST_F(SlideTest, MoveNextOutOfTolSearchesOnwardThenFromTheStart) {
  struct Case {
    const char* name;
    std::initializer_list<std::pair<int, int32_t>> states;
    int from;
    int expected;
  };
  const Case cases[] = {
      {"wraps to slide 2", {{2, 6}, {5, 3}}, 5, 2},
      {"only the current one", {{5, 6}}, 5, 5},
      {"onward first", {{2, 6}, {4, 2}}, 3, 4},
      {"from the first slide", {{1, 6}}, 1, 1},
      {"states 0, 1 and -1 do not count", {{2, 0}, {3, 1}, {4, -1}}, 1, 1},
      {"warnings count", {{3, 4}}, 1, 3},
      {"before the first move", {{4, 7}}, 0, 4},
  };
  for (const Case& c : cases) {
    auto show = ShowWithStates(5, c.states);
    MoveTo(*show, c.from);
    show->MoveNextOutOfTol();
    EXPECT_EQ(show->CurrentPosition(), c.expected) << c.name;
  }
}

TEST_F(SlideTest, NavigationAndAggregates) {
  auto show = ShowWithStates(3, {{2, 3}, {3, 7}});
  EXPECT_EQ(show->CurrentPosition(), 0);
  EXPECT_THROW(show->ActiveSlide(), common::AutomationError);
  show->MoveNext();
  EXPECT_TRUE(show->IsFirstSlide());
  show->MovePrevious();
  EXPECT_EQ(show->CurrentPosition(), 1);
  MoveTo(*show, 3);
  show->MoveNext();
  EXPECT_EQ(show->CurrentPosition(), 3);
  EXPECT_TRUE(show->IsLastSlide());
  EXPECT_EQ(show->WorstTolerance(), 5);
  EXPECT_EQ(show->Slides().Item(2)->WorstTolerance(), 2);
  EXPECT_EQ(show->Slides().Item(2)->Icons().Item(1)->WorstTolerance(), 3);  // the icon does not fold
  EXPECT_TRUE(show->IsOutOfTolerance());  // slide 2, not the active slide 3

  auto onlyActive = ShowWithStates(2, {{1, 6}});
  onlyActive->MoveNext();
  EXPECT_FALSE(onlyActive->IsOutOfTolerance());
  EXPECT_EQ(ShowWithStates(0, {})->WorstTolerance(), 0);
}

TEST_F(SlideTest, TheActiveHelpTopicFallsBackToTheShowThenTo3) {
  auto show = ShowWithStates(2, {});
  show->MoveNext();
  EXPECT_EQ(show->ActiveHelpTopic(), 10);
  show->Slides().Item(1)->SetHelpTopic(0);
  EXPECT_EQ(show->ActiveHelpTopic(), 3);
  show->SetHelpTopic(7);
  EXPECT_EQ(show->ActiveHelpTopic(), 7);
  EXPECT_FALSE(show->HelpAvailable());
  show->SetHelpFile("/help/x.html");
  EXPECT_TRUE(show->HelpAvailable());
  EXPECT_EQ(ShowWithStates(0, {})->ActiveHelpTopic(), 3);
}

TEST_F(SlideTest, SlidesAreAddedInsertedAndMovedWithoutLosingAny) {
  SlideShow show(document::kMonitorMessages);
  auto& slides = show.Slides();
  slides.Add()->SetName("B");
  slides.Add(0)->SetName("A");
  slides.Insert(3)->SetName("D");
  slides.Insert(3)->SetName("C");
  slides.Add(4)->SetName("E");
  EXPECT_EQ(slides.Add()->Name(), "New Slide");
  slides.Remove(6);
  auto names = [&] {
    std::string s;
    for (const auto& sl : slides) s += sl->Name();
    return s;
  };
  EXPECT_EQ(names(), "ABCDE");
  EXPECT_EQ(slides.MoveDown(2), 3);
  EXPECT_EQ(names(), "ACBDE");
  EXPECT_EQ(slides.MoveUp(5), 4);
  EXPECT_EQ(names(), "ACBED");
  EXPECT_TRUE(Prompts().Records().empty());
  EXPECT_EQ(slides.MoveDown(5), 0);
  EXPECT_EQ(slides.MoveUp(1), 0);
  EXPECT_EQ(names(), "ACBED");
  ASSERT_EQ(Prompts().Records().size(), 2u);
  EXPECT_EQ(Prompts().Records()[0].text, "9: Subscript out of range");
  EXPECT_EQ(Prompts().Records()[0].title, "Error at SlideCollection.MoveDown");
  EXPECT_EQ(Prompts().Records()[0].options, common::mb::Exclamation);
  EXPECT_THROW(slides.Add(7), common::AutomationError);
  EXPECT_THROW(slides.Remove(0), common::AutomationError);
  EXPECT_TRUE(show.IsDCmdUsed("NEWICON") == false);
  slides.Item(3)->Icons().Add()->SetFeatureName("Dia1");
  EXPECT_TRUE(show.IsDCmdUsed("Dia1"));
  EXPECT_FALSE(show.IsDCmdUsed("DIA1"));
}

TEST_F(SlideTest, PictureFilesMustBeFullPaths) {
  document::Slide slide(document::kMonitorMessages);
  slide.SetPicturePosition(1, 2, 3, 4);
  EXPECT_FALSE(slide.SetPictureFile("ab"));
  EXPECT_FALSE(slide.SetPictureFile("pictures/front.svg"));
  EXPECT_EQ(slide.PictureFile(), "");
  EXPECT_EQ(slide.Left(), 1);
  ASSERT_EQ(Prompts().Records().size(), 2u);
  EXPECT_EQ(Prompts().Records()[0].text, "Invalid picture file specification");
  EXPECT_EQ(Prompts().Records()[1].text, "A full path specification for a picture file is required.");
  EXPECT_EQ(Prompts().Records()[1].title, "Set Picture File");
  EXPECT_EQ(Prompts().Records()[1].options, common::mb::Information);
  EXPECT_TRUE(slide.SetPictureFile("/pictures/front.svg"));
  EXPECT_EQ(slide.PictureFile(), "/pictures/front.svg");
  int16_t l, t, w, h;
  slide.GetPicturePosition(l, t, w, h);
  EXPECT_EQ(l + t + w + h, 180);
  slide.SetPicturePosition(1, 2, 3, 4);
  EXPECT_TRUE(slide.SetPictureFile(""));
  EXPECT_EQ(slide.Width(), 80);
}

TEST_F(SlideTest, IconsAreRemovedByIdentityOrIndex) {
  document::Slide slide(document::kMonitorMessages);
  auto a = slide.Icons().Add();
  auto b = slide.Icons().Add();
  document::Icon stranger(document::kMonitorMessages);
  slide.Icons().Remove(stranger);
  EXPECT_EQ(slide.Icons().Count(), 2);
  slide.Icons().Remove(*a);
  EXPECT_EQ(slide.Icons().Item(1), b);
  slide.Icons().Remove(1);
  EXPECT_EQ(slide.Icons().Count(), 0);
  EXPECT_THROW(slide.Icons().Remove(1), common::AutomationError);
}
