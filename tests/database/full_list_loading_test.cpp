// Loading the whole data file into a list of bodies with progress reports, and stopping it.
#include <gtest/gtest.h>

#include "database/full_list.h"
#include "database/minor_bodies.h"
#include "model/astronomical_objects.h"
#include "model/object_lists.h"
#include "support/synthetic_data_file.h"
#include "support/temp_home.h"

namespace kestrova {
namespace {

class FullListLoadingTest : public testing::TempHome {
 protected:
  void SetUp() override {
    TempHome::SetUp();
    testing::MakeSyntheticDataFile(alias_, "rows.db", kRows);
    data_.SetDatabase(alias_);
    data_.SetTableName("rows.db");
    data_.Open();
  }
  static constexpr int64_t kRows = 10000;
  static constexpr TColor kColor = 0x00C0FFEE;
  TFullList list_;
  TableStore data_;
};

TEST_F(FullListLoadingTest, ProgressCountsUpToTheRecordCount) {
  std::vector<std::pair<int64_t, int64_t>> reports;
  EXPECT_TRUE(LoadFullList(data_, kColor, list_, [&](int64_t done, int64_t total) {
    reports.emplace_back(done, total);
    return true;
  }));
  ASSERT_EQ(list_.Count(), kRows);
  EXPECT_EQ(list_.Color(), kColor);
  // The bodies follow the rows: each moves on its row's orbit.
  const Extended jd = 2460000.5L;
  int64_t row = 0;
  for (data_.First(); !data_.Eof(); data_.Next(), ++row) {
    if (row % 997 != 0 && row != kRows - 1) continue;
    TOEObject alone("", TOrbitalElements{}, 0, kMinorBodyId);
    RowToElements(data_, alone.Elements);
    alone.Calculate(jd);
    TVectorD p;
    list_.Orbits().Positions(TKeplerBatch::Date(jd), size_t(row), size_t(row) + 1, &p);
    EXPECT_LT(VecLength(VecSub(ToVector(p), alone.Pos)), 1e-12L * VecLength(alone.Pos)) << row;
  }
  data_.First();
  ASSERT_GE(reports.size(), 3u);
  EXPECT_EQ(reports.front(), std::make_pair(int64_t{0}, kRows));
  EXPECT_EQ(reports.back(), std::make_pair(kRows, kRows));
  for (size_t i = 1; i < reports.size(); ++i) EXPECT_GE(reports[i].first, reports[i - 1].first);
  EXPECT_EQ(data_.GetBookmark(), 1);  // back at the first row
}

TEST_F(FullListLoadingTest, StoppingLeavesTheFullListEmpty) {
  // Stopped half-way, and stopped at the very end: either way nothing stays.
  for (int64_t stopAt : {kRows / 2, kRows}) {
    EXPECT_FALSE(
        LoadFullList(data_, kColor, list_, [&](int64_t done, int64_t) { return done < stopAt; }));
    EXPECT_EQ(list_.Count(), 0);
    EXPECT_EQ(data_.GetBookmark(), 1);
  }
  // A closed data file fails with the engine's message.
  data_.Close();
  EXPECT_THROW(LoadFullList(data_, kColor, list_, [](int64_t, int64_t) { return true; }),
               ETableError);
  EXPECT_EQ(list_.Count(), 0);
}

}  // namespace
}  // namespace kestrova
