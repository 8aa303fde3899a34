// Benchmarks of whole documents through kestrova-cli: converting a document that holds a great
// many picked minor bodies, as a user's "last.orb" may after picking a whole family.
//
// The document is generated once per run with N picked minor bodies (the benchmark's argument);
// KESTROVA_BENCH_KEEP_DOCUMENT=PATH keeps a copy of it at PATH, so that the command's memory can
// be measured on its own (for example with /usr/bin/time -v kestrova-cli convert PATH OUT.orb).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include <unistd.h>

#include "app/cli.h"
#include "app/headless_host.h"
#include "bench_application.h"
#include "documents/orbit_document.h"
#include "model/astronomical_objects.h"
#include "scene/solar_system.h"

namespace {

using namespace kestrova;
namespace fs = std::filesystem;

// Orbits spread over the main belt, some eccentric, with their own epochs.
TOrbitalElements PickedElements(int64_t i) {
  TOrbitalElements el;
  el.Epoch = 2460600.5L - (i % 400);
  el.SemiMajorAxis = 1.5L + 2.5L * ((i * 7919) % 10007) / 10007.0L;
  el.Eccentricity = 0.6L * ((i * 104729) % 997) / 997.0L;
  el.Inclination = (i * 31) % 40;
  el.Node = (i * 137) % 360;
  el.PerihelionLongitude = (i * 59) % 360;
  el.MeanLongitude = (i * 263) % 360;
  el.DailyMotion = 0.9856076686L / std::pow(el.SemiMajorAxis, 1.5L);
  return el;
}

// A document with n picked minor bodies at a date of 2025, written to path.
void WriteManyBodiesDocument(const fs::path& path, int n) {
  std::ostringstream err;
  THeadlessHost host(err, [] { return JDToDate(0, 2451545.0L); });
  TSolarSystem& scene = host.Scene();
  scene.SetDate({1, 1, 2025, 0, 0, 0, 0});
  for (int i = 0; i < n; ++i) {
    scene.AsteroidsList().Add(std::make_unique<TAsteroid>(
        "(" + std::to_string(100000 + i) + ") Minor body", PickedElements(i), 0x008080));
  }
  if (!WriteDocument(path.string(), scene, host)) throw std::runtime_error(err.str());
}

void BM_ConvertDocumentManyMinorBodies(benchmark::State& state) {
  EnsureBenchApplication();
  const fs::path folder =
      fs::temp_directory_path() / ("kestrova-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const fs::path in = folder / "many.orb";
  const fs::path out = folder / "converted.orb";
  WriteManyBodiesDocument(in, int(state.range(0)));
  if (const char* keep = std::getenv("KESTROVA_BENCH_KEEP_DOCUMENT"))
    fs::copy_file(in, keep, fs::copy_options::overwrite_existing);
  for (auto _ : state) {
    std::istringstream input;
    std::ostringstream output, err;
    if (cli::RunCli({"convert", in.string(), out.string()}, input, output, err) != cli::kOk)
      state.SkipWithError(err.str().c_str());
  }
  fs::remove_all(folder);
  state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ConvertDocumentManyMinorBodies)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
