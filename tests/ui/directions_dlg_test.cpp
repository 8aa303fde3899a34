// The user-defined lines dialogs: the list dialog works on copies, so that only its caller
// decides whether the scene's lines change; the line dialog edits the line it is given.
#include "ui/directions_dlg.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "model/object_lists.h"
#include "support/recording_prompter.h"
#include "support/screenshots.h"
#include "support/widget_lookup.h"
#include "ui/color_field.h"
#include "ui/direction_dlg.h"

namespace kestrova {

namespace {

// Answers a dialog as the user would: `act` works the dialog's controls, then the result.
std::function<int(QDialog&)> Answer(int result, std::function<void(QDialog&)> act = {}) {
  return [result, act](QDialog& dialog) {
    if (act) act(dialog);
    return result;
  };
}

// Chooses `text` in a body box with the keyboard, as a user does.
void ChooseBody(QDialog& dialog, const char* box, const QString& text) {
  auto* combo = testing::ChildNamed<QComboBox>(dialog, box);
  combo->setFocus();
  while (combo->currentText() != text) {
    const int before = combo->currentIndex();
    QTest::keyClick(combo, combo->findText(text) > before ? Qt::Key_Down : Qt::Key_Up);
    if (combo->currentIndex() == before) qFatal("cannot reach %s", qPrintable(text));
  }
}

// The colour in the middle of row `row`'s sample, as the grid paints it.
QColor SampleColor(QTableWidget& grid, int row) {
  const QRect cell = grid.visualRect(grid.model()->index(row, 0));
  return grid.viewport()->grab().toImage().pixelColor(cell.left() + 160, cell.top() + 12);
}

struct Lines {
  TDirectionList list;
  Lines(std::initializer_list<TDirection> lines) {
    for (const TDirection& l : lines) list.Add(std::make_unique<TDirection>(l));
  }
};

}  // namespace

class DirectionsDlgTest : public QObject {
  Q_OBJECT

  testing::TRecordingPrompter prompter_;
  std::unique_ptr<TDirectionDlg> line_;
  std::unique_ptr<TDirectionsDlg> list_;

  QTableWidget& Grid() { return *testing::ChildNamed<QTableWidget>(*list_, "DrawGrid"); }
  QPushButton& Button(const char* name) { return *testing::ChildNamed<QPushButton>(*list_, name); }

 private slots:
  void init() {
    prompter_ = {};
    line_ = std::make_unique<TDirectionDlg>(prompter_);
    list_ = std::make_unique<TDirectionsDlg>(*line_, prompter_);
    list_->resize(list_->sizeHint());
  }

  void AddThenOkAppendsASunEarthLineInGrey() {
    list_->SetLines(TDirectionList());
    prompter_.dialogs.push_back(Answer(QDialog::Accepted));
    QTest::mouseClick(&Button("SBAdd"), Qt::LeftButton);
    QCOMPARE(prompter_.asked, QStringList{"dialog: TDirectionDlg"});
    QCOMPARE(list_->WorkingList().Count(), 1);
    const TDirection& added = list_->WorkingList().Get(0);
    QCOMPARE(added.FromId, 9);
    QCOMPARE(added.ToId, 0);
    QCOMPARE(added.Color, TColor{0x808080});
    QVERIFY(added.Visible);
    QCOMPARE(list_->RowText(0), QString("Sun - Earth"));
    QCOMPARE(SampleColor(Grid(), 0), QColor(0x80, 0x80, 0x80));
    QVERIFY(Button("SBEdit").isEnabled());
    QVERIFY(Button("SBRemove").isEnabled());
    QVERIFY(Button("SBClear").isEnabled());
  }

  void AddWithChangesThenCancelLeavesTheListAsItWas() {
    Lines scene{{3, 0x00FF00, 4}};
    list_->SetLines(scene.list);
    prompter_.dialogs.push_back(
        Answer(QDialog::Rejected, [](QDialog& d) { ChooseBody(d, "CBTo", "Pluto"); }));
    QTest::mouseClick(&Button("SBAdd"), Qt::LeftButton);
    QCOMPARE(list_->WorkingList().Count(), 1);
    QCOMPARE(list_->RowText(0), QString("Mars - Jupiter"));
    QCOMPARE(line_->EditedLine(), nullptr);  // the discarded line is not kept
  }

  void EditChangesTheRowOnOkOnly() {
    Lines scene{{0, 0x0000FF, 3}, {9, 0x00FF00, 5}};
    list_->SetLines(scene.list);
    Grid().setCurrentCell(1, 0);
    const auto changeEverything = [this](QDialog& d) {
      ChooseBody(d, "CBFrom", "Venus");
      ChooseBody(d, "CBTo", "Neptune");
      prompter_.colors.push_back(TColor{0xFF00FF});
      QTest::mouseClick(testing::ChildNamed<TColorField>(d, "Shape"), Qt::LeftButton);
    };
    prompter_.dialogs.push_back(Answer(QDialog::Rejected, changeEverything));
    QTest::mouseClick(&Button("SBEdit"), Qt::LeftButton);
    const TDirection& line = list_->WorkingList().Get(1);
    QCOMPARE(line.FromId, 9);
    QCOMPARE(line.ToId, 5);
    QCOMPARE(line.Color, TColor{0x00FF00});
    QCOMPARE(SampleColor(Grid(), 1), QColor(0, 0xFF, 0));

    // A double click on the row edits it too; this time OK keeps the changes.
    prompter_.dialogs.push_back(Answer(QDialog::Accepted, changeEverything));
    const QRect cell = Grid().visualRect(Grid().model()->index(1, 0));
    // The view takes a double click only on the cell the button went down on.
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(Grid().viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(prompter_.asked.count(), 4);  // two dialogs, two colour dialogs
    QCOMPARE(line.FromId, 2);
    QCOMPARE(line.ToId, 7);
    QCOMPARE(line.Color, TColor{0xFF00FF});
    QCOMPARE(list_->RowText(1), QString("Venus - Neptune"));
    QCOMPARE(SampleColor(Grid(), 1), QColor(0xFF, 0, 0xFF));
    QCOMPARE(list_->RowText(0), QString("Earth - Mars"));
    testing::Shot(*list_, "directions_dlg");
  }

  void RemovingTheLastLineLeavesOneEmptyRowAndNothingToActOn() {
    Lines scene{{0, 0x0000FF, 3}, {9, 0x00FF00, 5}};
    list_->SetLines(scene.list);
    Grid().setCurrentCell(1, 0);
    QTest::mouseClick(&Button("SBRemove"), Qt::LeftButton);
    QCOMPARE(list_->WorkingList().Count(), 1);
    QCOMPARE(Grid().rowCount(), 1);
    QCOMPARE(list_->RowText(0), QString("Earth - Mars"));
    QTest::mouseClick(&Button("SBRemove"), Qt::LeftButton);
    QCOMPARE(list_->WorkingList().Count(), 0);
    QCOMPARE(Grid().rowCount(), 1);
    QCOMPARE(list_->RowText(0), QString());
    for (const char* name : {"SBEdit", "SBRemove", "SBClear"}) QVERIFY(!Button(name).isEnabled());
    QVERIFY(Button("SBAdd").isEnabled());
    // Nothing to act on: a double click on the empty row opens no dialog.
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseDClick(Grid().viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    QVERIFY(prompter_.asked.isEmpty());
  }

  void TheSceneListIsACopyThatNoChangeReaches() {
    Lines scene{{0, 0x0000FF, 3}, {9, 0x00FF00, 5}};
    scene.list.Get(1).Visible = false;
    list_->SetLines(scene.list);
    QVERIFY(list_->WorkingList().Get(1).Visible);  // every copy is visible
    prompter_.dialogs.push_back(Answer(QDialog::Accepted));
    QTest::mouseClick(&Button("SBAdd"), Qt::LeftButton);
    QTest::mouseClick(&Button("SBRemove"), Qt::LeftButton);
    QCOMPARE(list_->WorkingList().Count(), 2);
    QTest::mouseClick(&Button("SBClear"), Qt::LeftButton);
    QCOMPARE(list_->WorkingList().Count(), 0);
    QTest::keyClick(list_.get(), Qt::Key_Escape);
    QCOMPARE(list_->result(), int(QDialog::Rejected));

    QCOMPARE(scene.list.Count(), 2);
    QCOMPARE(scene.list.Get(0).ToId, 3);
    QVERIFY(!scene.list.Get(1).Visible);
    // The next showing starts from the scene's list again.
    list_->SetLines(scene.list);
    QCOMPARE(list_->RowText(1), QString("Sun - Saturn"));
  }

  void LineDialogShowsTheLineAndKeepsBoxesForUnknownBodies() {
    TDirection line(4, 0x123456, 9);
    line_->SetLine(line);
    QCOMPARE(testing::ChildNamed<QComboBox>(*line_, "CBFrom")->currentText(), QString("Jupiter"));
    QCOMPARE(testing::ChildNamed<QComboBox>(*line_, "CBTo")->currentText(), QString("Sun"));
    QCOMPARE(testing::ChildNamed<TColorField>(*line_, "Shape")->Color(), TColor{0x123456});
    testing::Shot(*line_, "direction_dlg");

    TDirection damaged(12, 0x654321, -1);
    line_->SetLine(damaged);
    QCOMPARE(testing::ChildNamed<QComboBox>(*line_, "CBFrom")->currentText(), QString("Jupiter"));
    QCOMPARE(testing::ChildNamed<QComboBox>(*line_, "CBTo")->currentText(), QString("Sun"));
    QCOMPARE(damaged.FromId, 12);  // showing it changes nothing
    ChooseBody(*line_, "CBFrom", "Mercury");
    QCOMPARE(damaged.FromId, 1);
    QCOMPARE(damaged.ToId, -1);
    QCOMPARE(line.FromId, 4);
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::DirectionsDlgTest)
#include "directions_dlg_test.moc"
