// The dialogs and the print and export actions as the main window opens them: the lines and
// satellites buttons, Ctrl+P and "Save as bitmap", each answered through the prompter.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

#include "scene/solar_system.h"
#include "support/form_fixture.h"
#include "support/screenshots.h"
#include "support/widget_lookup.h"
#include "ui/scene_view.h"

namespace kestrova {

namespace {

void Click(QWidget& dialog, const char* name) {
  QTest::mouseClick(testing::ChildNamed<QAbstractButton>(dialog, name), Qt::LeftButton);
}

void Type(QWidget& dialog, const char* name, const QString& text) {
  auto* edit = testing::ChildNamed<QLineEdit>(dialog, name);
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

int VisibleSatellites(TSolarSystem& scene) {
  int visible = 0;
  for (int32_t planet = 0; planet < 9; ++planet) {
    for (const auto& s : scene.Planet(planet).Satellites.Items()) visible += s->Visible;
  }
  return visible;
}

}  // namespace

class FormDialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void LinesButtonEditsACopyThatOkHandsToTheScene() {
    testing::TFormFixture f;
    f.Start();
    TSolarSystem& scene = f.Form().Scene();
    QSignalSpy painted(&f.Form().View(), &TSceneView::painted);
    // Add a line (its dialog answered with OK), then OK.
    f.prompter.dialogs.push_back([](QDialog& d) {
      Click(d, "SBAdd");
      Click(d, "OKBtn");
      return d.result();
    });
    f.prompter.dialogs.push_back([](QDialog&) { return int(QDialog::Accepted); });
    f.Click("SBLines");
    QCOMPARE(f.prompter.asked, QStringList({"dialog: TDirectionsDlg", "dialog: TDirectionDlg"}));
    QCOMPARE(scene.DirectionList().Count(), 1);
    QCOMPARE(scene.DirectionList().Get(0).FromId, 9);
    QTRY_VERIFY(!painted.isEmpty());
    testing::Shot(f.Form(), "form_with_a_line");

    // Clear, then Cancel: the scene keeps its line.
    f.prompter.dialogs.push_back([](QDialog& d) {
      Click(d, "SBClear");
      Click(d, "CancelBtn");
      return d.result();
    });
    f.Click("SBLines");
    QCOMPARE(scene.DirectionList().Count(), 1);
  }

  void SatellitesButtonWritesTheFlagsOnOkOnly() {
    testing::TFormFixture f;
    f.Start();
    TSolarSystem& scene = f.Form().Scene();
    QCOMPARE(VisibleSatellites(scene), 22);
    f.prompter.dialogs.push_back([](QDialog& d) {
      Click(d, "SBNone");
      Click(d, "CancelBtn");
      return d.result();
    });
    f.Click("SBShowSatellites");
    QCOMPARE(VisibleSatellites(scene), 22);
    f.prompter.dialogs.push_back([](QDialog& d) {
      Click(d, "SBNone");
      Click(d, "CBTitan");
      Click(d, "OKBtn");
      return d.result();
    });
    f.Click("SBShowSatellites");
    QCOMPARE(VisibleSatellites(scene), 1);
    QVERIFY(scene.Planet(5).FindSatellite(164)->Visible);
    QCOMPARE(f.prompter.asked, QStringList({"dialog: TSatellitesDlg", "dialog: TSatellitesDlg"}));
  }

  void CtrlPPrintsTheShownDateToAPdfFile() {
    testing::TFormFixture f;
    f.Start();
    const QString pdf = f.HomeFile("plot.pdf");
    f.prompter.dialogs.push_back([&](QDialog& d) {
      Type(d, "EPdfFileName", pdf);
      Click(d, "RBBlackOnWhite");
      Click(d, "OKBtn");
      return d.result();
    });
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : &f.Form(), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(f.prompter.asked, QStringList{"dialog: TPrintDlg"});
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    QVERIFY2(!pdftotext.isEmpty(), "pdftotext is missing (scripts/install-deps installs it)");
    QProcess text;
    text.start(pdftotext, {pdf, "-"});
    QVERIFY(text.waitForFinished(60000));
    // The clock's present moment, 15 March 2021 15:30 UT, is the date shown.
    QVERIFY2(text.readAllStandardOutput().contains("15.03.2021 - 15:30:00UT (JD 2459289.146)"),
             qPrintable(pdf));
  }

  void SaveAsBitmapKeepsSizeAndFolderInTheWindow() {
    testing::TFormFixture f;
    f.Start();
    QCOMPARE(f.Form().BitmapSize(), 500);
    QDir(f.Home()).mkpath("pictures");
    const QString picture = f.HomeFile("pictures/plot.png");
    f.prompter.fileNames.push_back(picture);
    f.prompter.dialogs.push_back([](QDialog& d) {
      // The program folder and "default.png" for the start-up document.
      if (testing::ChildNamed<QLineEdit>(d, "FileNameEdit")->text() != "default.png")
        return int(QDialog::Rejected);
      Click(d, "SBFileName");
      testing::ChildNamed<QSpinBox>(d, "SESize")->setValue(250);
      Click(d, "OKBtn");
      return d.result();
    });
    f.Form().SaveAsBitmapAct->trigger();
    QCOMPARE(QImage(picture).size(), QSize(250, 250));
    QCOMPARE(f.Form().BitmapSize(), 250);
    QCOMPARE(f.Form().BitmapPath(), f.HomeFile("pictures/").toStdString());
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::FormDialogsTest)
#include "form_dialogs_test.moc"
