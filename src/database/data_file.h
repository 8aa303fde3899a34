// The program's minor-body data file: one table of a database alias, kept open shared while the
// program runs. The session owns the one data file; the data-files dialog, the browser and the
// headless host all reach it here, so they agree which table is open without asking each other.
#pragma once

#include <sys/types.h>

#include <QObject>
#include <filesystem>
#include <functional>
#include <string>

#include "database/table_store.h"

namespace kestrova {

class TDataFile : public QObject {
  Q_OBJECT
 public:
  // The default alias "MPC" without a table, closed. The alias "MPC" is the folder "MPC" in
  // programFolder; when that is empty, in ProgramFolder(), read once when first needed.
  explicit TDataFile(std::filesystem::path programFolder = {});
  ~TDataFile() override;

  const std::string& DatabaseName() const { return alias_; }
  const std::string& TableName() const { return table_.TableName(); }
  // New alias and table name; the data file is closed.
  void SetNames(const std::string& alias, const std::string& table);

  // Opens the table shared in the order of its primary index. The engine's error (or that of an
  // alias whose folder cannot be made) is raised and the data file left closed.
  void Open();
  // The same, answering false instead of raising.
  bool TryOpen();
  void Close();
  bool IsOpen() const { return table_.Active(); }
  // An import replaces a table by renaming a new file over it; the open data file still reads
  // the old one. When the open table's file is no longer the one opened, it is opened again
  // (or closed, when that fails); true when this happened.
  bool ReopenIfReplaced();
  // Whether the table `table` of `alias` is this open data file; an alias counts by the folder it
  // stands for, so a folder's path names the same file as its alias.
  bool IsOpenFile(const std::string& alias, const std::string& table) const;
  // The folder an alias stands for (AliasFolder in this data file's program folder), for the
  // dialogs that list, create and delete the tables beside it.
  std::filesystem::path AliasFolder(const std::string& alias) const;

  // Makes the named indices of the open data file with `make` (the windows pass their progress
  // window's making); the data file stays open shared. Returns what `make` returns.
  using TIndexMaker = std::function<bool(TableStore&)>;
  bool RebuildIndices(const TIndexMaker& make);

  // The rows, for the browser's grid and "Show all objects".
  TableStore& Table() { return table_; }
  const TableStore& Table() const { return table_; }

 signals:
  // Before and after the data file is opened, closed, renamed or re-indexed: a view over its
  // rows stops reading before and reads again after.
  void aboutToChange();
  void changed();

 private:
  // Empty until first needed when none was given.
  mutable std::filesystem::path program_folder_;
  std::string alias_;
  // Its database is the alias's folder, so that opening reads no environment.
  TableStore table_;
  // The device and inode of the file opened, to notice a replacement.
  dev_t opened_device_ = 0;
  ino_t opened_inode_ = 0;
};

}  // namespace kestrova
