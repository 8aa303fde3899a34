// Stepping a date by the main window's time step, and reading a typed step.
#include "numerics/time_step.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

TEST(StepDate, EachUnitAddsItsDaysAndComesBackInUT) {
  const TDateRec start{1, 1, 2000, 12, 0, 0, 60};  // 11:00 UT
  const Extended jd = DateToJD(start);
  // By the codes the documents store.
  const struct {
    int32_t code;
    Extended days;
  } cases[] = {{0, 1.0L / 1440}, {1, 1.0L / 24}, {3, 1}, {9, 365.25636024L}, {10, 365.24219879L}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    const TTimeUnit unit{c.code};
    const std::optional<TDateRec> next = StepDate(start, 2, unit, true);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->Zone, 0);
    EXPECT_NEAR(double(DateToJD(*next) - jd), double(2 * c.days), 1e-5);
    EXPECT_NEAR(double(DateToJD(*StepDate(start, 2, unit, false)) - jd), double(-2 * c.days), 1e-5);
  }
  // A code without a unit keeps the moment, shown in UT.
  for (int32_t code : {2, 4, 8, 11, 255}) {
    const std::optional<TDateRec> same = StepDate(start, 5, TTimeUnit{code}, true);
    ASSERT_TRUE(same);
    EXPECT_EQ(*same, (TDateRec{1, 1, 2000, 11, 0, 0, 0}));
    EXPECT_EQ(UnitWord(TTimeUnit{code}), "");
  }
}

TEST(StepDate, LimitsAreTestedOneSidedAndNoDateLeavesTheRange) {
  const TDateRec nearTop = JDToDate(0, MaxShowJD - 0.5L);
  EXPECT_FALSE(StepDate(nearTop, 1, TTimeUnit::Day, true));
  EXPECT_TRUE(StepDate(nearTop, 0.5L, TTimeUnit::Day, true));
  EXPECT_TRUE(StepDate(nearTop, 1, TTimeUnit::Day, false));
  const TDateRec nearBottom = JDToDate(0, MinShowJD + 0.5L);
  EXPECT_FALSE(StepDate(nearBottom, 1, TTimeUnit::Day, false));
  EXPECT_TRUE(StepDate(nearBottom, 0.5L, TTimeUnit::Day, false));
  // A negative step forward from the bottom would leave the range below.
  EXPECT_FALSE(StepDate(nearBottom, -1, TTimeUnit::Day, true));
  // A step so large that the sum is no longer finite.
  EXPECT_FALSE(StepDate(nearBottom, 1e308L, TTimeUnit::SiderealYear, true));
}

TEST(ReadDecimal, OnlyFiniteNumbersCount) {
  EXPECT_EQ(ReadDecimal("1.5"), 1.5L);
  EXPECT_EQ(ReadDecimal(" -2 "), -2.0L);
  EXPECT_EQ(ReadDecimal("+3e2"), 300.0L);
  EXPECT_EQ(ReadDecimal(".25"), 0.25L);
  EXPECT_EQ(ReadDecimal("0,5", ','), 0.5L);
  EXPECT_EQ(ReadDecimal("2451545.0"), 2451545.0L);
  for (const char* bad :
       {"", " ", "nan", "inf", "-inf", "1e4000", "1,5", "2 days", "0x10", "+-1", "1e", "--1"})
    EXPECT_FALSE(ReadDecimal(bad)) << bad;
}

}  // namespace
}  // namespace kestrova
