// "Show all objects": every row of the data file as a body of the scene's full list.
#pragma once

#include <cstdint>
#include <functional>

namespace kestrova {

class TableStore;
class TSolarSystem;

// Told the rows read so far and the record count, at the start, every few thousand rows and at
// the end; returning false stops the loading.
using TLoadProgress = std::function<bool(int64_t done, int64_t total)>;

// The scene's AsteroidsFullList is emptied; when pressed, every row of the data file, in the
// order of its active index, becomes a plain TOEObject (Id 11) in the colour of minor bodies,
// and the data file is left at its first row. Then the scene recomputes and repaints. A closed
// data file raises the table engine's error (with the full list left empty). Returns false
// when progress stopped the loading; the full list is then left empty.
bool RebuildFullList(TSolarSystem& scene, TableStore& dataFile, bool pressed,
                     const TLoadProgress& progress = {});

}  // namespace kestrova
