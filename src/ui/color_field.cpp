#include "ui/color_field.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>

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
  // The frame and the focus rings are each one window pixel wide in whole screen pixels: drawn
  // with the painter's scale, a 1.5 scale would make a side one screen pixel and the next two.
  const qreal ratio = devicePixelRatioF();
  const int ring = std::max(1, int(std::lround(ratio)));
  painter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
  const QRect box(QPoint(0, 0), (QSizeF(size()) * ratio).toSize());
  // The ring `inset` rings in from the edge.
  const auto paintRing = [&](int inset, const QColor& color) {
    const QRect r = box.adjusted(inset * ring, inset * ring, -inset * ring, -inset * ring);
    if (r.isEmpty()) return;
    painter.fillRect(QRect(r.left(), r.top(), r.width(), ring), color);
    painter.fillRect(QRect(r.left(), r.bottom() + 1 - ring, r.width(), ring), color);
    painter.fillRect(QRect(r.left(), r.top(), ring, r.height()), color);
    painter.fillRect(QRect(r.right() + 1 - ring, r.top(), ring, r.height()), color);
  };
  painter.fillRect(box.adjusted(ring, ring, -ring, -ring), ToQColor(color_));
  paintRing(0, palette().color(QPalette::Dark));
  if (hasFocus()) {
    // Two rings in the highlight colour and one in the base colour show on every fill.
    paintRing(0, palette().color(QPalette::Highlight));
    paintRing(1, palette().color(QPalette::Highlight));
    paintRing(2, palette().color(QPalette::Base));
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
