#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>

#include "graphics/bitmap_reader.h"
#include "graphics/dib.h"
#include "picture_writer.h"
#include "render_support.h"

using namespace zephra::graphics;
using namespace zephra::testing;

namespace {

// The test picture, 3 x 2: red, green, blue over white, black, brown.
constexpr uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, K = 0x000000, O = 0x804020;
const std::vector<uint32_t> kPicture = {R, G, B, W, K, O};

std::span<const uint8_t> Span(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

std::string Pad4(std::string row) {
  while (row.size() % 4) row.push_back('\0');
  return row;
}

std::string Rows32(uint32_t rMask, uint32_t gMask, uint32_t bMask, bool topDown = false) {
  auto pack = [&](uint32_t c, uint32_t mask) {
    const int shift = __builtin_ctz(mask);
    return ((c & 0xFF) << shift) & mask;
  };
  Bytes b;
  const int rows[2] = {topDown ? 0 : 1, topDown ? 1 : 0};
  for (int row : rows) {
    for (int x = 0; x < 3; ++x) {
      const uint32_t c = kPicture[static_cast<size_t>(row * 3 + x)];
      b.u32(pack(c >> 16, rMask) | pack(c >> 8, gMask) | pack(c, bMask));
    }
  }
  return b.str();
}

std::string Rows16(int rBits, int gBits, int bBits) {
  Bytes b;
  for (int row : {1, 0}) {
    for (int x = 0; x < 3; ++x) {
      const uint32_t c = kPicture[static_cast<size_t>(row * 3 + x)];
      const uint32_t r = ((c >> 16) & 0xFF) >> (8 - rBits), g = ((c >> 8) & 0xFF) >> (8 - gBits), bl = (c & 0xFF) >> (8 - bBits);
      b.u16((r << (gBits + bBits)) | (g << bBits) | bl);
    }
    b.pad(4);
  }
  return b.str();
}

// Indexed rows: bottom row first, one index per pixel into a table where picture colour k sits
// at first + k.
std::string Rows8(int first) {
  std::string s;
  for (int row : {1, 0}) {
    std::string r;
    for (int x = 0; x < 3; ++x) r.push_back(static_cast<char>(first + row * 3 + x));
    s += Pad4(r);
  }
  return s;
}

std::string Rows4(int first) {
  std::string s;
  for (int row : {1, 0}) {
    const int a = first + row * 3, b = a + 1, c = a + 2;
    s += Pad4(std::string{static_cast<char>((a << 4) | b), static_cast<char>(c << 4)});
  }
  return s;
}

std::vector<uint32_t> TableWith(size_t size, size_t first) {
  std::vector<uint32_t> t(size, 0x123456);
  for (size_t k = 0; k < kPicture.size(); ++k) t[first + k] = kPicture[k];
  return t;
}

struct LayoutCase {
  const char* name;
  BmpSpec spec;
  std::vector<uint32_t> expected = kPicture;  // top row, then bottom row
};

std::vector<LayoutCase> Layouts() {
  std::vector<LayoutCase> cases;
  BmpSpec s;
  s.width = 3;
  s.height = 2;

  BmpSpec rgb24 = s;
  rgb24.pixels = Row24({W, K, O}) + Row24({R, G, B});
  cases.push_back({"24 bits, image size 0", rgb24});

  BmpSpec sized = rgb24;
  sized.sizeImage = static_cast<uint32_t>(rgb24.pixels.size());
  cases.push_back({"24 bits, image size given", sized});

  BmpSpec headerless = rgb24;
  headerless.fileHeader = false;
  cases.push_back({"24 bits without file header", headerless});

  BmpSpec topDown = rgb24;
  topDown.height = -2;
  topDown.pixels = Row24({R, G, B}) + Row24({W, K, O});
  cases.push_back({"24 bits top-down", topDown});

  BmpSpec rgb32 = s;
  rgb32.bitCount = 32;
  rgb32.pixels = Rows32(0xFF0000, 0xFF00, 0xFF);
  cases.push_back({"32 bits", rgb32});

  BmpSpec fields32 = s;
  fields32.bitCount = 32;
  fields32.compression = kBiBitfields;
  fields32.masks = {0xFF000000, 0x00FF0000, 0x0000FF00};
  fields32.pixels = Rows32(0xFF000000, 0x00FF0000, 0x0000FF00);
  fields32.fileHeader = false;  // the rows must follow the masks
  cases.push_back({"32 bits with bit-field masks, no file header", fields32});

  BmpSpec v5 = s;
  v5.bitCount = 32;
  v5.headerSize = 124;
  v5.compression = kBiBitfields;
  v5.masks = {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF};
  {
    Bytes b;
    for (int row : {1, 0}) {
      for (int x = 0; x < 3; ++x) {
        const uint32_t c = kPicture[static_cast<size_t>(row * 3 + x)];
        b.u8(0xFF).u8((c >> 16) & 0xFF).u8((c >> 8) & 0xFF).u8(c & 0xFF);  // alpha, red, green, blue
      }
    }
    v5.pixels = b.str();
  }
  cases.push_back({"32 bits, 124-byte header with masks inside", v5});

  BmpSpec rgb555 = s;
  rgb555.bitCount = 16;
  rgb555.pixels = Rows16(5, 5, 5);
  cases.push_back({"16 bits 5-5-5", rgb555});

  BmpSpec rgb565 = s;
  rgb565.bitCount = 16;
  rgb565.compression = kBiBitfields;
  rgb565.masks = {0xF800, 0x07E0, 0x001F};
  rgb565.pixels = Rows16(5, 6, 5);
  cases.push_back({"16 bits 5-6-5 with masks", rgb565});

  BmpSpec full8 = s;
  full8.bitCount = 8;
  full8.palette = TableWith(256, 200);  // used colours 0: the whole table of 256 is read
  full8.pixels = Rows8(200);
  full8.fileHeader = false;
  cases.push_back({"8 bits, used colours 0, no file header", full8});

  BmpSpec short8 = s;
  short8.bitCount = 8;
  short8.clrUsed = 6;
  short8.palette = TableWith(6, 0);
  short8.pixels = Rows8(0);
  short8.fileHeader = false;  // the rows follow a table of six entries
  cases.push_back({"8 bits, six used colours, no file header", short8});

  BmpSpec four = s;
  four.bitCount = 4;
  four.palette = TableWith(16, 9);
  four.pixels = Rows4(9);
  cases.push_back({"4 bits", four});

  BmpSpec one = s;
  one.bitCount = 1;
  one.palette = {0x000080, 0xFFFF00};
  one.pixels = Pad4(std::string(1, '\x40')) + Pad4(std::string(1, '\xA0'));  // bottom 010, top 101
  cases.push_back({"1 bit", one, {0xFFFF00, 0x000080, 0xFFFF00, 0x000080, 0xFFFF00, 0x000080}});

  BmpSpec rle8 = s;
  rle8.bitCount = 8;
  rle8.compression = kBiRle8;
  rle8.palette = TableWith(6, 0);
  rle8.clrUsed = 6;
  // Bottom row in absolute mode, top row as runs of one, then end of bitmap.
  rle8.pixels = std::string("\x00\x03\x03\x04\x05\x00\x00\x00" "\x01\x00\x01\x01\x01\x02\x00\x00" "\x00\x01", 18);
  rle8.sizeImage = static_cast<uint32_t>(rle8.pixels.size());
  cases.push_back({"8 bits run-length", rle8});

  BmpSpec rle4 = s;
  rle4.bitCount = 4;
  rle4.compression = kBiRle4;
  rle4.palette = TableWith(16, 0);
  // Bottom row absolute (3, 4, 5), top row a run of 0 and 1 and then 2, then end of bitmap.
  rle4.pixels = std::string("\x00\x03\x34\x50\x00\x00" "\x02\x01\x01\x20\x00\x00" "\x00\x01", 14);
  rle4.sizeImage = static_cast<uint32_t>(rle4.pixels.size());
  cases.push_back({"4 bits run-length", rle4});
  return cases;
}

}  // namespace

TEST(BitmapReader, ReadsEveryLayoutWithItsColoursInPlace) {
  for (const LayoutCase& c : Layouts()) {
    SCOPED_TRACE(c.name);
    const std::string file = MakeBmp(c.spec);
    const BitmapResult r = ReadBitmap(Span(file));
    ASSERT_TRUE(r.ok()) << "error " << r.error;
    EXPECT_EQ(r.format, PictureFormat::Bmp);
    ASSERT_EQ(r.image.size(), QSize(3, 2));
    for (int i = 0; i < 6; ++i) {
      const QRgb p = r.image.pixel(i % 3, i / 3);
      const uint32_t e = c.expected[static_cast<size_t>(i)];
      EXPECT_TRUE(Near(p, QColor((e >> 16) & 0xFF, (e >> 8) & 0xFF, e & 0xFF), 10))
          << "pixel " << i % 3 << "," << i / 3 << " is " << Describe(p);
    }
  }
}

TEST(BitmapReader, ReadsBmpFilesWrittenByQtExactly) {
  // An independent writer: a reader mistake that our own writer shares would show here.
  QImage reference(QString(ZEPHRA_TEST_DATA_DIR) + "/graphics/part.png");
  ASSERT_FALSE(reference.isNull());
  reference = reference.convertToFormat(QImage::Format_RGB32);
  for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_Indexed8}) {
    QImage source = reference.convertToFormat(format);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(QImageWriter(&buffer, "bmp").write(source));
    const BitmapResult r = ReadBitmap(AsBytes(bytes));
    ASSERT_TRUE(r.ok()) << r.error;
    const QImage expected = source.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(r.image.size(), expected.size());
    int differing = 0;
    for (int y = 0; y < expected.height(); ++y) {
      for (int x = 0; x < expected.width(); ++x) differing += (r.image.pixel(x, y) & 0xFFFFFF) != (expected.pixel(x, y) & 0xFFFFFF);
    }
    EXPECT_EQ(differing, 0) << "format " << format;
  }
}

TEST(BitmapReader, ReadsPngJpegAndGifThroughTheirReaders) {
  QImage solid(8, 6, QImage::Format_RGB32);
  solid.fill(QColor(20, 160, 220));
  for (const char* format : {"png", "jpeg"}) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(100);
    ASSERT_TRUE(writer.write(solid));
    const BitmapResult r = ReadBitmap(AsBytes(bytes));
    ASSERT_TRUE(r.ok()) << format;
    EXPECT_STREQ(PictureFormatName(r.format), format);
    EXPECT_EQ(r.image.size(), QSize(8, 6));
    EXPECT_TRUE(Near(r.image.pixel(4, 3), QColor(20, 160, 220), 8)) << Describe(r.image.pixel(4, 3));
  }
  // One red pixel: a two-colour table (red, blue) and the codes clear, 0, end.
  const std::string gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\x00\x00\x00\x00\xFF"
                        ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;", 35);
  const BitmapResult r = ReadBitmap(Span(gif));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.format, PictureFormat::Gif);
  EXPECT_TRUE(Near(r.image.pixel(0, 0), Qt::red, 0)) << Describe(r.image.pixel(0, 0));
}

TEST(BitmapReader, RefusesWhatIsNoBitmapWithTheFailureAndNumberOfTheStep) {
  BmpSpec good;
  good.width = 3;
  good.height = 2;
  good.pixels = Row24({W, K, O}) + Row24({R, G, B});
  const std::string valid = MakeBmp(good);

  BmpSpec jpegInside = good;
  jpegInside.compression = 4;
  BmpSpec huge = good;
  huge.width = 100000;
  BmpSpec shortTable = good;
  shortTable.bitCount = 8;
  shortTable.clrUsed = 200;
  shortTable.palette = TableWith(6, 0);
  shortTable.fileHeader = false;
  shortTable.pixels.clear();
  BmpSpec noPlanes = good;
  noPlanes.headerSize = 12;

  struct Case {
    const char* name;
    std::string bytes;
    PictureFailure failure;
    int32_t error;
  } cases[] = {
      {"text", "Hello, this is not a picture at all, only a line of text.\n", PictureFailure::BitmapConvert,
       reader_error::UnsupportedHeader},
      {"empty", "", PictureFailure::BitmapLoad, reader_error::HeaderTruncated},
      {"rows cut short", valid.substr(0, valid.size() - 3), PictureFailure::BitmapLoad, reader_error::PixelsTruncated},
      {"header cut short", valid.substr(0, 30), PictureFailure::BitmapLoad, reader_error::HeaderTruncated},
      {"JPEG compression", MakeBmp(jpegInside), PictureFailure::BitmapConvert, reader_error::UnsupportedFormat},
      {"too wide", MakeBmp(huge), PictureFailure::BitmapConvert, reader_error::BadDimensions},
      {"table past the end", MakeBmp(shortTable), PictureFailure::BitmapLoad, reader_error::ColourTableTruncated},
      {"12-byte header", MakeBmp(noPlanes), PictureFailure::BitmapConvert, reader_error::UnsupportedHeader},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const BitmapResult r = ReadBitmap(Span(c.bytes));
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.image.isNull());
    EXPECT_EQ(r.failure, c.failure);
    EXPECT_EQ(r.error, c.error);
  }
}

TEST(Dib, CapturesWrittenInEveryDepthReadBackThroughTheReader) {
  QImage source(5, 3, QImage::Format_RGB32);
  const QColor colours[3] = {Qt::black, Qt::white, QColor(255, 0, 0)};
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) source.setPixelColor(x, y, colours[(x + y) % 3]);
  }
  for (int depth : {1, 4, 8, 24}) {
    SCOPED_TRACE(depth);
    const QByteArray dib = EncodeDib(source, depth);
    DibHeader h;
    ASSERT_TRUE(ParseDibHeader(AsBytes(dib), h));
    EXPECT_EQ(h.bitCount, depth);
    EXPECT_EQ(static_cast<uint64_t>(dib.size()), DibInfoSize(h) + DibImageSize(h));
    const DibImage back = DecodePackedDib(AsBytes(dib));
    ASSERT_FALSE(back.image.isNull());
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 5; ++x) {
        QColor want = colours[(x + y) % 3];
        if (depth == 1 && want == QColor(255, 0, 0)) want = Qt::black;  // no red in black and white
        EXPECT_TRUE(Near(back.image.pixel(x, y), want, 0)) << x << "," << y << " " << Describe(back.image.pixel(x, y));
      }
    }
  }
}
