#include "database/table_store.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <chrono>
#include <fstream>
#include <random>
#include <thread>

#include "database/data_files.h"
#include "database/program_folder.h"
#include "support/synthetic_data_file.h"
#include "support/temp_home.h"

namespace kestrova {
namespace {

namespace fs = std::filesystem;
using testing::TempHome;

class TableStoreTest : public TempHome {
 protected:
  // A data file with rows chosen so that every index orders them differently.
  void MakeSample(const std::string& table = "sample.db") {
    CreateDataFile(alias_, table);
    TableStore t;
    t.SetDatabase(alias_);
    t.SetTableName(table);
    t.Open(TOpenMode::Exclusive);
    t.StartTransaction();
    struct R {
      int64_t no;
      const char* name;
      double a, e;
      const char* cls;
    };
    for (const R& r : {R{4, "Vesta", 2.36, 0.09, "MB"}, R{1, "Ceres", 2.77, 0.08, "MB"},
                       R{-1, "2024 AB1", 2.50, 0.10, ""}, R{433, "Eros", 1.46, 0.22, "Amor"},
                       R{2, "Pallas", 2.77, 0.23, "MB"}, R{7, "alpha", 2.50, 0.01, "MB"}})
      t.AppendRecord({r.no, r.name, 1.0, 2.0, 3.0, 4.0, r.e, r.a, 2460800.5, r.cls, "N", "N"});
    t.Commit();
  }
  std::vector<std::string> Names(TableStore& t) {
    std::vector<std::string> out;
    for (; !t.Eof(); t.Next()) out.push_back(t.FieldAsString("NAME"));
    return out;
  }
};

TEST_F(TableStoreTest, CreateListAndDelete) {
  CreateDataFile(alias_, "b.db");
  CreateDataFile(alias_, "a.db");
  std::ofstream(fs::path(alias_) / "notes.txt") << "x";
  std::ofstream(fs::path(alias_) / ".hidden.db") << "x";
  EXPECT_EQ(TableStore::ListTables(alias_), (std::vector<std::string>{"a.db", "b.db"}));

  // Creating over an existing table would lose its rows.
  EXPECT_THROW(CreateDataFile(alias_, "a.db"), ETableError);

  TableStore::DeleteTable(alias_, "a.db");
  EXPECT_EQ(TableStore::ListTables(alias_), std::vector<std::string>{"b.db"});
  try {
    TableStore::DeleteTable(alias_, "a.db");
    FAIL() << "deleting a missing table";
  } catch (const ETableError& e) {
    EXPECT_NE(std::string(e.what()).find("a.db"), std::string::npos) << e.what();
  }
}

TEST_F(TableStoreTest, SchemaOfADataFile) {
  CreateDataFile(alias_, "t.db", true);
  TableStore t;
  t.SetDatabase(alias_);
  t.SetTableName("t.db");
  t.Open();
  EXPECT_EQ(t.Fields(), DataFileFields(true));
  EXPECT_EQ(t.IndexNames(), (std::vector<std::string>{"IDXNAME", "IDXA", "IDXE", "IDXINCL", "IDXCL",
                                                      "IDXNEA", "IDXPHA"}));
  EXPECT_TRUE(t.HasField("reference"));  // field names in any letter case
  try {
    t.AddIndex("IDXA", "A;NAME");
    FAIL() << "adding an existing index";
  } catch (const ETableError& e) {
    EXPECT_NE(std::string(e.what()).find("already exists"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("t.db"), std::string::npos) << e.what();
  }
  EXPECT_EQ(t.RecordCount(), 0);
  t.First();
  EXPECT_TRUE(t.Eof());
}

TEST_F(TableStoreTest, RowsFollowTheActiveIndex) {
  MakeSample();
  TableStore t;
  t.SetDatabase(alias_);
  t.SetTableName("sample.db");
  t.Open();
  EXPECT_EQ(t.RecordCount(), 6);
  struct Case {
    const char* index;
    std::vector<std::string> names;
  };
  // Names sort case-sensitively (capitals first); equal keys fall back to the next field, then
  // to the number.
  for (const Case& c : {
           Case{"", {"2024 AB1", "Ceres", "Pallas", "Vesta", "alpha", "Eros"}},
           Case{"IDXNAME", {"2024 AB1", "Ceres", "Eros", "Pallas", "Vesta", "alpha"}},
           Case{"IDXA", {"Eros", "Vesta", "2024 AB1", "alpha", "Ceres", "Pallas"}},
           Case{"IDXE", {"alpha", "Ceres", "Vesta", "2024 AB1", "Eros", "Pallas"}},
           Case{"IDXCL", {"2024 AB1", "Eros", "Ceres", "Pallas", "Vesta", "alpha"}},
       }) {
    t.SetIndexName(c.index);
    t.First();
    EXPECT_EQ(Names(t), c.names) << "index '" << c.index << "'";
  }
  EXPECT_THROW(t.SetIndexName("IDXNOPE"), ETableError);
}

TEST_F(TableStoreTest, NearestMatchAndBookmarks) {
  MakeSample();
  TableStore t;
  t.SetDatabase(alias_);
  t.SetTableName("sample.db");
  t.Open();
  t.SetIndexName("IDXNAME");
  EXPECT_TRUE(t.FindNearest("Ce"));
  EXPECT_EQ(t.FieldAsString("NAME"), "Ceres");
  EXPECT_TRUE(t.FindNearest("Ceres"));
  EXPECT_EQ(t.FieldAsString("NAME"), "Ceres");
  EXPECT_TRUE(t.FindNearest("F"));
  EXPECT_EQ(t.FieldAsString("NAME"), "Pallas");
  EXPECT_FALSE(t.FindNearest("zz"));
  EXPECT_TRUE(t.Eof());

  t.SetIndexName("IDXA");
  EXPECT_TRUE(t.FindNearest("2.5"));
  EXPECT_EQ(t.FieldAsString("NAME"), "2024 AB1");
  EXPECT_THROW(t.FindNearest("two"), EConvertError);

  // A bookmark taken in one order finds the row again, and the walk goes on in the order
  // active then.
  t.SetIndexName("");
  t.First();
  t.Next();  // Ceres
  const TBookmark ceres = t.GetBookmark();
  EXPECT_EQ(ceres, 1);
  t.SetIndexName("IDXA");
  t.GotoBookmark(ceres);
  EXPECT_EQ(Names(t), (std::vector<std::string>{"Ceres", "Pallas"}));
  t.GotoBookmark(-1);
  EXPECT_EQ(t.FieldAsInteger("NO"), -1);
  EXPECT_DOUBLE_EQ(t.FieldAsFloat("A"), 2.50);
  EXPECT_THROW(t.GotoBookmark(999), ETableError);
}

TEST_F(TableStoreTest, ExclusiveOpenExcludesEveryOtherOpen) {
  MakeSample();
  auto make = [&] {
    auto t = std::make_unique<TableStore>();
    t->SetDatabase(alias_);
    t->SetTableName("sample.db");
    return t;
  };
  auto a = make(), b = make(), c = make();
  a->Open(TOpenMode::Exclusive);
  try {
    b->Open(TOpenMode::Shared);
    FAIL() << "shared open beside an exclusive one";
  } catch (const ETableError& e) {
    EXPECT_NE(std::string(e.what()).find("locked"), std::string::npos) << e.what();
    EXPECT_NE(e.File().find("sample.db"), std::string::npos);
  }
  EXPECT_FALSE(b->Active());
  EXPECT_THROW(b->Open(TOpenMode::Exclusive), ETableError);
  a->Close();

  b->Open(TOpenMode::Shared);
  c->Open(TOpenMode::Shared);  // shared opens coexist
  a->SetIndexName("");
  EXPECT_THROW(a->Open(TOpenMode::Exclusive), ETableError);
  EXPECT_THROW(TableStore::DeleteTable(alias_, "sample.db"), ETableError);
  b->Close();
  c->Close();
  a->Open(TOpenMode::Exclusive);
  a->Close();
  TableStore::DeleteTable(alias_, "sample.db");
}

// Another process holding the file for a moment (an import's last write, a second copy of the
// program) is waited out rather than reported as a failure.
TEST_F(TableStoreTest, AMomentaryLockIsWaitedOut) {
  MakeSample();
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open((fs::path(alias_) / "sample.db").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  std::thread release([other] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
  });
  TableStore t;
  t.SetDatabase(alias_);
  t.SetTableName("sample.db");
  EXPECT_NO_THROW({
    t.Open(TOpenMode::Shared);
    t.First();
    EXPECT_EQ(Names(t).size(), 6u);
  });
  release.join();
  sqlite3_close(other);
}

TEST_F(TableStoreTest, WritesAreChecked) {
  CreateDataFile(alias_, "t.db");
  TableStore t;
  t.SetDatabase(alias_);
  t.SetTableName("t.db");
  t.Open(TOpenMode::Exclusive);
  auto row = [](int64_t no, std::string name, std::string cls, std::string nea) {
    return std::vector<TFieldValue>{no, name, 1.0, 2.0, 3.0, 4.0, 0.1, 2.5, 2.4e6, cls, nea, "N"};
  };
  t.AppendRecord(row(1, std::string(kNameCharacters, 'x'), std::string(20, 'c'), "Y"));
  struct Case {
    std::vector<TFieldValue> values;
    const char* message;
  };
  for (const Case& c : {
           Case{row(2, std::string(kNameCharacters + 1, 'x'), "", "N"),
                "NAME longer than 56 characters"},
           Case{row(3, "n", std::string(21, 'c'), "N"), "CLASS longer than 20 characters"},
           Case{row(4, "n", "", "YN"), "ISNEA longer than 1 character"},
           Case{row(1, "again", "", "N"), "UNIQUE constraint failed"},
           Case{{int64_t{5}, std::string("short row")}, "Wrong number of values"},
           Case{row(int64_t{1} << 40, "n", "", "N"), "out of range"},
       }) {
    try {
      t.AppendRecord(c.values);
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const ETableError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("t.db"), std::string::npos) << e.what();
    }
  }
  EXPECT_EQ(t.RecordCount(), 1);

  // A failed row inside a transaction leaves the rows before it.
  t.StartTransaction();
  t.AppendRecord(row(10, "a", "", "N"));
  EXPECT_THROW(t.AppendRecord(row(10, "b", "", "N")), ETableError);
  t.AppendRecord(row(11, "c", "", "N"));
  t.Commit();
  EXPECT_EQ(t.RecordCount(), 3);
}

// Rows written many at a time, whole statements and the rest alike, are the rows given; a bad
// one among them fails the call, which then keeps none of its rows.
TEST_F(TableStoreTest, RowsWrittenManyAtATime) {
  CreateDataFile(alias_, "t.db");
  TableStore t;
  t.SetDatabase(alias_);
  t.SetTableName("t.db");
  t.Open(TOpenMode::Exclusive);
  constexpr int kRows = 2 * 64 + 5;
  std::vector<std::string> names;
  for (int k = 0; k < kRows; ++k) names.push_back("body " + std::to_string(k));
  const std::string tooLong(kNameCharacters + 1, 'x');
  const auto rows = [&](int count, int longName) {
    std::vector<TFieldView> values;
    for (int k = 0; k < count; ++k) {
      const std::string_view name = k == longName ? tooLong : names[size_t(k)];
      for (const TFieldView& v : std::initializer_list<TFieldView>{
               int64_t{k + 1}, name, 1.0, 2.0, 3.0, 4.0, 0.1, 2.5 + k, 2.4e6, "MB", "N", "N"})
        values.push_back(v);
    }
    return values;
  };
  const std::vector<TFieldView> three = rows(3, -1);
  EXPECT_THROW(t.AppendRows(std::span(three).first(20)), ETableError);
  const std::vector<TFieldView> bad = rows(kRows, 70);
  EXPECT_THROW(t.AppendRows(bad), ETableError);
  EXPECT_EQ(t.RecordCount(), 0);
  t.AppendRows(rows(kRows, -1));
  ASSERT_EQ(t.RecordCount(), kRows);
  int k = 0;
  for (t.First(); !t.Eof(); t.Next(), ++k) {
    EXPECT_EQ(t.FieldAsInteger("NO"), k + 1);
    EXPECT_EQ(t.FieldAsString("NAME"), names[size_t(k)]);
    EXPECT_EQ(t.FieldAsFloat("A"), 2.5 + k);
  }
}

TEST_F(TableStoreTest, EngineFailuresCarryMessageAndFile) {
  std::ofstream(fs::path(alias_) / "junk.db") << std::string(4096, 'j');
  std::ofstream(fs::path(alias_) / "empty.db");
  struct Case {
    std::string alias, table, message;
  };
  for (const Case& c : {
           Case{alias_, "junk.db", "file is not a database"},
           Case{alias_, "empty.db", "Not a data file"},
           Case{alias_, "missing.db", "Table does not exist"},
           Case{alias_, "../escape.db", "Invalid table name"},
           Case{alias_ + "/nowhere", "x.db", "Unknown database alias"},
       }) {
    TableStore t;
    t.SetDatabase(c.alias);
    t.SetTableName(c.table);
    try {
      t.Open();
      ADD_FAILURE() << "opened " << c.table;
    } catch (const ETableError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
    EXPECT_FALSE(t.Active());
  }
  TableStore closed;
  EXPECT_THROW(closed.RecordCount(), ETableError);
  EXPECT_THROW(closed.FieldAsString("NAME"), ETableError);
}

TEST_F(TableStoreTest, CreateIndicesAddsWhatIsMissingAndReportsProgress) {
  TableStore::CreateTable(alias_, "bare.db", DataFileFields(), {{"", "NO"}});
  TableStore t;
  t.SetDatabase(alias_);
  t.SetTableName("bare.db");
  t.Open();
  EXPECT_FALSE(HasAllIndices(t));
  std::vector<int> progress;
  CreateIndices(t, [&](int p) {
    progress.push_back(p);
    return true;
  });
  const std::vector<int> expected = {0, 15, 30, 45, 60, 75, 90, 100};
  EXPECT_EQ(progress, expected);
  EXPECT_TRUE(HasAllIndices(t));
  EXPECT_TRUE(t.Active());
  EXPECT_FALSE(t.Exclusive());

  // Again with every index present: nothing changes and nothing is reported as an error.
  progress.clear();
  CreateIndices(t, [&](int p) {
    progress.push_back(p);
    return true;
  });
  EXPECT_EQ(progress, expected);
  EXPECT_EQ(t.IndexNames().size(), 7u);

  // One index that cannot be made does not stop the others.
  std::vector<TFieldDef> noClass = DataFileFields();
  std::erase_if(noClass, [](const TFieldDef& f) { return f.Name == "CLASS"; });
  TableStore::CreateTable(alias_, "noclass.db", noClass, {{"", "NO"}});
  TableStore u;
  u.SetDatabase(alias_);
  u.SetTableName("noclass.db");
  u.Open();
  CreateIndices(u);
  EXPECT_EQ(u.IndexNames(),
            (std::vector<std::string>{"IDXNAME", "IDXA", "IDXE", "IDXINCL", "IDXNEA", "IDXPHA"}));
}

TEST_F(TableStoreTest, CreateIndicesStopsWhenToldAndKeepsABusyTableOpen) {
  TableStore::CreateTable(alias_, "bare.db", DataFileFields(), {{"", "NO"}});
  TableStore t;
  t.SetDatabase(alias_);
  t.SetTableName("bare.db");
  t.Open();
  t.SetIndexName("");
  // Stopped after the second index: the two made stay, the table is open shared again.
  EXPECT_FALSE(CreateIndices(t, [](int percent) { return percent < 30; }));
  EXPECT_EQ(t.IndexNames(), (std::vector<std::string>{"IDXNAME", "IDXA"}));
  EXPECT_TRUE(t.Active());
  EXPECT_FALSE(t.Exclusive());

  // Someone else has the table open: no exclusive open, and this table stays open.
  TableStore other;
  other.SetDatabase(alias_);
  other.SetTableName("bare.db");
  other.Open();
  EXPECT_THROW(CreateIndices(t), ETableError);
  EXPECT_TRUE(t.Active());
  EXPECT_EQ(t.RecordCount(), 0);
  EXPECT_EQ(t.IndexNames().size(), 2u);
}

// Rows by position must be the rows of the cursor's walk, wherever the reads start and in
// whatever order they come: from either end, near rows read before, far from them, past the
// end, and in an order with many equal keys (IDXCL, IDXNEA) that only the number separates.
TEST_F(TableStoreTest, RowsByPositionAreTheWalksRows) {
  testing::MakeSyntheticDataFile(alias_, "many.db", 3000, true);
  TableStore t;
  t.SetDatabase(alias_);
  t.SetTableName("many.db");
  t.Open();
  std::mt19937 rng(5);
  for (const char* index : {"", "IDXNAME", "IDXA", "IDXCL", "IDXNEA"}) {
    t.SetIndexName(index);
    std::vector<TBookmark> walk;
    for (t.First(); !t.Eof(); t.Next()) walk.push_back(t.GetBookmark());
    ASSERT_EQ(walk.size(), 3000u);
    std::vector<std::pair<int64_t, int64_t>> reads = {
        {0, 50}, {2990, 50}, {1500, 40}, {1540, 40}, {1460, 40}, {1501, 3}, {2999, 1}, {3000, 5}};
    for (int k = 0; k < 40; ++k) reads.emplace_back(rng() % 3000, 1 + rng() % 60);
    for (const auto& [first, count] : reads) {
      const std::vector<TableStore::TRow> rows = t.ReadRows(first, count);
      const int64_t expected = std::max<int64_t>(0, std::min<int64_t>(count, 3000 - first));
      ASSERT_EQ(int64_t(rows.size()), expected) << index << " at " << first;
      for (size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].Bookmark, walk[size_t(first) + i])
            << index << " at " << first + int64_t(i);
        EXPECT_EQ(std::get<int64_t>(rows[i].Values[0]), rows[i].Bookmark);
      }
    }
    // The position of the current row is its place in the walk.
    for (size_t i : {size_t(0), size_t(1234), size_t(2999)}) {
      t.GotoBookmark(walk[i]);
      EXPECT_EQ(t.CurrentPosition(), int64_t(i)) << index;
    }
  }
  EXPECT_TRUE(t.ReadRows(-1, 10).empty());

  // Rows read before an append are forgotten.
  t.SetIndexName("");
  EXPECT_EQ(t.ReadRows(2999, 5).size(), 1u);
  t.AppendRecord({int64_t{5000}, "Late", 1.0, 2.0, 3.0, 4.0, 0.1, 2.5, 2.4e6, "", "N", "N"});
  t.First();
  const std::vector<TableStore::TRow> tail = t.ReadRows(2999, 5);
  ASSERT_EQ(tail.size(), 2u);
  EXPECT_EQ(tail[1].Bookmark, 5000);
}

// A foreign table may hold NULL keys, which no row comparison can place: reading by position
// still gives every row of the walk.
TEST_F(TableStoreTest, RowsByPositionWithNullKeys) {
  const std::string path = (fs::path(alias_) / "nulls.db").string();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "CREATE TABLE data (NO INTEGER PRIMARY KEY, NAME VARCHAR(32), A REAL);"
                         "CREATE INDEX IDXNAME ON data (NAME, A);"
                         "INSERT INTO data VALUES (1, 'b', 1), (2, NULL, 2), (3, 'a', NULL),"
                         " (4, NULL, NULL), (5, 'c', 3), (6, 'a', 1);",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  TableStore t;
  t.SetDatabase(alias_);
  t.SetTableName("nulls.db");
  t.Open();
  t.SetIndexName("IDXNAME");
  std::vector<TBookmark> walk;
  for (t.First(); !t.Eof(); t.Next()) walk.push_back(t.GetBookmark());
  ASSERT_EQ(walk.size(), 6u);
  for (int64_t first : {5, 4, 3, 2, 1, 0, 3, 5}) {
    const std::vector<TableStore::TRow> rows = t.ReadRows(first, 2);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].Bookmark, walk[size_t(first)]) << first;
  }
  for (size_t i = 0; i < walk.size(); ++i) {
    t.GotoBookmark(walk[i]);
    EXPECT_EQ(t.CurrentPosition(), int64_t(i));
  }
}

// Long work asks the busy handler now and then; a false answer stops it with the engine's
// message, and the table goes on working.
TEST_F(TableStoreTest, BusyHandlerCanStopLongWork) {
  testing::MakeSyntheticDataFile(alias_, "busy.db", 20000);
  TableStore t;
  t.SetDatabase(alias_);
  t.SetTableName("busy.db");
  int calls = 0;
  t.SetBusyHandler([&] { return ++calls < 3; });
  t.Open(TOpenMode::Exclusive);
  try {
    t.AddIndex("IDXNAME", "NAME;A;");
    FAIL() << "the index was made";
  } catch (const ETableError& e) {
    EXPECT_NE(std::string(e.what()).find("interrupt"), std::string::npos) << e.what();
  }
  EXPECT_EQ(calls, 3);
  t.SetBusyHandler({});
  EXPECT_TRUE(t.IndexNames().empty());
  t.AddIndex("IDXNAME", "NAME;A;");
  EXPECT_EQ(t.IndexNames(), std::vector<std::string>{"IDXNAME"});
  EXPECT_EQ(t.RecordCount(), 20000);
}

TEST_F(TableStoreTest, ProgramFolderAndDefaultAlias) {
  const fs::path home = root_ / "home";
  EXPECT_EQ(ProgramFolder(), home);
  EXPECT_TRUE(fs::is_directory(home));
  EXPECT_EQ(AliasFolder("MPC"), home / "MPC");
  EXPECT_TRUE(fs::is_directory(home / "MPC"));
  CreateDataFile("MPC", "x.db");
  EXPECT_TRUE(fs::exists(home / "MPC" / "x.db"));
  EXPECT_EQ(TableStore::ListTables("MPC"), std::vector<std::string>{"x.db"});
}

}  // namespace
}  // namespace kestrova
