// Entry point of the desktop program: kestrova [JD] [document path...]
#include <QApplication>

#include "numerics/julian_dates.h"
#include "ui/solar_system_form.h"

int main(int argc, char** argv) {
  kestrova::InitClock();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kestrova"));

  kestrova::TStartOptions options;
  options.Clock = [] { return kestrova::CurrentDate(0); };
  options.Arguments = QApplication::arguments().mid(1);
  kestrova::TSolarSystemForm form(std::move(options));
  form.show();
  return QApplication::exec();
}
