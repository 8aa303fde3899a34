#include "ui/color_field.h"

#include <QMouseEvent>
#include <QPainter>

#include "scene/qpainter_surface.h"
#include "ui/prompter.h"

namespace kestrova {

TColorField::TColorField(TPrompter& prompter, QWidget* parent)
    : QWidget(parent), prompter_(prompter) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::NoFocus);
  setMinimumSize(16, 12);
}

void TColorField::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  update();
}

void TColorField::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::Dark));
  painter.setBrush(ToQColor(color_));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TColorField::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (const std::optional<TColor> chosen = prompter_.ChooseColor(this, color_)) {
    SetColor(*chosen);
    emit colorChosen(*chosen);
  }
  emit dialogClosed();
}

}  // namespace kestrova
