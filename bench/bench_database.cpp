// Benchmarks of the minor-body data files: importing an element file with every index, and
// reading all rows back into elements as "Show all objects" does. The full-size catalogue
// is timed by bench/import-catalogue; set KESTROVA_BENCH_DATA_FILE to an existing data file
// to run the read benchmarks on it instead of the small one made here.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>

#include "database/element_import.h"
#include "database/minor_bodies.h"

namespace {

using namespace kestrova;
namespace fs = std::filesystem;

constexpr int kLines = 20000;

// A work folder for the process, removed at exit. Held through a pointer that is never freed,
// so that it is still there when the exit handler runs.
const fs::path& WorkFolder() {
  static const fs::path* dir = [] {
    char pattern[] = "/tmp/kestrova-bench-db.XXXXXX";
    const auto* d = new fs::path(mkdtemp(pattern));
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(WorkFolder(), ec);
    });
    return d;
  }();
  return *dir;
}

// A synthetic element file in the minor-planet export format: main-belt orbits with a few
// per cent of near-Earth and distant ones, all numbered.
const fs::path& SampleFile() {
  static const fs::path file = [] {
    const fs::path f = WorkFolder() / "sample.dat";
    std::ofstream out(f);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(0, 1);
    char line[256];
    for (int k = 1; k <= kLines; ++k) {
      const double r = u(rng);
      const double a = r < 0.03   ? 0.8 + 2 * u(rng)
                       : r < 0.05 ? 30 + 20 * u(rng)
                                  : 2.1 + 1.2 * u(rng);
      const double e = r < 0.03 ? 0.1 + 0.6 * u(rng) : 0.3 * u(rng);
      const unsigned flags = r < 0.03 ? 0x803 : r < 0.05 ? 10 : 0;
      char packed[8], name[40];
      std::snprintf(packed, sizeof packed, "%05d", k);
      std::snprintf(name, sizeof name, "(%d) Body %d", k, k);
      std::snprintf(line, sizeof line,
                    "%-7s %5.2f %5.2f K2555 %9.5f  %9.5f  %9.5f  %9.5f  %9.7f %11.8f %11.7f  0 "
                    "E2024-V47  1234  45 1801-2024 0.60 M-v 30k MPCLINUX   %04X %-28s20250101",
                    packed, 15.0, 0.15, 360 * u(rng), 360 * u(rng), 360 * u(rng), 30 * u(rng), e,
                    0.9856076686 / (a * std::sqrt(a)), a, flags, name);
      out << line << "\n";
    }
    return f;
  }();
  return file;
}

TImportOptions Options(const std::string& table) {
  TImportOptions o;
  o.Alias = WorkFolder().string();
  o.Table = table;
  o.Replace = true;
  return o;
}

// The import of the sample, or of the element file KESTROVA_BENCH_ELEMENT_FILE names. The
// counters split the process's CPU time between the two stages (the rows, then the indices with
// the file's flush and rename), which a loaded machine's wall time hides.
void BM_ImportMpcorb(benchmark::State& state) {
  const char* given = std::getenv("KESTROVA_BENCH_ELEMENT_FILE");
  const fs::path file = given && *given ? fs::path(given) : SampleFile();
  double reading = 0, indexing = 0;
  int64_t rows = 0;
  for (auto _ : state) {
    TImportOptions options = Options("import");
    const std::clock_t start = std::clock();
    std::clock_t indexStart = start;
    options.Progress = [&](const TImportProgress& p) {
      if (p.Stage == TImportProgress::TStage::Indexing && p.Percent == 0) indexStart = std::clock();
      return true;
    };
    rows = ImportElements(file, options).Rows;
    const std::clock_t end = std::clock();
    reading += static_cast<double>(indexStart - start) / CLOCKS_PER_SEC;
    indexing += static_cast<double>(end - indexStart) / CLOCKS_PER_SEC;
  }
  state.SetItemsProcessed(state.iterations() * rows);
  state.counters["rows_cpu_s"] = benchmark::Counter(reading, benchmark::Counter::kAvgIterations);
  state.counters["index_cpu_s"] = benchmark::Counter(indexing, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ImportMpcorb)->Unit(benchmark::kMillisecond);

fs::path ReadFile() {
  if (const char* f = std::getenv("KESTROVA_BENCH_DATA_FILE"); f && *f) return f;
  static const fs::path db = [] {
    ImportElements(SampleFile(), Options("read"));
    return WorkFolder() / "read.db";
  }();
  return db;
}

void BM_ReadAllRows(benchmark::State& state) {
  const fs::path db = ReadFile();
  int64_t rows = 0;
  for (auto _ : state) {
    Extended sum = 0;
    rows = ReadDataFile(db, [&](const TMinorBodyRow& r) { sum += r.Elements.DailyMotion; });
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_ReadAllRows)->Unit(benchmark::kMillisecond);

void BM_ReadAllRowsPositions(benchmark::State& state) {
  const fs::path db = ReadFile();
  int64_t rows = 0;
  for (auto _ : state) {
    Extended sum = 0;
    rows = ReadDataFile(
        db, [&](const TMinorBodyRow& r) { sum += KeplerPosition(r.Elements, 2460676.5L).x; });
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_ReadAllRowsPositions)->Unit(benchmark::kMillisecond);

}  // namespace
