#include "overwrite_question.h"

#include "archive_messages.h"
#include "archive_path.h"
#include "common/prompts.h"
#include "common/string_res.h"

namespace zephra::editor {

void ApplyOverwriteAnswer(OverwriteAnswer answer, bool& overwrite, bool& askAgain) {
  overwrite = answer == OverwriteAnswer::Yes || answer == OverwriteAnswer::YesToAll;
  askAgain = answer == OverwriteAnswer::Yes || answer == OverwriteAnswer::No;
}

OverwriteAnswer PromptsOverwriteQuestion::Ask(const std::string& path) {
  namespace mb = common::mb;
  common::Prompts& prompts = common::CurrentPrompts();
  const std::string title = common::GetMessage(archive_msg::OverwriteTitle);
  const int first = prompts.ShowMessage(common::FormatMessage(archive_msg::OverwriteText, {common::Variant(EscapeControls(path))}),
                                        mb::YesNoCancel | mb::Question | mb::DefaultButton2, title);
  if (first != common::answer::Yes && first != common::answer::No) return OverwriteAnswer::Cancel;
  const bool yes = first == common::answer::Yes;
  const int all = prompts.ShowMessage(common::GetMessage(archive_msg::SameForAll),
                                      mb::YesNo | mb::Question | mb::DefaultButton2, title);
  if (all == common::answer::Yes) return yes ? OverwriteAnswer::YesToAll : OverwriteAnswer::NoToAll;
  return yes ? OverwriteAnswer::Yes : OverwriteAnswer::No;
}

}  // namespace zephra::editor
