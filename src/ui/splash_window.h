// The splash window TInfoBox: shown, without border or caption, while the program starts, and
// hidden as soon as the main window shows.
#pragma once

#include <QFrame>

namespace kestrova {

class TInfoBox : public QFrame {
  Q_OBJECT
 public:
  explicit TInfoBox(QWidget* parent = nullptr);
  // Shows the window centred on the screen and paints it at once, before the event loop runs.
  void ShowNow();
};

}  // namespace kestrova
