#pragma once
// Drawing one slide into an area of a window: the background picture placed by the slide's
// percentages, the title, one small window per icon with a coloured row per value, and the
// leaders from the icons to points on the picture. Mouse actions on the area and on the icon
// windows edit icon positions and leader targets unless the view is locked.
//
// Positions are stored relative (percent of the area for the picture, thousandths of the area
// for icons, thousandths of the picture rectangle for leader targets), so a slide keeps its
// layout at any size. The area's own unit is the twip; drawing converts to pixels.

#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/slide.h"

namespace zephra::common {
class Dispatch;
}

namespace zephra::document {

class IconView;
class IconViewCollection;
class SlideView;
class DragOverlay;

// What the window that holds a slide view provides.
class SlideViewOwner {
 public:
  virtual ~SlideViewOwner() = default;
  // A new, hidden icon window: a child of the host area with an index of its own.
  virtual QWidget* CreateIcon() = 0;
  // The user right-clicked an icon, or clicked one while the view is locked.
  virtual void SignalIcon(IconView& view) = 0;
  // The slide was edited.
  virtual void SignalFileChanged() = 0;
};

// The owner for windows that have no icon windows of their own to hand out: icon windows are
// plain children of the host, numbered from 1.
class SimpleSlideViewOwner : public SlideViewOwner {
 public:
  explicit SimpleSlideViewOwner(QWidget* host) : host_(host) {}
  QWidget* CreateIcon() override;
  void SignalIcon(IconView&) override { ++iconSignals; }
  void SignalFileChanged() override { ++fileChanges; }
  int iconSignals = 0;
  int fileChanges = 0;

 private:
  QWidget* host_;
  int nextIndex_ = 1;
};

// The slide area: paints and forwards its mouse events to the slide view.
class SlideHost : public QWidget {
  Q_OBJECT
 public:
  explicit SlideHost(QWidget* parent = nullptr);
  void SetView(SlideView* view) { view_ = view; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  SlideView* view_ = nullptr;
};

// An icon window: paints its icon view and forwards its mouse events.
class IconWindow : public QWidget {
  Q_OBJECT
 public:
  IconWindow(int index, QWidget* host);
  int Index() const { return index_; }
  void SetView(SlideView* view) { view_ = view; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  int index_;
  SlideView* view_ = nullptr;
};

// Mouse buttons as the event entry points take them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;

class SlideView {
 public:
  SlideView();
  ~SlideView();
  SlideView(const SlideView&) = delete;
  SlideView& operator=(const SlideView&) = delete;

  // Binds the owner, the host area and the image lists (16 x 16 pictures, 1-based); sets the
  // default colours and unlocks.
  void Initialize(SlideViewOwner* owner, SlideHost* host, std::vector<QPixmap> symbolImages,
                  std::vector<QPixmap> kindImages);
  void SetSlide(std::shared_ptr<Slide> slide);
  const std::shared_ptr<Slide>& CurrentSlide() const { return slide_; }
  void UpdateSlide();

  std::string BackgroundPicture() const;
  void SetBackgroundPicture(const std::string& path);
  void ReloadPicture();
  void ClearPicture();
  // Clamps and stores the placement; the clamped values come back through the arguments.
  void SetPicturePosition(int16_t& l, int16_t& t, int16_t& w, int16_t& h);
  void GetPicturePosition(int16_t& l, int16_t& t, int16_t& w, int16_t& h) const;
  void UpdateTitle();
  void SetBackColor(int32_t color);
  void AddIcon(const Icon* definition = nullptr);
  void TestRepaint();
  void ForceRepaint();

  // Colours 0x00BBGGRR (top bit: system colour).
  int32_t ColorEmpty = 0xFFFF00;
  int32_t ColorOK = 0x00FF00;
  int32_t ColorWarning = 0x00FFFF;
  int32_t ColorWarningPlus = 0;
  int32_t ColorWarningMinus = 0;
  int32_t ColorError = 0x0000FF;
  int32_t ColorErrorPlus = 0;
  int32_t ColorErrorMinus = 0;
  // The colour of a tolerance state as the rows are filled.
  int32_t StateColor(int32_t state) const;

  bool Locked() const { return locked_; }
  void SetLocked(bool v) { locked_ = v; }
  // The monitor shows each value's evaluated text; the editor the number of its column.
  bool MonitorTexts() const { return monitorTexts_; }
  void SetMonitorTexts(bool v) { monitorTexts_ = v; }

  bool IsScaleable() const { return metafile_ != nullptr; }
  double CurrentWidthRatio() const;
  double CurrentHeightRatio() const;
  int32_t HostWidth() const;
  int32_t HostHeight() const;
  void HostRefresh();
  IconViewCollection& Views() { return *views_; }
  SlideHost* Host() const { return host_; }
  SlideViewOwner* Owner() const { return owner_; }
  // The picture rectangle in host units.
  void PictureRect(int32_t& x0, int32_t& y0, int32_t& pw, int32_t& ph) const;

  // Coordinate conversions (host units are twips).
  void ConvertVirtualHostToHost(int32_t& x, int32_t& y) const;
  void ConvertHostToVirtualHost(int32_t& x, int32_t& y) const;
  void ConvertPictureToHost(int32_t& x, int32_t& y) const;
  void ConvertHostToPicture(int32_t& x, int32_t& y) const;
  void ConvertHostToScreen(int32_t& x, int32_t& y) const;
  int32_t UnitsPerPixelX() const { return tppX_; }
  // Host units per pixel; twips per pixel of the screen unless set otherwise.
  void SetUnitsPerPixel(int32_t x, int32_t y);
  int32_t UnitsPerPixelY() const { return tppY_; }
  int ToPixelsX(int32_t units) const;
  int ToPixelsY(int32_t units) const;

  const QPixmap* GetImage(int32_t n) const;
  const QPixmap* GetTypeImage(int16_t column, bool isLimit, bool isAverage) const;

  // Event entry points (x, y in host units); all do nothing when no slide is shown.
  void HostPaint(QPainter& painter);
  void HostResize();
  bool HostMouseDown(int button, int shift, int32_t x, int32_t y);
  void HostMouseMove(int button, int shift, int32_t x, int32_t y);
  void HostMouseUp(int button, int shift, int32_t x, int32_t y);
  void ViewPaint(int index, QPainter& painter);
  void ViewMouseDown(int index, int button, int shift, int32_t x, int32_t y);
  void ViewMouseMove(int index, int button, int shift, int32_t x, int32_t y);
  void ViewMouseUp(int index, int button, int shift, int32_t x, int32_t y);

  void DrawTagLine(QPainter& painter, IconView& view, int32_t picX, int32_t picY, int16_t bend, bool vertical,
                   int32_t color);
  void SignalIcon(IconView& view);
  void SignalFileChanged();

  // The drag outline, drawn on a transparent overlay above the area (empty when none).
  DragOverlay* Overlay() const { return overlay_; }
  // How often the host was painted (tests see which repaints happened).
  int HostPaintCount() const { return hostPaints_; }

 private:
  friend class IconView;
  void ComputePictureRect();
  void AddView(const std::shared_ptr<Icon>& icon);
  void LoadPicture();
  void ReleasePicture();
  bool HasPictureObject() const { return bitmap_ || metafile_; }

  SlideViewOwner* owner_ = nullptr;
  QPointer<SlideHost> host_;
  DragOverlay* overlay_ = nullptr;
  std::vector<QPixmap> symbols_;
  std::vector<QPixmap> kinds_;
  bool locked_ = false;
  bool monitorTexts_ = true;
  std::shared_ptr<Slide> slide_;
  std::shared_ptr<common::Dispatch> bitmap_;
  std::shared_ptr<common::Dispatch> metafile_;
  bool pictureNeedsLoading_ = false;
  int32_t x0_ = 0, y0_ = 0, pw_ = 0, ph_ = 0;
  int32_t tppX_ = 15, tppY_ = 15;
  std::unique_ptr<IconViewCollection> views_;
  IconView* leaderDrag_ = nullptr;
  int hostPaints_ = 0;
};

// The outline of a running drag: a hatched 4-pixel frame for an icon move, a 3 x 3 square for a
// leader target.
class DragOverlay : public QWidget {
  Q_OBJECT
 public:
  explicit DragOverlay(QWidget* host);
  void ShowFrame(const QRect& rect);
  void ShowSquare(const QPoint& centre);
  void Clear();
  bool Showing() const { return !frame_.isNull() || !square_.isNull(); }
  QRect Frame() const { return frame_; }
  QRect Square() const { return square_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QRect frame_;
  QRect square_;
};

class IconView {
 public:
  IconView(SlideView& view, std::shared_ptr<Icon> icon, QWidget* window);
  ~IconView();
  IconView(const IconView&) = delete;
  IconView& operator=(const IconView&) = delete;

  SlideView& View() const { return *view_; }
  int Index() const;
  const std::shared_ptr<Icon>& GetIcon() const { return icon_; }
  QWidget* Window() const { return window_; }
  std::string Name() const { return icon_->Name(); }
  void SetName(const std::string& name);
  int32_t PaintedVersion() const { return paintedVersion_; }
  int PaintCount() const { return paints_; }

  void Paint(QPainter& painter);
  void PaintTagLine(QPainter& painter);
  // Fills a pixel rectangle with a colour; a system colour fills as the button face.
  static void FillRectangle(QPainter& painter, int32_t color, const QRect& rect);
  void TestRepaint();
  void ForceRepaint();
  void RefreshView();
  void UpdateProperties();
  void SetPosition(int32_t l, int32_t t);
  void GetPosition(int32_t& l, int32_t& t) const;
  void Reposition();
  // The value text of one value as this view shows it.
  std::string ValueText(const Value& value) const;
  // Pixel size of the window for the icon's font, name, digits and values.
  QSize WindowSize() const;

  bool TagHitTest(int32_t x, int32_t y) const;
  void StartTagDrag(int32_t x, int32_t y);
  void MouseDown(int button, int shift, int32_t x, int32_t y);
  void MouseMove(int button, int shift, int32_t x, int32_t y);
  void MouseUp(int button, int shift, int32_t x, int32_t y);
  bool Dragging() const { return drag_ != DragKind::None; }

 private:
  enum class DragKind { None, Move, Leader };
  int RowHeight() const;
  QFont IconFont() const;

  SlideView* view_;
  std::shared_ptr<Icon> icon_;
  QPointer<QWidget> window_;
  int32_t paintedVersion_ = -1;
  int paints_ = 0;
  DragKind drag_ = DragKind::None;
  QPoint dragStart_;       // host pixels
  QRect outline_;          // host pixels
  bool outlineShown_ = false;
};

class IconViewCollection {
 public:
  explicit IconViewCollection(SlideView& view) : view_(&view) {}
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // 1-based.
  IconView& Item(int32_t index) const;
  // The view whose window has that index, or none.
  IconView* Find(int lIndex) const;
  IconView& Add(std::shared_ptr<Icon> icon, QWidget* window);
  bool IsUsed(const std::string& sDCmdName) const;
  void Remove(int32_t index);
  void Remove(const IconView& view);
  void Clear() { items_.clear(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  SlideView* view_;
  std::vector<std::unique_ptr<IconView>> items_;
};

// The symbol and kind images of the suite (data/images), 16 x 16, 1-based.
std::vector<QPixmap> LoadSymbolImages();
std::vector<QPixmap> LoadKindImages();

}  // namespace zephra::document
