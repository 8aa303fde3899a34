#include "database/data_files.h"

#include <algorithm>

namespace kestrova {

const TIndexStep kDataFileIndexSteps[7] = {
    {"IDXNAME", "NAME;A;", 15},  {"IDXA", "A;NAME", 30},    {"IDXE", "E;NAME", 45},
    {"IDXINCL", "I;NAME", 60},   {"IDXCL", "CLASS;NO", 75}, {"IDXNEA", "ISNEA;NO", 90},
    {"IDXPHA", "ISPHA;NO", 100},
};

std::vector<TFieldDef> DataFileFields(bool withSources) {
  std::vector<TFieldDef> f = {
      {"NO", TFieldType::Integer, 0},   {"NAME", TFieldType::String, 32},
      {"M", TFieldType::Float, 0},      {"NW", TFieldType::Float, 0},
      {"OHM", TFieldType::Float, 0},    {"I", TFieldType::Float, 0},
      {"E", TFieldType::Float, 0},      {"A", TFieldType::Float, 0},
      {"DATE", TFieldType::Float, 0},   {"CLASS", TFieldType::String, 20},
      {"ISNEA", TFieldType::String, 1}, {"ISPHA", TFieldType::String, 1},
  };
  if (withSources) {
    f.push_back({"Reference", TFieldType::String, 16});
    f.push_back({"Computer", TFieldType::String, 16});
  }
  return f;
}

std::vector<TIndexDef> DataFileIndices() {
  std::vector<TIndexDef> idx = {{"", "NO"}};
  for (const TIndexStep& s : kDataFileIndexSteps) idx.push_back({s.Name, s.Fields});
  return idx;
}

void CreateDataFile(const std::string& alias, const std::string& table, bool withSources) {
  TableStore::CreateTable(alias, table, DataFileFields(withSources), DataFileIndices());
  TableStore t;
  t.SetDatabase(alias);
  t.SetTableName(table);
  t.Open(TOpenMode::Exclusive);
  t.Close();
}

void CreateIndices(TableStore& table, const std::function<void(int)>& progress) {
  table.Close();
  table.Open(TOpenMode::Exclusive);
  if (progress) progress(0);
  for (const TIndexStep& s : kDataFileIndexSteps) {
    try {
      table.AddIndex(s.Name, s.Fields);
    } catch (const ETableError&) {
      // An incomplete set of indices still lets the table open; the next one may well work.
    }
    if (progress) progress(s.Progress);
  }
  table.Close();
  table.Open(TOpenMode::Shared);
}

bool HasAllIndices(TableStore& table) {
  const std::vector<std::string> names = table.IndexNames();
  return std::all_of(std::begin(kDataFileIndexSteps), std::end(kDataFileIndexSteps),
                     [&](const TIndexStep& s) {
                       return std::find(names.begin(), names.end(), s.Name) != names.end();
                     });
}

}  // namespace kestrova
