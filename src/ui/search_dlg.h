// "Search name": asks the name that the browser searches.
#pragma once

#include <QString>

#include "ui/name_dlg.h"

namespace kestrova {

class TSearchDlg : public TNameDlg {
  Q_OBJECT
 public:
  explicit TSearchDlg(QWidget* parent = nullptr);

  // The text as typed.
  QString GetSearchName() const;
};

}  // namespace kestrova
