// Benchmarks of the lunar theory with the two sets of options the system uses.
#include <benchmark/benchmark.h>

#include "ephemerides/moon.h"

namespace {

using namespace kestrova;

// The Moon's path: 360 dates over one lunation, so the nutation is evaluated for every date as
// in a recompute.
constexpr kestrova::Extended kPathStep = 27.321661L / 360;

// The Moon body: nutation applied, ecliptic of the date.
void BM_MoonPosition_Body(benchmark::State& state) {
  Extended jd = 2460676.5L;
  for (auto _ : state) {
    benchmark::DoNotOptimize(MoonPosition(jd, true, false, false));
    jd += kPathStep;
  }
}
BENCHMARK(BM_MoonPosition_Body);

// The Earth's barycentre correction: nutation applied, precessed to J2000.0, equatorial.
void BM_MoonPosition_EarthCorrection(benchmark::State& state) {
  Extended jd = 2460676.5L;
  for (auto _ : state) {
    benchmark::DoNotOptimize(MoonPosition(jd, true, true, true));
    jd += kPathStep;
  }
}
BENCHMARK(BM_MoonPosition_EarthCorrection);

}  // namespace
