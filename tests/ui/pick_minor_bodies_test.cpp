// "Add" after the browser's OK: marked bodies in the browser's order, else the current one; a
// name that is taken already only under a new name the user agrees to.
#include "ui/pick_minor_bodies.h"

#include <QHeaderView>
#include <QTableView>
#include <QTest>

#include "database/minor_bodies.h"
#include "model/astronomical_objects.h"
#include "scene/solar_system.h"
#include "support/data_folder.h"
#include "support/recording_prompter.h"
#include "support/scene_date.h"
#include "support/synthetic_data_file.h"
#include "ui/aster_form.h"
#include "ui/create_idx_form.h"
#include "ui/data_files_dlg.h"
#include "ui/minor_body_model.h"

namespace kestrova {

using testing::TDataFolder;
using testing::TRecordingPrompter;

class PickMinorBodiesTest : public QObject {
  Q_OBJECT

  struct Fixture {
    TDataFolder folder;
    TRecordingPrompter prompter;
    TCreateIdxForm createIdx;
    TDataFilesDlg dataFiles{prompter, createIdx};
    TAsterForm form{prompter, dataFiles, createIdx};
    TSolarSystem scene{TestStartDate()};

    QTableView* Grid() { return form.findChild<QTableView*>("DBGrid"); }
    void Open(const std::string& table) {
      form.SetDataFileNames(kDefaultAlias, table);
      form.OpenTable();
      form.show();
      QVERIFY(QTest::qWaitForWindowExposed(&form));
    }
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
      const QRect cell = Grid()->visualRect(form.Model().index(row, 1));
      QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, modifiers, cell.center());
    }
    int Add() { return AddBrowserObjects(form, scene, prompter, &form); }
    QStringList Names() {
      QStringList names;
      for (const auto& body : scene.AsteroidsList().Items())
        names << QString::fromStdString(body->Name);
      return names;
    }
  };

  static QString Question(const QString& name, const QString& proposed) {
    return "question: The list includes always an object named '" + name + "'.\r" +
           "Do you wish do add the new object as '" + proposed + "' ?";
  }

 private slots:
  void TheSameBodyAgainAsksForANewName() {
    Fixture f;
    testing::MakeSampleDataFile("s.db");
    f.Open("s.db");
    f.ClickRow(1);  // Ceres, current and not marked
    QCOMPARE(f.form.SelectedCount(), 0);
    QCOMPARE(f.Add(), 1);
    QCOMPARE(f.Names(), QStringList({"Ceres"}));
    QVERIFY(f.prompter.asked.isEmpty());

    f.prompter.yesNo = {true};
    QCOMPARE(f.Add(), 1);
    f.prompter.yesNo = {false};
    QCOMPARE(f.Add(), 0);
    f.prompter.yesNo = {true};
    QCOMPARE(f.Add(), 1);
    QCOMPARE(f.prompter.asked,
             QStringList({Question("Ceres", "Ceres (1)"), Question("Ceres", "Ceres (2)"),
                          Question("Ceres", "Ceres (2)")}));
    QCOMPARE(f.Names(), QStringList({"Ceres", "Ceres (1)", "Ceres (2)"}));
    const TOEObject& body = f.scene.AsteroidsList().Get(2);
    QCOMPARE(body.Id, kMinorBodyId);
    QCOMPARE(body.Color, kMinorBodyColor);
    QCOMPARE(double(body.Elements.SemiMajorAxis), 2.77);
  }

  void MarkedBodiesComeInTheBrowsersOrder() {
    Fixture f;
    testing::MakeSampleDataFile("s.db");
    f.Open("s.db");
    f.form.DBGridTitleClick(1);  // by name: 2024 AB1, Ceres, Eros, Pallas, Vesta, alpha
    f.ClickRow(4, Qt::ControlModifier);
    f.ClickRow(0, Qt::ControlModifier);
    f.ClickRow(2, Qt::ControlModifier);
    QCOMPARE(f.Add(), 3);
    QCOMPARE(f.Names(), QStringList({"2024 AB1", "Eros", "Vesta"}));
  }

  void TooManyMarksAddNothing() {
    Fixture f;
    testing::MakeSyntheticDataFile(kDefaultAlias, "many.db", kMostPickedObjects + 5);
    f.Open("many.db");
    f.ClickRow(0);
    f.form.GoToRow(kMostPickedObjects + 4);
    f.ClickRow(kMostPickedObjects + 4, Qt::ShiftModifier);
    QCOMPARE(f.form.SelectedCount(), kMostPickedObjects + 5);
    QCOMPARE(f.Add(), 0);
    QCOMPARE(f.scene.AsteroidsList().Count(), 0);
    QCOMPARE(f.prompter.asked.size(), 1);
    QVERIFY(f.prompter.asked[0].startsWith("message: 1005 objects are marked"));
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::PickMinorBodiesTest)
#include "pick_minor_bodies_test.moc"
