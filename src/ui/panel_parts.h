// Small building blocks of the main window's control panel: named group boxes and buttons in
// the panel's compact style.
#pragma once

#include <QString>

class QGroupBox;
class QToolButton;
class QWidget;

namespace kestrova {

// A group box with `title` (an "&" marks its mnemonic) and object name `name`.
QGroupBox* NewGroup(QWidget* parent, const char* name, const QString& title);

// A compact tool button showing `text`, with `hint` as its tool tip; `toggle` makes it stay
// down when clicked.
QToolButton* NewButton(QWidget* parent, const char* name, const QString& text,
                       const QString& hint = {}, bool toggle = false);

// Turns on mouse tracking for widget and every widget inside it, so that moving the mouse
// over any of them reaches the window.
void TrackMouseEverywhere(QWidget* widget);

}  // namespace kestrova
