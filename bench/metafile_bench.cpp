// Playing an enhanced metafile of 100 000 records beside drawing the same primitives straight
// onto a QPainter: the ratio is what the record decoding and the drawing state cost.
// bench-libs: zephra_graphics

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <random>

#include "graphics/metafile_picture.h"
#include "graphics/picture_writer.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kRecords = 100000;

enum class Kind { Brush, Pen, Rectangle, Ellipse, Polyline, MoveTo, LineTo };

struct Primitive {
  Kind kind;
  int v[8];
};

// One fixed, seeded mix of state changes and shapes, shared by both ways of drawing.
const std::vector<Primitive>& Primitives() {
  static const std::vector<Primitive> list = [] {
    std::mt19937 rng(4242);
    auto coord = [&](int max) { return static_cast<int>(rng() % static_cast<unsigned>(max)); };
    std::vector<Primitive> out;
    out.reserve(kRecords);
    while (out.size() < static_cast<size_t>(kRecords)) {
      const int x = coord(kWidth - 40), y = coord(kHeight - 40);
      switch (out.size() % 10) {
        case 0: out.push_back({Kind::Brush, {coord(4), 0, 0, 0, 0, 0, 0, 0}}); break;
        case 1: out.push_back({Kind::Pen, {4 + coord(2), 0, 0, 0, 0, 0, 0, 0}}); break;
        case 2:
        case 3: out.push_back({Kind::Rectangle, {x, y, x + 5 + coord(30), y + 5 + coord(30), 0, 0, 0, 0}}); break;
        case 4:
        case 5: out.push_back({Kind::Ellipse, {x, y, x + 5 + coord(30), y + 5 + coord(30), 0, 0, 0, 0}}); break;
        case 6:
        case 7:
          out.push_back({Kind::Polyline, {x, y, x + coord(30), y + coord(30), x + coord(30), y + 30, x + 35, y + coord(30)}});
          break;
        case 8: out.push_back({Kind::MoveTo, {x, y, 0, 0, 0, 0, 0, 0}}); break;
        default: out.push_back({Kind::LineTo, {x, y, 0, 0, 0, 0, 0, 0}}); break;
      }
    }
    return out;
  }();
  return list;
}

const uint32_t kColours[4] = {0x0000FF, 0x00A000, 0xFF0000, 0x00C0C0};

// The primitives as records: brushes 0-3 and pens 4-5 made once, then selected as listed.
const QByteArray& Metafile() {
  static const QByteArray bytes = [] {
    zephra::testing::EmfWriter w(kWidth, kHeight);
    for (uint32_t i = 0; i < 4; ++i) w.CreateBrush(i + 1, 0, kColours[i]);
    w.CreatePen(5, 0, 0, 0x000000).CreatePen(6, 0, 3, 0x800000);
    for (const Primitive& p : Primitives()) {
      switch (p.kind) {
        case Kind::Brush: w.SelectObject(static_cast<uint32_t>(p.v[0] + 1)); break;
        case Kind::Pen: w.SelectObject(static_cast<uint32_t>(p.v[0] + 1)); break;
        case Kind::Rectangle: w.Rectangle(p.v[0], p.v[1], p.v[2], p.v[3]); break;
        case Kind::Ellipse: w.Ellipse(p.v[0], p.v[1], p.v[2], p.v[3]); break;
        case Kind::Polyline:
          w.Points16(87, {{p.v[0], p.v[1]}, {p.v[2], p.v[3]}, {p.v[4], p.v[5]}, {p.v[6], p.v[7]}});
          break;
        case Kind::MoveTo: w.MoveTo(p.v[0], p.v[1]); break;
        case Kind::LineTo: w.LineTo(p.v[0], p.v[1]); break;
      }
    }
    const std::string s = w.Finish();
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
  }();
  return bytes;
}

void BM_PlayMetafile(benchmark::State& state) {
  zephra::graphics::MetafilePicture picture;
  picture.Load(Metafile());
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    picture.Play(painter, QRectF(0, 0, kWidth, kHeight));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * picture.RecordCount()));
  state.counters["records"] = static_cast<double>(picture.RecordCount());
}

// Reference: the same shapes, colours and widths drawn directly.
void BM_DrawDirectly(benchmark::State& state) {
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    QPen thin(Qt::black);
    thin.setCosmetic(true);
    QPen wide(QColor(0, 0, 128), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QPointF current;
    for (const Primitive& p : Primitives()) {
      switch (p.kind) {
        case Kind::Brush: {
          const uint32_t c = kColours[p.v[0]];
          painter.setBrush(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
          break;
        }
        case Kind::Pen: painter.setPen(p.v[0] == 4 ? thin : wide); break;
        case Kind::Rectangle: painter.drawRect(QRectF(QPointF(p.v[0], p.v[1]), QPointF(p.v[2], p.v[3]))); break;
        case Kind::Ellipse: painter.drawEllipse(QRectF(QPointF(p.v[0], p.v[1]), QPointF(p.v[2], p.v[3]))); break;
        case Kind::Polyline: {
          const QPointF pts[4] = {{double(p.v[0]), double(p.v[1])}, {double(p.v[2]), double(p.v[3])},
                                  {double(p.v[4]), double(p.v[5])}, {double(p.v[6]), double(p.v[7])}};
          painter.drawPolyline(pts, 4);
          break;
        }
        case Kind::MoveTo: current = QPointF(p.v[0], p.v[1]); break;
        case Kind::LineTo: {
          const QPointF next(p.v[0], p.v[1]);
          painter.drawLine(current, next);
          current = next;
          break;
        }
      }
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * Primitives().size()));
}

// Loading alone: the header check and the walk over every record.
void BM_LoadMetafile(benchmark::State& state) {
  for (auto _ : state) {
    zephra::graphics::MetafilePicture picture;
    benchmark::DoNotOptimize(picture.Load(Metafile()).ok());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Metafile().size()));
}

}  // namespace

BENCHMARK(BM_PlayMetafile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawDirectly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadMetafile)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  benchmark::Initialize(&argc, argv);
  QGuiApplication app(argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
