// "Search name": asks the name that the browser searches.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace kestrova {

class TSearchDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TSearchDlg(QWidget* parent = nullptr);

  // Empties the field and gives it the focus; run before each showing.
  void Prepare();
  // The text as typed.
  QString GetSearchName() const;

 private:
  QLineEdit* name_;
};

}  // namespace kestrova
