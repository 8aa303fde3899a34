// "Save animation as video" as the main window runs it: the dialog answered through the
// prompter by its fields' object names, the written file read back and compared with the
// pictures "Save as bitmap" makes of the same dates, Cancel in the progress window, and a file
// that cannot be written.
#include "ui/save_animation_action.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "scene/picture_render.h"
#include "scene/solar_system.h"
#include "support/decoded_video.h"
#include "support/form_fixture.h"
#include "support/screenshots.h"
#include "support/widget_lookup.h"
#include "ui/save_animation_dlg.h"
#include "ui/scene_controller.h"
#include "ui/video_progress_dlg.h"

namespace kestrova {

namespace {

void Type(QWidget& dialog, const char* name, const QString& text) {
  auto* edit = testing::ChildNamed<QLineEdit>(dialog, name);
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, text);
}

// The dialog's answer: `frames` pictures of 80 pixels, 30 days apart, into `path`.
std::function<int(QDialog&)> Answer(const QString& path, int frames) {
  return [path, frames](QDialog& d) {
    testing::ChildNamed<QSpinBox>(d, "SEFrames")->setValue(frames);
    testing::ChildNamed<QSpinBox>(d, "SESize")->setValue(80);
    Type(d, "StepEdit", "30");
    Type(d, "FileNameEdit", path);
    QTest::mouseClick(testing::ChildNamed<QAbstractButton>(d, "OKBtn"), Qt::LeftButton);
    return d.result();
  };
}

}  // namespace

class SaveAnimationTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

 private slots:
  void WritesThePicturesOfTheDatesFromTheShownOne() {
    testing::TFormFixture f;
    f.now = {1, 1, 2000, 12, 0, 0, 0};
    TSolarSystemForm& form = f.Start();
    const QString path = dir_.filePath("orbits.webp");
    QStringList preset;
    f.prompter.dialogs.push_back([&](QDialog& d) {
      preset << testing::ChildNamed<QLabel>(d, "StartDateLabel")->text()
             << testing::ChildNamed<QLineEdit>(d, "StepEdit")->text()
             << testing::ChildNamed<QComboBox>(d, "CBUnit")->currentText()
             << QString::number(testing::ChildNamed<QSpinBox>(d, "SESize")->value())
             << QString::number(testing::ChildNamed<QSpinBox>(d, "SEFps")->value());
      return Answer(path, 3)(d);
    });
    form.SaveAnimationAct->trigger();
    QCOMPARE(f.prompter.asked, QStringList{"dialog: TSaveAnimationDlg"});
    // The dialog started at the date shown, with the Time tab's step and the export size.
    QCOMPARE(preset, QStringList({"01.01.2000 12:00:00 UT", "1", "day(s)", "500", "25"}));
    // The window shows its date again.
    QCOMPARE(DateToJD(form.Scene().SceneDate()), 2451545.0L);

    const testing::TDecodedVideo video = testing::DecodeVideo(path.toStdString());
    QCOMPARE(QString::fromStdString(video.Error), QString());
    QCOMPARE(video.Width, 80);
    QCOMPARE(int(video.Frames.size()), 3);
    // WebP is written without loss: each frame is the exported picture of its date.
    for (int i = 0; i < 3; ++i) {
      const TDateRec date = JDToDate(0, 2451545.0L + 30 * i);
      form.Scene().SetDate(date);
      const QImage picture = RenderExport(form.Scene(), TExportFormat::Png, 80, date).Image;
      const auto d = testing::Distance(video.Frames[size_t(i)], 80,
                                       reinterpret_cast<const uint32_t*>(picture.constBits()), 80,
                                       80, int32_t(picture.bytesPerLine() / 4));
      QVERIFY2(d.Mean == 0, qPrintable(QString("frame %1: %2").arg(i).arg(d.Mean)));
    }
  }

  // Cancel in the progress window, and a file that cannot be made: no file, the target as it
  // was, the window at its date; a failure is told, a cancel is not.
  void LeavesNoFileWhenCancelledOrFailing() {
    struct TCase {
      const char* Name;
      QString Path;
      int CancelAfter;  // frames; 0 for none
      QString Error;
    };
    const QTemporaryDir folder;
    const QString old = folder.filePath("old.webm");
    const QList<TCase> cases = {
        {"cancelled", old, 2, ""},
        {"no folder", "/nonexistent-folder/a.webm", 0,
         "error: Error Opening File /nonexistent-folder/a.webm! No such file or directory"},
    };
    for (const TCase& c : cases) {
      testing::TFormFixture f;
      f.now = {1, 1, 2000, 12, 0, 0, 0};
      TSolarSystemForm& form = f.Start();
      QFile file(old);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write("the old file");
      file.close();
      auto* progress = form.findChild<TVideoProgressDlg*>("TVideoProgressDlg");
      QVERIFY(progress);
      QObject::connect(progress, &TVideoProgressDlg::progressed, progress, [&](int done) {
        QVERIFY(progress->isVisible());
        QVERIFY(testing::ChildNamed<QLabel>(*progress, "FramesLabel")
                    ->text()
                    .startsWith(QString::number(done)));
        if (done == 1) testing::Shot(*progress, "video_progress");
        if (done == c.CancelAfter)
          QTest::mouseClick(testing::ChildNamed<QAbstractButton>(*progress, "CancelBtn"),
                            Qt::LeftButton);
      });
      f.prompter.dialogs.push_back(Answer(c.Path, 5));
      form.SaveAnimationAct->trigger();
      QVERIFY2(!progress->isVisible(), c.Name);
      QStringList asked = {"dialog: TSaveAnimationDlg"};
      if (!c.Error.isEmpty()) asked << c.Error;
      QCOMPARE(f.prompter.asked, asked);
      QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.webm"});
      QVERIFY(file.open(QIODevice::ReadOnly));
      QCOMPARE(file.readAll(), QByteArray("the old file"));
      file.close();
      QCOMPARE(DateToJD(form.Scene().SceneDate()), 2451545.0L);
    }
  }

  void CtrlShiftAOpensTheDialog() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    QTest::keyClick(&form, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f.prompter.asked, QStringList{"dialog: TSaveAnimationDlg"});
  }

  // The name and the type follow each other, and the last frame's date follows the numbers.
  void TheDialogKeepsNameTypeAndLastDateTogether() {
    testing::TRecordingPrompter prompter;
    TSaveAnimationDlg dialog(prompter);
    TAnimationSettings settings;
    settings.Start = {1, 1, 2000, 0, 0, 0, 0};
    settings.FileName = "/videos/orbits.webm";
    dialog.Load(settings);
    auto* type = testing::ChildNamed<QComboBox>(dialog, "CBType");
    auto* name = testing::ChildNamed<QLineEdit>(dialog, "FileNameEdit");
    QCOMPARE(name->text(), "orbits.webm");

    struct TNameCase {
      QString Typed;
      int ChosenType;  // -1: none chosen after typing
      QString Shown;
      QString Written;
      QString Folder;  // shown under the name: where the video goes
    };
    const QList<TNameCase> names = {
        {"a.GIF", -1, "a.GIF", "/videos/a.GIF", "Folder: /videos/"},
        {"a.gif", 1, "a.mp4", "/videos/a.mp4", "Folder: /videos/"},
        {"clip", 2, "clip.webp", "/videos/clip.webp", "Folder: /videos/"},
        {"clip.avi", 0, "clip.avi.webm", "/videos/clip.avi.webm", "Folder: /videos/"},
        {"/tmp/x", -1, "/tmp/x", "/tmp/x.webm", "Folder: /tmp/"},
    };
    for (const TNameCase& c : names) {
      Type(dialog, "FileNameEdit", c.Typed);
      if (c.ChosenType >= 0) {
        type->setCurrentIndex(c.ChosenType);
        emit type->activated(c.ChosenType);
      }
      QCOMPARE(name->text(), c.Shown);
      QCOMPARE(dialog.Apply().FileName, c.Written);
      QCOMPARE(testing::ChildNamed<QLabel>(dialog, "FolderLabel")->text(), c.Folder);
    }

    struct TDateCase {
      QString Step;
      int Unit;  // index in CBUnit: minute, hour, day, sidereal year, tropical year
      int Frames;
      QString Last;
      bool Ok;
    };
    const QList<TDateCase> dates = {
        {"1", 2, 11, "last: 11.01.2000 00:00:00 UT", true},
        {"0.5", 1, 5, "last: 01.01.2000 02:00:00 UT", true},
        {"-1", 2, 3, "last: 30.12.1999 00:00:00 UT", true},
        {"1", 3, 5000, "no step or last date out of range", false},
        {"x", 2, 3, "no step or last date out of range", false},
    };
    for (const TDateCase& c : dates) {
      Type(dialog, "StepEdit", c.Step);
      testing::ChildNamed<QComboBox>(dialog, "CBUnit")->setCurrentIndex(c.Unit);
      testing::ChildNamed<QSpinBox>(dialog, "SEFrames")->setValue(c.Frames);
      QCOMPARE(testing::ChildNamed<QLabel>(dialog, "EndDateLabel")->text(), c.Last);
      QCOMPARE(testing::ChildNamed<QAbstractButton>(dialog, "OKBtn")->isEnabled(), c.Ok);
    }
  }

  // A typed last date sets the frames from the first date up to it, a whole step apart; a date
  // that cannot be read, or lies against the step's direction, changes nothing.
  void ALastDateSetsTheFrames() {
    testing::TRecordingPrompter prompter;
    TSaveAnimationDlg dialog(prompter);
    TAnimationSettings settings;
    settings.Start = {1, 1, 2000, 0, 0, 0, 0};
    settings.Frames = 7;
    dialog.Load(settings);
    struct TCase {
      QString Step;
      int Unit;  // index in CBUnit: minute, hour, day, sidereal year, tropical year
      QString Last;
      int Frames;
    };
    const QList<TCase> cases = {
        {"1", 2, "11.01.2000", 11}, {"12", 1, "11.1.2000", 21}, {"3", 2, "11.01.2000", 4},
        {"-1", 2, "30.12.1999", 3}, {"1", 2, "31.12.1999", 3},  {"1", 2, "no date", 3},
        {"0", 2, "11.01.2000", 3},
    };
    for (const TCase& c : cases) {
      Type(dialog, "StepEdit", c.Step);
      testing::ChildNamed<QComboBox>(dialog, "CBUnit")->setCurrentIndex(c.Unit);
      Type(dialog, "EEndDate", c.Last);
      QTest::keyClick(testing::ChildNamed<QLineEdit>(dialog, "EEndDate"), Qt::Key_Return);
      QVERIFY2(testing::ChildNamed<QSpinBox>(dialog, "SEFrames")->value() == c.Frames,
               qPrintable(c.Last));
    }
    testing::Shot(dialog, "save_animation_dialog");
  }

  void ProposesTheDocumentsNameAsVideo() {
    QCOMPARE(PresetVideoName("/docs/trip.orb", "/pictures"), "/pictures/trip.webm");
    QCOMPARE(PresetVideoName("/home/last.orb", "/pictures/"), "/pictures/animation.webm");
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::SaveAnimationTest)
#include "save_animation_test.moc"
