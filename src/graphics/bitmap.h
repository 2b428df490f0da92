#pragma once
// The bitmap component: loads a picture file, tells its size in pixels and copies it unscaled
// onto a drawing surface given as a device-context handle.

#include <QImage>
#include <string>

#include "common/dispatch.h"
#include "handles.h"
#include "picture_file.h"

namespace zephra::graphics {

class Bitmap : public common::DispatchObject<Bitmap> {
 public:
  static constexpr common::DispId kWidth = 1;
  static constexpr common::DispId kHeight = 2;
  static constexpr common::DispId kDraw = 3;
  static constexpr common::DispId kReleaseFile = 4;
  static constexpr common::DispId kLoadFile = 5;

  static const common::DispatchTable<Bitmap>& Table();
  std::string TypeName() const override { return "Bitmap"; }

  // 0 when nothing is loaded.
  int32_t Width() const { return image_.width(); }
  int32_t Height() const { return image_.height(); }
  // Copies the whole picture with its top-left corner at (x, y) of the surface; error 5001
  // when hDC is no drawing surface. Nothing loaded draws nothing.
  void Draw(Handle hDC, int32_t x, int32_t y);
  void ReleaseFile();
  // Frees any previous picture, then reads the file; error 5000 when it cannot be read or is
  // no picture, after which nothing is held. hDC is accepted and not used.
  void LoadFile(const std::string& fileName, Handle hDC);

  const QImage& Image() const { return image_; }
  PictureFormat Format() const { return format_; }

 private:
  QImage image_;
  PictureFormat format_ = PictureFormat::Unknown;
};

}  // namespace zephra::graphics
