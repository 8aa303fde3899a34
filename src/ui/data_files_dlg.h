// "Select data file": lists the data files of a database alias and creates, deletes and
// re-indexes them, and starts the import program that fills them.
#pragma once

#include <QDialog>
#include <QString>
#include <string>

#include "database/table_store.h"

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace kestrova {

class TCreateIdxForm;
class TDataFile;
class TPrompter;
class TTableNameDlg;

class TDataFilesDlg : public QDialog {
  Q_OBJECT
 public:
  // The program's data file is open shared, so the dialog's own exclusive open of it would find
  // it locked: its indices are made on the open data file, and it is not deleted.
  TDataFilesDlg(TPrompter& prompter, TDataFile& dataFile, TCreateIdxForm& createIdxForm,
                QWidget* parent = nullptr);
  ~TDataFilesDlg() override;

  // Stores the alias, lists its tables and clears SelectedTable. An alias whose folder cannot be
  // listed is reported and leaves the list empty.
  void SetAlias(const std::string& alias);
  // Stores the name and selects it in the list; when the list holds it, OK and "Delete file"
  // are enabled.
  void SelectTable(const std::string& name);
  // What the caller reads after OK.
  const std::string& AliasName() const { return alias_; }
  const std::string& SelectedTable() const { return selected_; }

  // The import program that "Start import module" starts; by default kestrova-import beside
  // the running program.
  void SetImportProgram(const QString& path) { import_program_ = path; }
  const QString& ImportProgram() const { return import_program_; }

  TTableNameDlg& TableNameDlg() { return *table_name_dlg_; }

  // The handlers of the buttons and the list.
  void BNewTableClick();
  void BDeleteTableClick();
  void BRebuildIndxClick();
  void BImportClick();
  void BRefreshListClick();
  void TablesListBoxClick(QListWidgetItem* item);

 private:
  void FillList();
  void EnableForSelection(bool selected);
  void ReportError(const std::exception& e);

  TPrompter& prompter_;
  TDataFile& data_file_;
  TCreateIdxForm& create_idx_form_;
  TTableNameDlg* table_name_dlg_;
  QListWidget* list_;
  QPushButton* ok_;
  QPushButton* delete_;
  QPushButton* rebuild_;
  std::string alias_;
  // The folder the alias stands for, in which the dialog lists, creates and deletes tables.
  std::string folder_;
  std::string selected_;
  // The table the dialog creates, deletes and re-indexes.
  TableStore table_;
  QString import_program_;
};

}  // namespace kestrova
