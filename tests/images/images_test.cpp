// The symbol and kind image lists of the slide views: every numbered picture must load, be
// drawn for a 16 x 16 grid, show something at that size, and differ from its neighbours; the
// contact sheet lets a person judge them at the size the value rows use.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
#include <vector>

namespace {

const QString kImagesDir = QStringLiteral(ZEPHRA_IMAGES_DIR);

struct ImageList {
  const char* folder;
  const char* stem;
  int count;
};

// The symbol list is indexed by a value's geometric symbol; the kind list by the column a value
// shows (limit and average variants included).
const ImageList kLists[] = {{"symbols", "symbol", 48}, {"kinds", "kind", 14}};

QString FileName(const ImageList& list, int n) {
  return QStringLiteral("%1-%2.svg").arg(QLatin1String(list.stem)).arg(n, 2, 10, QLatin1Char('0'));
}

QString ImagePath(const ImageList& list, int n) {
  return kImagesDir + QLatin1Char('/') + QLatin1String(list.folder) + QLatin1Char('/') + FileName(list, n);
}

QImage Render(const QString& path, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QSvgRenderer renderer(path);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter);
  return image;
}

// Share of the picture's area covered by ink, 0 (nothing) to 1 (a full square).
double Coverage(const QImage& image) {
  double alpha = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) alpha += qAlpha(image.pixel(x, y));
  return alpha / (255.0 * image.width() * image.height());
}

enum class Family { Ink, Location, TruePosition };

// The mean colour of the well-covered pixels tells the family: grey ink, the location blue or the
// true-position purple.
Family FamilyOf(const QImage& image) {
  double r = 0, g = 0, b = 0;
  int n = 0;
  const QImage plain = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < plain.height(); ++y)
    for (int x = 0; x < plain.width(); ++x) {
      const QRgb px = plain.pixel(x, y);
      if (qAlpha(px) < 160) continue;
      r += qRed(px), g += qGreen(px), b += qBlue(px), ++n;
    }
  r /= n, g /= n, b /= n;
  if (b - r > 60 && b - g > 60) return Family::Location;
  if (r - g > 60 && b - g > 60) return Family::TruePosition;
  return Family::Ink;
}

Family ExpectedFamily(int symbol) {
  if (symbol == 6 || (symbol >= 9 && symbol <= 24)) return Family::Location;
  if (symbol >= 32 && symbol <= 47) return Family::TruePosition;
  return Family::Ink;
}

}  // namespace

TEST(ImageLists, EveryNumberHasAValidSixteenUnitPictureAndNothingElseIsThere) {
  for (const ImageList& list : kLists) {
    QSet<QString> expected;
    for (int n = 1; n <= list.count; ++n) {
      SCOPED_TRACE(FileName(list, n).toStdString());
      expected.insert(FileName(list, n));
      const QString path = ImagePath(list, n);
      ASSERT_TRUE(QFileInfo::exists(path));
      QSvgRenderer renderer(path);
      ASSERT_TRUE(renderer.isValid());
      EXPECT_EQ(renderer.viewBoxF(), QRectF(0, 0, 16, 16));
      EXPECT_EQ(renderer.defaultSize(), QSize(16, 16));
    }
    // A picture outside the numbering would never be shown: it is a misnamed one.
    const QStringList present = QDir(kImagesDir + QLatin1Char('/') + QLatin1String(list.folder))
                                    .entryList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& name : present) EXPECT_TRUE(expected.contains(name)) << name.toStdString();
  }
}

TEST(ImageLists, EachPictureDrawsSomethingAtSixteenPixelsAndNoTwoLookAlike) {
  for (const ImageList& list : kLists) {
    std::vector<QImage> rendered;
    for (int n = 1; n <= list.count; ++n) {
      SCOPED_TRACE(FileName(list, n).toStdString());
      const QImage image = Render(ImagePath(list, n), 16);
      const double coverage = Coverage(image);
      EXPECT_GT(coverage, 0.05) << "too little ink to read at 16 px";
      EXPECT_LT(coverage, 0.6) << "a blot rather than a shape";
      for (size_t other = 0; other < rendered.size(); ++other)
        EXPECT_NE(rendered[other], image) << "same picture as number " << other + 1;
      rendered.push_back(image);
    }
  }
}

TEST(ImageLists, SymbolFamiliesTellApartByColour) {
  const ImageList& symbols = kLists[0];
  for (int n = 1; n <= symbols.count; ++n) {
    SCOPED_TRACE(FileName(symbols, n).toStdString());
    EXPECT_EQ(FamilyOf(Render(ImagePath(symbols, n), 48)), ExpectedFamily(n));
  }
  for (int n = 1; n <= kLists[1].count; ++n) {
    SCOPED_TRACE(FileName(kLists[1], n).toStdString());
    EXPECT_EQ(FamilyOf(Render(ImagePath(kLists[1], n), 48)), Family::Ink);
  }
}

// Every picture at 16 px on white and on the row colours of the tolerance states (OK, warning,
// error, empty), the 16 px rendering enlarged three times, and the picture drawn at 48 px.
TEST(ImageLists, WritesAContactSheet) {
  const QColor backgrounds[] = {Qt::white, QColor(0, 255, 0), QColor(255, 255, 0), QColor(255, 0, 0),
                                QColor(0, 255, 255)};
  constexpr int kPerRow = 5, kCellW = 240, kCellH = 56, kTitleH = 24;
  int rows = 0;
  for (const ImageList& list : kLists) rows += (list.count + kPerRow - 1) / kPerRow;
  QImage sheet(kPerRow * kCellW, rows * kCellH + 2 * kTitleH, QImage::Format_RGB32);
  sheet.fill(QColor(240, 240, 240));
  QPainter painter(&sheet);
  int top = 0;
  for (const ImageList& list : kLists) {
    painter.setPen(Qt::black);
    painter.drawText(QRect(4, top, sheet.width(), kTitleH), Qt::AlignVCenter, QLatin1String(list.folder));
    top += kTitleH;
    for (int n = 1; n <= list.count; ++n) {
      const int x = ((n - 1) % kPerRow) * kCellW, y = top + ((n - 1) / kPerRow) * kCellH;
      painter.setPen(Qt::black);
      painter.drawText(QRect(x, y, 26, kCellH), Qt::AlignCenter, QString::number(n));
      const QImage small = Render(ImagePath(list, n), 16);
      int sx = x + 28;
      for (const QColor& background : backgrounds) {
        painter.fillRect(sx, y + 18, 20, 20, background);
        painter.drawImage(sx + 2, y + 20, small);
        sx += 22;
      }
      painter.fillRect(sx + 2, y + 4, 48, 48, Qt::white);
      painter.drawImage(QRect(sx + 2, y + 4, 48, 48), small);  // nearest neighbour: the real pixels
      painter.fillRect(sx + 54, y + 4, 48, 48, Qt::white);
      painter.drawImage(sx + 54, y + 4, Render(ImagePath(list, n), 48));
    }
    top += ((list.count + kPerRow - 1) / kPerRow) * kCellH;
  }
  painter.end();
  const QString out = QStringLiteral(ZEPHRA_CONTACT_SHEET);
  ASSERT_TRUE(sheet.save(out));
  EXPECT_EQ(QImage(out).size(), sheet.size());
}
