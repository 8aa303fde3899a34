// Benchmarks of the time base, date text, Kepler orbits and precession.
#include <benchmark/benchmark.h>

#include <string>

#include "ephemerides/kepler_orbits.h"
#include "ephemerides/precession.h"
#include "numerics/date_text.h"
#include "numerics/errors.h"
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

// A date field or `kestrova-cli jd` given a huge text: letters without a blank, and numbers
// between blanks; reading it (and refusing it) takes time in proportion to its length.
void BM_ParseDateLongText(benchmark::State& state) {
  const auto length = static_cast<size_t>(state.range(0));
  const std::string texts[] = {std::string(length, 'x'), [&] {
                                 std::string s;
                                 while (s.size() < length) s += "1  ";
                                 return s;
                               }()};
  const std::string& text = texts[state.range(1)];
  for (auto _ : state) {
    TDateRec date{1, 1, 2000, 0, 0, 0, 0};
    try {
      ParseDate(text, date);
    } catch (const EConvertError& e) {
      benchmark::DoNotOptimize(e.what());
    }
  }
  state.SetLabel(state.range(1) == 0 ? "letters" : "numbers and blanks");
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseDateLongText)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

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
