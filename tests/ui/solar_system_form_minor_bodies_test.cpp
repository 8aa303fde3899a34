// The main window with the minor-body windows: "Add" through the browser (marked bodies, the
// current one, a taken name), "Data file" through the data-files dialog with Add at once,
// "Show all objects" with its progress window, and the document host's data file being the
// browser's table.
#include <QGroupBox>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <fstream>

#include "database/data_files.h"
#include "database/program_folder.h"
#include "model/astronomical_objects.h"
#include "scene/solar_system.h"
#include "support/data_folder.h"
#include "support/form_fixture.h"
#include "support/synthetic_data_file.h"
#include "ui/aster_form.h"
#include "ui/minor_body_model.h"

namespace kestrova {

using testing::TFormFixture;

class SolarSystemFormMinorBodiesTest : public QObject {
  Q_OBJECT

  // Answers the browser: Ctrl+click on each of `rows` (none: the current row stays as it is),
  // then OK.
  static std::function<int(QDialog&)> Browse(QList<int> rows, int current = -1) {
    return [rows, current](QDialog& d) {
      auto& browser = static_cast<TAsterForm&>(d);
      if (current >= 0) browser.GoToRow(current);
      auto* grid = browser.findChild<QTableView*>("DBGrid");
      browser.show();
      for (int row : rows) {
        const QRect cell = grid->visualRect(browser.Model().index(row, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier, cell.center());
      }
      QTest::mouseClick(browser.findChild<QPushButton*>("BOk"), Qt::LeftButton);
      return browser.result();
    };
  }
  // Answers the data-files dialog: picks `table` and presses OK.
  static std::function<int(QDialog&)> Choose(const QString& table) {
    return [table](QDialog& d) {
      auto* list = d.findChild<QListWidget*>("TablesListBox");
      QListWidgetItem* item = list->findItems(table, Qt::MatchExactly).value(0);
      if (!item) return int(QDialog::Rejected);
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
      QTest::mouseClick(d.findChild<QPushButton*>("BOk"), Qt::LeftButton);
      return d.result();
    };
  }
  static QStringList ListBox(TFormFixture& f) {
    QStringList names;
    auto* list = f.Find<QListWidget>("ObjectsListBox");
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    return names;
  }

 private slots:
  void DataFileThenAddPutsTheBodiesInTheList() {
    TFormFixture f;
    TSolarSystemForm& form = f.Start();
    testing::MakeSampleDataFile("one.db");
    testing::MakeSampleDataFile("two.db");
    QVERIFY(!f.Find<QToolButton>("SBAllObjects")->isEnabled());

    // Cancel changes nothing.
    f.Click("SBDatabase");
    QCOMPARE(f.prompter.asked, QStringList({"dialog: DataFilesDlg"}));
    QVERIFY(!form.DataFile().IsOpen());

    // OK opens the chosen data file, and Add follows at once: Vesta and Ceres are marked and
    // come in the browser's order.
    f.prompter.asked.clear();
    f.prompter.dialogs = {Choose("two.db"), Browse({3, 1})};
    f.Click("SBDatabase");
    QCOMPARE(f.prompter.asked, QStringList({"dialog: DataFilesDlg", "dialog: AsterForm"}));
    QCOMPARE(form.TableName(), std::string("two.db"));
    QCOMPARE(form.DatabaseName(), std::string(kDefaultAlias));
    QVERIFY(form.DataFile().IsOpen());
    QVERIFY(f.Find<QToolButton>("SBAllObjects")->isEnabled());
    QCOMPARE(ListBox(f), QStringList({"Ceres", "Vesta"}));
    QCOMPARE(f.Find<QGroupBox>("GBOtherObjects")->title(), QString("&Other objects (2)"));
    QVERIFY(f.Find<QToolButton>("SBClearObjects")->isEnabled());
    // Added bodies are computed for the shown date.
    QVERIFY(form.Scene().AsteroidsList().Get(0).Pos.x != 0);

    // Ceres again, as the current row without marks, twice: a new name is asked each time.
    f.prompter.asked.clear();
    f.prompter.yesNo = {true, true};
    f.prompter.dialogs = {Browse({}, 1), Browse({}, 1)};
    f.Click("SBAddObject");
    QTest::keyClick(f.Find("ObjectsListBox"), Qt::Key_Insert);
    const QString question =
        "question: The list includes always an object named 'Ceres'.\rDo you wish do add the new "
        "object as '%1' ?";
    QCOMPARE(f.prompter.asked, QStringList({"dialog: AsterForm", question.arg("Ceres (1)"),
                                            "dialog: AsterForm", question.arg("Ceres (2)")}));
    QCOMPARE(ListBox(f), QStringList({"Ceres", "Vesta", "Ceres (1)", "Ceres (2)"}));
    QCOMPARE(f.Find<QListWidget>("ObjectsListBox")->currentRow(), 3);

    // The browser shows without marks, whatever was marked the last time.
    f.prompter.dialogs = {[](QDialog& d) {
      return static_cast<TAsterForm&>(d).SelectedCount() == 0 ? int(QDialog::Rejected)
                                                              : int(QDialog::Accepted);
    }};
    f.Click("SBAddObject");
    QCOMPARE(ListBox(f).size(), 4);
  }

  void ADataFileThatCannotBeOpenedIsReported() {
    TFormFixture f;
    TSolarSystemForm& form = f.Start();
    testing::MakeSampleDataFile("good.db");
    std::ofstream((AliasFolder(kDefaultAlias) / "broken.db").string()) << std::string(4096, 'b');
    f.prompter.dialogs = {Choose("good.db"), Browse({})};
    f.Click("SBDatabase");
    QVERIFY(form.DataFile().IsOpen());
    f.prompter.asked.clear();
    f.prompter.dialogs = {Choose("broken.db")};
    f.Click("SBDatabase");
    QCOMPARE(f.prompter.asked.size(), 2);  // no browser after the error
    QVERIFY2(f.prompter.asked[1].contains("file is not a database") &&
                 f.prompter.asked[1].contains("broken.db"),
             qPrintable(f.prompter.asked[1]));
    QVERIFY(!form.DataFile().IsOpen());
    QVERIFY(!f.Find<QToolButton>("SBAllObjects")->isEnabled());
  }

  void ShowAllObjectsLoadsTheDataFileAndCancelReleasesTheButton() {
    TFormFixture f;
    TSolarSystemForm& form = f.Start();
    testing::MakeSyntheticDataFile(kDefaultAlias, "rows.db", 300000);
    // The document host's data file is the browser's table.
    form.Session().SetDataFileNames(kDefaultAlias, "rows.db");
    QVERIFY(form.Session().OpenDataFile());
    form.UpdateControls();
    auto* button = f.Find<QToolButton>("SBAllObjects");
    QVERIFY(button->isEnabled());

    f.Click("SBAllObjects");
    QVERIFY(button->isChecked());
    QVERIFY(form.State().ShowAllObjects);
    QCOMPARE(form.Scene().AsteroidsFullList().Count(), 300000);
    f.Click("SBAllObjects");
    QCOMPARE(form.Scene().AsteroidsFullList().Count(), 0);

    // While loading, the clock's ticks wait.
    QTimer::singleShot(0, [&] {
      QVERIFY(form.Controller().AnimationTimer().signalsBlocked());
      QVERIFY(form.Controller().RealTimeTimer().signalsBlocked());
      auto* progress = form.findChild<QProgressDialog*>("LoadProgress");
      QVERIFY(progress);
      QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
    });
    f.Click("SBAllObjects");
    QVERIFY(!button->isChecked());
    QVERIFY(!form.State().ShowAllObjects);
    QCOMPARE(form.Scene().AsteroidsFullList().Count(), 0);
    QVERIFY(f.prompter.asked.isEmpty());
    QVERIFY(!form.Controller().AnimationTimer().signalsBlocked());
  }

  void ShowAllObjectsFollowsTheDataFile() {
    TFormFixture f;
    TSolarSystemForm& form = f.Start();
    testing::MakeSampleDataFile("six.db");
    testing::MakeSyntheticDataFile(kDefaultAlias, "three.db", 3);
    std::ofstream((AliasFolder(kDefaultAlias) / "broken.db").string()) << std::string(4096, 'b');
    const auto reject = [](QDialog&) { return int(QDialog::Rejected); };
    f.prompter.dialogs = {Choose("six.db"), reject};
    f.Click("SBDatabase");
    f.Click("SBAllObjects");
    QCOMPARE(form.Scene().AsteroidsFullList().Count(), 6);

    // Another data file, through "Data file" or the browser's own button: its bodies are shown.
    f.prompter.dialogs = {Choose("three.db"), reject};
    f.Click("SBDatabase");
    QCOMPARE(form.Scene().AsteroidsFullList().Count(), 3);
    QVERIFY(f.Find<QToolButton>("SBAllObjects")->isChecked());
    f.prompter.dialogs = {[](QDialog& d) {
                            QTest::mouseClick(d.findChild<QPushButton*>("BDataFiles"),
                                              Qt::LeftButton);
                            return int(QDialog::Rejected);
                          },
                          Choose("six.db")};
    f.Click("SBAddObject");
    QCOMPARE(form.TableName(), std::string("six.db"));
    QCOMPARE(form.Scene().AsteroidsFullList().Count(), 6);
    QVERIFY(form.State().ShowAllObjects);

    // A data file that does not open has no bodies to show: the button is released.
    f.prompter.dialogs = {Choose("broken.db")};
    f.Click("SBDatabase");
    QCOMPARE(form.Scene().AsteroidsFullList().Count(), 0);
    QVERIFY(!f.Find<QToolButton>("SBAllObjects")->isChecked());
    QVERIFY(!form.State().ShowAllObjects);
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::SolarSystemFormMinorBodiesTest)
#include "solar_system_form_minor_bodies_test.moc"
