#include "database/data_file.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "database/program_folder.h"

namespace kestrova {

namespace {

// Announces a change of the data file however the change ends.
class TChange {
 public:
  explicit TChange(TDataFile& file, void (TDataFile::*after)()) : file_(file), after_(after) {}
  ~TChange() { (file_.*after_)(); }
  TChange(const TChange&) = delete;
  TChange& operator=(const TChange&) = delete;

 private:
  TDataFile& file_;
  void (TDataFile::*after_)();
};

}  // namespace

TDataFile::TDataFile(std::filesystem::path programFolder)
    : program_folder_(std::move(programFolder)), alias_(kDefaultAlias) {}

std::filesystem::path TDataFile::AliasFolder(const std::string& alias) const {
  if (alias == kDefaultAlias && program_folder_.empty()) program_folder_ = ProgramFolder();
  return kestrova::AliasFolder(alias, program_folder_);
}

TDataFile::~TDataFile() = default;

void TDataFile::SetNames(const std::string& alias, const std::string& table) {
  emit aboutToChange();
  const TChange change(*this, &TDataFile::changed);
  alias_ = alias;
  table_.SetDatabase("");
  table_.SetTableName(table);
}

void TDataFile::Open() {
  emit aboutToChange();
  const TChange change(*this, &TDataFile::changed);
  table_.Close();
  try {
    table_.SetDatabase(AliasFolder(alias_).string());
    table_.SetIndexName("");
    table_.Open(TOpenMode::Shared);
  } catch (...) {
    table_.Close();
    throw;
  }
  struct stat info {};
  const std::string path = TableStore::TablePath(table_.DatabaseName(), table_.TableName());
  if (::stat(path.c_str(), &info) == 0) {
    opened_device_ = info.st_dev;
    opened_inode_ = info.st_ino;
  }
}

bool TDataFile::ReopenIfReplaced() {
  if (!IsOpen()) return false;
  struct stat info {};
  const std::string path = TableStore::TablePath(table_.DatabaseName(), table_.TableName());
  const bool same = ::stat(path.c_str(), &info) == 0 && info.st_dev == opened_device_ &&
                    info.st_ino == opened_inode_;
  if (same) return false;
  if (!TryOpen()) Close();
  return true;
}

bool TDataFile::TryOpen() {
  try {
    Open();
    return true;
  } catch (const EKestrovaError&) {
    return false;
  }
}

void TDataFile::Close() {
  emit aboutToChange();
  const TChange change(*this, &TDataFile::changed);
  table_.Close();
}

bool TDataFile::IsOpenFile(const std::string& alias, const std::string& table) const {
  if (!table_.Active() || table != table_.TableName()) return false;
  try {
    std::error_code ec;
    return std::filesystem::equivalent(AliasFolder(alias), table_.DatabaseName(), ec);
  } catch (const EKestrovaError&) {
    return false;
  }
}

bool TDataFile::RebuildIndices(const TIndexMaker& make) {
  emit aboutToChange();
  const TChange change(*this, &TDataFile::changed);
  return make(table_);
}

}  // namespace kestrova
