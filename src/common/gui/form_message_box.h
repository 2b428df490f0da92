#pragma once
// The touch message box: large buttons and fonts sized by the screen, laid out in twips the way
// the suite's dialogs are, modal or (for the host's dialogs) modeless and on top.

#include <QDialog>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "common/gui/screen_res.h"

class QLabel;
class QPushButton;

namespace zephra::common::gui {

class MessageIcon;

class FormMessageBox : public QDialog {
  Q_OBJECT

 public:
  explicit FormMessageBox(QWidget* parent = nullptr);
  // Uses the given metrics instead of the screen's (tests, odd screens).
  FormMessageBox(const ScreenRes& metrics, int32_t twipsPerPixel, QWidget* parent = nullptr);

  // Lays the box out and shows it modally; returns the chosen button's code.
  int Initialize(const std::string& text, int options, const std::string& title);
  // Host mode: laid out the same, shown modeless 10 ms later and kept on top; the chosen
  // button is also pressed in the host dialog `window`.
  void QVXInitialize(int64_t window, const std::string& text, int options, const std::string& title);
  void Display(const std::string& text, const std::string& title);
  bool YesNo(const std::string& text, const std::string& title);
  int ReturnCode() const { return returnCode_; }

  // Lays the box out without showing it (the layout tests look at the result in twips).
  void Prepare(const std::string& text, int options, const std::string& title);
  // Twips of the laid-out box (outer size) and of the controls.
  int WidthTwips() const { return widthTwips_; }
  int HeightTwips() const { return heightTwips_; }
  const std::vector<QPushButton*>& Buttons() const { return buttons_; }
  QLabel* MessageLabel() const { return label_; }

  // Presses a button of a host dialog: (window, button code). Set by the program that owns
  // the host connection.
  static void SetHostButtonPresser(std::function<void(int64_t, int)> presser);

 protected:
  void reject() override;
  void showEvent(QShowEvent* event) override;

 private:
  void Choose(int code);
  int Px(double twips) const;

  ScreenRes metrics_;
  int32_t tpp_;
  QLabel* label_ = nullptr;
  MessageIcon* icon_ = nullptr;
  std::vector<QPushButton*> buttons_;
  std::vector<int> codes_;
  int defaultIndex_ = 0;
  int returnCode_ = 0;
  int widthTwips_ = 0;
  int heightTwips_ = 0;
  bool hostMode_ = false;
  bool chosen_ = false;
  int64_t hostWindow_ = 0;
};

// The four message icons as vector art: 16 critical, 32 question, 48 exclamation,
// 64 information.
class MessageIcon : public QWidget {
  Q_OBJECT
 public:
  explicit MessageIcon(QWidget* parent = nullptr) : QWidget(parent) {}
  void SetKind(int kind) { kind_ = kind; update(); }
  int Kind() const { return kind_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int kind_ = 0;
};

// The calls the rest of a program uses.
// Modal touch message; the title defaults to the program's name. Returns the button's code.
int ShowMessage(const std::string& text, int options = 0, const std::string& title = "");
// Non-blocking message for a host dialog; the title defaults to "Quarvex Message".
void ShowHostMessage(int64_t window, const std::string& text, int options = 0, const std::string& title = "");
// Closes the message box that is open, if any.
void CloseMessage();

}  // namespace zephra::common::gui
