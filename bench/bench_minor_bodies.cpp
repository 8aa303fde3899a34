// Benchmarks of the minor-body windows on a data file of full size (1.4 million rows, made once
// per run in a temporary folder): "Show all objects" loading every row into the scene's full
// list and drawing it, and the browser opening the table and going to its last row.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTableView>
#include <filesystem>
#include <map>

#include "bench_application.h"
#include "catalogue.h"
#include "database/data_file.h"
#include "scene/qpainter_surface.h"
#include "scene/solar_system.h"
#include "support/synthetic_data_file.h"
#include "ui/aster_form.h"
#include "ui/create_idx_form.h"
#include "ui/data_files_dlg.h"
#include "ui/minor_body_model.h"
#include "ui/prompter.h"
#include "ui/show_all_objects.h"

namespace {

using namespace kestrova;
namespace fs = std::filesystem;

const fs::path& WorkFolder() {
  static const fs::path* dir = [] {
    char pattern[] = "/tmp/kestrova-bench-mb.XXXXXX";
    const auto* d = new fs::path(mkdtemp(pattern));
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(WorkFolder(), ec);
    });
    return d;
  }();
  return *dir;
}

// The data file of `rows` bodies with every index, as the import makes it, made on first use;
// the folder stands as the alias.
std::string Catalogue(int64_t rows) {
  static std::map<int64_t, std::string> made;
  auto it = made.find(rows);
  if (it == made.end()) {
    const std::string table = "catalogue" + std::to_string(rows) + ".db";
    testing::MakeSyntheticDataFile(WorkFolder().string(), table, rows, true);
    it = made.emplace(rows, table).first;
  }
  return it->second;
}

// Every row of the data file becomes a body of the full list (with the progress reports the
// window's bar takes), the scene computes every position, and the picture is drawn.
void BM_ShowAllObjectsLoad(benchmark::State& state) {
  EnsureBenchApplication();
  const std::string table = Catalogue(state.range(0));
  TableStore data;
  data.SetDatabase(WorkFolder().string());
  data.SetTableName(table);
  data.Open();
  TSolarSystem scene{JDToDate(0, 2460676.5L)};
  scene.SetDim(4);
  QImage image(1000, 1000, QImage::Format_RGB32);
  QPainter painter(&image);
  TQPainterSurface surface(painter);
  int64_t reports = 0;
  for (auto _ : state) {
    RebuildFullList(scene, data, true, [&](int64_t, int64_t) { return ++reports > 0; });
    scene.Paint(surface, TViewport{TRect{0, 0, 1000, 1000}, 0, 2});
    benchmark::ClobberMemory();
  }
  state.counters["bodies"] = double(scene.AsteroidsFullList().Count());
  state.counters["resident_MB"] = ResidentMegabytes();
  state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ShowAllObjectsLoad)
    ->Arg(1400000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

// The browser opens the data file, shows its first rows, goes to the last row and shows it.
void BM_BrowserOpenAndLastRow(benchmark::State& state) {
  EnsureBenchApplication();
  const std::string table = Catalogue(state.range(0));
  TDialogPrompter prompter;
  TCreateIdxForm createIdx;
  TDataFile data;
  TDataFilesDlg dataFiles(prompter, data, createIdx);
  TAsterForm form(prompter, data, dataFiles, createIdx);
  auto* grid = form.findChild<QTableView*>("DBGrid");
  form.show();
  for (auto _ : state) {
    data.SetNames(WorkFolder().string(), table);
    data.Open();
    grid->viewport()->repaint();
    form.GoToRow(form.Model().rowCount() - 1);
    grid->viewport()->repaint();
    QApplication::processEvents();
    benchmark::DoNotOptimize(form.CurrentRow());
    state.PauseTiming();
    if (form.CurrentRow() != state.range(0) - 1) state.SkipWithError("not at the last row");
    data.Close();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BrowserOpenAndLastRow)
    ->Arg(1400000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

}  // namespace
