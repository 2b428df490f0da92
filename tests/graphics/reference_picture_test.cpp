// Pictures made by an independent program: the same drawing exported as an enhanced and a
// placeable Windows metafile, with a PNG of it rendered by the same program as the reference.

#include <gtest/gtest.h>

#include <QFile>

#include "graphics/metafile_picture.h"
#include "render_support.h"

using namespace zephra::graphics;
using namespace zephra::testing;

namespace {

QByteArray ReadFixture(const std::string& name) {
  QFile f(QString(ZEPHRA_TEST_DATA_DIR) + "/graphics/" + QString::fromStdString(name));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
  return f.readAll();
}

// The share of pixels whose colour differs from the reference by more than the tolerance in
// some channel. Edges may move by a pixel, so a pixel also matches when a neighbour of it in
// the reference is close enough.
double MismatchShare(const QImage& image, const QImage& reference, int tolerance) {
  int bad = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      bool ok = false;
      for (int dy = -1; dy <= 1 && !ok; ++dy) {
        for (int dx = -1; dx <= 1 && !ok; ++dx) {
          const QPoint q(x + dx, y + dy);
          if (reference.rect().contains(q)) ok = Near(image.pixel(x, y), reference.pixelColor(q), tolerance);
        }
      }
      bad += ok ? 0 : 1;
    }
  }
  return static_cast<double>(bad) / (image.width() * image.height());
}

struct Fixture {
  const char* metafile;
  const char* reference;
  PictureFormat format;
};

}  // namespace

TEST(ReferencePictures, RenderingsMatchTheExportingProgramsOwnRendering) {
  const Fixture fixtures[] = {
      {"part.emf", "part.png", PictureFormat::Emf},
      {"part.wmf", "part.png", PictureFormat::WmfPlaceable},
      {"flange.emf", "flange.png", PictureFormat::Emf},
      {"flange.wmf", "flange.png", PictureFormat::WmfPlaceable},
  };
  for (const Fixture& f : fixtures) {
    SCOPED_TRACE(f.metafile);
    MetafilePicture picture;
    ASSERT_TRUE(picture.Load(ReadFixture(f.metafile)).ok());
    EXPECT_EQ(picture.Format(), f.format);
    QImage reference;
    ASSERT_TRUE(reference.loadFromData(ReadFixture(f.reference)));
    reference = reference.convertToFormat(QImage::Format_RGB32);
    // Played at its own size (its frame at 96 dots per inch), the drawing meets the
    // reference pixel for pixel; the frame may be a little larger than the drawing.
    QImage ours(reference.size(), QImage::Format_RGB32);
    ours.fill(Qt::white);
    {
      QPainter painter(&ours);
      picture.Play(painter, QRectF(QPointF(0, 0), picture.Size96()));
    }
    SaveRendering(ours, std::string("reference_") + f.metafile);
    const double share = MismatchShare(ours, reference, 60);
    EXPECT_LT(share, 0.005) << "share of differing pixels " << share;
    // A plain metafile that only lacks the placeable header draws the same through its window.
    if (f.format == PictureFormat::WmfPlaceable) {
      MetafilePicture plain;
      ASSERT_TRUE(plain.Load(ReadFixture(f.metafile).mid(22)).ok());
      EXPECT_EQ(plain.Format(), PictureFormat::Wmf);
      EXPECT_EQ(RenderMetafile(plain, reference.size()), RenderMetafile(picture, reference.size()));
    }
  }
}

TEST(ReferencePictures, PartDrawingAtTwoSizesKeepsItsFeaturesInPlace) {
  // part.svg: 240 x 160; grey body, white bores at (60,70) r18 and (175,80) r22, a yellow
  // frame with blue hatching at (100,30) 40 x 40, a red centre line at y 100, green "A-A".
  for (const char* name : {"part.emf", "part.wmf"}) {
    MetafilePicture picture;
    ASSERT_TRUE(picture.Load(ReadFixture(name)).ok());
    for (QSize size : {QSize(240, 160), QSize(600, 300)}) {
      SCOPED_TRACE(std::string(name) + " " + std::to_string(size.width()));
      const QImage img = RenderMetafile(picture, size);
      SaveRendering(img, std::string("part_") + name + "_" + std::to_string(size.width()));
      // Drawing units are pixels of the frame at 96 dots per inch.
      const double sx = size.width() / picture.Size96().width(), sy = size.height() / picture.Size96().height();
      auto at = [&](double x, double y) { return img.pixel(static_cast<int>(x * sx), static_cast<int>(y * sy)); };
      EXPECT_TRUE(Near(at(40, 40), QColor(200, 200, 200))) << "body " << Describe(at(40, 40));
      EXPECT_TRUE(Near(at(60, 70), Qt::white)) << "bore " << Describe(at(60, 70));
      EXPECT_TRUE(Near(at(175, 70), Qt::white)) << "bore " << Describe(at(175, 70));
      EXPECT_TRUE(Near(at(10, 80), Qt::white)) << "outside " << Describe(at(10, 80));
      EXPECT_TRUE(Near(at(100, 150), Qt::white)) << "the notch " << Describe(at(100, 150));
      EXPECT_TRUE(Near(at(215, 25), Qt::white)) << "the rounded corner " << Describe(at(215, 25));
      EXPECT_TRUE(Near(at(50, 100), QColor(255, 0, 0), 70)) << "centre line " << Describe(at(50, 100));
      const QRect hatch(QPoint(static_cast<int>(103 * sx), static_cast<int>(33 * sy)),
                        QPoint(static_cast<int>(137 * sx), static_cast<int>(67 * sy)));
      EXPECT_GT(CountNear(img, hatch, QColor(255, 255, 0)), hatch.width() * hatch.height() / 3);
      EXPECT_GT(CountNear(img, hatch, QColor(0, 0, 255), 90), hatch.width() * hatch.height() / 10);
      const QRect label(QPoint(static_cast<int>(28 * sx), static_cast<int>(112 * sy)),
                        QPoint(static_cast<int>(70 * sx), static_cast<int>(133 * sy)));
      EXPECT_GT(CountNear(img, label, QColor(0, 128, 0), 60), static_cast<int>(20 * sx * sy)) << "label text";
    }
  }
}
