#include "bitmap.h"

#include <QPainter>
#include <cerrno>

#include "bitmap_reader.h"
#include "component_args.h"
#include "graphics_components.h"
#include "picture_errors.h"

namespace zephra::graphics {

using common::Args;
using common::Variant;

const common::DispatchTable<Bitmap>& Bitmap::Table() {
  static const common::DispatchTable<Bitmap> table = [] {
    common::DispatchTable<Bitmap> t;
    t.Property(kWidth, "Width", [](Bitmap& b, Args&) { return Variant(b.Width()); });
    t.Property(kHeight, "Height", [](Bitmap& b, Args&) { return Variant(b.Height()); });
    t.Method(kDraw, "Draw", [](Bitmap& b, Args& args) {
      const int32_t hdc = RequiredArg(args, 0, kBitmapSource).ToLong();
      const int32_t x = RequiredArg(args, 1, kBitmapSource).ToLong();
      const int32_t y = RequiredArg(args, 2, kBitmapSource).ToLong();
      b.Draw(hdc, x, y);
      return Variant();
    });
    t.Method(kReleaseFile, "ReleaseFile", [](Bitmap& b, Args&) {
      b.ReleaseFile();
      return Variant();
    });
    t.Method(kLoadFile, "LoadFile", [](Bitmap& b, Args& args) {
      const std::string name = RequiredArg(args, 0, kBitmapSource).ToString();
      b.LoadFile(name, OptionalLong(args, 1));
      return Variant();
    });
    return t;
  }();
  return table;
}

void Bitmap::Draw(Handle hDC, int32_t x, int32_t y) {
  QPainter* painter = HandleTable::Instance().Painter(hDC);
  if (!painter || !painter->isActive()) RaisePictureError(PictureFailure::BitmapDraw, EBADF, kBitmapSource);
  if (image_.isNull()) return;
  painter->drawImage(QPoint(x, y), image_);
}

void Bitmap::ReleaseFile() {
  image_ = QImage();
  format_ = PictureFormat::Unknown;
}

void Bitmap::LoadFile(const std::string& fileName, Handle) {
  ReleaseFile();
  BitmapResult r = ReadBitmapFile(fileName);
  if (!r.ok()) RaisePictureError(r.failure, r.error, kBitmapSource);
  image_ = std::move(r.image);
  format_ = r.format;
}

}  // namespace zephra::graphics
