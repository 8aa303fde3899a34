// "Show all objects" with its progress window: every row becomes a body of the full list, and
// Cancel leaves the list empty.
#include "ui/show_all_objects.h"

#include <unistd.h>

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "database/table_store.h"
#include "scene/solar_system.h"
#include "support/data_folder.h"
#include "support/scene_date.h"
#include "support/synthetic_data_file.h"

namespace kestrova {

class ShowAllObjectsTest : public QObject {
  Q_OBJECT

  struct Fixture {
    testing::TDataFolder folder;
    TSolarSystem scene{TestStartDate()};
    TableStore data;
    QWidget window;
    explicit Fixture(int64_t rows) {
      testing::MakeSyntheticDataFile(kDefaultAlias, "rows.db", rows);
      data.SetDatabase(kDefaultAlias);
      data.SetTableName("rows.db");
      data.Open();
    }
  };

 private slots:
  // Released, the catalogue gives its memory back to the system.
  void ReleasingGivesTheMemoryBack() {
    const auto resident = [] {
      long pages = 0, residentPages = 0;
      std::ifstream("/proc/self/statm") >> pages >> residentPages;
      return int64_t(residentPages) * ::sysconf(_SC_PAGESIZE);
    };
    Fixture f(300000);
    const int64_t before = resident();
    QVERIFY(ShowAllObjects(&f.window, f.scene, f.data, true));
    const int64_t loaded = resident();
    // About a hundred bytes a body: enough to tell a release from noise.
    QVERIFY2(loaded - before > (20 << 20), qPrintable(QString::number(loaded - before)));
    QVERIFY(ShowAllObjects(&f.window, f.scene, f.data, false));
    const int64_t released = resident();
    QVERIFY2(released - before < (loaded - before) / 4,
             qPrintable(QStringLiteral("%1 MB of %2 MB stay")
                            .arg((released - before) >> 20)
                            .arg((loaded - before) >> 20)));
  }

  void LoadsEveryRowAndEmptiesWhenReleased() {
    Fixture f(20000);
    QVERIFY(ShowAllObjects(&f.window, f.scene, f.data, true));
    QCOMPARE(f.scene.AsteroidsFullList().Count(), 20000);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(ShowAllObjects(&f.window, f.scene, f.data, false));
    QCOMPARE(f.scene.AsteroidsFullList().Count(), 0);
  }

  void CancelLeavesTheFullListEmpty() {
    Fixture f(400000);
    bool clicked = false;
    // Runs at the first moment the loading lets events through.
    QTimer::singleShot(0, [&] {
      auto* progress = f.window.findChild<QProgressDialog*>("LoadProgress");
      QVERIFY(progress);
      QCOMPARE(progress->labelText(), QString("Loading the objects of the data file..."));
      // Above the splash, which stays on top while the program starts.
      QVERIFY(progress->windowFlags() & Qt::WindowStaysOnTopHint);
      QPushButton* cancel = progress->findChild<QPushButton*>();
      QVERIFY(cancel);
      QTest::mouseClick(cancel, Qt::LeftButton);
      clicked = true;
    });
    QVERIFY(!ShowAllObjects(&f.window, f.scene, f.data, true));
    QVERIFY(clicked);
    QCOMPARE(f.scene.AsteroidsFullList().Count(), 0);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(!f.window.findChild<QProgressDialog*>("LoadProgress"));
  }

  void AClosedDataFileRaises() {
    Fixture f(10);
    f.data.Close();
    QVERIFY_THROWS_EXCEPTION(ETableError, ShowAllObjects(&f.window, f.scene, f.data, true));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::ShowAllObjectsTest)
#include "show_all_objects_test.moc"
