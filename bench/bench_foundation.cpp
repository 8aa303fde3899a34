// Benchmarks of the time base, Kepler orbits and precession.
#include <benchmark/benchmark.h>

#include "ephemerides/kepler_orbits.h"
#include "ephemerides/precession.h"
#include "numerics/julian_dates.h"

namespace {

using namespace kestrova;

void BM_DateToJD(benchmark::State& state) {
  TDateRec date{25, 12, 2024, 18, 30, 15, 0};
  for (auto _ : state) {
    benchmark::DoNotOptimize(DateToJD(date));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DateToJD);

void BM_JDToDate(benchmark::State& state) {
  Extended jd = 2460676.5L;
  for (auto _ : state) {
    benchmark::DoNotOptimize(JDToDate(0, jd));
    jd += 0.37L;
  }
}
BENCHMARK(BM_JDToDate);

void BM_KeplerPosition(benchmark::State& state) {
  const TOrbitalElements el = MeanPlanetElements(kMars, 0, 2460676.5L);
  Extended jd = 2460676.5L;
  for (auto _ : state) {
    benchmark::DoNotOptimize(KeplerPosition(el, jd));
    jd += 1.9L;
  }
}
BENCHMARK(BM_KeplerPosition);

void BM_PrecessVector(benchmark::State& state) {
  const TVector v{0.3L, -0.8L, 0.5L};
  Extended jd = 2460676.5L;
  for (auto _ : state) {
    benchmark::DoNotOptimize(PrecessVector(v, -1, jd));
    jd += 1;  // a new date each time, so the obliquity cache is refilled as in a recompute
  }
}
BENCHMARK(BM_PrecessVector);

}  // namespace
