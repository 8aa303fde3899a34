// Window places: a place off every screen comes back onto the primary screen; the tool windows
// take their places and styles from the settings and give them back at the end.
#include "ui/window_places.h"

#include <QCheckBox>
#include <QSettings>
#include <QTest>
#include <QToolButton>

#include "support/form_fixture.h"
#include "ui/description_form.h"
#include "ui/monitor_form.h"

namespace kestrova {

class WindowPlacesTest : public QObject {
  Q_OBJECT
 private slots:
  void APlaceOffEveryScreenComesBackOntoThePrimary_data() {
    QTest::addColumn<QRect>("wanted");
    QTest::addColumn<QRect>("placed");
    // Two screens side by side, the primary on the left.
    QTest::newRow("on the primary") << QRect(508, 260, 744, 631) << QRect(508, 260, 744, 631);
    QTest::newRow("on the second") << QRect(2000, 100, 744, 631) << QRect(2000, 100, 744, 631);
    QTest::newRow("caption bar partly on")
        << QRect(-650, 10, 744, 631) << QRect(-650, 10, 744, 631);
    QTest::newRow("too little to grab") << QRect(-700, 10, 744, 631) << QRect(0, 10, 744, 631);
    QTest::newRow("left of all") << QRect(-3000, 200, 744, 631) << QRect(0, 200, 744, 631);
    QTest::newRow("below all") << QRect(300, 5000, 744, 631) << QRect(300, 1024 - 631, 744, 631);
    QTest::newRow("above all") << QRect(300, -640, 744, 631) << QRect(300, 0, 744, 631);
    QTest::newRow("where a third screen was")
        << QRect(3400, 300, 335, 292) << QRect(1280 - 335, 300, 335, 292);
    QTest::newRow("larger than the screen")
        << QRect(-5000, -5000, 2000, 1500) << QRect(0, 0, 2000, 1500);
  }
  void APlaceOffEveryScreenComesBackOntoThePrimary() {
    QFETCH(QRect, wanted);
    const QRect primary(0, 0, 1280, 1024);
    const QList<QRect> screens{primary, QRect(1280, 0, 1920, 1080)};
    QTEST(PlaceOnScreens(wanted, screens, primary), "placed");
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
