// "Show all objects" with a progress window: every row of the data file becomes a body of the
// scene's full list while a progress bar moves, and Cancel stops the loading.
#pragma once

#include "database/full_list.h"

class QWidget;

namespace kestrova {

class TableStore;
class TSolarSystem;

// The scene's full list is emptied and, when pressed, filled from the data file (LoadFullList,
// in the colour of minor bodies); then the scene recomputes and repaints. A closed data file
// raises the table engine's error with the full list left empty. Returns false when progress
// stopped the loading; the full list is then empty. The desktop program and kestrova-cli both
// show all objects through it.
bool RebuildFullList(TSolarSystem& scene, TableStore& dataFile, bool pressed,
                     const TLoadProgress& progress = {});

// The same, showing a progress window with Cancel over `parent` when the loading takes a moment.
// Returns false when the user cancelled: the full list is then empty. The engine's errors are
// raised.
bool ShowAllObjects(QWidget* parent, TSolarSystem& scene, TableStore& dataFile, bool pressed);

}  // namespace kestrova
