#include "ui/tool_window.h"

#include <QEvent>
#include <QHideEvent>
#include <QWindow>

namespace kestrova {

TToolWindow::TToolWindow(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | flags) {}

bool TToolWindow::StayOnTop() const {
  return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void TToolWindow::SetStayOnTop(bool on) {
  if (StayOnTop() == on) return;
  const bool visible = isVisible();
  const QPoint place = pos();
  changing_flags_ = true;
  setWindowFlag(Qt::WindowStaysOnTopHint, on);
  move(place);
  if (visible) show();
  changing_flags_ = false;
}

void TToolWindow::setVisible(bool visible) {
  // Shown again, the frame goes back to where it stood. After the native window's stay-on-top
  // hint was changed under a window manager (while a modal dialog was open), mapping it again
  // would otherwise place the frame where the inside had been, a caption bar lower each time.
  if (visible && !isVisible() && windowHandle()) windowHandle()->setFramePosition(pos());
  QWidget::setVisible(visible);
}

bool TToolWindow::event(QEvent* event) {
  // Only the native window steps down: the window's own flags keep the user's choice (the
  // settings, the "Stay on top" box), and the window is not created anew, so it does not flash.
  const QEvent::Type type = event->type();
  if ((type == QEvent::WindowBlocked || type == QEvent::WindowUnblocked) && windowHandle() &&
      StayOnTop()) {
    windowHandle()->setFlag(Qt::WindowStaysOnTopHint, type == QEvent::WindowUnblocked);
  }
  return QWidget::event(event);
}

void TToolWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (!event->spontaneous() && !changing_flags_) emit hidden();
}

}  // namespace kestrova
