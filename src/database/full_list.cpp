#include "database/full_list.h"

#include <memory>

#include "database/minor_bodies.h"
#include "scene/solar_system.h"

namespace kestrova {

namespace {

// Rows between two progress reports: often enough for a smooth bar, rarely enough to cost
// nothing.
constexpr int64_t kRowsPerReport = 4096;

}  // namespace

bool RebuildFullList(TSolarSystem& scene, TableStore& dataFile, bool pressed,
                     const TLoadProgress& progress) {
  TOEObjectList& full = scene.AsteroidsFullList();
  full.Clear();
  bool completed = true;
  if (pressed) {
    // Asking a closed table for its first row is what fails, with the engine's message.
    dataFile.First();
    const int64_t total = progress ? dataFile.RecordCount() : 0;
    const TElementFields fields = ElementFields(dataFile);
    const TColor color = scene.GetObjectColor(kMinorBodyColorIndex);
    int64_t done = 0;
    completed = !progress || progress(0, total);
    try {
      for (; completed && !dataFile.Eof(); dataFile.Next()) {
        const TMinorBodyRow row = MinorBodyFromRow(dataFile, fields);
        full.Add(std::make_unique<TOEObject>(row.Name, row.Elements, color, kMinorBodyId));
        if (++done % kRowsPerReport == 0 && progress) completed = progress(done, total);
      }
      if (completed && progress) completed = progress(done, total);
    } catch (...) {
      // Half a catalogue on screen would look like all of it.
      full.Clear();
      throw;
    }
    if (!completed) full.Clear();
    dataFile.First();
  }
  scene.Recompute();
  scene.Repaint();
  return completed;
}

}  // namespace kestrova
