#include "metafile_picture.h"

#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

#include "byte_reader.h"
#include "gdi_player.h"
#include "metafile_records.h"

namespace zephra::graphics {

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr uint64_t kPlaceableHeaderSize = 22;

// The frame (device space) stretched onto the destination rectangle.
QTransform FrameToDest(const QRectF& frame, const QRectF& dest) {
  return QTransform::fromTranslate(-frame.x(), -frame.y()) *
         QTransform::fromScale(dest.width() / frame.width(), dest.height() / frame.height()) *
         QTransform::fromTranslate(dest.x(), dest.y());
}

// Pixels at 96 dots per inch of one logical unit of a mapping mode.
double PixelsPerUnit(int mapMode) {
  switch (mapMode) {
    case gdi::MM_LOMETRIC: return 96 / 254.0;
    case gdi::MM_HIMETRIC: return 96 / 2540.0;
    case gdi::MM_LOENGLISH: return 0.96;
    case gdi::MM_HIENGLISH: return 0.096;
    case gdi::MM_TWIPS: return 96 / 1440.0;
    default: return 1.0;
  }
}

}  // namespace

MetafilePicture::MetafilePicture() = default;
MetafilePicture::~MetafilePicture() = default;
MetafilePicture::MetafilePicture(MetafilePicture&&) noexcept = default;
MetafilePicture& MetafilePicture::operator=(MetafilePicture&&) noexcept = default;

void MetafilePicture::Release() {
  format_ = PictureFormat::Unknown;
  bytes_.clear();
  wmfStart_ = wmfLength_ = 0;
  frame_ = window_ = QRectF();
  size96_ = QSizeF();
  records_ = 0;
  svg_.reset();
}

std::span<const uint8_t> MetafilePicture::Records() const {
  return AsBytes(bytes_).subspan(static_cast<size_t>(wmfStart_), static_cast<size_t>(wmfLength_));
}

MetafilePicture::LoadResult MetafilePicture::Load(const QByteArray& bytes) {
  Release();
  bytes_ = bytes;
  const ByteReader r(AsBytes(bytes_));
  LoadResult result;
  if (r.Has(0, 44) && r.U32(40) == 0x464D4520) {
    result = LoadEmf();
  } else if (r.Has(0, 4) && r.U32(0) == kPlaceableKey) {
    result = LoadWmf(PictureFailure::PlaceableConvert, true);
  } else if (SniffPictureFormat(AsBytes(bytes_)) == PictureFormat::Svg) {
    svg_ = std::make_unique<QSvgRenderer>(bytes_);
    if (svg_->isValid()) {
      format_ = PictureFormat::Svg;
      size96_ = QSizeF(svg_->defaultSize());
    } else {
      result = {PictureFailure::PlainLoad, reader_error::DecoderFailed};
    }
  } else {
    result = LoadWmf(PictureFailure::PlainLoad, false);
  }
  if (!result.ok()) Release();
  return result;
}

MetafilePicture::LoadResult MetafilePicture::LoadEmf() {
  const EmfHeader header = ParseEmfHeader(AsBytes(bytes_));
  if (header.error) return {PictureFailure::EnhancedLoad, header.error};
  format_ = PictureFormat::Emf;
  frame_ = header.frame;
  size96_ = header.size96;
  wmfStart_ = 0;
  wmfLength_ = static_cast<uint64_t>(bytes_.size());
  records_ = CountEmfRecords(AsBytes(bytes_), header);
  return {};
}

MetafilePicture::LoadResult MetafilePicture::LoadWmf(PictureFailure failure, bool placeable) {
  const ByteReader r(AsBytes(bytes_));
  const uint64_t size = static_cast<uint64_t>(bytes_.size());
  QRectF box;
  double inch = 1440;
  if (placeable) {
    if (!r.Has(0, kPlaceableHeaderSize)) return {failure, reader_error::HeaderTruncated};
    box = QRectF(QPointF(r.I16(6), r.I16(8)), QPointF(r.I16(10), r.I16(12))).normalized();
    if (r.U16(14) != 0) inch = r.U16(14);
    wmfStart_ = kPlaceableHeaderSize;
    // The size at offset 28 is the embedded metafile's own, in 16-bit words; a wrong one
    // never reaches past the file.
    const uint64_t declared = static_cast<uint64_t>(r.U32(28)) * 2;
    wmfLength_ = size - wmfStart_;
    if (declared >= 18 && declared < wmfLength_) wmfLength_ = declared;
  } else {
    wmfStart_ = 0;
    wmfLength_ = size;
  }
  const WmfHeader header = ParseWmfHeader(Records());
  if (header.error) return {failure, header.error};

  if (header.hasWindow) {
    window_ = QRectF(header.windowOrg, header.windowExt);
  } else if (placeable && !box.isEmpty()) {
    window_ = box;
  } else {
    // Neither a window nor a box: the frame is what the records draw.
    GdiPlayer::Setup setup;
    setup.objectSlots = header.objects;
    setup.mapMode = gdi::MM_ANISOTROPIC;
    setup.window = setup.viewport = QRectF(0, 0, 1, 1);
    GdiPlayer bounds(nullptr, setup);
    PlayWmf(Records(), header, bounds);
    if (bounds.HasBounds()) window_ = bounds.Bounds();
  }
  frame_ = window_.normalized();
  if (placeable && !box.isEmpty()) {
    size96_ = QSizeF(box.width() * 96 / inch, box.height() * 96 / inch);
  } else {
    const double unit = header.hasWindow ? PixelsPerUnit(header.mapMode) : 1.0;
    size96_ = QSizeF(frame_.width() * unit, frame_.height() * unit);
  }
  format_ = placeable ? PictureFormat::WmfPlaceable : PictureFormat::Wmf;
  records_ = CountWmfRecords(Records(), header);
  return {};
}

void MetafilePicture::Play(QPainter& painter, const QRectF& dest) const {
  if (!IsLoaded() || dest.width() == 0 || dest.height() == 0) return;
  if (svg_) {
    svg_->render(&painter, dest);
    return;
  }
  if (!(frame_.width() > 0) || !(frame_.height() > 0)) return;
  GdiPlayer::Setup setup;
  setup.deviceToDest = FrameToDest(frame_, dest);
  if (format_ == PictureFormat::Emf) {
    const EmfHeader header = ParseEmfHeader(AsBytes(bytes_));
    setup.pixelsPerMmX = header.pixelsPerMmX;
    setup.pixelsPerMmY = header.pixelsPerMmY;
    setup.objectSlots = header.handles;
    GdiPlayer player(&painter, setup);
    PlayEmf(AsBytes(bytes_), header, player);
    return;
  }
  const WmfHeader header = ParseWmfHeader(Records());
  setup.objectSlots = header.objects;
  setup.mapMode = gdi::MM_ANISOTROPIC;
  setup.window = window_;
  setup.viewport = frame_;
  GdiPlayer player(&painter, setup);
  PlayWmf(Records(), header, player);
}

}  // namespace zephra::graphics
