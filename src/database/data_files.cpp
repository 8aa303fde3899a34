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
      {"NO", TFieldType::Integer, 0},   {"NAME", TFieldType::String, kNameCharacters},
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

std::string DataFileNameProblem(const std::string& name) {
  const size_t begin = name.find_first_not_of(' ');
  if (begin == std::string::npos) return "Please type a name for the new data file.";
  const std::string trimmed = name.substr(begin, name.find_last_not_of(' ') - begin + 1);
  const bool bad = std::any_of(trimmed.begin(), trimmed.end(), [](char c) {
    return c == '/' || c == '\\' || c == '\'' || c == '"' || static_cast<unsigned char>(c) < 0x20 ||
           c == 0x7F;
  });
  if (bad)
    return "The name '" + trimmed +
           "' cannot be used: a data file name must not contain / \\ ' \" or control characters.";
  if (trimmed.front() == '.')
    return "The name '" + trimmed + "' cannot be used: it begins with a dot.";
  return {};
}

void CreateDataFile(const std::string& alias, const std::string& table, bool withSources) {
  TableStore::CreateTable(alias, table, DataFileFields(withSources), DataFileIndices());
  TableStore t;
  t.SetDatabase(alias);
  t.SetTableName(table);
  t.Open(TOpenMode::Exclusive);
  t.Close();
}

bool CreateIndices(TableStore& table, const TIndexProgress& progress) {
  const bool wasOpen = table.Active();
  table.Close();
  try {
    table.Open(TOpenMode::Exclusive);
  } catch (const ETableError&) {
    // Whoever had the table open keeps it.
    if (wasOpen) table.Open(TOpenMode::Shared);
    throw;
  }
  bool completed = !progress || progress(0);
  for (const TIndexStep& s : kDataFileIndexSteps) {
    if (!completed) break;
    try {
      table.AddIndex(s.Name, s.Fields);
    } catch (const ETableError&) {
      // An incomplete set of indices still lets the table open; the next one may well work.
    }
    completed = !progress || progress(s.Progress);
  }
  table.Close();
  table.Open(TOpenMode::Shared);
  return completed;
}

bool HasAllIndices(TableStore& table) {
  const std::vector<std::string> names = table.IndexNames();
  return std::all_of(std::begin(kDataFileIndexSteps), std::end(kDataFileIndexSteps),
                     [&](const TIndexStep& s) {
                       return std::find(names.begin(), names.end(), s.Name) != names.end();
                     });
}

}  // namespace kestrova
