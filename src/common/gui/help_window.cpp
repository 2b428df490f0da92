#include "help_window.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "common/paths.h"
#include "common/string_res.h"

namespace zephra::common::gui {

namespace {
QPointer<HelpWindow>& Window() {
  static QPointer<HelpWindow> window;
  return window;
}

HelpWindow* EnsureWindow() {
  if (!Window()) {
    Window() = new HelpWindow();
    Window()->setAttribute(Qt::WA_DeleteOnClose);
  }
  return Window();
}
}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("frmHelp");
  auto* layout = new QVBoxLayout(this);
  search_ = new QLineEdit(this);
  search_->setObjectName("txtSearch");
  search_->setPlaceholderText("Search");
  search_->hide();
  browser_ = new QTextBrowser(this);
  browser_->setObjectName("brwHelp");
  browser_->setOpenExternalLinks(false);
  layout->addWidget(search_);
  layout->addWidget(browser_);
  connect(search_, &QLineEdit::returnPressed, this, &HelpWindow::Find);
  resize(640, 520);
}

bool HelpWindow::ShowTopic(const std::string& file, int32_t topic) {
  const QString path = QString::fromStdString(file);
  if (!QFileInfo::exists(path)) return false;
  QUrl url = QUrl::fromLocalFile(path);
  if (topic != 0) url.setFragment(QString::number(topic));
  if (file != file_) browser_->setSource(QUrl::fromLocalFile(path));
  browser_->setSource(url);
  if (topic != 0) browser_->scrollToAnchor(QString::number(topic));
  file_ = file;
  topic_ = topic;
  setWindowTitle(browser_->documentTitle());
  show();
  raise();
  return true;
}

void HelpWindow::ShowSearch() {
  search_->show();
  search_->setFocus();
}

void HelpWindow::Find() {
  if (!browser_->find(search_->text())) {
    QTextCursor c = browser_->textCursor();
    c.movePosition(QTextCursor::Start);
    browser_->setTextCursor(c);
    browser_->find(search_->text());
  }
}

void ShowHelpFileTopic(QWidget*, const std::string& file, int32_t topic) {
  if (file.empty()) return;
  EnsureWindow()->ShowTopic(HelpFileForName(file), topic);
}

void ShowHelpTopic(QWidget* window, int32_t topic) {
  if (HelpFile().empty()) return;
  ShowHelpFileTopic(window, HelpFile(), topic);
}

void ShowHelpContents(QWidget* window) { ShowHelpTopic(window, 0); }

void ShowHelpIndex(QWidget* window) { ShowHelpTopic(window, kHelpTopicIndex); }

void ShowHelpSearch(QWidget* window) {
  if (HelpFile().empty()) return;
  ShowHelpContents(window);
  EnsureWindow()->ShowSearch();
  ShowHelpTopic(window, kHelpTopicSearch);
}

void ShowHelpOnHelp(QWidget* window) {
  if (HelpFile().empty()) return;
  ShowHelpContents(window);
  ShowHelpTopic(window, kHelpTopicOnHelp);
}

void CloseHelp() {
  if (Window()) Window()->close();
}

HelpWindow* CurrentHelpWindow() { return Window(); }

}  // namespace zephra::common::gui
