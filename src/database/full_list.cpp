#include "database/full_list.h"

#include <algorithm>
#include <vector>

#include "database/minor_bodies.h"
#include "database/table_store.h"
#include "model/object_lists.h"

namespace kestrova {

namespace {

// Rows between two progress reports: often enough for a smooth bar, rarely enough to cost
// nothing.
constexpr int64_t kRowsPerReport = 4096;

}  // namespace

bool LoadFullList(TableStore& dataFile, TColor color, TFullList& list,
                  const TLoadProgress& progress) {
  // Asking a closed table for its first row is what fails, with the engine's message.
  dataFile.First();
  const int64_t total = dataFile.RecordCount();
  const TElementFields fields = ElementFields(dataFile);
  // Laid out at its full size at once: growing column by column would hold a catalogue twice.
  list.Reserve(size_t(list.Count() + std::max<int64_t>(total, 0)));
  list.SetColor(color);
  // Only the elements, through one statement: the names and numbers stay in the data file.
  const std::vector<int> columns = {fields.Date, fields.OHM, fields.I, fields.E,
                                    fields.NW,   fields.A,   fields.M};
  TOrbitalElements elements;
  int64_t done = 0;
  bool completed = !progress || progress(0, total);
  try {
    if (completed) {
      completed = dataFile.ForEachRowNumbers(columns, [&](const double* values) {
        NumbersToElements(values, elements);
        list.Add(elements);
        return ++done % kRowsPerReport != 0 || !progress || progress(done, total);
      });
    }
    if (completed && progress) completed = progress(done, total);
  } catch (...) {
    list.Clear();
    throw;
  }
  if (!completed) list.Clear();
  dataFile.First();
  return completed;
}

}  // namespace kestrova
