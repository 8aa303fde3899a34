#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/cli.h"
#include "database/minor_bodies.h"
#include "database/table_store.h"
#include "support/gzip.h"
#include "support/temp_home.h"

namespace kestrova::cli {
namespace {

namespace fs = std::filesystem;
const fs::path kData = KESTROVA_TEST_DATA;

class CliImportTest : public testing::TempHome {
 protected:
  int Run(const Args& args) {
    out_.str("");
    err_.str("");
    std::istringstream in;
    return RunCli(args, in, out_, err_);
  }
  std::ostringstream out_, err_;
};

TEST_F(CliImportTest, ImportThenPositionsOfEveryRow) {
  const std::string file = (kData / "mpcorb_small.dat").string();
  ASSERT_EQ(Run({"import", "--format", "mpcorb", "--table", "small", file}), kOk) << err_.str();
  EXPECT_EQ(out_.str().rfind("Imported 7 rows into " + (home_ / "MPC" / "small.db").string(), 0),
            0u)
      << out_.str();
  // Not a terminal: no progress, only the summary.
  EXPECT_EQ(err_.str(), "");

  // Without --replace the table stays; --quiet keeps stderr empty.
  EXPECT_EQ(Run({"import", "--format=mpcorb", "--table=small", file}), kFailure);
  EXPECT_NE(err_.str().find("exists already"), std::string::npos) << err_.str();
  ASSERT_EQ(Run({"import", "--format", "mpcorb", "--table", "small", "--replace", "--quiet", file}),
            kOk);
  EXPECT_EQ(err_.str(), "");

  const fs::path db = home_ / "MPC" / "small.db";
  ASSERT_EQ(Run({"ephem", "--data-file", db.string(), "2460676.5"}), kOk) << err_.str();
  std::vector<TMinorBodyRow> rows;
  ReadDataFile(db, [&](const TMinorBodyRow& r) { rows.push_back(r); });
  std::istringstream lines(out_.str());
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "no,name,x,y,z");
  for (const TMinorBodyRow& r : rows) {
    ASSERT_TRUE(std::getline(lines, line));
    const TVector p = KeplerPosition(r.Elements, 2460676.5L);
    char expected[200];
    std::snprintf(expected, sizeof expected, "%lld,%s,%.17Lg,%.17Lg,%.17Lg",
                  static_cast<long long>(r.No), r.Name.c_str(), p.x, p.y, p.z);
    EXPECT_EQ(line, expected);
  }
  EXPECT_FALSE(std::getline(lines, line));
  EXPECT_EQ(rows.size(), 7u);
  EXPECT_EQ(rows.front().No, -1);
}

TEST_F(CliImportTest, BadArgumentsAndFailures) {
  struct Case {
    Args args;
    int status;
    const char* message;
  };
  const std::string file = (kData / "comets_small.txt").string();
  for (const Case& c : {
           Case{{"import", "--table", "t", file}, kBadInput, "--format is missing"},
           Case{{"import", "--format", "xml", "--table", "t", file}, kBadInput, "unknown format"},
           Case{{"import", "--format", "comets", file}, kBadInput, "--table is missing"},
           Case{{"import", "--format", "comets", "--table"}, kBadInput, "needs a value"},
           Case{{"import", "--format", "comets", "--table", "t", file, file},
                kBadInput,
                "unexpected argument"},
           Case{{"import", "--format", "comets", "--table", "t", "/nonexistent/els.txt"},
                kFailure,
                "Cannot read /nonexistent/els.txt"},
           Case{{"import", "--format", "comets", "--alias", "/nonexistent", "--table", "t", file},
                kFailure,
                "Unknown database alias"},
           Case{{"import", "--format", "comets", "--table", "../t", file},
                kFailure,
                "Invalid table name"},
           Case{{"ephem", "--data-file", "/nonexistent/x.db", "2451545"},
                kFailure,
                "Table does not exist"},
           Case{{"ephem", "--data-file", "/tmp", "2451545"},
                kFailure,
                "kestrova-cli ephem: /tmp is a folder, not a data file"},
           Case{{"ephem", "--data-file", "/dev/zero", "2451545"},
                kFailure,
                "/dev/zero is a character device, not a data file"},
           Case{{"ephem", "--data-file", "x.db"}, kBadInput, "JD is missing"},
           Case{{"ephem", "--data-file", "x.db", "soon"},
                kBadInput,
                "kestrova-cli ephem: 'soon' is not a valid floating point value"},
           // Which table of which alias, and why the file could not be made.
           Case{{"import", "--format", "comets", "--table", std::string(300, 'a'), file},
                kFailure,
                "kestrova-cli import: Cannot create table aaaa"},
           Case{{"import", "--format", "comets", "--table", std::string(300, 'a'), file},
                kFailure,
                "(File name too long)"},
       }) {
    EXPECT_EQ(Run(c.args), c.status) << c.message;
    EXPECT_NE(err_.str().find(c.message), std::string::npos) << err_.str();
  }
  EXPECT_NE(err_.str().find(" of alias MPC in " + (home_ / "MPC").string()), std::string::npos)
      << err_.str();
  EXPECT_EQ(Run({"import", "--help"}), kOk);
  EXPECT_NE(out_.str().find("usage: kestrova-cli import"), std::string::npos);
}

TEST_F(CliImportTest, NothingToImportFailsAndKeepsTheTable) {
  const std::string file = (kData / "mpcorb_small.dat").string();
  ASSERT_EQ(Run({"import", "--quiet", "--format", "mpcorb", "--table", "t", file}), kOk);
  const fs::path db = home_ / "MPC" / "t.db";
  for (const std::string& wrong : {std::string("/dev/null"), std::string("/dev/zero"), file}) {
    EXPECT_EQ(Run({"import", "--quiet", "--replace", "--format", "comets", "--table", "t", wrong}),
              kFailure);
    EXPECT_EQ(
        err_.str().rfind("kestrova-cli import: no element lines of format comets in " + wrong, 0),
        0u)
        << err_.str();
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(ReadDataFile(db, [](const TMinorBodyRow&) {}), 7);
  }
}

TEST_F(CliImportTest, RowsThatAreNoOrbitsAreNamedAndCounted) {
  const std::string file = (kData / "mpcorb_small.dat").string();
  ASSERT_EQ(Run({"import", "--quiet", "--format", "mpcorb", "--table", "t", file}), kOk);
  const fs::path db = home_ / "MPC" / "t.db";
  {
    TableStore t;
    t.SetDatabase((home_ / "MPC").string());
    t.SetTableName("t.db");
    t.Open(TOpenMode::Exclusive);
    // NO, NAME, M, NW, OHM, I, E, A, DATE, CLASS, ISNEA, ISPHA, Reference, Computer
    t.AppendRecord(
        {int64_t{900}, "Bell\a", 1.0, 2.0, 3.0, 4.0, 0.1, 2.5, 2451545.0, "", "N", "N", "", ""});
    t.AppendRecord({int64_t{901}, "Flat\nline", 1.0, 2.0, 3.0, 4.0, 0.1, -1.0, 2451545.0, "", "N",
                    "N", "", ""});
  }
  ASSERT_EQ(Run({"ephem", "--data-file", db.string(), "2451545"}), kOk) << err_.str();
  EXPECT_NE(out_.str().find("\n900,Bell\\x07,"), std::string::npos) << out_.str();
  EXPECT_EQ(err_.str(),
            "kestrova-cli ephem: skipped row 901 (Flat\\x0Aline): a <= 0, no closed orbit\n"
            "kestrova-cli ephem: 1 row skipped: no closed orbit\n");
  EXPECT_EQ(out_.str().find("nan"), std::string::npos);
}

TEST_F(CliImportTest, CompressedFilesAndTheFormatFoundInThem) {
  std::ifstream in(kData / "comets_small.txt", std::ios::binary);
  const std::string gz =
      testing::Gzip({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
  std::ofstream(root_ / "CometEls.txt.gz", std::ios::binary) << gz;
  ASSERT_EQ(Run({"import", "--quiet", "--format", "auto", "--table", "c",
                 (root_ / "CometEls.txt.gz").string()}),
            kOk)
      << err_.str();
  EXPECT_EQ(out_.str().rfind("Imported 5 rows into ", 0), 0u) << out_.str();
  std::ofstream(root_ / "cut.gz", std::ios::binary) << gz.substr(0, gz.size() / 2);
  EXPECT_EQ(
      Run({"import", "--quiet", "--format", "comets", "--table", "d", (root_ / "cut.gz").string()}),
      kFailure);
  EXPECT_EQ(err_.str(), "kestrova-cli import: " + (root_ / "cut.gz").string() +
                            ": the compressed data ends too early (the file is cut short)\n");
  EXPECT_FALSE(fs::exists(home_ / "MPC" / "d.db"));
}

}  // namespace
}  // namespace kestrova::cli
