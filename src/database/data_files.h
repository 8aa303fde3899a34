// The schema of the minor-body data files: fields, indices, and the rebuilding of the indices.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "database/table_store.h"

namespace kestrova {

// The twelve fields of a data file, in order; with sources also "Reference" and "Computer",
// which tables written by the import carry.
std::vector<TFieldDef> DataFileFields(bool withSources = false);

// The primary index on "NO" followed by the seven named indices.
std::vector<TIndexDef> DataFileIndices();

// The seven named indices with the progress value reported after each.
struct TIndexStep {
  const char* Name;
  const char* Fields;
  int Progress;
};
extern const TIndexStep kDataFileIndexSteps[7];

// Creates an empty data file NAME in the alias's folder with every field and index, and
// opens it once exclusively to prove it usable. `table` is the file name, ".db" included.
void CreateDataFile(const std::string& alias, const std::string& table, bool withSources = false);

// Reopens the table exclusively, adds the seven named indices in order (an index that cannot
// be added, for example because it exists, is passed over), reporting 0 first and then each
// index's progress value, and leaves the table open shared.
void CreateIndices(TableStore& table, const std::function<void(int)>& progress = {});

// True when all seven named indices exist.
bool HasAllIndices(TableStore& table);

}  // namespace kestrova
