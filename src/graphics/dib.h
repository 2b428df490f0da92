#pragma once
// Device-independent bitmaps: an information header of 40 bytes (or a longer, later form whose
// first 40 bytes are the same), bit-field masks or a colour table, and the pixel rows, bottom-up
// unless the height is negative. BMP files carry one after a 14-byte file header; metafiles
// embed them in their bitmap records; screen captures are held as one.

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <span>
#include <vector>

namespace zephra::graphics {

inline constexpr uint32_t kDibHeaderSize = 40;
// The longest information header there is (the fifth form).
inline constexpr uint32_t kMaxDibHeaderSize = 124;
inline constexpr uint32_t kBiRgb = 0;
inline constexpr uint32_t kBiRle8 = 1;
inline constexpr uint32_t kBiRle4 = 2;
inline constexpr uint32_t kBiBitfields = 3;
inline constexpr uint32_t kBiAlphaBitfields = 6;

struct DibHeader {
  uint32_t size = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 0;
  uint16_t bitCount = 0;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t clrUsed = 0;
  uint32_t clrImportant = 0;
};

// The first 40 bytes of an information header; false when fewer are given.
bool ParseDibHeader(std::span<const uint8_t> bytes, DibHeader& header);

// The colour count of a header: its used-colours field, else 2, 16 or 256 for 1, 4 or 8 bits
// per pixel and 0 for deeper pictures.
uint32_t DibColourCount(const DibHeader& header);
// Bytes per pixel row, padded to a multiple of 4.
uint64_t DibStride(int64_t width, int bitCount);
// The header's image size, or the size of its uncompressed rows when that field is 0.
uint64_t DibImageSize(const DibHeader& header);
// Bytes from the start of the header to the end of its masks and colour table.
uint64_t DibInfoSize(const DibHeader& header, bool paletteIndices = false);

// How colour-table entries are given: as RGB quads, or (in metafiles) as 16-bit indices into
// the logical palette, which this player takes as the default palette.
enum class DibColours { Rgb, PaletteIndices };

struct DibImage {
  QImage image;       // RGB32, or ARGB32 when the masks give an alpha channel
  int32_t error = 0;  // a reader_error number when image is null
};

// Decodes header, masks and colour table from info and the pixel rows from bits (BI_RGB,
// BI_RLE8, BI_RLE4, BI_BITFIELDS; 1, 4, 8, 16, 24 and 32 bits per pixel).
DibImage DecodeDib(std::span<const uint8_t> info, std::span<const uint8_t> bits,
                   DibColours colours = DibColours::Rgb);
// A packed DIB (info and bits back to back, as metafile pattern brushes hold them).
DibImage DecodePackedDib(std::span<const uint8_t> packed, DibColours colours = DibColours::Rgb);

// The default 256-colour palette: the twenty static colours around a colour cube and greys.
const std::vector<QRgb>& DefaultPalette();

// A packed DIB of the image: 40-byte header, colour table, bottom-up rows, uncompressed, with
// 1, 4, 8 or 24 bits per pixel (indexed depths use black and white, the sixteen standard
// colours, or the default palette).
QByteArray EncodeDib(const QImage& image, int bitCount);

}  // namespace zephra::graphics
