#pragma once
// The question an import asks for each restored file that exists already. The editor's
// overwrite dialog answers it with its buttons; without one, it is asked through the prompts
// interface; the `zephra` tool answers it from its options.

#include <string>

namespace zephra::editor {

enum class OverwriteAnswer {
  Yes,       // replace this file, ask again for the next
  YesToAll,  // replace this and every further existing file
  No,        // keep this file (the restored one gets a "Copy(n) of" name), ask again
  NoToAll,   // keep this and every further existing file
  Cancel,    // the question was closed: no more questions, nothing replaced (as No to All)
};

// The two flags the import keeps: whether to replace the file, and whether to ask again.
void ApplyOverwriteAnswer(OverwriteAnswer answer, bool& overwrite, bool& askAgain);

class OverwriteQuestion {
 public:
  virtual ~OverwriteQuestion() = default;
  // Asked for an existing file at path.
  virtual OverwriteAnswer Ask(const std::string& path) = 0;
};

// Always the same answer.
class FixedOverwriteAnswer : public OverwriteQuestion {
 public:
  explicit FixedOverwriteAnswer(OverwriteAnswer answer) : answer_(answer) {}
  OverwriteAnswer Ask(const std::string&) override { return answer_; }

 private:
  OverwriteAnswer answer_;
};

// Asks through the prompts interface: first whether to replace the file (Yes, No, Cancel; No by
// default), then, after Yes or No, whether to give that answer for all further files (No by
// default).
class PromptsOverwriteQuestion : public OverwriteQuestion {
 public:
  OverwriteAnswer Ask(const std::string& path) override;
};

}  // namespace zephra::editor
