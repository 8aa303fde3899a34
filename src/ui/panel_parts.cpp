#include "ui/panel_parts.h"

#include <QGroupBox>
#include <QToolButton>

namespace kestrova {

QGroupBox* NewGroup(QWidget* parent, const char* name, const QString& title) {
  auto* group = new QGroupBox(title, parent);
  group->setObjectName(QString::fromLatin1(name));
  return group;
}

QToolButton* NewButton(QWidget* parent, const char* name, const QString& text, const QString& hint,
                       bool toggle) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(text);
  button->setToolTip(hint);
  button->setCheckable(toggle);
  button->setAutoRaise(false);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  button->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
  return button;
}

void TrackMouseEverywhere(QWidget* widget) {
  widget->setMouseTracking(true);
  for (QWidget* child : widget->findChildren<QWidget*>()) child->setMouseTracking(true);
}

}  // namespace kestrova
