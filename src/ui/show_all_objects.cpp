#include "ui/show_all_objects.h"

#include <malloc.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <memory>

#include "model/astronomical_objects.h"
#include "scene/solar_system.h"

namespace kestrova {

namespace {

// A loading that ends sooner shows no window; the bar moves in steps of a thousandth.
constexpr int kShowAfterMs = 250;
constexpr int kSteps = 1000;

}  // namespace

bool RebuildFullList(TSolarSystem& scene, TableStore& dataFile, bool pressed,
                     const TLoadProgress& progress) {
  TFullList& full = scene.AsteroidsFullList();
  // Emptied first, so that a large catalogue never lies in memory twice.
  full.Clear();
  bool completed = true;
  if (pressed)
    completed = LoadFullList(dataFile, scene.GetObjectColor(kMinorBodyColorIndex), full, progress);
  scene.Recompute();
  // The freed bodies of a large catalogue stay with the allocator unless it is told to give
  // them back; hundreds of megabytes would stay resident after "Show all objects" is released.
  if (full.Count() == 0) ::malloc_trim(0);
  scene.Repaint();
  return completed;
}

bool ShowAllObjects(QWidget* parent, TSolarSystem& scene, TableStore& dataFile, bool pressed) {
  if (!pressed) return RebuildFullList(scene, dataFile, false);
  // A program without widgets (kestrova-cli) has no window to show progress in.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
    return RebuildFullList(scene, dataFile, true);

  auto progress = std::make_unique<QProgressDialog>("Loading the objects of the data file...",
                                                    "Cancel", 0, kSteps, parent);
  progress->setObjectName("LoadProgress");
  progress->setWindowTitle("Show all objects");
  progress->setWindowModality(Qt::ApplicationModal);
  // At the start the splash, which stays on top, would cover it.
  progress->setWindowFlag(Qt::WindowStaysOnTopHint);
  progress->setMinimumDuration(kShowAfterMs);
  progress->setAutoReset(false);
  progress->setAutoClose(false);
  progress->setMinimumWidth(360);
  progress->setValue(0);

  QApplication::setOverrideCursor(Qt::WaitCursor);
  struct RestoreCursor {
    ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
  } restore;
  QElapsedTimer sinceEvents;
  sinceEvents.start();
  return RebuildFullList(scene, dataFile, true, [&](int64_t done, int64_t total) {
    const int step = total > 0 ? static_cast<int>(done * kSteps / total) : kSteps;
    if (step != progress->value()) progress->setValue(step);
    // A modal progress window handles the events in setValue; between steps the window and its
    // Cancel button still answer.
    if (sinceEvents.elapsed() >= 50) {
      QApplication::processEvents();
      sinceEvents.restart();
    }
    return !progress->wasCanceled();
  });
}

}  // namespace kestrova
