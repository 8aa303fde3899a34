// "Define a line": the two bodies and the colour of one user-defined line. The dialog edits the
// line it is given in place, from the first change on; callers that want Cancel to protect a
// line hand it a copy.
#pragma once

#include <QDialog>

#include "numerics/color.h"

class QComboBox;
class QPushButton;

namespace kestrova {

class TColorField;
class TDirection;
class TPrompter;

class TDirectionDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TDirectionDlg(TPrompter& prompter, QWidget* parent = nullptr);

  // The line to edit (borrowed): the colour sample and the two boxes show it. A body number
  // outside 0..9 leaves its box as it was.
  void SetLine(TDirection& line);
  TDirection* EditedLine() const { return edited_line_; }
  // The line is no longer the dialog's to change (its owner is about to free it).
  void ReleaseLine() { edited_line_ = nullptr; }

 private:
  void CBFromChange(int row);
  void CBToChange(int row);
  void ShapeColorChosen(TColor color);

  TDirection* edited_line_ = nullptr;  // not owned
  QComboBox* cb_from_;
  QComboBox* cb_to_;
  TColorField* shape_;
};

}  // namespace kestrova
