// Printing and picture export as the main window runs them: the dialog answered through the
// prompter, the real PDF, PNG, BMP and SVG files read back, the screen repainted before any
// error is shown.
#include "ui/plot_actions.h"

#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "scene/picture_files.h"
#include "scene/picture_render.h"
#include "scene/solar_system.h"
#include "support/recording_prompter.h"
#include "support/scene_date.h"
#include "support/screenshots.h"
#include "support/widget_lookup.h"
#include "ui/print_dlg.h"
#include "ui/print_job.h"
#include "ui/save_as_bitmap_dlg.h"

namespace kestrova {

namespace {

const TDateRec kNoon{1, 1, 2000, 12, 0, 0, 0};

// Replaces the text of a line edit as a user types it.
void Type(QLineEdit& edit, const QString& text) {
  edit.selectAll();
  QTest::keyClick(&edit, Qt::Key_Delete);
  QTest::keyClicks(&edit, text);
}

// Runs a command-line tool of poppler-utils; its standard output.
QByteArray Run(const QString& program, const QStringList& arguments) {
  const QString path = QStandardPaths::findExecutable(program);
  if (path.isEmpty())
    qFatal("%s is missing (scripts/install-deps installs it)", qPrintable(program));
  QProcess process;
  process.start(path, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0)
    qFatal("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
  return process.readAllStandardOutput();
}

// The smallest rectangle holding every pixel of `image` inside `area` for which `match` holds.
template <class Match>
QRect Bounds(const QImage& image, const QRect& area, Match match) {
  QRect bounds;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (match(image.pixel(x, y))) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

// Whether two rectangles agree to `pixels` on every edge.
bool Near(const QRect& a, const QRect& b, int pixels) {
  return std::abs(a.left() - b.left()) <= pixels && std::abs(a.top() - b.top()) <= pixels &&
         std::abs(a.right() - b.right()) <= pixels && std::abs(a.bottom() - b.bottom()) <= pixels;
}

QString Describe(const QRect& r) {
  return QString("%1x%2 at %3,%4").arg(r.width()).arg(r.height()).arg(r.left()).arg(r.top());
}

// Makes writing a file of more than `bytes` bytes fail for as long as it lives: the disk is full
// as far as this program is concerned.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }

 private:
  rlimit old_{};
};

}  // namespace

class PlotActionsTest : public QObject {
  Q_OBJECT

  testing::TRecordingPrompter prompter_;
  std::unique_ptr<TSolarSystem> scene_;
  std::unique_ptr<QTemporaryDir> dir_;
  TPlotOutputState state_;

  QString Path(const QString& name) const { return dir_->filePath(name); }

 private slots:
  void init() {
    prompter_ = {};
    scene_ = std::make_unique<TSolarSystem>(TestStartDate());
    scene_->SetDate(kNoon);
    // The screen's repaints show in the prompter's record, in order with the messages.
    scene_->SetRepaintHook([this] { prompter_.asked << "repaint"; });
    dir_ = std::make_unique<QTemporaryDir>();
    state_ = {};
    state_.DisplayDate = kNoon;
    state_.DocumentPath = Path("home/last.orb");
    state_.BitmapPath = dir_->path() + "/";
    state_.BitmapSize = 100;
  }

  // ---- Printing ------------------------------------------------------------------------------

  void PrintToAPdfFileShowsThePlotAtItsPlaceWithTheHeader() {
    TPrintDlg dialog(prompter_);
    // A small page keeps the rasterised page small.
    QPageLayout page(QPageSize(QPageSize::A6), QPageLayout::Portrait, QMarginsF(10, 12, 10, 12),
                     QPageLayout::Millimeter);
    dialog.Printer().setPageLayout(page);
    const QString pdf = Path("plot.pdf");
    prompter_.dialogs.push_back([&](QDialog& d) {
      auto* toFile = testing::ChildNamed<QAbstractButton>(d, "CBPrintToFile");
      if (!toFile->isChecked()) QTest::mouseClick(toFile, Qt::LeftButton);
      Type(*testing::ChildNamed<QLineEdit>(d, "EPdfFileName"), pdf);
      QTest::mouseClick(testing::ChildNamed<QRadioButton>(d, "RBColor"), Qt::LeftButton);
      testing::Shot(d, "print_dlg");
      return int(QDialog::Accepted);
    });
    QVERIFY(PrintAction(nullptr, *scene_, dialog, prompter_, state_));
    QCOMPARE(prompter_.asked, QStringList({"dialog: TPrintDlg", "repaint"}));

    const QByteArray info = Run("pdfinfo", {pdf});
    QVERIFY2(QString(info).contains(QRegularExpression("Title: +Kestrova document\n")),
             info.constData());
    QVERIFY2(QString(info).contains(QRegularExpression("Pages: +1\n")), info.constData());

    // The page rasterised at the printer's own resolution: one page pixel per device pixel.
    Run("pdftoppm",
        {"-r", QString::number(kPdfResolution), "-png", "-singlefile", pdf, Path("page")});
    const QImage raster(Path("page.png"));
    QVERIFY(!raster.isNull());
    const QRect printable = page.paintRectPixels(kPdfResolution);
    const TPrintLayout layout = PrintLayout(printable.width(), printable.height());
    // The configured colours: the plot is the square of the black background on the white page.
    const QRect plot = Bounds(raster, raster.rect(), [](QRgb p) { return qGray(p) < 8; });
    const QRect expected(printable.left() + layout.Left, printable.top() + layout.Top, layout.Side,
                         layout.Side);
    QVERIFY2(Near(plot, expected, 1), qPrintable(Describe(plot) + " for " + Describe(expected)));
    testing::ShotImage(raster, "printed_page");

    // The header: its two lines as text, the first beginning at the text origin.
    const QString text = QString::fromUtf8(Run("pdftotext", {"-layout", pdf, "-"}));
    const auto lines = HeaderLines(kNoon, uint8_t(scene_->Plane()), "Sun");
    QVERIFY2(text.contains(QString::fromStdString(lines[0])), qPrintable(text));
    QVERIFY2(text.contains(QString::fromStdString(lines[1])), qPrintable(text));
    const QString boxes = QString::fromUtf8(Run("pdftotext", {"-bbox", pdf, "-"}));
    const QRegularExpression first(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="[0-9.]+">01\.01\.2000</word>)re");
    const QRegularExpressionMatch word = first.match(boxes);
    QVERIFY2(word.hasMatch(), qPrintable(boxes));
    const double pointsPerPixel = 72.0 / kPdfResolution;
    const double originX = (printable.left() + layout.TextOrigin.x) * pointsPerPixel;
    const double originY = (printable.top() + layout.TextOrigin.y) * pointsPerPixel;
    QVERIFY2(std::abs(word.captured(1).toDouble() - originX) < 1.5, qPrintable(word.captured(0)));
    QVERIFY2(std::abs(word.captured(2).toDouble() - originY) < 3, qPrintable(word.captured(0)));
    // ... and it can be read: white on the black background.
    const QPoint at(printable.left() + layout.TextOrigin.x, printable.top() + layout.TextOrigin.y);
    const int lineHeight = kPrintFontPointSize * kPdfResolution / 72;
    QVERIFY(!Bounds(raster, QRect(at, QSize(8 * lineHeight, 2 * lineHeight)), [](QRgb p) {
               return qGray(p) > 200;
             }).isEmpty());
  }

  void CopiesArePagesOfTheFileAndCancelPrintsNothing() {
    TPrintDlg dialog(prompter_);
    const QString pdf = Path("copies.pdf");
    prompter_.dialogs.push_back([&](QDialog& d) {
      Type(*testing::ChildNamed<QLineEdit>(d, "EPdfFileName"), pdf);
      testing::ChildNamed<QSpinBox>(d, "ECopies")->setValue(3);
      return int(QDialog::Accepted);
    });
    QVERIFY(PrintAction(nullptr, *scene_, dialog, prompter_, state_));
    QVERIFY(QString(Run("pdfinfo", {pdf})).contains(QRegularExpression("Pages: +3\\n")));

    // Cancel after changing everything: no file, no repaint, and the next showing starts
    // from one copy in black on white.
    prompter_.asked.clear();
    prompter_.dialogs.push_back([&](QDialog& d) {
      Type(*testing::ChildNamed<QLineEdit>(d, "EPdfFileName"), Path("cancelled.pdf"));
      testing::ChildNamed<QSpinBox>(d, "ECopies")->setValue(5);
      QTest::mouseClick(testing::ChildNamed<QRadioButton>(d, "RBColor"), Qt::LeftButton);
      return int(QDialog::Rejected);
    });
    QVERIFY(!PrintAction(nullptr, *scene_, dialog, prompter_, state_));
    QCOMPARE(prompter_.asked, QStringList{"dialog: TPrintDlg"});
    QVERIFY(!QFile::exists(Path("cancelled.pdf")));
    dialog.Prepare(QString());
    QCOMPARE(dialog.Copies(), 1);
    QCOMPARE(dialog.Scheme(), uint8_t(0));
    QCOMPARE(dialog.PdfFileName(), Path("cancelled.pdf"));  // the file name is kept
  }

  void FailingPrintShowsTheErrorAfterTheRepaintAndLeavesNoFile() {
    TPrintDlg dialog(prompter_);
    // An earlier print of the same name stays whole when the new one fails.
    const QString pdf = Path("plot.pdf");
    QFile old(pdf);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old plot");
    old.close();
    prompter_.dialogs.push_back([&](QDialog& d) {
      Type(*testing::ChildNamed<QLineEdit>(d, "EPdfFileName"), pdf);
      QTest::mouseClick(testing::ChildNamed<QRadioButton>(d, "RBColor"), Qt::LeftButton);
      return int(QDialog::Accepted);
    });
    {
      // The disk fills up after the first few kilobytes of the page.
      TFileSizeLimit full(4096);
      QVERIFY(!PrintAction(nullptr, *scene_, dialog, prompter_, state_));
    }
    QCOMPARE(prompter_.asked, QStringList({"dialog: TPrintDlg", "repaint",
                                           "error: Error Writing PDF File " + pdf + "! " +
                                               QString::fromUtf8(std::strerror(EFBIG))}));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old plot"));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{"plot.pdf"});

    // A folder that does not exist.
    prompter_.asked.clear();
    const QString nowhere = Path("no such folder/plot.pdf");
    prompter_.dialogs.push_back([&](QDialog& d) {
      Type(*testing::ChildNamed<QLineEdit>(d, "EPdfFileName"), nowhere);
      return int(QDialog::Accepted);
    });
    QVERIFY(!PrintAction(nullptr, *scene_, dialog, prompter_, state_));
    QCOMPARE(prompter_.asked,
             QStringList({"dialog: TPrintDlg", "repaint",
                          "error: Error Opening File " + nowhere + "! No such file or directory"}));
  }

  // ---- Save as bitmap --------------------------------------------------------------------

  void ExportNames_data() {
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("typed");  // empty: the proposed name is kept
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("last.orb") << "home/last.orb"
                              << ""
                              << "default.png"
                              << "default.png" << QByteArray("png");
    QTest::newRow("trip.orb") << "trips/trip.orb"
                              << ""
                              << "$/trip.png"
                              << "trip.png" << QByteArray("png");
    QTest::newRow("no extension") << "home/last.orb"
                                  << "plot"
                                  << "default.png"
                                  << "plot.png" << QByteArray("png");
    QTest::newRow("BMP in capitals") << "home/last.orb"
                                     << "plot.BMP"
                                     << "default.png"
                                     << "plot.BMP" << QByteArray("bmp");
    QTest::newRow("jpg") << "home/last.orb"
                         << "plot.jpg"
                         << "default.png"
                         << "plot.jpg.png" << QByteArray("png");
    QTest::newRow("svg") << "home/last.orb"
                         << "plot.svg"
                         << "default.png"
                         << "plot.svg" << QByteArray("svg");
  }

  void ExportNames() {
    QFETCH(QString, document);
    QFETCH(QString, typed);
    QFETCH(QString, proposed);
    QFETCH(QString, written);
    QFETCH(QByteArray, format);
    state_.DocumentPath = Path(document);
    TSaveAsBitmapDlg dialog(prompter_);
    QString shown;
    prompter_.dialogs.push_back([&](QDialog& d) {
      auto* edit = testing::ChildNamed<QLineEdit>(d, "FileNameEdit");
      shown = edit->text();
      if (!typed.isEmpty()) Type(*edit, typed);
      testing::ChildNamed<QSpinBox>(d, "SESize")->setValue(150);
      return int(QDialog::Accepted);
    });
    QVERIFY(SaveAsBitmapAction(nullptr, *scene_, dialog, prompter_, state_));
    QCOMPARE(shown, QString(proposed).replace("$", dir_->path()));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{written});
    QCOMPARE(state_.BitmapSize, 150);
    QCOMPARE(state_.BitmapPath, dir_->path() + "/");
    QCOMPARE(prompter_.asked, QStringList({"dialog: TSaveAsBitmapDlg", "repaint"}));
    QFile file(Path(written));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray head = file.read(64);
    if (format == "svg") {
      QVERIFY(head.contains("<?xml"));
      QSvgRenderer svg(Path(written));
      QVERIFY(svg.isValid());
      QCOMPARE(svg.viewBox(), QRect(0, 0, 150, 150));
    } else {
      QCOMPARE(head.left(2), format == "bmp" ? QByteArray("BM") : QByteArray("\x89P"));
      QCOMPARE(QImage(Path(written)).size(), QSize(150, 150));
    }
  }

  void ATypedFolderIsShownAndRememberedOnceWritten() {
    QVERIFY(QDir(dir_->path()).mkdir("slides"));
    const QString slides = Path("slides") + "/";
    TSaveAsBitmapDlg dialog(prompter_);
    QStringList folders;
    const auto answer = [&](const QString& typed) {
      prompter_.dialogs.push_back([&, typed](QDialog& d) {
        auto* label = testing::ChildNamed<QLabel>(d, "FolderLabel");
        folders << label->text();
        Type(*testing::ChildNamed<QLineEdit>(d, "FileNameEdit"), typed);
        folders << label->text();
        return int(QDialog::Accepted);
      });
    };
    answer(slides + "inner.png");
    QVERIFY(SaveAsBitmapAction(nullptr, *scene_, dialog, prompter_, state_));
    QVERIFY(QFileInfo::exists(slides + "inner.png"));
    QCOMPARE(state_.BitmapPath, slides);
    // The next export opens in that folder, and a bare name goes there.
    answer("outer");
    QVERIFY(SaveAsBitmapAction(nullptr, *scene_, dialog, prompter_, state_));
    QVERIFY(QFileInfo::exists(slides + "outer.png"));
    QCOMPARE(folders, QStringList({"Folder: " + dir_->path() + "/", "Folder: " + slides,
                                   "Folder: " + slides, "Folder: " + slides}));
    // A failed write leaves the folder where it was.
    answer(Path("no such folder/x.png"));
    QVERIFY(!SaveAsBitmapAction(nullptr, *scene_, dialog, prompter_, state_));
    QCOMPARE(state_.BitmapPath, slides);
  }

  void CancelChangesNeitherSizeNorFolder() {
    TSaveAsBitmapDlg dialog(prompter_);
    prompter_.dialogs.push_back([&](QDialog& d) {
      Type(*testing::ChildNamed<QLineEdit>(d, "FileNameEdit"), "/tmp/elsewhere.png");
      testing::ChildNamed<QSpinBox>(d, "SESize")->setValue(1000);
      return int(QDialog::Rejected);
    });
    const TPlotOutputState before = state_;
    QVERIFY(!SaveAsBitmapAction(nullptr, *scene_, dialog, prompter_, state_));
    QCOMPARE(state_.BitmapSize, before.BitmapSize);
    QCOMPARE(state_.BitmapPath, before.BitmapPath);
    QVERIFY(QDir(dir_->path()).entryList(QDir::Files).isEmpty());
    QCOMPARE(prompter_.asked, QStringList{"dialog: TSaveAsBitmapDlg"});
  }

  void PngDecodesToTheRenderedPixels() {
    state_.BitmapSize = 300;
    scene_->SetShowSatellites(true);
    TSaveAsBitmapDlg dialog(prompter_);
    prompter_.dialogs.push_back([](QDialog&) { return int(QDialog::Accepted); });
    QVERIFY(SaveAsBitmapAction(nullptr, *scene_, dialog, prompter_, state_));
    const QImage decoded = QImage(Path("default.png")).convertToFormat(QImage::Format_RGB32);
    const QImage rendered = RenderPicture(*scene_, 300, kNoon);
    QCOMPARE(decoded.size(), rendered.size());
    QVERIFY(decoded == rendered);
    testing::ShotImage(decoded, "exported_picture");
  }

  void HeaderIsTheBackgroundsComplementAtItsOrigin_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QPoint>("origin");
    // Below the size where the header fits at its usual size it is smaller, but still there.
    QTest::newRow("120") << 120 << QPoint(5, 4);
    QTest::newRow("4000") << 4000 << QPoint(160, 120);
  }

  void HeaderIsTheBackgroundsComplementAtItsOrigin() {
    QFETCH(int, size);
    QFETCH(QPoint, origin);
    scene_->SetBgColor(0xFF0000);  // pure blue
    // Only the header is drawn in the top-left corner: the Sun, also yellow, is in the middle.
    const QRect corner(0, 0, std::min(size, 1200), std::min(size, 300));
    const TExportedPicture picture = RenderExport(*scene_, TExportFormat::Png, size, kNoon);
    const QImage& image = picture.Image;
    const QRgb yellow = qRgb(255, 255, 0), blue = qRgb(0, 0, 255);
    // Text pixels: at least half covered by the yellow glyphs (the grid's grey has less red).
    const QRect text = Bounds(image, size > 120 ? corner : QRect(0, 0, size, size / 4),
                              [&](QRgb p) { return qRed(p) > 128; });
    QVERIFY(!text.isEmpty());
    // Yellow where a glyph covers a pixel (the small header's glyphs cover none entirely).
    QVERIFY(!Bounds(image, text, [&](QRgb p) {
               return size > 120 ? p == yellow
                                 : qRed(p) >= 220 && qGreen(p) >= 220 && qBlue(p) <= 40;
             }).isEmpty());
    // The glyphs start a little right of and below the origin, never before it.
    QVERIFY2(text.left() >= origin.x() && text.left() <= origin.x() + 2,
             qPrintable(QString::number(text.left())));
    QVERIFY2(text.top() >= origin.y() && text.top() <= origin.y() + 4,
             qPrintable(QString::number(text.top())));
    if (size > 120) {
      // Both lines, and around them only yellow over the blue background and the grey grid:
      // red and green alike everywhere.
      QVERIFY(text.height() > 3 * kPictureFontPixelSize / 2);
      QVERIFY(text.width() > 200);
      int blues = 0;
      for (int y = text.top(); y <= text.bottom(); ++y) {
        for (int x = text.left(); x <= text.right(); ++x) {
          const QRgb p = image.pixel(x, y);
          blues += p == blue;
          QVERIFY2(std::abs(qRed(p) - qGreen(p)) <= 1, qPrintable(QString::number(p, 16)));
        }
      }
      QVERIFY(blues > text.width() * text.height() / 2);
      testing::ShotImage(image.copy(0, 0, 600, 200), "export_header_on_blue");
    }
  }

  void WriteFailureIsShownAfterTheRepaint_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("writeError");
    QTest::newRow("png") << "plot.png"
                         << "Error Writing PNG File!";
    QTest::newRow("bmp") << "plot.bmp"
                         << "Error Writing BMP File!";
    QTest::newRow("svg") << "plot.svg"
                         << "Error Writing SVG File!";
  }

  void WriteFailureIsShownAfterTheRepaint() {
    QFETCH(QString, name);
    QFETCH(QString, writeError);
    TSaveAsBitmapDlg dialog(prompter_);
    const auto answer = [&](const QString& typed) {
      prompter_.dialogs.push_back([&, typed](QDialog& d) {
        Type(*testing::ChildNamed<QLineEdit>(d, "FileNameEdit"), typed);
        return int(QDialog::Accepted);
      });
    };
    // A folder that does not exist.
    const QString nowhere = Path("no such folder/" + name);
    answer(nowhere);
    QVERIFY(!SaveAsBitmapAction(nullptr, *scene_, dialog, prompter_, state_));
    QCOMPARE(prompter_.asked,
             QStringList({"dialog: TSaveAsBitmapDlg", "repaint",
                          "error: Error Opening File " + nowhere + "! No such file or directory"}));
    QVERIFY(!QFileInfo::exists(Path("no such folder")));

    // The disk fills up while the picture is written: the old picture stays whole and nothing
    // else is left in the folder.
    prompter_.asked.clear();
    const QString target = Path(name);
    QFile old(target);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old picture");
    old.close();
    answer(target);
    state_.BitmapSize = 300;
    {
      TFileSizeLimit full(1024);
      QVERIFY(!SaveAsBitmapAction(nullptr, *scene_, dialog, prompter_, state_));
    }
    // The system's reason follows the message.
    QCOMPARE(prompter_.asked,
             QStringList({"dialog: TSaveAsBitmapDlg", "repaint",
                          "error: " + writeError + " " + QString::fromUtf8(std::strerror(EFBIG))}));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old picture"));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{name});
  }

  void SvgIsTheSamePlotAsThePicture() {
    const TExportedPicture svg = RenderExport(*scene_, TExportFormat::Svg, 400, kNoon);
    const QString document = QString::fromUtf8(svg.Svg);
    const auto lines = HeaderLines(kNoon, uint8_t(scene_->Plane()), "Sun");
    QVERIFY(document.contains(QString::fromStdString(lines[0])));
    QVERIFY(document.contains(QString::fromStdString(lines[1])));
    QVERIFY(document.contains(">Earth<"));
    // Drawn back into pixels it matches the PNG picture but for the edges of the text.
    QSvgRenderer renderer(svg.Svg);
    QImage drawn(400, 400, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    renderer.render(&painter);
    painter.end();
    const QImage picture = RenderPicture(*scene_, 400, kNoon);
    int same = 0;
    for (int y = 0; y < 400; ++y)
      for (int x = 0; x < 400; ++x) same += drawn.pixel(x, y) == picture.pixel(x, y);
    QVERIFY2(same > 400 * 400 * 98 / 100, qPrintable(QString::number(same)));
    testing::ShotImage(drawn, "exported_svg_drawn");
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::PlotActionsTest)
#include "plot_actions_test.moc"
