// The platform's dialogs behind the prompter: a window that stays on top (the splash window
// of the start) goes before any message or dialog, which it would otherwise cover.
#include "ui/prompter.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <functional>

namespace kestrova {

class PrompterTest : public QObject {
  Q_OBJECT
 private slots:
  void ACoveringWindowGoesBeforeEveryMessageAndDialog_data() {
    QTest::addColumn<std::function<void(TDialogPrompter&)>>("ask");
    QTest::newRow("error") << std::function<void(TDialogPrompter&)>(
        [](TDialogPrompter& p) { p.ShowError(nullptr, QStringLiteral("Error reading file.")); });
    QTest::newRow("message") << std::function<void(TDialogPrompter&)>(
        [](TDialogPrompter& p) { p.ShowMessage(nullptr, QStringLiteral("A message.")); });
    QTest::newRow("question") << std::function<void(TDialogPrompter&)>(
        [](TDialogPrompter& p) { p.AskYesNo(nullptr, QStringLiteral("Really?")); });
    QTest::newRow("dialog") << std::function<void(TDialogPrompter&)>([](TDialogPrompter& p) {
      QDialog dialog;
      p.RunDialog(dialog);
    });
  }

  void ACoveringWindowGoesBeforeEveryMessageAndDialog() {
    QFETCH(std::function<void(TDialogPrompter&)>, ask);
    QWidget splash(nullptr, Qt::SplashScreen | Qt::WindowStaysOnTopHint);
    splash.show();
    TDialogPrompter prompter;
    prompter.HideFirst(&splash);
    bool asked = false;
    bool splashShown = true;
    // Answers the message or dialog as soon as it is up, noting what the user saw then.
    QTimer::singleShot(0, this, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      asked = modal != nullptr;
      splashShown = splash.isVisible();
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
    ask(prompter);
    QVERIFY(asked);
    QVERIFY(!splashShown);
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::PrompterTest)
#include "prompter_test.moc"
