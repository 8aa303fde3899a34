#include "ui/tool_window.h"

#include <QEvent>
#include <QHideEvent>
#include <QWindow>

namespace kestrova {

TToolWindow::TToolWindow(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, Qt::Tool | flags) {}

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
