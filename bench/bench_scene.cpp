// Benchmarks of the scene's recompute and of the minor-body list block.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "catalogue.h"
#include "model/astronomical_objects.h"
#include "scene/solar_system.h"
#include "streams/value_stream.h"

namespace {

using namespace kestrova;

// Every orbit ring of the scene: what a picture that draws them all needs after a recompute.
void ComputeAllRings(const TSolarSystem& scene) {
  for (int32_t i = 0; i < scene.PlanetsList().Count(); ++i) {
    const TPlanet& planet = scene.Planet(i);
    benchmark::DoNotOptimize(planet.OrbitPoints().data());
    for (int32_t s = 0; s < planet.Satellites.Count(); ++s)
      benchmark::DoNotOptimize(planet.Satellites.Get(s).OrbitPoints().data());
  }
}

// The default scene, 9 planets and 22 satellites, for a new date, with the 360 samples of every
// orbit ring as a picture of all of them needs.
void BM_Recompute(benchmark::State& state) {
  TSolarSystem scene{JDToDate(0, 2451545.0L)};
  TDateRec date{1, 1, 2025, 0, 0, 0, 0};
  for (auto _ : state) {
    // A new date every time, so that no frame cache holds it already.
    ++date.Minute;
    scene.SetDate(date);
    ComputeAllRings(scene);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Recompute)->Unit(benchmark::kMillisecond);

// The positions alone: a new date that no picture is drawn for (a document read, a command).
void BM_RecomputePositions(benchmark::State& state) {
  TSolarSystem scene(JDToDate(0, 2451545.0L));
  TDateRec date{1, 1, 2025, 0, 0, 0, 0};
  for (auto _ : state) {
    ++date.Minute;
    scene.SetDate(date);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RecomputePositions)->Unit(benchmark::kMillisecond);

// "Show all objects" with the whole catalogue: a new date recomputes every body of the full
// list (and the planets). Real time and the CPU time of all threads.
void BM_RecomputeFullCatalogue(benchmark::State& state) {
  TSolarSystem scene{JDToDate(0, 2451545.0L)};
  TDateRec date{1, 1, 2025, 0, 0, 0, 0};
  TFullList& list = scene.AsteroidsFullList();
  list.Reserve(kCatalogue);
  for (int i = 0; i < kCatalogue; ++i) list.Add(CatalogueElements(i));
  scene.SetDate(date);
  for (auto _ : state) {
    ++date.Minute;
    scene.SetDate(date);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kCatalogue);
}
BENCHMARK(BM_RecomputeFullCatalogue)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void FillMinorBodies(TOEObjectList& list) {
  for (int i = 0; i < 1000; ++i) {
    const Extended a = 1.5L + i * 0.003L;
    const TOrbitalElements e{2460600.5L,
                             0.1L * (i % 300),
                             0.37L * i,
                             0.71L * i,
                             a,
                             0.9856076686L / (a * std::sqrt(a)),
                             0.0003L * (i % 900),
                             1.3L * i};
    list.Add(
        std::make_unique<TAsteroid>("(" + std::to_string(i + 1) + ") Minor body", e, 0x008080));
  }
}

std::vector<uint8_t> WrittenList(const TOEObjectList& list) {
  MemorySink sink;
  ValueWriter writer(sink);
  list.WriteList(writer);
  writer.Finish();
  return sink.Bytes();
}

void BM_ValueStreamObjectListWrite(benchmark::State& state) {
  TOEObjectList list;
  FillMinorBodies(list);
  size_t bytes = 0;
  for (auto _ : state) bytes += WrittenList(list).size();
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_ValueStreamObjectListWrite)->Unit(benchmark::kMicrosecond);

// Includes building the 1000 TAsteroid objects the block describes.
void BM_ValueStreamObjectListRead(benchmark::State& state) {
  TOEObjectList list;
  FillMinorBodies(list);
  const std::vector<uint8_t> bytes = WrittenList(list);
  TOEObjectList back;
  for (auto _ : state) {
    MemorySource source(bytes);
    ValueReader reader(source);
    back.ReadList(reader);
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes.size() * state.iterations()));
}
BENCHMARK(BM_ValueStreamObjectListRead)->Unit(benchmark::kMicrosecond);

}  // namespace
