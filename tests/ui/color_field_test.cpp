// The colour field: a click asks the colour dialog, a confirmed colour is shown and announced,
// a cancelled one changes nothing; its frame is even at every scale.
#include "ui/color_field.h"

#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cmath>

#include "support/recording_prompter.h"

namespace kestrova {

class ColorFieldTest : public QObject {
  Q_OBJECT
 private slots:
  void ClickChoosesAColourOrKeepsItOnCancel() {
    testing::TRecordingPrompter prompter;
    TColorField field(prompter);
    field.SetColor(0x505050);
    QSignalSpy chosen(&field, &TColorField::colorChosen);
    QSignalSpy closed(&field, &TColorField::dialogClosed);

    prompter.colors.push_back(TColor{0x0000FF});
    QTest::mouseClick(&field, Qt::RightButton);
    QCOMPARE(field.Color(), TColor{0x0000FF});
    QCOMPARE(chosen.count(), 1);

    QTest::mouseClick(&field, Qt::LeftButton);  // cancelled
    QCOMPARE(field.Color(), TColor{0x0000FF});
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(closed.count(), 2);
    QCOMPARE(prompter.asked, QStringList({"color", "color"}));
  }

  // The frame and the focus rings are as wide on every side, in whole screen pixels (ctest runs
  // this again at a scale factor of 1.5, where a painter-scaled line is one or two pixels).
  void TheFrameIsAsWideOnEverySide() {
    testing::TRecordingPrompter prompter;
    TColorField field(prompter);
    field.resize(40, 21);
    field.SetColor(0x000000);
    const int ring = std::max(1, int(std::lround(field.devicePixelRatioF())));
    for (bool focused : {false, true}) {
      if (focused) {
        field.show();
        field.activateWindow();
        field.setFocus(Qt::TabFocusReason);
        QVERIFY(QTest::qWaitForWindowActive(&field));
        QVERIFY(field.hasFocus());
      }
      const QImage image = field.grab().toImage();
      const int midX = image.width() / 2, midY = image.height() / 2;
      // Pixels before the black fill, from each side along the middle lines.
      const auto edge = [&](QPoint from, QPoint step) {
        int n = 0;
        for (QPoint p = from; image.rect().contains(p) && image.pixelColor(p) != Qt::black;
             p += step)
          ++n;
        return n;
      };
      const int left = edge({0, midY}, {1, 0});
      QCOMPARE(left, focused ? 3 * ring : ring);
      QCOMPARE(edge({image.width() - 1, midY}, {-1, 0}), left);
      QCOMPARE(edge({midX, 0}, {0, 1}), left);
      QCOMPARE(edge({midX, image.height() - 1}, {0, -1}), left);
    }
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::ColorFieldTest)
#include "color_field_test.moc"
