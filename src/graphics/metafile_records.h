#pragma once
// The record formats of enhanced metafiles and Windows metafiles: their headers, and their
// records played through a GdiPlayer. Every record is checked against the bytes it claims:
// a record that runs past the end stops playing, a record too short for its fields is skipped.

#include <QRectF>
#include <QString>
#include <cstdint>
#include <span>

#include "gdi_player.h"

namespace zephra::graphics {

struct EmfHeader {
  int32_t error = 0;   // a reader_error number when the header is unusable
  QRectF frame;        // the picture's frame in reference-device pixels
  QSizeF size96;       // the frame in pixels at 96 dots per inch
  double pixelsPerMmX = 96.0 / 25.4;
  double pixelsPerMmY = 96.0 / 25.4;
  uint32_t handles = 0;
  uint64_t end = 0;    // the bytes that hold records
};

EmfHeader ParseEmfHeader(std::span<const uint8_t> bytes);
size_t CountEmfRecords(std::span<const uint8_t> bytes, const EmfHeader& header);
void PlayEmf(std::span<const uint8_t> bytes, const EmfHeader& header, GdiPlayer& player);

struct WmfHeader {
  int32_t error = 0;
  uint64_t recordsAt = 18;
  uint64_t end = 0;
  uint16_t objects = 0;
  // The window that the records set before they first draw: it is the picture's frame.
  bool hasWindow = false;
  QPointF windowOrg;
  QSizeF windowExt;
  int mapMode = gdi::MM_ANISOTROPIC;
};

// The 18-byte header and a scan of the records for the window.
WmfHeader ParseWmfHeader(std::span<const uint8_t> wmf);
size_t CountWmfRecords(std::span<const uint8_t> wmf, const WmfHeader& header);
void PlayWmf(std::span<const uint8_t> wmf, const WmfHeader& header, GdiPlayer& player);

// 8-bit text in a font's character set.
QString DecodeAnsiText(std::span<const uint8_t> bytes, uint8_t charSet);
// 0x00BBGGRR.
QColor ColorFromRef(uint32_t ref);

}  // namespace zephra::graphics
