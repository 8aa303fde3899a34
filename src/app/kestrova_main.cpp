// Entry point of the desktop program.
#include <QApplication>
#include <QLabel>

#include "numerics/julian_dates.h"

int main(int argc, char** argv) {
  kestrova::InitClock();
  QApplication app(argc, argv);
  QApplication::setApplicationName("Kestrova");
  QLabel window("Kestrova: the main window is not built yet.");
  window.setWindowTitle("Kestrova");
  window.setMinimumSize(480, 120);
  window.setAlignment(Qt::AlignCenter);
  window.show();
  return QApplication::exec();
}
