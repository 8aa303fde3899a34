// "Show satellites": boxes found by the satellites' Ids, the companions of Tethys and Dione
// coupled to their primaries, and the flags written through the controller after OK only.
#include "ui/satellites_dlg.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include "model/astronomical_objects.h"
#include "scene/solar_system.h"
#include "support/recording_prompter.h"
#include "support/scene_date.h"
#include "support/screenshots.h"

namespace kestrova {

namespace {

const int32_t kAllIds[] = {13,  140, 141, 142, 143, 156, 157, 158, 159, 160, 161,
                           162, 163, 164, 165, 166, 167, 170, 171, 172, 173, 174};

}  // namespace

class SatellitesDlgTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TSolarSystem> scene_;
  testing::TRecordingPrompter prompter_;
  std::unique_ptr<TSceneController> controller_;
  std::unique_ptr<TSatellitesDlg> dialog_;

  QCheckBox& Box(const char* name) {
    return *dialog_->findChild<QCheckBox*>(QString::fromLatin1(name));
  }
  void Click(const char* name) {
    QTest::mouseClick(dialog_->findChild<QAbstractButton*>(QString::fromLatin1(name)),
                      Qt::LeftButton);
  }
  // What the main window does when the dialog closes: the ticks of an accepted dialog go to
  // the controller.
  void Closed(TSceneController& controller) {
    if (dialog_->result() == QDialog::Accepted) controller.ApplySatellites(dialog_->Ticks());
  }
  TSatellite& Satellite(int32_t id) {
    for (int32_t planet = 0; planet < 9; ++planet) {
      if (TSatellite* s = scene_->Planet(planet).FindSatellite(id)) return *s;
    }
    qFatal("no satellite %d", id);
  }
  QList<int32_t> VisibleIds() {
    QList<int32_t> ids;
    for (int32_t id : kAllIds) {
      if (Satellite(id).Visible) ids << id;
    }
    return ids;
  }

 private slots:
  void initTestCase() {
    scene_ = std::make_unique<TSolarSystem>(TestStartDate());
    controller_ = std::make_unique<TSceneController>(*scene_, prompter_);
  }
  void init() {
    for (int32_t id : kAllIds) Satellite(id).Visible = true;
    dialog_ = std::make_unique<TSatellitesDlg>();
  }

  void BoxesCarryTheirSatellitesIds() {
    const auto& boxes = dialog_->SatelliteBoxes();
    QCOMPARE(int(boxes.size()), 22);
    for (size_t i = 0; i < boxes.size(); ++i) {
      QCOMPARE(boxes[i].second, kAllIds[i]);
      QCOMPARE(boxes[i].first->text(), QString::fromStdString(Satellite(kAllIds[i]).Name));
    }
  }

  void OpeningShowsTheFlagsAndOkWritesTheTicks() {
    Satellite(141).Visible = false;
    Satellite(170).Visible = false;
    dialog_->SetPlanets(scene_->PlanetsList());
    QVERIFY(!Box("CBEuropa").isChecked());
    QVERIFY(!Box("CBMiranda").isChecked());
    QVERIFY(Box("CBMoon").isChecked());
    for (const char* companion : {"CBTelesto", "CBCalypso", "CBHelene"}) {
      QVERIFY(Box(companion).isChecked());
      QVERIFY(Box(companion).isEnabled());
    }
    testing::Shot(*dialog_, "satellites_dlg");

    Click("CBTitan");
    Click("CBEuropa");
    Click("OKBtn");
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    QCOMPARE(VisibleIds().size(), 20);  // the dialog itself writes nothing
    Closed(*controller_);
    QVERIFY(!Satellite(164).Visible);
    QVERIFY(Satellite(141).Visible);
    QVERIFY(!Satellite(170).Visible);
    QCOMPARE(VisibleIds().size(), 20);
  }

  void ClearingAPrimaryClearsAndGreysItsCompanions() {
    dialog_->SetPlanets(scene_->PlanetsList());
    Click("CBTethys");
    for (const char* companion : {"CBTelesto", "CBCalypso"}) {
      QVERIFY(!Box(companion).isChecked());
      QVERIFY(!Box(companion).isEnabled());
    }
    QVERIFY(Box("CBHelene").isEnabled());
    Click("CBTethys");  // ticked again: the companions may be chosen, but are not ticked
    for (const char* companion : {"CBTelesto", "CBCalypso"}) {
      QVERIFY(!Box(companion).isChecked());
      QVERIFY(Box(companion).isEnabled());
    }
    Click("CBDione");
    QVERIFY(!Box("CBHelene").isChecked());
    QVERIFY(!Box("CBHelene").isEnabled());
    testing::Shot(*dialog_, "satellites_dlg_dione_cleared");
  }

  void NoneAndAllThenOk() {
    dialog_->SetPlanets(scene_->PlanetsList());
    Click("SBNone");
    for (const char* companion : {"CBTelesto", "CBCalypso", "CBHelene"})
      QVERIFY(!Box(companion).isEnabled());
    Click("OKBtn");
    Closed(*controller_);
    QVERIFY(VisibleIds().isEmpty());

    dialog_->SetPlanets(scene_->PlanetsList());
    Click("SBAll");
    for (const char* companion : {"CBTelesto", "CBCalypso", "CBHelene"}) {
      QVERIFY(Box(companion).isChecked());
      QVERIFY(Box(companion).isEnabled());
    }
    dialog_->show();  // Return presses the default button only when it is on screen
    QTest::keyClick(dialog_.get(), Qt::Key_Return);
    Closed(*controller_);
    QCOMPARE(VisibleIds().size(), 22);
  }

  void CancelKeepsEveryFlag() {
    Satellite(162).Visible = false;
    dialog_->SetPlanets(scene_->PlanetsList());
    Click("SBNone");
    Click("CBMoon");
    QTest::keyClick(dialog_.get(), Qt::Key_Escape);
    QCOMPARE(dialog_->result(), int(QDialog::Rejected));
    Closed(*controller_);
    QCOMPARE(VisibleIds().size(), 21);
    QVERIFY(!Satellite(162).Visible);
  }

  void ShowingRenewsTicksAndCouplingFromTheFlags() {
    // Tethys hidden since the last showing: its companions follow when the dialog opens.
    dialog_->SetPlanets(scene_->PlanetsList());
    Satellite(158).Visible = false;
    Satellite(160).Visible = false;
    dialog_->SetPlanets(scene_->PlanetsList());
    QVERIFY(!Box("CBTethys").isChecked());
    QVERIFY(!Box("CBCalypso").isChecked());
    QVERIFY(!Box("CBCalypso").isEnabled());
    // Telesto's own flag is still true: its box is ticked, though greyed out with Tethys.
    QVERIFY(Box("CBTelesto").isChecked());
    QVERIFY(!Box("CBTelesto").isEnabled());

    // A box whose satellite no planet knows keeps its tick; OK leaves that satellite alone.
    TSolarSystem other(TestStartDate());
    TSceneController otherController(other, prompter_);
    other.Planet(5).Satellites.Clear();
    Box("CBMimas").setChecked(false);
    dialog_->SetPlanets(other.PlanetsList());
    QVERIFY(!Box("CBMimas").isChecked());
    QVERIFY(Box("CBIo").isChecked());
    Click("OKBtn");
    Closed(otherController);
    QVERIFY(other.Planet(4).FindSatellite(140)->Visible);
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::SatellitesDlgTest)
#include "satellites_dlg_test.moc"
