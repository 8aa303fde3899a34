// Benchmarks of drawing on a 1000 by 1000 picture: the pixel crowd of a whole data file, and
// the passes of Paint written so far.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <random>
#include <vector>

#include "scene/drawing_primitives.h"
#include "scene/qpainter_surface.h"
#include "scene/solar_system.h"

namespace {

using namespace kestrova;

// The size of the full catalogue of numbered and unnumbered minor planets.
constexpr size_t kCrowd = 1400000;
constexpr int kSide = 1000;

// Pixels spread like a belt seen from above: most inside the picture, some off it.
std::vector<TPixel> Crowd() {
  std::mt19937 random(2026);
  std::normal_distribution<double> coord(kSide / 2.0, kSide / 4.0);
  std::vector<TPixel> pixels;
  pixels.reserve(kCrowd);
  for (size_t i = 0; i < kCrowd; ++i) {
    pixels.push_back({int32_t(coord(random)), int32_t(coord(random)), 0x808080});
  }
  return pixels;
}

// A black picture with a QPainter surface clipped to it.
struct Canvas {
  QImage image;
  QPainter painter;
  TQPainterSurface surface;
  explicit Canvas(QImage::Format format = QImage::Format_RGB32)
      : image(kSide, kSide, format), painter((image.fill(Qt::black), &image)), surface(painter) {
    surface.SetClipRect({0, 0, kSide, kSide});
  }
};

// The crowd through the surface's fast path straight into the image's memory.
void BM_PlotObjectPixelCrowdFastPath(benchmark::State& state) {
  const std::vector<TPixel> pixels = Crowd();
  Canvas canvas;
  TQPainterSurface& surface = canvas.surface;
  for (auto _ : state) {
    surface.SetPixels(pixels.data(), pixels.size());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(int64_t(state.iterations() * kCrowd));
}
BENCHMARK(BM_PlotObjectPixelCrowdFastPath)->Unit(benchmark::kMillisecond);

// The same with the crowd gathered first through the device's dot pattern, as the bodies pass
// does for each body in range.
void BM_PlotObjectPixelCrowdGatherAndPlot(benchmark::State& state) {
  const std::vector<TPixel> pixels = Crowd();
  Canvas canvas;
  TQPainterSurface& surface = canvas.surface;
  std::vector<TPixel> crowd;
  crowd.reserve(kCrowd);
  const TRect rect{0, 0, kSide, kSide};
  for (auto _ : state) {
    crowd.clear();
    for (const TPixel& p : pixels) {
      if (InRect(rect, p.x, p.y)) AppendDotPattern(crowd, 0, p.x, p.y, p.color);
    }
    surface.SetPixels(crowd.data(), crowd.size());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(int64_t(state.iterations() * kCrowd));
}
BENCHMARK(BM_PlotObjectPixelCrowdGatherAndPlot)->Unit(benchmark::kMillisecond);

// For comparison: one virtual SetPixel per body.
void BM_PlotObjectPixelCrowdOneByOne(benchmark::State& state) {
  const std::vector<TPixel> pixels = Crowd();
  Canvas canvas;
  TSurface& surface = canvas.surface;
  for (auto _ : state) {
    for (const TPixel& p : pixels) surface.SetPixel(p.x, p.y, p.color);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(int64_t(state.iterations() * kCrowd));
}
BENCHMARK(BM_PlotObjectPixelCrowdOneByOne)->Unit(benchmark::kMillisecond);

// For comparison: one QPainter call per body, what a surface without direct access does.
void BM_PlotObjectPixelCrowdThroughQPainter(benchmark::State& state) {
  const std::vector<TPixel> pixels = Crowd();
  Canvas canvas(QImage::Format_RGB888);
  TQPainterSurface& surface = canvas.surface;
  for (auto _ : state) {
    surface.SetPixels(pixels.data(), pixels.size());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(int64_t(state.iterations() * kCrowd));
}
BENCHMARK(BM_PlotObjectPixelCrowdThroughQPainter)->Unit(benchmark::kMillisecond)->Iterations(3);

// Paint of the default scene as far as the passes exist (background with grid and labels, the
// Sun with its arc and axis), on a 1000 by 1000 picture through the QPainter surface.
void BM_PaintBackgroundAndSun(benchmark::State& state) {
  // Text needs a GUI application; the benchmark program has none of its own.
  static int argc = 1;
  static char name[] = "kestrova-bench";
  static char* argv[] = {name, nullptr};
  if (QGuiApplication::instance() == nullptr) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
  }
  TSolarSystem scene{JDToDate(0, 2451545.0L)};
  scene.SetGridMode(int32_t(state.range(0)));
  scene.SetPlane(TPlane::XY);
  scene.SetShowRotation(true);
  scene.SetShowRotAxis(true);
  QImage image(kSide, kSide, QImage::Format_RGB32);
  QPainter painter(&image);
  TQPainterSurface surface(painter);
  for (auto _ : state) {
    scene.Paint(surface, TViewport{{0, 0, kSide, kSide}, 0, 2});
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PaintBackgroundAndSun)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
