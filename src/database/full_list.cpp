#include "database/full_list.h"

#include <memory>

#include "database/minor_bodies.h"
#include "scene/solar_system.h"

namespace kestrova {

void RebuildFullList(TSolarSystem& scene, TableStore& dataFile, bool pressed) {
  TOEObjectList& full = scene.AsteroidsFullList();
  full.Clear();
  if (pressed) {
    // Asking a closed table for its first row is what fails, with the engine's message.
    dataFile.First();
    const TColor color = scene.GetObjectColor(kMinorBodyColorIndex);
    ForEachMinorBody(dataFile, [&](const TMinorBodyRow& row) {
      full.Add(std::make_unique<TOEObject>(row.Name, row.Elements, color, kMinorBodyId));
    });
  }
  scene.Recompute();
  scene.Repaint();
}

}  // namespace kestrova
