#pragma once
// Drawing test pictures into images, looking at their pixels, and keeping them as PNG files
// under the build tree.

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <string>

#include "graphics/metafile_picture.h"

namespace zephra::testing {

inline QByteArray ToBytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

// The picture played into the whole of a white image of the given size.
inline QImage RenderMetafile(const graphics::MetafilePicture& picture, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  picture.Play(painter, QRectF(QPointF(0, 0), QSizeF(size)));
  return image;
}

inline void SaveRendering(const QImage& image, const std::string& name) {
  QDir().mkpath(ZEPHRA_RENDER_DIR);
  QString file = QString::fromStdString(name);
  file.replace(' ', '_');
  image.save(QString(ZEPHRA_RENDER_DIR) + "/" + file + ".png");
}

// Every channel within tolerance.
inline bool Near(QRgb pixel, QColor expected, int tolerance = 40) {
  return std::abs(qRed(pixel) - expected.red()) <= tolerance && std::abs(qGreen(pixel) - expected.green()) <= tolerance &&
         std::abs(qBlue(pixel) - expected.blue()) <= tolerance;
}

inline std::string Describe(QRgb p) {
  return "rgb(" + std::to_string(qRed(p)) + "," + std::to_string(qGreen(p)) + "," + std::to_string(qBlue(p)) + ")";
}

// Pixels of a rectangle whose every channel is below the limit (ink of text and lines).
inline int CountDark(const QImage& image, QRect area, int limit = 100) {
  int n = 0;
  area = area.intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qRed(p) < limit && qGreen(p) < limit && qBlue(p) < limit) ++n;
    }
  }
  return n;
}

inline int CountNear(const QImage& image, QRect area, QColor colour, int tolerance = 40) {
  int n = 0;
  area = area.intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) n += Near(image.pixel(x, y), colour, tolerance) ? 1 : 0;
  }
  return n;
}

}  // namespace zephra::testing
