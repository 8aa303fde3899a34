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

void NumbersToElements(const double* v, TOrbitalElements& el) {
  el.Epoch = v[0];
  el.Node = v[1];
  el.Inclination = v[2];
  el.Eccentricity = v[3];
  el.PerihelionLongitude = v[4];
  const Extended a = v[5];
  el.SemiMajorAxis = a;
  el.DailyMotion = kMinorBodyMotion / (a * std::sqrt(a));
  el.MeanLongitude = Extended(v[6]) + Extended(v[4]);
}

void RowToElements(const TableStore& table, const TElementFields& f, TOrbitalElements& el) {
  if (!table.Active() || table.Eof()) return;
  const double v[] = {table.FloatAt(f.Date), table.FloatAt(f.OHM), table.FloatAt(f.I),
                      table.FloatAt(f.E),    table.FloatAt(f.NW),  table.FloatAt(f.A),
                      table.FloatAt(f.M)};
  NumbersToElements(v, el);
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

int64_t ForEachMinorBody(TableStore& table, const std::function<void(const TMinorBodyRow&)>& row,
                         const TSkippedRow& skipped) {
  const TElementFields f = ElementFields(table);
  int64_t n = 0;
  for (table.First(); !table.Eof(); table.Next()) {
    const TMinorBodyRow body = MinorBodyFromRow(table, f);
    if (const char* why = OrbitProblem(body.Elements)) {
      if (skipped) skipped(body, why);
      continue;
    }
    row(body);
    ++n;
  }
  table.First();
  return n;
}

int64_t ReadDataFile(const std::filesystem::path& file,
                     const std::function<void(const TMinorBodyRow&)>& row,
                     const TSkippedRow& skipped) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_type type = fs::status(file, ec).type();
  if (type != fs::file_type::regular) {
    const char* what = nullptr;
    switch (type) {
      case fs::file_type::directory:
        what = "a folder";
        break;
      case fs::file_type::fifo:
        what = "a FIFO";
        break;
      case fs::file_type::character:
        what = "a character device";
        break;
      case fs::file_type::block:
        what = "a block device";
        break;
      case fs::file_type::socket:
        what = "a socket";
        break;
      default:
        throw ETableError("Table does not exist: " + file.string(), file.string());
    }
    throw ETableError(file.string() + " is " + what + ", not a data file", file.string());
  }
  TableStore table;
  // An absolute folder, so that a relative folder called "MPC" is not taken for the alias.
  table.SetDatabase(fs::absolute(file).parent_path().string());
  table.SetTableName(file.filename().string());
  table.Open(TOpenMode::Shared);
  table.SetIndexName("");
  const int64_t n = ForEachMinorBody(table, row, skipped);
  table.Close();
  return n;
}

}  // namespace kestrova
