// The session without a window: it reads and writes documents on its own, and the time step,
// its unit and real time have one home, the controller, which documents read and write.
#include "ui/session.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QTest>

#include <filesystem>

#include "database/program_folder.h"
#include "scene/solar_system.h"
#include "support/data_folder.h"
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

  // A document whose data file went away is read all the same; choosing that file again once
  // it is back brings its catalogue back, choosing another ends the wait.
  void ADocumentWaitsForItsDataFile() {
    testing::TFormFixture f;
    testing::MakeSampleDataFile("cat.db");
    const std::filesystem::path table = AliasFolder(kDefaultAlias) / "cat.db";
    const std::string path = f.HomeFile("cat.orb").toStdString();
    {
      std::unique_ptr<TSession> writer = f.MakeSession();
      QVERIFY(writer->ChangeDataFile(kDefaultAlias, "cat.db"));
      writer->PressShowAllObjects(true);
      QCOMPARE(writer->Scene().AsteroidsFullList().Count(), 6);
      QVERIFY(writer->SaveDocumentAs(path));
    }
    std::filesystem::rename(table, table.string() + ".away");
    std::unique_ptr<TSession> s = f.MakeSession();
    QVERIFY(s->OpenDocumentAt(path));
    QCOMPARE(f.prompter.asked.size(), 1);
    QVERIFY2(f.prompter.asked[0].startsWith("error: Cannot open data file cat.db: "),
             qPrintable(f.prompter.asked[0]));
    QVERIFY(!s->State().ShowAllObjects);
    QCOMPARE(s->TableName(), std::string("cat.db"));

    std::filesystem::rename(table.string() + ".away", table);
    QVERIFY(s->ChangeDataFile(kDefaultAlias, "cat.db"));
    QVERIFY(s->State().ShowAllObjects);
    QCOMPARE(s->Scene().AsteroidsFullList().Count(), 6);

    std::filesystem::rename(table, table.string() + ".away");
    QVERIFY(s->OpenDocumentAt(path));
    testing::MakeSampleDataFile("other.db");
    QVERIFY(s->ChangeDataFile(kDefaultAlias, "other.db"));
    QVERIFY(!s->State().ShowAllObjects);
    QVERIFY(!s->State().ShowAllObjectsAwaitingFile);
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

  // Nothing the user had is lost at the exit when the start could not read it: a damaged
  // last.orb is kept aside (the user is told where), a command line document that cannot be
  // read falls back to last.orb, which then is read and replaced as usual.
  void TheExitKeepsALastDocumentTheStartCouldNotRead() {
    struct Case {
      const char* name;
      bool damaged;           // last.orb holds only the first half of a document
      QStringList arguments;  // the command line
      bool kept;              // the exit renames last.orb to last.orb.unread first
    };
    const Case cases[] = {
        {"damaged last.orb", true, {}, true},
        {"unreadable command line document", false, {"/no/such/folder/x.orb"}, false},
        {"a number out of range is a path", false, {"1e300"}, false},
        {"both", true, {"/no/such/folder/x.orb"}, true},
    };
    for (const Case& c : cases) {
      testing::TFormFixture f;
      const QString last = f.HomeFile("last.orb");
      {
        std::unique_ptr<TSession> writer = f.MakeSession();
        writer->Controller().SetDim(7.5L);
        QVERIFY(writer->SaveDocumentAs(last.toStdString()));
      }
      QFile file(last);
      QVERIFY(file.open(QIODevice::ReadOnly));
      QByteArray before = file.readAll();
      file.close();
      if (c.damaged) {
        before.truncate(before.size() / 2);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(before);
        file.close();
      }
      f.prompter.asked.clear();
      std::unique_ptr<TSession> s = f.MakeSession();
      s->Start(ParseStartArguments(c.arguments));
      if (!c.damaged) QCOMPARE(s->Scene().Dim(), 7.5L);  // last.orb was read after all
      s->SaveLastDocument();

      const QString kept = last + ".unread";
      QCOMPARE(QFile::exists(kept), c.kept);
      if (c.kept) {
        QFile keptFile(kept);
        QVERIFY(keptFile.open(QIODevice::ReadOnly));
        QCOMPARE(keptFile.readAll(), before);
        QCOMPARE(f.prompter.asked.filter(kept).size(), 1);
      }
      std::unique_ptr<TSession> again = f.MakeSession();
      QVERIFY2(again->OpenDocumentAt(last.toStdString()), c.name);
    }
  }

  // A named pipe where a document, the template or the exit's last.orb is expected is refused at
  // once with a message: opening it would wait for a writer, and the window with it.
  void PipesAreRefusedNotWaitedOn() {
    testing::TFormFixture f;
    const std::string pipe = f.HomeFile("pipe.orb").toStdString();
    QCOMPARE(::mkfifo(pipe.c_str(), 0600), 0);
    std::unique_ptr<TSession> s = f.MakeSession();
    QVERIFY(!s->OpenDocumentAt(pipe));
    QVERIFY(!s->SaveDocumentAs(pipe));
    QCOMPARE(f.prompter.asked.filter("It is not a regular file.").size(), 2);

    const std::string last = s->LastDocumentPath().string();
    QCOMPARE(::mkfifo(last.c_str(), 0600), 0);
    f.prompter.asked.clear();
    s->Start({});
    s->SaveLastDocument();
    QCOMPARE(f.prompter.asked.filter("It is not a regular file.").size(), 2);
    struct stat info {};
    QCOMPARE(::stat(last.c_str(), &info), 0);
    QVERIFY(S_ISFIFO(info.st_mode));
  }

  // A save killed half way leaves its work file; the next start removes it, but never one of a
  // process that still runs.
  void TheStartRemovesWorkFilesOfKilledSaves() {
    testing::TFormFixture f;
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    QVERIFY(child > 0);
    ::waitpid(child, nullptr, 0);
    const QString dead = f.HomeFile(QStringLiteral(".last.orb.%1.0.tmp").arg(child));
    const QString living = f.HomeFile(QStringLiteral(".last.orb.%1.0.tmp").arg(::getpid()));
    const QString other = f.HomeFile(QStringLiteral(".notes.%1.tmp").arg(child));
    for (const QString& name : {dead, living, other}) {
      QFile file(name);
      QVERIFY(file.open(QIODevice::WriteOnly));
    }
    std::unique_ptr<TSession> s = f.MakeSession();
    s->Start({});
    QVERIFY(!QFile::exists(dead));
    QVERIFY(QFile::exists(living));
    QVERIFY(QFile::exists(other));
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::SessionTest)
#include "session_test.moc"
