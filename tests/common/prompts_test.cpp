#include <gtest/gtest.h>

#include <sstream>

#include "common/prompts.h"

using namespace zephra::common;

TEST(Prompts, ButtonsAndDefaultsOfTheOptionsWord) {
  EXPECT_EQ(MessageButtons(mb::YesNoCancel), (std::vector<int>{answer::Yes, answer::No, answer::Cancel}));
  EXPECT_TRUE(MessageButtons(6).empty());
  const std::pair<int, int> defaults[] = {
      {mb::OK, answer::OK},
      {mb::YesNo | mb::DefaultButton2, answer::No},
      {mb::OKCancel | mb::DefaultButton3, answer::OK},  // no third button: the first stays
      {mb::AbortRetryIgnore | mb::DefaultButton3 | mb::Critical, answer::Ignore},
      {6, 0}};
  for (const auto& [options, expected] : defaults) EXPECT_EQ(DefaultAnswer(options), expected) << options;
}

TEST(Prompts, ConsoleWarnsOnOneLineAndTakesTheDefault) {
  std::ostringstream err;
  std::istringstream in;
  ConsolePrompts console(err, in, false);
  EXPECT_EQ(console.ShowMessage("Line one\r\nline two", mb::YesNo | mb::DefaultButton2, "Slide Show"), answer::No);
  EXPECT_EQ(err.str(), "warning: Slide Show: Line one line two\n");
  EXPECT_EQ(console.InputBox("Title?", "Slide", "Front"), "Front");
  EXPECT_FALSE(console.OpenFileName({}));
}

TEST(Prompts, InteractiveConsoleAsksUntilAnswered) {
  std::ostringstream err;
  std::istringstream in("maybe\nn\n");
  ConsolePrompts console(err, in, true);
  EXPECT_EQ(console.ShowMessage("Overwrite?", mb::YesNoCancel, "Import"), answer::No);
  std::istringstream eof;
  ConsolePrompts atEnd(err, eof, true);
  EXPECT_EQ(atEnd.ShowMessage("Overwrite?", mb::YesNoCancel, "Import"), answer::Yes);
}

TEST(Prompts, ScriptedRecordsEveryPromptAndAnswersInOrder) {
  ScriptedPrompts scripted;
  scripted.AnswerButton(answer::Cancel);
  scripted.AnswerText("Rear View");
  scripted.AnswerCancel();
  EXPECT_EQ(scripted.ShowMessage("Save changes?", mb::YesNoCancel, "Editor"), answer::Cancel);
  EXPECT_EQ(scripted.InputBox("Title", "Slide", "Front"), "Rear View");
  EXPECT_EQ(scripted.ChooseColor(255), std::nullopt);
  EXPECT_EQ(scripted.StandardMessage("Done", mb::OK, "Editor"), answer::OK);
  ASSERT_EQ(scripted.Records().size(), 4u);
  EXPECT_EQ(scripted.Records()[0].kind, PromptKind::Message);
  EXPECT_EQ(scripted.Records()[0].text, "Save changes?");
  EXPECT_EQ(scripted.Records()[0].options, mb::YesNoCancel);
  EXPECT_EQ(scripted.Records()[3].kind, PromptKind::StandardMessage);
}
