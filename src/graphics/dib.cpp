#include "dib.h"

#include <algorithm>
#include <bit>

#include "byte_reader.h"
#include "picture_errors.h"

namespace zephra::graphics {

namespace {

// Pictures larger than this are refused before anything is allocated: a corrupt header must
// not make the reader ask for gigabytes.
constexpr int64_t kMaxSide = 65535;
constexpr int64_t kMaxPixels = int64_t{1} << 27;
// Compressed rows can describe far more pixels than they hold, so their limit is lower.
constexpr int64_t kMaxRlePixels = int64_t{1} << 25;

struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint64_t max = 0;  // largest value of the channel after shifting

  explicit Channel(uint32_t m = 0) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    max = m >> shift;
  }
  // The channel of a pixel scaled to 0..255.
  int Value(uint32_t pixel) const {
    if (max == 0) return 0;
    const uint64_t v = (pixel & mask) >> shift;
    return static_cast<int>((v * 255 + max / 2) / max);
  }
};

void Put16(QByteArray& out, uint16_t v) {
  out.append(static_cast<char>(v & 0xFF));
  out.append(static_cast<char>(v >> 8));
}
void Put32(QByteArray& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// Run-length rows (8 or 4 bits per index) into an index per pixel, bottom row first. Pixels
// the data never reaches keep index 0; running past the picture or the data ends decoding.
void DecodeRle(std::span<const uint8_t> src, int width, int height, bool four, std::vector<uint8_t>& out) {
  out.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  size_t i = 0;
  int64_t x = 0, y = 0;
  auto put = [&](int64_t px, uint8_t index) {
    if (px >= 0 && px < width && y >= 0 && y < height) {
      out[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(px)] = index;
    }
  };
  while (i + 1 < src.size() && y < height) {
    const uint8_t count = src[i];
    const uint8_t value = src[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count; ++k) {
        const uint8_t index = four ? static_cast<uint8_t>((k % 2 == 0) ? (value >> 4) : (value & 0x0F)) : value;
        put(x + k, index);
      }
      x += count;
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of bitmap
        return;
      case 2:  // delta
        if (i + 1 >= src.size()) return;
        x += src[i];
        y += src[i + 1];
        i += 2;
        break;
      default: {  // absolute run of `value` indices, padded to a 16-bit boundary
        const size_t bytes = four ? (static_cast<size_t>(value) + 1) / 2 : value;
        if (i + bytes > src.size()) return;
        for (int k = 0; k < value; ++k) {
          const uint8_t b = src[i + static_cast<size_t>(four ? k / 2 : k)];
          put(x + k, four ? static_cast<uint8_t>((k % 2 == 0) ? (b >> 4) : (b & 0x0F)) : b);
        }
        x += value;
        i += bytes + (bytes % 2);
        break;
      }
    }
  }
}

}  // namespace

bool ParseDibHeader(std::span<const uint8_t> bytes, DibHeader& h) {
  ByteReader r(bytes);
  if (!r.Has(0, kDibHeaderSize)) return false;
  h.size = r.U32(0);
  h.width = r.I32(4);
  h.height = r.I32(8);
  h.planes = r.U16(12);
  h.bitCount = r.U16(14);
  h.compression = r.U32(16);
  h.sizeImage = r.U32(20);
  h.xPelsPerMeter = r.I32(24);
  h.yPelsPerMeter = r.I32(28);
  h.clrUsed = r.U32(32);
  h.clrImportant = r.U32(36);
  return true;
}

uint32_t DibColourCount(const DibHeader& h) {
  if (h.clrUsed != 0) return h.clrUsed;
  switch (h.bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

uint64_t DibStride(int64_t width, int bitCount) {
  if (width <= 0 || bitCount <= 0) return 0;
  return ((static_cast<uint64_t>(bitCount) * static_cast<uint64_t>(width) + 31) / 32) * 4;
}

uint64_t DibImageSize(const DibHeader& h) {
  if (h.sizeImage != 0) return h.sizeImage;
  const int64_t height = h.height < 0 ? -static_cast<int64_t>(h.height) : h.height;
  return DibStride(h.width, h.bitCount) * static_cast<uint64_t>(height);
}

namespace {
// Masks that follow a 40-byte header instead of sitting inside a longer one.
uint64_t ExternalMaskBytes(const DibHeader& h) {
  if (h.size >= 52) return 0;
  if (h.compression == kBiBitfields) return 12;
  if (h.compression == kBiAlphaBitfields) return 16;
  return 0;
}
}  // namespace

uint64_t DibInfoSize(const DibHeader& h, bool paletteIndices) {
  return static_cast<uint64_t>(h.size) + ExternalMaskBytes(h) +
         static_cast<uint64_t>(DibColourCount(h)) * (paletteIndices ? 2 : 4);
}

const std::vector<QRgb>& DefaultPalette() {
  static const std::vector<QRgb> palette = [] {
    std::vector<QRgb> p = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),     qRgb(0, 128, 0),     qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128),   qRgb(0, 128, 128),   qRgb(192, 192, 192),
        qRgb(192, 220, 192), qRgb(166, 202, 240),
    };
    const int levels[6] = {0, 51, 102, 153, 204, 255};
    for (int r : levels) {
      for (int g : levels) {
        for (int b : levels) p.push_back(qRgb(r, g, b));
      }
    }
    for (int k = 1; k <= 20; ++k) {
      const int v = k * 255 / 21;
      p.push_back(qRgb(v, v, v));
    }
    const QRgb last[10] = {qRgb(255, 251, 240), qRgb(160, 160, 164), qRgb(128, 128, 128), qRgb(255, 0, 0),
                           qRgb(0, 255, 0),     qRgb(255, 255, 0),   qRgb(0, 0, 255),     qRgb(255, 0, 255),
                           qRgb(0, 255, 255),   qRgb(255, 255, 255)};
    p.insert(p.end(), std::begin(last), std::end(last));
    return p;
  }();
  return palette;
}

DibImage DecodeDib(std::span<const uint8_t> info, std::span<const uint8_t> bits, DibColours colours) {
  namespace re = reader_error;
  DibHeader h;
  if (!ParseDibHeader(info, h)) return {QImage(), re::HeaderTruncated};
  if (h.size < kDibHeaderSize || h.size > kMaxDibHeaderSize || h.planes != 1) return {QImage(), re::UnsupportedHeader};

  const int bpp = h.bitCount;
  const uint32_t comp = h.compression;
  const bool validDepth = bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
  const bool fields = comp == kBiBitfields || comp == kBiAlphaBitfields;
  const bool validCombination = validDepth && (comp == kBiRgb || (comp == kBiRle8 && bpp == 8) ||
                                               (comp == kBiRle4 && bpp == 4) || (fields && (bpp == 16 || bpp == 32)));
  if (!validCombination) return {QImage(), re::UnsupportedFormat};

  const int64_t width = h.width;
  const bool topDown = h.height < 0;
  const int64_t height = topDown ? -static_cast<int64_t>(h.height) : h.height;
  const bool rle = comp == kBiRle8 || comp == kBiRle4;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
      width * height > (rle ? kMaxRlePixels : kMaxPixels)) {
    return {QImage(), re::BadDimensions};
  }
  // Compressed rows always run bottom-up.
  if (rle && topDown) return {QImage(), re::UnsupportedFormat};

  ByteReader in(info);
  // Masks: inside a longer header, or right after a 40-byte one.
  uint32_t masks[4] = {0, 0, 0, 0};
  const uint64_t external = ExternalMaskBytes(h);
  if (fields) {
    const uint64_t at = external ? h.size : 40;
    const int count = (comp == kBiAlphaBitfields || h.size >= 56) ? 4 : 3;
    if (!in.Has(at, static_cast<uint64_t>(count), 4)) return {QImage(), re::ColourTableTruncated};
    for (int k = 0; k < count; ++k) masks[k] = in.U32(at + 4 * static_cast<uint64_t>(k));
  } else if (bpp == 16) {
    masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F;
  } else if (bpp == 32) {
    masks[0] = 0x00FF0000; masks[1] = 0x0000FF00; masks[2] = 0x000000FF;
  }

  // The colour table is needed only for indexed pictures; deeper ones may carry one as a hint.
  std::vector<QRgb> palette;
  if (bpp <= 8) {
    const uint64_t entries = std::min<uint64_t>(DibColourCount(h), uint64_t{1} << bpp);
    const uint64_t entrySize = colours == DibColours::PaletteIndices ? 2 : 4;
    const uint64_t at = static_cast<uint64_t>(h.size) + external;
    if (!in.Has(at, entries, entrySize)) return {QImage(), re::ColourTableTruncated};
    palette.assign(size_t{1} << bpp, qRgb(0, 0, 0));
    for (uint64_t k = 0; k < entries; ++k) {
      if (colours == DibColours::PaletteIndices) {
        const uint16_t index = in.U16(at + 2 * k);
        const auto& def = DefaultPalette();
        palette[k] = index < def.size() ? def[index] : qRgb(0, 0, 0);
      } else {
        const uint64_t o = at + 4 * k;
        palette[k] = qRgb(in.U8(o + 2), in.U8(o + 1), in.U8(o));
      }
    }
  }

  const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
  const bool hasAlpha = masks[3] != 0;
  QImage image(static_cast<int>(width), static_cast<int>(height), hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  if (image.isNull()) return {QImage(), re::BadDimensions};
  const int w = static_cast<int>(width);
  const int hgt = static_cast<int>(height);

  if (rle) {
    std::vector<uint8_t> indices;
    DecodeRle(bits, w, hgt, comp == kBiRle4, indices);
    for (int y = 0; y < hgt; ++y) {
      QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(hgt - 1 - y));
      const uint8_t* src = indices.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
      for (int x = 0; x < w; ++x) line[x] = palette[src[x] & ((1u << bpp) - 1)];
    }
    return {image, 0};
  }

  const uint64_t stride = DibStride(width, bpp);
  if (!ByteReader(bits).Has(0, stride, static_cast<uint64_t>(height))) return {QImage(), re::PixelsTruncated};
  bool anyAlpha = false;
  for (int y = 0; y < hgt; ++y) {
    const uint8_t* src = bits.data() + stride * static_cast<uint64_t>(topDown ? y : hgt - 1 - y);
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < w; ++x) {
      switch (bpp) {
        case 1: line[x] = palette[(src[x / 8] >> (7 - x % 8)) & 1]; break;
        case 4: line[x] = palette[(x % 2 == 0) ? (src[x / 2] >> 4) : (src[x / 2] & 0x0F)]; break;
        case 8: line[x] = palette[src[x]]; break;
        case 24: line[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
        default: {
          const uint32_t px = bpp == 16 ? static_cast<uint32_t>(src[2 * x] | (src[2 * x + 1] << 8))
                                        : static_cast<uint32_t>(src[4 * x]) | (static_cast<uint32_t>(src[4 * x + 1]) << 8) |
                                              (static_cast<uint32_t>(src[4 * x + 2]) << 16) |
                                              (static_cast<uint32_t>(src[4 * x + 3]) << 24);
          const int a = hasAlpha ? alpha.Value(px) : 255;
          anyAlpha = anyAlpha || a != 0;
          line[x] = qRgba(red.Value(px), green.Value(px), blue.Value(px), a);
        }
      }
    }
  }
  // An alpha mask over an alpha channel that is zero everywhere is a writer's habit, not an
  // invisible picture.
  if (hasAlpha && !anyAlpha) image = image.convertToFormat(QImage::Format_RGB32);
  return {image, 0};
}

DibImage DecodePackedDib(std::span<const uint8_t> packed, DibColours colours) {
  DibHeader h;
  if (!ParseDibHeader(packed, h)) return {QImage(), reader_error::HeaderTruncated};
  const uint64_t infoSize = DibInfoSize(h, colours == DibColours::PaletteIndices);
  // For deep pictures a used-colours hint may claim more than the record holds; the rows
  // then follow what there is.
  ByteReader r(packed);
  if (!r.Has(0, infoSize)) {
    if (h.bitCount <= 8) return {QImage(), reader_error::ColourTableTruncated};
    return DecodeDib(packed, {}, colours);
  }
  return DecodeDib(packed, r.From(infoSize), colours);
}

QByteArray EncodeDib(const QImage& source, int bitCount) {
  if (source.isNull()) return {};
  if (bitCount != 1 && bitCount != 4 && bitCount != 8) bitCount = 24;
  const int w = source.width();
  const int h = source.height();
  const uint64_t stride = DibStride(w, bitCount);

  QList<QRgb> table;
  if (bitCount == 1) {
    table = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
  } else if (bitCount == 4) {
    table = {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
             qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
             qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
             qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
  } else if (bitCount == 8) {
    const auto& def = DefaultPalette();
    table = QList<QRgb>(def.begin(), def.end());
  }

  QByteArray out;
  out.reserve(static_cast<qsizetype>(40 + 4 * table.size() + stride * static_cast<uint64_t>(h)));
  Put32(out, kDibHeaderSize);
  Put32(out, static_cast<uint32_t>(w));
  Put32(out, static_cast<uint32_t>(h));
  Put16(out, 1);
  Put16(out, static_cast<uint16_t>(bitCount));
  Put32(out, kBiRgb);
  Put32(out, static_cast<uint32_t>(stride * static_cast<uint64_t>(h)));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  for (QRgb c : table) {
    out.append(static_cast<char>(qBlue(c)));
    out.append(static_cast<char>(qGreen(c)));
    out.append(static_cast<char>(qRed(c)));
    out.append('\0');
  }

  const QImage rgb = source.convertToFormat(QImage::Format_RGB32);
  const QImage indexed = bitCount <= 8 ? rgb.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither) : QImage();
  QByteArray row(static_cast<qsizetype>(stride), '\0');
  for (int y = h - 1; y >= 0; --y) {
    row.fill('\0');
    auto* dst = reinterpret_cast<uint8_t*>(row.data());
    if (bitCount == 24) {
      const QRgb* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
      for (int x = 0; x < w; ++x) {
        dst[3 * x] = static_cast<uint8_t>(qBlue(src[x]));
        dst[3 * x + 1] = static_cast<uint8_t>(qGreen(src[x]));
        dst[3 * x + 2] = static_cast<uint8_t>(qRed(src[x]));
      }
    } else {
      const uint8_t* src = indexed.constScanLine(y);
      for (int x = 0; x < w; ++x) {
        const uint8_t v = src[x];
        if (bitCount == 8) {
          dst[x] = v;
        } else if (bitCount == 4) {
          dst[x / 2] = static_cast<uint8_t>(dst[x / 2] | ((x % 2 == 0) ? (v << 4) : v));
        } else {
          if (v) dst[x / 8] = static_cast<uint8_t>(dst[x / 8] | (0x80 >> (x % 8)));
        }
      }
    }
    out.append(row);
  }
  return out;
}

}  // namespace zephra::graphics
