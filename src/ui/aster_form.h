// The minor-body browser: a grid over the current data file, sorted by a click on a column
// title, searched by name, switched to another data file, and the place from which the main
// window picks bodies. Its table is the program's data file.
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "database/table_store.h"
#include "ephemerides/kepler_orbits.h"

class QLabel;
class QPushButton;
class QTableView;
class QToolButton;

namespace kestrova {

class TAsteroid;
class TCreateIdxForm;
class TDataFilesDlg;
class TMinorBodyModel;
class TPrompter;
class TSearchDlg;

class TAsterForm : public QDialog {
  Q_OBJECT
 public:
  TAsterForm(TPrompter& prompter, TDataFilesDlg& dataFilesDlg, TCreateIdxForm& createIdxForm,
             QWidget* parent = nullptr);
  ~TAsterForm() override;

  // ---- The data file.
  TableStore& Table() { return table_; }
  // New alias and table name; the table is closed.
  void SetDataFileNames(const std::string& alias, const std::string& table);
  // Opens the table shared in the order of its primary index, at its first row. The engine's
  // error is raised and the table left closed when it cannot be opened.
  void OpenTable();
  void CloseTable();

  // ---- The bodies for the main window.
  // Fills el from the current row; leaves it untouched when the table is closed or empty.
  void RowToElements(TOrbitalElements& el);
  // The number of marked rows.
  int SelectedCount() const;
  // Moves to the n-th marked row (from 0, in the grid's order) and makes a body of it; nothing
  // when the table is closed or there is no such row.
  std::unique_ptr<TAsteroid> SelectedObject(int n);
  // A body made from the current row; nothing when the table is closed or empty.
  std::unique_ptr<TAsteroid> CurrentObject();
  // Makes the seven named indices of the table, with the progress window, when any is
  // missing. True when all exist afterwards.
  bool EnsureIndices(TableStore& table);

  // ---- The grid.
  int CurrentRow() const;
  // Makes `row` the current row (marks stay) and shows it.
  void GoToRow(int row);
  TMinorBodyModel& Model() { return *model_; }
  TSearchDlg& SearchDlg() { return *search_dlg_; }

  // ---- Handlers.
  // Sets the caption and clears the marks; runs each time the window is shown.
  void FormShow();
  // Sorts by the index of a column's title (columns without one leave the order unchanged).
  void DBGridTitleClick(int column);
  void BDataFilesClick();
  void BSearchClick();
  // The current row changed.
  void DataSourceDataChange();

 signals:
  // Another data file was chosen through "Data file" (it may have failed to open).
  void dataFileChanged();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Reload();
  void SetCaption();
  void ShowSortColumn();
  void UpdateNavigator();
  void FitWidthToColumns();
  // Makes the row of the bookmark current; false when it is gone.
  bool GoToBookmark(TBookmark bookmark);
  // Points the table's cursor at a row of the grid.
  bool MoveTableTo(int row);
  std::unique_ptr<TAsteroid> ObjectOfTableRow();
  std::vector<std::pair<int, int>> MarkedRanges() const;
  bool HasIndex(const std::string& name);
  // Makes the seven named indices with the progress window, keeping the current row.
  bool MakeIndices(TableStore& table);
  // Whether the table of that alias and name is the open table.
  bool IsOpenTable(const std::string& alias, const std::string& table) const;
  void ReportError(const std::exception& e);

  TPrompter& prompter_;
  TDataFilesDlg& data_files_dlg_;
  TCreateIdxForm& create_idx_form_;
  TSearchDlg* search_dlg_;
  TableStore table_;
  TMinorBodyModel* model_;
  QTableView* grid_;
  QToolButton* first_;
  QToolButton* prior_;
  QToolButton* next_;
  QToolButton* last_;
  QPushButton* search_;
  bool fitted_ = false;
  // The fields of the columns whose widths were last fitted.
  std::vector<std::string> fitted_columns_;
};

}  // namespace kestrova
