// Loading the whole data file into the scene's full list with progress reports, and stopping it.
#include <gtest/gtest.h>

#include "database/full_list.h"
#include "database/minor_bodies.h"
#include "model/astronomical_objects.h"
#include "scene/solar_system.h"
#include "support/scene_date.h"
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
  TSolarSystem scene_{TestStartDate()};
  TableStore data_;
};

TEST_F(FullListLoadingTest, ProgressCountsUpToTheRecordCount) {
  std::vector<std::pair<int64_t, int64_t>> reports;
  EXPECT_TRUE(RebuildFullList(scene_, data_, true, [&](int64_t done, int64_t total) {
    reports.emplace_back(done, total);
    return true;
  }));
  ASSERT_EQ(scene_.AsteroidsFullList().Count(), kRows);
  EXPECT_EQ(scene_.AsteroidsFullList().Get(0).Name, testing::SyntheticName(1));
  ASSERT_GE(reports.size(), 3u);
  EXPECT_EQ(reports.front(), std::make_pair(int64_t{0}, kRows));
  EXPECT_EQ(reports.back(), std::make_pair(kRows, kRows));
  for (size_t i = 1; i < reports.size(); ++i) EXPECT_GE(reports[i].first, reports[i - 1].first);
  EXPECT_EQ(data_.GetBookmark(), 1);  // back at the first row
}

TEST_F(FullListLoadingTest, StoppingLeavesTheFullListEmpty) {
  ASSERT_TRUE(RebuildFullList(scene_, data_, true));
  ASSERT_EQ(scene_.AsteroidsFullList().Count(), kRows);
  // Stopped half-way, and stopped at the very end: either way nothing stays.
  for (int64_t stopAt : {kRows / 2, kRows}) {
    EXPECT_FALSE(
        RebuildFullList(scene_, data_, true, [&](int64_t done, int64_t) { return done < stopAt; }));
    EXPECT_EQ(scene_.AsteroidsFullList().Count(), 0);
    EXPECT_EQ(data_.GetBookmark(), 1);
  }
  // A closed data file fails with the engine's message, and the list stays empty.
  ASSERT_TRUE(RebuildFullList(scene_, data_, true));
  data_.Close();
  EXPECT_THROW(RebuildFullList(scene_, data_, true, [](int64_t, int64_t) { return true; }),
               ETableError);
  EXPECT_EQ(scene_.AsteroidsFullList().Count(), 0);
}

}  // namespace
}  // namespace kestrova
