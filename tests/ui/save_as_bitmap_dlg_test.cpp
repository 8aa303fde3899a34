// "Save as graphic file": the name it shows and gives back, its folder, the size field and the
// file dialog behind "...".
#include "ui/save_as_bitmap_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "support/recording_prompter.h"
#include "support/screenshots.h"

namespace kestrova {

class SaveAsBitmapDlgTest : public QObject {
  Q_OBJECT

  testing::TRecordingPrompter prompter_;
  std::unique_ptr<TSaveAsBitmapDlg> dialog_;

  template <class T>
  T& Find(const char* name) {
    return *dialog_->findChild<T*>(QString::fromLatin1(name));
  }

 private slots:
  void init() {
    prompter_ = {};
    dialog_ = std::make_unique<TSaveAsBitmapDlg>(prompter_);
  }

  void NameFolderAndTheTypedName() {
    dialog_->SetFileName("/home/u/pics/");
    QCOMPARE(Find<QLineEdit>("FileNameEdit").text(), QString("default.png"));
    QCOMPARE(dialog_->Folder(), QString("/home/u/pics/"));
    auto& folder = Find<QLabel>("FolderLabel");
    QCOMPARE(folder.text(), QString("Folder: /home/u/pics/"));
    testing::Shot(*dialog_, "save_as_bitmap_dlg");
    QCOMPARE(dialog_->GetFileName(), QString("/home/u/pics/default.png"));

    dialog_->SetFileName("/home/u/pics/trip.png");
    QCOMPARE(Find<QLineEdit>("FileNameEdit").text(), QString("/home/u/pics/trip.png"));
    Find<QLineEdit>("FileNameEdit").setText("/tmp/x/plot.jpg");
    QCOMPARE(folder.text(), QString("Folder: /tmp/x/"));
    QCOMPARE(dialog_->GetFileName(), QString("/tmp/x/plot.jpg.png"));
    QCOMPARE(dialog_->Folder(), QString("/tmp/x/"));
    // A bare name goes into the folder of the last one.
    Find<QLineEdit>("FileNameEdit").setText("orbits");
    QCOMPARE(dialog_->GetFileName(), QString("/tmp/x/orbits.png"));
  }

  void OkNeedsAName() {
    auto& ok = Find<QPushButton>("OKBtn");
    auto& edit = Find<QLineEdit>("FileNameEdit");
    dialog_->SetFileName("/home/u/pics/");
    QVERIFY(ok.isEnabled());
    edit.clear();
    QVERIFY(!ok.isEnabled());
    QTest::keyClicks(&edit, " \t ");
    QVERIFY(!ok.isEnabled());
    QTest::keyClicks(&edit, "p");
    QVERIFY(ok.isEnabled());
  }

  void SizeInStepsOf50Within50And4000() {
    auto& size = Find<QSpinBox>("SESize");
    dialog_->SetGraphicSize(500);
    QTest::keyClick(&size, Qt::Key_Up);
    QCOMPARE(dialog_->GraphicSize(), 550);
    dialog_->SetGraphicSize(10);  // a damaged settings file
    QCOMPARE(dialog_->GraphicSize(), 50);
    QTest::keyClick(&size, Qt::Key_Down);
    QCOMPARE(dialog_->GraphicSize(), 50);
    dialog_->SetGraphicSize(100000);
    QCOMPARE(dialog_->GraphicSize(), 4000);
    // A typed size out of the range is not taken; the field's tip names the range.
    dialog_->SetGraphicSize(500);
    size.selectAll();
    QTest::keyClicks(&size, "10");
    QTest::keyClick(&size, Qt::Key_Return);
    QCOMPARE(dialog_->GraphicSize(), 500);
    QCOMPARE(size.toolTip(), QString("edge length from 50 to 4000 pixels"));
  }

  void FileButtonOpensInTheFolderWithTheName() {
    dialog_->SetFileName("/home/u/pics/trip.png");
    prompter_.fileNames.push_back("/home/u/slides/orbits.svg");
    QTest::mouseClick(&Find<QToolButton>("SBFileName"), Qt::LeftButton);
    QCOMPARE(prompter_.asked, QStringList{"save: Save as graphic file"});
    const TFileDialogOptions& o = prompter_.lastFileDialog;
    QCOMPARE(o.Folder, QString("/home/u/pics/"));
    QCOMPARE(o.FileName, QString("trip.png"));
    QCOMPARE(o.DefaultSuffix, QString("png"));
    QCOMPARE(o.Filter, QString("portable network graphics (PNG) (*.png);;bitmap graphics (BMP) "
                               "(*.bmp);;scalable vector graphics (SVG) (*.svg)"));
    QCOMPARE(Find<QLineEdit>("FileNameEdit").text(), QString("/home/u/slides/orbits.svg"));
    QCOMPARE(dialog_->Folder(), QString("/home/u/slides/"));
    QTest::mouseClick(&Find<QToolButton>("SBFileName"), Qt::LeftButton);  // cancelled
    QCOMPARE(dialog_->GetFileName(), QString("/home/u/slides/orbits.svg"));
    // A typed name, not yet confirmed, is what the file dialog opens on.
    Find<QLineEdit>("FileNameEdit").setText("/home/u/talk/moon");
    QTest::mouseClick(&Find<QToolButton>("SBFileName"), Qt::LeftButton);  // cancelled
    QCOMPARE(prompter_.lastFileDialog.Folder, QString("/home/u/talk/"));
    QCOMPARE(prompter_.lastFileDialog.FileName, QString("moon.png"));
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::SaveAsBitmapDlgTest)
#include "save_as_bitmap_dlg_test.moc"
