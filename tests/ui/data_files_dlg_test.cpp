// The data-file dialogs on real data files in a temporary alias folder: listing, creating,
// refusing bad names, deleting after the question, rebuilding indices with the progress
// window, double click as OK, and starting the import program.
#include "ui/data_files_dlg.h"

#include "database/data_file.h"

#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <fstream>

#include "support/data_folder.h"
#include "support/recording_prompter.h"
#include "ui/create_idx_form.h"
#include "ui/table_name_dlg.h"

namespace kestrova {

namespace fs = std::filesystem;
using testing::MakeSampleDataFile;
using testing::TDataFolder;
using testing::TRecordingPrompter;

class DataFilesDlgTest : public QObject {
  Q_OBJECT

  struct Fixture {
    TDataFolder folder;
    TRecordingPrompter prompter;
    TCreateIdxForm createIdx;
    TDataFile data;
    TDataFilesDlg dlg{prompter, data, createIdx};

    QListWidget* List() { return dlg.findChild<QListWidget*>("TablesListBox"); }
    QPushButton* Button(const char* name) { return dlg.findChild<QPushButton*>(name); }
    QStringList Listed() {
      QStringList names;
      for (int i = 0; i < List()->count(); ++i) names << List()->item(i)->text();
      return names;
    }
    // Types `name` into "New table" and confirms it, after checking that the field was
    // emptied before the dialog showed.
    void AnswerNewTable(const QString& name) {
      dlg.TableNameDlg().findChild<QLineEdit*>("EName")->setText("left from before");
      prompter.dialogs.push_back([name](QDialog& d) {
        auto* edit = d.findChild<QLineEdit*>("EName");
        if (!edit->text().isEmpty()) return int(QDialog::Rejected);
        edit->setText(name);
        return int(QDialog::Accepted);
      });
    }
  };

 private slots:
  void ListsTheAliasAndSelectsByName() {
    Fixture f;
    MakeSampleDataFile("b.db");
    MakeSampleDataFile("a.db");
    // Damaged and foreign files are listed like any other; opening them reports the engine.
    std::ofstream(f.folder.File("junk.db")) << std::string(2000, 'x');
    std::ofstream(f.folder.File("notes.txt")) << "not a table";
    f.dlg.SetAlias(kDefaultAlias);
    QCOMPARE(f.Listed(), QStringList({"a.db", "b.db", "junk.db"}));
    QVERIFY(f.dlg.SelectedTable().empty());
    QVERIFY(!f.Button("BOk")->isEnabled());
    QVERIFY(!f.Button("BDeleteTable")->isEnabled());

    f.dlg.SelectTable("b.db");
    QCOMPARE(f.List()->currentItem()->text(), QString("b.db"));
    QVERIFY(f.Button("BOk")->isEnabled());
    QVERIFY(f.Button("BDeleteTable")->isEnabled());
    f.dlg.SelectTable("gone.db");
    QCOMPARE(f.List()->currentItem(), nullptr);
    QVERIFY(!f.Button("BOk")->isEnabled());

    // An alias folder that is not there is reported; the list stays empty.
    f.dlg.SetAlias((f.folder.Alias() / "nowhere").string());
    QCOMPARE(f.List()->count(), 0);
    QCOMPARE(f.prompter.asked.size(), 1);
    QVERIFY2(f.prompter.asked[0].startsWith("error: ") && f.prompter.asked[0].contains("nowhere"),
             qPrintable(f.prompter.asked[0]));
  }

  void CreateNewFileMakesACompleteDataFile() {
    Fixture f;
    f.dlg.SetAlias(kDefaultAlias);
    f.AnswerNewTable("  test ");
    QTest::mouseClick(f.Button("BNewTable"), Qt::LeftButton);
    QCOMPARE(f.prompter.asked, QStringList({"dialog: TableNameDlg"}));
    QCOMPARE(f.Listed(), QStringList({"test.db"}));
    QCOMPARE(f.dlg.SelectedTable(), std::string("test.db"));
    QCOMPARE(f.List()->currentItem()->text(), QString("test.db"));
    QVERIFY(f.Button("BOk")->isEnabled());
    QVERIFY(f.Button("BDeleteTable")->isEnabled());

    TableStore t;
    t.SetDatabase(kDefaultAlias);
    t.SetTableName("test.db");
    t.Open();
    QVERIFY(t.Fields() == DataFileFields());
    QCOMPARE(t.IndexNames(), (std::vector<std::string>{"IDXNAME", "IDXA", "IDXE", "IDXINCL",
                                                       "IDXCL", "IDXNEA", "IDXPHA"}));
    t.Close();

    // The same name again: the engine's refusal reaches the user and nothing is touched.
    f.AnswerNewTable("test");
    QTest::mouseClick(f.Button("BNewTable"), Qt::LeftButton);
    QVERIFY2(f.prompter.asked.last().startsWith("error: ") &&
                 f.prompter.asked.last().contains("test.db"),
             qPrintable(f.prompter.asked.last()));
    QCOMPARE(f.Listed(), QStringList({"test.db"}));
  }

  void BadNamesAndCancelCreateNothing() {
    Fixture f;
    f.dlg.SetAlias(kDefaultAlias);
    for (const QString name :
         {"   ", "a/b", "..\\up", "it's", "say \"x\"", ".hidden", "tab\there"}) {
      f.prompter.asked.clear();
      f.AnswerNewTable(name);
      QTest::mouseClick(f.Button("BNewTable"), Qt::LeftButton);
      QCOMPARE(f.prompter.asked.size(), 2);
      QVERIFY2(f.prompter.asked[1].startsWith("error: "), qPrintable(name));
    }
    f.prompter.asked.clear();
    f.dlg.TableNameDlg().findChild<QLineEdit*>("EName")->setText("cancelled");
    QTest::mouseClick(f.Button("BNewTable"), Qt::LeftButton);  // the dialog is rejected
    QCOMPARE(f.prompter.asked, QStringList({"dialog: TableNameDlg"}));
    QVERIFY(fs::is_empty(f.folder.Alias()));
    QVERIFY(!f.Button("BOk")->isEnabled());
  }

  void DeleteAsksFirst() {
    Fixture f;
    MakeSampleDataFile("keep.db");
    MakeSampleDataFile("drop.db");
    f.dlg.SetAlias(kDefaultAlias);
    f.dlg.SelectTable("drop.db");
    const QString question = "question: Are you sure you want to delete the table 'drop.db'?";

    QTest::mouseClick(f.Button("BDeleteTable"), Qt::LeftButton);  // No
    QCOMPARE(f.prompter.asked, QStringList({question}));
    QVERIFY(fs::exists(f.folder.File("drop.db")));
    QCOMPARE(f.List()->currentItem()->text(), QString("drop.db"));
    QVERIFY(f.Button("BOk")->isEnabled());
    QVERIFY(f.Button("BDeleteTable")->isEnabled());

    f.prompter.yesNo.push_back(true);
    QTest::mouseClick(f.Button("BDeleteTable"), Qt::LeftButton);
    QCOMPARE(f.prompter.asked, QStringList({question, question}));
    QVERIFY(!fs::exists(f.folder.File("drop.db")));
    QCOMPARE(f.Listed(), QStringList({"keep.db"}));
    QVERIFY(!f.Button("BOk")->isEnabled());
    QVERIFY(!f.Button("BDeleteTable")->isEnabled());

    // A table open elsewhere is not deleted; the engine says why.
    TableStore open;
    open.SetDatabase(kDefaultAlias);
    open.SetTableName("keep.db");
    open.Open();
    f.dlg.SelectTable("keep.db");
    f.prompter.yesNo.push_back(true);
    QTest::mouseClick(f.Button("BDeleteTable"), Qt::LeftButton);
    QVERIFY2(
        f.prompter.asked.last().contains("locked") && f.prompter.asked.last().contains("keep.db"),
        qPrintable(f.prompter.asked.last()));
    QVERIFY(fs::exists(f.folder.File("keep.db")));
  }

  void RebuildIndicesMakesWhatIsMissingAndChangesNothingElse() {
    Fixture f;
    MakeSampleDataFile("complete.db");
    MakeSampleDataFile("bare.db", false, false);
    f.dlg.SetAlias(kDefaultAlias);
    QSignalSpy progress(&f.createIdx, &TCreateIdxForm::progressed);
    auto steps = [&] {
      QList<int> values;
      for (const QList<QVariant>& call : progress) values << call[0].toInt();
      progress.clear();
      return values;
    };
    const QList<int> all = {0, 15, 30, 45, 60, 75, 90, 100};
    auto indices = [](const char* table) {
      TableStore t;
      t.SetDatabase(kDefaultAlias);
      t.SetTableName(table);
      t.Open();
      return t.IndexNames();
    };
    const std::vector<std::string> before = indices("complete.db");

    f.dlg.SelectTable("complete.db");
    QTest::mouseClick(f.Button("BRebuildIndx"), Qt::LeftButton);
    QCOMPARE(steps(), all);
    QVERIFY(f.prompter.asked.isEmpty());
    QCOMPARE(indices("complete.db"), before);
    QVERIFY(!f.createIdx.isVisible());

    f.dlg.SelectTable("bare.db");
    QTest::mouseClick(f.Button("BRebuildIndx"), Qt::LeftButton);
    QCOMPARE(steps(), all);
    QCOMPARE(indices("bare.db"), before);
    // The dialog's table is closed again: another program may open it exclusively.
    TableStore t;
    t.SetDatabase(kDefaultAlias);
    t.SetTableName("bare.db");
    t.Open(TOpenMode::Exclusive);
  }

  void DoubleClickIsOk() {
    Fixture f;
    MakeSampleDataFile("one.db");
    MakeSampleDataFile("two.db");
    f.dlg.SetAlias(kDefaultAlias);
    f.dlg.SelectTable("one.db");
    f.dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.dlg));
    QListWidget* list = f.List();
    const QPoint at = list->visualItemRect(list->item(1)).center();
    // The second click of a double click comes after a first one.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(f.dlg.result(), int(QDialog::Accepted));
    QVERIFY(!f.dlg.isVisible());
    QCOMPARE(f.dlg.SelectedTable(), std::string("two.db"));
    QCOMPARE(f.dlg.AliasName(), std::string(kDefaultAlias));
  }

  void RefreshListFollowsTheFolder() {
    Fixture f;
    MakeSampleDataFile("one.db");
    MakeSampleDataFile("two.db");
    f.dlg.SetAlias(kDefaultAlias);
    f.dlg.SelectTable("two.db");
    MakeSampleDataFile("three.db");
    QTest::mouseClick(f.Button("BRefreshList"), Qt::LeftButton);
    QCOMPARE(f.Listed(), QStringList({"one.db", "three.db", "two.db"}));
    QCOMPARE(f.List()->currentItem()->text(), QString("two.db"));

    fs::remove(f.folder.File("two.db"));
    QTest::mouseClick(f.Button("BRefreshList"), Qt::LeftButton);
    QCOMPARE(f.Listed(), QStringList({"one.db", "three.db"}));
    QCOMPARE(f.List()->currentItem(), nullptr);
    QVERIFY(!f.Button("BOk")->isEnabled());
  }

  void StartImportModuleStartsTheProgramWithTheAliasFolder() {
    Fixture f;
    f.dlg.SetAlias(kDefaultAlias);
    QTemporaryDir bin;
    const QString program = bin.filePath("kestrova-import");
    const QString record = bin.filePath("started");

    // No program there: said so, nothing started.
    f.dlg.SetImportProgram(program);
    QTest::mouseClick(f.Button("BImport"), Qt::LeftButton);
    QCOMPARE(f.prompter.asked.size(), 1);
    QVERIFY2(f.prompter.asked[0].startsWith("error: ") && f.prompter.asked[0].contains(program),
             qPrintable(f.prompter.asked[0]));

    // A stand-in program that writes down its argument; the dialog does not wait for it.
    {
      std::ofstream script(program.toStdString());
      script << "#!/bin/sh\nprintf '%s' \"$1\" > '" << record.toStdString() << ".tmp'\n"
             << "mv '" << record.toStdString() << ".tmp' '" << record.toStdString() << "'\n";
    }
    fs::permissions(program.toStdString(), fs::perms::owner_all);
    f.prompter.asked.clear();
    QTest::mouseClick(f.Button("BImport"), Qt::LeftButton);
    QVERIFY(f.prompter.asked.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), QString::fromStdString(f.folder.Alias().string()));
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::DataFilesDlgTest)
#include "data_files_dlg_test.moc"
