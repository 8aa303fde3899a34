// The main window as a whole: its controls and actions, the start without a last document, and
// the keys it sees before its controls.
#include "ui/solar_system_form.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "scene/solar_system.h"
#include "support/form_fixture.h"

namespace kestrova {

class SolarSystemFormTest : public QObject {
  Q_OBJECT
 private slots:
  void EveryControlIsThereWithItsCaption() {
    testing::TFormFixture f;
    f.Start();
    const std::pair<const char*, const char*> buttons[] = {
        {"SBSidYears", "Y"},
        {"SBDays", "D"},
        {"SBHours", "H"},
        {"SBMinutes", "M"},
        {"SBNow", "N"},
        {"SBZero", "Z"},
        {"SBRealTime", "R"},
        {"RBNone", "None"},
        {"RBRectangular", "Rect."},
        {"RBRadial", "Radial"},
        {"RBXY", "X-Y-Pl."},
        {"RBXZ", "X-Z-Pl."},
        {"RBZY", "Z-Y-Pl."},
        {"RB3D", "3D"},
        {"CBShowNames", "&Names"},
        {"CBShowOrbits", "&Orbits"},
        {"CBShowAxes", "&Axes"},
        {"CBShowRotation", "&Rot. direction"},
        {"CBShowPerpendiculars", "Perpendiculars"},
        {"CBShowApsides", "Ap&sides"},
        {"CBShowLinesOfNodes", "L&ines of nodes"},
        {"CBShowDirections", "User def. lines"},
        {"SBLines", ":::"},
        {"SBDescription", "Description"},
        {"CBDescriptionStayOnTop", "Stay on top"},
        {"SBMonitor", "Monitor"},
        {"CBMonitorStayOnTop", "Stay on top"},
        {"CBSun", "Sun"},
        {"CBEarth", "Earth"},
        {"CBPluto", "Pluto"},
        {"CBSatellites", "Satellites"},
        {"SBShowSatellites", ":::"},
        {"SBSelAll", "All"},
        {"SBDeselAll", "None"},
        {"SBAddObject", "Add"},
        {"SBRemoveObject", "Rem."},
        {"SBClearObjects", "Clear"},
        {"SBAllObjects", "Show all objects"},
        {"SBDatabase", "Data file"}};
    for (const auto& [name, caption] : buttons)
      QCOMPARE(f.Find<QAbstractButton>(name)->text(), QString::fromLatin1(caption));
    for (const char* name : {"ETimeValue",
                             "LTimeStep",
                             "SBDateUpDown",
                             "EDate",
                             "ETime",
                             "JDLabel",
                             "SBStartAnimate",
                             "SBStopAnimate",
                             "SBPauseAnimate",
                             "SBInvert",
                             "ShpGrid",
                             "ShpAxes",
                             "ShpPerpendiculars",
                             "ShpBackground",
                             "CBCenterObject",
                             "TBDim",
                             "TBRotX",
                             "TBRotZ",
                             "ShSun",
                             "SHEarth",
                             "ShVenus",
                             "ShSatellites",
                             "ObjectsListBox",
                             "ShAsteroids",
                             "SceneView"})
      f.Find(name);
    auto* tabs = f.Find<QTabWidget>("PageControl");
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->tabText(0), QStringLiteral("&Time"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("&View"));
    QCOMPARE(tabs->tabText(2), QStringLiteral("&Objects"));
  }

  void ActionsAndPopUpMenu() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    const std::tuple<QAction*, const char*, const char*, QKeySequence> table[] = {
        {form.OpenAct, "&Open file", "open file", QKeySequence("Ctrl+O")},
        {form.SaveAct, "&Save file", "save file", QKeySequence("Ctrl+S")},
        {form.PrintAct, "&Print", "print the current plot", QKeySequence("Ctrl+P")},
        {form.SaveAsBitmapAct, "Save &as bitmap", "save the current plot as a bitmap file", {}},
        {form.AboutAct, "A&bout", "about this program", {}},
        {form.ExitAct, "E&xit", "exit program", {}},
        {form.LoadTemplateAct, "Load &template file", "load template file (template.orb)",
         QKeySequence("Ctrl+T")}};
    for (const auto& [action, caption, hint, key] : table) {
      QCOMPARE(action->text(), QString::fromLatin1(caption));
      QCOMPARE(action->toolTip(), QString::fromLatin1(hint));
      QCOMPARE(action->shortcut(), key);
    }
    auto* popup = f.Find<QMenu>("PopupMenu");
    QStringList items;
    for (QAction* a : popup->actions()) items << (a->isSeparator() ? "-" : a->text());
    QCOMPARE(items, QStringList({"&Open file", "&Save file", "&Print", "Save &as bitmap",
                                 "Load &template file", "-", "A&bout"}));
  }

  void FirstStartIsQuietAndWritesTheTemplate() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    QVERIFY(f.prompter.asked.isEmpty());
    QVERIFY(QFile::exists(f.HomeFile("template.orb")));
    QCOMPARE(form.Scene().SceneDate(), f.now);
    QCOMPARE(form.windowTitle(), QStringLiteral("Kestrova - 15.03.2021 - 15:30 UT"));
    QCOMPARE(form.size(), QSize(744, 631));
    QCOMPARE(form.minimumSize(), QSize(674, 550));
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::SolarSystemFormTest)
#include "solar_system_form_test.moc"
