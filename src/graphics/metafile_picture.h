#pragma once
// A loaded metafile, held in one form for playing whatever it was read from: enhanced
// metafiles, placeable and plain Windows metafiles, and SVG drawings.

#include <QByteArray>
#include <QRectF>
#include <QSizeF>
#include <memory>
#include <span>

#include "picture_errors.h"
#include "picture_file.h"

class QPainter;
class QSvgRenderer;

namespace zephra::graphics {

class MetafilePicture {
 public:
  struct LoadResult {
    PictureFailure failure = PictureFailure::EnhancedLoad;
    int32_t error = 0;  // 0 on success
    bool ok() const { return error == 0; }
  };

  MetafilePicture();
  ~MetafilePicture();
  MetafilePicture(MetafilePicture&&) noexcept;
  MetafilePicture& operator=(MetafilePicture&&) noexcept;

  // Recognises the bytes in this order: an enhanced metafile (" EMF" at offset 40), a
  // placeable metafile (its key at the start), an SVG drawing (XML), else a plain Windows
  // metafile. The first that matches decides; on failure nothing is held.
  LoadResult Load(const QByteArray& bytes);
  void Release();

  bool IsLoaded() const { return format_ != PictureFormat::Unknown; }
  PictureFormat Format() const { return format_; }
  // The frame in pixels at 96 dots per inch.
  QSizeF Size96() const { return size96_; }
  // Records that will be played (SVG: 0).
  size_t RecordCount() const { return records_; }

  // Plays the picture with its frame stretched into dest (painter coordinates).
  void Play(QPainter& painter, const QRectF& dest) const;

 private:
  LoadResult LoadEmf();
  LoadResult LoadWmf(PictureFailure failure, bool placeable);
  std::span<const uint8_t> Records() const;

  PictureFormat format_ = PictureFormat::Unknown;
  QByteArray bytes_;
  uint64_t wmfStart_ = 0;  // where the Windows metafile begins in bytes_
  uint64_t wmfLength_ = 0;
  QRectF frame_;           // device space
  QRectF window_;          // Windows metafiles: the window mapped onto the frame
  QSizeF size96_;
  size_t records_ = 0;
  std::unique_ptr<QSvgRenderer> svg_;
};

}  // namespace zephra::graphics
