// A small dialog that asks for one name: a label, an edit field and "OK"/"Cancel".
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace kestrova {

class TNameDlg : public QDialog {
  Q_OBJECT
 public:
  // The field is named "EName", the buttons "BOk" and "BCancel".
  TNameDlg(const QString& objectName, const QString& caption, const QString& label, int maxLength,
           QWidget* parent);

  // Empties the field and gives it the focus; run before each showing.
  void Prepare();

 protected:
  QLineEdit* name_;
};

}  // namespace kestrova
