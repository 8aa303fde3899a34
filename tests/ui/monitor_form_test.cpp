// The monitor window driven through its own controls: the object box, the table, "Show", the
// fall-back to the Earth, hiding and staying on top.
#include "ui/monitor_form.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QWindow>
#include <cmath>
#include <memory>

#include "ephemerides/kepler_orbits.h"
#include "model/astronomical_objects.h"
#include "scene/solar_system.h"
#include "scene/zoom.h"
#include "support/recording_prompter.h"
#include "support/scene_date.h"
#include "support/screenshots.h"
#include "ui/scene_controller.h"

namespace kestrova {

namespace {

// A scene at 1 January 2000 12:00 UT with its monitor, as the main window holds them.
struct Fixture {
  TSolarSystem scene{TestStartDate()};
  testing::TRecordingPrompter prompter;
  TSceneController controller{scene, prompter};
  TMonitorForm monitor{controller};

  // The main window shows every date through SetDate, which also decides whether minor
  // bodies may be shown.
  Fixture() { scene.SetDate(TestStartDate()); }

  QComboBox& box() { return *monitor.findChild<QComboBox*>("CBObject"); }
  QTableWidget& grid() { return *monitor.findChild<QTableWidget*>("StringGrid"); }
  QString caption(int row) { return grid().item(row, 0)->text(); }
  QString value(int row) { return grid().item(row, 1)->text(); }
  double number(int row) {
    bool ok = false;
    const double x = QLocale().toDouble(value(row), &ok);
    if (!ok) qWarning() << "no number:" << value(row);
    return x;
  }
  void click(const char* name) {
    QTest::mouseClick(monitor.findChild<QToolButton*>(name), Qt::LeftButton);
  }
  // Types into the object box as a user does, ending with Enter.
  void choose(const QString& typed) {
    box().lineEdit()->selectAll();
    QTest::keyClicks(box().lineEdit(), typed);
    QTest::keyClick(box().lineEdit(), Qt::Key_Return);
  }
  TAsteroid& addMinorBody(const char* name, Extended a) {
    TOrbitalElements el{2451545.0L, 0, 0, 0, a, 0.9856076686L / (a * std::sqrt(a)), 0, 0};
    return dynamic_cast<TAsteroid&>(
        scene.AsteroidsList().Add(std::make_unique<TAsteroid>(name, el, 0x008080)));
  }
};

}  // namespace

class MonitorFormTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { QLocale::setDefault(QLocale::c()); }

  void StartsOnTheEarthSeenFromTheSun() {
    Fixture f;
    f.monitor.AssignScene(&f.scene);
    QCOMPARE(f.monitor.windowTitle(), QString("Monitor"));
    QVERIFY(f.monitor.StayOnTop());
    QCOMPARE(f.box().count(), 28);
    QCOMPARE(f.box().currentText(), QString("Earth"));
    QCOMPARE(f.monitor.RowLayout(), TMonitorLayout::Planet);
    QCOMPARE(f.grid().rowCount(), 20);
    QCOMPARE(f.monitor.size(), QSize(292, 371));
    QCOMPARE(f.caption(5), QString("heliocentric distance [AU]"));
    QVERIFY(std::abs(f.number(5) - 1) < 0.02);
    QCOMPARE(f.caption(14), QString("elongation from sun (for centered obj.)"));
    QCOMPARE(f.value(14), QString("n.c."));
    QVERIFY(std::abs(f.number(19) - 1374) < 60);
    testing::Shot(f.monitor, "monitor_form_earth");

    // The decimal separator is the user's.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    f.monitor.AssignScene(&f.scene);
    QVERIFY(f.value(5).startsWith("0,98"));
    QCOMPARE(f.value(17), QString("5,974E+24"));
  }

  void TheObjectBoxSwitchesTheRowLayouts() {
    Fixture f;
    f.monitor.AssignScene(&f.scene);
    f.monitor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.monitor));
    QSignalSpy named(&f.monitor, &TMonitorForm::selectedNameChanged);

    // Case does not matter, and the box completes what was typed.
    f.choose("phoe");
    QCOMPARE(f.monitor.SelectedName(), QString("Phoebe (S IX)"));
    QCOMPARE(f.box().currentText(), QString("Phoebe (S IX)"));
    QCOMPARE(named.count(), 1);
    QCOMPARE(f.monitor.RowLayout(), TMonitorLayout::Satellite);
    QCOMPARE(f.grid().rowCount(), 10);
    QCOMPARE(f.monitor.size(), QSize(292, 201));
    QCOMPARE(f.caption(5), QString("mean orbital period (retrograde)"));
    QCOMPARE(f.caption(7), QString("mean orbital inclination to ecliptic"));
    testing::Shot(f.monitor, "monitor_form_phoebe");

    f.choose("io (j i)");
    QCOMPARE(f.monitor.SelectedName(), QString("Io (J I)"));
    QCOMPARE(f.caption(5), QString("mean orbital period"));
    QCOMPARE(f.caption(7), QString("mean orbital inclination to planetary equ."));
    QCOMPARE(f.value(5), QString("1 d 18 h"));

    f.choose("Moon");
    QCOMPARE(f.monitor.RowLayout(), TMonitorLayout::Moon);
    QCOMPARE(f.grid().rowCount(), 14);
    QCOMPARE(f.monitor.size(), QSize(292, 269));

    // A text that names no body leaves the choice as it was.
    f.choose("Vulcan");
    QCOMPARE(f.monitor.SelectedName(), QString("Moon"));
    QCOMPARE(f.box().currentText(), QString("Moon"));

    // The arrow keys drop the list.
    QTest::keyClick(f.box().lineEdit(), Qt::Key_Down);
    QVERIFY(f.box().view()->isVisible());
    f.box().hidePopup();
  }

  void MinorBodiesComeAndGoWithTheScene() {
    Fixture f;
    f.addMinorBody("Grazer", 0.05L);  // 7.48 million km from the Sun
    f.scene.Recompute();
    f.monitor.AssignScene(&f.scene);
    QCOMPARE(f.box().count(), 29);
    QCOMPARE(f.box().itemText(28), QString("Grazer"));

    f.monitor.SelectObject("grazer");
    QCOMPARE(f.monitor.SelectedName(), QString("Grazer"));
    QCOMPARE(f.monitor.RowLayout(), TMonitorLayout::MinorBody);
    QCOMPARE(f.monitor.size(), QSize(292, 303));
    QCOMPARE(f.caption(5), QString("heliocentric distance [1000 km]"));
    QCOMPARE(f.value(5), QString("7480"));
    QCOMPARE(f.caption(6), QString("distance from centered object [1000 km]"));

    // Removed from the scene: the monitor shows the Earth.
    QSignalSpy named(&f.monitor, &TMonitorForm::selectedNameChanged);
    f.scene.AsteroidsList().RemoveByName("Grazer");
    f.monitor.AssignScene(&f.scene);
    QCOMPARE(f.box().count(), 28);
    QCOMPARE(f.monitor.SelectedName(), QString("Earth"));
    QCOMPARE(named.count(), 1);
    QCOMPARE(f.monitor.RowLayout(), TMonitorLayout::Planet);
    QCOMPARE(f.monitor.ShownObject(), &f.scene.Planet(kEarth));

    // Out of the years in which minor bodies are shown, the box has none.
    f.addMinorBody("Grazer", 0.05L);
    f.scene.SetDate(TDateRec{1, 1, 1900, 0, 0, 0, 0});
    f.monitor.AssignScene(&f.scene);
    QCOMPARE(f.box().count(), 28);
  }

  void ShowCentresAndZooms() {
    Fixture f;
    f.scene.SetCenterObject(kEarth);
    f.monitor.AssignScene(&f.scene);
    QSignalSpy view(&f.controller, &TSceneController::viewChanged);

    f.monitor.SelectObject("Jupiter");
    QVERIFY(f.value(6) != f.value(5));
    f.click("SBShowObject");
    QCOMPARE(f.scene.CenterObject(), kSunIndex);
    QCOMPARE(f.scene.Dim(), 1.2L * f.scene.Planet(kJupiter).Elements.SemiMajorAxis);
    QCOMPARE(view.count(), 1);
    // Seen from the Sun now, the table says so.
    QCOMPARE(f.value(6), f.value(5));

    f.monitor.SelectObject("Io (J I)");
    f.click("SBShowObject");
    QCOMPARE(f.scene.CenterObject(), kJupiter);
    QVERIFY(std::abs(f.scene.Dim() - 1.2L * 422000 / 149597870) < 1e-15L);

    // A body too far for the scene's widest view (1.4 x 200 AU > 100 AU) is shown as far out
    // as the zoom bar goes, not left where the view was.
    f.addMinorBody("Sedna-like", 200);
    f.scene.Recompute();
    f.monitor.AssignScene(&f.scene);
    f.monitor.SelectObject("Sedna-like");
    f.click("SBShowObject");
    QCOMPARE(f.scene.CenterObject(), kSunIndex);
    QCOMPARE(f.scene.Dim(), DimOfPosition(150));
  }

  void ShowFindsTheBodyAgainWhenItLeftTheScene() {
    Fixture f;
    f.addMinorBody("Far", 30);
    f.scene.Recompute();
    f.monitor.AssignScene(&f.scene);
    f.monitor.SelectObject("Far");
    // The body is freed before the monitor hears of it.
    f.scene.AsteroidsList().Clear();
    f.click("SBShowObject");
    QCOMPARE(f.monitor.SelectedName(), QString("Earth"));
    QCOMPARE(f.scene.CenterObject(), kSunIndex);
    QCOMPARE(f.scene.Dim(), 1.2L * f.scene.Planet(kEarth).Elements.SemiMajorAxis);

    // Without a scene nothing is shown and nothing moves.
    f.monitor.AssignScene(nullptr);
    f.monitor.SelectObject("Mars");
    f.click("SBShowObject");
    QCOMPARE(f.monitor.ShownObject(), nullptr);
    QCOMPARE(f.scene.CenterObject(), kSunIndex);
  }

  void HidingSignalsButStayOnTopKeepsItShown() {
    Fixture f;
    QSignalSpy hidden(&f.monitor, &TMonitorForm::hidden);
    f.monitor.move(300, 200);
    f.monitor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.monitor));
    f.monitor.SetStayOnTop(false);
    QVERIFY(!f.monitor.StayOnTop());
    QVERIFY(f.monitor.isVisible());
    QCOMPARE(f.monitor.pos(), QPoint(300, 200));
    QCOMPARE(hidden.count(), 0);

    f.monitor.close();
    QVERIFY(!f.monitor.isVisible());
    QCOMPARE(hidden.count(), 1);
  }

  // A monitor kept on top covered the print dialog and the file dialogs that opened under it.
  void StepsDownWhileAModalDialogIsOpen() {
    Fixture f;
    f.monitor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.monitor));
    auto onTop = [&] {
      return f.monitor.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
    };
    QVERIFY(onTop());

    // As the program's dialogs and message boxes run: modal for the whole program.
    QDialog dialog;
    dialog.setModal(true);
    dialog.show();
    QVERIFY(!onTop());
    // The user's choice stays what it was: the box and the settings still say "on top".
    QVERIFY(f.monitor.StayOnTop());
    QVERIFY(f.monitor.isVisible());

    dialog.hide();
    QVERIFY(onTop());

    // A window that is not kept on top stays in the normal layer after the dialog.
    f.monitor.SetStayOnTop(false);
    dialog.show();
    dialog.hide();
    QVERIFY(!onTop());
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::MonitorFormTest)
#include "monitor_form_test.moc"
