// Finding a minor body in a data file the ways people name it: "Ceres", "ceres", "(1) Ceres",
// "1", "(433)", "2024 AB1", "K24A01B".
#pragma once

#include <string>

#include "database/table_store.h"

namespace kestrova {

// The readable form of a packed provisional designation ("K24A01B" -> "2024 AB1",
// "J95X00A" -> "1995 XA"), or "" when text is none.
std::string UnpackProvisionalDesignation(const std::string& text);

// Makes the row of an open data file, its name index active, that `text` names the current
// one, in this order:
//   - a whole number, bare or in parentheses: the body of that number;
//   - the beginning of a name as the active index holds it: the nearest row from there on,
//     as FindNearest finds it (the empty text is the beginning of every name);
//   - a name or readable or packed provisional designation, in any letter case, with or
//     without the number in parentheses that the import puts before names: the first such
//     body in the active order; failing that, the first whose name so begins with it.
// Returns false, the current row undefined, when nothing matches.
bool FindMinorBody(TableStore& table, const std::string& text);

}  // namespace kestrova
