// Enhanced metafiles: a header record, then records of a 32-bit type and a 32-bit size in bytes.

#include <QStringDecoder>
#include <cmath>

#include "byte_reader.h"
#include "common/text.h"
#include "dib.h"
#include "metafile_records.h"
#include "picture_errors.h"

namespace zephra::graphics {

namespace {

enum EmfRecord : uint32_t {
  EMR_HEADER = 1, EMR_POLYBEZIER = 2, EMR_POLYGON = 3, EMR_POLYLINE = 4, EMR_POLYBEZIERTO = 5,
  EMR_POLYLINETO = 6, EMR_POLYPOLYLINE = 7, EMR_POLYPOLYGON = 8, EMR_SETWINDOWEXTEX = 9,
  EMR_SETWINDOWORGEX = 10, EMR_SETVIEWPORTEXTEX = 11, EMR_SETVIEWPORTORGEX = 12, EMR_EOF = 14,
  EMR_SETPIXELV = 15, EMR_SETMAPMODE = 17, EMR_SETBKMODE = 18, EMR_SETPOLYFILLMODE = 19,
  EMR_SETSTRETCHBLTMODE = 21, EMR_SETTEXTALIGN = 22, EMR_SETTEXTCOLOR = 24, EMR_SETBKCOLOR = 25,
  EMR_OFFSETCLIPRGN = 26, EMR_MOVETOEX = 27, EMR_EXCLUDECLIPRECT = 29, EMR_INTERSECTCLIPRECT = 30,
  EMR_SCALEVIEWPORTEXTEX = 31, EMR_SCALEWINDOWEXTEX = 32, EMR_SAVEDC = 33, EMR_RESTOREDC = 34,
  EMR_SETWORLDTRANSFORM = 35, EMR_MODIFYWORLDTRANSFORM = 36, EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38,
  EMR_CREATEBRUSHINDIRECT = 39, EMR_DELETEOBJECT = 40, EMR_ANGLEARC = 41, EMR_ELLIPSE = 42,
  EMR_RECTANGLE = 43, EMR_ROUNDRECT = 44, EMR_ARC = 45, EMR_CHORD = 46, EMR_PIE = 47,
  EMR_CREATEPALETTE = 49, EMR_LINETO = 54, EMR_ARCTO = 55, EMR_POLYDRAW = 56, EMR_SETARCDIRECTION = 57,
  EMR_SETMITERLIMIT = 58, EMR_BEGINPATH = 59, EMR_ENDPATH = 60, EMR_CLOSEFIGURE = 61, EMR_FILLPATH = 62,
  EMR_STROKEANDFILLPATH = 63, EMR_STROKEPATH = 64, EMR_FLATTENPATH = 65, EMR_WIDENPATH = 66,
  EMR_SELECTCLIPPATH = 67, EMR_ABORTPATH = 68, EMR_FILLRGN = 71, EMR_PAINTRGN = 74,
  EMR_EXTSELECTCLIPRGN = 75, EMR_BITBLT = 76, EMR_STRETCHBLT = 77, EMR_SETDIBITSTODEVICE = 80,
  EMR_STRETCHDIBITS = 81, EMR_EXTCREATEFONTINDIRECTW = 82, EMR_EXTTEXTOUTA = 83, EMR_EXTTEXTOUTW = 84,
  EMR_POLYBEZIER16 = 85, EMR_POLYGON16 = 86, EMR_POLYLINE16 = 87, EMR_POLYBEZIERTO16 = 88,
  EMR_POLYLINETO16 = 89, EMR_POLYPOLYLINE16 = 90, EMR_POLYPOLYGON16 = 91, EMR_POLYDRAW16 = 92,
  EMR_CREATEMONOBRUSH = 93, EMR_CREATEDIBPATTERNBRUSHPT = 94, EMR_EXTCREATEPEN = 95,
  EMR_SMALLTEXTOUT = 108,
};

constexpr uint32_t kEmfSignature = 0x464D4520;
constexpr uint32_t kMinHeaderSize = 88;
// Counts above this are no picture's: a corrupt count must not reserve memory for them.
constexpr uint64_t kMaxPoints = 1u << 24;

QPointF Pt32(const ByteReader& r, uint64_t o) { return QPointF(r.I32(o), r.I32(o + 4)); }
QPointF Pt16(const ByteReader& r, uint64_t o) { return QPointF(r.I16(o), r.I16(o + 2)); }
QRectF Rect32(const ByteReader& r, uint64_t o) {
  return QRectF(QPointF(r.I32(o), r.I32(o + 4)), QPointF(r.I32(o + 8), r.I32(o + 12)));
}

// count points of 8 or 4 bytes at offset; false when they do not fit the record.
bool ReadPoints(const ByteReader& r, uint64_t at, uint64_t count, bool small, QPolygonF& out) {
  const uint64_t size = small ? 4 : 8;
  if (count > kMaxPoints || !r.Has(at, count, size)) return false;
  out.clear();
  out.reserve(static_cast<qsizetype>(count));
  for (uint64_t i = 0; i < count; ++i) out.push_back(small ? Pt16(r, at + 4 * i) : Pt32(r, at + 8 * i));
  return true;
}

// Polygons or polylines: a count per figure, then all points.
bool ReadPolyPoly(const ByteReader& r, bool small, std::vector<QPolygonF>& out) {
  const uint64_t figures = r.U32(24);
  const uint64_t total = r.U32(28);
  if (figures > kMaxPoints || total > kMaxPoints || !r.Has(32, figures, 4)) return false;
  const uint64_t pointsAt = 32 + 4 * figures;
  QPolygonF all;
  if (!ReadPoints(r, pointsAt, total, small, all)) return false;
  out.clear();
  uint64_t used = 0;
  for (uint64_t f = 0; f < figures; ++f) {
    const uint64_t n = r.U32(32 + 4 * f);
    if (n > total - used) return false;
    out.emplace_back(all.mid(static_cast<qsizetype>(used), static_cast<qsizetype>(n)));
    used += n;
  }
  return true;
}

QTransform XForm(const ByteReader& r, uint64_t o) {
  return QTransform(r.F32(o), r.F32(o + 4), r.F32(o + 8), r.F32(o + 12), r.F32(o + 16), r.F32(o + 20));
}

bool Finite(const QTransform& t) {
  return std::isfinite(t.m11()) && std::isfinite(t.m12()) && std::isfinite(t.m21()) && std::isfinite(t.m22()) &&
         std::isfinite(t.dx()) && std::isfinite(t.dy());
}

// Region data: a 32-byte header (size, type, count, ...) followed by rectangles.
bool ReadRegion(std::span<const uint8_t> bytes, QPainterPath& out) {
  const ByteReader r(bytes);
  const uint64_t headerSize = r.U32(0);
  const uint64_t count = r.U32(8);
  if (headerSize < 32 || count > kMaxPoints || !r.Has(headerSize, count, 16)) return false;
  out = QPainterPath();
  out.setFillRule(Qt::WindingFill);
  for (uint64_t i = 0; i < count; ++i) out.addRect(Rect32(r, headerSize + 16 * i).normalized());
  return true;
}

// A DIB carried by a record: its information block and its pixel bits at offsets in the record.
DibImage RecordDib(const ByteReader& r, uint64_t offInfo, uint64_t cbInfo, uint64_t offBits, uint64_t cbBits,
                   uint32_t usage) {
  const auto info = r.Sub(offInfo, cbInfo);
  if (info.empty()) return {};
  const auto bits = r.Sub(offBits, cbBits);
  return DecodeDib(info, bits, usage == 1 ? DibColours::PaletteIndices : DibColours::Rgb);
}

// The source rectangle of a DIB function counts rows from the bottom of a bottom-up picture.
QRectF DibSource(const ByteReader& r, uint64_t offInfo, const QImage& image, double x, double y, double w, double h) {
  DibHeader header;
  ParseDibHeader(r.From(offInfo), header);
  if (header.height > 0) y = image.height() - y - h;
  return QRectF(x, y, w, h);
}

GdiPen LogPen(uint32_t style, double width, uint32_t color) {
  GdiPen pen;
  pen.style = style;
  pen.width = width;
  pen.color = ColorFromRef(color);
  // Old-style pens wider than one unit draw solid whatever style they name.
  const uint32_t s = style & 0x0F;
  if (width > 1 && s >= 1 && s <= 4) pen.style = style & ~0x0Fu;
  return pen;
}

GdiBrush LogBrush(uint32_t style, uint32_t color, uint32_t hatch) {
  GdiBrush brush;
  brush.color = ColorFromRef(color);
  switch (style) {
    case 0: brush.kind = GdiBrush::Kind::Solid; break;
    case 1: brush.kind = GdiBrush::Kind::Null; break;
    case 2:
      brush.kind = GdiBrush::Kind::Hatched;
      brush.hatch = static_cast<int>(hatch);
      break;
    default: brush.kind = GdiBrush::Kind::Solid; break;
  }
  return brush;
}

QString Utf16Text(const ByteReader& r, uint64_t at, uint64_t count) {
  if (count > kMaxPoints || !r.Has(at, count, 2)) return {};
  QString s;
  s.reserve(static_cast<qsizetype>(count));
  for (uint64_t i = 0; i < count; ++i) s.append(QChar(r.U16(at + 2 * i)));
  return s;
}

void TextRecord(const ByteReader& r, bool wide, GdiPlayer& player) {
  if (!r.Has(0, 76)) return;
  const int graphicsMode = static_cast<int>(r.U32(24));
  const QPointF ref = Pt32(r, 36);
  const uint64_t chars = r.U32(44);
  const uint64_t offString = r.U32(48);
  const uint32_t options = r.U32(52);
  const QRectF rect = Rect32(r, 56);
  const uint64_t offDx = r.U32(72);
  if (options & gdi::ETO_GLYPH_INDEX) return;  // glyph numbers of a font we do not have
  QString text;
  if (wide) {
    text = Utf16Text(r, offString, chars);
  } else {
    text = DecodeAnsiText(r.Sub(offString, chars), player.CurrentFont().charSet);
  }
  if (chars > 0 && text.isEmpty()) return;
  std::vector<double> dx;
  const uint64_t dxCount = chars * ((options & gdi::ETO_PDY) ? 2 : 1);
  if (offDx != 0 && r.Has(offDx, dxCount, 4)) {
    dx.reserve(dxCount);
    for (uint64_t i = 0; i < dxCount; ++i) dx.push_back(r.I32(offDx + 4 * i));
  }
  const bool hasRect = (options & (gdi::ETO_OPAQUE | gdi::ETO_CLIPPED)) != 0 && rect.width() != 0 && rect.height() != 0;
  player.TextOut(ref, text, options, hasRect ? &rect : nullptr, dx, graphicsMode);
}

void SmallTextRecord(const ByteReader& r, GdiPlayer& player) {
  constexpr uint32_t kNoRect = 0x100, kSmallChars = 0x200;
  if (!r.Has(0, 36)) return;
  const QPointF ref = Pt32(r, 8);
  const uint64_t chars = r.U32(16);
  const uint32_t options = r.U32(20);
  const int graphicsMode = static_cast<int>(r.U32(24));
  uint64_t at = 36;
  QRectF rect;
  if (!(options & kNoRect)) {
    rect = Rect32(r, 36);
    at += 16;
  }
  const QString text = (options & kSmallChars) ? DecodeAnsiText(r.Sub(at, chars), player.CurrentFont().charSet)
                                               : Utf16Text(r, at, chars);
  const bool hasRect = !(options & kNoRect) && (options & (gdi::ETO_OPAQUE | gdi::ETO_CLIPPED));
  player.TextOut(ref, text, options & ~(kNoRect | kSmallChars), hasRect ? &rect : nullptr, {}, graphicsMode);
}

void PlayRecord(uint32_t type, const ByteReader& r, GdiPlayer& player) {
  QPolygonF pts;
  std::vector<QPolygonF> polys;
  switch (type) {
    case EMR_POLYBEZIER:
    case EMR_POLYGON:
    case EMR_POLYLINE:
    case EMR_POLYBEZIERTO:
    case EMR_POLYLINETO:
    case EMR_POLYBEZIER16:
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO16: {
      const bool small = type >= EMR_POLYBEZIER16;
      if (!ReadPoints(r, 28, r.U32(24), small, pts)) return;
      switch (small ? type - (EMR_POLYBEZIER16 - EMR_POLYBEZIER) : type) {
        case EMR_POLYBEZIER: player.PolyBezier(pts); break;
        case EMR_POLYGON: player.Polygon(pts); break;
        case EMR_POLYLINE: player.Polyline(pts); break;
        case EMR_POLYBEZIERTO: player.PolyBezierTo(pts); break;
        default: player.PolylineTo(pts); break;
      }
      return;
    }
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYGON:
    case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYGON16: {
      const bool small = type >= EMR_POLYPOLYLINE16;
      if (!ReadPolyPoly(r, small, polys)) return;
      if (type == EMR_POLYPOLYGON || type == EMR_POLYPOLYGON16) {
        player.PolyPolygon(polys);
      } else {
        player.PolyPolyline(polys);
      }
      return;
    }
    case EMR_POLYDRAW:
    case EMR_POLYDRAW16: {
      const bool small = type == EMR_POLYDRAW16;
      const uint64_t n = r.U32(24);
      if (!ReadPoints(r, 28, n, small, pts)) return;
      const auto types = r.Sub(28 + n * (small ? 4 : 8), n);
      if (types.size() != n) return;
      player.PolyDraw(pts, std::vector<uint8_t>(types.begin(), types.end()));
      return;
    }
    case EMR_SETWINDOWEXTEX: if (r.Has(8, 8)) player.SetWindowExt(QSizeF(r.I32(8), r.I32(12))); return;
    case EMR_SETWINDOWORGEX: if (r.Has(8, 8)) player.SetWindowOrg(Pt32(r, 8)); return;
    case EMR_SETVIEWPORTEXTEX: if (r.Has(8, 8)) player.SetViewportExt(QSizeF(r.I32(8), r.I32(12))); return;
    case EMR_SETVIEWPORTORGEX: if (r.Has(8, 8)) player.SetViewportOrg(Pt32(r, 8)); return;
    case EMR_SCALEVIEWPORTEXTEX:
      if (r.Has(8, 16)) player.ScaleViewportExt(r.I32(8), r.I32(12), r.I32(16), r.I32(20));
      return;
    case EMR_SCALEWINDOWEXTEX:
      if (r.Has(8, 16)) player.ScaleWindowExt(r.I32(8), r.I32(12), r.I32(16), r.I32(20));
      return;
    case EMR_SETPIXELV: if (r.Has(8, 12)) player.SetPixel(Pt32(r, 8), ColorFromRef(r.U32(16))); return;
    case EMR_SETMAPMODE: if (r.Has(8, 4)) player.SetMapMode(static_cast<int>(r.U32(8))); return;
    case EMR_SETBKMODE: if (r.Has(8, 4)) player.SetBkMode(static_cast<int>(r.U32(8))); return;
    case EMR_SETPOLYFILLMODE: if (r.Has(8, 4)) player.SetPolyFillMode(static_cast<int>(r.U32(8))); return;
    case EMR_SETSTRETCHBLTMODE: if (r.Has(8, 4)) player.SetStretchBltMode(static_cast<int>(r.U32(8))); return;
    case EMR_SETTEXTALIGN: if (r.Has(8, 4)) player.SetTextAlign(r.U32(8)); return;
    case EMR_SETTEXTCOLOR: if (r.Has(8, 4)) player.SetTextColor(ColorFromRef(r.U32(8))); return;
    case EMR_SETBKCOLOR: if (r.Has(8, 4)) player.SetBkColor(ColorFromRef(r.U32(8))); return;
    case EMR_SETARCDIRECTION: if (r.Has(8, 4)) player.SetArcDirection(static_cast<int>(r.U32(8))); return;
    case EMR_SETMITERLIMIT: {
      // Written as an integer by some writers and as a float by others.
      const uint32_t v = r.U32(8);
      const double limit = v < 0x10000 ? static_cast<double>(v) : static_cast<double>(r.F32(8));
      if (r.Has(8, 4) && limit >= 1 && limit < 1000) player.SetMiterLimit(limit);
      return;
    }
    case EMR_OFFSETCLIPRGN: if (r.Has(8, 8)) player.OffsetClipRegion(Pt32(r, 8)); return;
    case EMR_MOVETOEX: if (r.Has(8, 8)) player.MoveTo(Pt32(r, 8)); return;
    case EMR_LINETO: if (r.Has(8, 8)) player.LineTo(Pt32(r, 8)); return;
    case EMR_EXCLUDECLIPRECT: if (r.Has(8, 16)) player.ExcludeClipRect(Rect32(r, 8)); return;
    case EMR_INTERSECTCLIPRECT: if (r.Has(8, 16)) player.IntersectClipRect(Rect32(r, 8)); return;
    case EMR_SAVEDC: player.SaveDc(); return;
    case EMR_RESTOREDC: if (r.Has(8, 4)) player.RestoreDc(r.I32(8)); return;
    case EMR_SETWORLDTRANSFORM: {
      if (!r.Has(8, 24)) return;
      const QTransform t = XForm(r, 8);
      if (Finite(t)) player.SetWorldTransform(t);
      return;
    }
    case EMR_MODIFYWORLDTRANSFORM: {
      if (!r.Has(8, 28)) return;
      const QTransform t = XForm(r, 8);
      if (Finite(t)) player.ModifyWorldTransform(t, static_cast<int>(r.U32(32)));
      return;
    }
    case EMR_SELECTOBJECT: if (r.Has(8, 4)) player.SelectObject(r.U32(8)); return;
    case EMR_DELETEOBJECT: if (r.Has(8, 4)) player.DeleteObject(r.U32(8)); return;
    case EMR_CREATEPEN:
      if (r.Has(8, 20)) player.CreateObject(r.U32(8), LogPen(r.U32(12), r.I32(16), r.U32(24)));
      return;
    case EMR_EXTCREATEPEN: {
      if (!r.Has(8, 44)) return;
      const uint32_t style = r.U32(28);
      const bool geometric = (style & 0x10000) != 0;
      GdiPen pen;
      pen.style = style;
      pen.width = geometric ? static_cast<double>(r.U32(32)) : 0.0;
      pen.color = ColorFromRef(r.U32(40));
      if (r.U32(36) == 1) pen.style = (style & ~0x0Fu) | 5;  // a hollow brush draws nothing
      const uint64_t entries = r.U32(48);
      if ((style & 0x0F) == 7 && entries <= 64 && r.Has(52, entries, 4)) {
        for (uint64_t i = 0; i < entries; ++i) pen.userStyle.push_back(r.U32(52 + 4 * i));
      }
      player.CreateObject(r.U32(8), pen);
      return;
    }
    case EMR_CREATEBRUSHINDIRECT:
      if (r.Has(8, 16)) player.CreateObject(r.U32(8), LogBrush(r.U32(12), r.U32(16), r.U32(20)));
      return;
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT: {
      if (!r.Has(8, 24)) return;
      GdiBrush brush;
      const DibImage dib = RecordDib(r, r.U32(16), r.U32(20), r.U32(24), r.U32(28), r.U32(12));
      brush.kind = dib.image.isNull() ? GdiBrush::Kind::Solid : GdiBrush::Kind::Pattern;
      brush.color = Qt::gray;
      brush.pattern = dib.image;
      player.CreateObject(r.U32(8), brush);
      return;
    }
    case EMR_CREATEPALETTE: if (r.Has(8, 4)) player.CreateObject(r.U32(8), GdiPlaceholder{}); return;
    case EMR_EXTCREATEFONTINDIRECTW: {
      if (!r.Has(8, 32)) return;
      GdiFont font;
      font.height = r.I32(12);
      font.width = r.I32(16);
      font.escapement = r.I32(20);
      font.weight = r.I32(28);
      font.italic = r.U8(32) != 0;
      font.underline = r.U8(33) != 0;
      font.strikeOut = r.U8(34) != 0;
      font.charSet = r.U8(35);
      for (uint64_t i = 0; i < 32 && r.Has(40 + 2 * i, 2); ++i) {
        const uint16_t c = r.U16(40 + 2 * i);
        if (c == 0) break;
        font.face.append(QChar(c));
      }
      player.CreateObject(r.U32(8), font);
      return;
    }
    case EMR_ANGLEARC:
      if (r.Has(8, 20)) player.AngleArc(Pt32(r, 8), r.U32(16), r.F32(20), r.F32(24));
      return;
    case EMR_ELLIPSE: if (r.Has(8, 16)) player.Ellipse(Rect32(r, 8)); return;
    case EMR_RECTANGLE: if (r.Has(8, 16)) player.Rectangle(Rect32(r, 8)); return;
    case EMR_ROUNDRECT:
      if (r.Has(8, 24)) player.RoundRect(Rect32(r, 8), QSizeF(r.I32(24), r.I32(28)));
      return;
    case EMR_ARC:
    case EMR_CHORD:
    case EMR_PIE:
    case EMR_ARCTO: {
      if (!r.Has(8, 32)) return;
      const QRectF box = Rect32(r, 8);
      const QPointF start = Pt32(r, 24), end = Pt32(r, 32);
      if (type == EMR_ARC) player.Arc(box, start, end);
      if (type == EMR_CHORD) player.Chord(box, start, end);
      if (type == EMR_PIE) player.Pie(box, start, end);
      if (type == EMR_ARCTO) player.ArcTo(box, start, end);
      return;
    }
    case EMR_BEGINPATH: player.BeginPath(); return;
    case EMR_ENDPATH: player.EndPath(); return;
    case EMR_CLOSEFIGURE: player.CloseFigure(); return;
    case EMR_FILLPATH: player.FillPath(); return;
    case EMR_STROKEANDFILLPATH: player.StrokeAndFillPath(); return;
    case EMR_STROKEPATH: player.StrokePath(); return;
    case EMR_WIDENPATH: player.WidenPath(); return;
    case EMR_ABORTPATH: player.AbortPath(); return;
    case EMR_SELECTCLIPPATH: if (r.Has(8, 4)) player.SelectClipPath(static_cast<int>(r.U32(8))); return;
    case EMR_FILLRGN: {
      if (!r.Has(8, 24)) return;
      QPainterPath region;
      if (!ReadRegion(r.Sub(32, r.U32(24)), region)) return;
      const GdiObject* object = player.Object(r.U32(28));
      const GdiBrush* brush = object ? std::get_if<GdiBrush>(object) : nullptr;
      if (brush) player.FillRegion(region, *brush);
      return;
    }
    case EMR_PAINTRGN: {
      QPainterPath region;
      if (r.Has(8, 20) && ReadRegion(r.Sub(28, r.U32(24)), region)) player.PaintRegion(region);
      return;
    }
    case EMR_EXTSELECTCLIPRGN: {
      if (!r.Has(8, 8)) return;
      const uint64_t size = r.U32(8);
      const int mode = static_cast<int>(r.U32(12));
      if (size == 0) {
        player.SelectClipRegion(nullptr, mode);
        return;
      }
      QPainterPath region;
      if (ReadRegion(r.Sub(16, size), region)) player.SelectClipRegion(&region, mode);
      return;
    }
    case EMR_BITBLT:
    case EMR_STRETCHBLT: {
      if (!r.Has(8, 92)) return;
      const QRectF dest(r.I32(24), r.I32(28), r.I32(32), r.I32(36));
      const uint32_t rop = r.U32(40);
      const uint64_t cbInfo = r.U32(88);
      if (cbInfo == 0) {  // no source: the brush is the pattern
        player.PatBlt(dest, rop);
        return;
      }
      const DibImage dib = RecordDib(r, r.U32(84), cbInfo, r.U32(92), r.U32(96), r.U32(80));
      if (dib.image.isNull()) return;
      QSizeF srcSize = dest.size();
      if (type == EMR_STRETCHBLT && r.Has(100, 8)) srcSize = QSizeF(r.I32(100), r.I32(104));
      QTransform srcForm = XForm(r, 52);
      if (!Finite(srcForm) || !srcForm.isInvertible()) srcForm = QTransform();
      const QRectF src = srcForm.mapRect(QRectF(QPointF(r.I32(44), r.I32(48)), srcSize));
      player.DrawImage(dest, dib.image, src, rop);
      return;
    }
    case EMR_STRETCHDIBITS: {
      if (!r.Has(8, 72)) return;
      const DibImage dib = RecordDib(r, r.U32(48), r.U32(52), r.U32(56), r.U32(60), r.U32(64));
      if (dib.image.isNull()) return;
      const QRectF dest(r.I32(24), r.I32(28), r.I32(72), r.I32(76));
      const QRectF src = DibSource(r, r.U32(48), dib.image, r.I32(32), r.I32(36), r.I32(40), r.I32(44));
      player.DrawImage(dest, dib.image, src, r.U32(68));
      return;
    }
    case EMR_SETDIBITSTODEVICE: {
      if (!r.Has(8, 68)) return;
      const DibImage dib = RecordDib(r, r.U32(48), r.U32(52), r.U32(56), r.U32(60), r.U32(64));
      if (dib.image.isNull()) return;
      const double w = r.I32(40), h = r.I32(44);
      const QRectF dest(r.I32(24), r.I32(28), w, h);
      const QRectF src = DibSource(r, r.U32(48), dib.image, r.I32(32), r.I32(36), w, h);
      player.DrawImage(dest, dib.image, src, gdi::SRCCOPY);
      return;
    }
    case EMR_EXTTEXTOUTA: TextRecord(r, false, player); return;
    case EMR_EXTTEXTOUTW: TextRecord(r, true, player); return;
    case EMR_SMALLTEXTOUT: SmallTextRecord(r, player); return;
    default: return;  // records that change nothing we draw, and records we do not know
  }
}

// Calls fn(type, record) for every record that fits the file, up to the end-of-file record.
template <class Fn>
void ForEachRecord(std::span<const uint8_t> bytes, const EmfHeader& header, Fn fn) {
  const ByteReader all(bytes.subspan(0, static_cast<size_t>(std::min<uint64_t>(header.end, bytes.size()))));
  uint64_t off = 0;
  while (all.Has(off, 8)) {
    const uint32_t type = all.U32(off);
    const uint64_t size = all.U32(off + 4);
    if (size < 8 || !all.Has(off, size)) return;  // a record past the end: the rest is lost
    if (type == EMR_EOF) return;
    fn(type, ByteReader(all.Sub(off, size)));
    off += size;
  }
}

}  // namespace

QColor ColorFromRef(uint32_t ref) { return QColor(ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF); }

QString DecodeAnsiText(std::span<const uint8_t> bytes, uint8_t charSet) {
  const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const char* codec = nullptr;
  switch (charSet) {
    case 2: return QString::fromLatin1(raw.data(), static_cast<qsizetype>(raw.size()));  // symbol fonts
    case 128: codec = "Shift_JIS"; break;
    case 129: codec = "windows-949"; break;
    case 134: codec = "GBK"; break;
    case 136: codec = "Big5"; break;
    case 161: codec = "windows-1253"; break;
    case 162: codec = "windows-1254"; break;
    case 177: codec = "windows-1255"; break;
    case 178: codec = "windows-1256"; break;
    case 186: codec = "windows-1257"; break;
    case 204: codec = "windows-1251"; break;
    case 222: codec = "windows-874"; break;
    case 238: codec = "windows-1250"; break;
    default: break;
  }
  if (codec) {
    QStringDecoder decoder(codec);
    if (decoder.isValid()) return decoder(QByteArrayView(raw.data(), static_cast<qsizetype>(raw.size())));
  }
  return QString::fromStdString(common::Cp1252ToUtf8(raw));
}

EmfHeader ParseEmfHeader(std::span<const uint8_t> bytes) {
  EmfHeader h;
  const ByteReader r(bytes);
  if (!r.Has(0, kMinHeaderSize)) {
    h.error = reader_error::HeaderTruncated;
    return h;
  }
  const uint64_t headerSize = r.U32(4);
  if (r.U32(0) != EMR_HEADER || r.U32(40) != kEmfSignature || headerSize < kMinHeaderSize) {
    h.error = reader_error::UnsupportedHeader;
    return h;
  }
  if (!r.Has(0, headerSize)) {
    h.error = reader_error::HeaderTruncated;
    return h;
  }
  const uint64_t declared = r.U32(48);
  h.end = declared >= headerSize ? std::min<uint64_t>(declared, bytes.size()) : bytes.size();
  h.handles = r.U16(56);
  const int32_t devX = r.I32(72), devY = r.I32(76), mmX = r.I32(80), mmY = r.I32(84);
  if (devX > 0 && mmX > 0) h.pixelsPerMmX = static_cast<double>(devX) / mmX;
  if (devY > 0 && mmY > 0) h.pixelsPerMmY = static_cast<double>(devY) / mmY;

  // The frame is in hundredths of a millimetre; without a usable one the bounds (device
  // pixels, both edges included) stand in.
  const QRectF frame = Rect32(r, 24);
  if (frame.width() > 0 && frame.height() > 0) {
    h.frame = QRectF(frame.left() * h.pixelsPerMmX / 100, frame.top() * h.pixelsPerMmY / 100,
                     frame.width() * h.pixelsPerMmX / 100, frame.height() * h.pixelsPerMmY / 100);
    h.size96 = QSizeF(frame.width() * 96 / 2540, frame.height() * 96 / 2540);
  } else {
    const QRectF bounds = Rect32(r, 8);
    if (bounds.width() >= 0 && bounds.height() >= 0) {
      h.frame = QRectF(bounds.left(), bounds.top(), bounds.width() + 1, bounds.height() + 1);
      h.size96 = QSizeF(h.frame.width() * 96 / (h.pixelsPerMmX * 25.4), h.frame.height() * 96 / (h.pixelsPerMmY * 25.4));
    }
  }
  return h;
}

size_t CountEmfRecords(std::span<const uint8_t> bytes, const EmfHeader& header) {
  size_t n = 0;
  ForEachRecord(bytes, header, [&](uint32_t, const ByteReader&) { ++n; });
  return n;
}

void PlayEmf(std::span<const uint8_t> bytes, const EmfHeader& header, GdiPlayer& player) {
  ForEachRecord(bytes, header, [&](uint32_t type, const ByteReader& record) { PlayRecord(type, record, player); });
}

}  // namespace zephra::graphics
