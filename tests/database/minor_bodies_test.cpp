#include "database/minor_bodies.h"

#include <gtest/gtest.h>

#include <cmath>

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

}  // namespace
}  // namespace kestrova
