// The program's data file: its default alias lives in the program folder it was given (the
// environment is not read again), an alias counts by its folder, and every change is announced
// before and after, also when opening fails.
#include "database/data_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "database/data_files.h"
#include "support/synthetic_data_file.h"
#include "support/temp_home.h"

namespace kestrova {
namespace {

namespace fs = std::filesystem;

class DataFileTest : public testing::TempHome {
 protected:
  void SetUp() override {
    TempHome::SetUp();
    program_ = root_ / "program";
    fs::create_directories(program_ / "MPC");
    CreateDataFile((program_ / "MPC").string(), "rows.db");
  }
  fs::path program_;
  std::string events_;
};

TEST_F(DataFileTest, TheDefaultAliasIsTheGivenProgramFoldersAndEveryChangeIsAnnounced) {
  TDataFile file(program_);
  file.SetNames("MPC", "rows.db");
  ASSERT_TRUE(file.TryOpen());
  EXPECT_EQ(file.DatabaseName(), "MPC");
  EXPECT_EQ(file.TableName(), "rows.db");
  // KESTROVA_HOME names another folder, which holds no such table.
  EXPECT_FALSE(fs::exists(home_ / "MPC" / "rows.db"));
  EXPECT_TRUE(file.IsOpenFile("MPC", "rows.db"));
  EXPECT_TRUE(file.IsOpenFile((program_ / "MPC").string(), "rows.db"));
  EXPECT_FALSE(file.IsOpenFile("MPC", "other.db"));
  EXPECT_FALSE(file.IsOpenFile(alias_, "rows.db"));
  file.Close();
  EXPECT_FALSE(file.IsOpenFile("MPC", "rows.db"));
}

// An import renames a new table over the open one: the data file notices and reads the new
// file, announcing it; without a change it does nothing.
TEST_F(DataFileTest, ATableReplacedOnDiskIsOpenedAgain) {
  const std::string folder = (program_ / "MPC").string();
  TDataFile file(program_);
  file.SetNames("MPC", "rows.db");
  ASSERT_TRUE(file.TryOpen());
  EXPECT_EQ(file.Table().RecordCount(), 0);
  EXPECT_FALSE(file.ReopenIfReplaced());

  testing::MakeSyntheticDataFile(folder, "new.db", 25);
  fs::rename(program_ / "MPC" / "new.db", program_ / "MPC" / "rows.db");
  QObject::connect(&file, &TDataFile::changed, [this] { events_ += ">"; });
  EXPECT_TRUE(file.ReopenIfReplaced());
  EXPECT_TRUE(file.IsOpen());
  EXPECT_EQ(file.Table().RecordCount(), 25);
  EXPECT_EQ(events_, ">");
  EXPECT_FALSE(file.ReopenIfReplaced());
}

TEST_F(DataFileTest, AFailedOpenLeavesItClosedAndIsAnnouncedToo) {
  // A program folder that cannot be made: a file stands where its parent folder would be.
  std::ofstream(root_ / "file") << "x";
  TDataFile file(root_ / "file" / "program");
  QObject::connect(&file, &TDataFile::aboutToChange, [this] { events_ += "<"; });
  QObject::connect(&file, &TDataFile::changed, [this] { events_ += ">"; });
  file.SetNames((program_ / "MPC").string(), "rows.db");
  ASSERT_TRUE(file.TryOpen());
  file.SetNames("MPC", "rows.db");
  EXPECT_FALSE(file.IsOpen());
  EXPECT_THROW(file.Open(), EKestrovaError);
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(events_, "<><><><>");
  EXPECT_FALSE(file.RebuildIndices([](TableStore& table) { return table.Active(); }));
  EXPECT_EQ(events_, "<><><><><>");
}

}  // namespace
}  // namespace kestrova
