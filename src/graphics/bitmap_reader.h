#pragma once
// Reading the pictures the bitmap component shows: BMP files (with or without the 14-byte file
// header) by our own reader, PNG, JPEG and GIF through Qt's image readers.

#include <QImage>
#include <span>
#include <string>

#include "picture_errors.h"
#include "picture_file.h"

namespace zephra::graphics {

struct BitmapResult {
  QImage image;
  PictureFormat format = PictureFormat::Unknown;
  PictureFailure failure = PictureFailure::BitmapLoad;
  int32_t error = 0;  // errno or a reader_error number; 0 on success
  bool ok() const { return error == 0 && !image.isNull(); }
};

// A BMP file's bytes: a file header when they start with "BM" (its pixel offset is then used),
// else the information header right at the start; the colour table follows the header, the
// rows follow the table unless the file header says where they are.
BitmapResult ReadBmp(std::span<const uint8_t> bytes);
// Any picture the bitmap component reads, recognised by its signature; BMP otherwise.
BitmapResult ReadBitmap(std::span<const uint8_t> bytes);
BitmapResult ReadBitmapFile(const std::string& path);

}  // namespace zephra::graphics
