#include "picture_errors.h"

#include <cstdio>

namespace zephra::graphics {

std::string PictureErrorText(PictureFailure failure, int32_t number) {
  // The texts are the components' own, trailing line break included; %ld is decimal, %x hex.
  const char* format = "";
  bool hex = false;
  switch (failure) {
    case PictureFailure::BitmapLoad: format = "Unable to load file, error = %ld\n"; break;
    case PictureFailure::BitmapConvert: format = "Unable to convert DIB to bitmap, error = %ld\n"; break;
    case PictureFailure::BitmapDraw: format = "BitBlt failed, error = %ld\n"; break;
    case PictureFailure::MetafileOpen: format = "Fail in file open. Error %ld\n"; break;
    case PictureFailure::MetafileMap: format = "Fail in creating map file! Error %ld\n"; break;
    case PictureFailure::MetafileView: format = "Fail in mapping view of the Map File object! Error %ld\n"; break;
    case PictureFailure::EnhancedLoad: format = "Get enhanced metafile error = %ld\n"; break;
    case PictureFailure::PlaceableConvert: format = "SetWinMetaFileBits failed, %x"; hex = true; break;
    case PictureFailure::PlainLoad: format = "GetMetaFile failed, %x"; hex = true; break;
    case PictureFailure::MetafilePlay: format = "Play metafile error = %ld\n"; break;
  }
  char buf[160];
  if (hex) {
    std::snprintf(buf, sizeof buf, format, static_cast<unsigned>(number));
  } else {
    std::snprintf(buf, sizeof buf, format, static_cast<long>(number));
  }
  return buf;
}

int32_t PictureErrorCode(PictureFailure failure) {
  switch (failure) {
    case PictureFailure::BitmapDraw:
    case PictureFailure::MetafilePlay: return kErrorDraw;
    default: return kErrorLoad;
  }
}

void RaisePictureError(PictureFailure failure, int32_t number, const std::string& source) {
  throw common::AutomationError(PictureErrorCode(failure), source, PictureErrorText(failure, number));
}

}  // namespace zephra::graphics
