#include "database/minor_bodies.h"

#include <cmath>

namespace kestrova {

TElementFields ElementFields(const TableStore& table) {
  TElementFields f;
  auto need = [&](const char* name) {
    const int i = table.FieldIndex(name);
    if (i < 0)
      throw ETableError(std::string("Field '") + name + "' not found: " + table.TableName(),
                        table.TableName());
    return i;
  };
  f.No = need("NO");
  f.Name = need("NAME");
  f.M = need("M");
  f.NW = need("NW");
  f.OHM = need("OHM");
  f.I = need("I");
  f.E = need("E");
  f.A = need("A");
  f.Date = need("DATE");
  return f;
}

void RowToElements(const TableStore& table, const TElementFields& f, TOrbitalElements& el) {
  if (!table.Active() || table.Eof()) return;
  el.Epoch = table.FloatAt(f.Date);
  el.Node = table.FloatAt(f.OHM);
  el.Inclination = table.FloatAt(f.I);
  el.Eccentricity = table.FloatAt(f.E);
  el.PerihelionLongitude = table.FloatAt(f.NW);
  const Extended a = table.FloatAt(f.A);
  el.SemiMajorAxis = a;
  el.DailyMotion = kMinorBodyMotion / (a * std::sqrt(a));
  el.MeanLongitude = Extended(table.FloatAt(f.M)) + Extended(table.FloatAt(f.NW));
}

void RowToElements(const TableStore& table, TOrbitalElements& el) {
  if (!table.Active() || table.Eof()) return;
  RowToElements(table, ElementFields(table), el);
}

TMinorBodyRow MinorBodyFromRow(const TableStore& table, const TElementFields& f) {
  TMinorBodyRow r;
  r.No = table.IntegerAt(f.No);
  r.Name = table.StringAt(f.Name);
  RowToElements(table, f, r.Elements);
  return r;
}

int64_t ForEachMinorBody(TableStore& table, const std::function<void(const TMinorBodyRow&)>& row) {
  const TElementFields f = ElementFields(table);
  int64_t n = 0;
  for (table.First(); !table.Eof(); table.Next(), ++n) row(MinorBodyFromRow(table, f));
  table.First();
  return n;
}

int64_t ReadDataFile(const std::filesystem::path& file,
                     const std::function<void(const TMinorBodyRow&)>& row) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec))
    throw ETableError("Table does not exist: " + file.string(), file.string());
  TableStore table;
  // An absolute folder, so that a relative folder called "MPC" is not taken for the alias.
  table.SetDatabase(std::filesystem::absolute(file).parent_path().string());
  table.SetTableName(file.filename().string());
  table.Open(TOpenMode::Shared);
  table.SetIndexName("");
  const int64_t n = ForEachMinorBody(table, row);
  table.Close();
  return n;
}

}  // namespace kestrova
