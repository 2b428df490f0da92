#pragma once
// The prompts of the programs with windows: the touch message box or the standard one as each
// caller asks, and the standard input, file, colour, font and printer dialogs.

#include <QString>

#include "common/prompts.h"

class QWidget;

namespace zephra::common::gui {

class QtPrompts : public Prompts {
 public:
  // parent: the window dialogs are centred on (may be null).
  explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

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
  QWidget* parent_;
};

// "Slide shows (*.zep;*.zpx)|*.zep;*.zpx|All files (*.*)|*.*" as Qt's filter list, and the
// selected filter of a 1-based index.
QString DialogFilter(const std::string& filter);
QString DialogSelectedFilter(const std::string& filter, int index);

}  // namespace zephra::common::gui
