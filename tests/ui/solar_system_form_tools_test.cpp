// The monitor and the description window as the main window drives them: the "&Windows"
// group, the refills after every change of the scene, the list box choosing the monitor's body,
// "Show" moving the centre box and the zoom bar, and both windows travelling through the exit
// and the next start.
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QSlider>
#include <QTableWidget>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <cmath>
#include <memory>

#include "documents/text_document_summary.h"
#include "model/astronomical_objects.h"
#include "scene/solar_system.h"
#include "support/form_fixture.h"
#include "ui/description_form.h"
#include "ui/monitor_form.h"

namespace kestrova {

namespace {

TMonitorForm& Monitor(TSolarSystemForm& form) {
  return *form.findChild<TMonitorForm*>("MonitorForm");
}

TDescriptionForm& Description(TSolarSystemForm& form) {
  return *form.findChild<TDescriptionForm*>("DescriptionForm");
}

QString MonitorValue(TSolarSystemForm& form, int row) {
  return Monitor(form).findChild<QTableWidget*>("StringGrid")->item(row, 1)->text();
}

}  // namespace

class SolarSystemFormToolsTest : public QObject {
  Q_OBJECT
 private slots:
  void TheMonitorFollowsTheMainWindow() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    TMonitorForm& monitor = Monitor(form);
    QVERIFY(!monitor.isVisible() && !monitor.StayOnTop());
    f.Click("SBMonitor");
    QVERIFY(monitor.isVisible());
    QVERIFY(form.State().MonitorVisible);
    // Staying on top keeps the window shown and the button down.
    f.Click("CBMonitorStayOnTop");
    QVERIFY(monitor.StayOnTop() && monitor.isVisible());
    QVERIFY(f.Find<QToolButton>("SBMonitor")->isChecked());

    // A picked body, chosen in the main window's list.
    TOrbitalElements el{2459300.5L, 10.6L, 80.3L, 153.9L, 2.77L, 0.2141L, 0.0785L, 300.0L};
    form.Scene().AsteroidsList().Add(std::make_unique<TAsteroid>("Ceres", el, 0x008080));
    form.Scene().Recompute();
    form.UpdateControls();
    auto* list = f.Find<QListWidget>("ObjectsListBox");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    QCOMPARE(monitor.SelectedName(), QString("Ceres"));
    QCOMPARE(form.State().MonitorBody, std::string("Ceres"));

    // A new date and a new centre refill the table.
    const QString x = MonitorValue(form, 0);
    f.Type("EDate", "15.4.2021");
    QVERIFY(MonitorValue(form, 0) != x);
    const QString fromSun = MonitorValue(form, 6);
    auto* center = f.Find<QComboBox>("CBCenterObject");
    center->setFocus();
    QTest::keyClick(center, Qt::Key_Down);  // Mercury
    QCOMPARE(form.Scene().CenterObject(), 1);
    QVERIFY(MonitorValue(form, 6) != fromSun);

    // Clearing the list leaves the monitor on the Earth.
    f.Click("SBClearObjects");
    QCOMPARE(monitor.SelectedName(), QString("Earth"));
    QCOMPARE(form.State().MonitorBody, std::string("Earth"));

    // "Show" moves the centre box and the zoom bar with the scene.
    monitor.SelectObject("Jupiter");
    QTest::mouseClick(monitor.findChild<QToolButton*>("SBShowObject"), Qt::LeftButton);
    const Extended dim = 1.2L * form.Scene().Planet(kJupiter).Elements.SemiMajorAxis;
    QCOMPARE(form.Scene().Dim(), dim);
    QCOMPARE(center->currentText(), QString("Sun"));
    QCOMPARE(f.Find<QSlider>("TBDim")->value(), int(std::trunc(std::log(dim / 0.003L) * 15)));
    monitor.SelectObject("Io (J I)");
    QTest::mouseClick(monitor.findChild<QToolButton*>("SBShowObject"), Qt::LeftButton);
    QCOMPARE(center->currentText(), QString("Jupiter"));

    // Closed by the user: the button comes up.
    monitor.close();
    QVERIFY(!f.Find<QToolButton>("SBMonitor")->isChecked());
    QVERIFY(!form.State().MonitorVisible);
  }

  void BothWindowsResumeAtTheNextStart() {
    testing::TFormFixture f;
    std::string summary;
    {
      TSolarSystemForm& form = f.Start();
      f.Click("SBMonitor");
      Monitor(form).SelectObject("mars");
      Monitor(form).move(120, 140);
      f.Click("CBMonitorStayOnTop");

      f.Click("SBDescription");
      TDescriptionForm& description = Description(form);
      QVERIFY(description.isVisible());
      QTextEdit& memo = description.Memo();
      QTest::keyClicks(&memo, "Mars at opposition");
      memo.selectAll();
      QTest::mouseClick(description.findChild<QToolButton*>("SBBold"), Qt::LeftButton);
      f.prompter.colors.push_back(TColor{0xE0F0FF});
      QTest::mouseClick(description.findChild<QToolButton*>("SBColor"), Qt::LeftButton);
      QCOMPARE(form.State().DescriptionColor, TColor{0xE0F0FF});
      description.SetPlace({200, 150, 400, 300});
      summary = testing::Summary(*memo.document());
      form.close();
    }
    QCOMPARE(f.prompter.asked, QStringList({"color"}));
    QVERIFY(QFile::exists(f.HomeFile("~tmp.rtf")));
    f.Stop();

    TSolarSystemForm& form = f.Start();
    TMonitorForm& monitor = Monitor(form);
    QVERIFY(monitor.isVisible() && monitor.StayOnTop());
    QCOMPARE(monitor.pos(), QPoint(120, 140));
    QCOMPARE(monitor.SelectedName(), QString("Mars"));
    QVERIFY(f.Find<QToolButton>("SBMonitor")->isChecked());
    QVERIFY(f.Find<QCheckBox>("CBMonitorStayOnTop")->isChecked());

    TDescriptionForm& description = Description(form);
    QVERIFY(description.isVisible() && !description.StayOnTop());
    QCOMPARE(testing::Summary(*description.Memo().document()), summary);
    QVERIFY(summary.find(" b}Mars at opposition") != std::string::npos);
    QCOMPARE(description.Color(), TColor{0xE0F0FF});
    QCOMPARE(description.Place(), (TWindowGeometry{200, 150, 400, 300}));
    QVERIFY(f.Find<QToolButton>("SBDescription")->isChecked());

    // Closed by the user and opened again from the main window: the same text.
    description.close();
    QVERIFY(!f.Find<QToolButton>("SBDescription")->isChecked());
    QVERIFY(!form.State().DescriptionVisible);
    f.Click("SBDescription");
    QVERIFY(description.isVisible());
    QCOMPARE(testing::Summary(*description.Memo().document()), summary);
  }

  void ToolWindowsOfTheStartDocumentWaitForTheMainWindow() {
    // Shown before the main window is on the screen, a tool window would not belong to it,
    // and the window manager would keep it under the main window.
    testing::TFormFixture f;
    {
      TSolarSystemForm& form = f.Start();
      f.Click("SBMonitor");
      f.Click("SBDescription");
      form.close();
    }
    f.Stop();
    TSessionOptions sessionOptions;
    sessionOptions.Prompter = &f.prompter;
    TSession session(std::move(sessionOptions));
    TSolarSystemForm form(session, {});
    QVERIFY(form.State().MonitorVisible && form.State().DescriptionVisible);
    QVERIFY(!Monitor(form).isVisible() && !Description(form).isVisible());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY(Monitor(form).isVisible() && Description(form).isVisible());
    QVERIFY(form.findChild<QToolButton*>("SBMonitor")->isChecked());
    QVERIFY(form.findChild<QToolButton*>("SBDescription")->isChecked());
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::SolarSystemFormToolsTest)
#include "solar_system_form_tools_test.moc"
