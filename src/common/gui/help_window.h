#pragma once
// The suite's help window: the program's HTML help file, topics as anchors (id="31007").

#include <QWidget>
#include <string>

class QTextBrowser;
class QLineEdit;

namespace zephra::common::gui {

class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent = nullptr);
  // Opens the file at the topic's anchor (0: the top). False when the file cannot be read.
  bool ShowTopic(const std::string& file, int32_t topic);
  void ShowSearch();
  QTextBrowser* Browser() const { return browser_; }
  std::string CurrentFile() const { return file_; }
  int32_t CurrentTopic() const { return topic_; }

 private:
  void Find();

  QTextBrowser* browser_ = nullptr;
  QLineEdit* search_ = nullptr;
  std::string file_;
  int32_t topic_ = 0;
};

// The help display of a program; each does nothing while no help file is set.
void ShowHelpTopic(QWidget* window, int32_t topic);
void ShowHelpFileTopic(QWidget* window, const std::string& file, int32_t topic);
void ShowHelpContents(QWidget* window);
void ShowHelpIndex(QWidget* window);
void ShowHelpSearch(QWidget* window);
void ShowHelpOnHelp(QWidget* window);
void CloseHelp();
// The open help window, if any (tests look at it).
HelpWindow* CurrentHelpWindow();

// Topics every help file has.
inline constexpr int32_t kHelpTopicOnHelp = 900;
inline constexpr int32_t kHelpTopicIndex = 901;
inline constexpr int32_t kHelpTopicSearch = 902;

}  // namespace zephra::common::gui
