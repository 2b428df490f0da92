#pragma once
// The drawing state that metafile records change and the drawing calls they make, played onto a
// QPainter. Enhanced and Windows metafiles both drive this one player: their records differ
// in layout, not in meaning.
//
// Coordinates pass four spaces: logical (as the records give them), page (after the world
// transform), device (after the window and viewport mapping) and destination (the painter's,
// after stretching the picture's frame into the rectangle it is drawn into).

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

class QPainter;

namespace zephra::graphics {

namespace gdi {
// Values as the records carry them.
inline constexpr int MM_TEXT = 1, MM_LOMETRIC = 2, MM_HIMETRIC = 3, MM_LOENGLISH = 4, MM_HIENGLISH = 5,
                     MM_TWIPS = 6, MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8;
inline constexpr int TRANSPARENT = 1, OPAQUE = 2;
inline constexpr int ALTERNATE = 1, WINDING = 2;
inline constexpr int AD_COUNTERCLOCKWISE = 1, AD_CLOCKWISE = 2;
inline constexpr uint32_t TA_UPDATECP = 1, TA_RIGHT = 2, TA_CENTER = 6, TA_BOTTOM = 8, TA_BASELINE = 24;
inline constexpr uint32_t ETO_OPAQUE = 2, ETO_CLIPPED = 4, ETO_GLYPH_INDEX = 0x10, ETO_PDY = 0x2000;
inline constexpr int GM_COMPATIBLE = 1, GM_ADVANCED = 2;
inline constexpr int RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5;
inline constexpr int MWT_IDENTITY = 1, MWT_LEFTMULTIPLY = 2, MWT_RIGHTMULTIPLY = 3, MWT_SET = 4;
inline constexpr int HALFTONE = 4;
inline constexpr uint32_t SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6,
                          SRCINVERT = 0x00660046, SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008,
                          NOTSRCERASE = 0x001100A6, MERGEPAINT = 0x00BB0226, PATCOPY = 0x00F00021,
                          PATINVERT = 0x005A0049, DSTINVERT = 0x00550009, BLACKNESS = 0x00000042,
                          WHITENESS = 0x00FF0062;
inline constexpr uint8_t PT_CLOSEFIGURE = 1, PT_LINETO = 2, PT_BEZIERTO = 4, PT_MOVETO = 6;
}  // namespace gdi

struct GdiPen {
  uint32_t style = 0;   // PS_* with end-cap, join and type bits
  double width = 0;     // logical units; 0 is one device pixel
  QColor color = Qt::black;
  std::vector<double> userStyle;  // PS_USERSTYLE dash and gap lengths
};

struct GdiBrush {
  enum class Kind { Solid, Null, Hatched, Pattern };
  Kind kind = Kind::Solid;
  QColor color = Qt::white;
  int hatch = 0;
  QImage pattern;
};

struct GdiFont {
  int32_t height = 0;
  int32_t width = 0;
  int32_t escapement = 0;  // tenths of a degree, counter-clockwise
  int32_t weight = 0;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  uint8_t charSet = 0;
  QString face;
};

// Objects that take a slot of the object table without being drawn with (palettes), and
// regions, which are kept as paths in logical units.
struct GdiPlaceholder {};
struct GdiRegion {
  QPainterPath path;
};

using GdiObject = std::variant<GdiPlaceholder, GdiPen, GdiBrush, GdiFont, GdiRegion>;

class GdiPlayer {
 public:
  struct Setup {
    // Device space to the painter's space: the picture's frame stretched into the rectangle.
    QTransform deviceToDest;
    // Reference device resolution, for the metric mapping modes.
    double pixelsPerMmX = 96.0 / 25.4;
    double pixelsPerMmY = 96.0 / 25.4;
    // Size of the object table (slot 0 included).
    size_t objectSlots = 0;
    // Initial mapping: enhanced metafiles start in MM_TEXT; Windows metafiles start with their
    // frame as both window and viewport, so their own window records map onto the frame.
    int mapMode = gdi::MM_TEXT;
    QRectF window;
    QRectF viewport;
  };

  // With a null painter nothing is drawn and Bounds() collects where drawing would go.
  GdiPlayer(QPainter* painter, const Setup& setup);
  ~GdiPlayer();
  GdiPlayer(const GdiPlayer&) = delete;
  GdiPlayer& operator=(const GdiPlayer&) = delete;

  // Destination-space bounds of everything drawn (bounds mode).
  QRectF Bounds() const { return bounds_; }
  bool HasBounds() const { return hasBounds_; }

  // Mapping.
  void SetMapMode(int mode);
  void SetWindowOrg(QPointF p);
  void SetWindowExt(QSizeF s);
  void SetViewportOrg(QPointF p);
  void SetViewportExt(QSizeF s);
  void OffsetWindowOrg(QPointF d);
  void OffsetViewportOrg(QPointF d);
  void ScaleWindowExt(double xNum, double xDenom, double yNum, double yDenom);
  void ScaleViewportExt(double xNum, double xDenom, double yNum, double yDenom);
  void SetWorldTransform(const QTransform& t);
  void ModifyWorldTransform(const QTransform& t, int mode);

  // Attributes.
  void SaveDc();
  void RestoreDc(int which);
  void SetBkMode(int mode) { dc_.bkMode = mode; }
  void SetBkColor(QColor c) { dc_.bkColor = c; }
  void SetTextColor(QColor c) { dc_.textColor = c; }
  void SetTextAlign(uint32_t align) { dc_.textAlign = align; }
  void SetPolyFillMode(int mode) { dc_.polyFillMode = mode; }
  void SetArcDirection(int dir) { dc_.arcDirection = dir; }
  void SetStretchBltMode(int mode) { dc_.stretchMode = mode; }
  void SetMiterLimit(double limit) { dc_.miterLimit = limit; }
  void SetTextCharExtra(int extra) { dc_.charExtra = extra; }

  // Object table: enhanced metafiles name the slot, Windows metafiles take the lowest free one.
  void CreateObject(uint32_t index, GdiObject object);
  void AddObject(GdiObject object);
  void SelectObject(uint32_t index);
  void SelectStockObject(uint32_t stock);
  void DeleteObject(uint32_t index);
  const GdiObject* Object(uint32_t index) const;

  // Drawing, in logical coordinates.
  void MoveTo(QPointF p);
  void LineTo(QPointF p);
  void Polyline(const QPolygonF& pts);
  void PolylineTo(const QPolygonF& pts);
  void PolyBezier(const QPolygonF& pts);
  void PolyBezierTo(const QPolygonF& pts);
  void Polygon(const QPolygonF& pts);
  void PolyPolygon(const std::vector<QPolygonF>& polys);
  void PolyPolyline(const std::vector<QPolygonF>& lines);
  void PolyDraw(const QPolygonF& pts, const std::vector<uint8_t>& types);
  void Rectangle(QRectF r);
  void RoundRect(QRectF r, QSizeF corner);
  void Ellipse(QRectF r);
  void Arc(QRectF r, QPointF start, QPointF end);
  void ArcTo(QRectF r, QPointF start, QPointF end);
  void Chord(QRectF r, QPointF start, QPointF end);
  void Pie(QRectF r, QPointF start, QPointF end);
  void AngleArc(QPointF centre, double radius, double startDeg, double sweepDeg);
  void SetPixel(QPointF p, QColor c);
  void FillRegion(const QPainterPath& logical, const GdiBrush& brush);
  void PaintRegion(const QPainterPath& logical) { FillRegion(logical, dc_.brush); }

  // Paths.
  void BeginPath();
  void EndPath() { dc_.pathOpen = false; }
  void AbortPath();
  void CloseFigure();
  void FillPath();
  void StrokePath();
  void StrokeAndFillPath();
  void WidenPath();
  void SelectClipPath(int mode);

  // Clipping.
  void IntersectClipRect(QRectF r);
  void ExcludeClipRect(QRectF r);
  // A region in device units combined by mode; a null region with RGN_COPY removes the clip.
  void SelectClipRegion(const QPainterPath* device, int mode);
  // A region in logical units (Windows metafile region objects).
  void SelectClipRegionLogical(const QPainterPath& logical);
  void OffsetClipRegion(QPointF d);

  // Text: the reference point, the text, ETO_* options, an optional rectangle for ETO_OPAQUE
  // and ETO_CLIPPED, optional advances in logical units (pairs of x and y with ETO_PDY).
  void TextOut(QPointF ref, const QString& text, uint32_t options, const QRectF* rect,
               const std::vector<double>& dx, int graphicsMode);

  // Bitmaps: src in the image's top-down pixels, dest in logical units.
  void DrawImage(QRectF dest, const QImage& image, QRectF src, uint32_t rop);
  // A rectangle filled through the current brush by a raster operation.
  void PatBlt(QRectF dest, uint32_t rop);

  const GdiFont& CurrentFont() const { return dc_.font; }

 private:
  struct DcState {
    int mapMode = gdi::MM_TEXT;
    QPointF windowOrg, viewportOrg;
    QSizeF windowExt{1, 1}, viewportExt{1, 1};
    QTransform world;
    GdiPen pen;
    GdiBrush brush;
    GdiFont font;
    QColor textColor = Qt::black;
    QColor bkColor = Qt::white;
    int bkMode = gdi::OPAQUE;
    uint32_t textAlign = 0;
    int polyFillMode = gdi::ALTERNATE;
    int arcDirection = gdi::AD_COUNTERCLOCKWISE;
    int stretchMode = 1;
    int charExtra = 0;
    double miterLimit = 10.0;
    QPointF current;
    std::optional<QPainterPath> clip;  // device space; none is unclipped
    bool pathOpen = false;
    bool figureOpen = false;  // the path's last figure can be continued from the current position
    QPainterPath path;  // device space
  };

  QTransform LogicalToDevice() const;
  QTransform LogicalToDest() const { return LogicalToDevice() * setup_.deviceToDest; }
  // Draws a shape given in logical units: filled with the brush, outlined with the pen; in an
  // open path it becomes part of the path instead.
  void Shape(const QPainterPath& logical, bool fill, bool stroke);
  // Continues the path's current figure from the current position.
  void ExtendFigure(const QPainterPath& logicalSegment);
  void Render(const QPainterPath& path, const QTransform& toDest, bool fill, bool stroke);
  void RenderPath(bool fill, bool stroke);
  void ApplyClip();
  void CombineClip(const QPainterPath& device, int mode);
  QPainterPath Universe() const;
  QPen MakePen() const;
  QRectF InsideFrame(QRectF r) const;
  QPainterPath ArcPath(QRectF r, QPointF start, QPointF end, int kind) const;
  bool Clockwise() const;
  QFont MakeFont(double emPixels) const;
  void AddBounds(const QRectF& dest);

  QPainter* painter_;
  Setup setup_;
  DcState dc_;
  std::vector<DcState> saved_;
  std::vector<std::optional<GdiObject>> objects_;
  std::optional<QPainterPath> baseClip_;  // the caller's clip, destination space
  QRectF bounds_;
  bool hasBounds_ = false;
  bool rasterOps_ = false;
};

}  // namespace zephra::graphics
