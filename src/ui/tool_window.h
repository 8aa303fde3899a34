// A tool window beside the main window (the monitor, the description), framed as one: a caption
// with a close button, nothing to minimise or maximise. It may stay on top of other windows, and it
// tells its owner when it was hidden, so that the owner's button is released. While a modal dialog
// or message box of the program is open, a window that stays on top steps down to the normal layer,
// so that it never covers the dialog that waits for the user.
#pragma once

#include <QWidget>

namespace kestrova {

class TToolWindow : public QWidget {
  Q_OBJECT
 public:
  TToolWindow(QWidget* parent, Qt::WindowFlags flags);

  bool StayOnTop() const;
  // Keeps the window above other windows, or not; a shown window stays shown and in place.
  void SetStayOnTop(bool on);
  // Shown again, the frame stands where it stood when the window was hidden.
  void setVisible(bool visible) override;

 signals:
  // The window was hidden (closed by the user, or hidden by its owner), not minimised.
  void hidden();

 protected:
  bool event(QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  // Set while the window's flags change, which hides and shows it again.
  bool changing_flags_ = false;
};

}  // namespace kestrova
