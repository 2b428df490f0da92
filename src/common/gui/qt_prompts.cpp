#include "qt_prompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

#include "common/gui/color.h"
#include "common/gui/form_message_box.h"
#include "common/text.h"

namespace zephra::common::gui {

QString DialogFilter(const std::string& filter) {
  const std::vector<std::string> parts = Split(filter, '|');
  QStringList out;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    QString description = QString::fromStdString(parts[i]);
    QString patterns = QString::fromStdString(parts[i + 1]).replace(';', ' ');
    // Descriptions already naming their patterns keep them once.
    if (description.contains('(')) description = description.left(description.indexOf('(')).trimmed();
    out << QString("%1 (%2)").arg(description, patterns);
  }
  return out.join(";;");
}

QString DialogSelectedFilter(const std::string& filter, int index) {
  const QStringList all = DialogFilter(filter).split(";;");
  if (index < 1 || index > all.size()) return all.isEmpty() ? QString() : all.front();
  return all[index - 1];
}

int QtPrompts::ShowMessage(const std::string& text, int options, const std::string& title) {
  FormMessageBox box(parent_);
  return box.Initialize(text, options, title);
}

int QtPrompts::StandardMessage(const std::string& text, int options, const std::string& title) {
  QMessageBox box(parent_);
  box.setObjectName("StandardMessageBox");
  box.setWindowTitle(QString::fromStdString(title));
  box.setText(QString::fromStdString(text));
  switch (options & 0xF0) {
    case mb::Critical: box.setIcon(QMessageBox::Critical); break;
    case mb::Question: box.setIcon(QMessageBox::Question); break;
    case mb::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case mb::Information: box.setIcon(QMessageBox::Information); break;
    default: break;
  }
  const std::vector<int> codes = MessageButtons(options);
  std::vector<QPushButton*> buttons;
  for (int code : codes) {
    QMessageBox::ButtonRole role = code == answer::Cancel ? QMessageBox::RejectRole
                                   : (code == answer::No) ? QMessageBox::NoRole
                                   : (code == answer::Yes) ? QMessageBox::YesRole
                                                           : QMessageBox::AcceptRole;
    buttons.push_back(box.addButton(QString::fromStdString(ButtonCaption(code)), role));
  }
  if (buttons.empty()) return 0;
  const int def = DefaultAnswer(options);
  for (size_t i = 0; i < codes.size(); ++i) {
    if (codes[i] == def) box.setDefaultButton(buttons[i]);
    if (codes[i] == answer::Cancel) box.setEscapeButton(buttons[i]);
  }
  box.exec();
  for (size_t i = 0; i < buttons.size(); ++i) {
    if (box.clickedButton() == buttons[i]) return codes[i];
  }
  return def;
}

std::optional<std::string> QtPrompts::InputBox(const std::string& prompt, const std::string& title,
                                               const std::string& defaultText) {
  bool ok = false;
  const QString text = QInputDialog::getText(parent_, QString::fromStdString(title), QString::fromStdString(prompt),
                                             QLineEdit::Normal, QString::fromStdString(defaultText), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

std::optional<std::string> QtPrompts::OpenFileName(const FileDialogRequest& r) {
  QFileDialog dialog(parent_, QString::fromStdString(r.title), QString::fromStdString(r.initialDirectory),
                     DialogFilter(r.filter));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(r.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.selectNameFilter(DialogSelectedFilter(r.filter, r.filterIndex));
  if (!r.fileName.empty()) dialog.selectFile(QString::fromStdString(r.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> QtPrompts::SaveFileName(const FileDialogRequest& r) {
  QFileDialog dialog(parent_, QString::fromStdString(r.title), QString::fromStdString(r.initialDirectory),
                     DialogFilter(r.filter));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !r.confirmOverwrite);
  if (!r.defaultExtension.empty()) dialog.setDefaultSuffix(QString::fromStdString(r.defaultExtension));
  dialog.selectNameFilter(DialogSelectedFilter(r.filter, r.filterIndex));
  if (!r.fileName.empty()) dialog.selectFile(QString::fromStdString(r.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

std::optional<uint32_t> QtPrompts::ChooseColor(uint32_t initial) {
  const QColor chosen = QColorDialog::getColor(ToQColor(initial), parent_, QString(),
                                               QColorDialog::DontUseNativeDialog);
  if (!chosen.isValid()) return std::nullopt;
  return FromQColor(chosen);
}

std::optional<FontChoice> QtPrompts::ChooseFont(const FontChoice& initial) {
  QFont f(QString::fromStdString(initial.name));
  f.setPointSizeF(initial.size > 0 ? initial.size : 10);
  f.setBold(initial.bold);
  f.setItalic(initial.italic);
  f.setUnderline(initial.underline);
  f.setStrikeOut(initial.strikethrough);
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, f, parent_, QString(), QFontDialog::DontUseNativeDialog);
  if (!ok) return std::nullopt;
  FontChoice out = initial;
  out.name = chosen.family().toStdString();
  out.size = chosen.pointSizeF();
  out.bold = chosen.bold();
  out.italic = chosen.italic();
  out.underline = chosen.underline();
  out.strikethrough = chosen.strikeOut();
  return out;
}

std::optional<PrinterChoice> QtPrompts::ChoosePrinter(const PrinterChoice& initial) {
  QPrinter printer;
  if (!initial.device.empty()) printer.setPrinterName(QString::fromStdString(initial.device));
  printer.setPageOrientation(initial.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
  printer.setCopyCount(initial.copies);
  QPrintDialog dialog(&printer, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  PrinterChoice out = initial;
  out.device = printer.printerName().toStdString();
  out.orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
  out.copies = printer.copyCount();
  return out;
}

}  // namespace zephra::common::gui
