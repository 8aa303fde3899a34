// Entry point of the desktop program: kestrova [JD] [document path...]; --help and --version
// are answered before anything needs a display.
//
// With KESTROVA_QUIT_AFTER_FIRST_PAINT=1 the program closes (writing its settings and
// last.orb as always) right after the drawing area was painted for the first time, and tells
// on stderr how long that took and the window's caption: the start-up benchmark and the
// desktop check of scripts/test use it.
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/program_options.h"
#include "database/program_folder.h"
#include "numerics/julian_dates.h"
#include "ui/application.h"
#include "ui/program_info.h"
#include "ui/prompter.h"
#include "ui/scene_view.h"
#include "ui/solar_system_form.h"
#include "ui/splash_window.h"

int main(int argc, char** argv) {
  QElapsedTimer sinceStart;
  sinceStart.start();
  {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Draws a live model of the solar system. Opens the orbit documents given (by default\n"
        "last.orb in the program folder; the words of a path with blanks need no quotes) and,\n"
        "given a Julian date, shows that moment."));
    parser.addPositionalArgument(QStringLiteral("JD"),
                                 QStringLiteral("Julian date to show, 990924.5 to 3912515.5."),
                                 QStringLiteral("[JD]"));
    parser.addPositionalArgument(QStringLiteral("document"),
                                 QStringLiteral("Orbit document (.orb) to open."),
                                 QStringLiteral("[document...]"));
    if (const auto status = kestrova::AnswerHelpOrVersion(argc, argv, "kestrova", parser))
      return *status;
  }
  kestrova::InitClock();
  kestrova::TApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(kestrova::kProgramName));
  QGuiApplication::setDesktopFileName(QStringLiteral("kestrova"));
  QApplication::setWindowIcon(kestrova::ProgramIcon());

  kestrova::TInfoBox splash;
  splash.ShowNow();

  kestrova::TDialogPrompter prompter;
  prompter.HideFirst(&splash);
  app.SetPrompter(&prompter);
  kestrova::TSessionOptions sessionOptions;
  sessionOptions.Clock = [] { return kestrova::CurrentDate(0); };
  sessionOptions.Prompter = &prompter;
  kestrova::TStartOptions options;
  options.Arguments = QApplication::arguments().mid(1);
  options.Splash = &splash;
  // Without a program folder (one that cannot be made) there is nothing to start from. The
  // session outlives its window, whose widgets see the session's scene until they go.
  std::unique_ptr<kestrova::TSession> session;
  std::unique_ptr<kestrova::TSolarSystemForm> window;
  try {
    sessionOptions.ProgramFolder = kestrova::ProgramFolder();
    session = std::make_unique<kestrova::TSession>(std::move(sessionOptions));
    window = std::make_unique<kestrova::TSolarSystemForm>(*session, std::move(options));
  } catch (const std::exception& error) {
    splash.hide();
    prompter.ShowError(nullptr, QString::fromUtf8(error.what()));
    return 1;
  }
  kestrova::TSolarSystemForm& form = *window;

  if (qEnvironmentVariable("KESTROVA_QUIT_AFTER_FIRST_PAINT") == QLatin1String("1")) {
    QObject::connect(
        &form.View(), &kestrova::TSceneView::painted, &form,
        [&form, &sinceStart] {
          std::fprintf(stderr, "first paint after %lld ms: %s\n",
                       static_cast<long long>(sinceStart.elapsed()),
                       form.windowTitle().toUtf8().constData());
          QTimer::singleShot(0, &form, &QWidget::close);
        },
        Qt::SingleShotConnection);
  }
  form.show();
  return QApplication::exec();
}
