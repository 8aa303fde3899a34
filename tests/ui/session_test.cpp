// The session without a window: it reads and writes documents on its own, and the time step,
// its unit and real time have one home, the controller, which documents read and write.
#include "ui/session.h"

#include <QTest>

#include "scene/solar_system.h"
#include "support/form_fixture.h"

namespace kestrova {

class SessionTest : public QObject {
  Q_OBJECT

 private slots:
  void AWindowlessSessionWritesWhatTheControllerHoldsAndReadsItBack() {
    testing::TFormFixture f;
    const std::string path = f.HomeFile("steps.orb").toStdString();
    {
      std::unique_ptr<TSession> a = f.MakeSession();
      a->Controller().SetTimeStep(2.5L);
      a->Controller().SetTimeUnit(TTimeUnit::Hour);
      a->Controller().SetShowApsides(true);
      QVERIFY(a->SaveDocumentAs(path));
      QCOMPARE(a->State().DocumentPath, path);
    }
    std::unique_ptr<TSession> b = f.MakeSession();
    QVERIFY(b->OpenDocumentAt(path));
    QVERIFY2(f.prompter.asked.isEmpty(), qPrintable(f.prompter.asked.join("; ")));
    QCOMPARE(b->Controller().TimeStep(), 2.5L);
    QCOMPARE(b->Controller().TimeUnit(), TTimeUnit::Hour);
    QVERIFY(b->Scene().ShowApsides());
    QCOMPARE(b->State().DocumentPath, path);
  }

  // The document host's time values are the controller's, both ways.
  void TheTimeStateHasOneHome() {
    testing::TFormFixture f;
    std::unique_ptr<TSession> s = f.MakeSession();
    TDocumentHost& host = *s;
    host.SetTimeStep(-3.0L, int32_t(TTimeUnit::TropicalYear));
    QCOMPARE(s->Controller().TimeStep(), -3.0L);
    QCOMPARE(s->Controller().TimeUnit(), TTimeUnit::TropicalYear);
    s->Controller().SetTimeUnit(TTimeUnit::Minute);
    QCOMPARE(host.TimeUnit(), int32_t(TTimeUnit::Minute));

    host.SetRealTime(true);
    QVERIFY(s->Controller().RealTimeMode());
    QVERIFY(s->Controller().RealTimeTimer().isActive());
    QCOMPARE(s->Controller().DisplayDate(), f.now);
    s->Controller().SetRealTimeMode(false);
    QVERIFY(!host.RealTime());
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::SessionTest)
#include "session_test.moc"
