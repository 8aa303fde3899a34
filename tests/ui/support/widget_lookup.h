// Finding a window's controls by their object names, as the window tests drive them.
#pragma once

#include <QString>
#include <QWidget>
#include <QtGlobal>

namespace kestrova::testing {

// The child of `parent` named `name`; the test stops at once when there is none.
template <class T = QWidget>
T* ChildNamed(QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr) qFatal("no control named %s", name);
  return child;
}

}  // namespace kestrova::testing
