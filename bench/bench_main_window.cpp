// The main window on the offscreen platform: one animation tick as the 200 ms timer runs it
// (step, ShowDate, recompute, the full repaint of a 588 x 588 drawing area), and
// UpdateControls after a document.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QTemporaryDir>
#include <memory>
#include <sstream>

#include "app/headless_host.h"
#include "bench_application.h"
#include "catalogue.h"
#include "model/astronomical_objects.h"
#include "scene/solar_system.h"
#include "ui/prompter.h"
#include "ui/scene_controller.h"
#include "ui/scene_view.h"
#include "ui/solar_system_form.h"
#include "ui/time_panel.h"

namespace {

using namespace kestrova;

// Where the messages go: a benchmark shows nothing, and its questions are answered No.
std::ostream& Discarded() {
  static std::ostringstream discarded;
  discarded.str({});
  return discarded;
}

// A main window in a fresh program folder at 1 January 2025, shown with a square drawing
// area of 588 pixels (the window's start size after the first mouse movement).
class TBenchWindow {
 public:
  // With a document, the window starts with it as with a path on the command line.
  explicit TBenchWindow(const QString& document = {}) {
    qputenv("KESTROVA_HOME", home_.path().toUtf8());
    TSessionOptions options;
    options.Clock = [] { return TDateRec{1, 1, 2025, 0, 0, 0, 0}; };
    options.Prompter = &prompter_;
    session_ = std::make_unique<TSession>(std::move(options));
    TStartOptions start;
    if (!document.isEmpty()) start.Arguments << document;
    form_ = std::make_unique<TSolarSystemForm>(*session_, start);
    form_->resize(744, 588);
    form_->show();
    bool painted = false;
    QObject::connect(&form_->View(), &TSceneView::painted, [&painted] { painted = true; });
    while (!painted) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  ~TBenchWindow() { qunsetenv("KESTROVA_HOME"); }
  TSolarSystemForm& Form() { return *form_; }
  TSession& Session() { return *session_; }

 private:
  QTemporaryDir home_;
  TStreamPrompter prompter_{Discarded()};
  std::unique_ptr<TSession> session_;
  std::unique_ptr<TSolarSystemForm> form_;
};

void BM_AnimationTick(benchmark::State& state) {
  EnsureBenchApplication();
  TBenchWindow window;
  TSolarSystemForm& form = window.Form();
  if (form.View().size() != QSize(588, 588)) state.SkipWithError("the drawing area is not square");
  form.Controller().StartAnimation();
  form.Controller().AnimationTimer().stop();
  for (auto _ : state) {
    form.TimePanel().AnimationTick();
    form.View().repaint();
  }
  state.counters["width"] = form.View().width();
  // Days stepped per tick, to see that every tick computed a new date.
  const Extended start = DateToJD(TDateRec{1, 1, 2025, 0, 0, 0, 0});
  state.counters["days_per_tick"] =
      double(DateToJD(form.Controller().DisplayDate()) - start) / double(state.iterations());
}
BENCHMARK(BM_AnimationTick)->Unit(benchmark::kMillisecond);

// The same tick with "Show all objects" holding the whole catalogue: the step recomputes the
// default scene and 1.4 million bodies, and the repaint plots them.
void BM_AnimationTickFullCatalogue(benchmark::State& state) {
  EnsureBenchApplication();
  TBenchWindow window;
  TSolarSystemForm& form = window.Form();
  if (form.View().size() != QSize(588, 588)) state.SkipWithError("the drawing area is not square");
  TFullList& full = form.Scene().AsteroidsFullList();
  full.Reserve(kCatalogue);
  for (int i = 0; i < kCatalogue; ++i) full.Add(CatalogueElements(i));
  full.SetColor(0x008080);
  form.Scene().Recompute();
  form.Controller().StartAnimation();
  form.Controller().AnimationTimer().stop();
  for (auto _ : state) {
    form.TimePanel().AnimationTick();
    form.View().repaint();
  }
  state.counters["bodies"] = full.Count();
  state.counters["resident_MB"] = ResidentMegabytes();
}
BENCHMARK(BM_AnimationTickFullCatalogue)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// With state.range(0) picked minor bodies in the list box, which UpdateControls fills again.
void BM_UpdateControls(benchmark::State& state) {
  EnsureBenchApplication();
  TBenchWindow window;
  TSolarSystemForm& form = window.Form();
  TOrbitalElements elements;
  elements.Epoch = 2451545.0L;
  elements.SemiMajorAxis = 2.5L;
  elements.DailyMotion = 0.25L;
  for (int64_t i = 0; i < state.range(0); ++i)
    form.Scene().AsteroidsList().Add(
        std::make_unique<TAsteroid>("Body " + std::to_string(i), elements, 0x008080));
  for (auto _ : state) form.UpdateControls();
}
BENCHMARK(BM_UpdateControls)->Arg(0)->Arg(100)->Unit(benchmark::kMillisecond);

// A document with n picked minor bodies on ordinary main-belt orbits, written once per size.
QString ManyPickedBodiesDocument(int n) {
  static QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("picked-%1.orb").arg(n));
  if (QFile::exists(path)) return path;
  TSessionOptions options;
  options.Clock = [] { return TDateRec{1, 1, 2025, 0, 0, 0, 0}; };
  options.ProgramFolder = folder.path().toStdString();
  TStreamPrompter prompter(Discarded());
  options.Prompter = &prompter;
  TSession session(std::move(options));
  for (int i = 0; i < n; ++i) {
    TOrbitalElements el = CatalogueElements(i);
    session.Scene().AsteroidsList().Add(std::make_unique<TAsteroid>(
        "(" + std::to_string(100000 + i) + ") Minor body", el, 0x008080));
  }
  session.Scene().Recompute();
  if (!session.SaveDocumentAs(path.toStdString())) return {};
  return path;
}

// The start with a document of state.range(0) picked bodies, up to the first picture.
void BM_StartWithManyPickedBodies(benchmark::State& state) {
  EnsureBenchApplication();
  const QString document = ManyPickedBodiesDocument(int(state.range(0)));
  if (document.isEmpty()) state.SkipWithError("the document could not be written");
  for (auto _ : state) {
    auto window = std::make_unique<TBenchWindow>(document);
    state.PauseTiming();
    window.reset();
    state.ResumeTiming();
  }
}

// One repaint and the exit's save of last.orb with state.range(0) picked bodies.
void BM_RepaintManyPickedBodies(benchmark::State& state) {
  EnsureBenchApplication();
  TBenchWindow window(ManyPickedBodiesDocument(int(state.range(0))));
  if (window.Form().Scene().AsteroidsList().Count() != state.range(0))
    state.SkipWithError("the document was not read");
  for (auto _ : state) window.Form().View().repaint();
}

void BM_ExitWithManyPickedBodies(benchmark::State& state) {
  EnsureBenchApplication();
  TBenchWindow window(ManyPickedBodiesDocument(int(state.range(0))));
  for (auto _ : state) window.Session().SaveLastDocument();
}

BENCHMARK(BM_StartWithManyPickedBodies)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_RepaintManyPickedBodies)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExitWithManyPickedBodies)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
