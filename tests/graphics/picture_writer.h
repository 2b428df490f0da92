#pragma once
// Small writers that emit picture files byte by byte for the tests and the benchmark: BMP files
// of every layout, enhanced metafiles and Windows metafiles (plain or placeable). They are
// written from the file layouts, not from the readers, so a reader's mistake shows.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace zephra::testing {

class Bytes {
 public:
  Bytes& u8(uint32_t v) {
    s_.push_back(static_cast<char>(v & 0xFF));
    return *this;
  }
  Bytes& u16(uint32_t v) { return u8(v).u8(v >> 8); }
  Bytes& i16(int32_t v) { return u16(static_cast<uint32_t>(v) & 0xFFFF); }
  Bytes& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
  Bytes& i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
  Bytes& f32(float f) {
    uint32_t v;
    static_assert(sizeof v == sizeof f);
    __builtin_memcpy(&v, &f, sizeof v);
    return u32(v);
  }
  Bytes& raw(const std::string& b) {
    s_ += b;
    return *this;
  }
  Bytes& pad(size_t to) {
    while (s_.size() % to) s_.push_back('\0');
    return *this;
  }
  size_t size() const { return s_.size(); }
  const std::string& str() const { return s_; }
  std::string& str() { return s_; }

 private:
  std::string s_;
};

inline uint32_t Rgb(int r, int g, int b) {
  return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}

// ---- BMP --------------------------------------------------------------------------------------

struct BmpSpec {
  int width = 4;
  int height = 3;       // negative: rows top-down
  int bitCount = 24;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;      // written as given (0 asks the reader to compute it)
  uint32_t clrUsed = 0;
  uint32_t headerSize = 40;    // 40, or 108/124 for the later forms
  bool fileHeader = true;
  std::vector<uint32_t> palette;  // 0x00RRGGBB entries written as the colour table
  std::vector<uint32_t> masks;    // bit-field masks written after a 40-byte header
  std::string pixels;             // the rows as they are stored
};

// A BMP file of the given layout.
inline std::string MakeBmp(const BmpSpec& s) {
  Bytes info;
  info.u32(s.headerSize).i32(s.width).i32(s.height).u16(1).u16(static_cast<uint32_t>(s.bitCount));
  info.u32(s.compression).u32(s.sizeImage).i32(3780).i32(3780).u32(s.clrUsed).u32(0);
  if (s.headerSize > 40) {
    // The later headers carry the masks at offset 40 and colour-space data after them.
    for (size_t i = 0; i < 4; ++i) info.u32(i < s.masks.size() ? s.masks[i] : 0);
    while (info.size() < s.headerSize) info.u8(0);
  } else {
    for (uint32_t m : s.masks) info.u32(m);
  }
  for (uint32_t c : s.palette) info.u8(c & 0xFF).u8((c >> 8) & 0xFF).u8((c >> 16) & 0xFF).u8(0);
  if (!s.fileHeader) return info.str() + s.pixels;
  Bytes file;
  const uint32_t offset = 14 + static_cast<uint32_t>(info.size());
  file.u8('B').u8('M').u32(offset + static_cast<uint32_t>(s.pixels.size())).u16(0).u16(0).u32(offset);
  return file.str() + info.str() + s.pixels;
}

// One row of 24-bit pixels (0x00RRGGBB each), padded to four bytes.
inline std::string Row24(std::initializer_list<uint32_t> px) {
  Bytes b;
  for (uint32_t c : px) b.u8(c & 0xFF).u8((c >> 8) & 0xFF).u8((c >> 16) & 0xFF);
  return b.pad(4).str();
}

// ---- enhanced metafiles -------------------------------------------------------------------

class EmfWriter {
 public:
  // A picture whose frame is width x height reference pixels at 4 pixels per millimetre.
  EmfWriter(int width, int height) : width_(width), height_(height) {}

  EmfWriter& Record(uint32_t type, std::initializer_list<int32_t> params) {
    Bytes b;
    for (int32_t p : params) b.i32(p);
    return Raw(type, b.str());
  }
  EmfWriter& Raw(uint32_t type, const std::string& payload) {
    Bytes r;
    r.u32(type).u32(static_cast<uint32_t>(8 + payload.size() + (4 - payload.size() % 4) % 4)).raw(payload).pad(4);
    records_ += r.str();
    ++count_;
    return *this;
  }

  EmfWriter& SetMapMode(int m) { return Record(17, {m}); }
  EmfWriter& SetWindowOrg(int x, int y) { return Record(10, {x, y}); }
  EmfWriter& SetWindowExt(int x, int y) { return Record(9, {x, y}); }
  EmfWriter& SetViewportOrg(int x, int y) { return Record(12, {x, y}); }
  EmfWriter& SetViewportExt(int x, int y) { return Record(11, {x, y}); }
  EmfWriter& SetBkMode(int m) { return Record(18, {m}); }
  EmfWriter& SetBkColor(uint32_t c) { return Record(25, {static_cast<int32_t>(c)}); }
  EmfWriter& SetTextColor(uint32_t c) { return Record(24, {static_cast<int32_t>(c)}); }
  EmfWriter& SetTextAlign(int a) { return Record(22, {a}); }
  EmfWriter& SetPolyFillMode(int m) { return Record(19, {m}); }
  EmfWriter& SaveDc() { return Record(33, {}); }
  EmfWriter& RestoreDc(int n) { return Record(34, {n}); }
  EmfWriter& SelectObject(uint32_t h) { return Record(37, {static_cast<int32_t>(h)}); }
  EmfWriter& DeleteObject(uint32_t h) { return Record(40, {static_cast<int32_t>(h)}); }
  EmfWriter& CreatePen(uint32_t h, int style, int width, uint32_t color) {
    Use(h);
    return Record(38, {static_cast<int32_t>(h), style, width, 0, static_cast<int32_t>(color)});
  }
  EmfWriter& CreateBrush(uint32_t h, int style, uint32_t color, int hatch = 0) {
    Use(h);
    return Record(39, {static_cast<int32_t>(h), style, static_cast<int32_t>(color), hatch});
  }
  EmfWriter& CreateFont(uint32_t h, int height, const std::u16string& face, int weight = 400, int escapement = 0) {
    Use(h);
    Bytes b;
    b.u32(h).i32(height).i32(0).i32(escapement).i32(escapement).i32(weight);
    b.u8(0).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0);
    for (size_t i = 0; i < 32; ++i) b.u16(i < face.size() ? face[i] : 0);
    return Raw(82, b.str());
  }
  EmfWriter& MoveTo(int x, int y) { return Record(27, {x, y}); }
  EmfWriter& LineTo(int x, int y) { return Record(54, {x, y}); }
  EmfWriter& Rectangle(int l, int t, int r, int b) { return Record(43, {l, t, r, b}); }
  EmfWriter& Ellipse(int l, int t, int r, int b) { return Record(42, {l, t, r, b}); }
  EmfWriter& RoundRect(int l, int t, int r, int b, int w, int h) { return Record(44, {l, t, r, b, w, h}); }
  EmfWriter& Arc(uint32_t type, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    return Record(type, {l, t, r, b, xs, ys, xe, ye});
  }
  EmfWriter& IntersectClipRect(int l, int t, int r, int b) { return Record(30, {l, t, r, b}); }
  // 16-bit point records: polygon 86, polyline 87, polybezier 85.
  EmfWriter& Points16(uint32_t type, std::initializer_list<std::pair<int, int>> pts) {
    Bytes b;
    b.i32(0).i32(0).i32(0).i32(0).u32(static_cast<uint32_t>(pts.size()));
    for (auto [x, y] : pts) b.i16(x).i16(y);
    return Raw(type, b.str());
  }
  // 32-bit point records: polygon 3, polyline 4, polybezier 2.
  EmfWriter& Points32(uint32_t type, std::initializer_list<std::pair<int, int>> pts) {
    Bytes b;
    b.i32(0).i32(0).i32(0).i32(0).u32(static_cast<uint32_t>(pts.size()));
    for (auto [x, y] : pts) b.i32(x).i32(y);
    return Raw(type, b.str());
  }
  EmfWriter& PolyPolygon16(const std::vector<std::vector<std::pair<int, int>>>& polys) {
    Bytes b;
    uint32_t total = 0;
    for (const auto& p : polys) total += static_cast<uint32_t>(p.size());
    b.i32(0).i32(0).i32(0).i32(0).u32(static_cast<uint32_t>(polys.size())).u32(total);
    for (const auto& p : polys) b.u32(static_cast<uint32_t>(p.size()));
    for (const auto& p : polys) {
      for (auto [x, y] : p) b.i16(x).i16(y);
    }
    return Raw(91, b.str());
  }
  EmfWriter& ExtTextOutW(int x, int y, const std::u16string& text, uint32_t options = 0,
                         std::vector<int32_t> dx = {}) {
    Bytes b;
    b.i32(0).i32(0).i32(0).i32(0).u32(1).f32(0).f32(0);
    const uint32_t offString = 76;  // record header and fixed fields
    const uint32_t textBytes = static_cast<uint32_t>((text.size() * 2 + 3) / 4 * 4);
    b.i32(x).i32(y).u32(static_cast<uint32_t>(text.size())).u32(offString).u32(options);
    b.i32(0).i32(0).i32(-1).i32(-1).u32(dx.empty() ? 0 : offString + textBytes);
    for (char16_t c : text) b.u16(c);
    b.pad(4);
    for (int32_t d : dx) b.i32(d);
    return Raw(84, b.str());
  }
  // A bottom-up 24-bit DIB (rows of 0x00RRGGBB, top row first) stretched into the rectangle.
  EmfWriter& StretchDib(int x, int y, int cx, int cy, const std::vector<std::vector<uint32_t>>& rows) {
    const int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
    Bytes bits;
    bits.raw(DibBits(rows));
    Bytes b;
    const uint32_t offBmi = 8 + 72, cbBmi = 40, offBits = offBmi + cbBmi;
    b.i32(x).i32(y).i32(x + cx).i32(y + cy);
    b.i32(x).i32(y).i32(0).i32(0).i32(w).i32(h).u32(offBmi).u32(cbBmi).u32(offBits).u32(static_cast<uint32_t>(bits.size()));
    b.u32(0).u32(0x00CC0020).i32(cx).i32(cy);
    b.u32(40).i32(w).i32(h).u16(1).u16(24).u32(0).u32(0).i32(0).i32(0).u32(0).u32(0);
    b.raw(bits.str());
    return Raw(81, b.str());
  }

  // The same picture copied 1:1 by a block transfer (source rows counted from the top).
  EmfWriter& BitBltDib(int x, int y, const std::vector<std::vector<uint32_t>>& rows) {
    const int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
    const std::string bits = DibBits(rows);
    Bytes b;
    const uint32_t offBmi = 8 + 92, cbBmi = 40, offBits = offBmi + cbBmi;
    b.i32(x).i32(y).i32(x + w).i32(y + h);
    b.i32(x).i32(y).i32(w).i32(h).u32(0x00CC0020).i32(0).i32(0);
    b.f32(1).f32(0).f32(0).f32(1).f32(0).f32(0);
    b.u32(0).u32(0).u32(offBmi).u32(cbBmi).u32(offBits).u32(static_cast<uint32_t>(bits.size()));
    b.u32(40).i32(w).i32(h).u16(1).u16(24).u32(0).u32(0).i32(0).i32(0).u32(0).u32(0);
    b.raw(bits);
    return Raw(76, b.str());
  }

  // The picture stretched from its own size into (x, y, cx, cy) by a stretching transfer.
  EmfWriter& StretchBltDib(int x, int y, int cx, int cy, const std::vector<std::vector<uint32_t>>& rows) {
    const int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
    const std::string bits = DibBits(rows);
    Bytes b;
    const uint32_t offBmi = 8 + 100, cbBmi = 40, offBits = offBmi + cbBmi;
    b.i32(x).i32(y).i32(x + cx).i32(y + cy);
    b.i32(x).i32(y).i32(cx).i32(cy).u32(0x00CC0020).i32(0).i32(0);
    b.f32(1).f32(0).f32(0).f32(1).f32(0).f32(0);
    b.u32(0).u32(0).u32(offBmi).u32(cbBmi).u32(offBits).u32(static_cast<uint32_t>(bits.size())).i32(w).i32(h);
    b.u32(40).i32(w).i32(h).u16(1).u16(24).u32(0).u32(0).i32(0).i32(0).u32(0).u32(0);
    b.raw(bits);
    return Raw(77, b.str());
  }

  // A brush whose pattern is the picture, repeated.
  EmfWriter& CreatePatternBrush(uint32_t h, const std::vector<std::vector<uint32_t>>& rows) {
    Use(h);
    const int w = static_cast<int>(rows[0].size()), hgt = static_cast<int>(rows.size());
    const std::string bits = DibBits(rows);
    Bytes b;
    b.u32(h).u32(0).u32(32).u32(40).u32(72).u32(static_cast<uint32_t>(bits.size()));
    b.u32(40).i32(w).i32(hgt).u16(1).u16(24).u32(0).u32(0).i32(0).i32(0).u32(0).u32(0);
    b.raw(bits);
    return Raw(94, b.str());
  }

  static std::string DibBits(const std::vector<std::vector<uint32_t>>& rows) {
    Bytes bits;
    for (size_t r = rows.size(); r-- > 0;) {
      for (uint32_t c : rows[r]) bits.u8(c & 0xFF).u8((c >> 8) & 0xFF).u8((c >> 16) & 0xFF);
      bits.pad(4);
    }
    return bits.str();
  }

  std::string Finish() {
    Record(14, {0, 16, 20});  // end of file: no palette
    Bytes h;
    const int32_t frameW = width_ * 100 / 4, frameH = height_ * 100 / 4;
    const uint32_t headerSize = 108;
    h.u32(1).u32(headerSize);
    h.i32(0).i32(0).i32(width_ - 1).i32(height_ - 1);  // bounds, inclusive
    h.i32(0).i32(0).i32(frameW).i32(frameH);           // frame, hundredths of a millimetre
    h.u32(0x464D4520).u32(0x10000);
    h.u32(static_cast<uint32_t>(headerSize + records_.size())).u32(count_ + 1);
    h.u16(handles_ + 1).u16(0).u32(0).u32(0).u32(0);
    h.i32(1000).i32(1000).i32(250).i32(250);  // reference: 1000 pixels over 250 mm
    h.u32(0).u32(0).u32(0).i32(250000).i32(250000);
    return h.str() + records_;
  }

 private:
  void Use(uint32_t h) {
    if (h < 0x80000000u && h + 1 > handles_) handles_ = static_cast<uint16_t>(h + 1);
  }
  int width_, height_;
  std::string records_;
  uint32_t count_ = 0;
  uint16_t handles_ = 1;
};

// ---- Windows metafiles --------------------------------------------------------------------

class WmfWriter {
 public:
  // A record of 16-bit parameters in the order the file stores them.
  WmfWriter& Record(uint16_t function, std::initializer_list<int32_t> params) {
    Bytes b;
    for (int32_t p : params) b.i16(p);
    return Raw(function, b.str());
  }
  WmfWriter& Raw(uint16_t function, const std::string& payload) {
    Bytes r;
    std::string p = payload;
    if (p.size() % 2) p.push_back('\0');
    const uint32_t words = static_cast<uint32_t>(3 + p.size() / 2);
    r.u32(words).u16(function).raw(p);
    records_ += r.str();
    maxRecord_ = std::max(maxRecord_, words);
    return *this;
  }

  WmfWriter& SetMapMode(int m) { return Record(0x0103, {m}); }
  WmfWriter& SetWindowOrg(int x, int y) { return Record(0x020B, {y, x}); }
  WmfWriter& SetWindowExt(int x, int y) { return Record(0x020C, {y, x}); }
  WmfWriter& SetBkMode(int m) { return Record(0x0102, {m}); }
  WmfWriter& SetTextAlign(int a) { return Record(0x012E, {a}); }
  WmfWriter& SetTextColor(uint32_t c) { return Raw(0x0209, Bytes().u32(c).str()); }
  WmfWriter& SetBkColor(uint32_t c) { return Raw(0x0201, Bytes().u32(c).str()); }
  WmfWriter& SelectObject(int index) { return Record(0x012D, {index}); }
  WmfWriter& DeleteObject(int index) { return Record(0x01F0, {index}); }
  WmfWriter& CreatePen(int style, int width, uint32_t color) {
    ++objects_;
    return Raw(0x02FA, Bytes().u16(static_cast<uint32_t>(style)).i16(width).i16(0).u32(color).str());
  }
  WmfWriter& CreateBrush(int style, uint32_t color, int hatch = 0) {
    ++objects_;
    return Raw(0x02FC, Bytes().u16(static_cast<uint32_t>(style)).u32(color).u16(static_cast<uint32_t>(hatch)).str());
  }
  WmfWriter& CreateFont(int height, const std::string& face, int weight = 400) {
    ++objects_;
    Bytes b;
    b.i16(height).i16(0).i16(0).i16(0).i16(weight).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0);
    b.raw(face).u8(0);
    return Raw(0x02FB, b.str());
  }
  WmfWriter& MoveTo(int x, int y) { return Record(0x0214, {y, x}); }
  WmfWriter& LineTo(int x, int y) { return Record(0x0213, {y, x}); }
  WmfWriter& Rectangle(int l, int t, int r, int b) { return Record(0x041B, {b, r, t, l}); }
  WmfWriter& Ellipse(int l, int t, int r, int b) { return Record(0x0418, {b, r, t, l}); }
  WmfWriter& Pie(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    return Record(0x081A, {ye, xe, ys, xs, b, r, t, l});
  }
  WmfWriter& Polygon(std::initializer_list<std::pair<int, int>> pts) {
    Bytes b;
    b.i16(static_cast<int32_t>(pts.size()));
    for (auto [x, y] : pts) b.i16(x).i16(y);
    return Raw(0x0324, b.str());
  }
  WmfWriter& TextOut(int x, int y, const std::string& text) {
    Bytes b;
    b.i16(static_cast<int32_t>(text.size())).raw(text).pad(2).i16(y).i16(x);
    return Raw(0x0521, b.str());
  }

  // A bottom-up 24-bit DIB stretched into the rectangle.
  WmfWriter& StretchDib(int x, int y, int cx, int cy, const std::vector<std::vector<uint32_t>>& rows) {
    const int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
    Bytes b;
    b.u32(0x00CC0020).u16(0).i16(h).i16(w).i16(0).i16(0).i16(cy).i16(cx).i16(y).i16(x);
    b.u32(40).i32(w).i32(h).u16(1).u16(24).u32(0).u32(0).i32(0).i32(0).u32(0).u32(0);
    b.raw(EmfWriter::DibBits(rows));
    return Raw(0x0F43, b.str());
  }

  // The plain metafile: 18-byte header, records, end-of-file record.
  std::string Plain() const {
    std::string body = records_ + Bytes().u32(3).u16(0).str();
    Bytes h;
    h.u16(1).u16(9).u16(0x0300).u32(static_cast<uint32_t>((18 + body.size()) / 2)).u16(objects_);
    h.u32(std::max<uint32_t>(maxRecord_, 3)).u16(0);
    return h.str() + body;
  }
  // With the 22-byte placeable header: bounding box in logical units and units per inch.
  std::string Placeable(int left, int top, int right, int bottom, int inch) const {
    Bytes h;
    h.u32(0x9AC6CDD7).u16(0).i16(left).i16(top).i16(right).i16(bottom).u16(static_cast<uint32_t>(inch)).u32(0);
    uint16_t sum = 0;
    for (size_t i = 0; i + 1 < h.size(); i += 2) {
      sum ^= static_cast<uint16_t>(static_cast<uint8_t>(h.str()[i]) | (static_cast<uint8_t>(h.str()[i + 1]) << 8));
    }
    h.u16(sum);
    return h.str() + Plain();
  }

 private:
  std::string records_;
  uint16_t objects_ = 0;
  uint32_t maxRecord_ = 0;
};

}  // namespace zephra::testing
