#pragma once
// Everything that asks the user goes through this interface: message boxes, the input box and
// the common dialogs. Programs install the window implementation; the command-line tool
// installs ConsolePrompts; tests install ScriptedPrompts.

#include <cstdint>
#include <deque>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zephra::common {

// The options word of a message: buttons in the low 4 bits, icon in bits 4..7, default button
// in bits 8 and 9.
namespace mb {
inline constexpr int OK = 0;
inline constexpr int OKCancel = 1;
inline constexpr int AbortRetryIgnore = 2;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int RetryCancel = 5;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int DefaultButton2 = 256;
inline constexpr int DefaultButton3 = 512;
}  // namespace mb

// Result codes of the buttons.
namespace answer {
inline constexpr int OK = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace answer

// The buttons of an options word, in order, as result codes (empty for invalid values).
std::vector<int> MessageButtons(int options);
// The code of the default button (the first when the requested one does not exist).
int DefaultAnswer(int options);
// "OK", "Cancel", ... for a result code.
std::string ButtonCaption(int code);

struct FileDialogRequest {
  std::string title;
  std::string filter;        // "Slide shows (*.zep;*.zpx)|*.zep;*.zpx|All files (*.*)|*.*"
  int filterIndex = 1;
  std::string initialDirectory;
  std::string fileName;
  std::string defaultExtension;
  bool mustExist = true;     // open dialogs
  bool confirmOverwrite = true;  // save dialogs
};

struct FontChoice {
  std::string name = "Arial";
  double size = 10;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  uint32_t color = 0;
};

// Printer settings keep the platform's codes (orientation 1 portrait, 2 landscape; paper and
// bin codes as numbers).
struct PrinterChoice {
  std::string device;
  std::string driver;
  int orientation = 1;
  int paperSize = 9;
  int paperBin = 7;
  int quality = -4;
  int zoom = 100;
  int copies = 1;
};

class Prompts {
 public:
  virtual ~Prompts() = default;
  // The suite's own touch message box; returns the chosen button's code.
  virtual int ShowMessage(const std::string& text, int options, const std::string& title) = 0;
  // The platform's standard message box.
  virtual int StandardMessage(const std::string& text, int options, const std::string& title) = 0;
  // Nothing when cancelled.
  virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                              const std::string& defaultText) = 0;
  virtual std::optional<std::string> OpenFileName(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> SaveFileName(const FileDialogRequest& request) = 0;
  virtual std::optional<uint32_t> ChooseColor(uint32_t initial) = 0;
  virtual std::optional<FontChoice> ChooseFont(const FontChoice& initial) = 0;
  virtual std::optional<PrinterChoice> ChoosePrinter(const PrinterChoice& initial) = 0;
};

// The implementation in use; ConsolePrompts until a program installs its own.
Prompts& CurrentPrompts();
// Installs an implementation and returns the one it replaces.
std::shared_ptr<Prompts> SetPrompts(std::shared_ptr<Prompts> prompts);

// Messages go to the error stream as "warning: TITLE: TEXT" and take the default answer;
// dialogs are cancelled and input boxes keep their default text. With interactive set, message
// boxes with more than one button ask on the terminal instead.
class ConsolePrompts : public Prompts {
 public:
  explicit ConsolePrompts(bool interactive = false);
  ConsolePrompts(std::ostream& err, std::istream& in, bool interactive);
  int ShowMessage(const std::string& text, int options, const std::string& title) override;
  int StandardMessage(const std::string& text, int options, const std::string& title) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  std::optional<std::string> OpenFileName(const FileDialogRequest& request) override;
  std::optional<std::string> SaveFileName(const FileDialogRequest& request) override;
  std::optional<uint32_t> ChooseColor(uint32_t initial) override;
  std::optional<FontChoice> ChooseFont(const FontChoice& initial) override;
  std::optional<PrinterChoice> ChoosePrinter(const PrinterChoice& initial) override;

 private:
  std::ostream& err_;
  std::istream& in_;
  bool interactive_;
};

enum class PromptKind { Message, StandardMessage, Input, OpenFile, SaveFile, Color, Font, Printer };

// Records every prompt and answers from a queue the test fills; with the queue empty it gives
// the default answer (the default button, the input's default text, a cancelled dialog).
class ScriptedPrompts : public Prompts {
 public:
  struct Record {
    PromptKind kind;
    std::string text;
    std::string title;
    int options = 0;
  };
  struct Answer {
    std::optional<int> button;
    std::optional<std::string> text;
    std::optional<uint32_t> color;
    std::optional<FontChoice> font;
    std::optional<PrinterChoice> printer;
    bool cancel = false;
  };

  void AnswerButton(int code) { answers_.push_back(Answer{code, {}, {}, {}, {}, false}); }
  void AnswerText(std::string text) { answers_.push_back(Answer{{}, std::move(text), {}, {}, {}, false}); }
  void AnswerColor(uint32_t c) { answers_.push_back(Answer{{}, {}, c, {}, {}, false}); }
  void AnswerFont(FontChoice f) { answers_.push_back(Answer{{}, {}, {}, std::move(f), {}, false}); }
  void AnswerPrinter(PrinterChoice p) { answers_.push_back(Answer{{}, {}, {}, {}, std::move(p), false}); }
  void AnswerCancel() { answers_.push_back(Answer{{}, {}, {}, {}, {}, true}); }

  const std::vector<Record>& Records() const { return records_; }
  void ClearRecords() { records_.clear(); }
  size_t PendingAnswers() const { return answers_.size(); }

  int ShowMessage(const std::string& text, int options, const std::string& title) override;
  int StandardMessage(const std::string& text, int options, const std::string& title) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  std::optional<std::string> OpenFileName(const FileDialogRequest& request) override;
  std::optional<std::string> SaveFileName(const FileDialogRequest& request) override;
  std::optional<uint32_t> ChooseColor(uint32_t initial) override;
  std::optional<FontChoice> ChooseFont(const FontChoice& initial) override;
  std::optional<PrinterChoice> ChoosePrinter(const PrinterChoice& initial) override;

 private:
  std::optional<Answer> Next();
  std::vector<Record> records_;
  std::deque<Answer> answers_;
};

}  // namespace zephra::common
