// "New table": asks the name of a new data file.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace kestrova {

class TTableNameDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TTableNameDlg(QWidget* parent = nullptr);

  // Empties the field and gives it the focus; run before each showing.
  void Prepare();
  // The typed name without its leading and trailing blanks.
  QString GetTableName() const;

 private:
  QLineEdit* name_;
};

}  // namespace kestrova
