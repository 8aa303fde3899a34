// Benchmarks of the planet theory and of the planet positions of one scene recomputation.
#include <benchmark/benchmark.h>

#include "ephemerides/planet_positions.h"
#include "ephemerides/planet_theory.h"

namespace {

using namespace kestrova;

// All nine planets for one date, as the scene asks for them when its date changes.
void BM_PlanetPosition_NinePlanets(benchmark::State& state) {
  Extended jd = 2460676.5L;
  for (auto _ : state) {
    for (int32_t planet = 0; planet <= 8; ++planet) {
      benchmark::DoNotOptimize(PlanetPosition(planet, jd));
    }
    jd += 1.1L;
    if (jd > 2470000) jd = 2451545;  // stay inside the fits, away from the mean orbits
  }
}
BENCHMARK(BM_PlanetPosition_NinePlanets)->Unit(benchmark::kMicrosecond);

// One call of the theory for library planet 1..9 (3 the Earth-Moon barycentre).
void BM_Plan404(benchmark::State& state) {
  TPlan404Data rec{};
  rec.Planet = static_cast<int32_t>(state.range(0));
  double jd = 2460676.5;
  for (auto _ : state) {
    rec.JD = jd;
    benchmark::DoNotOptimize(Plan404(&rec));
    benchmark::ClobberMemory();
    jd += 1.1;
    if (jd > 2470000) jd = 2451545;
  }
}
BENCHMARK(BM_Plan404)->DenseRange(1, 9);

}  // namespace
