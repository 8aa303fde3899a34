// The colour field: a click asks the colour dialog, a confirmed colour is shown and announced,
// a cancelled one changes nothing.
#include "ui/color_field.h"

#include <QSignalSpy>
#include <QTest>

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
};

}  // namespace kestrova

QTEST_MAIN(kestrova::ColorFieldTest)
#include "color_field_test.moc"
