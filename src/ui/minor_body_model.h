// The rows of a data file for the browser's grid. The model asks the table store for the rows in
// view, a block at a time, and keeps a few hundred blocks; a table of any size opens at once.
#pragma once

#include <QAbstractTableModel>
#include <list>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "database/table_store.h"

namespace kestrova {

// A column of the grid: its field, its title, the index that a click on its title makes
// active (none for the sources, which leave the order unchanged), and for the elements the
// decimals that the element files give them, so that the column's points line up.
struct TBrowserColumn {
  const char* Field;
  const char* Title;
  std::optional<const char*> Index;
  int Decimals = -1;
};

class TMinorBodyModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // The columns in their order; a table shows those whose field it has.
  static const std::vector<TBrowserColumn>& Columns();

  explicit TMinorBodyModel(TableStore& table, QObject* parent = nullptr);

  // Takes the table's columns and record count again and forgets every row read: after the
  // table was opened or closed or its order changed.
  void Reload();
  // While busy the table is in the middle of other work and must not be asked: the model
  // shows only rows it has read already.
  void SetBusy(bool busy) { busy_ = busy; }

  const TBrowserColumn& Column(int column) const {
    return Columns()[size_t(shown_[size_t(column)])];
  }
  // The bookmark of a row, or nothing when it cannot be read.
  std::optional<TBookmark> BookmarkAt(int row) const;
  // The row the indicator points to and that is tinted, -1 for none.
  void SetCurrentRow(int row);
  int CurrentRow() const { return current_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 signals:
  // Rows could not be read (a damaged data file): the engine's message, once after each
  // Reload(). The grid shows such rows empty.
  void readFailed(const QString& message);

 private:
  struct Block {
    std::vector<TableStore::TRow> Rows;
    std::list<int64_t>::iterator Use;
  };
  const TableStore::TRow* Row(int row) const;

  TableStore& table_;
  // Columns() entries shown, and the field of each.
  std::vector<int> shown_;
  std::vector<int> fields_;
  int rows_ = 0;
  int current_ = -1;
  bool busy_ = false;
  mutable bool failureReported_ = false;
  mutable std::unordered_map<int64_t, Block> blocks_;
  mutable std::list<int64_t> use_;  // most recently used first
};

}  // namespace kestrova
