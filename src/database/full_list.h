// "Show all objects": every row of the data file as a body of a list; whoever shows the bodies
// puts the list in the scene.
#pragma once

#include <cstdint>
#include <functional>

#include "numerics/color.h"

namespace kestrova {

class TableStore;
class TFullList;

// Told the rows read so far and the record count, at the start, every few thousand rows and at
// the end; returning false stops the loading.
using TLoadProgress = std::function<bool(int64_t done, int64_t total)>;

// Appends the orbit of every row of the data file, in the order of its active index, to `list`,
// sets the list's colour to `color`, and leaves the data file at its first row. A closed data file
// raises the table engine's error. Returns false when progress stopped the loading. After a
// stop or an error `list` is empty: half a catalogue on screen would look like all of it.
bool LoadFullList(TableStore& dataFile, TColor color, TFullList& list,
                  const TLoadProgress& progress = {});

}  // namespace kestrova
