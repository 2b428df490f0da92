#pragma once
// The metafile component: loads an enhanced, placeable or plain Windows metafile (or an SVG
// drawing) and plays it stretched into a rectangle of a drawing surface.

#include <string>

#include "common/dispatch.h"
#include "handles.h"
#include "metafile_picture.h"

namespace zephra::graphics {

class Metafile : public common::DispatchObject<Metafile> {
 public:
  static constexpr common::DispId kReleaseFile = 1;
  static constexpr common::DispId kLoadFile = 2;
  static constexpr common::DispId kDraw = 3;

  static const common::DispatchTable<Metafile>& Table();
  std::string TypeName() const override { return "Metafile"; }

  void ReleaseFile() { picture_.Release(); }
  // Frees any previous picture and loads the file; error 5000 with the description of the
  // step that failed, after which nothing is held. hDC is accepted and not needed: no
  // reference surface is involved in taking Windows metafiles over.
  void LoadFile(const std::string& fileName, Handle hDC);
  // Plays the picture into the rectangle (x, y) to (x + cx, y + cy); error 5001 when nothing
  // is loaded or hDC is no drawing surface.
  void Draw(Handle hDC, int32_t x, int32_t y, int32_t cx, int32_t cy);

  const MetafilePicture& Picture() const { return picture_; }

 private:
  MetafilePicture picture_;
};

}  // namespace zephra::graphics
