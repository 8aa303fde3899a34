// "New table": asks the name of a new data file.
#pragma once

#include <QString>

#include "ui/name_dlg.h"

namespace kestrova {

class TTableNameDlg : public TNameDlg {
  Q_OBJECT
 public:
  explicit TTableNameDlg(QWidget* parent = nullptr);

  // The typed name without its leading and trailing blanks.
  QString GetTableName() const;
};

}  // namespace kestrova
