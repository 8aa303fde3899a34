// The application-wide error report: an error that reaches the event loop from any event is
// shown with its message, and the program goes on. Also the splash window and the about box.
#include "ui/application.h"

#include <QAction>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "numerics/errors.h"
#include "support/form_fixture.h"
#include "support/recording_prompter.h"
#include "ui/about_box.h"
#include "ui/program_info.h"
#include "ui/splash_window.h"

namespace kestrova {

namespace {

class TThrowing : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw EKestrovaError("The data file is damaged.");
    return QObject::event(e);
  }
};

}  // namespace

class ApplicationTest : public QObject {
  Q_OBJECT
 private slots:
  void ErrorsThatReachTheEventLoopAreShownAndTheProgramGoesOn() {
    auto* app = qobject_cast<TApplication*>(QCoreApplication::instance());
    QVERIFY(app != nullptr);
    testing::TRecordingPrompter prompter;
    app->SetPrompter(&prompter);
    TThrowing receiver;
    QEvent event(QEvent::User);
    QVERIFY(!QCoreApplication::sendEvent(&receiver, &event));
    QTimer::singleShot(0, [] { throw std::runtime_error("Out of memory."); });
    QTest::qWait(1);
    QCOMPARE(prompter.asked,
             QStringList({"error: The data file is damaged.", "error: Out of memory."}));
    app->SetPrompter(nullptr);
  }

  void AboutBoxAndSplashNameTheProgram() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    TAboutBox* shown = nullptr;
    f.prompter.dialogs.push_back([&shown](QDialog& dialog) {
      shown = qobject_cast<TAboutBox*>(&dialog);
      return int(QDialog::Accepted);
    });
    form.AboutAct->trigger();
    QCOMPARE(f.prompter.asked, QStringList({"dialog: AboutBox"}));
    QVERIFY(shown != nullptr);
    QCOMPARE(shown->windowTitle(), QStringLiteral("Kestrova"));
    QCOMPARE(shown->findChild<QLabel*>("Version")->text(), QStringLiteral("Version 1.6.1."));
    QVERIFY(shown->findChild<QLabel*>("Comments")->text().contains("Minor Planet Center"));
    // Without a configured web address there is no link.
    QCOMPARE(shown->findChild<QLabel*>("LinkLabel")->isVisibleTo(shown), !WebAddress().isEmpty());

    TInfoBox splash;
    QCOMPARE(splash.size(), QSize(284, 146));
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    splash.ShowNow();
    QVERIFY(splash.isVisible());
    f.Stop();
    TSessionOptions sessionOptions;
    sessionOptions.Prompter = &f.prompter;
    TSession session(std::move(sessionOptions));
    TStartOptions options;
    options.Splash = &splash;
    TSolarSystemForm second(session, std::move(options));
    second.show();
    QVERIFY(!splash.isVisible());
    QVERIFY(!ProgramIcon().isNull());
    QVERIFY(!ProgramIcon().pixmap(32, 32).isNull());
  }
};

}  // namespace kestrova

int main(int argc, char** argv) {
  kestrova::TApplication app(argc, argv);
  kestrova::ApplicationTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "application_test.moc"
