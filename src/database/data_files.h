// The schema of the minor-body data files: fields, indices, and the rebuilding of the indices.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "database/table_store.h"

namespace kestrova {

// The characters of a body's name a data file keeps: a whole name of either element format
// (CometEls gives 56 columns, MPCORB 28). Tables made with 32 stay readable.
inline constexpr int kNameCharacters = 56;

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

// Why a name typed for a new data file cannot be used (its file would lie outside the alias's
// folder, be hidden, or carry characters that break quoting), or "" when it can. `name` is
// taken without its leading and trailing blanks.
std::string DataFileNameProblem(const std::string& name);

// Creates an empty data file NAME in the alias's folder with every field and index, and
// opens it once exclusively to prove it usable. `table` is the file name, ".db" included.
void CreateDataFile(const std::string& alias, const std::string& table, bool withSources = false);

// Told 0 first and then each index's progress value (15 .. 100); returning false stops the work
// after the index at hand.
using TIndexProgress = std::function<bool(int percent)>;

// Reopens the table exclusively, adds the seven named indices in order (an index that cannot
// be added, for example because it exists, is passed over) and leaves the table open shared.
// Returns false when progress stopped the work. When the table cannot be opened exclusively
// (it is open elsewhere) the engine's error is raised and a table that was open stays open.
bool CreateIndices(TableStore& table, const TIndexProgress& progress = {});

// True when all seven named indices exist.
bool HasAllIndices(TableStore& table);

}  // namespace kestrova
