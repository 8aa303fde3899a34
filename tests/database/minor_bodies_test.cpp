#include "database/minor_bodies.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "database/data_files.h"
#include "support/temp_home.h"

namespace kestrova {
namespace {

using testing::TempHome;

class MinorBodiesTest : public TempHome {
 protected:
  void SetUp() override {
    TempHome::SetUp();
    CreateDataFile(alias_, "rows.db");
    TableStore t;
    t.SetDatabase(alias_);
    t.SetTableName("rows.db");
    t.Open(TOpenMode::Exclusive);
    // NO, NAME, M, NW, OHM, I, E, A, DATE
    t.AppendRecord(
        {int64_t{5}, "Astraea", 10.0, 20.0, 141.5, 5.4, 0.0, 1.0, 2451545.0, "", "N", "N"});
    t.AppendRecord(
        {int64_t{-3}, "2024 AB1", 350.0, 300.0, 100.0, 12.0, 0.5, 4.0, 2460600.5, "", "N", "N"});
    t.AppendRecord(
        {int64_t{1}, "Ceres", 188.7, 153.5, 80.3, 10.6, 0.0794, 2.766, 2460800.5, "", "N", "N"});
  }
};

TEST_F(MinorBodiesTest, RowToElementsFollowsTheDataFileConventions) {
  TableStore t;
  t.SetDatabase(alias_);
  t.SetTableName("rows.db");
  TOrbitalElements el;
  el.Node = 99;
  RowToElements(t, el);  // closed: untouched
  EXPECT_EQ(el.Node, 99);

  t.Open();
  t.SetIndexName("IDXNAME");
  EXPECT_TRUE(t.FindNearest("Astraea"));
  RowToElements(t, el);
  EXPECT_EQ(el.MeanLongitude, 30);
  EXPECT_EQ(el.PerihelionLongitude, 20);
  EXPECT_EQ(el.DailyMotion, 0.9856262L);
  EXPECT_EQ(el.Node, Extended(141.5));
  EXPECT_EQ(el.Inclination, Extended(5.4));
  EXPECT_EQ(el.Eccentricity, 0);
  EXPECT_EQ(el.SemiMajorAxis, 1);
  EXPECT_EQ(el.Epoch, 2451545);

  EXPECT_TRUE(t.FindNearest("2024"));
  RowToElements(t, el);
  EXPECT_EQ(el.MeanLongitude, 650);  // not reduced: the orbit code reduces angles itself
  EXPECT_EQ(el.DailyMotion, 0.9856262L / 8);
}

TEST_F(MinorBodiesTest, ReadDataFileGivesEveryRowInNumberOrder) {
  std::vector<TMinorBodyRow> rows;
  const int64_t n = ReadDataFile(std::filesystem::path(alias_) / "rows.db",
                                 [&](const TMinorBodyRow& r) { rows.push_back(r); });
  ASSERT_EQ(n, 3);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].No, -3);
  EXPECT_EQ(rows[0].Name, "2024 AB1");
  EXPECT_EQ(rows[1].No, 1);
  EXPECT_EQ(rows[2].Name, "Astraea");
  EXPECT_EQ(rows[2].Elements.MeanLongitude, 30);
  EXPECT_EQ(rows[2].Color, 0x008080u);
  // The file is closed again: an exclusive open succeeds.
  TableStore t;
  t.SetDatabase(alias_);
  t.SetTableName("rows.db");
  EXPECT_NO_THROW(t.Open(TOpenMode::Exclusive));
}

TEST_F(MinorBodiesTest, RowsThatCannotBeOrbitsAreSkippedAndNamed) {
  {
    TableStore t;
    t.SetDatabase(alias_);
    t.SetTableName("rows.db");
    t.Open(TOpenMode::Exclusive);
    const double inf = std::numeric_limits<double>::infinity();
    // NO, NAME, M, NW, OHM, I, E, A, DATE: hand-edited rows of every kind of damage.
    t.AppendRecord({int64_t{10}, "zero a", 1.0, 2.0, 3.0, 4.0, 0.1, 0.0, 2451545.0, "", "N", "N"});
    t.AppendRecord(
        {int64_t{11}, "negative a", 1.0, 2.0, 3.0, 4.0, 0.1, -2.0, 2451545.0, "", "N", "N"});
    t.AppendRecord({int64_t{12}, "open", 1.0, 2.0, 3.0, 4.0, 1.0, 2.0, 2451545.0, "", "N", "N"});
    t.AppendRecord(
        {int64_t{13}, "endless M", inf, 2.0, 3.0, 4.0, 0.1, 2.0, 2451545.0, "", "N", "N"});
    t.AppendRecord({int64_t{14}, "no epoch", 1.0, 2.0, 3.0, 4.0, 0.1, 2.0, -inf, "", "N", "N"});
    t.AppendRecord(
        {int64_t{15}, "huge a", 1.0, 2.0, 3.0, 4.0, 0.1, 1e308, 2451545.0, "", "N", "N"});
  }
  std::vector<std::string> kept;
  std::vector<std::pair<std::string, std::string>> skipped;
  const int64_t n = ReadDataFile(
      std::filesystem::path(alias_) / "rows.db",
      [&](const TMinorBodyRow& r) {
        kept.push_back(r.Name);
        for (const Extended x : {r.Elements.DailyMotion, r.Elements.MeanLongitude})
          EXPECT_TRUE(std::isfinite(x)) << r.Name;
      },
      [&](const TMinorBodyRow& r, const char* why) { skipped.emplace_back(r.Name, why); });
  // A parabola (its A the perihelion distance) is an orbit like any other.
  EXPECT_EQ(n, 5);
  EXPECT_EQ(kept, (std::vector<std::string>{"2024 AB1", "Ceres", "Astraea", "open", "huge a"}));
  EXPECT_EQ(skipped, (std::vector<std::pair<std::string, std::string>>{
                         {"zero a", "a <= 0"},
                         {"negative a", "a <= 0"},
                         {"endless M", "an element is no finite number"},
                         {"no epoch", "an element is no finite number"}}));
}

TEST_F(MinorBodiesTest, ReadDataFileSaysWhatAPathIsWhenItIsNoDataFile) {
  namespace fs = std::filesystem;
  const fs::path fifo = fs::path(alias_) / "pipe.db";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  struct Case {
    fs::path path;
    std::string message;
  };
  for (const Case& c :
       {Case{alias_, alias_ + " is a folder, not a data file"},
        Case{fifo, fifo.string() + " is a FIFO, not a data file"},
        Case{"/dev/zero", "/dev/zero is a character device, not a data file"},
        Case{fs::path(alias_) / "none.db", "Table does not exist: " + alias_ + "/none.db"}}) {
    try {
      ReadDataFile(c.path, [](const TMinorBodyRow&) {});
      ADD_FAILURE() << c.path;
    } catch (const ETableError& e) {
      EXPECT_EQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace kestrova
