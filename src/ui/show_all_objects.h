// "Show all objects" with a progress window: every row of the data file becomes a body of the
// scene's full list while a progress bar moves, and Cancel stops the loading.
#pragma once

class QWidget;

namespace kestrova {

class TableStore;
class TSolarSystem;

// Fills (pressed) or empties the scene's full list from the data file as RebuildFullList does,
// showing a progress window with Cancel over `parent` when the loading takes a moment. Returns
// false when the user cancelled: the full list is then empty. The engine's errors are raised.
bool ShowAllObjects(QWidget* parent, TSolarSystem& scene, TableStore& dataFile, bool pressed);

}  // namespace kestrova
