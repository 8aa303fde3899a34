// Benchmarks of the satellite theories: one position per iteration, cycling through the
// satellites of the planet and stepping the date as the orbit sampling does.
#include <benchmark/benchmark.h>

#include "ephemerides/satellites.h"

namespace {

using namespace kestrova;

void Uranus(int32_t id, Extended jd, const TObliquity&, TVector& v) {
  UranusMoonPosition(id, jd, v);
}

template <void (*Position)(int32_t, Extended, const TObliquity&, TVector&), int32_t First,
          int32_t Count>
void SatellitePosition(benchmark::State& state) {
  Extended jd = 2460676.5L;
  const TObliquity eps = MeanObliquity(jd);
  int32_t k = 0;
  TVector v;
  for (auto _ : state) {
    Position(First + k, jd, eps, v);
    benchmark::DoNotOptimize(v);
    k = k + 1 == Count ? 0 : k + 1;
    jd += 0.0123L;
  }
}

void BM_JupiterMoonPosition(benchmark::State& state) {
  SatellitePosition<JupiterMoonPosition, 140, 4>(state);
}
BENCHMARK(BM_JupiterMoonPosition);

void BM_SaturnMoonPosition(benchmark::State& state) {
  SatellitePosition<SaturnMoonPosition, 156, 12>(state);
}
BENCHMARK(BM_SaturnMoonPosition);

void BM_UranusMoonPosition(benchmark::State& state) {
  SatellitePosition<Uranus, 170, 5>(state);
}
BENCHMARK(BM_UranusMoonPosition);

}  // namespace
