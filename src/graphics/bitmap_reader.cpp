#include "bitmap_reader.h"

#include <QBuffer>
#include <QImageReader>

#include "byte_reader.h"
#include "dib.h"

namespace zephra::graphics {

namespace {

BitmapResult Failure(PictureFailure failure, int32_t error, PictureFormat format) {
  BitmapResult r;
  r.format = format;
  r.failure = failure;
  r.error = error;
  return r;
}

BitmapResult ReadWithQt(std::span<const uint8_t> bytes, PictureFormat format) {
  QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, PictureFormatName(format));
  // Photographs of parts carry the camera's orientation; show them upright.
  reader.setAutoTransform(true);
  QImage image = reader.read();
  if (image.isNull()) return Failure(PictureFailure::BitmapConvert, reader_error::DecoderFailed, format);
  BitmapResult r;
  r.format = format;
  r.image = image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                                    : image.convertToFormat(QImage::Format_RGB32);
  return r;
}

}  // namespace

BitmapResult ReadBmp(std::span<const uint8_t> bytes) {
  namespace re = reader_error;
  const PictureFormat bmp = PictureFormat::Bmp;
  ByteReader r(bytes);
  uint64_t headerAt = 0;
  uint64_t pixelOffset = 0;
  if (r.Has(0, 14) && r.U8(0) == 'B' && r.U8(1) == 'M') {
    headerAt = 14;
    pixelOffset = r.U32(10);
  }
  DibHeader h;
  if (!ParseDibHeader(r.From(headerAt), h)) return Failure(PictureFailure::BitmapLoad, re::HeaderTruncated, bmp);
  if (h.size < kDibHeaderSize || h.size > kMaxDibHeaderSize) {
    return Failure(PictureFailure::BitmapConvert, re::UnsupportedHeader, bmp);
  }
  if (!r.Has(headerAt, h.size)) return Failure(PictureFailure::BitmapLoad, re::HeaderTruncated, bmp);
  // Without a file header the rows follow the colour table, so all of it must be there.
  if (pixelOffset == 0 && !r.Has(headerAt, DibInfoSize(h))) {
    return Failure(PictureFailure::BitmapLoad, re::ColourTableTruncated, bmp);
  }

  const uint64_t pixelStart = pixelOffset != 0 ? pixelOffset : headerAt + DibInfoSize(h);
  if (!r.Has(pixelStart, 0)) return Failure(PictureFailure::BitmapLoad, re::PixelsTruncated, bmp);
  DibImage dib = DecodeDib(r.From(headerAt), r.From(pixelStart));
  if (dib.image.isNull()) {
    const bool shortFile = dib.error == re::HeaderTruncated || dib.error == re::ColourTableTruncated ||
                           dib.error == re::PixelsTruncated;
    return Failure(shortFile ? PictureFailure::BitmapLoad : PictureFailure::BitmapConvert, dib.error, bmp);
  }
  BitmapResult out;
  out.format = bmp;
  out.image = dib.image.hasAlphaChannel() ? dib.image.convertToFormat(QImage::Format_ARGB32_Premultiplied) : dib.image;
  return out;
}

BitmapResult ReadBitmap(std::span<const uint8_t> bytes) {
  const PictureFormat format = SniffPictureFormat(bytes);
  switch (format) {
    case PictureFormat::Png:
    case PictureFormat::Jpeg:
    case PictureFormat::Gif: return ReadWithQt(bytes, format);
    default: return ReadBmp(bytes);
  }
}

BitmapResult ReadBitmapFile(const std::string& path) {
  FileBytes file = MapFileBytes(path);
  if (!file.ok()) return Failure(PictureFailure::BitmapLoad, file.error, PictureFormat::Unknown);
  return ReadBitmap(AsBytes(file.bytes));
}

}  // namespace zephra::graphics
