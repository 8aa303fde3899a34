// The main window as a whole: its controls and actions, the start without a last document, and
// the keys it sees before its controls.
#include "ui/solar_system_form.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include "scene/solar_system.h"
#include "support/form_fixture.h"
#include "ui/scene_controller.h"

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
        {form.SaveAnimationAct, "Save animation as &video...",
         "save the animation from the shown date as a video file", QKeySequence("Ctrl+Shift+A")},
        {form.AboutAct, "A&bout", "about this program", {}},
        {form.ExitAct, "E&xit", "exit program", {}},
        {form.LoadTemplateAct, "Load &template file", "load template file (template.orb)",
         QKeySequence("Ctrl+T")}};
    for (const auto& [action, caption, hint, key] : table) {
      QCOMPARE(action->text(), QString::fromLatin1(caption));
      QCOMPARE(action->toolTip(), QString::fromLatin1(hint));
      QCOMPARE(action->shortcut(), key);
    }
    // Every button of the panel's tool bar fits beside the others: none hides behind the
    // bar's overflow arrow.
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* bar = f.Find<QToolBar>("ToolBar");
    for (QAction* a : bar->actions()) {
      QWidget* button = bar->widgetForAction(a);
      QVERIFY2(button && button->isVisible(), qPrintable(a->text()));
    }
    auto* popup = f.Find<QMenu>("PopupMenu");
    QStringList items;
    for (QAction* a : popup->actions()) items << (a->isSeparator() ? "-" : a->text());
    QCOMPARE(items,
             QStringList({"&Open file", "&Save file", "&Print", "Save &as bitmap",
                          "Save animation as &video...", "Load &template file", "-", "A&bout"}));
    // A right click on the drawing area or the panel opens it.
    for (const char* name : {"SceneView", "JDLabel"}) {
      QWidget* w = f.Find(name);
      QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
      QApplication::sendEvent(w, &click);
      QVERIFY(popup->isVisible());
      popup->hide();
    }
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

  void CommandLineDateAndPathWithBlanks() {
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath("summer notes.orb");
    {
      testing::TFormFixture f;
      TSolarSystemForm& form = f.Start();
      form.Scene().SetShowApsides(true);
      form.Scene().SetCenterObject(4);
      f.prompter.fileNames.push_back(path);
      form.SaveAct->trigger();
      QVERIFY(QFile::exists(path));
    }
    testing::TFormFixture f;
    TSolarSystemForm& form =
        f.Start({"2451545.0", QDir(folder.path()).filePath("summer"), "notes.orb"});
    QCOMPARE(f.prompter.asked, QStringList());
    QVERIFY(form.Scene().ShowApsides());
    QCOMPARE(form.Scene().CenterObject(), 4);
    QCOMPARE(form.State().DocumentPath, path.toStdString());
    // The date is read in the local time zone of the start.
    QCOMPARE(form.Scene().SceneDate(), JDToDate(StartZone(), 2451545.0L));
    QCOMPARE(form.Controller().DisplayDate(), form.Scene().SceneDate());
  }

  void CommandLineWithoutAValidDate() {
    // "5" is no Julian date of the range: it is the document's name, which does not exist.
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start({"5"});
    QCOMPARE(f.prompter.asked.size(), 1);
    QVERIFY(f.prompter.asked[0].startsWith("error: Cannot open file \""));
    QVERIFY(f.prompter.asked[0].contains("/5\". No such file"));
    QCOMPARE(form.Scene().SceneDate(), f.now);
    QVERIFY(form.State().DocumentPath.empty());

    const TStartArguments a = ParseStartArguments({"3912516", "  my", "orbit.orb  "});
    QVERIFY(!a.JD);
    QCOMPARE(a.DocumentPath, QStringLiteral("3912516   my orbit.orb"));
    QCOMPARE(ParseStartArguments({"990924.5"}).JD, std::optional<Extended>(990924.5L));
    QCOMPARE(ParseStartArguments({"990924.5"}).DocumentPath, QString());
    QVERIFY(!ParseStartArguments({"nan", "x"}).JD);
  }

  void ExitWritesSettingsAndLastDocumentAndTheNextStartResumes() {
    testing::TFormFixture f;
    {
      TSolarSystemForm& form = f.Start();
      form.Scene().SetBgColor(0x102030);
      form.Scene().SetShowNames(false);
      form.SetPage(2);
      f.Type("EDate", "24.12.1999");
      form.close();
      QCOMPARE(f.prompter.asked, QStringList());
    }
    QFile ini(f.HomeFile("kv.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(ini.readAll());
    for (const char* line :
         {"[MainForm]", "Width=744", "Height=631", "Page=2", "[DescriptionForm]", "[MonitorForm]",
          "[Colors]", "Color0=0", "Color1=1056816", "Color2=5263440", "[Bitmap]", "Size=500"})
      QVERIFY2(text.contains(QString::fromLatin1(line)), line);
    QVERIFY(QFile::exists(f.HomeFile("last.orb")));
    f.Stop();

    TSolarSystemForm& again = f.Start();
    QCOMPARE(f.prompter.asked, QStringList());
    QCOMPARE(again.Scene().BgColor(), TColor{0x102030});
    QVERIFY(!again.Scene().ShowNames());
    QCOMPARE(again.Page(), 2);
    QCOMPARE(again.Controller().DisplayDate(), (TDateRec{24, 12, 1999, 15, 30, 0, 0}));
    QCOMPARE(again.State().DocumentPath, f.HomeFile("last.orb").toStdString());
  }

  void AProgramFolderThatRefusesIsReportedAtTheExit() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    // Folders where the two files belong: neither can be replaced.
    QVERIFY(QDir(f.Home()).mkdir("kv.ini"));
    QVERIFY(QDir(f.Home()).mkdir("last.orb"));
    form.close();
    QCOMPARE(f.prompter.asked.size(), 2);
    QVERIFY(f.prompter.asked[0].startsWith("error: Unable to write to "));
    QCOMPARE(f.prompter.asked[1], "error: Could not create file " + f.HomeFile("last.orb") +
                                      ". It is not a regular file.");
    QVERIFY(QFileInfo(f.HomeFile("last.orb")).isDir());
  }

  void ADamagedSettingsFileGivesTheDefaults() {
    testing::TFormFixture f;
    QFile ini(f.HomeFile("kv.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    const char damaged[] =
        "\xff\xfe[Main\n=\n[MainForm]\nPage=7\nWidth=100\nHeight=abc\n\0\0\n[Bitmap]\n"
        "Size=0x3E8\n";
    ini.write(damaged, sizeof damaged - 1);
    ini.close();
    TSolarSystemForm& form = f.Start();
    QCOMPARE(form.Page(), 1);
    // A width below the minimum gives the minimum; an unreadable height the default.
    QCOMPARE(form.size(), QSize(674, 631));
    QCOMPARE(form.BitmapSize(), 1000);
    QCOMPARE(f.prompter.asked, QStringList());
  }

  void OpenSaveAndTemplatePresets() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    form.SaveAct->trigger();  // cancelled
    QCOMPARE(f.prompter.lastFileDialog.Title, QStringLiteral("Save file"));
    QCOMPARE(f.prompter.lastFileDialog.FileName, QString());
    QCOMPARE(f.prompter.lastFileDialog.DefaultSuffix, QStringLiteral("orb"));
    QVERIFY(f.prompter.lastFileDialog.ConfirmOverwrite);
    QCOMPARE(f.prompter.lastFileDialog.Filter,
             QStringLiteral("orbit files (*.orb);;all files (*)"));

    const QString path = f.HomeFile("mine.orb");
    f.prompter.fileNames.push_back(path);
    form.SaveAct->trigger();
    QCOMPARE(form.State().DocumentPath, path.toStdString());
    form.OpenAct->trigger();
    QCOMPARE(f.prompter.lastFileDialog.Title, QStringLiteral("Open file"));
    QCOMPARE(f.prompter.lastFileDialog.FileName, QStringLiteral("mine.orb"));
    QCOMPARE(f.prompter.lastFileDialog.Folder, f.Home());

    // The template is read, and never written: the document becomes last.orb.
    QFile templ(f.HomeFile("template.orb"));
    QVERIFY(templ.open(QIODevice::ReadOnly));
    const QByteArray before = templ.readAll();
    templ.close();
    form.Scene().SetShowOrbits(false);
    QTest::keyClick(f.Find("EDate"), Qt::Key_T, Qt::ControlModifier);
    QVERIFY(form.Scene().ShowOrbits());
    QCOMPARE(form.State().DocumentPath, f.HomeFile("last.orb").toStdString());
    form.SaveAct->trigger();
    QCOMPARE(f.prompter.lastFileDialog.FileName, QString());
    form.close();
    QVERIFY(templ.open(QIODevice::ReadOnly));
    QCOMPARE(templ.readAll(), before);
  }

  // A reading that stops half way has changed the scene: the window shows the scene's date,
  // and neither the damaged file nor the document open before is offered for the next save.
  void ADamagedDocumentIsReportedAndTheWindowShowsWhatWasRead() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    const QString damaged = f.HomeFile("damaged.orb");
    form.Controller().ShowDate({1, 1, 2000, 0, 0, 0, 0});
    f.prompter.fileNames.push_back(damaged);
    form.SaveAct->trigger();
    QFile file(damaged);
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.resize(200);
    file.close();
    const QString before = f.HomeFile("1968.orb");
    form.Controller().ShowDate({24, 5, 1968, 6, 0, 0, 0});
    f.prompter.fileNames.push_back(before);
    form.SaveAct->trigger();

    f.prompter.fileNames.push_back(damaged);
    form.OpenAct->trigger();
    QCOMPARE(f.prompter.asked.last(), "error: Error reading file " + damaged + ".");
    QCOMPARE(form.Scene().SceneDate(), TDateRec({1, 1, 2000, 0, 0, 0, 0}));
    QCOMPARE(form.Controller().DisplayDate(), form.Scene().SceneDate());
    QCOMPARE(form.windowTitle(), QStringLiteral("Kestrova - 01.01.2000 - 00:00 UT"));
    QCOMPARE(f.Text("EDate"), QStringLiteral("01.01.2000"));
    QCOMPARE(f.Text("ETime"), QStringLiteral("0:00"));
    QCOMPARE(f.Text("JDLabel"), QStringLiteral("JD 2451544.500"));

    form.SaveAct->trigger();  // cancelled
    QCOMPARE(f.prompter.lastFileDialog.FileName, QString());
    QCOMPARE(form.State().DocumentPath, f.HomeFile("last.orb").toStdString());

    // A dropped damaged document the same.
    f.prompter.fileNames.push_back(before);
    form.OpenAct->trigger();
    QCOMPARE(form.State().DocumentPath, before.toStdString());
    form.OpenDroppedFiles({QUrl::fromLocalFile(damaged)});
    QCOMPARE(form.Controller().DisplayDate(), form.Scene().SceneDate());
    QCOMPARE(form.State().DocumentPath, f.HomeFile("last.orb").toStdString());
  }

  void DroppedFilesOpenOnlyOrbitDocuments() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    QTemporaryDir folder;
    auto save = [&](const QString& name) {
      const QString path = QDir(folder.path()).filePath(name);
      f.prompter.fileNames.push_back(path);
      form.SaveAct->trigger();
      return path;
    };
    const QString upper = save("capitals.ORB");
    const QString lower = save("small.orb");
    QVERIFY(QDir(folder.path()).mkdir("folder.orb"));
    form.Session().SetDocumentPath("");
    auto drop = [&](const QStringList& paths, bool wanted) {
      QMimeData mime;
      QList<QUrl> urls;
      for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
      mime.setUrls(urls);
      QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(&form, &enter);
      QCOMPARE(enter.isAccepted(), wanted);
      QDropEvent event(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(&form, &event);
    };
    drop({upper}, false);
    drop({QDir(folder.path()).filePath("folder.orb")}, false);
    QVERIFY(form.State().DocumentPath.empty());
    // Only the first file counts.
    drop({lower, upper}, true);
    QCOMPARE(form.State().DocumentPath, lower.toStdString());
    QCOMPARE(f.prompter.asked, QStringList({"save: Save file", "save: Save file"}));
  }

  void KeyboardReachesEveryPageAndTheDocumentKeysWorkFromTheToolWindows() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    QApplication::setActiveWindow(&form);
    auto* tabs = f.Find<QTabWidget>("PageControl");
    const std::pair<int, const char*> firstControls[] = {
        {0, "ETimeValue"}, {1, "RBNone"}, {2, "CBSun"}};
    for (const auto& [page, first] : firstControls) {
      tabs->setCurrentIndex(page);
      tabs->tabBar()->setFocus(Qt::TabFocusReason);
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget(), f.Find(first));
    }

    f.Click("RB3D");
    f.Click("SBDescription");
    f.Click("SBMonitor");
    auto* memo = f.Find<QTextEdit>("Memo");
    memo->setPlainText("two words");
    QTest::keyClick(memo, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(f.Find("CBObject"), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(f.prompter.asked, QStringList({"save: Save file", "open: Open file"}));
    // A dialog closes onto the main window; the focus goes back to the text.
    QCoreApplication::processEvents();  // the activations that showing the windows asked for
    QApplication::setActiveWindow(f.Find("DescriptionForm"));
    f.prompter.dialogs.push_back([&form](QDialog&) {
      QApplication::setActiveWindow(&form);
      return int(QDialog::Rejected);
    });
    QTest::keyClick(memo, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(f.prompter.asked.last(), QString("dialog: TPrintDlg"));
    QTRY_COMPARE(QApplication::activeWindow(), f.Find("DescriptionForm"));
    // The other keys of the window stay with the text.
    const Extended rotZ = form.Scene().RotZ();
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(memo->textCursor().position(), 4);
    QCOMPARE(form.Scene().RotZ(), rotZ);
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::SolarSystemFormTest)
#include "solar_system_form_test.moc"
