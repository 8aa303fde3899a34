// "Show all objects": every row of the data file as a body of the scene's full list.
#pragma once

namespace kestrova {

class TableStore;
class TSolarSystem;

// The scene's AsteroidsFullList is emptied; when pressed, every row of the data file, in the
// order of its active index, becomes a plain TOEObject (Id 11) in the colour of minor bodies,
// and the data file is left at its first row. Then the scene recomputes and repaints. A closed
// data file raises the table engine's error (with the full list left empty).
void RebuildFullList(TSolarSystem& scene, TableStore& dataFile, bool pressed);

}  // namespace kestrova
