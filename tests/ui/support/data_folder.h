// A temporary program folder for window tests (KESTROVA_HOME), so that the default alias "MPC"
// is a fresh folder of data files; and a small data file whose rows every index orders
// differently.
#pragma once

#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <string>

#include "database/data_files.h"
#include "database/program_folder.h"
#include "database/table_store.h"

namespace kestrova::testing {

class TDataFolder {
 public:
  TDataFolder() {
    QVERIFY(home_.isValid());
    qputenv("KESTROVA_HOME", home_.path().toUtf8());
    alias_ = AliasFolder(kDefaultAlias);
  }
  ~TDataFolder() { qunsetenv("KESTROVA_HOME"); }

  // The folder of the alias "MPC".
  const std::filesystem::path& Alias() const { return alias_; }
  std::filesystem::path File(const std::string& table) const { return alias_ / table; }

 private:
  QTemporaryDir home_;
  std::filesystem::path alias_;
};

struct TSampleRow {
  int64_t No;
  const char* Name;
  double A, E, I;
  const char* Class;
};

// Vesta, Ceres, "2024 AB1", Eros, Pallas and "alpha", stored in this order, with every index;
// with sources the rows also carry "Reference" and "Computer".
inline void MakeSampleDataFile(const std::string& table, bool withSources = false,
                               bool withIndices = true) {
  if (withIndices) {
    CreateDataFile(kDefaultAlias, table, withSources);
  } else {
    TableStore::CreateTable(kDefaultAlias, table, DataFileFields(withSources), {{"", "NO"}});
  }
  TableStore t;
  t.SetDatabase(kDefaultAlias);
  t.SetTableName(table);
  t.Open(TOpenMode::Exclusive);
  t.StartTransaction();
  for (const TSampleRow& r : {TSampleRow{4, "Vesta", 2.36, 0.09, 7.1, "MBA"},
                              TSampleRow{1, "Ceres", 2.77, 0.08, 10.6, "MBA"},
                              TSampleRow{-1, "2024 AB1", 2.50, 0.10, 3.0, ""},
                              TSampleRow{433, "Eros", 1.46, 0.22, 10.8, "Amor"},
                              TSampleRow{2, "Pallas", 2.77, 0.23, 34.8, "MBA"},
                              TSampleRow{7, "alpha", 2.50, 0.01, 5.0, "MBA"}}) {
    std::vector<TFieldValue> values = {
        r.No, r.Name, 10.0, 20.0, 80.0, r.I, r.E, r.A, 2460800.5, r.Class, r.No == 433 ? "Y" : "N",
        "N"};
    if (withSources) {
      values.emplace_back(std::string("MPO") + std::to_string(r.No));
      values.emplace_back(std::string("MPCW"));
    }
    t.AppendRecord(values);
  }
  t.Commit();
}

}  // namespace kestrova::testing
