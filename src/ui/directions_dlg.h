// "User defined lines": the list of the scene's user-defined lines with Add, Remove, Edit and
// Clear. It works on a copy of the list (WorkingList) and on copies of single lines, so that
// the scene's lines change only when the caller takes the working list back after OK.
#pragma once

#include <QDialog>

#include "model/object_lists.h"

class QPushButton;
class QTableWidget;

namespace kestrova {

class TDirectionDlg;
class TPrompter;

class TDirectionsDlg : public QDialog {
  Q_OBJECT
 public:
  // The line dialog is borrowed and shown, through the prompter, for Add and Edit.
  TDirectionsDlg(TDirectionDlg& lineDialog, TPrompter& prompter, QWidget* parent = nullptr);

  // WorkingList becomes a copy of `lines` (every copy visible); the grid follows.
  void SetLines(const TDirectionList& lines);
  const TDirectionList& WorkingList() const { return working_list_; }

  // The grid's row count follows WorkingList (at least one row); the buttons are enabled as
  // far as there is something to act on.
  void RefreshLines();
  // The text of row `row`: "Sun - Earth"; empty when the row has no line.
  QString RowText(int row) const;

  void SBAddClick();
  void SBEditClick();
  void SBRemoveClick();
  void SBClearClick();

 private:
  // The grid's current row when it shows a line, else -1.
  int CurrentLine() const;

  TDirectionDlg& line_dialog_;
  TPrompter& prompter_;
  TDirectionList working_list_;
  QTableWidget* draw_grid_;
  QPushButton* sb_add_;
  QPushButton* sb_remove_;
  QPushButton* sb_edit_;
  QPushButton* sb_clear_;
};

}  // namespace kestrova
