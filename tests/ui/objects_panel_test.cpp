// The "&Objects" tab: planets and satellites, and the list of picked minor bodies with its
// name rule, buttons, keys and caption.
#include "ui/objects_panel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

#include "model/astronomical_objects.h"
#include "scene/solar_system.h"
#include "support/form_fixture.h"

namespace kestrova {

namespace {

std::unique_ptr<TAsteroid> MinorBody(const std::string& name) {
  TOrbitalElements e;
  e.Epoch = 2451545.0L;
  e.SemiMajorAxis = 2.77L;
  e.Eccentricity = 0.08L;
  e.DailyMotion = 0.214L;
  return std::make_unique<TAsteroid>(name, e, 0x008080);
}

QStringList Names(const TOEObjectList& list) {
  QStringList names;
  for (const auto& body : list.Items()) names << QString::fromStdString(body->Name);
  return names;
}

QStringList Entries(QListWidget* list) {
  QStringList entries;
  for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
  return entries;
}

}  // namespace

class ObjectsPanelTest : public QObject {
  Q_OBJECT
 private slots:
  void ANameTakenAlreadyIsOfferedWithTheNextFreeNumber() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    TObjectsPanel& panel = form.ObjectsPanel();
    QVERIFY(panel.AddMinorBody(MinorBody("Ceres")));
    f.prompter.yesNo = {true, true, false};
    QVERIFY(panel.AddMinorBody(MinorBody("Ceres")));
    QVERIFY(panel.AddMinorBody(MinorBody("Ceres")));
    QVERIFY(!panel.AddMinorBody(MinorBody("Ceres")));
    panel.FinishAdd();
    QCOMPARE(Names(form.Scene().AsteroidsList()), QStringList({"Ceres", "Ceres (1)", "Ceres (2)"}));
    QCOMPARE(f.prompter.asked,
             QStringList({"question: The list includes always an object named 'Ceres'.\r"
                          "Do you wish do add the new object as 'Ceres (1)' ?",
                          "question: The list includes always an object named 'Ceres'.\r"
                          "Do you wish do add the new object as 'Ceres (2)' ?",
                          "question: The list includes always an object named 'Ceres'.\r"
                          "Do you wish do add the new object as 'Ceres (3)' ?"}));
    // The list box mirrors the scene, its last entry selected, the caption counts.
    auto* list = f.Find<QListWidget>("ObjectsListBox");
    QCOMPARE(Entries(list), Names(form.Scene().AsteroidsList()));
    QCOMPARE(list->currentRow(), 2);
    QCOMPARE(f.Find<QGroupBox>("GBOtherObjects")->title(), QStringLiteral("&Other objects (3)"));
    // Added bodies are computed for the date and take the colour of ShAsteroids.
    QVERIFY(form.Scene().AsteroidsList().Get(2).Pos.x != 0);
    QCOMPARE(form.Scene().AsteroidsList().Get(2).Color,
             form.Scene().GetObjectColor(kMinorBodyColorIndex));
  }

  void RemoveClearAndTheirKeys() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    TObjectsPanel& panel = form.ObjectsPanel();
    for (const char* name : {"Ceres", "Pallas", "Juno", "Vesta"})
      panel.AddMinorBody(MinorBody(name));
    panel.FinishAdd();
    auto* list = f.Find<QListWidget>("ObjectsListBox");
    auto* remove = f.Find<QToolButton>("SBRemoveObject");
    auto* clear = f.Find<QToolButton>("SBClearObjects");
    QVERIFY(remove->isEnabled() && clear->isEnabled());

    list->setCurrentRow(1);
    f.Click("SBRemoveObject");
    QCOMPARE(Names(form.Scene().AsteroidsList()), QStringList({"Ceres", "Juno", "Vesta"}));
    QCOMPARE(Entries(list), QStringList({"Ceres", "Juno", "Vesta"}));
    QCOMPARE(list->currentRow(), 0);
    list->setCurrentRow(2);
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(Names(form.Scene().AsteroidsList()), QStringList({"Ceres", "Juno"}));
    QCOMPARE(f.Find<QGroupBox>("GBOtherObjects")->title(), QStringLiteral("&Other objects (2)"));
    // Without a selection nothing is removed.
    list->setCurrentRow(-1);
    f.Click("SBRemoveObject");
    QCOMPARE(form.Scene().AsteroidsList().Count(), 2);

    // A click on a name lets the monitor show that body.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    QCOMPARE(form.State().MonitorBody, std::string("Juno"));

    f.Click("SBClearObjects");
    QCOMPARE(form.Scene().AsteroidsList().Count(), 0);
    QCOMPARE(list->count(), 0);
    QVERIFY(!remove->isEnabled() && !clear->isEnabled());
    QCOMPARE(f.Find<QGroupBox>("GBOtherObjects")->title(), QStringLiteral("&Other objects"));
  }

  void AddTakesWhatTheBrowserReturns() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    // Add (and the Insert key) takes what the browser returns.
    form.ObjectsPanel().SetBrowser([] {
      std::vector<std::unique_ptr<TAsteroid>> picked;
      picked.push_back(MinorBody("Ceres"));
      return picked;
    });
    f.prompter.yesNo = {true};
    f.Click("SBAddObject");
    QTest::keyClick(f.Find("ObjectsListBox"), Qt::Key_Insert);
    QCOMPARE(Names(form.Scene().AsteroidsList()), QStringList({"Ceres", "Ceres (1)"}));
  }

  void PlanetsSatellitesAllAndNone() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    TSolarSystem& s = form.Scene();
    f.Click("CBMars");
    QVERIFY(!s.Planet(3).Visible);
    f.Click("CBSatellites");
    QVERIFY(!s.ShowSatellites());
    f.Click("CBSun");
    QVERIFY(!s.ShowSun());
    f.Click("SBSelAll");
    for (int32_t i = 0; i < 9; ++i) QVERIFY(s.Planet(i).Visible);
    QVERIFY(s.ShowSatellites());
    QVERIFY(f.Find<QCheckBox>("CBMars")->isChecked());
    QVERIFY(!s.ShowSun());
    f.Click("CBSun");
    // "None" leaves the Sun shown.
    f.Click("SBDeselAll");
    for (int32_t i = 0; i < 9; ++i) QVERIFY(!s.Planet(i).Visible);
    QVERIFY(!s.ShowSatellites());
    QVERIFY(s.ShowSun());
    QVERIFY(!f.Find<QCheckBox>("CBEarth")->isChecked());
    QVERIFY(f.Find<QCheckBox>("CBSun")->isChecked());
  }

  void ColourFieldsRecolourTheirBodies() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    TSolarSystem& s = form.Scene();
    form.ObjectsPanel().AddMinorBody(MinorBody("Ceres"));
    form.ObjectsPanel().FinishAdd();
    f.prompter.colors = {TColor{0x0000AA}, TColor{0x00AA00}, TColor{0xAA0000}, TColor{0x123456}};
    QTest::mouseClick(f.Find("SHMars"), Qt::LeftButton);
    QTest::mouseClick(f.Find("ShSatellites"), Qt::LeftButton);
    QTest::mouseClick(f.Find("ShAsteroids"), Qt::LeftButton);
    QTest::mouseClick(f.Find("ShSun"), Qt::LeftButton);
    QCOMPARE(s.Planet(3).Color, TColor{0x0000AA});
    QCOMPARE(s.GetObjectColor(3), TColor{0x0000AA});
    QCOMPARE(s.Planet(0).Satellites.Get(0).Color, TColor{0x00AA00});
    QCOMPARE(s.AsteroidsList().Get(0).Color, TColor{0xAA0000});
    QCOMPARE(s.SunColor(), TColor{0x123456});
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::ObjectsPanelTest)
#include "objects_panel_test.moc"
