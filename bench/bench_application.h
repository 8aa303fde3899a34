// The application object of the benchmark program: one QApplication on the offscreen platform,
// made by the first benchmark that paints, reads rich text or opens a window, so that every
// later one finds what it needs whatever the order.
#pragma once

#include <QApplication>

namespace kestrova {

inline void EnsureBenchApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "kestrova-bench";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

}  // namespace kestrova
