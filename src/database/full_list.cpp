#include "database/full_list.h"

#include <memory>

#include "database/minor_bodies.h"
#include "model/astronomical_objects.h"
#include "model/object_lists.h"

namespace kestrova {

namespace {

// Rows between two progress reports: often enough for a smooth bar, rarely enough to cost
// nothing.
constexpr int64_t kRowsPerReport = 4096;

}  // namespace

bool LoadFullList(TableStore& dataFile, TColor color, TOEObjectList& list,
                  const TLoadProgress& progress) {
  // Asking a closed table for its first row is what fails, with the engine's message.
  dataFile.First();
  const int64_t total = progress ? dataFile.RecordCount() : 0;
  const TElementFields fields = ElementFields(dataFile);
  int64_t done = 0;
  bool completed = !progress || progress(0, total);
  try {
    for (; completed && !dataFile.Eof(); dataFile.Next()) {
      const TMinorBodyRow row = MinorBodyFromRow(dataFile, fields);
      list.Add(std::make_unique<TOEObject>(row.Name, row.Elements, color, kMinorBodyId));
      if (++done % kRowsPerReport == 0 && progress) completed = progress(done, total);
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
