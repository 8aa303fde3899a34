// The about box TAboutBox: the program's icon, name and version, its rights and the note on the
// minor-body data, the web address, and OK.
#pragma once

#include <QDialog>

namespace kestrova {

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace kestrova
