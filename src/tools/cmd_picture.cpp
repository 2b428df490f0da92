// zephra picture info|render: what the picture components make of a file, and a PNG of it.

#include <QBuffer>
#include <QColor>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "cli.h"
#include "gui_app.h"
#include "common/paths.h"
#include "graphics/bitmap.h"
#include "graphics/handles.h"
#include "graphics/metafile.h"
#include "graphics/picture_file.h"

namespace zephra::tools {
namespace {

using graphics::PictureFormat;


// The components' descriptions end in a line break that the tool's one-line error form
// does without.
[[noreturn]] void Rethrow(const common::AutomationError& e) {
  std::string d = e.Description();
  while (!d.empty() && (d.back() == '\n' || d.back() == '\r')) d.pop_back();
  throw common::AutomationError(e.Number(), e.Source(), d);
}

struct LoadedPicture {
  bool metafile = false;
  graphics::Bitmap bitmap;
  graphics::Metafile meta;

  PictureFormat Format() const { return metafile ? meta.Picture().Format() : bitmap.Format(); }
  QSize Size() const {
    if (!metafile) return QSize(bitmap.Width(), bitmap.Height());
    const QSizeF s = meta.Picture().Size96();
    return QSize(static_cast<int>(std::lround(s.width())), static_cast<int>(std::lround(s.height())));
  }
};

// The component is chosen by what the file holds; a file that holds nothing known goes by its
// name, so its reader reports what is wrong with it.
void Load(const std::string& path, LoadedPicture& picture) {
  const graphics::FileBytes file = graphics::MapFileBytes(path);
  const PictureFormat sniffed = file.ok() ? graphics::SniffPictureFormat(graphics::AsBytes(file.bytes))
                                          : PictureFormat::Unknown;
  picture.metafile = graphics::IsMetafileFormat(sniffed) ||
                     (sniffed == PictureFormat::Unknown &&
                      graphics::PictureKindForFileName(path) == graphics::PictureKind::Metafile);
  try {
    if (picture.metafile) {
      picture.meta.LoadFile(path, 0);
    } else {
      picture.bitmap.LoadFile(path, 0);
    }
  } catch (const common::AutomationError& e) {
    Rethrow(e);
  }
}

QSize ParseSize(const std::string& text) {
  const auto x = text.find_first_of("xX");
  auto number = [&](const std::string& s) {
    if (s.empty() || s.size() > 5 || s.find_first_not_of("0123456789") != std::string::npos) return 0;
    return std::atoi(s.c_str());
  };
  const int w = x == std::string::npos ? 0 : number(text.substr(0, x));
  const int h = x == std::string::npos ? 0 : number(text.substr(x + 1));
  if (w <= 0 || h <= 0 || w > 32767 || h > 32767) throw UsageError("--size needs WIDTHxHEIGHT in pixels, such as 640x480");
  return QSize(w, h);
}

int Info(Arguments& args) {
  if (args.size() != 1) throw UsageError("picture info needs one FILE");
  LoadedPicture picture;
  Load(args[0], picture);
  const QSize size = picture.Size();
  std::cout << "kind: " << (picture.metafile ? "metafile" : "bitmap") << "\n"
            << "format: " << graphics::PictureFormatName(picture.Format()) << "\n"
            << "width: " << size.width() << "\n"
            << "height: " << size.height() << "\n";
  return 0;
}

int Render(Arguments& args) {
  const auto sizeOption = TakeOption(args, "--size");
  const auto backgroundOption = TakeOption(args, "--background");
  if (args.size() != 2) throw UsageError("picture render needs FILE and OUT.png");
  QColor background(Qt::transparent);
  if (backgroundOption) {
    background = QColor(QString::fromStdString(*backgroundOption));
    if (!background.isValid()) throw UsageError("--background needs a colour such as white or #RRGGBB");
  }
  LoadedPicture picture;
  Load(args[0], picture);
  const QSize size = sizeOption ? ParseSize(*sizeOption) : picture.Size();
  if (size.width() <= 0 || size.height() <= 0) {
    throw std::runtime_error("the picture has no size of its own; give --size");
  }

  QImage out(size, QImage::Format_ARGB32_Premultiplied);
  out.fill(background);
  {
    QPainter painter(&out);
    const graphics::ScopedPainterHandle dc(&painter);
    try {
      if (picture.metafile) {
        picture.meta.Draw(dc.handle(), 0, 0, size.width(), size.height());
      } else if (sizeOption) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(0, 0), size), picture.bitmap.Image());
      } else {
        picture.bitmap.Draw(dc.handle(), 0, 0);
      }
    } catch (const common::AutomationError& e) {
      Rethrow(e);
    }
  }
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(out)) throw std::runtime_error("the picture could not be encoded as PNG");
  common::WriteFileAtomically(args[1], std::string_view(png.constData(), static_cast<size_t>(png.size())));
  return 0;
}

int RunPicture(Arguments& args) {
  if (args.empty()) throw UsageError("picture needs info or render");
  const std::string action = args[0];
  args.erase(args.begin());
  EnsureGuiApplication();
  if (action == "info") return Info(args);
  if (action == "render") return Render(args);
  throw UsageError("unknown picture action '" + action + "'");
}

const CommandRegistrar registrar(
    "picture", "tell a picture file's kind and size, or render it to PNG",
    "usage: zephra picture info FILE\n"
    "       zephra picture render FILE OUT.png [--size WxH] [--background COLOR]\n\n"
    "info prints the component that shows FILE and what it read, one line each:\n"
    "  kind: bitmap|metafile\n"
    "  format: bmp|png|jpeg|gif|emf|wmf-placeable|wmf|svg\n"
    "  width: N\n"
    "  height: N\n"
    "in pixels; a metafile's size is its frame at 96 dots per inch.\n\n"
    "render draws FILE into a PNG: at its own size, or with --size stretched to fill WxH\n"
    "(metafiles and SVG are played into the rectangle, bitmaps are scaled). The background is\n"
    "transparent unless --background names a colour (white, #RRGGBB). Works without a display.\n"
    "A file that cannot be read prints `error N: DESCRIPTION (SOURCE)` and exits 1.\n",
    RunPicture);

}  // namespace
}  // namespace zephra::tools
