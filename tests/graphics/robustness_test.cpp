// Random, mutated and truncated bytes fed to every reader: each must refuse or draw what it
// can, never crash or read outside its input. Run under the address sanitizer as well.

#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <random>

#include "graphics/bitmap_reader.h"
#include "graphics/dib.h"
#include "graphics/metafile_picture.h"
#include "picture_writer.h"
#include "render_support.h"

using namespace zephra::graphics;
using namespace zephra::testing;

namespace {

struct Counts {
  int bitmaps = 0;
  int metafiles = 0;
};

// Every reader on one input; whatever loads is drawn.
void Feed(const std::string& bytes, Counts& counts) {
  const std::span<const uint8_t> span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  const BitmapResult bmp = ReadBitmap(span);
  if (bmp.ok()) ++counts.bitmaps;
  DecodePackedDib(span);
  DecodePackedDib(span, DibColours::PaletteIndices);
  MetafilePicture picture;
  if (picture.Load(ToBytes(bytes)).ok()) {
    ++counts.metafiles;
    QImage image(48, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture.Play(painter, QRectF(2, 3, 40, 30));
  }
}

std::string Fixture(const char* name) {
  QFile f(QString(ZEPHRA_TEST_DATA_DIR) + "/graphics/" + name);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray b = f.readAll();
  return std::string(b.constData(), static_cast<size_t>(b.size()));
}

std::vector<std::string> Samples() {
  std::vector<std::string> samples;
  BmpSpec s;
  s.width = 5;
  s.height = 3;
  s.pixels = std::string(3 * 16, '\x7f');
  samples.push_back(MakeBmp(s));
  BmpSpec indexed = s;
  indexed.bitCount = 8;
  indexed.clrUsed = 4;
  indexed.palette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  indexed.pixels = std::string(3 * 8, '\x02');
  indexed.fileHeader = false;
  samples.push_back(MakeBmp(indexed));
  BmpSpec rle = indexed;
  rle.compression = kBiRle8;
  rle.pixels = std::string("\x05\x01\x00\x00\x00\x05\x01\x02\x03\x00\x02\x00\x00\x02\x01\x01\x00\x01", 18);
  samples.push_back(MakeBmp(rle));
  BmpSpec fields = s;
  fields.bitCount = 16;
  fields.compression = kBiBitfields;
  fields.masks = {0xF800, 0x07E0, 0x001F};
  fields.pixels = std::string(3 * 12, '\x55');
  samples.push_back(MakeBmp(fields));

  EmfWriter e(100, 80);
  e.CreatePen(1, 0, 3, 0xFF).SelectObject(1).CreateBrush(2, 2, 0xFF00, 3).SelectObject(2);
  e.Rectangle(5, 5, 50, 40).Ellipse(20, 20, 90, 70).Arc(47, 0, 0, 60, 60, 60, 30, 30, 0);
  e.CreateFont(3, -12, u"Liberation Sans").SelectObject(3).ExtTextOutW(10, 50, u"Ab", 0, {8, 8});
  e.Record(59, {}).MoveTo(1, 1).LineTo(50, 1).LineTo(50, 50).Record(61, {}).Record(60, {}).Record(67, {1});
  e.PolyPolygon16({{{1, 1}, {20, 1}, {20, 20}}, {{5, 5}, {10, 5}, {10, 10}}});
  e.StretchDib(60, 5, 20, 20, {{0xFF0000, 0x00FF00}, {0x0000FF, 0}});
  e.BitBltDib(60, 40, {{0xFF0000, 0x00FF00}, {0x0000FF, 0}});
  samples.push_back(e.Finish());

  WmfWriter w;
  w.SetMapMode(8).SetWindowOrg(0, 0).SetWindowExt(100, 80);
  w.CreatePen(0, 2, 0xFF).SelectObject(0).CreateBrush(2, 0xFF00, 5).SelectObject(1);
  w.Rectangle(5, 5, 50, 40).Ellipse(10, 10, 90, 70).Pie(0, 0, 60, 60, 60, 30, 30, 0);
  w.Polygon({{1, 1}, {30, 1}, {30, 30}}).CreateFont(-12, "Liberation Sans").SelectObject(2).TextOut(5, 60, "Text");
  w.StretchDib(60, 5, 20, 20, {{0xFF0000, 0x00FF00}, {0x0000FF, 0}});
  samples.push_back(w.Placeable(0, 0, 100, 80, 96));
  samples.push_back(w.Plain());

  for (const char* name : {"part.emf", "part.wmf", "part.png", "part.svg"}) samples.push_back(Fixture(name));
  samples.push_back(std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\x00\x00\x00\x00\xFF"
                                ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;", 35));
  return samples;
}

std::string RandomBytes(std::mt19937& rng, size_t n) {
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng() & 0xFF);
  return s;
}

}  // namespace

TEST(Robustness, TruncatedCopiesOfEveryKindNeverCrash) {
  Counts counts;
  for (const std::string& sample : Samples()) {
    ASSERT_FALSE(sample.empty());
    const size_t step = std::max<size_t>(1, sample.size() / 400);
    for (size_t n = 0; n < sample.size(); n += step) Feed(sample.substr(0, n), counts);
    Feed(sample, counts);
  }
  EXPECT_GT(counts.bitmaps, 0);
  EXPECT_GT(counts.metafiles, 0);
}

TEST(Robustness, MutatedCopiesNeverCrash) {
  std::mt19937 rng(20240611);
  Counts counts;
  for (const std::string& sample : Samples()) {
    for (int round = 0; round < 150; ++round) {
      std::string s = sample;
      const int flips = 1 + static_cast<int>(rng() % 8);
      for (int k = 0; k < flips; ++k) {
        const size_t at = rng() % s.size();
        // Small and extreme values reach the checks on counts and sizes most often.
        static const uint8_t values[] = {0x00, 0x01, 0x7F, 0x80, 0xFF, 0xFE};
        s[at] = static_cast<char>((rng() % 2) ? values[rng() % 6] : (rng() & 0xFF));
      }
      Feed(s, counts);
    }
  }
  EXPECT_GT(counts.metafiles + counts.bitmaps, 0);
}

TEST(Robustness, RandomBytesBehindEverySignatureNeverCrash) {
  std::mt19937 rng(77);
  Counts counts;
  // Headers that declare more bytes than any file here holds, so every record is read.
  std::string emfHead = EmfWriter(64, 64).Finish().substr(0, 108);
  emfHead.replace(48, 4, Bytes().u32(0xFFFFFFFF).str());
  const std::string wmfHead = Bytes().u16(1).u16(9).u16(0x0300).u32(0x7FFFFFFF).u16(8).u32(64).u16(0).str();
  const std::string placeableHead = WmfWriter().Placeable(0, 0, 64, 64, 96).substr(0, 22) + wmfHead;
  BmpSpec s;
  s.width = 7;
  s.height = -5;
  const std::string bmpHead = MakeBmp(s);
  for (int round = 0; round < 300; ++round) {
    Feed(RandomBytes(rng, rng() % 300), counts);
    // Records of known types with random contents.
    std::string emf = emfHead;
    std::string wmf;
    for (int k = 0; k < 20; ++k) {
      const uint32_t size = 8 + 4 * (rng() % 40);
      emf += Bytes().u32(1 + rng() % 122).u32(size).str() + RandomBytes(rng, size - 8);
      const uint32_t words = 3 + rng() % 30;
      static const uint16_t functions[] = {0x0324, 0x0325, 0x0538, 0x041B, 0x061C, 0x0418, 0x0817, 0x081A, 0x0830,
                                           0x0521, 0x0A32, 0x02FA, 0x02FB, 0x02FC, 0x012D, 0x01F0, 0x06FF, 0x012C,
                                           0x0228, 0x0142, 0x01F9, 0x0F43, 0x0B41, 0x0940, 0x0D33, 0x020B, 0x020C,
                                           0x0103, 0x0127, 0x0416, 0x0213, 0x0214, 0x061D};
      wmf += Bytes().u32(words).u16(functions[rng() % std::size(functions)]).str() + RandomBytes(rng, 2 * words - 6);
    }
    Feed(emf, counts);
    Feed(wmfHead + wmf, counts);
    Feed(placeableHead + wmf, counts);
    Feed(bmpHead.substr(0, 54) + RandomBytes(rng, rng() % 200), counts);
  }
  EXPECT_GT(counts.metafiles, 0);
}
