// kestrova-import: its window driven through its widgets on the offscreen platform, with real
// element files and data files in a temporary folder, and the program without a window.
#include "app/import_window.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/cli_test_support.h"
#include "database/minor_bodies.h"
#include "support/gzip.h"
#include "support/temp_home.h"
#include "ui/support/recording_prompter.h"

namespace kestrova {
namespace {

namespace fs = std::filesystem;
const fs::path kData = KESTROVA_TEST_DATA;

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Rows(const fs::path& table) {
  std::vector<std::string> rows;
  ReadDataFile(table, [&](const TMinorBodyRow& r) {
    rows.push_back(std::to_string(r.No) + " " + r.Name +
                   Format(" %.17Lg %.17Lg %.17Lg", r.Elements.SemiMajorAxis,
                          r.Elements.Eccentricity, r.Elements.MeanLongitude));
  });
  return rows;
}

class ImportWindowTest : public testing::TempHome {
 protected:
  void SetUp() override {
    TempHome::SetUp();
    window_ = std::make_unique<TImportWindow>(alias_);
    window_->show();
  }
  void TearDown() override {
    window_.reset();
    TempHome::TearDown();
  }
  template <typename T>
  T* Find(const char* name) {
    T* w = window_->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  fs::path Put(const std::string& name, const std::string& bytes) {
    std::ofstream(root_ / name, std::ios::binary) << bytes;
    return root_ / name;
  }
  // Types the file's path into the file field, as a user would.
  void TypeFile(const fs::path& file) {
    QLineEdit* edit = Find<QLineEdit>("FileEdit");
    edit->clear();
    QTest::keyClicks(edit, QString::fromStdString(file.string()));
    QTest::keyClick(edit, Qt::Key_Return);
  }
  // Clicks Import and waits for the end of the import.
  void Import(const std::string& table) {
    QLineEdit* name = Find<QLineEdit>("TableEdit");
    name->clear();
    QTest::keyClicks(name, QString::fromStdString(table));
    QSignalSpy finished(window_.get(), &TImportWindow::importFinished);
    ASSERT_TRUE(Find<QPushButton>("ImportButton")->isEnabled())
        << Find<QLabel>("TableNote")->text().toStdString();
    QTest::mouseClick(Find<QPushButton>("ImportButton"), Qt::LeftButton);
    ASSERT_TRUE(finished.wait(60000));
  }
  std::string Result() { return Find<QLabel>("ResultLabel")->text().toStdString(); }

  std::unique_ptr<TImportWindow> window_;
};

TEST_F(ImportWindowTest, ShowsTheFormatFoundAndProposesATable) {
  const fs::path gz = Put("MPCORB.DAT.gz", testing::Gzip(Read(kData / "mpcorb_small.dat")));
  const fs::path comets = Put("CometEls.txt", Read(kData / "comets_small.txt"));
  const fs::path prose = Put("notes.txt", "Minor planets are small.\n");
  // Reading a named pipe would wait, with the window, until someone wrote to it.
  const fs::path pipe = root_ / "pipe.dat";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  struct Case {
    fs::path file;
    const char* found;
    const char* table;
    bool ready;
  };
  for (const Case& c : {Case{gz, "Found in the file: MPCORB, minor planets.", "MPCORB", true},
                        Case{comets, "Found in the file: CometEls, comets.", "CometEls", true},
                        Case{prose, "No line of the first 1000 is an element line", "notes", false},
                        Case{pipe, "This is no regular file", "pipe", false},
                        Case{root_ / "missing.dat", "Cannot read ", "missing", false}}) {
    TypeFile(c.file);
    EXPECT_EQ(Find<QLabel>("DetectedFormat")->text().toStdString().rfind(c.found, 0), 0u)
        << Find<QLabel>("DetectedFormat")->text().toStdString();
    EXPECT_EQ(Find<QLineEdit>("TableEdit")->text().toStdString(), c.table);
    EXPECT_EQ(Find<QPushButton>("ImportButton")->isEnabled(), c.ready) << c.file;
  }
  // A format chosen by hand stands, and a name that can be no table keeps Import off.
  Find<QComboBox>("FormatCombo")->setCurrentIndex(1);
  EXPECT_TRUE(Find<QPushButton>("ImportButton")->isEnabled());
  for (const char* bad : {".hidden", "a/b", "it's", "   "}) {
    Find<QLineEdit>("TableEdit")->setText(bad);
    EXPECT_FALSE(Find<QPushButton>("ImportButton")->isEnabled()) << bad;
  }
  EXPECT_EQ(Find<QLabel>("AliasFolder")->text().toStdString(), alias_);
  // Nor does a format chosen by hand make a pipe importable.
  Find<QLineEdit>("TableEdit")->setText("pipe");
  TypeFile(pipe);
  Find<QComboBox>("FormatCombo")->setCurrentIndex(1);
  EXPECT_FALSE(Find<QPushButton>("ImportButton")->isEnabled());

  // A format forced for one file stands while that file is read again; another file goes back
  // to the format found in it.
  TypeFile(comets);
  Find<QComboBox>("FormatCombo")->setCurrentIndex(1);
  TypeFile(comets);
  EXPECT_EQ(Find<QComboBox>("FormatCombo")->currentIndex(), 1);
  TypeFile(gz);
  EXPECT_EQ(Find<QComboBox>("FormatCombo")->currentIndex(), 0);
  TypeFile(comets);
  EXPECT_EQ(Find<QComboBox>("FormatCombo")->currentIndex(), 0);
  EXPECT_TRUE(Find<QPushButton>("ImportButton")->isEnabled());
}

TEST_F(ImportWindowTest, GzipImportEqualsThePlainOne) {
  TypeFile(kData / "mpcorb_small.dat");
  Import("plain");
  EXPECT_EQ(Result(), "Imported 7 rows into " + alias_ + "/plain.db");
  QTreeWidget* skipped = Find<QTreeWidget>("SkippedList");
  ASSERT_EQ(skipped->topLevelItemCount(), 7);
  EXPECT_EQ(skipped->topLevelItem(1)->text(0).toStdString(), "bad epoch");
  EXPECT_EQ(skipped->topLevelItem(1)->text(2).toStdString(), "12");
  EXPECT_EQ(skipped->topLevelItem(6)->text(0).toStdString(),
            "duplicate (replaced an earlier line)");
  EXPECT_EQ(skipped->topLevelItem(6)->text(2).toStdString(), "17");

  // The same file confirmed again keeps its result and the table name typed; another file
  // starts with no result and the table name it proposes.
  Find<QLineEdit>("TableEdit")->setText("mine");
  TypeFile(kData / "mpcorb_small.dat");
  EXPECT_EQ(Find<QLineEdit>("TableEdit")->text().toStdString(), "mine");
  EXPECT_EQ(Result(), "Imported 7 rows into " + alias_ + "/plain.db");
  TypeFile(Put("MPCORB.DAT.gz", testing::Gzip(Read(kData / "mpcorb_small.dat"))));
  EXPECT_EQ(Result(), "");
  EXPECT_EQ(Find<QLabel>("RateLabel")->text().toStdString(), "");
  EXPECT_EQ(skipped->topLevelItemCount(), 0);
  EXPECT_EQ(Find<QProgressBar>("ProgressBar")->value(), 0);
  EXPECT_EQ(Find<QLineEdit>("TableEdit")->text().toStdString(), "MPCORB");
  Import("packed");
  EXPECT_EQ(Result(), "Imported 7 rows into " + alias_ + "/packed.db");
  EXPECT_EQ(Find<QProgressBar>("ProgressBar")->value(), 100);
  const std::vector<std::string> rows = Rows(fs::path(alias_) / "plain.db");
  EXPECT_EQ(rows.size(), 7u);
  EXPECT_EQ(Rows(fs::path(alias_) / "packed.db"), rows);
  if (const char* png = std::getenv("KESTROVA_IMPORT_WINDOW_PNG")) {
    QCoreApplication::processEvents();
    window_->grab().save(png);
  }

  // An existing table is replaced only when asked.
  TypeFile(kData / "comets_small.txt");
  Find<QLineEdit>("TableEdit")->setText("packed");
  EXPECT_FALSE(Find<QPushButton>("ImportButton")->isEnabled());
  EXPECT_NE(Find<QLabel>("TableNote")->text().indexOf("exists already"), -1);
  Find<QCheckBox>("ReplaceCheck")->click();
  Import("packed");
  EXPECT_EQ(Rows(fs::path(alias_) / "packed.db").size(), 5u);
}

// An MPCORB file of n numbered bodies, each a copy of Ceres with its own number.
std::string ManyBodies(int n) {
  std::ifstream in(kData / "mpcorb_small.dat");
  std::string ceres;
  for (int i = 0; i < 5; ++i) std::getline(in, ceres);
  std::string text;
  text.reserve(size_t(n) * (ceres.size() + 1));
  const char* digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  for (int no = 1; no <= n; ++no) {
    char packed[6];
    std::snprintf(packed, sizeof packed, "%c%04d", digits[no / 10000], no % 10000);
    ceres.replace(0, 5, packed);
    text += ceres;
    text += '\n';
  }
  return text;
}

TEST_F(ImportWindowTest, CancelLeavesTheOldTable) {
  TypeFile(kData / "mpcorb_small.dat");
  Import("catalogue");
  const std::vector<std::string> old = Rows(fs::path(alias_) / "catalogue.db");

  TypeFile(Put("big.dat", ManyBodies(300000)));
  Find<QCheckBox>("ReplaceCheck")->click();
  Find<QLineEdit>("TableEdit")->setText("catalogue");
  QSignalSpy finished(window_.get(), &TImportWindow::importFinished);
  ASSERT_TRUE(Find<QPushButton>("ImportButton")->isEnabled());
  QTest::mouseClick(Find<QPushButton>("ImportButton"), Qt::LeftButton);
  // The window keeps answering: the rows and their rate show while the file is read.
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        const QString text = Find<QLabel>("RateLabel")->text();
        return text.startsWith("Reading the file: ") && text.contains("rows per second");
      },
      30000));
  EXPECT_FALSE(Find<QPushButton>("ImportButton")->isEnabled());
  ASSERT_TRUE(Find<QPushButton>("CancelButton")->isEnabled()) << Result();
  QTest::mouseClick(Find<QPushButton>("CancelButton"), Qt::LeftButton);
  ASSERT_TRUE(finished.wait(60000));
  EXPECT_EQ(Result(), "Import cancelled: no table was changed.");
  EXPECT_EQ(Rows(fs::path(alias_) / "catalogue.db"), old);
  std::vector<std::string> files;
  for (const auto& e : fs::directory_iterator(alias_)) files.push_back(e.path().filename());
  EXPECT_EQ(files, std::vector<std::string>{"catalogue.db"});
  EXPECT_TRUE(Find<QPushButton>("ImportButton")->isEnabled());
}

// Closing the window during an import would throw the work away: it asks, and only Yes stops
// the import (leaving no table) and closes the window once it has stopped.
TEST_F(ImportWindowTest, ClosingDuringAnImportAsksFirst) {
  testing::TRecordingPrompter prompter;
  window_ = std::make_unique<TImportWindow>(alias_, nullptr, &prompter);
  window_->show();
  TypeFile(Put("big.dat", ManyBodies(300000)));
  Find<QLineEdit>("TableEdit")->setText("big");
  QSignalSpy finished(window_.get(), &TImportWindow::importFinished);
  QTest::mouseClick(Find<QPushButton>("ImportButton"), Qt::LeftButton);
  ASSERT_TRUE(window_->Running());
  prompter.yesNo = {false};
  EXPECT_FALSE(window_->close());
  EXPECT_TRUE(window_->Running());
  EXPECT_TRUE(window_->isVisible());
  ASSERT_EQ(prompter.asked.size(), 1);
  EXPECT_TRUE(prompter.asked[0].startsWith("question: An import is running."));
  prompter.yesNo = {true};
  window_->close();
  ASSERT_TRUE(finished.wait(60000));
  EXPECT_FALSE(window_->isVisible());
  EXPECT_FALSE(fs::exists(fs::path(alias_) / "big.db"));
}

TEST_F(ImportWindowTest, TheReadingRateStaysWhileTheIndicesAreMade) {
  TypeFile(Put("big.dat", ManyBodies(150000)));
  QSignalSpy finished(window_.get(), &TImportWindow::importFinished);
  ASSERT_TRUE(Find<QPushButton>("ImportButton")->isEnabled());
  QTest::mouseClick(Find<QPushButton>("ImportButton"), Qt::LeftButton);
  // Every text shown while the indices are made, until the import ends.
  QStringList shown;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        const QString text = Find<QLabel>("RateLabel")->text();
        if (text.startsWith("Making the indices") && !shown.contains(text)) shown << text;
        return finished.count() > 0;
      },
      120000));
  ASSERT_EQ(shown.size(), 1) << shown.join(" | ").toStdString();
  EXPECT_TRUE(shown[0].startsWith("Making the indices of 150,000 rows ("))
      << shown[0].toStdString();
  EXPECT_FALSE(shown[0].contains("(0 rows per second")) << shown[0].toStdString();
}

TEST(ImportProgram, RunsWithoutAWindowAsTheCommandLineImport) {
  struct Case {
    std::vector<std::string> args;
    bool headless;
  };
  for (const Case& c :
       {Case{{}, false}, Case{{"/tmp"}, false}, Case{{"MPC"}, false}, Case{{"--no-gui"}, true},
        Case{{(kData / "comets_small.txt").string()}, true},
        Case{{"--format", "auto", "--table", "t", "x.txt"}, true}, Case{{"/tmp", "/tmp"}, true}})
    EXPECT_EQ(ImportRunsHeadless(c.args), c.headless) << (c.args.empty() ? "" : c.args[0]);

  // The program itself gives what kestrova-cli import gives, status included.
  char pattern[] = "/tmp/kestrova-import-test.XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path home = pattern;
  const auto run = [&](const std::string& program, const std::string& args) {
    const std::string command = "KESTROVA_HOME=" + home.string() + " " + KESTROVA_BIN_DIR + "/" +
                                program + " " + args + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int status = ::pclose(pipe);
    return std::make_pair(WEXITSTATUS(status), out);
  };
  const std::string file = (kData / "comets_small.txt").string();
  for (const std::string& args :
       {"--format comets --table a --quiet " + file, "--format comets --table a " + file,
        std::string("--format comets --table a /nonexistent.txt"), std::string("--table a")}) {
    auto cli = run("kestrova-cli import", args + " --replace");
    const auto gui = run("kestrova-import --no-gui", args + " --replace");
    // Under its own name.
    for (size_t at; (at = cli.second.find("kestrova-cli import:")) != std::string::npos;)
      cli.second.replace(at, 20, "kestrova-import:");
    EXPECT_EQ(gui, cli) << args;
  }
  EXPECT_EQ(run("kestrova-import", "--table b " + file).second.substr(0, 36),
            "kestrova-import: --format is missing");
  // Standard input is a file as any other.
  EXPECT_EQ(run("kestrova-import", "--format comets --table c --quiet - < " + file).second,
            "Imported 5 rows into " + (home / "MPC" / "c.db").string() +
                "; skipped 1 line (too short: 1 at line 6)\n");
  EXPECT_EQ(run("kestrova-import", "--format comets --table b --quiet " + file).second,
            "Imported 5 rows into " + (home / "MPC" / "b.db").string() +
                "; skipped 1 line (too short: 1 at line 6)\n");
  fs::remove_all(home);
}

}  // namespace
}  // namespace kestrova
