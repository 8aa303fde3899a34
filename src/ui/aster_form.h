// The minor-body browser: a grid over the current data file, sorted by a click on a column
// title, searched by name, switched to another data file, and the place from which the main
// window picks bodies. It shows the program's data file, which the session owns.
#pragma once

#include <QDialog>
#include <memory>
#include <optional>
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
class TDataFile;
class TDataFilesDlg;
class TMinorBodyModel;
class TPrompter;
class TSearchDlg;

class TAsterForm : public QDialog {
  Q_OBJECT
 public:
  TAsterForm(TPrompter& prompter, TDataFile& dataFile, TDataFilesDlg& dataFilesDlg,
             TCreateIdxForm& createIdxForm, QWidget* parent = nullptr);
  ~TAsterForm() override;

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

 public slots:
  // OK: with more marks than the main window takes at once the user is told so, and the
  // browser stays open with its marks, to take some away.
  void accept() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildGrid();
  QWidget* BuildNavigator();
  void BuildButtons(QWidget* navigator);
  // The data file's announcements: the grid stops reading while it changes, then reads again
  // and, when the same file stays open (its indices were made), keeps its current row.
  void DataFileChanging();
  void DataFileChanged();
  void Reload();
  void SetCaption();
  void ShowSortColumn();
  void UpdateNavigator();
  void FitWidthToColumns();
  // Makes the row of the bookmark current; false when it is gone.
  bool GoToBookmark(TBookmark bookmark);
  // The first numbered body in number order, else the first row.
  void GoToFirstNumbered();
  // Points the table's cursor at a row of the grid.
  bool MoveTableTo(int row);
  std::unique_ptr<TAsteroid> ObjectOfTableRow();
  std::vector<std::pair<int, int>> MarkedRanges() const;
  bool HasIndex(const std::string& name);
  // Makes the seven named indices of the data file, with the progress window, when any is
  // missing. True when all exist afterwards.
  bool EnsureIndices();
  void ReportError(const std::exception& e);

  TPrompter& prompter_;
  TDataFilesDlg& data_files_dlg_;
  TCreateIdxForm& create_idx_form_;
  TSearchDlg* search_dlg_;
  TDataFile& data_file_;
  TableStore& table_;
  TMinorBodyModel* model_;
  QTableView* grid_ = nullptr;
  QToolButton* first_ = nullptr;
  QToolButton* prior_ = nullptr;
  QToolButton* next_ = nullptr;
  QToolButton* last_ = nullptr;
  QPushButton* search_ = nullptr;
  // Below the grid: how to sort, or, without rows, how to get a catalogue.
  QLabel* hint_ = nullptr;
  // The data file and current row before a change, to come back to the row after it.
  std::string changing_alias_;
  std::string changing_table_;
  std::optional<TBookmark> changing_row_;
  bool fitted_ = false;
  // The fields of the columns whose widths were last fitted.
  std::vector<std::string> fitted_columns_;
};

}  // namespace kestrova
