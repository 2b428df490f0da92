#pragma once
// Failures of the picture components. Each failure has an automation code (5000 load, 5001
// draw) and a description made from a printf-style format with an error number:
// the errno of a failed system call, or one of the readers' own numbers below when the bytes
// themselves are at fault.

#include <cstdint>
#include <string>

#include "common/automation_error.h"

namespace zephra::graphics {

inline constexpr int32_t kErrorLoad = 5000;
inline constexpr int32_t kErrorDraw = 5001;

// The readers' own error numbers (above every errno value, so the two never mix up).
namespace reader_error {
inline constexpr int32_t HeaderTruncated = 1001;      // the file ends inside a header
inline constexpr int32_t UnsupportedHeader = 1002;    // header size, planes or signature not ours
inline constexpr int32_t UnsupportedFormat = 1003;    // depth and compression do not go together
inline constexpr int32_t BadDimensions = 1004;        // width or height zero, negative or too large
inline constexpr int32_t ColourTableTruncated = 1005; // the colour table runs past the end
inline constexpr int32_t PixelsTruncated = 1006;      // the pixel rows run past the end
inline constexpr int32_t DecoderFailed = 1007;        // PNG, JPEG, GIF or SVG data do not decode
inline constexpr int32_t NotLoaded = 1008;            // nothing is loaded to draw
}  // namespace reader_error

// Which failure of the components' table happened; each has its own description format.
enum class PictureFailure {
  BitmapLoad,        // the file cannot be opened or read
  BitmapConvert,     // the bytes do not make a picture
  BitmapDraw,        // the copy onto the surface fails
  MetafileOpen,      // the file cannot be opened
  MetafileMap,       // the file cannot be mapped (an empty file, for one)
  MetafileView,      // the mapping cannot be viewed
  EnhancedLoad,      // an enhanced metafile is malformed
  PlaceableConvert,  // a placeable metafile is malformed
  PlainLoad,         // a plain metafile's header (or an SVG drawing) is malformed
  MetafilePlay,      // playing fails, also when nothing is loaded
};

// The description of a failure with its error number, formatted as the component reports it.
std::string PictureErrorText(PictureFailure failure, int32_t number);
// The automation code of a failure (5000, 5001).
int32_t PictureErrorCode(PictureFailure failure);
[[noreturn]] void RaisePictureError(PictureFailure failure, int32_t number, const std::string& source);

}  // namespace zephra::graphics
