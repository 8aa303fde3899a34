#include "numerics/julian_dates.h"

#include <gtest/gtest.h>

#include <random>

namespace kestrova {
namespace {

TDateRec D(int32_t day, int32_t month, int32_t year, int32_t h = 0, int32_t m = 0, int32_t s = 0,
           int32_t zone = 0) {
  return {day, month, year, h, m, s, zone};
}

TEST(JulianDates, KnownDatesBothWays) {
  struct Case {
    Extended jd;
    TDateRec date;
  };
  const Case cases[] = {
      {0.0L, D(1, 1, -4713, 12)},      {4000000.0L, D(12, 7, 6239, 12)},
      {2451545.0L, D(1, 1, 2000, 12)}, {2299159.5L, D(4, 10, 1582)},  // last Julian day
      {2299160.5L, D(15, 10, 1582)},                                  // first Gregorian day
      {1721422.5L, D(31, 12, -1)},                                    // 31 December 1 BC
      {1721423.5L, D(1, 1, 1)},        {2446895.5L, D(10, 4, 1987)},
      {1507899.5L, D(28, 5, -585)},  // 585 BC, astronomical year -584
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DateToJD(c.date), c.jd) << c.jd;
    EXPECT_EQ(JDToDate(0, c.jd), c.date) << c.jd;
  }
}

TEST(JulianDates, CalendarGapMapsOntoGregorianDays) {
  EXPECT_EQ(DateToJD(D(10, 10, 1582)), DateToJD(D(20, 10, 1582)));
  EXPECT_EQ(DateToJD(D(5, 10, 1582)), DateToJD(D(15, 10, 1582)));
}

TEST(JulianDates, ZoneShiftsTheReadingNotTheMoment) {
  const TDateRec r = JDToDate(60, 2451545.0L);
  EXPECT_EQ(r, D(1, 1, 2000, 13, 0, 0, 60));
  EXPECT_EQ(DateToJD(r), 2451545.0L);
  EXPECT_EQ(JDToDate(-300, 2451545.0L), D(1, 1, 2000, 7, 0, 0, -300));
}

TEST(JulianDates, JustBeforeMidnightCarriesToTheNextDay) {
  // A few microseconds before midnight rounds up to 00:00:00 of the following day.
  const Extended jd = 2451545.5L - 3e-6L / 86400 * 1000;
  EXPECT_EQ(JDToDate(0, jd), D(2, 1, 2000));
  EXPECT_EQ(JDToDate(0, 2451179.5L - 1e-9L), D(1, 1, 1999));    // across a year end
  EXPECT_EQ(JDToDate(0, 2299160.5L - 1e-9L), D(15, 10, 1582));  // across the reform
}

TEST(JulianDates, LeapYearsAndMonthLengths) {
  EXPECT_TRUE(IsLeapYear(1500));
  EXPECT_FALSE(IsLeapYear(1700));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(-1));
  EXPECT_FALSE(IsLeapYear(-4));
  EXPECT_TRUE(IsLeapYear(-5));
  EXPECT_EQ(LastDayOfMonth(2, 1900), 28);
  EXPECT_EQ(LastDayOfMonth(2, 1500), 29);
  EXPECT_EQ(LastDayOfMonth(10, 1582), 31);
  EXPECT_EQ(LastDayOfMonth(13, 2000), 0);
}

TEST(JulianDates, CheckDateClasses) {
  EXPECT_EQ(CheckDate(D(1, 1, 2000)), 0);
  EXPECT_EQ(CheckDate(D(1, 1, 0)), 1);
  // A month outside 1..12 has no days, so any positive day also counts as class 3.
  EXPECT_EQ(CheckDate(D(0, 13, 2000)), 2);
  EXPECT_EQ(CheckDate(D(1, 13, 2000)), 3);
  EXPECT_EQ(CheckDate(D(30, 2, 2000)), 3);
  EXPECT_EQ(CheckDate(D(7, 10, 1582)), 4);
}

TEST(JulianDates, RangeErrorsClampTheRecord) {
  TDateRec low = D(1, 1, -6000, 0, 0, 0, 60);
  try {
    CheckDateRange(low);
    FAIL() << "no underflow";
  } catch (const EUnderflow& e) {
    EXPECT_STREQ(e.what(), "date -470076.541666667 underflows range (0 .. 4000000)");
  }
  EXPECT_EQ(low, D(1, 1, -4713, 13, 0, 0, 60));  // MinJD in the record's zone

  TDateRec exact = D(1, 1, -6000);
  EXPECT_THROW(
      {
        try {
          CheckDateRange(exact);
        } catch (const EUnderflow& e) {
          EXPECT_STREQ(e.what(), "date -470076.5 underflows range (0 .. 4000000)");
          throw;
        }
      },
      EUnderflow);

  TDateRec high = D(1, 1, 6240);
  EXPECT_THROW(CheckDateRange(high), EOverflow);
  EXPECT_EQ(high, D(12, 7, 6239, 12));

  TDateRec inside = D(1, 1, 2000);
  EXPECT_NO_THROW(CheckDateRange(inside));
  EXPECT_EQ(inside, D(1, 1, 2000));
}

TEST(JulianDates, DecimalYearAndDaySplitting) {
  EXPECT_EQ(JDToYear(2451544.5L), 2000);
  EXPECT_EQ(JDToYear(1721057.5L), 0);
  EXPECT_NEAR(JDToYear(2451544.5L + 365.248L / 2), 2000.5L, 1e-12L);

  const TSplitDays a = SplitDays(1.5L);
  EXPECT_EQ(a.Days, 1);
  EXPECT_EQ(a.Hours, 12);
  EXPECT_EQ(a.Minutes, 0);
  EXPECT_EQ(a.Seconds, 0);
  const TSplitDays b = SplitDays(0.9999999L);
  EXPECT_EQ(b.Days, 1);
  EXPECT_EQ(b.Hours, 0);
  EXPECT_EQ(b.Minutes, 0);
  EXPECT_EQ(b.Seconds, 0);
}

TEST(JulianDates, ClockReadsAValidDate) {
  const TDateRec now = CurrentUTDate();
  EXPECT_EQ(CheckDate(now), 0);
  EXPECT_EQ(now.Zone, 0);
  EXPECT_GT(DateToJD(now), 2461000);  // after 2025
  const TDateRec east = CurrentDate(120);
  EXPECT_EQ(east.Zone, 120);
  EXPECT_NEAR(static_cast<double>(DateToJD(east) - DateToJD(now)), 0, 2.0 / 86400);
}

// Every Julian date of the range converts to a valid record that converts back to within the
// half second that the record's whole seconds allow.
TEST(JulianDates, RoundTripOverTheWholeRange) {
  std::mt19937_64 rng(20261210);
  std::uniform_real_distribution<double> uniform(0.0, 4000000.0);
  for (int i = 0; i < 100000; ++i) {
    const Extended jd = uniform(rng);
    const TDateRec r = JDToDate(0, jd);
    ASSERT_EQ(CheckDate(r), 0) << static_cast<double>(jd);
    ASSERT_TRUE(r.Hour >= 0 && r.Hour < 24 && r.Minute >= 0 && r.Minute < 60 && r.Second >= 0 &&
                r.Second < 60)
        << static_cast<double>(jd);
    ASSERT_NEAR(static_cast<double>(DateToJD(r) - jd), 0.0, 0.5 / 86400 + 1e-9)
        << static_cast<double>(jd);
  }
}

}  // namespace
}  // namespace kestrova
