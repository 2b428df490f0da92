#pragma once
// Picture files: recognising their kind by content and by name, and reading their bytes.

#include <QByteArray>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zephra::graphics {

enum class PictureFormat { Unknown, Bmp, Png, Jpeg, Gif, Emf, WmfPlaceable, Wmf, Svg };

// "bmp", "png", "jpeg", "gif", "emf", "wmf-placeable", "wmf", "svg"; "unknown".
const char* PictureFormatName(PictureFormat format);
bool IsMetafileFormat(PictureFormat format);

// The format the first bytes of a file announce. A file without any known signature whose
// start reads as a bitmap information header is a BMP without file header.
PictureFormat SniffPictureFormat(std::span<const uint8_t> bytes);

// The component a picture file is shown with, chosen by its name as the slides choose it.
enum class PictureKind { None, Bitmap, Metafile };
PictureKind PictureKindForFileName(std::string_view fileName);

// A file's bytes read through a read-only mapping. The step that failed and its errno tell the
// caller which failure to report: an empty file cannot be mapped.
struct FileBytes {
  enum class Step { None, Open, Map, View };
  QByteArray bytes;
  Step failed = Step::None;
  int error = 0;
  bool ok() const { return failed == Step::None; }
};
// Names made elsewhere may differ from the file in letter case only: such a file is found too.
FileBytes MapFileBytes(const std::string& path);

inline std::span<const uint8_t> AsBytes(const QByteArray& a) {
  return {reinterpret_cast<const uint8_t*>(a.constData()), static_cast<size_t>(a.size())};
}

}  // namespace zephra::graphics
