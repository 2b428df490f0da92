#include "prompts.h"

#include <iostream>

#include "text.h"

namespace zephra::common {

std::vector<int> MessageButtons(int options) {
  switch (options & 0x0F) {
    case mb::OK: return {answer::OK};
    case mb::OKCancel: return {answer::OK, answer::Cancel};
    case mb::AbortRetryIgnore: return {answer::Abort, answer::Retry, answer::Ignore};
    case mb::YesNoCancel: return {answer::Yes, answer::No, answer::Cancel};
    case mb::YesNo: return {answer::Yes, answer::No};
    case mb::RetryCancel: return {answer::Retry, answer::Cancel};
    default: return {};
  }
}

int DefaultAnswer(int options) {
  const std::vector<int> buttons = MessageButtons(options);
  if (buttons.empty()) return 0;
  const int wanted = (options & 0x300) >> 8;
  if (wanted < static_cast<int>(buttons.size())) return buttons[static_cast<size_t>(wanted)];
  return buttons.front();
}

std::string ButtonCaption(int code) {
  switch (code) {
    case answer::OK: return "OK";
    case answer::Cancel: return "Cancel";
    case answer::Abort: return "Abort";
    case answer::Retry: return "Retry";
    case answer::Ignore: return "Ignore";
    case answer::Yes: return "Yes";
    case answer::No: return "No";
    default: return "";
  }
}

namespace {
// Console lines hold one message each; line breaks inside a message become spaces.
std::string OneLine(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out.push_back(' ');
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::shared_ptr<Prompts>& Slot() {
  static std::shared_ptr<Prompts> current = std::make_shared<ConsolePrompts>();
  return current;
}
}  // namespace

Prompts& CurrentPrompts() { return *Slot(); }

std::shared_ptr<Prompts> SetPrompts(std::shared_ptr<Prompts> prompts) {
  auto old = Slot();
  Slot() = prompts ? std::move(prompts) : std::make_shared<ConsolePrompts>();
  return old;
}

ConsolePrompts::ConsolePrompts(bool interactive) : err_(std::cerr), in_(std::cin), interactive_(interactive) {}

ConsolePrompts::ConsolePrompts(std::ostream& err, std::istream& in, bool interactive)
    : err_(err), in_(in), interactive_(interactive) {}

int ConsolePrompts::ShowMessage(const std::string& text, int options, const std::string& title) {
  const std::string oneLine = OneLine(text);
  err_ << "warning: " << title << ": " << oneLine << "\n";
  const std::vector<int> buttons = MessageButtons(options);
  if (!interactive_ || buttons.size() < 2) return DefaultAnswer(options);
  while (true) {
    err_ << "[";
    for (size_t i = 0; i < buttons.size(); ++i) {
      err_ << (i ? "/" : "") << ButtonCaption(buttons[i]);
    }
    err_ << "] (default " << ButtonCaption(DefaultAnswer(options)) << "): " << std::flush;
    std::string line;
    if (!std::getline(in_, line)) return DefaultAnswer(options);
    const std::string_view reply = TrimWhite(line);
    if (reply.empty()) return DefaultAnswer(options);
    for (int b : buttons) {
      const std::string caption = ButtonCaption(b);
      if (EqualsNoCase(reply, caption) || (reply.size() == 1 && EqualsNoCase(reply, caption.substr(0, 1)))) {
        return b;
      }
    }
  }
}

int ConsolePrompts::StandardMessage(const std::string& text, int options, const std::string& title) {
  return ShowMessage(text, options, title);
}

std::optional<std::string> ConsolePrompts::InputBox(const std::string& prompt, const std::string& title,
                                                    const std::string& defaultText) {
  err_ << "warning: " << title << ": " << OneLine(prompt) << "\n";
  return defaultText;
}

std::optional<std::string> ConsolePrompts::OpenFileName(const FileDialogRequest&) { return std::nullopt; }
std::optional<std::string> ConsolePrompts::SaveFileName(const FileDialogRequest&) { return std::nullopt; }
std::optional<uint32_t> ConsolePrompts::ChooseColor(uint32_t) { return std::nullopt; }
std::optional<FontChoice> ConsolePrompts::ChooseFont(const FontChoice&) { return std::nullopt; }
std::optional<PrinterChoice> ConsolePrompts::ChoosePrinter(const PrinterChoice&) { return std::nullopt; }

std::optional<ScriptedPrompts::Answer> ScriptedPrompts::Next() {
  if (answers_.empty()) return std::nullopt;
  Answer a = answers_.front();
  answers_.pop_front();
  return a;
}

int ScriptedPrompts::ShowMessage(const std::string& text, int options, const std::string& title) {
  records_.push_back({PromptKind::Message, text, title, options});
  auto a = Next();
  return a && a->button ? *a->button : DefaultAnswer(options);
}

int ScriptedPrompts::StandardMessage(const std::string& text, int options, const std::string& title) {
  records_.push_back({PromptKind::StandardMessage, text, title, options});
  auto a = Next();
  return a && a->button ? *a->button : DefaultAnswer(options);
}

std::optional<std::string> ScriptedPrompts::InputBox(const std::string& prompt, const std::string& title,
                                                     const std::string& defaultText) {
  records_.push_back({PromptKind::Input, prompt, title, 0});
  auto a = Next();
  if (!a) return defaultText;
  if (a->cancel) return std::nullopt;
  return a->text ? *a->text : defaultText;
}

std::optional<std::string> ScriptedPrompts::OpenFileName(const FileDialogRequest& request) {
  records_.push_back({PromptKind::OpenFile, request.fileName, request.title, 0});
  auto a = Next();
  if (!a || a->cancel) return std::nullopt;
  return a->text;
}

std::optional<std::string> ScriptedPrompts::SaveFileName(const FileDialogRequest& request) {
  records_.push_back({PromptKind::SaveFile, request.fileName, request.title, 0});
  auto a = Next();
  if (!a || a->cancel) return std::nullopt;
  return a->text;
}

std::optional<uint32_t> ScriptedPrompts::ChooseColor(uint32_t initial) {
  records_.push_back({PromptKind::Color, std::to_string(initial), "", 0});
  auto a = Next();
  if (!a || a->cancel) return std::nullopt;
  return a->color;
}

std::optional<FontChoice> ScriptedPrompts::ChooseFont(const FontChoice& initial) {
  records_.push_back({PromptKind::Font, initial.name, "", 0});
  auto a = Next();
  if (!a || a->cancel) return std::nullopt;
  return a->font;
}

std::optional<PrinterChoice> ScriptedPrompts::ChoosePrinter(const PrinterChoice& initial) {
  records_.push_back({PromptKind::Printer, initial.device, "", 0});
  auto a = Next();
  if (!a || a->cancel) return std::nullopt;
  return a->printer;
}

}  // namespace zephra::common
