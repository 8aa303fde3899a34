// The "&Time" tab: the caption and fields of ShowDate, stepping by each unit and at the
// limits, fields that revert on unreadable text, real time on an injected clock, and the
// animation driven through its tick.
#include "ui/time_panel.h"

#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include "model/astronomical_objects.h"
#include "numerics/time_step.h"
#include "scene/solar_system.h"
#include "support/form_fixture.h"
#include "ui/scene_controller.h"

namespace kestrova {

namespace {

Extended ShownJD(TSolarSystemForm& form) {
  return DateToJD(form.Controller().DisplayDate());
}

}  // namespace

class TimePanelTest : public QObject {
  Q_OBJECT
 private slots:
  void ShowDateWritesCaptionFieldsAndJulianDate_data() {
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("hour");
    QTest::addColumn<int>("minute");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("jd");
    QTest::newRow("AD") << 1 << 1 << 2000 << 12 << 0 << "Kestrova - 01.01.2000 - 12:00 UT"
                        << "01.01.2000"
                        << "12:00"
                        << "JD 2451545.000";
    QTest::newRow("BC") << 15 << 3 << -44 << 6 << 30
                        << "Kestrova - 15.03.-43 (15.3.044 BC) - 06:30 UT"
                        << "15.03.-43"
                        << "6:30"
                        << "JD 1705425.771";
    QTest::newRow("1 BC") << 1 << 1 << -1 << 9 << 5 << "Kestrova - 01.01.0 (1.1.001 BC) - 09:05 UT"
                          << "01.01.0"
                          << "9:05"
                          << "JD 1721057.878";
  }
  void ShowDateWritesCaptionFieldsAndJulianDate() {
    QFETCH(int, day);
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(int, hour);
    QFETCH(int, minute);
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    form.Controller().ShowDate({day, month, year, hour, minute, 0, 0});
    QTEST(form.windowTitle(), "caption");
    QTEST(f.Text("EDate"), "date");
    QTEST(f.Text("ETime"), "time");
    QTEST(f.Text("JDLabel"), "jd");
    QCOMPARE(form.Scene().SceneDate(), form.Controller().DisplayDate());
  }

  void StepsByEachUnitForwardAndBack_data() {
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QString>("step");
    QTest::addColumn<double>("days");
    QTest::addColumn<QString>("label");
    QTest::newRow("years") << QByteArray("SBSidYears") << "1" << 365.25636024 << "1 sid. year(s)";
    QTest::newRow("days") << QByteArray("SBDays") << "2.5" << 2.5 << "2.5 day(s)";
    QTest::newRow("hours") << QByteArray("SBHours") << "-3" << -0.125 << "-3 hour(s)";
    QTest::newRow("minutes") << QByteArray("SBMinutes") << "90" << 0.0625 << "90 minute(s)";
  }
  void StepsByEachUnitForwardAndBack() {
    QFETCH(QByteArray, button);
    QFETCH(QString, step);
    QFETCH(double, days);
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    f.Find<QLineEdit>("ETimeValue")->setText(step);
    f.Click(button.constData());
    QTEST(f.Text("LTimeStep"), "label");
    const Extended start = ShownJD(form);
    f.Click("SBDateUp");
    QVERIFY(std::abs(double(ShownJD(form) - start) - days) < 1e-5);
    f.Click("SBDateDown");
    f.Click("SBDateDown");
    QVERIFY(std::abs(double(ShownJD(form) - start) + days) < 1e-5);
    QCOMPARE(form.Controller().DisplayDate().Zone, 0);
  }

  // However long the step's text, the tab keeps the panel's width: the label is shortened on
  // screen and the whole value is in its tool tip, and the buttons stay where a click finds them.
  void ALongStepKeepsThePanelsWidth() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    form.SetPage(0);
    QWidget* panel = f.Find("ControlPanel");
    const int width = panel->width();
    f.Click("SBSidYears");
    f.Type("ETimeValue", "0.0416666666666667");
    QVERIFY(std::abs(form.Controller().TimeStep() - 1 / 24.0L) < 1e-15L);
    QCoreApplication::sendPostedEvents();
    panel->layout()->activate();
    QCOMPARE(panel->width(), width);
    for (const char* name : {"GBTime", "SBMinutes", "SBRealTime", "LTimeStep", "ETimeValue"}) {
      QWidget* w = f.Find(name);
      const QRect inPanel(w->mapTo(panel, QPoint(0, 0)), w->size());
      QVERIFY2(panel->rect().contains(inPanel), name);
    }
    QCOMPARE(f.Find("LTimeStep")->toolTip(), QStringLiteral("0.0416666666666667 sid. year(s)"));
    QVERIFY(f.Text("LTimeStep").endsWith(QChar(0x2026)));
    f.Click("SBMinutes");
    QCOMPARE(form.Controller().TimeUnit(), TTimeUnit::Minute);
  }

  // A pressed toggle is told from a released one at a glance: their faces differ clearly in
  // brightness, not by a shade of grey.
  void PressedTogglesStandOut() {
    testing::TFormFixture f;
    f.Start().SetPage(0);
    auto brightness = [&](const char* name) {
      const QImage face = f.Find<QWidget>(name)->grab().toImage();
      double sum = 0;
      for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x) sum += qGray(face.pixel(x, y));
      return sum / (face.width() * face.height());
    };
    QVERIFY(f.Find<QToolButton>("SBDays")->isChecked());
    QVERIFY(!f.Find<QToolButton>("SBHours")->isChecked());
    const double pressed = brightness("SBDays");
    const double released = brightness("SBHours");
    QVERIFY2(released - pressed > 60,
             qPrintable(QString("%1 against %2").arg(pressed).arg(released)));
  }

  void StepsStopAtTheLimitsOneSidedly() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    TSceneController& c = form.Controller();
    // Half a day below the upper limit, a step of one day forward is refused.
    c.ShowDate(JDToDate(0, MaxShowJD - 0.5L));
    f.Click("SBDateUp");
    QCOMPARE(ShownJD(form), MaxShowJD - 0.5L);
    // A negative step goes back in time and is tested only against the upper limit...
    f.Type("ETimeValue", "-2");
    f.Click("SBDateUp");
    QCOMPARE(ShownJD(form), MaxShowJD - 2.5L);
    // ...while below the lower limit no date is shown at all.
    c.ShowDate(JDToDate(0, MinShowJD + 0.5L));
    f.Click("SBDateUp");
    QCOMPARE(ShownJD(form), MinShowJD + 0.5L);
    f.Type("ETimeValue", "1");
    f.Click("SBDateDown");
    QCOMPARE(ShownJD(form), MinShowJD + 0.5L);
    // ShowDate itself keeps the date for a date outside the range.
    c.ShowDate({1, 1, 6500, 0, 0, 0, 0});
    QCOMPARE(ShownJD(form), MinShowJD + 0.5L);
    QCOMPARE(form.Scene().SceneDate(), c.DisplayDate());
  }

  void UnreadableTextsKeepTheValues() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    const TDateRec shown = form.Controller().DisplayDate();
    for (const char* text : {"13.13.2000", "yesterday", "1.1.7000", "1.1.6100", "0.0.0"}) {
      f.Type("EDate", QString::fromLatin1(text));
      QCOMPARE(f.Text("EDate"), QStringLiteral("15.03.2021"));
      QCOMPARE(form.Controller().DisplayDate(), shown);
    }
    for (const char* text : {"25:00", "12:61", "noon"}) {
      f.Type("ETime", QString::fromLatin1(text));
      QCOMPARE(f.Text("ETime"), QStringLiteral("15:30:00"));
      QCOMPARE(form.Controller().DisplayDate(), shown);
    }
    f.Type("ETimeValue", "0.25");
    for (const char* text : {"nan", "inf", "-inf", "1e4000", "2 days", "", "0x10"}) {
      f.Type("ETimeValue", QString::fromLatin1(text));
      QCOMPARE(form.Controller().TimeStep(), 0.25L);
      QCOMPARE(f.Text("ETimeValue"), QStringLiteral("0.25"));
    }
    QCOMPARE(f.prompter.asked, QStringList());
    // The field that reverts says why, where the eye is.
    const std::pair<const char*, const char*> refusals[] = {
        {"EDate", "1.1.6100"}, {"EDate", "yesterday"}, {"ETime", "noon"}, {"ETimeValue", "2 days"}};
    const QString reasons[] = {QStringLiteral("from 2.1.2000 BC to 2.1.6000"),
                               QStringLiteral("a date as day.month.year"),
                               QStringLiteral("a time as hours:minutes"),
                               QStringLiteral("a time step is a decimal number")};
    for (size_t i = 0; i < std::size(refusals); ++i) {
      QToolTip::hideText();
      f.Type(refusals[i].first, QString::fromLatin1(refusals[i].second));
      QVERIFY2(QToolTip::text().contains(reasons[i]), qPrintable(QToolTip::text()));
    }
    // Readable texts are taken; the date parser moves a day after the month's end to its
    // last day.
    f.Type("EDate", "31.02.2000");
    QCOMPARE(f.Text("EDate"), QStringLiteral("29.02.2000"));
    f.Type("EDate", "24.12.1999");
    f.Type("ETime", "9:05");
    QCOMPARE(form.Controller().DisplayDate(), (TDateRec{24, 12, 1999, 9, 5, 0, 0}));
    QCOMPARE(form.windowTitle(), QStringLiteral("Kestrova - 24.12.1999 - 09:05 UT"));
  }

  void RealTimeFollowsTheClockUntilAControlChangesTheDate() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    TSceneController& c = form.Controller();
    c.ShowDate({1, 1, 2000, 0, 0, 0, 0});
    f.Click("SBRealTime");
    QVERIFY(c.RealTimeMode());
    QVERIFY(c.RealTimeTimer().isActive());
    QCOMPARE(c.RealTimeTimer().interval(), 60000);
    QCOMPARE(c.DisplayDate(), f.now);
    f.now.Minute += 1;
    c.RealTimeTick();
    QCOMPARE(c.DisplayDate(), f.now);
    f.Click("SBDateUp");
    QVERIFY(!c.RealTimeMode());
    QVERIFY(!c.RealTimeTimer().isActive());
    QVERIFY(!f.Find<QToolButton>("SBRealTime")->isChecked());
    // Now shows the clock once, without real time.
    c.ShowDate({1, 1, 2000, 0, 0, 0, 0});
    f.Click("SBNow");
    QCOMPARE(c.DisplayDate(), f.now);
    QVERIFY(!c.RealTimeMode());
    f.Click("SBZero");
    QCOMPARE(c.DisplayDate(), (TDateRec{15, 3, 2021, 0, 0, 0, 0}));
  }

  void AnimationStepsFromMidnightAndStopReturnsToTheStart() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    TSceneController& c = form.Controller();
    auto* start = f.Find<QToolButton>("SBStartAnimate");
    auto* stop = f.Find<QToolButton>("SBStopAnimate");
    auto* pause = f.Find<QToolButton>("SBPauseAnimate");
    auto* invert = f.Find<QToolButton>("SBInvert");
    for (QToolButton* b : {start, stop, pause, invert}) QVERIFY(b->isEnabled() && !b->isChecked());

    f.Click("SBStartAnimate");
    QVERIFY(c.AnimationTimer().isActive());
    QCOMPARE(c.AnimationTimer().interval(), 200);
    QVERIFY(start->isChecked() && !start->isEnabled());
    QVERIFY(stop->isEnabled() && pause->isEnabled() && invert->isEnabled());
    // The date shown does not change until the first tick, which steps from 00:00:00.
    QCOMPARE(form.Scene().SceneDate(), f.now);
    form.TimePanel().AnimationTick();
    QCOMPARE(c.DisplayDate(), (TDateRec{16, 3, 2021, 0, 0, 0, 0}));
    form.TimePanel().AnimationTick();
    QCOMPARE(c.DisplayDate(), (TDateRec{17, 3, 2021, 0, 0, 0, 0}));
    f.Click("SBInvert");
    form.TimePanel().AnimationTick();
    QCOMPARE(c.DisplayDate(), (TDateRec{16, 3, 2021, 0, 0, 0, 0}));

    f.Click("SBPauseAnimate");
    QVERIFY(!c.AnimationTimer().isActive());
    f.Click("SBPauseAnimate");
    QVERIFY(c.AnimationTimer().isActive());

    f.Click("SBStopAnimate");
    QVERIFY(!c.AnimationTimer().isActive());
    QCOMPARE(c.DisplayDate(), f.now);
    QVERIFY(start->isEnabled() && !start->isChecked());
    QVERIFY(!stop->isEnabled() && !pause->isEnabled() && !invert->isEnabled());
    QVERIFY(!pause->isChecked() && !invert->isChecked());
  }

  void PauseOrStopBeforeAnyStartChangeNothing() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    f.Click("SBPauseAnimate");
    f.Click("SBPauseAnimate");
    QVERIFY(!form.Controller().AnimationTimer().isActive());
    f.Click("SBStopAnimate");
    QCOMPARE(form.Controller().DisplayDate(), f.now);
  }

  void LeavingTheYearsOfMinorBodiesIsToldOnce() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    TOrbitalElements ceres;
    ceres.Epoch = 2451545.0L;
    ceres.SemiMajorAxis = 2.77L;
    ceres.DailyMotion = 0.214L;
    form.Scene().AsteroidsList().Add(std::make_unique<TAsteroid>("Ceres", ceres, 0x008080));
    form.Scene().AsteroidsList().Add(std::make_unique<TAsteroid>("Vesta", ceres, 0x008080));
    f.Type("EDate", "1.1.2051");
    f.Type("EDate", "1.1.2060");
    f.Type("EDate", "1.1.2050");
    QCOMPARE(f.prompter.asked,
             QStringList({"message: One or more objects can not be shown for the selected date "
                          "due to uncertainties in the calculation of the position(s):\r"
                          "Ceres, Vesta."}));
    QVERIFY(f.Find("GBOtherObjects")->isEnabled());
    f.Type("EDate", "31.12.1949");
    QVERIFY(!f.Find("GBOtherObjects")->isEnabled());
    QCOMPARE(f.prompter.asked.size(), 2);
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::TimePanelTest)
#include "time_panel_test.moc"
