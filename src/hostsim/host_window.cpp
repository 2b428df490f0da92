#include "host_window.h"

#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/number_text.h"
#include "common/paths.h"
#include "common/string_res.h"
#include "host_application.h"
#include "host_messages.h"
#include "part_program.h"

namespace zephra::hostsim {

namespace {

using common::Variant;

QString Q(const std::string& s) { return QString::fromStdString(s); }


// One line of the command list: position, kind, type code and what identifies the command.
std::string CommandLine(const CommandData& c, size_t index) {
  std::string line = std::to_string(index + 1) + "  " + BlockName(c.kind) + " " + std::to_string(c.type) + "  ";
  switch (c.kind) {
    case BlockKind::Dimension:
      if (c.role == DimensionRole::Axis) {
        line += c.axis + (c.groupId.empty() ? std::string() : " (" + c.groupId + ")");
      } else {
        line += c.id.empty() ? c.groupId : c.id;
        if (c.role == DimensionRole::Single && !c.axis.empty()) line += " " + c.axis;
      }
      break;
    case BlockKind::Assignment: line += c.variable + " = " + c.value; break;
    case BlockKind::Comment: {
      std::string text = c.commentText;
      for (char& ch : text) {
        if (ch == '\r' || ch == '\n') ch = ' ';
      }
      line += text;
      break;
    }
    case BlockKind::Prompt:
    case BlockKind::Status: line += c.text.value_or(std::string()); break;
    case BlockKind::Command: line += c.text.value_or(c.id); break;
  }
  return line;
}

std::string ShownOrHidden(bool shown) { return common::GetMessage(shown ? msg::Shown : msg::Hidden); }

}  // namespace

HostWindow::HostWindow(HostApplication* app) : app_(app) {
  setObjectName("frmHost");
  setWindowTitle(Q(common::GetMessage(msg::WindowCaption)));
  auto* layout = new QVBoxLayout(this);
  lblProgram_ = new QLabel(this);
  lblProgram_->setObjectName("lblProgram");
  lblState_ = new QLabel(this);
  lblState_->setObjectName("lblState");
  lstCommands_ = new QListWidget(this);
  lstCommands_->setObjectName("lstCommands");
  lstCommands_->setSelectionMode(QAbstractItemView::SingleSelection);
  lstCommands_->setUniformItemSizes(true);
  lblOptions_ = new QLabel(this);
  lblOptions_->setObjectName("lblOptions");
  lblStartup_ = new QLabel(this);
  lblStartup_->setObjectName("lblStartup");
  grpDialogs_ = new QGroupBox(Q(common::GetMessage(msg::DialogsCaption)), this);
  grpDialogs_->setObjectName("grpDialogs");
  dialogsLayout_ = new QVBoxLayout(grpDialogs_);
  layout->addWidget(lblProgram_);
  layout->addWidget(lblState_);
  layout->addWidget(lstCommands_, 1);
  layout->addWidget(lblOptions_);
  layout->addWidget(lblStartup_);
  layout->addWidget(grpDialogs_);
  resize(480, 560);
  RebuildDialogs();
}

void HostWindow::Refresh() {
  const auto program = app_->ShownProgram();
  if (program != listed_.lock() || (!program && listedAny_)) RebuildCommands(program);

  if (program) {
    lblProgram_->setText(Q(common::FormatMessage(
        msg::ProgramLine, {Variant(program->Data().partName), Variant(program->FullPath())})));
    lblOptions_->setText(Q(common::FormatMessage(
        msg::OptionsLine, {Variant(ShownOrHidden(program->ExecOptContinue())), Variant(ShownOrHidden(program->ExecOptJump())),
                           Variant(ShownOrHidden(program->ExecOptSkip())), Variant(program->RunFlag() ? "true" : "false")})));
  } else {
    lblProgram_->setText(Q(common::GetMessage(msg::NoProgram)));
    lblOptions_->clear();
  }
  if (!app_->Running()) {
    lblState_->setText(Q(common::GetMessage(msg::StateIdle)));
  } else if (app_->WaitingForOperator()) {
    lblState_->setText(Q(common::GetMessage(msg::StateWaiting)));
  } else {
    lblState_->setText(Q(common::FormatMessage(
        msg::StateRunning, {Variant(std::to_string(app_->RunningProgram()->RunNumber()))})));
  }
  lblStartup_->setText(Q(common::FormatMessage(msg::StartupLine, {Variant(app_->StartupOptionsText())})));

  // The executing command is the current, highlighted row.
  const long current = app_->CurrentCommand();
  if (current >= 0 && current < lstCommands_->count()) {
    if (lstCommands_->currentRow() != current) lstCommands_->setCurrentRow(static_cast<int>(current));
  } else if (lstCommands_->currentRow() != -1) {
    lstCommands_->setCurrentRow(-1);
  }

  std::vector<int32_t> open;
  for (const HostDialog& d : app_->Dialogs()) open.push_back(d.hwnd);
  if (open != shownDialogs_) RebuildDialogs();
}

void HostWindow::RebuildCommands(const std::shared_ptr<PartProgram>& program) {
  lstCommands_->clear();
  listed_ = program;
  listedAny_ = program != nullptr;
  if (!program) return;
  const auto& commands = program->Data().commands;
  QStringList lines;
  lines.reserve(static_cast<qsizetype>(commands.size()));
  for (size_t i = 0; i < commands.size(); ++i) lines << Q(CommandLine(commands[i], i));
  lstCommands_->addItems(lines);
}

void HostWindow::RebuildDialogs() {
  // The button being clicked may belong to the panel replaced here: take the panel out of the
  // window at once, but delete it only once the click has been handled.
  if (dialogsPanel_) {
    dialogsPanel_->hide();
    dialogsPanel_->setParent(nullptr);
    dialogsPanel_->deleteLater();
  }
  dialogsPanel_ = new QWidget(grpDialogs_);
  auto* panelLayout = new QVBoxLayout(dialogsPanel_);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  shownDialogs_.clear();
  for (const HostDialog& d : app_->Dialogs()) {
    shownDialogs_.push_back(d.hwnd);
    auto* frame = new QFrame(dialogsPanel_);
    frame->setObjectName(QString("dlg_%1").arg(d.hwnd));
    frame->setFrameShape(QFrame::StyledPanel);
    auto* frameLayout = new QVBoxLayout(frame);
    auto* text = new QLabel(QString("[%1] %2").arg(d.number).arg(Q(d.message)), frame);
    text->setWordWrap(true);
    frameLayout->addWidget(text);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    for (const DialogButton& b : d.buttons) {
      auto* button = new QPushButton(Q(b.caption), frame);
      button->setObjectName(QString("cmdDialog_%1_%2").arg(d.hwnd).arg(b.id));
      button->setDefault(b.id == d.defaultButton);
      const int32_t hwnd = d.hwnd;
      const int32_t id = b.id;
      HostApplication* app = app_;
      connect(button, &QPushButton::clicked, this, [app, hwnd, id] { app->PressDialogButton(hwnd, id); });
      buttons->addWidget(button);
    }
    frameLayout->addLayout(buttons);
    panelLayout->addWidget(frame);
  }
  if (shownDialogs_.empty()) {
    auto* none = new QLabel(Q(common::GetMessage(msg::NoDialogs)), dialogsPanel_);
    none->setObjectName("lblNoDialogs");
    panelLayout->addWidget(none);
  }
  dialogsLayout_->addWidget(dialogsPanel_);
}

ReadoutView::ReadoutView(HostApplication* app) : app_(app) {
  setObjectName("frmReadout");
  setWindowTitle(Q(common::GetMessage(msg::ReadoutCaption)));
  setWindowFlags(Qt::Tool);
  QFont big = font();
  big.setPointSize(18);
  setFont(big);
  setMargin(12);
  setMinimumWidth(260);
}

void ReadoutView::Refresh() {
  auto program = app_->ReadoutProgram();
  const long index = app_->ReadoutIndex();
  if (!program || index < 0) {
    setText(Q(common::GetMessage(msg::ReadoutEmpty)));
    return;
  }
  const CommandData& c = program->Data().commands[static_cast<size_t>(index)];
  const DimensionResult& r = program->Result(static_cast<size_t>(index));
  const std::string name = c.role == DimensionRole::Axis ? c.groupId : c.id;
  setText(Q(name + "  " + c.axis + "\n" + common::FormatFixed(r.measured, 4) + "  (" +
            common::FormatFixed(r.deviation, 4) + ")"));
}

}  // namespace zephra::hostsim
