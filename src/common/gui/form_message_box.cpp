#include "form_message_box.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "common/gui/gui_font.h"
#include "common/program.h"
#include "common/prompts.h"

namespace zephra::common::gui {

namespace {

constexpr int kMargin = 150;       // twips between the box's edges and its contents
constexpr int kLabelTop = 150;
constexpr int kIconPixels = 32;
constexpr int kMinWidth = 3700;
constexpr int kMinHeight = 1080;

std::function<void(int64_t, int)>& HostPresser() {
  static std::function<void(int64_t, int)> presser;
  return presser;
}

QPointer<FormMessageBox>& OpenBox() {
  static QPointer<FormMessageBox> box;
  return box;
}

}  // namespace

void FormMessageBox::SetHostButtonPresser(std::function<void(int64_t, int)> presser) {
  HostPresser() = std::move(presser);
}

FormMessageBox::FormMessageBox(QWidget* parent) : FormMessageBox(ScreenRes(), TwipsPerPixel(), parent) {
  metrics_.InitializeFromScreen();
}

FormMessageBox::FormMessageBox(const ScreenRes& metrics, int32_t twipsPerPixel, QWidget* parent)
    : QDialog(parent), metrics_(metrics), tpp_(twipsPerPixel > 0 ? twipsPerPixel : 15) {
  setObjectName("FormMessageBox");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
  label_ = new QLabel(this);
  label_->setObjectName("lblMessage");
  label_->setWordWrap(true);
  label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label_->setTextFormat(Qt::PlainText);
  icon_ = new MessageIcon(this);
  icon_->setObjectName("picIcon");
  icon_->hide();
}

int FormMessageBox::Px(double twips) const { return static_cast<int>(std::lround(twips / tpp_)); }

void FormMessageBox::Prepare(const std::string& text, int options, const std::string& title) {
  setWindowTitle(QString::fromStdString(title));
  ApplyGuiFont(this);
  for (QPushButton* b : buttons_) delete b;
  buttons_.clear();
  codes_ = MessageButtons(options);
  for (size_t i = 0; i < codes_.size(); ++i) {
    auto* b = new QPushButton(QString::fromStdString(ButtonCaption(codes_[i])), this);
    b->setObjectName(QString("cmdButton_%1").arg(i));
    const int code = codes_[i];
    connect(b, &QPushButton::clicked, this, [this, code] { Choose(code); });
    buttons_.push_back(b);
  }
  const int wanted = (options & 0x300) >> 8;
  defaultIndex_ = wanted < static_cast<int>(buttons_.size()) ? wanted : 0;
  const int iconKind = options & 0xF0;
  const bool hasIcon = iconKind == mb::Critical || iconKind == mb::Question || iconKind == mb::Exclamation ||
                       iconKind == mb::Information;
  icon_->SetKind(hasIcon ? iconKind : 0);
  icon_->setVisible(hasIcon);

  // Layout in twips.
  const int screenTwips = metrics_.ScreenWidthPix() * tpp_;
  const int buttonCount = static_cast<int>(buttons_.size());
  const int maxWidth = screenTwips - 3000;
  const int minWidth = std::max((metrics_.CmdButtonWidth() + kMargin) * buttonCount + kMargin, kMinWidth);
  QFont labelFont = label_->font();
  labelFont.setPointSize(metrics_.LabelFontSize());
  label_->setFont(labelFont);
  const int iconTwips = kIconPixels * tpp_;
  const int textLeft = hasIcon ? kMargin + iconTwips + kMargin : kMargin;
  const QFontMetrics fm(labelFont);
  const QString qtext = QString::fromStdString(text);
  int drawnPixels = 0;
  for (const QString& line : qtext.split('\n')) drawnPixels = std::max(drawnPixels, fm.horizontalAdvance(line));
  int textWidth = (drawnPixels + 4) * tpp_;
  if (textLeft + textWidth + kMargin < minWidth) textWidth = minWidth - 300;
  if (textLeft + textWidth + kMargin > maxWidth) textWidth = maxWidth - textLeft - kMargin;
  const QRect wrapped = fm.boundingRect(QRect(0, 0, std::max(1, Px(textWidth)), 100000),
                                        Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, qtext);
  const int textHeight = wrapped.height() * tpp_;
  const int frameHeight = std::max(0, frameGeometry().height() - geometry().height()) * tpp_;
  const int textBlock = frameHeight + kLabelTop + textHeight;
  widthTwips_ = textLeft + textWidth + kMargin;
  heightTwips_ = std::max(textBlock + metrics_.CmdButtonHeight() + 300, kMinHeight);

  const int innerHeight = heightTwips_ - frameHeight;
  setFixedSize(Px(widthTwips_), Px(innerHeight));
  label_->setGeometry(Px(textLeft), Px(kLabelTop), Px(textWidth), Px(textBlock));
  label_->setText(qtext);
  if (hasIcon) {
    const int iconTop = std::max(kLabelTop, kLabelTop + (textBlock - iconTwips) / 2);
    icon_->setGeometry(Px(kMargin), Px(iconTop), kIconPixels, kIconPixels);
  }
  QFont buttonFont = font();
  buttonFont.setPointSize(metrics_.CmdButtonFontSize());
  const int buttonTop = innerHeight - kMargin - metrics_.CmdButtonHeight();
  for (int i = 0; i < buttonCount; ++i) {
    const int fromRight = buttonCount - 1 - i;
    const int left = widthTwips_ - kMargin - metrics_.CmdButtonWidth() - fromRight * (metrics_.CmdButtonWidth() + kMargin);
    buttons_[static_cast<size_t>(i)]->setFont(buttonFont);
    buttons_[static_cast<size_t>(i)]->setGeometry(Px(left), Px(buttonTop), Px(metrics_.CmdButtonWidth()),
                                                  Px(metrics_.CmdButtonHeight()));
  }
  if (!buttons_.empty()) {
    for (QPushButton* b : buttons_) b->setAutoDefault(false);
    buttons_[static_cast<size_t>(defaultIndex_)]->setDefault(true);
  }
  // Centre on the screen.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
}

int FormMessageBox::Initialize(const std::string& text, int options, const std::string& title) {
  Prepare(text, options, title);
  hostMode_ = false;
  chosen_ = false;
  returnCode_ = 0;
  OpenBox() = this;
  exec();
  return returnCode_;
}

void FormMessageBox::QVXInitialize(int64_t window, const std::string& text, int options, const std::string& title) {
  Prepare(text, options, title);
  hostMode_ = true;
  hostWindow_ = window;
  chosen_ = false;
  returnCode_ = 0;
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  setModal(false);
  OpenBox() = this;
  QTimer::singleShot(10, this, [this] { show(); raise(); });
}

void FormMessageBox::Display(const std::string& text, const std::string& title) { Initialize(text, mb::OK, title); }

bool FormMessageBox::YesNo(const std::string& text, const std::string& title) {
  return Initialize(text, mb::YesNo, title) == answer::Yes;
}

void FormMessageBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!buttons_.empty()) {
    QPushButton* b = buttons_[static_cast<size_t>(defaultIndex_)];
    b->setDefault(true);
    b->setFocus();
  }
}

void FormMessageBox::reject() {
  if (chosen_) return;
  // A box without buttons (an options word outside the table) must still be closable.
  if (codes_.empty()) {
    Choose(0);
    return;
  }
  // Escape (and closing the window) answers only where a Cancel button exists.
  if (std::find(codes_.begin(), codes_.end(), answer::Cancel) != codes_.end()) Choose(answer::Cancel);
}

void FormMessageBox::Choose(int code) {
  if (chosen_) return;
  chosen_ = true;
  returnCode_ = code;
  if (hostMode_ && HostPresser()) HostPresser()(hostWindow_, code);
  if (hostMode_) {
    close();
    deleteLater();
  } else {
    done(code);
  }
}

void MessageIcon::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
  QFont f = font();
  f.setBold(true);
  f.setPixelSize(static_cast<int>(r.height() * 0.62));
  p.setFont(f);
  switch (kind_) {
    case mb::Critical: {
      p.setPen(QPen(QColor(150, 20, 20), 1));
      p.setBrush(QColor(220, 40, 40));
      p.drawEllipse(r);
      p.setPen(QPen(Qt::white, r.width() * 0.12, Qt::SolidLine, Qt::RoundCap));
      const QRectF c = r.adjusted(r.width() * 0.3, r.height() * 0.3, -r.width() * 0.3, -r.height() * 0.3);
      p.drawLine(c.topLeft(), c.bottomRight());
      p.drawLine(c.topRight(), c.bottomLeft());
      break;
    }
    case mb::Exclamation: {
      QPainterPath tri;
      tri.moveTo(r.center().x(), r.top());
      tri.lineTo(r.right(), r.bottom());
      tri.lineTo(r.left(), r.bottom());
      tri.closeSubpath();
      p.setPen(QPen(QColor(170, 120, 0), 1));
      p.setBrush(QColor(250, 200, 30));
      p.drawPath(tri);
      p.setPen(Qt::black);
      p.drawText(r.adjusted(0, r.height() * 0.2, 0, 0), Qt::AlignCenter, "!");
      break;
    }
    case mb::Question:
    case mb::Information: {
      p.setPen(QPen(QColor(20, 70, 160), 1));
      p.setBrush(QColor(40, 110, 210));
      p.drawEllipse(r);
      p.setPen(Qt::white);
      p.drawText(r, Qt::AlignCenter, kind_ == mb::Question ? "?" : "i");
      break;
    }
    default: break;
  }
}

int ShowMessage(const std::string& text, int options, const std::string& title) {
  FormMessageBox box;
  return box.Initialize(text, options, title.empty() ? ProgramTitle(CurrentProgram()) : title);
}

void ShowHostMessage(int64_t window, const std::string& text, int options, const std::string& title) {
  auto* box = new FormMessageBox();
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->QVXInitialize(window, text, options, title.empty() ? "Quarvex Message" : title);
}

void CloseMessage() {
  if (FormMessageBox* box = OpenBox()) {
    if (box->isModal() && box->isVisible()) {
      box->done(0);
    } else {
      box->close();
    }
  }
}

}  // namespace zephra::common::gui
