#include "picture_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "byte_reader.h"
#include "common/paths.h"
#include "common/text.h"

namespace zephra::graphics {

const char* PictureFormatName(PictureFormat format) {
  switch (format) {
    case PictureFormat::Bmp: return "bmp";
    case PictureFormat::Png: return "png";
    case PictureFormat::Jpeg: return "jpeg";
    case PictureFormat::Gif: return "gif";
    case PictureFormat::Emf: return "emf";
    case PictureFormat::WmfPlaceable: return "wmf-placeable";
    case PictureFormat::Wmf: return "wmf";
    case PictureFormat::Svg: return "svg";
    case PictureFormat::Unknown: break;
  }
  return "unknown";
}

bool IsMetafileFormat(PictureFormat format) {
  return format == PictureFormat::Emf || format == PictureFormat::WmfPlaceable || format == PictureFormat::Wmf ||
         format == PictureFormat::Svg;
}

namespace {

bool StartsWith(std::span<const uint8_t> b, std::string_view sig) {
  if (b.size() < sig.size()) return false;
  for (size_t i = 0; i < sig.size(); ++i) {
    if (b[i] != static_cast<uint8_t>(sig[i])) return false;
  }
  return true;
}

}  // namespace

PictureFormat SniffPictureFormat(std::span<const uint8_t> bytes) {
  ByteReader r(bytes);
  if (r.Has(0, 44) && r.U32(40) == 0x464D4520) return PictureFormat::Emf;
  if (r.Has(0, 4) && r.U32(0) == 0x9AC6CDD7) return PictureFormat::WmfPlaceable;
  if (StartsWith(bytes, "\x89PNG\r\n\x1a\n")) return PictureFormat::Png;
  if (StartsWith(bytes, "\xFF\xD8\xFF")) return PictureFormat::Jpeg;
  if (StartsWith(bytes, "GIF87a") || StartsWith(bytes, "GIF89a")) return PictureFormat::Gif;
  if (StartsWith(bytes, "BM")) return PictureFormat::Bmp;
  if (StartsWith(bytes, "\x1f\x8b")) return PictureFormat::Svg;  // compressed SVG
  size_t i = StartsWith(bytes, "\xEF\xBB\xBF") ? 3 : 0;
  while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n')) ++i;
  if (i < bytes.size() && bytes[i] == '<') return PictureFormat::Svg;
  if (r.Has(0, 18) && (r.U16(0) == 1 || r.U16(0) == 2) && r.U16(2) == 9 &&
      (r.U16(4) == 0x0100 || r.U16(4) == 0x0300)) {
    return PictureFormat::Wmf;
  }
  const uint32_t headerSize = r.U32(0);
  if (r.Has(0, 40) && (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
                       headerSize == 124) && r.U16(12) == 1) {
    return PictureFormat::Bmp;
  }
  return PictureFormat::Unknown;
}

PictureKind PictureKindForFileName(std::string_view fileName) {
  const std::string upper = common::ToUpperAscii(fileName);
  auto containsAfterFirst = [&](const char* ext) {
    return upper.size() > 1 && upper.find(ext, 1) != std::string::npos;
  };
  auto contains = [&](const char* ext) { return upper.find(ext) != std::string::npos; };
  if (containsAfterFirst(".WMF") || containsAfterFirst(".EMF") || containsAfterFirst(".SVG")) {
    return PictureKind::Metafile;
  }
  if (contains(".BMP") || contains(".PNG") || contains(".JPG") || contains(".JPEG") || contains(".GIF")) {
    return PictureKind::Bitmap;
  }
  return PictureKind::None;
}

FileBytes MapFileBytes(const std::string& path) {
  FileBytes out;
  std::string actual = path;
  if (!common::FileExists(path)) {
    if (auto found = common::ResolvePathNoCase(path)) actual = *found;
  }
  const int fd = ::open(actual.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    out.failed = FileBytes::Step::Open;
    out.error = errno;
    return out;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    out.failed = FileBytes::Step::Open;
    out.error = S_ISDIR(st.st_mode) ? EISDIR : errno;
    ::close(fd);
    return out;
  }
  if (st.st_size <= 0) {
    // Nothing to map: a mapping of no bytes is refused, as it is everywhere.
    out.failed = FileBytes::Step::Map;
    out.error = EINVAL;
    ::close(fd);
    return out;
  }
  void* view = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  if (view == MAP_FAILED) {
    out.failed = FileBytes::Step::View;
    out.error = errno;
    ::close(fd);
    return out;
  }
  out.bytes = QByteArray(static_cast<const char*>(view), static_cast<qsizetype>(st.st_size));
  ::munmap(view, static_cast<size_t>(st.st_size));
  ::close(fd);
  return out;
}

}  // namespace zephra::graphics
