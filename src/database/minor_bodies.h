// Minor bodies made from the rows of a data file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "database/table_store.h"
#include "ephemerides/kepler_orbits.h"

namespace kestrova {

// Colour of a minor body made from a row: entry 11 of the built-in default colours
// (0x00BBGGRR), not whatever colour the user has since chosen for minor bodies.
inline constexpr uint32_t kMinorBodyColor = 0x008080;

// Gauss's constant in degrees per day as the data files' daily motion uses it; deliberately
// not the planets' 0.9856076686.
inline constexpr Extended kMinorBodyMotion = 0.9856262L;

// Field positions of the elements in one table, found once for reading many rows.
struct TElementFields {
  int No = -1, Name = -1, M = -1, NW = -1, OHM = -1, I = -1, E = -1, A = -1, Date = -1;
};
// Raises ETableError when the table lacks one of the fields.
TElementFields ElementFields(const TableStore& table);

// Fills el from the current row: Epoch "DATE", Node "OHM", Inclination "I", Eccentricity "E",
// PerihelionLongitude "NW", SemiMajorAxis "A", DailyMotion 0.9856262 / (a sqrt a),
// MeanLongitude "M" + "NW". Leaves el untouched when the table is closed or has no current row.
void RowToElements(const TableStore& table, TOrbitalElements& el);
// The same from the numbers of the fields DATE, OHM, I, E, NW, A, M in this order.
void NumbersToElements(const double* v, TOrbitalElements& el);
void RowToElements(const TableStore& table, const TElementFields& f, TOrbitalElements& el);

// What a minor body is made of: the row's number, name and elements, and its colour.
struct TMinorBodyRow {
  int64_t No = 0;
  std::string Name;
  TOrbitalElements Elements;
  uint32_t Color = kMinorBodyColor;
};
TMinorBodyRow MinorBodyFromRow(const TableStore& table, const TElementFields& f);

// A row that was passed over, with the reason.
using TSkippedRow = std::function<void(const TMinorBodyRow&, const char* why)>;

// Reads every row of an open table from the first one on, in the order of its active index,
// and hands each to `row`; the table is left at its first row. A row that cannot be a closed
// orbit (OrbitProblem) goes to `skipped` instead, when given. Returns the number of rows
// handed to `row`.
int64_t ForEachMinorBody(TableStore& table, const std::function<void(const TMinorBodyRow&)>& row,
                         const TSkippedRow& skipped = {});

// Opens the data file at `file` shared (its folder standing as the alias), reads every row in
// primary-key order as ForEachMinorBody does and closes it again. A path that is no regular
// file raises ETableError saying what it is ("... is a folder, not a data file").
int64_t ReadDataFile(const std::filesystem::path& file,
                     const std::function<void(const TMinorBodyRow&)>& row,
                     const TSkippedRow& skipped = {});

}  // namespace kestrova
