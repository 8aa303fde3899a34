#include "ui/search_dlg.h"

#include <QLineEdit>

#include "database/data_files.h"

namespace kestrova {

// No name of a data file is longer.
TSearchDlg::TSearchDlg(QWidget* parent)
    : TNameDlg("SearchDlg", "Search name", "Name to search:", kNameCharacters, parent) {}

QString TSearchDlg::GetSearchName() const {
  return name_->text();
}

}  // namespace kestrova
