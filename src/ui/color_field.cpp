#include "ui/color_field.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "scene/qpainter_surface.h"
#include "ui/prompter.h"

namespace kestrova {

TColorField::TColorField(TPrompter& prompter, QWidget* parent)
    : QWidget(parent), prompter_(prompter) {
  setCursor(Qt::PointingHandCursor);
  // Reached with Tab and opened with Space, so that colours can be chosen without a mouse.
  setFocusPolicy(Qt::TabFocus);
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
  if (hasFocus()) {
    // Two rings in the highlight colour and one in the base colour show on every fill.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
    painter.setPen(palette().color(QPalette::Base));
    painter.drawRect(rect().adjusted(2, 2, -3, -3));
  }
}

void TColorField::mousePressEvent(QMouseEvent* event) {
  event->accept();
  Choose();
}

void TColorField::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Space || event->modifiers() != Qt::NoModifier) {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
  Choose();
}

void TColorField::Choose() {
  if (const std::optional<TColor> chosen = prompter_.ChooseColor(this, color_)) {
    SetColor(*chosen);
    emit colorChosen(*chosen);
  }
  emit dialogClosed();
}

}  // namespace kestrova
