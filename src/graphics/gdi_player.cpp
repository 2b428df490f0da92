#include "gdi_player.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>

namespace zephra::graphics {

namespace {

constexpr size_t kMaxObjects = 65536;
constexpr double kMaxPenWidth = 1e6;

// Pen styles and the bits of extended pens.
constexpr uint32_t PS_STYLE_MASK = 0x0F, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4,
                   PS_NULL = 5, PS_INSIDEFRAME = 6, PS_USERSTYLE = 7, PS_ALTERNATE = 8;
constexpr uint32_t PS_ENDCAP_MASK = 0x0F00, PS_ENDCAP_SQUARE = 0x0100, PS_ENDCAP_FLAT = 0x0200;
constexpr uint32_t PS_JOIN_MASK = 0xF000, PS_JOIN_BEVEL = 0x1000, PS_JOIN_MITER = 0x2000;

double Length(QPointF v) { return std::hypot(v.x(), v.y()); }

Qt::BrushStyle HatchStyle(int hatch) {
  switch (hatch) {
    case 0: return Qt::HorPattern;
    case 1: return Qt::VerPattern;
    case 2: return Qt::FDiagPattern;  // "\" lines
    case 3: return Qt::BDiagPattern;  // "/" lines
    case 4: return Qt::CrossPattern;
    case 5: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
  }
}

QPainter::CompositionMode RopMode(uint32_t rop) {
  switch (rop) {
    case gdi::SRCPAINT: return QPainter::RasterOp_SourceOrDestination;
    case gdi::SRCAND: return QPainter::RasterOp_SourceAndDestination;
    case gdi::SRCINVERT: return QPainter::RasterOp_SourceXorDestination;
    case gdi::SRCERASE: return QPainter::RasterOp_SourceAndNotDestination;
    case gdi::NOTSRCCOPY: return QPainter::RasterOp_NotSource;
    case gdi::NOTSRCERASE: return QPainter::RasterOp_NotSourceAndNotDestination;
    case gdi::MERGEPAINT: return QPainter::RasterOp_NotSourceOrDestination;
    default: return QPainter::CompositionMode_SourceOver;
  }
}

// Face names of the original platform's system fonts have no file here; the desktop's
// sans-serif face stands in for them. Other names are left to the font configuration, which
// maps the common faces to metric-compatible ones.
QString FontFamily(const QString& face) {
  const QString f = face.trimmed();
  if (f.isEmpty() || f.compare("MS Sans Serif", Qt::CaseInsensitive) == 0 ||
      f.compare("MS Shell Dlg", Qt::CaseInsensitive) == 0 || f.compare("MS Shell Dlg 2", Qt::CaseInsensitive) == 0 ||
      f.compare("System", Qt::CaseInsensitive) == 0) {
    return QStringLiteral("Sans Serif");
  }
  return f;
}

Qt::FillRule FillRuleOf(int mode) { return mode == gdi::WINDING ? Qt::WindingFill : Qt::OddEvenFill; }

}  // namespace

GdiPlayer::GdiPlayer(QPainter* painter, const Setup& setup) : painter_(painter), setup_(setup) {
  objects_.resize(std::min(setup.objectSlots, kMaxObjects));
  dc_.mapMode = setup.mapMode;
  if (setup.mapMode == gdi::MM_ANISOTROPIC || setup.mapMode == gdi::MM_ISOTROPIC) {
    if (setup.window.width() != 0 && setup.window.height() != 0 && setup.viewport.width() != 0 &&
        setup.viewport.height() != 0) {
      dc_.windowOrg = setup.window.topLeft();
      dc_.windowExt = setup.window.size();
      dc_.viewportOrg = setup.viewport.topLeft();
      dc_.viewportExt = setup.viewport.size();
    }
  }
  if (painter_) {
    painter_->save();
    // Everything after this point is in the painter's device pixels: the caller's own
    // transform is folded into the frame's mapping.
    setup_.deviceToDest = setup.deviceToDest * painter_->worldTransform();
    if (painter_->hasClipping()) baseClip_ = painter_->worldTransform().map(painter_->clipPath());
    painter_->setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    rasterOps_ = painter_->paintEngine() && painter_->paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
  }
}

GdiPlayer::~GdiPlayer() {
  if (painter_) painter_->restore();
}

// ---- mapping ------------------------------------------------------------------------------

QTransform GdiPlayer::LogicalToDevice() const {
  double sx = dc_.viewportExt.width() / dc_.windowExt.width();
  double sy = dc_.viewportExt.height() / dc_.windowExt.height();
  if (dc_.mapMode == gdi::MM_ISOTROPIC) {
    const double m = std::min(std::fabs(sx), std::fabs(sy));
    sx = std::copysign(m, sx);
    sy = std::copysign(m, sy);
  }
  const QTransform page(sx, 0, 0, sy, dc_.viewportOrg.x() - dc_.windowOrg.x() * sx,
                        dc_.viewportOrg.y() - dc_.windowOrg.y() * sy);
  return dc_.world * page;
}

void GdiPlayer::SetMapMode(int mode) {
  if (mode < gdi::MM_TEXT || mode > gdi::MM_ANISOTROPIC) return;
  dc_.mapMode = mode;
  double mmPerUnit = 0;
  switch (mode) {
    case gdi::MM_LOMETRIC: mmPerUnit = 0.1; break;
    case gdi::MM_HIMETRIC: mmPerUnit = 0.01; break;
    case gdi::MM_LOENGLISH: mmPerUnit = 0.254; break;
    case gdi::MM_HIENGLISH: mmPerUnit = 0.0254; break;
    case gdi::MM_TWIPS: mmPerUnit = 25.4 / 1440; break;
    case gdi::MM_TEXT:
      dc_.windowExt = dc_.viewportExt = QSizeF(1, 1);
      return;
    default: return;  // the scalable modes keep the extents they had
  }
  // Metric modes: y grows upwards.
  dc_.windowExt = QSizeF(1, 1);
  dc_.viewportExt = QSizeF(mmPerUnit * setup_.pixelsPerMmX, -mmPerUnit * setup_.pixelsPerMmY);
}

void GdiPlayer::SetWindowOrg(QPointF p) { dc_.windowOrg = p; }
void GdiPlayer::SetViewportOrg(QPointF p) { dc_.viewportOrg = p; }
void GdiPlayer::OffsetWindowOrg(QPointF d) { dc_.windowOrg += d; }
void GdiPlayer::OffsetViewportOrg(QPointF d) { dc_.viewportOrg += d; }

void GdiPlayer::SetWindowExt(QSizeF s) {
  if (dc_.mapMode != gdi::MM_ISOTROPIC && dc_.mapMode != gdi::MM_ANISOTROPIC) return;
  if (s.width() == 0 || s.height() == 0) return;
  dc_.windowExt = s;
}

void GdiPlayer::SetViewportExt(QSizeF s) {
  if (dc_.mapMode != gdi::MM_ISOTROPIC && dc_.mapMode != gdi::MM_ANISOTROPIC) return;
  if (s.width() == 0 || s.height() == 0) return;
  dc_.viewportExt = s;
}

void GdiPlayer::ScaleWindowExt(double xNum, double xDenom, double yNum, double yDenom) {
  if (xDenom == 0 || yDenom == 0 || xNum == 0 || yNum == 0) return;
  SetWindowExt(QSizeF(dc_.windowExt.width() * xNum / xDenom, dc_.windowExt.height() * yNum / yDenom));
}

void GdiPlayer::ScaleViewportExt(double xNum, double xDenom, double yNum, double yDenom) {
  if (xDenom == 0 || yDenom == 0 || xNum == 0 || yNum == 0) return;
  SetViewportExt(QSizeF(dc_.viewportExt.width() * xNum / xDenom, dc_.viewportExt.height() * yNum / yDenom));
}

void GdiPlayer::SetWorldTransform(const QTransform& t) {
  if (!t.isInvertible()) return;
  dc_.world = t;
}

void GdiPlayer::ModifyWorldTransform(const QTransform& t, int mode) {
  QTransform next = dc_.world;
  switch (mode) {
    case gdi::MWT_IDENTITY: next = QTransform(); break;
    case gdi::MWT_LEFTMULTIPLY: next = t * dc_.world; break;
    case gdi::MWT_RIGHTMULTIPLY: next = dc_.world * t; break;
    case gdi::MWT_SET: next = t; break;
    default: return;
  }
  if (next.isInvertible()) dc_.world = next;
}

// ---- attributes and objects ---------------------------------------------------------------

void GdiPlayer::SaveDc() { saved_.push_back(dc_); }

void GdiPlayer::RestoreDc(int which) {
  const int64_t count = static_cast<int64_t>(saved_.size());
  const int64_t index = which < 0 ? count + which : static_cast<int64_t>(which) - 1;
  if (index < 0 || index >= count) return;
  dc_ = saved_[static_cast<size_t>(index)];
  saved_.resize(static_cast<size_t>(index));
  ApplyClip();
}

void GdiPlayer::CreateObject(uint32_t index, GdiObject object) {
  if (index >= kMaxObjects) return;
  if (index >= objects_.size()) objects_.resize(index + 1);
  objects_[index] = std::move(object);
}

void GdiPlayer::AddObject(GdiObject object) {
  for (auto& slot : objects_) {
    if (!slot) {
      slot = std::move(object);
      return;
    }
  }
  // Writers that declare too small a table still mean their objects to be used.
  if (objects_.size() < kMaxObjects) objects_.push_back(std::move(object));
}

const GdiObject* GdiPlayer::Object(uint32_t index) const {
  if (index >= objects_.size() || !objects_[index]) return nullptr;
  return &*objects_[index];
}

void GdiPlayer::SelectObject(uint32_t index) {
  if (index & 0x80000000u) {
    SelectStockObject(index & 0x7FFFFFFFu);
    return;
  }
  const GdiObject* object = Object(index);
  if (!object) return;
  if (const auto* pen = std::get_if<GdiPen>(object)) dc_.pen = *pen;
  if (const auto* brush = std::get_if<GdiBrush>(object)) dc_.brush = *brush;
  if (const auto* font = std::get_if<GdiFont>(object)) dc_.font = *font;
  if (const auto* region = std::get_if<GdiRegion>(object)) SelectClipRegionLogical(region->path);
}

void GdiPlayer::SelectStockObject(uint32_t stock) {
  auto solid = [](QColor c) {
    GdiBrush b;
    b.color = c;
    return b;
  };
  auto pen = [](QColor c, uint32_t style) {
    GdiPen p;
    p.color = c;
    p.style = style;
    return p;
  };
  switch (stock) {
    case 0: dc_.brush = solid(Qt::white); break;
    case 1: dc_.brush = solid(QColor(192, 192, 192)); break;
    case 2: dc_.brush = solid(QColor(128, 128, 128)); break;
    case 3: dc_.brush = solid(QColor(64, 64, 64)); break;
    case 4: dc_.brush = solid(Qt::black); break;
    case 5: dc_.brush.kind = GdiBrush::Kind::Null; break;
    case 6: dc_.pen = pen(Qt::white, 0); break;
    case 7: dc_.pen = pen(Qt::black, 0); break;
    case 8: dc_.pen = pen(Qt::black, PS_NULL); break;
    case 10: case 11: case 12: case 13: case 14: case 16: case 17: dc_.font = GdiFont(); break;
    case 18: dc_.brush = solid(Qt::white); break;
    case 19: dc_.pen = pen(Qt::black, 0); break;
    default: break;
  }
}

void GdiPlayer::DeleteObject(uint32_t index) {
  if (index < objects_.size()) objects_[index].reset();
}

// ---- rendering ----------------------------------------------------------------------------

void GdiPlayer::AddBounds(const QRectF& r) {
  const QRectF n = r.normalized();
  if (!std::isfinite(n.left()) || !std::isfinite(n.top()) || !std::isfinite(n.right()) || !std::isfinite(n.bottom())) return;
  if (!hasBounds_) {
    bounds_ = n;
    hasBounds_ = true;
    return;
  }
  bounds_.setCoords(std::min(bounds_.left(), n.left()), std::min(bounds_.top(), n.top()),
                    std::max(bounds_.right(), n.right()), std::max(bounds_.bottom(), n.bottom()));
}

QPen GdiPlayer::MakePen() const {
  const GdiPen& gp = dc_.pen;
  const uint32_t style = gp.style & PS_STYLE_MASK;
  if (style == PS_NULL) return QPen(Qt::NoPen);
  QPen pen(gp.color);
  const bool cosmetic = gp.width <= 0;
  if (cosmetic) {
    pen.setCosmetic(true);
    pen.setWidthF(1.0);
  } else {
    // Widths beyond any drawing's size come only from damaged records.
    pen.setWidthF(std::min(gp.width, kMaxPenWidth));
  }
  switch (gp.style & PS_ENDCAP_MASK) {
    case PS_ENDCAP_SQUARE: pen.setCapStyle(Qt::SquareCap); break;
    case PS_ENDCAP_FLAT: pen.setCapStyle(Qt::FlatCap); break;
    default: pen.setCapStyle(cosmetic ? Qt::FlatCap : Qt::RoundCap); break;
  }
  switch (gp.style & PS_JOIN_MASK) {
    case PS_JOIN_BEVEL: pen.setJoinStyle(Qt::BevelJoin); break;
    case PS_JOIN_MITER: pen.setJoinStyle(Qt::MiterJoin); break;
    default: pen.setJoinStyle(Qt::RoundJoin); break;
  }
  pen.setMiterLimit(dc_.miterLimit);
  // Dash lengths: a one-pixel pen's in pixels, a wide pen's in multiples of its width.
  QList<qreal> dashes;
  switch (style) {
    case PS_DASH: dashes = cosmetic ? QList<qreal>{18, 6} : QList<qreal>{3, 1}; break;
    case PS_DOT: dashes = cosmetic ? QList<qreal>{3, 3} : QList<qreal>{1, 1}; break;
    case PS_DASHDOT: dashes = cosmetic ? QList<qreal>{9, 6, 3, 6} : QList<qreal>{3, 1, 1, 1}; break;
    case PS_DASHDOTDOT: dashes = cosmetic ? QList<qreal>{9, 3, 3, 3, 3, 3} : QList<qreal>{3, 1, 1, 1, 1, 1}; break;
    case PS_ALTERNATE: dashes = {1, 1}; break;
    case PS_USERSTYLE: {
      const double unit = cosmetic ? 1.0 : gp.width;
      bool any = false;
      for (double e : gp.userStyle) {
        dashes.push_back(std::max(e / unit, 0.0));
        any = any || e > 0;
      }
      if (!any) dashes.clear();
      if (dashes.size() % 2 == 1) dashes += dashes;
      break;
    }
    default: break;
  }
  if (!dashes.isEmpty()) pen.setDashPattern(dashes);
  return pen;
}

void GdiPlayer::Render(const QPainterPath& path, const QTransform& toDest, bool fill, bool stroke) {
  const bool hasBrush = fill && dc_.brush.kind != GdiBrush::Kind::Null;
  const bool hasPen = stroke && (dc_.pen.style & PS_STYLE_MASK) != PS_NULL;
  if (!hasBrush && !hasPen) return;
  if (!painter_) {
    AddBounds(toDest.map(path).boundingRect());
    return;
  }
  painter_->setTransform(toDest);
  QBrush brush(Qt::NoBrush);
  if (hasBrush) {
    switch (dc_.brush.kind) {
      case GdiBrush::Kind::Solid: brush = QBrush(dc_.brush.color); break;
      case GdiBrush::Kind::Hatched:
        if (dc_.bkMode == gdi::OPAQUE) painter_->fillPath(path, dc_.bkColor);
        brush = QBrush(dc_.brush.color, HatchStyle(dc_.brush.hatch));
        break;
      case GdiBrush::Kind::Pattern:
        if (!dc_.brush.pattern.isNull()) {
          // Patterns repeat in device pixels whatever the mapping.
          brush = QBrush(dc_.brush.pattern);
          brush.setTransform(toDest.inverted());
        } else {
          brush = QBrush(dc_.brush.color);
        }
        break;
      case GdiBrush::Kind::Null: break;
    }
  }
  QPen pen = hasPen ? MakePen() : QPen(Qt::NoPen);
  if (hasPen && pen.style() != Qt::SolidLine && dc_.bkMode == gdi::OPAQUE) {
    // Gaps of styled lines show the background colour unless the background is transparent.
    QPen gap = pen;
    gap.setStyle(Qt::SolidLine);
    gap.setColor(dc_.bkColor);
    painter_->strokePath(path, gap);
  }
  painter_->setPen(pen);
  painter_->setBrush(brush);
  painter_->drawPath(path);
}

void GdiPlayer::Shape(const QPainterPath& logical, bool fill, bool stroke) {
  if (dc_.pathOpen) {
    dc_.path.addPath(LogicalToDevice().map(logical));
    dc_.figureOpen = false;
    return;
  }
  Render(logical, LogicalToDest(), fill, stroke);
}

void GdiPlayer::ExtendFigure(const QPainterPath& segment) {
  const QPainterPath mapped = LogicalToDevice().map(segment);
  if (dc_.figureOpen) {
    dc_.path.connectPath(mapped);
  } else {
    dc_.path.addPath(mapped);
  }
  dc_.figureOpen = true;
}

QRectF GdiPlayer::InsideFrame(QRectF r) const {
  r = r.normalized();
  if ((dc_.pen.style & PS_STYLE_MASK) == PS_INSIDEFRAME && dc_.pen.width > 1) {
    const double h = dc_.pen.width / 2;
    r.adjust(h, h, -h, -h);
  }
  return r;
}

// ---- drawing ------------------------------------------------------------------------------

void GdiPlayer::MoveTo(QPointF p) {
  dc_.current = p;
  dc_.figureOpen = false;
}

void GdiPlayer::LineTo(QPointF p) {
  QPainterPath seg(dc_.current);
  seg.lineTo(p);
  dc_.current = p;
  if (dc_.pathOpen) {
    ExtendFigure(seg);
  } else {
    Render(seg, LogicalToDest(), false, true);
  }
}

void GdiPlayer::Polyline(const QPolygonF& pts) {
  if (pts.size() < 2) return;
  QPainterPath p;
  p.addPolygon(pts);
  Shape(p, false, true);
}

void GdiPlayer::PolylineTo(const QPolygonF& pts) {
  if (pts.isEmpty()) return;
  QPainterPath seg(dc_.current);
  for (const QPointF& q : pts) seg.lineTo(q);
  dc_.current = pts.back();
  if (dc_.pathOpen) {
    ExtendFigure(seg);
  } else {
    Render(seg, LogicalToDest(), false, true);
  }
}

void GdiPlayer::PolyBezier(const QPolygonF& pts) {
  if (pts.size() < 4) return;
  QPainterPath p(pts[0]);
  for (qsizetype i = 1; i + 2 < pts.size(); i += 3) p.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
  Shape(p, false, true);
}

void GdiPlayer::PolyBezierTo(const QPolygonF& pts) {
  if (pts.size() < 3) return;
  QPainterPath seg(dc_.current);
  qsizetype i = 0;
  for (; i + 2 < pts.size(); i += 3) seg.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
  dc_.current = pts[i - 1];
  if (dc_.pathOpen) {
    ExtendFigure(seg);
  } else {
    Render(seg, LogicalToDest(), false, true);
  }
}

void GdiPlayer::Polygon(const QPolygonF& pts) {
  if (pts.size() < 2) return;
  QPainterPath p;
  p.setFillRule(FillRuleOf(dc_.polyFillMode));
  p.addPolygon(pts);
  p.closeSubpath();
  Shape(p, true, true);
}

void GdiPlayer::PolyPolygon(const std::vector<QPolygonF>& polys) {
  QPainterPath p;
  p.setFillRule(FillRuleOf(dc_.polyFillMode));
  for (const QPolygonF& poly : polys) {
    if (poly.size() < 2) continue;
    p.addPolygon(poly);
    p.closeSubpath();
  }
  if (!p.isEmpty()) Shape(p, true, true);
}

void GdiPlayer::PolyPolyline(const std::vector<QPolygonF>& lines) {
  QPainterPath p;
  for (const QPolygonF& line : lines) {
    if (line.size() >= 2) p.addPolygon(line);
  }
  if (!p.isEmpty()) Shape(p, false, true);
}

void GdiPlayer::PolyDraw(const QPolygonF& pts, const std::vector<uint8_t>& types) {
  QPainterPath seg(dc_.current);
  QPointF figureStart = dc_.current;
  const size_t n = std::min(static_cast<size_t>(pts.size()), types.size());
  for (size_t i = 0; i < n; ++i) {
    const uint8_t t = types[i] & ~gdi::PT_CLOSEFIGURE;
    if (t == gdi::PT_MOVETO) {
      seg.moveTo(pts[static_cast<qsizetype>(i)]);
      figureStart = pts[static_cast<qsizetype>(i)];
    } else if (t == gdi::PT_LINETO) {
      seg.lineTo(pts[static_cast<qsizetype>(i)]);
    } else if (t == gdi::PT_BEZIERTO && i + 2 < n) {
      seg.cubicTo(pts[static_cast<qsizetype>(i)], pts[static_cast<qsizetype>(i + 1)], pts[static_cast<qsizetype>(i + 2)]);
      i += 2;
    } else {
      break;  // a malformed type ends the drawing, as it fails the call
    }
    if (types[i] & gdi::PT_CLOSEFIGURE) {
      seg.lineTo(figureStart);
    }
    dc_.current = pts[static_cast<qsizetype>(i)];
  }
  if (dc_.pathOpen) {
    ExtendFigure(seg);
  } else {
    Render(seg, LogicalToDest(), false, true);
  }
}

void GdiPlayer::Rectangle(QRectF r) {
  QPainterPath p;
  p.addRect(InsideFrame(r));
  Shape(p, true, true);
}

void GdiPlayer::RoundRect(QRectF r, QSizeF corner) {
  QPainterPath p;
  p.addRoundedRect(InsideFrame(r), std::fabs(corner.width()) / 2, std::fabs(corner.height()) / 2);
  Shape(p, true, true);
}

void GdiPlayer::Ellipse(QRectF r) {
  QPainterPath p;
  p.addEllipse(InsideFrame(r));
  Shape(p, true, true);
}

// Arc directions are meant as seen: counter-clockwise looks counter-clockwise whether the
// mapping lets y grow downwards or upwards.
bool GdiPlayer::Clockwise() const {
  const bool flipped = LogicalToDevice().determinant() < 0;
  return (dc_.arcDirection == gdi::AD_CLOCKWISE) != flipped;
}

// kind: 0 arc, 1 chord, 2 pie. The arc begins where the ray from the centre through start
// meets the ellipse and ends where the ray through end does, in the arc direction.
QPainterPath GdiPlayer::ArcPath(QRectF r, QPointF start, QPointF end, int kind) const {
  r = r.normalized();
  QPainterPath p;
  if (r.width() <= 0 || r.height() <= 0) return p;
  const QPointF c = r.center();
  const double rx = r.width() / 2, ry = r.height() / 2;
  auto angle = [&](QPointF q) { return std::atan2(-(q.y() - c.y()) / ry, (q.x() - c.x()) / rx) * 180.0 / M_PI; };
  const double a0 = angle(start), a1 = angle(end);
  double sweep;
  if (Clockwise()) {
    sweep = std::fmod(a0 - a1, 360.0);
    if (sweep <= 0) sweep += 360.0;
    sweep = -sweep;
  } else {
    sweep = std::fmod(a1 - a0, 360.0);
    if (sweep <= 0) sweep += 360.0;
  }
  if (kind == 2) {
    p.moveTo(c);
    p.arcTo(r, a0, sweep);
    p.closeSubpath();
  } else {
    p.arcMoveTo(r, a0);
    p.arcTo(r, a0, sweep);
    if (kind == 1) p.closeSubpath();
  }
  return p;
}

void GdiPlayer::Arc(QRectF r, QPointF start, QPointF end) { Shape(ArcPath(r, start, end, 0), false, true); }
void GdiPlayer::Chord(QRectF r, QPointF start, QPointF end) { Shape(ArcPath(InsideFrame(r), start, end, 1), true, true); }
void GdiPlayer::Pie(QRectF r, QPointF start, QPointF end) { Shape(ArcPath(InsideFrame(r), start, end, 2), true, true); }

void GdiPlayer::ArcTo(QRectF r, QPointF start, QPointF end) {
  const QPainterPath arc = ArcPath(r, start, end, 0);
  if (arc.isEmpty()) return;
  QPainterPath seg(dc_.current);
  seg.lineTo(arc.elementAt(0));
  seg.connectPath(arc);
  dc_.current = arc.currentPosition();
  if (dc_.pathOpen) {
    ExtendFigure(seg);
  } else {
    Render(seg, LogicalToDest(), false, true);
  }
}

void GdiPlayer::AngleArc(QPointF centre, double radius, double startDeg, double sweepDeg) {
  if (!(radius > 0) || !std::isfinite(startDeg) || !std::isfinite(sweepDeg)) return;
  sweepDeg = std::clamp(sweepDeg, -3600.0, 3600.0);
  const QRectF r(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
  // Angles count counter-clockwise as seen, whatever way the mapping turns y.
  if (LogicalToDevice().determinant() < 0) {
    startDeg = -startDeg;
    sweepDeg = -sweepDeg;
  }
  QPainterPath seg(dc_.current);
  seg.arcTo(r, startDeg, sweepDeg);
  dc_.current = seg.currentPosition();
  if (dc_.pathOpen) {
    ExtendFigure(seg);
  } else {
    Render(seg, LogicalToDest(), false, true);
  }
}

void GdiPlayer::SetPixel(QPointF p, QColor c) {
  const QPointF d = LogicalToDest().map(p);
  if (!painter_) {
    AddBounds(QRectF(d, QSizeF(1, 1)));
    return;
  }
  painter_->setTransform(QTransform());
  painter_->fillRect(QRectF(std::floor(d.x()), std::floor(d.y()), 1, 1), c);
}

void GdiPlayer::FillRegion(const QPainterPath& logical, const GdiBrush& brush) {
  const GdiBrush keep = dc_.brush;
  dc_.brush = brush;
  Render(logical, LogicalToDest(), true, false);
  dc_.brush = keep;
}

// ---- paths --------------------------------------------------------------------------------

void GdiPlayer::BeginPath() {
  dc_.path = QPainterPath();
  dc_.pathOpen = true;
  dc_.figureOpen = false;
}

void GdiPlayer::AbortPath() {
  dc_.path = QPainterPath();
  dc_.pathOpen = false;
  dc_.figureOpen = false;
}

void GdiPlayer::CloseFigure() {
  if (!dc_.pathOpen || dc_.path.isEmpty()) return;
  dc_.path.closeSubpath();
  dc_.figureOpen = false;
}

void GdiPlayer::RenderPath(bool fill, bool stroke) {
  QPainterPath device = dc_.path;
  device.setFillRule(FillRuleOf(dc_.polyFillMode));
  dc_.path = QPainterPath();
  dc_.pathOpen = false;
  dc_.figureOpen = false;
  if (device.isEmpty()) return;
  // Drawn in the logical space of the moment, so pens keep their logical widths.
  const QTransform toDevice = LogicalToDevice();
  bool invertible = false;
  const QTransform toLogical = toDevice.inverted(&invertible);
  if (invertible) {
    QPainterPath logical = toLogical.map(device);
    logical.setFillRule(device.fillRule());
    Render(logical, toDevice * setup_.deviceToDest, fill, stroke);
  } else {
    Render(device, setup_.deviceToDest, fill, stroke);
  }
}

void GdiPlayer::FillPath() { RenderPath(true, false); }
void GdiPlayer::StrokePath() { RenderPath(false, true); }
void GdiPlayer::StrokeAndFillPath() { RenderPath(true, true); }

void GdiPlayer::WidenPath() {
  if (dc_.path.isEmpty()) return;
  const QTransform toDevice = LogicalToDevice();
  bool invertible = false;
  const QTransform toLogical = toDevice.inverted(&invertible);
  if (!invertible) return;
  const QPen pen = MakePen();
  QPainterPathStroker stroker(pen);
  stroker.setWidth(pen.isCosmetic() ? 1.0 / std::max(1e-9, std::sqrt(std::fabs(toDevice.determinant()))) : pen.widthF());
  dc_.path = toDevice.map(stroker.createStroke(toLogical.map(dc_.path)));
  dc_.path.setFillRule(Qt::WindingFill);
}

void GdiPlayer::SelectClipPath(int mode) {
  QPainterPath device = dc_.path;
  device.setFillRule(FillRuleOf(dc_.polyFillMode));
  dc_.path = QPainterPath();
  dc_.pathOpen = false;
  dc_.figureOpen = false;
  CombineClip(device, mode);
}

// ---- clipping -----------------------------------------------------------------------------

QPainterPath GdiPlayer::Universe() const {
  // Everything the painter could show, in device space.
  QPainterPath p;
  p.addRect(QRectF(-1e5, -1e5, 2e5, 2e5));
  bool invertible = false;
  const QTransform back = setup_.deviceToDest.inverted(&invertible);
  return invertible ? back.map(p) : p;
}

void GdiPlayer::CombineClip(const QPainterPath& region, int mode) {
  if (mode == gdi::RGN_OR && !dc_.clip) return;  // unclipped stays unclipped
  const QPainterPath current = dc_.clip ? *dc_.clip : Universe();
  QPainterPath next;
  switch (mode) {
    case gdi::RGN_AND: next = current.intersected(region); break;
    case gdi::RGN_OR: next = current.united(region); break;
    case gdi::RGN_XOR: next = current.united(region).subtracted(current.intersected(region)); break;
    case gdi::RGN_DIFF: next = current.subtracted(region); break;
    case gdi::RGN_COPY: next = region; break;
    default: return;
  }
  dc_.clip = next;
  ApplyClip();
}

void GdiPlayer::ApplyClip() {
  if (!painter_) return;
  painter_->setTransform(QTransform());
  if (!dc_.clip) {
    if (baseClip_) {
      painter_->setClipPath(*baseClip_);
    } else {
      painter_->setClipping(false);
    }
    return;
  }
  QPainterPath c = setup_.deviceToDest.map(*dc_.clip);
  if (baseClip_) c = c.intersected(*baseClip_);
  painter_->setClipPath(c);
}

void GdiPlayer::IntersectClipRect(QRectF r) {
  QPainterPath p;
  p.addRect(r.normalized());
  CombineClip(LogicalToDevice().map(p), gdi::RGN_AND);
}

void GdiPlayer::ExcludeClipRect(QRectF r) {
  QPainterPath p;
  p.addRect(r.normalized());
  CombineClip(LogicalToDevice().map(p), gdi::RGN_DIFF);
}

void GdiPlayer::SelectClipRegion(const QPainterPath* device, int mode) {
  if (!device) {
    if (mode == gdi::RGN_COPY) {
      dc_.clip.reset();
      ApplyClip();
    }
    return;
  }
  CombineClip(*device, mode);
}

void GdiPlayer::SelectClipRegionLogical(const QPainterPath& logical) {
  CombineClip(LogicalToDevice().map(logical), gdi::RGN_COPY);
}

void GdiPlayer::OffsetClipRegion(QPointF d) {
  if (!dc_.clip) return;
  const QTransform t = LogicalToDevice();
  const QPointF dd = t.map(d) - t.map(QPointF(0, 0));
  dc_.clip = QTransform::fromTranslate(dd.x(), dd.y()).map(*dc_.clip);
  ApplyClip();
}

// ---- text ---------------------------------------------------------------------------------

QFont GdiPlayer::MakeFont(double pixels) const {
  QFont f;
  f.setFamily(FontFamily(dc_.font.face));
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
  if (dc_.font.weight > 0) f.setWeight(static_cast<QFont::Weight>(std::clamp(dc_.font.weight, 100, 900)));
  f.setItalic(dc_.font.italic);
  f.setUnderline(dc_.font.underline);
  f.setStrikeOut(dc_.font.strikeOut);
  // Glyphs are placed at fractional positions at every scale; hinting would move them.
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

void GdiPlayer::TextOut(QPointF ref, const QString& text, uint32_t options, const QRectF* rect,
                        const std::vector<double>& dx, int graphicsMode) {
  if (dc_.pathOpen) return;  // outlines of text in paths are not drawn
  const QTransform toDest = LogicalToDest();
  if (rect && (options & gdi::ETO_OPAQUE)) {
    GdiBrush bk;
    bk.color = dc_.bkColor;
    QPainterPath box;
    box.addRect(rect->normalized());
    FillRegion(box, bk);
  }
  if (text.isEmpty()) return;
  const bool updateCp = (dc_.textAlign & gdi::TA_UPDATECP) != 0;
  if (updateCp) ref = dc_.current;

  const QPointF origin = toDest.map(ref);
  const QPointF ex = toDest.map(ref + QPointF(1, 0)) - origin;
  const QPointF ey = toDest.map(ref + QPointF(0, 1)) - origin;
  const double sx = Length(ex), sy = Length(ey);
  if (!(sx > 0) || !(sy > 0) || !std::isfinite(sx) || !std::isfinite(sy)) return;

  // The font's height is in logical units along y; negative heights give the em size,
  // positive ones the cell (ascent plus descent).
  const int32_t h = dc_.font.height;
  double em = h < 0 ? -static_cast<double>(h) * sy : (h > 0 ? h * sy : 16.0);
  if (!painter_) {
    // Bounds only: an estimate of the text's box without asking for fonts.
    double width = 0;
    const bool pdy = (options & gdi::ETO_PDY) != 0;
    if (!dx.empty()) {
      for (size_t i = 0; i < dx.size(); i += pdy ? 2 : 1) width += dx[i] * sx;
    } else {
      width = em * 0.6 * text.size();
    }
    AddBounds(QRectF(origin.x() - width, origin.y() - em, 2 * width, 2 * em));
    return;
  }
  em = std::min(em, 20000.0);
  if (h > 0) {
    const QFontMetricsF probe(MakeFont(100));
    const double cell = probe.ascent() + probe.descent();
    if (cell > 0) em *= 100.0 / cell;
  }
  // Integer pixel sizes with a residual scale keep small text at its exact size.
  const double pixelSize = std::max(1.0, std::round(em));
  const double k = em / pixelSize;
  const QFont font = MakeFont(pixelSize);
  const QFontMetricsF fm(font);
  double hscale = sx / sy;
  if (dc_.font.width > 0) {
    const double natural = fm.averageCharWidth() * k;
    if (natural > 0) hscale = dc_.font.width * sx / natural;
  }

  // Baseline direction: the device's x axis, or with advanced graphics the mapped x axis;
  // turned by the escapement, counter-clockwise.
  double angle = 0;
  if (graphicsMode == gdi::GM_ADVANCED) angle = std::atan2(ex.y(), ex.x()) * 180.0 / M_PI;
  angle -= dc_.font.escapement / 10.0;

  // Advances along the baseline, in device pixels.
  std::vector<double> advance;
  const bool pdy = (options & gdi::ETO_PDY) != 0;
  const size_t step = pdy ? 2 : 1;
  double total = 0;
  if (!dx.empty()) {
    for (qsizetype i = 0; i < text.size(); ++i) {
      const size_t at = static_cast<size_t>(i) * step;
      const double a = at < dx.size() ? dx[at] * sx : 0.0;
      advance.push_back(a);
      total += a;
    }
  } else {
    total = fm.horizontalAdvance(text) * k * hscale + dc_.charExtra * sx * text.size();
  }

  double x0 = 0;
  switch (dc_.textAlign & gdi::TA_CENTER) {
    case gdi::TA_CENTER: x0 = -total / 2; break;
    case gdi::TA_RIGHT: x0 = -total; break;
    default: break;
  }
  const double ascent = fm.ascent() * k, descent = fm.descent() * k;
  double baseline = ascent;
  if ((dc_.textAlign & gdi::TA_BASELINE) == gdi::TA_BASELINE) {
    baseline = 0;
  } else if (dc_.textAlign & gdi::TA_BOTTOM) {
    baseline = -descent;
  }

  QTransform local;
  local.translate(origin.x(), origin.y());
  local.rotate(angle);

  painter_->save();
  if (rect && (options & gdi::ETO_CLIPPED)) {
    QPainterPath box;
    box.addRect(rect->normalized());
    painter_->setTransform(toDest);
    painter_->setClipPath(box, painter_->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  }
  painter_->setTransform(local);
  if (dc_.bkMode == gdi::OPAQUE) {
    painter_->fillRect(QRectF(x0, baseline - ascent, total, ascent + descent), dc_.bkColor);
  }
  // Glyphs are drawn in a space scaled to their exact size and width.
  painter_->setTransform(QTransform::fromScale(k * hscale, k) * local);
  painter_->setFont(font);
  painter_->setPen(dc_.textColor);
  const double unitX = k * hscale;
  if (advance.empty()) {
    painter_->drawText(QPointF(x0 / unitX, baseline / k), text);
  } else {
    double x = x0;
    for (qsizetype i = 0; i < text.size(); ++i) {
      const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
      const QString glyph = pair ? text.mid(i, 2) : QString(text[i]);
      painter_->drawText(QPointF(x / unitX, baseline / k), glyph);
      x += advance[static_cast<size_t>(i)];
      if (pair) {
        ++i;
        x += advance[static_cast<size_t>(i)];
      }
    }
  }
  painter_->restore();
  if (updateCp) dc_.current = ref + QPointF(ex.x() >= 0 ? total / sx : -total / sx, 0);
}

// ---- bitmaps ------------------------------------------------------------------------------

void GdiPlayer::DrawImage(QRectF dest, const QImage& image, QRectF src, uint32_t rop) {
  if (image.isNull() || dest.width() == 0 || dest.height() == 0) return;
  const QRect bounds = image.rect();
  QRect s = QRectF(src.normalized()).toAlignedRect().intersected(bounds);
  if (s.isEmpty()) return;
  const QTransform toDest = LogicalToDest();
  if (!painter_) {
    AddBounds(toDest.mapRect(dest.normalized()));
    return;
  }
  const QImage part = s == bounds ? image : image.copy(s);
  const QTransform place(dest.width() / part.width(), 0, 0, dest.height() / part.height(), dest.x(), dest.y());
  painter_->save();
  painter_->setTransform(place * toDest);
  painter_->setRenderHint(QPainter::SmoothPixmapTransform, dc_.stretchMode == gdi::HALFTONE);
  if (rasterOps_) painter_->setCompositionMode(RopMode(rop));
  painter_->drawImage(QPointF(0, 0), part);
  painter_->restore();
}

void GdiPlayer::PatBlt(QRectF dest, uint32_t rop) {
  QPainterPath box;
  box.addRect(dest.normalized());
  GdiBrush brush = dc_.brush;
  QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
  switch (rop) {
    case gdi::PATCOPY: break;
    case gdi::BLACKNESS: brush = GdiBrush{GdiBrush::Kind::Solid, Qt::black, 0, {}}; break;
    case gdi::WHITENESS: brush = GdiBrush{GdiBrush::Kind::Solid, Qt::white, 0, {}}; break;
    case gdi::PATINVERT: mode = QPainter::RasterOp_SourceXorDestination; break;
    case gdi::DSTINVERT:
      mode = QPainter::RasterOp_NotDestination;
      brush = GdiBrush{GdiBrush::Kind::Solid, Qt::black, 0, {}};
      break;
    default: return;
  }
  if (mode != QPainter::CompositionMode_SourceOver && (!rasterOps_ || !painter_)) {
    if (!painter_) AddBounds(LogicalToDest().mapRect(dest.normalized()));
    return;
  }
  if (painter_) {
    painter_->save();
    painter_->setCompositionMode(mode);
  }
  FillRegion(box, brush);
  if (painter_) painter_->restore();
}

}  // namespace zephra::graphics
