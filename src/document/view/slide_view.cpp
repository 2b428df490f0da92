#include "slide_view.h"

#include <QCursor>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>

#include "common/component_registry.h"
#include "common/gui/color.h"
#include "common/gui/handle_table.h"
#include "common/gui/screen_res.h"
#include "common/number_text.h"
#include "common/paths.h"
#include "common/program.h"
#include "common/prompts.h"
#include "common/string_res.h"
#include "common/text.h"

namespace zephra::document {

using common::Variant;
using common::gui::ToQColor;

namespace {

constexpr int kHitPixels = 3;

int32_t Round(double v) { return static_cast<int32_t>(std::lround(v)); }

int ButtonOf(Qt::MouseButton b) { return b == Qt::RightButton ? kRightButton : kLeftButton; }

// Title prompt of the program: the editor's or the monitor's numbers.
int32_t TitlePrompt() { return common::CurrentProgram() == common::ProgramKind::Editor ? 31218 : 30128; }
int32_t TitleCaption() { return common::CurrentProgram() == common::ProgramKind::Editor ? 31219 : 30129; }

enum class PictureKind { None, Bitmap, Metafile };

// The object a picture file is shown with, by its name: metafiles (and SVG drawings) scale,
// bitmaps (and the common raster formats) are copied unscaled.
PictureKind KindOfPicture(const std::string& file) {
  const std::string upper = common::ToUpperAscii(file);
  auto has = [&](const char* ext) {
    const size_t pos = upper.find(ext, 1);
    return pos != std::string::npos && pos > 0;
  };
  if (has(".WMF") || has(".EMF") || has(".SVG")) return PictureKind::Metafile;
  if (has(".BMP") || has(".PNG") || has(".JPG") || has(".JPEG") || has(".GIF")) return PictureKind::Bitmap;
  return PictureKind::None;
}

}  // namespace

// ---- windows ---------------------------------------------------------------------------------

QWidget* SimpleSlideViewOwner::CreateIcon() {
  auto* w = new IconWindow(nextIndex_++, host_);
  w->hide();
  return w;
}

SlideHost::SlideHost(QWidget* parent) : QWidget(parent) {
  setObjectName("picMainRegion");
  setAutoFillBackground(true);
  setMouseTracking(true);
}

void SlideHost::paintEvent(QPaintEvent*) {
  if (!view_) return;
  QPainter p(this);
  view_->HostPaint(p);
}

void SlideHost::resizeEvent(QResizeEvent*) {
  if (view_) view_->HostResize();
}

void SlideHost::mousePressEvent(QMouseEvent* e) {
  if (!view_) return;
  const QPoint pos = e->position().toPoint();
  // A press that no leader takes goes on to the owner window.
  if (!view_->HostMouseDown(ButtonOf(e->button()), static_cast<int>(e->modifiers()),
                            pos.x() * view_->UnitsPerPixelX(), pos.y() * view_->UnitsPerPixelY())) {
    e->ignore();
  }
}

void SlideHost::mouseMoveEvent(QMouseEvent* e) {
  if (!view_) return;
  const QPoint pos = e->position().toPoint();
  view_->HostMouseMove(ButtonOf(e->button()), static_cast<int>(e->modifiers()),
                       pos.x() * view_->UnitsPerPixelX(), pos.y() * view_->UnitsPerPixelY());
}

void SlideHost::mouseReleaseEvent(QMouseEvent* e) {
  if (!view_) return;
  const QPoint pos = e->position().toPoint();
  view_->HostMouseUp(ButtonOf(e->button()), static_cast<int>(e->modifiers()),
                     pos.x() * view_->UnitsPerPixelX(), pos.y() * view_->UnitsPerPixelY());
}

IconWindow::IconWindow(int index, QWidget* host) : QWidget(host), index_(index) {
  setObjectName(QString("picIconView_%1").arg(index));
}

void IconWindow::paintEvent(QPaintEvent*) {
  if (!view_) return;
  QPainter p(this);
  view_->ViewPaint(index_, p);
}

void IconWindow::mousePressEvent(QMouseEvent* e) {
  if (!view_) return;
  const QPoint pos = e->position().toPoint();
  view_->ViewMouseDown(index_, ButtonOf(e->button()), static_cast<int>(e->modifiers()),
                       pos.x() * view_->UnitsPerPixelX(), pos.y() * view_->UnitsPerPixelY());
}

void IconWindow::mouseMoveEvent(QMouseEvent* e) {
  if (!view_) return;
  const QPoint pos = e->position().toPoint();
  view_->ViewMouseMove(index_, ButtonOf(e->button()), static_cast<int>(e->modifiers()),
                       pos.x() * view_->UnitsPerPixelX(), pos.y() * view_->UnitsPerPixelY());
}

void IconWindow::mouseReleaseEvent(QMouseEvent* e) {
  if (!view_) return;
  const QPoint pos = e->position().toPoint();
  view_->ViewMouseUp(index_, ButtonOf(e->button()), static_cast<int>(e->modifiers()),
                     pos.x() * view_->UnitsPerPixelX(), pos.y() * view_->UnitsPerPixelY());
}

DragOverlay::DragOverlay(QWidget* host) : QWidget(host) {
  setObjectName("picDragOverlay");
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setGeometry(host->rect());
  hide();
}

void DragOverlay::ShowFrame(const QRect& rect) {
  frame_ = rect;
  square_ = QRect();
  setGeometry(parentWidget()->rect());
  show();
  raise();
  update();
}

void DragOverlay::ShowSquare(const QPoint& centre) {
  square_ = QRect(centre.x() - 1, centre.y() - 1, 3, 3);
  frame_ = QRect();
  setGeometry(parentWidget()->rect());
  show();
  raise();
  update();
}

void DragOverlay::Clear() {
  frame_ = QRect();
  square_ = QRect();
  hide();
}

void DragOverlay::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QBrush hatch(Qt::black, Qt::Dense4Pattern);
  if (!frame_.isNull()) {
    // A frame 4 pixels wide, hatched so it shows on any background.
    const QRect r = frame_;
    p.fillRect(QRect(r.left(), r.top(), r.width(), 4), hatch);
    p.fillRect(QRect(r.left(), r.bottom() - 3, r.width(), 4), hatch);
    p.fillRect(QRect(r.left(), r.top(), 4, r.height()), hatch);
    p.fillRect(QRect(r.right() - 3, r.top(), 4, r.height()), hatch);
  }
  if (!square_.isNull()) p.fillRect(square_, Qt::black);
}

// ---- slide view ------------------------------------------------------------------------------

SlideView::SlideView() : views_(std::make_unique<IconViewCollection>(*this)) {}

SlideView::~SlideView() {
  views_->Clear();
  if (host_) host_->SetView(nullptr);
}

void SlideView::Initialize(SlideViewOwner* owner, SlideHost* host, std::vector<QPixmap> symbolImages,
                           std::vector<QPixmap> kindImages) {
  owner_ = owner;
  host_ = host;
  symbols_ = std::move(symbolImages);
  kinds_ = std::move(kindImages);
  locked_ = false;
  ColorOK = 0x00FF00;
  ColorWarning = 0x00FFFF;
  ColorError = 0x0000FF;
  ColorEmpty = 0xFFFF00;
  tppX_ = tppY_ = common::gui::TwipsPerPixel();
  if (host_) {
    host_->SetView(this);
    overlay_ = new DragOverlay(host_);
  }
  ComputePictureRect();
}

void SlideView::SetUnitsPerPixel(int32_t x, int32_t y) {
  tppX_ = std::max(1, x);
  tppY_ = std::max(1, y);
  ComputePictureRect();
  for (const auto& v : *views_) v->Reposition();
}

int32_t SlideView::HostWidth() const { return host_ ? host_->width() * tppX_ : 0; }
int32_t SlideView::HostHeight() const { return host_ ? host_->height() * tppY_ : 0; }
int SlideView::ToPixelsX(int32_t units) const { return Round(static_cast<double>(units) / tppX_); }
int SlideView::ToPixelsY(int32_t units) const { return Round(static_cast<double>(units) / tppY_); }

void SlideView::SetSlide(std::shared_ptr<Slide> slide) {
  leaderDrag_ = nullptr;
  views_->Clear();
  ReleasePicture();
  slide_ = std::move(slide);
  if (!slide_) {
    ComputePictureRect();
    HostRefresh();
    return;
  }
  for (const auto& icon : slide_->Icons()) AddView(icon);
  pictureNeedsLoading_ = true;
  if (host_) {
    QPalette pal = host_->palette();
    pal.setColor(QPalette::Window, ToQColor(static_cast<uint32_t>(slide_->BackColor())));
    host_->setPalette(pal);
  }
  ComputePictureRect();
  HostRefresh();
}

void SlideView::AddView(const std::shared_ptr<Icon>& icon) {
  // The owner hands out the icon's window; an owner that fails leaves the icon without a view.
  QWidget* window = nullptr;
  try {
    window = owner_ ? owner_->CreateIcon() : nullptr;
  } catch (...) {
    window = nullptr;
  }
  if (window) views_->Add(icon, window);
}

void SlideView::UpdateSlide() {
  ComputePictureRect();
  HostRefresh();
}

std::string SlideView::BackgroundPicture() const { return slide_ ? slide_->PictureFile() : std::string(); }

void SlideView::SetBackgroundPicture(const std::string& path) {
  if (!slide_) return;
  slide_->SetPictureFile(path);
  ReleasePicture();
  pictureNeedsLoading_ = true;
  ComputePictureRect();
  ForceRepaint();
  SignalFileChanged();
}

void SlideView::ReloadPicture() {
  ReleasePicture();
  pictureNeedsLoading_ = true;
  ForceRepaint();
}

void SlideView::ClearPicture() {
  ReleasePicture();
  HostRefresh();
}

void SlideView::SetPicturePosition(int16_t& l, int16_t& t, int16_t& w, int16_t& h) {
  w = std::clamp<int16_t>(w, 1, 100);
  h = std::clamp<int16_t>(h, 1, 100);
  l = std::max<int16_t>(l, 0);
  t = std::max<int16_t>(t, 0);
  l = std::min<int16_t>(l, static_cast<int16_t>(100 - w));
  t = std::min<int16_t>(t, static_cast<int16_t>(100 - h));
  if (!slide_) return;
  slide_->SetPicturePosition(l, t, w, h);
  ComputePictureRect();
  ForceRepaint();
  SignalFileChanged();
}

void SlideView::GetPicturePosition(int16_t& l, int16_t& t, int16_t& w, int16_t& h) const {
  if (slide_) slide_->GetPicturePosition(l, t, w, h);
}

void SlideView::UpdateTitle() {
  if (!slide_) return;
  auto answer = common::CurrentPrompts().InputBox(common::GetMessage(TitlePrompt()),
                                                  common::GetMessage(TitleCaption()), slide_->Name());
  slide_->SetName(answer.value_or(""));
  HostRefresh();
  SignalFileChanged();
}

void SlideView::SetBackColor(int32_t color) {
  if (!slide_) return;
  slide_->SetBackColor(color);
  if (host_) {
    QPalette pal = host_->palette();
    pal.setColor(QPalette::Window, ToQColor(static_cast<uint32_t>(color)));
    host_->setPalette(pal);
  }
  HostRefresh();
  SignalFileChanged();
}

void SlideView::AddIcon(const Icon* definition) {
  if (!slide_) return;
  std::shared_ptr<Icon> icon = slide_->Icons().Add();
  if (definition) definition->Copy(*icon);
  AddView(icon);
  HostRefresh();
  SignalFileChanged();
}

void SlideView::TestRepaint() {
  for (const auto& v : *views_) v->TestRepaint();
}

void SlideView::ForceRepaint() {
  HostRefresh();
  for (const auto& v : *views_) v->ForceRepaint();
}

int32_t SlideView::StateColor(int32_t state) const {
  switch (state) {
    case -1: return 0xFFFFFF;
    case 1: return ColorOK;
    case 2: return ColorWarning;
    case 3: return ColorWarningPlus;
    case 4: return ColorWarningMinus;
    case 5: return ColorError;
    case 6: return ColorErrorPlus;
    case 7: return ColorErrorMinus;
    default: return ColorEmpty;
  }
}

double SlideView::CurrentWidthRatio() const {
  const int32_t w = HostWidth();
  return w ? static_cast<double>(pw_) / w : 0.0;
}

double SlideView::CurrentHeightRatio() const {
  const int32_t h = HostHeight();
  return h ? static_cast<double>(ph_) / h : 0.0;
}

void SlideView::HostRefresh() {
  if (host_) host_->update();
}

void SlideView::PictureRect(int32_t& x0, int32_t& y0, int32_t& pw, int32_t& ph) const {
  x0 = x0_, y0 = y0_, pw = pw_, ph = ph_;
}

void SlideView::ComputePictureRect() {
  const int32_t W = HostWidth();
  const int32_t H = HostHeight();
  if (!slide_) {
    x0_ = 0, y0_ = 0, pw_ = W, ph_ = H;
    return;
  }
  int16_t l, t, w, h;
  slide_->GetPicturePosition(l, t, w, h);
  if (!HasPictureObject()) {
    x0_ = Round(l * W / 100.0);
    y0_ = Round(t * H / 100.0);
    pw_ = Round(w * W / 100.0);
    ph_ = Round(h * H / 100.0);
    return;
  }
  if (bitmap_) {
    try {
      pw_ = bitmap_->GetByName("Width").ToLong() * tppX_;
      ph_ = bitmap_->GetByName("Height").ToLong() * tppY_;
    } catch (...) {
      pw_ = ph_ = 0;
    }
  } else {
    pw_ = Round(w * W / 100.0);
    ph_ = Round(h * H / 100.0);
  }
  x0_ = Round(l * (W - pw_) / 100.0);
  y0_ = Round(t * (H - ph_) / 100.0);
}

void SlideView::ReleasePicture() {
  for (auto* object : {&bitmap_, &metafile_}) {
    if (*object) {
      try {
        (*object)->CallByName("ReleaseFile");
      } catch (...) {
      }
      object->reset();
    }
  }
}

void SlideView::LoadPicture() {
  pictureNeedsLoading_ = false;
  ReleasePicture();
  if (!slide_) return;
  const std::string file = slide_->PictureFile();
  const PictureKind kind = KindOfPicture(file);
  if (kind == PictureKind::None) {
    ComputePictureRect();
    return;
  }
  try {
    auto object = common::CreateObject(kind == PictureKind::Metafile ? "VRDGraphics.Metafile" : "VRDGraphics.Bitmap");
    object->CallByName("LoadFile", {Variant(file), Variant(int32_t{0})});
    (kind == PictureKind::Metafile ? metafile_ : bitmap_) = std::move(object);
  } catch (...) {
    // A missing or unreadable picture leaves the area without one.
  }
  ComputePictureRect();
}

void SlideView::ConvertVirtualHostToHost(int32_t& x, int32_t& y) const {
  x = Round(static_cast<double>(x) * HostWidth() / 1000.0);
  y = Round(static_cast<double>(y) * HostHeight() / 1000.0);
}

void SlideView::ConvertHostToVirtualHost(int32_t& x, int32_t& y) const {
  const int32_t W = HostWidth(), H = HostHeight();
  x = W ? Round(static_cast<double>(x) * 1000.0 / W) : 0;
  y = H ? Round(static_cast<double>(y) * 1000.0 / H) : 0;
}

void SlideView::ConvertPictureToHost(int32_t& x, int32_t& y) const {
  x = Round(x0_ + pw_ * static_cast<double>(x) / 1000.0);
  y = Round(y0_ + ph_ * static_cast<double>(y) / 1000.0);
}

void SlideView::ConvertHostToPicture(int32_t& x, int32_t& y) const {
  x = pw_ ? std::clamp(Round((x - x0_) * 1000.0 / pw_), 0, 1000) : 0;
  y = ph_ ? std::clamp(Round((y - y0_) * 1000.0 / ph_), 0, 1000) : 0;
}

void SlideView::ConvertHostToScreen(int32_t& x, int32_t& y) const {
  QPoint p(ToPixelsX(x), ToPixelsY(y));
  if (host_) p = host_->mapToGlobal(p);
  x = p.x();
  y = p.y();
}

const QPixmap* SlideView::GetImage(int32_t n) const {
  if (n >= 1 && n <= static_cast<int32_t>(symbols_.size()) && !symbols_[static_cast<size_t>(n - 1)].isNull()) {
    return &symbols_[static_cast<size_t>(n - 1)];
  }
  return symbols_.empty() ? nullptr : &symbols_.front();
}

const QPixmap* SlideView::GetTypeImage(int16_t column, bool isLimit, bool isAverage) const {
  int n = column + 1;
  if (isLimit) n = column + 7;
  if (isAverage && column == 4) n = 14;
  if (n >= 1 && n <= static_cast<int>(kinds_.size()) && !kinds_[static_cast<size_t>(n - 1)].isNull()) {
    return &kinds_[static_cast<size_t>(n - 1)];
  }
  return symbols_.size() >= 13 ? &symbols_[12] : nullptr;
}

void SlideView::HostPaint(QPainter& painter) {
  ++hostPaints_;
  if (!slide_) return;
  try {
    if (pictureNeedsLoading_) LoadPicture();
    common::gui::ScopedPainterHandle dc(&painter);
    if (metafile_) {
      metafile_->CallByName("Draw", {Variant(dc.handle()), Variant(ToPixelsX(x0_)), Variant(ToPixelsY(y0_)),
                                     Variant(ToPixelsX(pw_)), Variant(ToPixelsY(ph_))});
    } else if (bitmap_) {
      bitmap_->CallByName("Draw", {Variant(dc.handle()), Variant(ToPixelsX(x0_)), Variant(ToPixelsY(y0_))});
    }
  } catch (...) {
  }
  painter.save();
  painter.setPen(host_ ? host_->palette().color(QPalette::WindowText) : Qt::black);
  painter.setFont(host_ ? host_->font() : painter.font());
  const QRect area = host_ ? host_->rect().adjusted(2, 2, 0, 0) : QRect();
  painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, QString::fromStdString(slide_->Name()));
  painter.restore();
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (const auto& v : *views_) {
    if (v->GetIcon()->DrawLeader()) v->PaintTagLine(painter);
  }
  painter.restore();
}

void SlideView::HostResize() {
  ComputePictureRect();
  if (overlay_ && host_) overlay_->setGeometry(host_->rect());
  for (const auto& v : *views_) v->Reposition();
}

bool SlideView::HostMouseDown(int button, int, int32_t x, int32_t y) {
  if (!slide_ || locked_) return true;
  for (const auto& v : *views_) {
    if (v->TagHitTest(x, y)) {
      leaderDrag_ = v.get();
      v->StartTagDrag(x, y);
      return true;
    }
  }
  (void)button;
  return false;
}

void SlideView::HostMouseMove(int button, int shift, int32_t x, int32_t y) {
  if (!slide_ || locked_) return;
  if (leaderDrag_) {
    leaderDrag_->MouseMove(button, shift, x, y);
    return;
  }
  bool near = false;
  for (const auto& v : *views_) {
    if (v->TagHitTest(x, y)) {
      near = true;
      break;
    }
  }
  if (host_) host_->setCursor(near ? Qt::CrossCursor : Qt::ArrowCursor);
}

void SlideView::HostMouseUp(int button, int shift, int32_t x, int32_t y) {
  if (!slide_ || !leaderDrag_) return;
  IconView* view = leaderDrag_;
  leaderDrag_ = nullptr;
  view->MouseUp(button, shift, x, y);
}

void SlideView::ViewPaint(int index, QPainter& painter) {
  if (!slide_) return;
  if (IconView* v = views_->Find(index)) v->Paint(painter);
}

// Icon windows report their own coordinates; the views work in host units.
void SlideView::ViewMouseDown(int index, int button, int shift, int32_t x, int32_t y) {
  if (!slide_) return;
  if (IconView* v = views_->Find(index)) {
    v->MouseDown(button, shift, x + v->Window()->x() * tppX_, y + v->Window()->y() * tppY_);
  }
}

void SlideView::ViewMouseMove(int index, int button, int shift, int32_t x, int32_t y) {
  if (!slide_) return;
  if (IconView* v = views_->Find(index)) {
    v->MouseMove(button, shift, x + v->Window()->x() * tppX_, y + v->Window()->y() * tppY_);
  }
}

void SlideView::ViewMouseUp(int index, int button, int shift, int32_t x, int32_t y) {
  if (!slide_) return;
  if (IconView* v = views_->Find(index)) {
    v->MouseUp(button, shift, x + v->Window()->x() * tppX_, y + v->Window()->y() * tppY_);
  }
}

void SlideView::DrawTagLine(QPainter& painter, IconView& view, int32_t picX, int32_t picY, int16_t bend,
                            bool vertical, int32_t color) {
  QWidget* w = view.Window();
  if (!w) return;
  const QPointF c(w->x() + w->width() / 2.0, w->y() + w->height() / 2.0);
  int32_t px = picX, py = picY;
  ConvertPictureToHost(px, py);
  const QPointF target(ToPixelsX(px), ToPixelsY(py));
  painter.setPen(QPen(ToQColor(static_cast<uint32_t>(color)), 2));
  if (bend == 0) {
    painter.drawLine(c, target);
    return;
  }
  const QPointF corner = vertical ? QPointF(c.x(), c.y() - (c.y() - target.y()) * bend / 100.0)
                                  : QPointF(c.x() - (c.x() - target.x()) * bend / 100.0, c.y());
  painter.drawLine(c, corner);
  painter.drawLine(corner, target);
}

void SlideView::SignalIcon(IconView& view) {
  try {
    if (owner_) owner_->SignalIcon(view);
  } catch (...) {
  }
}

void SlideView::SignalFileChanged() {
  try {
    if (owner_) owner_->SignalFileChanged();
  } catch (...) {
  }
}

// ---- icon views ------------------------------------------------------------------------------

IconView::IconView(SlideView& view, std::shared_ptr<Icon> icon, QWidget* window)
    : view_(&view), icon_(std::move(icon)), window_(window) {
  if (auto* iw = qobject_cast<IconWindow*>(window)) iw->SetView(&view);
  UpdateProperties();
  if (window_) window_->show();
}

IconView::~IconView() {
  if (!window_) return;
  // Window 0 of an owner's array stays (hidden); the others go.
  if (Index() == 0) {
    window_->hide();
  } else {
    window_->hide();
    window_->deleteLater();
  }
}

int IconView::Index() const {
  if (auto* iw = qobject_cast<IconWindow*>(window_.data())) return iw->Index();
  return window_ ? window_->property("index").toInt() : -1;
}

void IconView::SetName(const std::string& name) {
  icon_->SetName(name);
  UpdateProperties();
  view_->SignalFileChanged();
}

QFont IconView::IconFont() const {
  QFont f(QString::fromStdString(icon_->FontName()));
  f.setPointSize(std::max<int>(1, icon_->FontSize()));
  f.setBold(icon_->FontBold());
  return f;
}

int IconView::RowHeight() const { return std::max(16, QFontMetrics(IconFont()).height()); }

QSize IconView::WindowSize() const {
  const QFontMetrics fm(IconFont());
  const int nameWidth = fm.horizontalAdvance(QString::fromStdString(icon_->Name()));
  const int rowHeight = RowHeight();
  const int count = icon_->Values().Count();
  if (count == 0) return QSize(nameWidth + 10, rowHeight + 6);
  const int digitsWidth = fm.horizontalAdvance(QString(icon_->DisplayDigits() + 4, '0')) + 42;
  return QSize(std::max(nameWidth + 10, digitsWidth), (count + 1) * rowHeight + 8);
}

void IconView::UpdateProperties() {
  if (!window_) return;
  try {
    window_->setFont(IconFont());
    QPalette pal = window_->palette();
    pal.setColor(QPalette::WindowText, ToQColor(static_cast<uint32_t>(icon_->FontColor())));
    pal.setColor(QPalette::Window, ToQColor(static_cast<uint32_t>(icon_->NameColor())));
    window_->setPalette(pal);
  } catch (...) {
  }
  try {
    window_->resize(WindowSize());
  } catch (...) {
  }
  try {
    Reposition();
  } catch (...) {
  }
  ForceRepaint();
}

void IconView::SetPosition(int32_t l, int32_t t) {
  if (l != icon_->Left() || t != icon_->Top()) {
    icon_->SetLeft(l);
    icon_->SetTop(t);
    view_->SignalFileChanged();
  }
  Reposition();
}

void IconView::GetPosition(int32_t& l, int32_t& t) const {
  l = icon_->Left();
  t = icon_->Top();
}

void IconView::Reposition() {
  if (!window_) return;
  int32_t x = icon_->Left(), y = icon_->Top();
  view_->ConvertVirtualHostToHost(x, y);
  window_->move(view_->ToPixelsX(x), view_->ToPixelsY(y));
}

void IconView::TestRepaint() {
  if (icon_->Version() != paintedVersion_) ForceRepaint();
}

void IconView::ForceRepaint() {
  if (window_) window_->update();
}

void IconView::RefreshView() { ForceRepaint(); }

std::string IconView::ValueText(const Value& value) const {
  const int digits = std::max<int>(0, icon_->DisplayDigits());
  std::string text;
  if (view_->MonitorTexts()) {
    text = value.DisplayText();
    if (auto number = common::ParseNumber(text)) text = common::FormatFixed(*number, digits);
  } else {
    text = common::FormatFixed(value.ColumnNumber(value.Column()), digits);
  }
  const size_t width = static_cast<size_t>(digits + 4);
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

void IconView::Paint(QPainter& p) {
  ++paints_;
  if (!window_) return;
  const int bw = window_->width();
  const int bh = window_->height();
  const int rowHeight = RowHeight();
  const QColor light(224, 224, 224);
  const QColor dark = ToQColor(0x80000015u);
  // Raised outer frame.
  p.setPen(light);
  p.drawLine(0, 0, bw - 1, 0);
  p.drawLine(0, 0, 0, bh - 1);
  p.setPen(Qt::black);
  p.drawLine(0, bh - 1, bw - 1, bh - 1);
  p.drawLine(bw - 1, 0, bw - 1, bh - 1);
  p.setPen(Qt::white);
  p.drawLine(1, 1, bw - 2, 1);
  p.drawLine(1, 1, 1, bh - 2);
  p.setPen(dark);
  p.drawLine(1, bh - 2, bw - 2, bh - 2);
  p.drawLine(bw - 2, 1, bw - 2, bh - 2);
  auto sunken = [&](const QRect& r) {
    p.setPen(dark);
    p.drawLine(r.left() - 1, r.top() - 1, r.right() + 1, r.top() - 1);
    p.drawLine(r.left() - 1, r.top() - 1, r.left() - 1, r.bottom() + 1);
    p.setPen(light);
    p.drawLine(r.left() - 1, r.bottom() + 1, r.right() + 1, r.bottom() + 1);
    p.drawLine(r.right() + 1, r.top() - 1, r.right() + 1, r.bottom() + 1);
  };
  // Name strip.
  const QRect nameStrip(QPoint(4, 2), QPoint(bw - 5, rowHeight + 1));
  FillRectangle(p, icon_->NameColor(), nameStrip);
  sunken(nameStrip);
  p.setFont(IconFont());
  p.setPen(ToQColor(static_cast<uint32_t>(icon_->FontColor())));
  p.drawText(QRect(4, 2, bw - 8, rowHeight), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
             QString::fromStdString(icon_->Name()));
  const ValueCollection& values = icon_->Values();
  if (values.Count() > 0) {
    const QRect area(QPoint(3, rowHeight + 5), QPoint(bw - 5, rowHeight + 4 + values.Count() * rowHeight));
    sunken(area);
    int k = 0;
    for (const auto& value : values) {
      const int y = rowHeight + 5 + k * rowHeight;
      FillRectangle(p, view_->StateColor(value->TOLERANCE()), QRect(QPoint(3, y), QPoint(bw - 5, y + rowHeight - 1)));
      const int imageY = y + rowHeight / 2 - 8;
      if (const QPixmap* img = view_->GetImage(value->GeometricSymbol())) p.drawPixmap(5, imageY, 16, 16, *img);
      if (const QPixmap* img = view_->GetTypeImage(value->Column(), value->IsLimitTolerance(), value->IsAverage())) {
        p.drawPixmap(21, imageY, 16, 16, *img);
      }
      const std::string text = ValueText(*value);
      const bool left = static_cast<int>(text.size()) > icon_->DisplayDigits();
      p.setPen(Qt::black);
      p.drawText(QRect(QPoint(38, y), QPoint(bw - 6, y + rowHeight - 1)),
                 (left ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter | Qt::TextSingleLine,
                 QString::fromStdString(text));
      ++k;
    }
  }
  paintedVersion_ = icon_->Version();
}

void IconView::FillRectangle(QPainter& painter, int32_t color, const QRect& rect) {
  // Any system colour fills as the button face.
  const uint32_t c = static_cast<uint32_t>(color);
  painter.fillRect(rect, (c & 0x80000000u) ? ToQColor(0x8000000Fu) : ToQColor(c));
}

void IconView::PaintTagLine(QPainter& painter) {
  view_->DrawTagLine(painter, *this, icon_->LeaderX(), icon_->LeaderY(), icon_->LeaderBendPoint(),
                     icon_->IsLeaderVertical(), icon_->LeaderColor());
}

bool IconView::TagHitTest(int32_t x, int32_t y) const {
  if (!icon_->DrawLeader()) return false;
  int32_t tx = icon_->LeaderX(), ty = icon_->LeaderY();
  view_->ConvertPictureToHost(tx, ty);
  return std::abs(view_->ToPixelsX(x) - view_->ToPixelsX(tx)) <= kHitPixels &&
         std::abs(view_->ToPixelsY(y) - view_->ToPixelsY(ty)) <= kHitPixels;
}

void IconView::StartTagDrag(int32_t x, int32_t y) {
  drag_ = DragKind::Leader;
  dragStart_ = QPoint(view_->ToPixelsX(x), view_->ToPixelsY(y));
  outlineShown_ = false;
}

void IconView::MouseDown(int button, int, int32_t x, int32_t y) {
  if (button == kRightButton || view_->Locked()) {
    view_->SignalIcon(*this);
    return;
  }
  if (!window_) return;
  drag_ = DragKind::Move;
  dragStart_ = QPoint(view_->ToPixelsX(x), view_->ToPixelsY(y));
  outline_ = window_->geometry();
  outlineShown_ = false;
}

void IconView::MouseMove(int, int, int32_t x, int32_t y) {
  if (drag_ == DragKind::None) return;
  const QPoint mouse(view_->ToPixelsX(x), view_->ToPixelsY(y));
  DragOverlay* overlay = view_->Overlay();
  if (drag_ == DragKind::Move) {
    const QPoint delta = mouse - dragStart_;
    if (delta.isNull() && !outlineShown_) return;
    if (overlay) overlay->ShowFrame(outline_.translated(delta));
  } else {
    if (overlay) overlay->ShowSquare(mouse);
  }
  outlineShown_ = true;
}

void IconView::MouseUp(int, int, int32_t x, int32_t y) {
  const DragKind kind = drag_;
  drag_ = DragKind::None;
  if (kind == DragKind::None) return;
  if (DragOverlay* overlay = view_->Overlay()) overlay->Clear();
  if (outlineShown_ && window_) {
    const QPoint mouse(view_->ToPixelsX(x), view_->ToPixelsY(y));
    if (kind == DragKind::Move) {
      const QWidget* host = window_->parentWidget();
      QPoint corner = outline_.topLeft() + (mouse - dragStart_);
      const int maxX = host ? host->width() - window_->width() : corner.x();
      const int maxY = host ? host->height() - window_->height() : corner.y();
      corner.setX(std::max(0, std::min(corner.x(), maxX)));
      corner.setY(std::max(0, std::min(corner.y(), maxY)));
      window_->move(corner);
      int32_t l = corner.x() * view_->UnitsPerPixelX();
      int32_t t = corner.y() * view_->UnitsPerPixelY();
      view_->ConvertHostToVirtualHost(l, t);
      icon_->SetLeft(l);
      icon_->SetTop(t);
    } else {
      int32_t px = x, py = y;
      view_->ConvertHostToPicture(px, py);
      icon_->SetLeaderX(px);
      icon_->SetLeaderY(py);
    }
    view_->SignalFileChanged();
  }
  outlineShown_ = false;
  if (icon_->DrawLeader()) view_->HostRefresh();
}

// ---- collection ------------------------------------------------------------------------------

IconView& IconViewCollection::Item(int32_t index) const {
  if (index < 1 || index > Count()) common::RaisePlatformError(common::err::SubscriptOutOfRange, "IconViewCollection");
  return *items_[static_cast<size_t>(index - 1)];
}

IconView* IconViewCollection::Find(int lIndex) const {
  for (const auto& v : items_) {
    if (v->Index() == lIndex) return v.get();
  }
  return nullptr;
}

IconView& IconViewCollection::Add(std::shared_ptr<Icon> icon, QWidget* window) {
  items_.push_back(std::make_unique<IconView>(*view_, std::move(icon), window));
  return *items_.back();
}

bool IconViewCollection::IsUsed(const std::string& sDCmdName) const {
  return std::any_of(items_.begin(), items_.end(), [&](const auto& v) { return v->GetIcon()->Name() == sDCmdName; });
}

void IconViewCollection::Remove(int32_t index) {
  if (index < 1 || index > Count()) common::RaisePlatformError(common::err::SubscriptOutOfRange, "IconViewCollection");
  items_.erase(items_.begin() + (index - 1));
}

void IconViewCollection::Remove(const IconView& view) {
  items_.erase(std::remove_if(items_.begin(), items_.end(), [&](const auto& v) { return v.get() == &view; }),
               items_.end());
}

// ---- image lists -----------------------------------------------------------------------------

namespace {
std::vector<QPixmap> LoadImages(const char* folder, const char* prefix, int count) {
  std::vector<QPixmap> images;
  const std::string dir = common::JoinPath(common::JoinPath(common::ResourceDirectory(), "images"), folder);
  for (int i = 1; i <= count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "%s-%02d.svg", prefix, i);
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QString::fromStdString(common::JoinPath(dir, name)));
    if (renderer.isValid()) {
      QPainter p(&pixmap);
      renderer.render(&p, QRectF(0, 0, 16, 16));
    } else {
      pixmap = QPixmap();
    }
    images.push_back(pixmap);
  }
  return images;
}
}  // namespace

std::vector<QPixmap> LoadSymbolImages() { return LoadImages("symbols", "symbol", 48); }
std::vector<QPixmap> LoadKindImages() { return LoadImages("kinds", "kind", 14); }

}  // namespace zephra::document
