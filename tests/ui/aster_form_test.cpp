// The minor-body browser on real data files: caption and columns, sorting by a title click
// (making missing indices first), marks and the bodies made of them, the nearest-name search,
// the navigator, switching data files (a damaged one included), and a table of 1.4 million rows
// that opens at once and goes to its last row.
#include "ui/aster_form.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <fstream>

#include "database/data_file.h"
#include "database/minor_bodies.h"
#include "model/astronomical_objects.h"
#include "support/data_folder.h"
#include "support/recording_prompter.h"
#include "support/synthetic_data_file.h"
#include "ui/create_idx_form.h"
#include "ui/data_files_dlg.h"
#include "ui/minor_body_model.h"
#include "ui/search_dlg.h"

namespace kestrova {

using testing::MakeSampleDataFile;
using testing::TDataFolder;
using testing::TRecordingPrompter;

class AsterFormTest : public QObject {
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
    }
    void Show() {
      form.show();
      QVERIFY(QTest::qWaitForWindowExposed(&form));
    }
    QString Cell(int row, int column) { return form.Model().index(row, column).data().toString(); }
    QStringList Column(int column) {
      QStringList values;
      for (int r = 0; r < form.Model().rowCount(); ++r) values << Cell(r, column);
      return values;
    }
    QStringList Titles() {
      QStringList titles;
      for (int c = 0; c < form.Model().columnCount(); ++c)
        titles << form.Model().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
      return titles;
    }
    QString CurrentName() { return Cell(form.CurrentRow(), 1); }
    void ClickTitle(int column) {
      QHeaderView* titles = Grid()->horizontalHeader();
      const QPoint at(titles->sectionViewportPosition(column) + titles->sectionSize(column) / 2,
                      titles->height() / 2);
      QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, at);
    }
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
      const QRect cell = Grid()->visualRect(form.Model().index(row, 1));
      QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, modifiers, cell.center());
    }
    void Navigate(const char* button) {
      QTest::mouseClick(form.findChild<QToolButton*>(button), Qt::LeftButton);
    }
    void Search(const QString& text) {
      prompter.dialogs.push_back([text](QDialog& d) {
        d.findChild<QLineEdit*>("EName")->setText(text);
        return int(QDialog::Accepted);
      });
      QTest::mouseClick(form.findChild<QPushButton*>("BSearch"), Qt::LeftButton);
    }
  };

  const QStringList kDataFileTitles = {"ID",           "NAME",        "Semi major axis",
                                       "Eccentricity", "Inclination", "Classification",
                                       "is NEA",       "is PHA"};
  // The sample's names by number, by name, and by semi-major axis (then name).
  const QStringList kByNumber = {"2024 AB1", "Ceres", "Pallas", "Vesta", "alpha", "Eros"};
  const QStringList kByName = {"2024 AB1", "Ceres", "Eros", "Pallas", "Vesta", "alpha"};
  const QStringList kByAxis = {"Eros", "Vesta", "2024 AB1", "alpha", "Ceres", "Pallas"};

 private slots:
  void CaptionAndColumnsFollowTheTable() {
    Fixture f;
    MakeSampleDataFile("plain.db");
    MakeSampleDataFile("sources.db", true);
    QCOMPARE(f.form.windowTitle(), QString("Objects in current data file"));
    QCOMPARE(f.Titles(), kDataFileTitles);
    // Without rows the line below the grid says where a catalogue comes from.
    const auto hint = [&f] { return f.form.findChild<QLabel*>("LHint")->text(); };
    QVERIFY2(hint().contains("Start import module"), qPrintable(hint()));
    CreateDataFile(kDefaultAlias, "empty.db");
    f.Open("empty.db");
    QVERIFY2(hint().startsWith("The data file is empty: import"), qPrintable(hint()));

    f.Open("plain.db");
    QCOMPARE(hint(), QString("click on column titles to sort the table"));
    QCOMPARE(f.form.windowTitle(), QString("6 objects in current data file (plain.db)"));
    QCOMPARE(f.Titles(), kDataFileTitles);
    QCOMPARE(f.Column(1), kByNumber);
    // Elements with the decimals of the element files, flags as they are.
    QCOMPARE(f.Column(0), QStringList({"", "1", "2", "4", "7", "433"}));
    QCOMPARE(f.Column(2), QStringList({"2.5000000", "2.7700000", "2.7700000", "2.3600000",
                                       "2.5000000", "1.4600000"}));
    QCOMPARE(f.Column(3), QStringList({"0.1000000", "0.0800000", "0.2300000", "0.0900000",
                                       "0.0100000", "0.2200000"}));
    QCOMPARE(f.Column(4),
             QStringList({"3.00000", "10.60000", "34.80000", "7.10000", "5.00000", "10.80000"}));
    QCOMPARE(f.Column(6), QStringList({"N", "N", "N", "N", "N", "Y"}));

    f.Open("sources.db");
    QCOMPARE(f.Titles(), kDataFileTitles + QStringList({"Reference", "Computer"}));
    QCOMPARE(f.Cell(1, 8), QString("MPO1"));

    f.data.Close();
    QCOMPARE(f.form.windowTitle(), QString("Objects in current data file"));
    QVERIFY2(hint().startsWith("No data file is open"), qPrintable(hint()));
    QCOMPARE(f.form.Model().rowCount(), 0);
    QVERIFY(!f.form.CurrentObject());
    QCOMPARE(f.form.SelectedCount(), 0);
    TOrbitalElements el;
    el.Node = 99;
    f.form.RowToElements(el);
    QCOMPARE(double(el.Node), 99.0);
  }

  // A comet's name fills 56 columns of its element file: the data file keeps it whole, and a
  // column too narrow for it has the whole name in its tip.
  void LongNamesAreKeptWhole() {
    Fixture f;
    const std::string name =
        "C/2023 A3 (Tsuchinshan\u2013ATLAS) \u00e4\u00e4 long-period comet xyzwv";
    QCOMPARE(QString::fromStdString(name).size(), kNameCharacters);
    CreateDataFile(kDefaultAlias, "long.db");
    {
      TableStore t;
      t.SetDatabase(kDefaultAlias);
      t.SetTableName("long.db");
      t.Open(TOpenMode::Exclusive);
      t.AppendRecord({int64_t{0}, name, 10.0, 20.0, 80.0, 5.0, 0.5, 3.0, 2460800.5,
                      std::string("Comet"), std::string("N"), std::string("N")});
      t.Close();
    }
    f.Open("long.db");
    QCOMPARE(f.Cell(0, 1), QString::fromStdString(name));
    QCOMPARE(f.form.Model().index(0, 1).data(Qt::ToolTipRole).toString(),
             QString::fromStdString(name));
    QCOMPARE(f.form.Model().index(0, 5).data(Qt::ToolTipRole).toString(), QString("Comet"));
  }

  void TitleClicksSortAndTheSourcesLeaveTheOrder() {
    Fixture f;
    MakeSampleDataFile("sources.db", true);
    f.Open("sources.db");
    f.Show();
    f.form.GoToRow(3);  // Vesta
    f.ClickTitle(1);
    QCOMPARE(f.Column(1), kByName);
    QCOMPARE(f.CurrentName(), QString("Vesta"));  // the current body stays current
    f.ClickTitle(8);                              // "Reference"
    QCOMPARE(f.Column(1), kByName);
    f.ClickTitle(9);  // "Computer"
    QCOMPARE(f.Column(1), kByName);
    QCOMPARE(f.Grid()->horizontalHeader()->sortIndicatorSection(), 1);
    f.ClickTitle(2);
    QCOMPARE(f.Column(1), kByAxis);
    QCOMPARE(f.CurrentName(), QString("Vesta"));
    f.ClickTitle(0);
    QCOMPARE(f.Column(1), kByNumber);
    QVERIFY(f.prompter.asked.isEmpty());

    // A column the user widened keeps its width through the sorting; a data file with other
    // columns is fitted anew.
    QHeaderView* titles = f.Grid()->horizontalHeader();
    const int fitted = titles->sectionSize(1);
    titles->resizeSection(1, fitted + 120);
    f.ClickTitle(2);
    QCOMPARE(f.Column(1), kByAxis);
    QCOMPARE(titles->sectionSize(1), fitted + 120);
    MakeSampleDataFile("plain.db");
    f.Open("plain.db");
    QCOMPARE(titles->sectionSize(1), fitted);
  }

  void FirstSortMakesTheMissingIndices() {
    Fixture f;
    MakeSampleDataFile("bare.db", false, false);
    f.Open("bare.db");
    f.Show();
    QSignalSpy progress(&f.createIdx, &TCreateIdxForm::progressed);
    f.ClickTitle(2);
    QCOMPARE(progress.count(), 8);
    QCOMPARE(progress.last()[0].toInt(), 100);
    QCOMPARE(f.data.Table().IndexNames().size(), size_t(7));
    QCOMPARE(f.Column(1), kByAxis);
    QVERIFY(!f.createIdx.isVisible());
    f.ClickTitle(1);  // all there now: no second round
    QCOMPARE(progress.count(), 8);
    QCOMPARE(f.Column(1), kByName);
  }

  // "Rebuild indices" in the data-files dialog on the browser's open table: made on the open
  // table, which stays open with its current row.
  void RebuildIndicesOfTheOpenTable() {
    Fixture f;
    MakeSampleDataFile("bare.db", false, false);
    f.Open("bare.db");
    f.form.GoToRow(2);
    QSignalSpy progress(&f.createIdx, &TCreateIdxForm::progressed);
    f.dataFiles.SetAlias(f.folder.Alias().string());  // the same folder by another name
    f.dataFiles.SelectTable("bare.db");
    QTest::mouseClick(f.dataFiles.findChild<QPushButton*>("BRebuildIndx"), Qt::LeftButton);
    QVERIFY2(f.prompter.asked.isEmpty(), qPrintable(f.prompter.asked.join("; ")));
    QCOMPARE(progress.count(), 8);
    QCOMPARE(f.data.Table().IndexNames().size(), size_t(7));
    QVERIFY(f.data.Table().Active());
    QCOMPARE(f.CurrentName(), QString("Pallas"));
    QCOMPARE(f.Column(1), kByNumber);
  }

  // "Delete file" on the browser's open table says why it is refused and keeps the file.
  void TheOpenTableIsNotDeleted() {
    Fixture f;
    MakeSampleDataFile("open.db");
    f.Open("open.db");
    f.dataFiles.SetAlias(f.folder.Alias().string());
    f.dataFiles.SelectTable("open.db");
    f.prompter.yesNo.push_back(true);
    QTest::mouseClick(f.dataFiles.findChild<QPushButton*>("BDeleteTable"), Qt::LeftButton);
    QVERIFY2(f.prompter.asked.last().contains("'open.db' is the program's data file"),
             qPrintable(f.prompter.asked.last()));
    QVERIFY(std::filesystem::exists(f.folder.File("open.db")));
    QVERIFY(f.data.Table().Active());
  }

  // In number order the unnumbered bodies come first: the browser opens on the first numbered
  // one, and an unnumbered body shows no number of the import's own, only its designation.
  void OpensOnTheNumberedBodies() {
    Fixture f;
    MakeSampleDataFile("s.db");
    f.Open("s.db");
    f.Show();
    QCOMPARE(QString::fromStdString(f.form.CurrentObject()->Name), QString("Ceres"));
    QCOMPARE(f.Cell(0, 0), QString());
    QCOMPARE(f.Cell(0, 1), QString("2024 AB1"));
    QCOMPARE(f.Cell(1, 0), QString("1"));
  }

  void MarksMakeTheBodiesInGridOrder() {
    Fixture f;
    MakeSampleDataFile("s.db");
    f.Open("s.db");
    f.Show();
    f.ClickTitle(1);                     // by name
    f.ClickRow(4, Qt::ControlModifier);  // Vesta
    f.ClickRow(1, Qt::ControlModifier);  // Ceres
    f.ClickRow(5, Qt::ControlModifier);  // alpha
    f.ClickRow(5, Qt::ControlModifier);  // unmarked again
    QCOMPARE(f.form.SelectedCount(), 2);
    std::unique_ptr<TAsteroid> first = f.form.SelectedObject(0);
    std::unique_ptr<TAsteroid> second = f.form.SelectedObject(1);
    QVERIFY(first && second);
    QCOMPARE(QString::fromStdString(first->Name), QString("Ceres"));
    QCOMPARE(QString::fromStdString(second->Name), QString("Vesta"));
    QVERIFY(!f.form.SelectedObject(2));
    const TOrbitalElements& el = first->Elements;
    QCOMPARE(double(el.SemiMajorAxis), 2.77);
    QCOMPARE(double(el.MeanLongitude), 30.0);
    QCOMPARE(double(el.PerihelionLongitude), 20.0);
    QCOMPARE(el.DailyMotion, 0.9856262L / (Extended(2.77) * std::sqrt(Extended(2.77))));
    QCOMPARE(first->Color, kMinorBodyColor);

    // Shift adds the range from the last click to the marks.
    f.ClickRow(3, Qt::ShiftModifier);
    QCOMPARE(f.form.SelectedCount(), 4);  // Ceres, and Pallas to alpha
    QCOMPARE(QString::fromStdString(f.form.SelectedObject(1)->Name), QString("Pallas"));
    // A plain click makes a row current and takes the marks away.
    f.ClickRow(2);
    QCOMPARE(f.form.SelectedCount(), 0);
    QCOMPARE(QString::fromStdString(f.form.CurrentObject()->Name), QString("Eros"));
    TOrbitalElements current;
    f.form.RowToElements(current);
    QCOMPARE(double(current.SemiMajorAxis), 1.46);

    // The keys people know: Shift+Ctrl+End marks to the last row, Ctrl+A every row.
    f.ClickRow(1);
    QTest::keyClick(f.Grid(), Qt::Key_End, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(f.form.SelectedCount(), f.form.Model().rowCount() - 1);
    f.ClickRow(2);
    QTest::keyClick(f.Grid(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(f.form.SelectedCount(), f.form.Model().rowCount());
    f.ClickRow(2);

    // Showing the window again starts without marks.
    f.ClickRow(0, Qt::ControlModifier);
    QCOMPARE(f.form.SelectedCount(), 1);
    f.form.hide();
    f.Show();
    QCOMPARE(f.form.SelectedCount(), 0);
  }

  // The beginning of an indexed name goes to the nearest row as ever; names in another letter
  // case and numbers find their body; what matches nothing says so and stays.
  void SearchGoesToTheNearestName() {
    Fixture f;
    MakeSampleDataFile("s.db");
    f.Open("s.db");
    f.Show();
    f.form.SearchDlg().findChild<QLineEdit*>("EName")->setText("old");
    struct Case {
      QString text, name;
      bool found;
    };
    for (const Case& c :
         {Case{"Ce", "Ceres", true}, Case{"Ceres", "Ceres", true}, Case{"F", "Ceres", false},
          Case{"a", "alpha", true}, Case{"", "2024 AB1", true}, Case{"zz", "2024 AB1", false},
          Case{"EROS", "Eros", true}, Case{"4", "Vesta", true}, Case{"(7)", "alpha", true}}) {
      f.prompter.asked.clear();
      f.Search(c.text);
      QCOMPARE(f.CurrentName(), c.name);
      QCOMPARE(f.prompter.asked.filter("message: "),
               c.found ? QStringList()
                       : QStringList({"message: No object matches \"" + c.text + "\"."}));
    }
    QCOMPARE(f.Column(1), kByName);
    QCOMPARE(f.Grid()->horizontalHeader()->sortIndicatorSection(), 1);
    // The field is emptied before each showing; Cancel moves nothing.
    f.prompter.dialogs.push_back([](QDialog& d) {
      const bool emptied = d.findChild<QLineEdit*>("EName")->text().isEmpty();
      d.findChild<QLineEdit*>("EName")->setText("Ceres");
      return emptied ? int(QDialog::Rejected) : int(QDialog::Accepted);
    });
    QTest::mouseClick(f.form.findChild<QPushButton*>("BSearch"), Qt::LeftButton);
    QCOMPARE(f.CurrentName(), QString("alpha"));
    QVERIFY(f.prompter.asked.filter("error").isEmpty());
  }

  void NavigatorMovesTheCurrentRow() {
    Fixture f;
    MakeSampleDataFile("s.db");
    f.Open("s.db");
    f.Show();
    QCOMPARE(f.form.CurrentRow(), 1);  // the first numbered body
    f.Navigate("NbFirst");
    QCOMPARE(f.form.CurrentRow(), 0);
    QVERIFY(!f.form.findChild<QToolButton*>("NbPrior")->isEnabled());
    f.Navigate("NbNext");
    f.Navigate("NbNext");
    QCOMPARE(f.form.CurrentRow(), 2);
    f.Navigate("NbPrior");
    QCOMPARE(f.form.CurrentRow(), 1);
    f.Navigate("NbLast");
    QCOMPARE(f.form.CurrentRow(), 5);
    QVERIFY(!f.form.findChild<QToolButton*>("NbNext")->isEnabled());
    QCOMPARE(f.form.Model().headerData(5, Qt::Vertical, Qt::DisplayRole).toString(),
             QString("\u25B6"));
    f.Navigate("NbFirst");
    QCOMPARE(f.form.CurrentRow(), 0);
    QCOMPARE(QString::fromStdString(f.form.CurrentObject()->Name), QString("2024 AB1"));

    // A click or a cursor key in the grid moves the indicator and the navigator with the row.
    auto indicator = [&](int row) {
      return f.form.Model().headerData(row, Qt::Vertical, Qt::DisplayRole).toString();
    };
    f.Navigate("NbLast");
    f.ClickRow(2);
    QCOMPARE(indicator(2), QString("\u25B6"));
    QCOMPARE(indicator(5), QString());
    QCOMPARE(f.form.Model().CurrentRow(), 2);
    QVERIFY(f.form.findChild<QToolButton*>("NbNext")->isEnabled());
    QVERIFY(f.form.findChild<QToolButton*>("NbLast")->isEnabled());
    QTest::keyClick(f.Grid(), Qt::Key_Up);
    QTest::keyClick(f.Grid(), Qt::Key_Up);
    QCOMPARE(f.form.CurrentRow(), 0);
    QCOMPARE(indicator(0), QString("\u25B6"));
    QVERIFY(!f.form.findChild<QToolButton*>("NbPrior")->isEnabled());
    f.Navigate("NbNext");
    QCOMPARE(f.form.CurrentRow(), 1);
  }

  void DataFileSwitchesThroughTheDialog() {
    Fixture f;
    MakeSampleDataFile("one.db");
    MakeSampleDataFile("two.db", true);
    std::ofstream(f.folder.File("junk.db")) << std::string(3000, 'j');
    f.Open("one.db");
    QSignalSpy changed(&f.form, &TAsterForm::dataFileChanged);
    auto choose = [&](const QString& table) {
      f.prompter.dialogs.push_back([table](QDialog& d) {
        // Preset with the browser's table.
        auto* list = d.findChild<QListWidget*>("TablesListBox");
        if (!list->currentItem() || list->currentItem()->text() != "one.db")
          return int(QDialog::Rejected);
        QListWidgetItem* item = list->findItems(table, Qt::MatchExactly).value(0);
        list->setCurrentItem(item);
        emit list->itemClicked(item);
        QTest::mouseClick(d.findChild<QPushButton*>("BOk"), Qt::LeftButton);
        return d.result();
      });
      QTest::mouseClick(f.form.findChild<QPushButton*>("BDataFiles"), Qt::LeftButton);
    };

    f.prompter.dialogs.push_back([](QDialog&) { return int(QDialog::Rejected); });
    QTest::mouseClick(f.form.findChild<QPushButton*>("BDataFiles"), Qt::LeftButton);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(f.form.windowTitle(), QString("6 objects in current data file (one.db)"));

    choose("two.db");
    QCOMPARE(changed.count(), 1);
    QCOMPARE(f.form.windowTitle(), QString("6 objects in current data file (two.db)"));
    QCOMPARE(f.Titles().size(), 10);

    f.Open("one.db");
    choose("junk.db");
    QCOMPARE(changed.count(), 2);
    QCOMPARE(f.prompter.asked.filter("error").size(), 1);
    const QString error = f.prompter.asked.filter("error").first();
    QVERIFY2(error.contains("file is not a database") && error.contains("junk.db"),
             qPrintable(error));
    QCOMPARE(f.form.windowTitle(), QString("Objects in current data file"));
    QCOMPARE(f.form.Model().rowCount(), 0);
    QVERIFY(!f.form.CurrentObject());
  }

  void DamagedRowsAreReportedOnce() {
    Fixture f;
    MakeSampleDataFile("hurt.db");
    {
      // The table's own page gone, its indices whole: the file opens and counts its rows, but
      // no row can be read.
      std::fstream file(f.folder.File("hurt.db"), std::ios::in | std::ios::out | std::ios::binary);
      // The second page, of the size the file's header gives (big-endian at byte 16).
      unsigned char size[2];
      file.seekg(16);
      file.read(reinterpret_cast<char*>(size), 2);
      const size_t pageSize = size_t(size[0]) << 8 | size[1];
      file.seekp(std::streamoff(pageSize));
      file << std::string(pageSize, '\0');
    }
    f.Open("hurt.db");
    QCOMPARE(f.form.windowTitle(), QString("6 objects in current data file (hurt.db)"));
    f.Show();
    QTRY_COMPARE(f.prompter.asked.filter("error").size(), 1);
    const QString error = f.prompter.asked.filter("error").first();
    QVERIFY2(error.contains("malformed") && error.contains("hurt.db"), qPrintable(error));
    QCOMPARE(f.Cell(0, 1), QString());
    QVERIFY(!f.form.CurrentObject());
    // Painting again and moving about read nothing new to tell.
    f.Navigate("NbLast");
    f.Grid()->viewport()->repaint();
    QCoreApplication::processEvents();
    QCOMPARE(f.prompter.asked.filter("error").size(), 1);
  }

  void LargeTableOpensAtOnceAndGoesToItsLastRow() {
    Fixture f;
    constexpr int kRows = 1400000;
    testing::MakeSyntheticDataFile(kDefaultAlias, "big.db", kRows);
    f.Open("big.db");
    f.Show();
    QCOMPARE(f.form.windowTitle(), QString("1400000 objects in current data file (big.db)"));
    QCOMPARE(f.Cell(0, 1), QString::fromStdString(testing::SyntheticName(1)));
    f.Navigate("NbLast");
    QCOMPARE(f.form.CurrentRow(), kRows - 1);
    QCOMPARE(f.Cell(kRows - 1, 0), QString::number(kRows));
    QCOMPARE(QString::fromStdString(f.form.CurrentObject()->Name),
             QString::fromStdString(testing::SyntheticName(kRows)));
    // The last row is in view.
    const QRect last = f.Grid()->visualRect(f.form.Model().index(kRows - 1, 0));
    QVERIFY(f.Grid()->viewport()->rect().intersects(last));
    // A row in the middle, and back.
    f.form.GoToRow(kRows / 2);
    QCOMPARE(f.Cell(kRows / 2, 0), QString::number(kRows / 2 + 1));
    f.Navigate("NbFirst");
    QCOMPARE(f.Cell(0, 0), QString("1"));
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::AsterFormTest)
#include "aster_form_test.moc"
