#include "metafile.h"

#include <QPainter>
#include <cerrno>

#include "component_args.h"
#include "graphics_components.h"
#include "picture_errors.h"
#include "picture_file.h"

namespace zephra::graphics {

using common::Args;
using common::Variant;

const common::DispatchTable<Metafile>& Metafile::Table() {
  static const common::DispatchTable<Metafile> table = [] {
    common::DispatchTable<Metafile> t;
    t.Method(kReleaseFile, "ReleaseFile", [](Metafile& m, Args&) {
      m.ReleaseFile();
      return Variant();
    });
    t.Method(kLoadFile, "LoadFile", [](Metafile& m, Args& args) {
      const std::string name = RequiredArg(args, 0, kMetafileSource).ToString();
      m.LoadFile(name, OptionalLong(args, 1));
      return Variant();
    });
    t.Method(kDraw, "Draw", [](Metafile& m, Args& args) {
      int32_t v[5];
      for (size_t i = 0; i < 5; ++i) v[i] = RequiredArg(args, i, kMetafileSource).ToLong();
      m.Draw(v[0], v[1], v[2], v[3], v[4]);
      return Variant();
    });
    return t;
  }();
  return table;
}

void Metafile::LoadFile(const std::string& fileName, Handle) {
  picture_.Release();
  const FileBytes file = MapFileBytes(fileName);
  switch (file.failed) {
    case FileBytes::Step::Open: RaisePictureError(PictureFailure::MetafileOpen, file.error, kMetafileSource);
    case FileBytes::Step::Map: RaisePictureError(PictureFailure::MetafileMap, file.error, kMetafileSource);
    case FileBytes::Step::View: RaisePictureError(PictureFailure::MetafileView, file.error, kMetafileSource);
    case FileBytes::Step::None: break;
  }
  const MetafilePicture::LoadResult r = picture_.Load(file.bytes);
  if (!r.ok()) RaisePictureError(r.failure, r.error, kMetafileSource);
}

void Metafile::Draw(Handle hDC, int32_t x, int32_t y, int32_t cx, int32_t cy) {
  QPainter* painter = HandleTable::Instance().Painter(hDC);
  if (!painter || !painter->isActive()) RaisePictureError(PictureFailure::MetafilePlay, EBADF, kMetafileSource);
  if (!picture_.IsLoaded()) RaisePictureError(PictureFailure::MetafilePlay, reader_error::NotLoaded, kMetafileSource);
  picture_.Play(*painter, QRectF(x, y, cx, cy));
}

}  // namespace zephra::graphics
