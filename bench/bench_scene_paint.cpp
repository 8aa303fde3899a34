// Benchmarks of painting the scene: the whole picture with every marking, and the crowd of a
// full minor-body catalogue plotted as pixels.
#include <benchmark/benchmark.h>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdint>
#include <memory>

#include "bench_application.h"
#include "scene/qpainter_surface.h"
#include "scene/solar_system.h"

namespace {

using namespace kestrova;

constexpr int kSide = 1000;
// The size of the full catalogue of numbered and unnumbered minor planets.
constexpr int kCatalogue = 1400000;

TOrbitalElements BeltElements(int64_t i) {
  TOrbitalElements el;
  el.Epoch = 2451545.0L;
  el.SemiMajorAxis = 2.1L + 1.2L * ((i * 7919) % 10007) / 10007.0L;
  el.Eccentricity = 0.25L * ((i * 104729) % 997) / 997.0L;
  el.Inclination = (i * 31) % 25;
  el.Node = (i * 137) % 360;
  el.PerihelionLongitude = (i * 59) % 360;
  el.MeanLongitude = (i * 263) % 360;
  el.DailyMotion = 0.9856076686L / std::pow(el.SemiMajorAxis, 1.5L);
  return el;
}

struct Picture {
  QImage image{kSide, kSide, QImage::Format_RGB32};
  QPainter painter{&image};
  TQPainterSurface surface{painter};
  Picture() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    painter.setFont(font);
  }
};

// The scene the program starts with at a fixed date, every switch on, a few picked minor
// bodies and user lines.
void BM_PaintDefaultSceneEveryMarking(benchmark::State& state) {
  EnsureBenchApplication();
  TSolarSystem scene{JDToDate(0, 2451545.0L)};
  scene.SetDate({1, 1, 2020, 0, 0, 0, 0});
  scene.SetShowRotAxis(true);
  scene.SetShowRotation(true);
  scene.SetShowPerpendiculars(true);
  scene.SetShowApsides(true);
  scene.SetShowLineOfNodes(true);
  for (int i = 0; i < 5; ++i)
    scene.AsteroidsList().Add(std::make_unique<TAsteroid>("Picked", BeltElements(i), 0x008080));
  scene.DirectionList().Add(std::make_unique<TDirection>(0, 0x00FF80, 3));
  scene.DirectionList().Add(std::make_unique<TDirection>(9, 0xFF80FF, 4));
  scene.Recompute();
  Picture picture;
  for (auto _ : state) {
    scene.Paint(picture.surface, TViewport{TRect{0, 0, kSide, kSide}, 0, 2});
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PaintDefaultSceneEveryMarking)->Unit(benchmark::kMillisecond);

// The crowd of the full catalogue through the scene's pixel path: every planet hidden and
// nothing else drawn, so that the paint is the crowd plus the background fill.
void BM_PlotObjectPixelFullCatalogue(benchmark::State& state) {
  EnsureBenchApplication();
  TSolarSystem scene{JDToDate(0, 2451545.0L)};
  scene.SetDate({1, 1, 2020, 0, 0, 0, 0});
  for (int i = 0; i < 9; ++i) scene.Planet(i).Visible = false;
  scene.SetShowSun(false);
  scene.SetGridMode(0);
  scene.SetDim(4);
  scene.SetPlane(static_cast<TPlane>(state.range(0)));
  TFullList& list = scene.AsteroidsFullList();
  list.Reserve(kCatalogue);
  for (int i = 0; i < kCatalogue; ++i) list.Add(BeltElements(i));
  list.SetColor(0x008080);
  scene.Recompute();
  Picture picture;
  for (auto _ : state) {
    scene.Paint(picture.surface, TViewport{TRect{0, 0, kSide, kSide}, 0, 2});
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kCatalogue);
}
BENCHMARK(BM_PlotObjectPixelFullCatalogue)
    ->Arg(int(TPlane::XY))
    ->Arg(int(TPlane::D3))
    ->Unit(benchmark::kMillisecond);

}  // namespace
