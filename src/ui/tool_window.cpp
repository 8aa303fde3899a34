#include "ui/tool_window.h"

#include <QHideEvent>

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

void TToolWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (!event->spontaneous() && !changing_flags_) emit hidden();
}

}  // namespace kestrova
