#include "ui/search_dlg.h"

#include <QLineEdit>

namespace kestrova {

// Names of the data files hold at most 32 characters.
TSearchDlg::TSearchDlg(QWidget* parent)
    : TNameDlg("SearchDlg", "Search name", "Name to search:", 32, parent) {}

QString TSearchDlg::GetSearchName() const {
  return name_->text();
}

}  // namespace kestrova
