// Windows metafiles: an 18-byte header, then records of a 32-bit size in 16-bit words and a
// 16-bit function number; most parameters come in reverse order (y before x, bottom before top).

#include <set>

#include "byte_reader.h"
#include "dib.h"
#include "metafile_records.h"
#include "picture_errors.h"

namespace zephra::graphics {

namespace {

enum WmfFunction : uint16_t {
  META_EOF = 0x0000, META_SAVEDC = 0x001E, META_CREATEPALETTE = 0x00F7, META_SETBKMODE = 0x0102,
  META_SETMAPMODE = 0x0103, META_SETPOLYFILLMODE = 0x0106, META_SETSTRETCHBLTMODE = 0x0107,
  META_SETTEXTCHAREXTRA = 0x0108, META_RESTOREDC = 0x0127, META_INVERTREGION = 0x012A,
  META_PAINTREGION = 0x012B, META_SELECTCLIPREGION = 0x012C, META_SELECTOBJECT = 0x012D,
  META_SETTEXTALIGN = 0x012E, META_DIBCREATEPATTERNBRUSH = 0x0142, META_DELETEOBJECT = 0x01F0,
  META_CREATEPATTERNBRUSH = 0x01F9, META_SETBKCOLOR = 0x0201, META_SETTEXTCOLOR = 0x0209,
  META_SETWINDOWORG = 0x020B, META_SETWINDOWEXT = 0x020C, META_SETVIEWPORTORG = 0x020D,
  META_SETVIEWPORTEXT = 0x020E, META_OFFSETWINDOWORG = 0x020F, META_OFFSETVIEWPORTORG = 0x0211,
  META_LINETO = 0x0213, META_MOVETO = 0x0214, META_OFFSETCLIPRGN = 0x0220, META_FILLREGION = 0x0228,
  META_CREATEPENINDIRECT = 0x02FA, META_CREATEFONTINDIRECT = 0x02FB, META_CREATEBRUSHINDIRECT = 0x02FC,
  META_POLYGON = 0x0324, META_POLYLINE = 0x0325, META_SCALEWINDOWEXT = 0x0410, META_SCALEVIEWPORTEXT = 0x0412,
  META_EXCLUDECLIPRECT = 0x0415, META_INTERSECTCLIPRECT = 0x0416, META_ELLIPSE = 0x0418,
  META_FLOODFILL = 0x0419, META_RECTANGLE = 0x041B, META_SETPIXEL = 0x041F, META_FRAMEREGION = 0x0429,
  META_TEXTOUT = 0x0521, META_POLYPOLYGON = 0x0538, META_EXTFLOODFILL = 0x0548, META_ROUNDRECT = 0x061C,
  META_PATBLT = 0x061D, META_CREATEREGION = 0x06FF, META_ARC = 0x0817, META_PIE = 0x081A,
  META_CHORD = 0x0830, META_BITBLT = 0x0922, META_DIBBITBLT = 0x0940, META_EXTTEXTOUT = 0x0A32,
  META_STRETCHBLT = 0x0B23, META_DIBSTRETCHBLT = 0x0B41, META_SETDIBTODEV = 0x0D33, META_STRETCHDIB = 0x0F43,
};

constexpr uint64_t P = 6;  // parameters follow the size and the function number

bool IsDrawing(uint16_t f) {
  static const std::set<uint16_t> drawing = {
      META_LINETO,     META_POLYLINE,    META_POLYGON,      META_POLYPOLYGON,    META_RECTANGLE,
      META_ROUNDRECT,  META_ELLIPSE,     META_ARC,          META_PIE,            META_CHORD,
      META_SETPIXEL,   META_TEXTOUT,     META_EXTTEXTOUT,   META_FILLREGION,     META_PAINTREGION,
      META_FRAMEREGION, META_INVERTREGION, META_PATBLT,     META_BITBLT,         META_STRETCHBLT,
      META_DIBBITBLT,  META_DIBSTRETCHBLT, META_STRETCHDIB, META_SETDIBTODEV,    META_FLOODFILL,
      META_EXTFLOODFILL};
  return drawing.count(f) > 0;
}

QPointF PtYX(const ByteReader& r, uint64_t o) { return QPointF(r.I16(o + 2), r.I16(o)); }
// Bottom, right, top, left.
QRectF RectBRTL(const ByteReader& r, uint64_t o) {
  return QRectF(QPointF(r.I16(o + 6), r.I16(o + 4)), QPointF(r.I16(o + 2), r.I16(o)));
}

bool ReadPoints16(const ByteReader& r, uint64_t at, uint64_t count, QPolygonF& out) {
  if (!r.Has(at, count, 4)) return false;
  out.clear();
  out.reserve(static_cast<qsizetype>(count));
  for (uint64_t i = 0; i < count; ++i) out.push_back(QPointF(r.I16(at + 4 * i), r.I16(at + 4 * i + 2)));
  return true;
}

// A region object: a header, a bounding box and scans of left-right pairs.
GdiRegion ReadRegion(const ByteReader& r, uint64_t at) {
  GdiRegion region;
  region.path.setFillRule(Qt::WindingFill);
  const uint64_t scans = r.U16(at + 10);
  uint64_t o = at + 22;
  for (uint64_t s = 0; s < scans && r.Has(o, 6); ++s) {
    const uint64_t count = r.U16(o);
    const double top = r.I16(o + 2), bottom = r.I16(o + 4);
    if (!r.Has(o + 6, count, 2)) break;
    for (uint64_t k = 0; k + 1 < count; k += 2) {
      const double left = r.I16(o + 6 + 2 * k), right = r.I16(o + 8 + 2 * k);
      region.path.addRect(QRectF(QPointF(left, top), QPointF(right, bottom)).normalized());
    }
    o += 6 + 2 * count + 2;
  }
  return region;
}

GdiBrush PatternBrush(const QImage& image) {
  GdiBrush brush;
  brush.kind = image.isNull() ? GdiBrush::Kind::Solid : GdiBrush::Kind::Pattern;
  brush.color = Qt::gray;
  brush.pattern = image;
  return brush;
}

// The device-dependent bitmap of an old pattern brush: size, bytes per row, planes, depth,
// four reserved bytes, then the rows; monochrome ones are the common case.
QImage Bitmap16(const ByteReader& r, uint64_t at) {
  const int w = r.I16(at + 2), h = r.I16(at + 4), rowBytes = r.I16(at + 6);
  const int planes = r.U8(at + 8), depth = r.U8(at + 9);
  if (w <= 0 || h <= 0 || w > 256 || h > 256 || planes != 1 || depth != 1 || rowBytes * 8 < w) return {};
  const uint64_t bits = at + 14;
  if (!r.Has(bits, static_cast<uint64_t>(rowBytes), static_cast<uint64_t>(h))) return {};
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint8_t b = r.U8(bits + static_cast<uint64_t>(y * rowBytes + x / 8));
      image.setPixel(x, y, ((b >> (7 - x % 8)) & 1) ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    }
  }
  return image;
}

GdiPen WmfPen(const ByteReader& r) {
  GdiPen pen;
  pen.style = r.U16(P);
  pen.width = r.I16(P + 2);
  if (pen.width < 0) pen.width = -pen.width;
  pen.color = ColorFromRef(r.U32(P + 6));
  const uint32_t s = pen.style & 0x0F;
  if (pen.width > 1 && s >= 1 && s <= 4) pen.style &= ~0x0Fu;
  return pen;
}

GdiBrush WmfBrush(const ByteReader& r) {
  GdiBrush brush;
  brush.color = ColorFromRef(r.U32(P + 2));
  switch (r.U16(P)) {
    case 1: brush.kind = GdiBrush::Kind::Null; break;
    case 2:
      brush.kind = GdiBrush::Kind::Hatched;
      brush.hatch = r.U16(P + 6);
      break;
    default: brush.kind = GdiBrush::Kind::Solid; break;
  }
  return brush;
}

GdiFont WmfFont(const ByteReader& r) {
  GdiFont font;
  font.height = r.I16(P);
  font.width = r.I16(P + 2);
  font.escapement = r.I16(P + 4);
  font.weight = r.I16(P + 8);
  font.italic = r.U8(P + 10) != 0;
  font.underline = r.U8(P + 11) != 0;
  font.strikeOut = r.U8(P + 12) != 0;
  font.charSet = r.U8(P + 13);
  std::vector<uint8_t> face;
  for (uint64_t i = 0; i < 32 && r.Has(P + 18 + i, 1); ++i) {
    const uint8_t c = r.U8(P + 18 + i);
    if (c == 0) break;
    face.push_back(c);
  }
  font.face = DecodeAnsiText(face, font.charSet);
  return font;
}

const GdiRegion* RegionObject(const GdiPlayer& player, uint32_t index) {
  const GdiObject* o = player.Object(index);
  return o ? std::get_if<GdiRegion>(o) : nullptr;
}

// Bitmap records without a bitmap are one word shorter than their function number's high
// byte plus three; they fill through the brush.
bool HasBitmap(uint16_t function, uint64_t words) { return words != static_cast<uint64_t>(function >> 8) + 3; }

void PlayRecord(uint16_t f, const ByteReader& r, uint64_t words, GdiPlayer& player) {
  QPolygonF pts;
  switch (f) {
    case META_SAVEDC: player.SaveDc(); return;
    case META_RESTOREDC: if (r.Has(P, 2)) player.RestoreDc(r.I16(P)); return;
    case META_SETBKMODE: if (r.Has(P, 2)) player.SetBkMode(r.U16(P)); return;
    case META_SETMAPMODE: if (r.Has(P, 2)) player.SetMapMode(r.U16(P)); return;
    case META_SETPOLYFILLMODE: if (r.Has(P, 2)) player.SetPolyFillMode(r.U16(P)); return;
    case META_SETSTRETCHBLTMODE: if (r.Has(P, 2)) player.SetStretchBltMode(r.U16(P)); return;
    case META_SETTEXTCHAREXTRA: if (r.Has(P, 2)) player.SetTextCharExtra(r.I16(P)); return;
    case META_SETTEXTALIGN: if (r.Has(P, 2)) player.SetTextAlign(r.U16(P)); return;
    case META_SETBKCOLOR: if (r.Has(P, 4)) player.SetBkColor(ColorFromRef(r.U32(P))); return;
    case META_SETTEXTCOLOR: if (r.Has(P, 4)) player.SetTextColor(ColorFromRef(r.U32(P))); return;
    case META_SETWINDOWORG: if (r.Has(P, 4)) player.SetWindowOrg(PtYX(r, P)); return;
    case META_SETWINDOWEXT: if (r.Has(P, 4)) player.SetWindowExt(QSizeF(r.I16(P + 2), r.I16(P))); return;
    case META_SETVIEWPORTORG: if (r.Has(P, 4)) player.SetViewportOrg(PtYX(r, P)); return;
    case META_SETVIEWPORTEXT: if (r.Has(P, 4)) player.SetViewportExt(QSizeF(r.I16(P + 2), r.I16(P))); return;
    case META_OFFSETWINDOWORG: if (r.Has(P, 4)) player.OffsetWindowOrg(PtYX(r, P)); return;
    case META_OFFSETVIEWPORTORG: if (r.Has(P, 4)) player.OffsetViewportOrg(PtYX(r, P)); return;
    case META_SCALEWINDOWEXT:
      if (r.Has(P, 8)) player.ScaleWindowExt(r.I16(P + 6), r.I16(P + 4), r.I16(P + 2), r.I16(P));
      return;
    case META_SCALEVIEWPORTEXT:
      if (r.Has(P, 8)) player.ScaleViewportExt(r.I16(P + 6), r.I16(P + 4), r.I16(P + 2), r.I16(P));
      return;
    case META_MOVETO: if (r.Has(P, 4)) player.MoveTo(PtYX(r, P)); return;
    case META_LINETO: if (r.Has(P, 4)) player.LineTo(PtYX(r, P)); return;
    case META_POLYLINE:
    case META_POLYGON:
      if (!r.Has(P, 2) || !ReadPoints16(r, P + 2, r.U16(P), pts)) return;
      if (f == META_POLYGON) {
        player.Polygon(pts);
      } else {
        player.Polyline(pts);
      }
      return;
    case META_POLYPOLYGON: {
      const uint64_t n = r.U16(P);
      if (!r.Has(P + 2, n, 2)) return;
      uint64_t at = P + 2 + 2 * n;
      std::vector<QPolygonF> polys;
      for (uint64_t i = 0; i < n; ++i) {
        const uint64_t count = r.U16(P + 2 + 2 * i);
        if (!ReadPoints16(r, at, count, pts)) return;
        polys.push_back(pts);
        at += 4 * count;
      }
      player.PolyPolygon(polys);
      return;
    }
    case META_RECTANGLE: if (r.Has(P, 8)) player.Rectangle(RectBRTL(r, P)); return;
    case META_ELLIPSE: if (r.Has(P, 8)) player.Ellipse(RectBRTL(r, P)); return;
    case META_ROUNDRECT:
      if (r.Has(P, 12)) player.RoundRect(RectBRTL(r, P + 4), QSizeF(r.I16(P + 2), r.I16(P)));
      return;
    case META_ARC:
    case META_PIE:
    case META_CHORD: {
      if (!r.Has(P, 16)) return;
      const QPointF end = PtYX(r, P), start = PtYX(r, P + 4);
      const QRectF box = RectBRTL(r, P + 8);
      if (f == META_ARC) player.Arc(box, start, end);
      if (f == META_PIE) player.Pie(box, start, end);
      if (f == META_CHORD) player.Chord(box, start, end);
      return;
    }
    case META_SETPIXEL: if (r.Has(P, 8)) player.SetPixel(PtYX(r, P + 4), ColorFromRef(r.U32(P))); return;
    case META_EXCLUDECLIPRECT: if (r.Has(P, 8)) player.ExcludeClipRect(RectBRTL(r, P)); return;
    case META_INTERSECTCLIPRECT: if (r.Has(P, 8)) player.IntersectClipRect(RectBRTL(r, P)); return;
    case META_OFFSETCLIPRGN: if (r.Has(P, 4)) player.OffsetClipRegion(PtYX(r, P)); return;
    case META_SELECTCLIPREGION:
      if (const GdiRegion* region = r.Has(P, 2) ? RegionObject(player, r.U16(P)) : nullptr) {
        player.SelectClipRegionLogical(region->path);
      }
      return;
    case META_SELECTOBJECT: if (r.Has(P, 2)) player.SelectObject(r.U16(P)); return;
    case META_DELETEOBJECT: if (r.Has(P, 2)) player.DeleteObject(r.U16(P)); return;
    // Every create record takes a slot, even when what it makes cannot be drawn with, so that
    // the objects after it keep their numbers.
    case META_CREATEPENINDIRECT: player.AddObject(r.Has(P, 10) ? GdiObject(WmfPen(r)) : GdiObject(GdiPen())); return;
    case META_CREATEBRUSHINDIRECT:
      player.AddObject(r.Has(P, 8) ? GdiObject(WmfBrush(r)) : GdiObject(GdiBrush()));
      return;
    case META_CREATEFONTINDIRECT: player.AddObject(r.Has(P, 18) ? GdiObject(WmfFont(r)) : GdiObject(GdiFont())); return;
    case META_CREATEPALETTE: player.AddObject(GdiPlaceholder{}); return;
    case META_CREATEREGION: player.AddObject(ReadRegion(r, P)); return;
    case META_CREATEPATTERNBRUSH: player.AddObject(PatternBrush(Bitmap16(r, P))); return;
    case META_DIBCREATEPATTERNBRUSH: {
      const uint16_t usage = r.U16(P + 2);
      const DibImage dib = DecodePackedDib(r.From(P + 4), usage == 1 ? DibColours::PaletteIndices : DibColours::Rgb);
      player.AddObject(PatternBrush(dib.image));
      return;
    }
    case META_FILLREGION: {
      if (!r.Has(P, 4)) return;
      const GdiRegion* region = RegionObject(player, r.U16(P));
      const GdiObject* o = player.Object(r.U16(P + 2));
      const GdiBrush* brush = o ? std::get_if<GdiBrush>(o) : nullptr;
      if (region && brush) player.FillRegion(region->path, *brush);
      return;
    }
    case META_PAINTREGION:
      if (const GdiRegion* region = r.Has(P, 2) ? RegionObject(player, r.U16(P)) : nullptr) {
        player.PaintRegion(region->path);
      }
      return;
    case META_TEXTOUT: {
      if (!r.Has(P, 2)) return;
      const int64_t length = r.I16(P);
      if (length <= 0) return;
      const uint64_t padded = (static_cast<uint64_t>(length) + 1) & ~uint64_t{1};
      if (!r.Has(P + 2 + padded, 4)) return;
      const QString text = DecodeAnsiText(r.Sub(P + 2, static_cast<uint64_t>(length)), player.CurrentFont().charSet);
      player.TextOut(PtYX(r, P + 2 + padded), text, 0, nullptr, {}, gdi::GM_COMPATIBLE);
      return;
    }
    case META_EXTTEXTOUT: {
      if (!r.Has(P, 8)) return;
      const QPointF ref = PtYX(r, P);
      const int64_t length = r.I16(P + 4);
      const uint32_t options = r.U16(P + 6);
      uint64_t at = P + 8;
      QRectF rect;
      const bool hasRect = (options & (gdi::ETO_OPAQUE | gdi::ETO_CLIPPED)) != 0;
      if (hasRect) {
        if (!r.Has(at, 8)) return;
        rect = QRectF(QPointF(r.I16(at), r.I16(at + 2)), QPointF(r.I16(at + 4), r.I16(at + 6)));
        at += 8;
      }
      const uint64_t n = length > 0 ? static_cast<uint64_t>(length) : 0;
      if (!r.Has(at, n)) return;
      const QString text = DecodeAnsiText(r.Sub(at, n), player.CurrentFont().charSet);
      at += (n + 1) & ~uint64_t{1};
      std::vector<double> dx;
      // Advances are per byte; multi-byte character sets give one per byte of a character.
      if (n > 0 && r.Has(at, n, 2) && static_cast<uint64_t>(text.size()) == n) {
        for (uint64_t i = 0; i < n; ++i) dx.push_back(r.I16(at + 2 * i));
      }
      player.TextOut(ref, text, options, hasRect ? &rect : nullptr, dx, gdi::GM_COMPATIBLE);
      return;
    }
    case META_PATBLT:
      if (r.Has(P, 12)) {
        player.PatBlt(QRectF(r.I16(P + 10), r.I16(P + 8), r.I16(P + 6), r.I16(P + 4)), r.U32(P));
      }
      return;
    case META_DIBBITBLT: {
      const bool bitmap = HasBitmap(f, words);
      const uint64_t q = bitmap ? P + 8 : P + 10;  // a reserved word where the bitmap is missing
      if (!r.Has(q, 8)) return;
      const QRectF dest(r.I16(q + 6), r.I16(q + 4), r.I16(q + 2), r.I16(q));
      const uint32_t rop = r.U32(P);
      if (!bitmap) {
        player.PatBlt(dest, rop);
        return;
      }
      const DibImage dib = DecodePackedDib(r.From(P + 16));
      player.DrawImage(dest, dib.image, QRectF(r.I16(P + 6), r.I16(P + 4), dest.width(), dest.height()), rop);
      return;
    }
    case META_DIBSTRETCHBLT: {
      const bool bitmap = HasBitmap(f, words);
      const uint64_t q = bitmap ? P + 12 : P + 14;
      if (!r.Has(q, 8)) return;
      const QRectF dest(r.I16(q + 6), r.I16(q + 4), r.I16(q + 2), r.I16(q));
      const uint32_t rop = r.U32(P);
      if (!bitmap) {
        player.PatBlt(dest, rop);
        return;
      }
      const QRectF src(r.I16(P + 10), r.I16(P + 8), r.I16(P + 6), r.I16(P + 4));
      const DibImage dib = DecodePackedDib(r.From(P + 20));
      player.DrawImage(dest, dib.image, src, rop);
      return;
    }
    case META_STRETCHDIB: {
      if (!r.Has(P, 22)) return;
      const uint16_t usage = r.U16(P + 4);
      const DibImage dib = DecodePackedDib(r.From(P + 22), usage == 1 ? DibColours::PaletteIndices : DibColours::Rgb);
      if (dib.image.isNull()) return;
      const double srcH = r.I16(P + 6), srcW = r.I16(P + 8), ySrc = r.I16(P + 10), xSrc = r.I16(P + 12);
      const QRectF dest(r.I16(P + 20), r.I16(P + 18), r.I16(P + 16), r.I16(P + 14));
      DibHeader h;
      ParseDibHeader(r.From(P + 22), h);
      // Rows of a bottom-up picture count from its bottom.
      const double top = h.height > 0 ? dib.image.height() - ySrc - srcH : ySrc;
      player.DrawImage(dest, dib.image, QRectF(xSrc, top, srcW, srcH), r.U32(P));
      return;
    }
    case META_SETDIBTODEV: {
      if (!r.Has(P, 18)) return;
      const uint16_t usage = r.U16(P);
      const DibImage dib = DecodePackedDib(r.From(P + 18), usage == 1 ? DibColours::PaletteIndices : DibColours::Rgb);
      if (dib.image.isNull()) return;
      const double yDib = r.I16(P + 6), xDib = r.I16(P + 8), h = r.I16(P + 10), w = r.I16(P + 12);
      const QRectF dest(r.I16(P + 16), r.I16(P + 14), w, h);
      DibHeader header;
      ParseDibHeader(r.From(P + 18), header);
      const double top = header.height > 0 ? dib.image.height() - yDib - h : yDib;
      player.DrawImage(dest, dib.image, QRectF(xDib, top, w, h), gdi::SRCCOPY);
      return;
    }
    default: return;  // escapes, palettes, flood fills and records we do not know
  }
}

template <class Fn>
void ForEachRecord(std::span<const uint8_t> wmf, const WmfHeader& header, Fn fn) {
  const ByteReader all(wmf.subspan(0, static_cast<size_t>(std::min<uint64_t>(header.end, wmf.size()))));
  uint64_t off = header.recordsAt;
  while (all.Has(off, 6)) {
    const uint64_t words = all.U32(off);
    const uint16_t function = all.U16(off + 4);
    if (words < 3 || !all.Has(off, words, 2)) return;  // a record past the end: the rest is lost
    if (function == META_EOF) return;
    if (!fn(function, ByteReader(all.Sub(off, words * 2)), words)) return;
    off += words * 2;
  }
}

}  // namespace

WmfHeader ParseWmfHeader(std::span<const uint8_t> wmf) {
  WmfHeader h;
  const ByteReader r(wmf);
  if (!r.Has(0, 18)) {
    h.error = reader_error::HeaderTruncated;
    return h;
  }
  const uint16_t type = r.U16(0), headerWords = r.U16(2), version = r.U16(4);
  if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300)) {
    h.error = reader_error::UnsupportedHeader;
    return h;
  }
  h.recordsAt = 18;
  // The declared size may be wrong either way; the file's bytes are the limit.
  const uint64_t declared = static_cast<uint64_t>(r.U32(6)) * 2;
  h.end = declared >= 18 ? std::min<uint64_t>(declared, wmf.size()) : wmf.size();
  h.objects = r.U16(10);

  // The window in force when the first drawing record comes is the picture's frame.
  QPointF org;
  QSizeF ext;
  bool hasExt = false;
  int mapMode = gdi::MM_TEXT;
  ForEachRecord(wmf, h, [&](uint16_t f, const ByteReader& rec, uint64_t) {
    if (IsDrawing(f)) return false;
    if (f == META_SETWINDOWORG && rec.Has(P, 4)) org = PtYX(rec, P);
    if (f == META_SETWINDOWEXT && rec.Has(P, 4) && rec.I16(P) != 0 && rec.I16(P + 2) != 0) {
      ext = QSizeF(rec.I16(P + 2), rec.I16(P));
      hasExt = true;
    }
    if (f == META_SETMAPMODE && rec.Has(P, 2)) mapMode = rec.U16(P);
    return true;
  });
  h.hasWindow = hasExt;
  h.windowOrg = org;
  h.windowExt = ext;
  h.mapMode = mapMode;
  return h;
}

size_t CountWmfRecords(std::span<const uint8_t> wmf, const WmfHeader& header) {
  size_t n = 0;
  ForEachRecord(wmf, header, [&](uint16_t, const ByteReader&, uint64_t) {
    ++n;
    return true;
  });
  return n;
}

void PlayWmf(std::span<const uint8_t> wmf, const WmfHeader& header, GdiPlayer& player) {
  ForEachRecord(wmf, header, [&](uint16_t f, const ByteReader& rec, uint64_t words) {
    PlayRecord(f, rec, words, player);
    return true;
  });
}

}  // namespace zephra::graphics
