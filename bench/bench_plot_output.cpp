// Benchmarks of the plot's way out: a picture exported as "Save as bitmap" makes it (paint,
// header, PNG file) and one printed page written as a PDF file.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QTemporaryDir>

#include "bench_application.h"
#include "scene/picture_render.h"
#include "scene/solar_system.h"
#include "ui/print_job.h"

namespace {

using namespace kestrova;

const TDateRec kDate{1, 1, 2020, 0, 0, 0, 0};

// The scene the program starts with, at a fixed date.
void BM_ExportPicture(benchmark::State& state) {
  EnsureBenchApplication();
  TSolarSystem scene(kDate);
  const auto side = int32_t(state.range(0));
  QTemporaryDir dir;
  const std::string path = dir.filePath("plot.png").toStdString();
  for (auto _ : state) {
    const TExportedPicture picture = RenderExport(scene, TExportFormat::Png, side, kDate);
    WriteExport(path, picture);
  }
}
BENCHMARK(BM_ExportPicture)->Arg(500)->Arg(4000)->Unit(benchmark::kMillisecond);

// One A4 page with 10 mm margins at the PDF resolution, in the configured colours.
void BM_PrintPageToPdf(benchmark::State& state) {
  EnsureBenchApplication();
  TSolarSystem scene(kDate);
  QTemporaryDir dir;
  const QString path = dir.filePath("plot.pdf");
  const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
  TPrintRequest request;
  request.Scheme = 2;
  request.ShownDate = kDate;
  for (auto _ : state) PrintPlotToPdf(scene, path, a4, request);
}
BENCHMARK(BM_PrintPageToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
