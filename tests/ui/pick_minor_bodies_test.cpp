// What the browser hands "Add" after OK: marked bodies in the browser's order, else the
// current one, and nothing at all for more marks than a list of picked bodies can carry.
#include "ui/pick_minor_bodies.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "database/data_file.h"
#include "database/minor_bodies.h"
#include "model/astronomical_objects.h"
#include "support/data_folder.h"
#include "support/recording_prompter.h"
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
    TDataFile data;
    TDataFilesDlg dataFiles{prompter, data, createIdx};
    TAsterForm form{prompter, data, dataFiles, createIdx};

    QTableView* Grid() { return form.findChild<QTableView*>("DBGrid"); }
    void Open(const std::string& table) {
      data.SetNames(kDefaultAlias, table);
      data.Open();
      form.show();
      QVERIFY(QTest::qWaitForWindowExposed(&form));
    }
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
      const QRect cell = Grid()->visualRect(form.Model().index(row, 1));
      QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, modifiers, cell.center());
    }
    std::vector<std::unique_ptr<TAsteroid>> Pick() { return PickedObjects(form, prompter, &form); }
    QStringList Picked() {
      QStringList names;
      for (const auto& body : Pick()) names << QString::fromStdString(body->Name);
      return names;
    }
  };

 private slots:
  void TheCurrentBodyWhenNoneIsMarked() {
    Fixture f;
    testing::MakeSampleDataFile("s.db");
    f.Open("s.db");
    f.ClickRow(1);  // Ceres, current and not marked
    QCOMPARE(f.form.SelectedCount(), 0);
    QCOMPARE(f.Picked(), QStringList({"Ceres"}));
    const std::vector<std::unique_ptr<TAsteroid>> picked = f.Pick();
    QCOMPARE(picked[0]->Id, kMinorBodyId);
    QCOMPARE(picked[0]->Color, kMinorBodyColor);
    QCOMPARE(double(picked[0]->Elements.SemiMajorAxis), 2.77);
    f.data.Close();
    QVERIFY(f.Pick().empty());
    QVERIFY(f.prompter.asked.isEmpty());
  }

  void MarkedBodiesComeInTheBrowsersOrder() {
    Fixture f;
    testing::MakeSampleDataFile("s.db");
    f.Open("s.db");
    f.form.DBGridTitleClick(1);  // by name: 2024 AB1, Ceres, Eros, Pallas, Vesta, alpha
    f.ClickRow(4, Qt::ControlModifier);
    f.ClickRow(0, Qt::ControlModifier);
    f.ClickRow(2, Qt::ControlModifier);
    QCOMPARE(f.Picked(), QStringList({"2024 AB1", "Eros", "Vesta"}));
  }

  // A hand-edited data file: rows of no orbit are left out and named, the rest is taken; a
  // hyperbolic comet (its A the perihelion distance) is an orbit like any other.
  void BodiesWithoutAnOrbitAreNamedAndLeftOut() {
    Fixture f;
    testing::MakeSampleDataFile("s.db");
    {
      TableStore t;
      t.SetDatabase(kDefaultAlias);
      t.SetTableName("s.db");
      t.Open(TOpenMode::Exclusive);
      t.AppendRecord(
          {int64_t{900}, "Hyperbolic", 10.0, 20.0, 80.0, 5.0, 1.2, 3.0, 2460800.5, "", "N", "N"});
      t.AppendRecord(
          {int64_t{901}, "Shrunk", 10.0, 20.0, 80.0, 5.0, 0.1, -1.0, 2460800.5, "", "N", "N"});
    }
    f.Open("s.db");
    // In the order of numbers: 2024 AB1, Ceres, Pallas, Vesta, alpha, Eros, 900, 901.
    f.ClickRow(7, Qt::ControlModifier);
    f.ClickRow(1, Qt::ControlModifier);
    f.ClickRow(6, Qt::ControlModifier);
    f.ClickRow(3, Qt::ControlModifier);
    QCOMPARE(f.Picked(), QStringList({"Ceres", "Vesta", "Hyperbolic"}));
    QCOMPARE(f.prompter.asked,
             QStringList({"message: Objects without a closed orbit can not be shown and were not "
                          "added:\rShrunk (a <= 0)."}));
  }

  void TooManyMarksAddNothing() {
    Fixture f;
    testing::MakeSyntheticDataFile(kDefaultAlias, "many.db", kMostPickedObjects + 5);
    f.Open("many.db");
    f.ClickRow(0);
    f.form.GoToRow(kMostPickedObjects + 4);
    f.ClickRow(kMostPickedObjects + 4, Qt::ShiftModifier);
    QCOMPARE(f.form.SelectedCount(), kMostPickedObjects + 5);
    QVERIFY(f.Pick().empty());
    QCOMPARE(f.prompter.asked.size(), 1);
    QVERIFY(f.prompter.asked[0].startsWith("message: 1005 objects are marked"));

    // OK says so too, and the browser stays open with every mark, to take some away.
    QTest::mouseClick(f.form.findChild<QPushButton*>("BOk"), Qt::LeftButton);
    QCOMPARE(f.prompter.asked.size(), 2);
    QCOMPARE(f.prompter.asked[1], f.prompter.asked[0]);
    QVERIFY(f.form.isVisible());
    QCOMPARE(f.form.SelectedCount(), kMostPickedObjects + 5);
    for (int row : {0, 1, 2, 3, 4, 5}) f.ClickRow(row, Qt::ControlModifier);
    QCOMPARE(f.form.SelectedCount(), kMostPickedObjects - 1);
    QTest::mouseClick(f.form.findChild<QPushButton*>("BOk"), Qt::LeftButton);
    QCOMPARE(f.prompter.asked.size(), 2);
    QVERIFY(!f.form.isVisible());
    QCOMPARE(f.form.result(), int(QDialog::Accepted));
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::PickMinorBodiesTest)
#include "pick_minor_bodies_test.moc"
