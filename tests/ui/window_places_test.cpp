// Window places: a place off every screen comes back onto the primary screen; the tool windows
// take their places and styles from the settings and give them back at the end.
#include "ui/window_places.h"

#include <QCheckBox>
#include <QSettings>
#include <QTest>
#include <QToolButton>

#include "documents/window_geometry.h"
#include "support/form_fixture.h"
#include "ui/description_form.h"
#include "ui/monitor_form.h"

namespace kestrova {

class WindowPlacesTest : public QObject {
  Q_OBJECT
 private slots:
  // A window lies wholly on the screen its caption bar is on (or on the primary one), no larger
  // than that screen's free area.
  void APlaceOffEveryScreenComesBackOntoThePrimary_data() {
    QTest::addColumn<QRect>("wanted");
    QTest::addColumn<QRect>("placed");
    // Two screens side by side, the primary on the left.
    QTest::newRow("on the primary") << QRect(508, 260, 744, 631) << QRect(508, 260, 744, 631);
    QTest::newRow("on the second") << QRect(2000, 100, 744, 631) << QRect(2000, 100, 744, 631);
    QTest::newRow("caption bar partly on") << QRect(-650, 10, 744, 631) << QRect(0, 10, 744, 631);
    QTest::newRow("too little to grab") << QRect(-700, 10, 744, 631) << QRect(0, 10, 744, 631);
    QTest::newRow("over the right edge of the second")
        << QRect(2900, 100, 744, 631) << QRect(3200 - 744, 100, 744, 631);
    QTest::newRow("wider than its screen")
        << QRect(1000, 100, 99999, 631) << QRect(0, 100, 1280, 631);
    QTest::newRow("the panel of a larger desk")
        << QRect(3000, 1800, 744, 631) << QRect(1280 - 744, 1024 - 631, 744, 631);
    QTest::newRow("left of all") << QRect(-3000, 200, 744, 631) << QRect(0, 200, 744, 631);
    QTest::newRow("below all") << QRect(300, 5000, 744, 631) << QRect(300, 1024 - 631, 744, 631);
    QTest::newRow("above all") << QRect(300, -640, 744, 631) << QRect(300, 0, 744, 631);
    QTest::newRow("where a third screen was")
        << QRect(3400, 300, 335, 292) << QRect(1280 - 335, 300, 335, 292);
    QTest::newRow("larger than the screen")
        << QRect(-5000, -5000, 2000, 1500) << QRect(0, 0, 1280, 1024);
  }
  void APlaceOffEveryScreenComesBackOntoThePrimary() {
    QFETCH(QRect, wanted);
    const QRect primary(0, 0, 1280, 1024);
    const QList<QRect> screens{primary, QRect(1280, 0, 1920, 1080)};
    QTEST(PlaceOnScreens(wanted, screens, primary), "placed");
  }

  // Places from a larger desk, or typed into kv.ini, give windows that fit the screen.
  void StoredPlacesFitTheScreen() {
    testing::TFormFixture f;
    {
      QFile ini(f.HomeFile("kv.ini"));
      QVERIFY(ini.open(QIODevice::WriteOnly));
      ini.write(
          "[MainForm]\nTop=1800\nLeft=3000\nWidth=99999\nHeight=700\n"
          "[DescriptionForm]\nTop=2000\nLeft=300\nWidth=5000\nHeight=300\n"
          "[MonitorForm]\nTop=2050\nLeft=3700\n");
    }
    TSolarSystemForm& form = f.Start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const char* name : {"MonitorForm", "DescriptionForm"}) {
      auto* window = f.Find(name);
      window->show();
      QVERIFY2(screen.contains(window->frameGeometry()), name);
    }
    QVERIFY(screen.contains(form.frameGeometry()));
    // The window fills the screen's width, but for the room kept for a frame before it had one.
    QVERIFY(form.frameGeometry().width() > screen.width() - 20);
  }

  // A screen of few window pixels (ctest runs this case again at a scale factor of 2, where the
  // offscreen screen of 800 by 800 pixels has 400 by 400): the window and its minimum size fit
  // it, and a minimum that would fit stays as asked.
  void TheMainWindowFitsASmallOrHighlyScaledScreen() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(screen.contains(form.frameGeometry()),
             qPrintable(QStringLiteral("%1x%2 on %3x%4")
                            .arg(form.frameGeometry().width())
                            .arg(form.frameGeometry().height())
                            .arg(screen.width())
                            .arg(screen.height())));
    const QSize most = screen.size() - (form.frameGeometry().size() - form.size());
    QCOMPARE(form.minimumSize(), QSize(kMainWindowMinWidth, kMainWindowMinHeight).boundedTo(most));
  }

  // Maximized, the main window keeps its normal place in kv.ini, and the next start is
  // maximized again over that place.
  void AMaximizedMainWindowIsStoredWithItsNormalPlace() {
    testing::TFormFixture f;
    QRect normal;
    {
      TSolarSystemForm& form = f.Start();
      form.move(40, 30);
      form.resize(700, 560);
      normal = QRect(form.pos(), form.size());
      form.showMaximized();
      QCoreApplication::processEvents();
      QVERIFY(form.isMaximized());
      QVERIFY(form.size() != normal.size());
      form.close();
    }
    QSettings ini(f.HomeFile("kv.ini"), QSettings::IniFormat);
    QCOMPARE(ini.value("MainForm/Left").toInt(), normal.left());
    QCOMPARE(ini.value("MainForm/Top").toInt(), normal.top());
    QCOMPARE(ini.value("MainForm/Width").toInt(), normal.width());
    QCOMPARE(ini.value("MainForm/Height").toInt(), normal.height());
    QCOMPARE(ini.value("MainForm/Maximized").toInt(), 1);
    f.Stop();

    TSolarSystemForm& again = f.Start();
    QVERIFY(again.isMaximized());
    QCOMPARE(again.normalGeometry().size(), normal.size());
    again.showNormal();
    QCoreApplication::processEvents();
    QCOMPARE(QRect(again.pos(), again.size()), normal);
    again.close();
    QSettings after(f.HomeFile("kv.ini"), QSettings::IniFormat);
    QCOMPARE(after.value("MainForm/Maximized").toInt(), 0);
  }

  void ToolWindowsTakeTheirPlacesAndStylesFromTheSettings() {
    testing::TFormFixture f;
    {
      QFile ini(f.HomeFile("kv.ini"));
      QVERIFY(ini.open(QIODevice::WriteOnly));
      ini.write(
          "[DescriptionForm]\nTop=40\nLeft=30\nWidth=400\nHeight=300\nStayOnTop=1\n"
          "[MonitorForm]\nTop=-9000\nLeft=-9000\n");
    }
    TSolarSystemForm& form = f.Start();
    auto& monitor = *f.Find<TMonitorForm>("MonitorForm");
    auto& description = *f.Find<TDescriptionForm>("DescriptionForm");
    QCOMPARE(description.pos(), QPoint(30, 40));
    QCOMPARE(description.size(), QSize(400, 300));
    QVERIFY(description.StayOnTop());
    QVERIFY(!monitor.StayOnTop());
    // The monitor's place was off the screens.
    QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(monitor.pos()));

    // Tool frames: a caption with a close button, nothing to minimise or maximise.
    for (QWidget* w : {static_cast<QWidget*>(&monitor), static_cast<QWidget*>(&description)}) {
      const Qt::WindowFlags flags = w->windowFlags();
      QVERIFY(flags.testFlag(Qt::CustomizeWindowHint) && flags.testFlag(Qt::WindowCloseButtonHint));
      QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
      QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    }

    form.UpdateControls();
    QVERIFY(f.Find<QCheckBox>("CBDescriptionStayOnTop")->isChecked());
    QVERIFY(!f.Find<QToolButton>("SBMonitor")->isChecked());
    f.Click("SBMonitor");
    QVERIFY(monitor.isVisible());
    QVERIFY(form.State().MonitorVisible);
    f.Click("CBMonitorStayOnTop");
    QVERIFY(monitor.StayOnTop());
    QVERIFY(monitor.isVisible());
    monitor.close();
    QVERIFY(!f.Find<QToolButton>("SBMonitor")->isChecked());
    QVERIFY(!form.State().MonitorVisible);

    monitor.move(100, 120);
    form.close();
    QSettings ini(f.HomeFile("kv.ini"), QSettings::IniFormat);
    QCOMPARE(ini.value("MonitorForm/Left").toInt(), 100);
    QCOMPARE(ini.value("MonitorForm/Top").toInt(), 120);
    QCOMPARE(ini.value("MonitorForm/StayOnTop").toInt(), 1);
    QCOMPARE(ini.value("DescriptionForm/Width").toInt(), 400);
    QCOMPARE(ini.value("DescriptionForm/StayOnTop").toInt(), 1);
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::WindowPlacesTest)
#include "window_places_test.moc"
