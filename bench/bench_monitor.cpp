// The monitor's table of one body, as every date step refills it.
#include <benchmark/benchmark.h>

#include <memory>

#include "model/astronomical_objects.h"
#include "scene/monitor_values.h"
#include "scene/solar_system.h"

namespace {

using namespace kestrova;

// Argument: the entry of the object box (2 the Earth, 3 the Moon, 6 Io, 28 a minor body).
void BM_MonitorShowValues(benchmark::State& state) {
  TSolarSystem scene{JDToDate(0, 2451545.0L)};
  scene.AsteroidsList().Add(std::make_unique<TAsteroid>(
      "(1) Ceres",
      TOrbitalElements{2451545.0L, 10.58L, 80.39L, 153.9L, 2.767L, 0.21408L, 0.0789L, 100.2L},
      0x008080));
  scene.Recompute();
  const TAstronomialObject* body = MonitorEntryBody(scene, static_cast<int>(state.range(0)));
  const QString point = QStringLiteral(".");
  for (auto _ : state) {
    std::optional<TMonitorTable> table = MonitorValues(scene, *body, point);
    benchmark::DoNotOptimize(table);
  }
}
BENCHMARK(BM_MonitorShowValues)->Arg(2)->Arg(3)->Arg(6)->Arg(28)->Unit(benchmark::kMicrosecond);

}  // namespace
