// The print dialog: reset on every showing, the PDF file where no printer is installed, the
// printer set-up through the prompter, and the medium print quality.
#include "ui/print_dlg.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "numerics/errors.h"
#include "scene/solar_system.h"
#include "support/recording_prompter.h"
#include "support/scene_date.h"
#include "ui/print_job.h"

namespace kestrova {

class PrintDlgTest : public QObject {
  Q_OBJECT

  testing::TRecordingPrompter prompter_;
  std::unique_ptr<TPrintDlg> dialog_;

  template <class T>
  T& Find(const char* name) {
    return *dialog_->findChild<T*>(QString::fromLatin1(name));
  }

 private slots:
  void init() {
    prompter_ = {};
    dialog_ = std::make_unique<TPrintDlg>(prompter_);
  }

  void ShowingResetsSchemeAndCopiesAndProposesAPdfFile() {
    dialog_->Prepare("/home/u/pics/trip.pdf");
    QCOMPARE(dialog_->Scheme(), uint8_t(0));
    QCOMPARE(dialog_->Copies(), 1);
    QCOMPARE(dialog_->PdfFileName(), QString("/home/u/pics/trip.pdf"));
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
      // The PDF file is the only way out, and it prints colour.
      QVERIFY(dialog_->PrintToFile());
      QVERIFY(!Find<QCheckBox>("CBPrintToFile").isEnabled());
      QCOMPARE(Find<QLabel>("LPrinter").text(), QString("no printer installed"));
    }
    Find<QCheckBox>("CBPrintToFile").setChecked(true);
    QVERIFY(Find<QRadioButton>("RBColor").isEnabled());
    QVERIFY(Find<QRadioButton>("RBColorWBG").isEnabled());

    const char* schemes[] = {"RBBlackOnWhite", "RBWhiteOnBlack", "RBColor", "RBColorWBG"};
    for (uint8_t scheme = 0; scheme < 4; ++scheme) {
      QTest::mouseClick(&Find<QRadioButton>(schemes[scheme]), Qt::LeftButton);
      QCOMPARE(dialog_->Scheme(), scheme);
    }
    auto& copies = Find<QSpinBox>("ECopies");
    copies.setValue(20);
    QTest::keyClick(&copies, Qt::Key_Up);
    QCOMPARE(dialog_->Copies(), 20);
    copies.setValue(1);
    QTest::keyClick(&copies, Qt::Key_Down);
    QCOMPARE(dialog_->Copies(), 1);
    // More copies cannot be typed; the tip names the limit.
    copies.selectAll();
    QTest::keyClicks(&copies, "25");
    QCOMPARE(dialog_->Copies(), 2);
    QCOMPARE(copies.toolTip(), QString("1 to 20 copies"));

    // A name the user gave is kept; the scheme and copies start again.
    dialog_->SetPdfFileName("/tmp/mine.pdf");
    copies.setValue(4);
    dialog_->Prepare("/home/u/pics/other.pdf");
    QCOMPARE(dialog_->PdfFileName(), QString("/tmp/mine.pdf"));
    QCOMPARE(dialog_->Scheme(), uint8_t(0));
    QCOMPARE(dialog_->Copies(), 1);
  }

  void OkNeedsAPdfFileName() {
    Find<QCheckBox>("CBPrintToFile").setChecked(true);
    auto& ok = Find<QPushButton>("OKBtn");
    auto& name = Find<QLineEdit>("EPdfFileName");
    name.clear();
    QVERIFY(!ok.isEnabled());
    QTest::keyClicks(&name, "  ");
    QVERIFY(!ok.isEnabled());
    dialog_->SetPdfFileName("/home/u/pics/trip.pdf");
    name.clear();
    QTest::keyClicks(&name, "plot");
    QVERIFY(ok.isEnabled());
    // A bare name goes beside the last one.
    QCOMPARE(dialog_->PdfFileName(), QString("/home/u/pics/plot.pdf"));
  }

  void FileButtonAsksForThePdfFile() {
    Find<QCheckBox>("CBPrintToFile").setChecked(true);
    dialog_->SetPdfFileName("/home/u/pics/trip.pdf");
    prompter_.fileNames.push_back("/home/u/other/plot.pdf");
    QTest::mouseClick(&Find<QToolButton>("SBPdfFileName"), Qt::LeftButton);
    QCOMPARE(prompter_.asked, QStringList{"save: Print to PDF file"});
    QCOMPARE(prompter_.lastFileDialog.Folder, QString("/home/u/pics"));
    QCOMPARE(prompter_.lastFileDialog.FileName, QString("trip.pdf"));
    QCOMPARE(prompter_.lastFileDialog.DefaultSuffix, QString("pdf"));
    QCOMPARE(dialog_->PdfFileName(), QString("/home/u/other/plot.pdf"));
    QTest::mouseClick(&Find<QToolButton>("SBPdfFileName"), Qt::LeftButton);  // cancelled
    QCOMPARE(dialog_->PdfFileName(), QString("/home/u/other/plot.pdf"));
  }

  void SettingsRunsThePrinterSetUpAndTakesItsChoices() {
    Find<QSpinBox>("ECopies").setValue(3);
    int seenCopies = 0;
    prompter_.printerSetups = {true, false};
    prompter_.setUpPrinter = [&](QPrinter& printer) {
      seenCopies = printer.copyCount();
      printer.setCopyCount(7);
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName("/tmp/chosen.pdf");
    };
    QTest::mouseClick(&Find<QPushButton>("BPrinterSetup"), Qt::LeftButton);
    QCOMPARE(prompter_.asked, QStringList{"printer"});
    QCOMPARE(seenCopies, 3);
    QCOMPARE(dialog_->Copies(), 7);
    QVERIFY(dialog_->PrintToFile());
    QCOMPARE(dialog_->PdfFileName(), QString("/tmp/chosen.pdf"));
    // Cancelled: nothing is taken.
    Find<QSpinBox>("ECopies").setValue(2);
    QTest::mouseClick(&Find<QPushButton>("BPrinterSetup"), Qt::LeftButton);
    QCOMPARE(dialog_->Copies(), 2);
  }

  // The set-up dialog opens on the PDF file of the dialog, not on a name of its own, and the
  // file it gives back is the one the dialog shows and prints to.
  void SettingsKeepsThePdfFileTheUserChose() {
    Find<QCheckBox>("CBPrintToFile").setChecked(true);
    auto& name = Find<QLineEdit>("EPdfFileName");
    name.clear();
    QTest::keyClicks(&name, "/tmp/typed/plot.pdf");
    QString offered;
    prompter_.printerSetups = {true, true};
    prompter_.setUpPrinter = [&](QPrinter& printer) {
      offered = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : "";
    };
    QTest::mouseClick(&Find<QPushButton>("BPrinterSetup"), Qt::LeftButton);
    QCOMPARE(offered, QString("/tmp/typed/plot.pdf"));
    QVERIFY(dialog_->PrintToFile());
    QCOMPARE(dialog_->PdfFileName(), QString("/tmp/typed/plot.pdf"));
    // Another file chosen there comes back.
    prompter_.setUpPrinter = [&](QPrinter& printer) {
      offered = printer.outputFileName();
      printer.setOutputFileName("/tmp/other.pdf");
    };
    QTest::mouseClick(&Find<QPushButton>("BPrinterSetup"), Qt::LeftButton);
    QCOMPARE(offered, QString("/tmp/typed/plot.pdf"));
    QCOMPARE(name.text(), QString("/tmp/other.pdf"));
  }

  void MediumResolutionIsTheMiddleChoice() {
    QCOMPARE(MediumResolution({}), std::nullopt);
    QCOMPARE(MediumResolution({600}), std::nullopt);
    QCOMPARE(MediumResolution({600, 600}), std::nullopt);
    QCOMPARE(MediumResolution({1200, 300, 600}), std::optional<int>(600));
    QCOMPARE(MediumResolution({300, 600}), std::optional<int>(600));
    QCOMPARE(MediumResolution({75, 150, 300, 600, 1200, 2400}), std::optional<int>(600));
    QPrinter pdf;
    pdf.setOutputFormat(QPrinter::PdfFormat);
    QVERIFY(PrinterPrintsColor(pdf));
  }

  void PrintingWithoutAPrinterIsAnErrorNotAFile() {
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) QSKIP("a printer is installed here");
    TSolarSystem scene(TestStartDate());
    QTemporaryDir dir;
    // Left writing a file by the set-up dialog: printing asks for the printer again.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(dir.filePath("left.pdf"));
    try {
      PrintPlotOnPrinter(scene, printer, TPrintRequest{});
      QFAIL("printed without a printer");
    } catch (const EKestrovaError& e) {
      QCOMPARE(QString(e.what()), QString("No printer is installed."));
    }
    QVERIFY(!QFile::exists(dir.filePath("left.pdf")));
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::PrintDlgTest)
#include "print_dlg_test.moc"
