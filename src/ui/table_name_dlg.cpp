#include "ui/table_name_dlg.h"

#include <QLineEdit>

namespace kestrova {

// The name becomes a file name with ".db" appended.
TTableNameDlg::TTableNameDlg(QWidget* parent)
    : TNameDlg("TableNameDlg", "New table", "Table name:", 200, parent) {}

QString TTableNameDlg::GetTableName() const {
  return name_->text().trimmed();
}

}  // namespace kestrova
