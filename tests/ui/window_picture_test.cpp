// The whole main window as the user first sees it, at a fixed date, compared with
// tests/data/golden/main_window.png. It catches a broken layout, a control that moved or
// vanished, and a drawing area that no longer paints. After a wanted change, regenerate it with
//   KESTROVA_UPDATE_GOLDEN=1 build/bin/kestrova_tests_ui_window_picture_test
// and look at the picture before committing it.
#include <QImage>
#include <QTabWidget>
#include <QTest>

#include "support/form_fixture.h"

namespace kestrova {

class WindowPictureTest : public QObject {
  Q_OBJECT
 private slots:
  void TheWindowAtTheStartLooksAsBefore() {
    testing::TFormFixture f;
    f.now = {1, 1, 2000, 12, 0, 0, 0};
    TSolarSystemForm& form = f.Start();
    // The start size after the first mouse movement made the drawing area square.
    form.resize(744, 588);
    QTest::qWait(1);
    const QImage picture = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString path = QStringLiteral(KESTROVA_TEST_DATA "/golden/main_window.png");
    if (qEnvironmentVariableIsSet("KESTROVA_UPDATE_GOLDEN")) {
      QVERIFY(picture.save(path, "PNG"));
      QSKIP("wrote the golden picture");
    }
    const QImage golden = QImage(path).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(picture.size(), golden.size());
    // Text may be smoothed a little differently by another font renderer; anything more than
    // a sprinkle of pixels is a change.
    qint64 differing = 0;
    for (int y = 0; y < golden.height(); ++y) {
      const auto* a = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
      const auto* b = reinterpret_cast<const QRgb*>(golden.constScanLine(y));
      for (int x = 0; x < golden.width(); ++x) {
        if (std::abs(qRed(a[x]) - qRed(b[x])) > 48 || std::abs(qGreen(a[x]) - qGreen(b[x])) > 48 ||
            std::abs(qBlue(a[x]) - qBlue(b[x])) > 48)
          ++differing;
      }
    }
    if (differing > golden.width() * golden.height() / 1000) {
      picture.save(QDir::temp().filePath("main_window_actual.png"), "PNG");
      QFAIL(qPrintable(QStringLiteral("%1 pixels differ; the picture is in %2")
                           .arg(differing)
                           .arg(QDir::temp().filePath("main_window_actual.png"))));
    }
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::WindowPictureTest)
#include "window_picture_test.moc"
