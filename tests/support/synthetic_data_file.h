// A data file of any size, written straight by the engine in one statement: for the tests and
// benchmarks that need a catalogue of full size in seconds rather than an import's minute.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "database/data_files.h"
#include "database/table_store.h"

namespace kestrova::testing {

// Creates the data file `table` of the alias with `rows` bodies numbered 1..rows, in main-belt
// orbits of varied names, elements and classes. Without withIndices it has only the primary
// index, as an old or foreign data file might. Row k (from 1) is named SyntheticName(k).
inline void MakeSyntheticDataFile(const std::string& alias, const std::string& table, int64_t rows,
                                  bool withIndices = false) {
  // The named indices are made after the rows: quicker than keeping them up on the way.
  TableStore::CreateTable(alias, table, DataFileFields(), {{"", "NO"}});
  const std::string path = TableStore::TablePath(alias, table).string();
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error(path);
  const std::string sql =
      "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;"
      "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < " +
      std::to_string(rows) +
      ") INSERT INTO data SELECT i,"
      " substr('KaRoMiTeLuSaVoElDiNa', 1 + (i * 7 % 10) * 2, 2) || 'body ' || i,"
      " (i * 37 % 3600) / 10.0, (i * 53 % 3600) / 10.0, (i * 71 % 3600) / 10.0,"
      " (i * 13 % 300) / 10.0, (i * 17 % 250) / 1000.0, 2.1 + (i * 29 % 1200) / 1000.0,"
      " 2460600.5, CASE WHEN i % 50 = 0 THEN 'Amor' ELSE 'MBA' END,"
      " CASE WHEN i % 50 = 0 THEN 'Y' ELSE 'N' END, 'N' FROM k; COMMIT;";
  std::string indices;
  if (withIndices) {
    for (const TIndexDef& index : DataFileIndices()) {
      if (index.Name.empty()) continue;
      std::string fields = index.Fields;
      while (!fields.empty() && fields.back() == ';') fields.pop_back();
      for (char& c : fields) c = c == ';' ? ',' : c;
      indices += "CREATE INDEX " + index.Name + " ON data (" + fields + ");";
    }
  }
  char* err = nullptr;
  const int rc = sqlite3_exec(db, (sql + indices).c_str(), nullptr, nullptr, &err);
  const std::string message = err ? err : "";
  sqlite3_free(err);
  sqlite3_close(db);
  if (rc != SQLITE_OK) throw std::runtime_error(message + ": " + path);
}

// The name of row k of a synthetic data file.
inline std::string SyntheticName(int64_t k) {
  static const char* const kSyllables[] = {"Ka", "Ro", "Mi", "Te", "Lu",
                                           "Sa", "Vo", "El", "Di", "Na"};
  return std::string(kSyllables[k * 7 % 10]) + "body " + std::to_string(k);
}

}  // namespace kestrova::testing
