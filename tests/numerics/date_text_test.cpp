#include "numerics/date_text.h"

#include <gtest/gtest.h>

#include "numerics/mathematics.h"

namespace kestrova {
namespace {

TDateRec D(int32_t day, int32_t month, int32_t year, int32_t h = 0, int32_t m = 0, int32_t s = 0) {
  return {day, month, year, h, m, s, 0};
}

TEST(DateText, ParseTimeAcceptsTypedForms) {
  struct Case {
    const char* typed;
    int32_t h, m, s;
  };
  const Case cases[] = {
      {"12:30", 12, 30, 0},        {"12 . 30 . 15", 12, 30, 15},
      {"1:05 pm", 13, 5, 0},       {"12:00 PM", 12, 0, 0},
      {"12:00 am", 12, 0, 0},      {"  7:5:9\t", 7, 5, 9},
      {"11:59:58 PM", 23, 59, 58}, {"0.00", 0, 0, 0},
  };
  for (const Case& c : cases) {
    TDateRec r = D(3, 4, 1999, 1, 2, 3);
    ParseTime(c.typed, r);
    EXPECT_EQ(r, D(3, 4, 1999, c.h, c.m, c.s)) << c.typed;
  }
}

TEST(DateText, ParseTimeErrorsLeaveTheRecordAlone) {
  struct Case {
    const char* typed;
    const char* message;
  };
  const Case cases[] = {
      {"1:2:3:4", "invalid item in time-string (4)"},
      {"12", "invalid number of arguments in time-string (1)"},
      {"1:2:3:4:5", "invalid number of arguments in time-string (5)"},
      {"24:00", "hour out of range in time-string (24)"},
      {"-1:00", "hour out of range in time-string (-1)"},
      {"10:60", "minutes out of range in time-string (60)"},
      {"10:10:75", "seconds out of range in time-string (75)"},
      {"ab:10", "'AB' is not a valid integer value"},
      {"10::", "'' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    TDateRec r = D(3, 4, 1999, 1, 2, 3);
    try {
      ParseTime(c.typed, r);
      ADD_FAILURE() << "no error for " << c.typed;
    } catch (const EConvertError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.typed;
    }
    EXPECT_EQ(r, D(3, 4, 1999, 1, 2, 3)) << c.typed;
  }
}

TEST(DateText, ParseDateAcceptsTypedForms) {
  struct Case {
    const char* typed;
    TDateRec expected;
  };
  const Case cases[] = {
      {"1.1.2000", D(1, 1, 2000, 6, 7, 8)},
      {"1/1/2000", D(1, 1, 2000, 6, 7, 8)},
      {"1 jan 2000", D(1, 1, 2000, 6, 7, 8)},
      {"JANUARY 1 2000", D(1, 1, 2000, 6, 7, 8)},
      {"01 . 01 . 2000", D(1, 1, 2000, 6, 7, 8)},
      {"5.1.2000", D(5, 1, 2000, 6, 7, 8)},
      {"12/25/2000", D(25, 12, 2000, 6, 7, 8)},
      {"1.1.0", D(1, 1, -1, 6, 7, 8)},
      {"1.1.-99", D(1, 1, -100, 6, 7, 8)},
      {"1.1.5 BC", D(1, 1, -5, 6, 7, 8)},
      {"1.1.5 ad", D(1, 1, 5, 6, 7, 8)},
      {"31.2.2001", D(28, 2, 2001, 6, 7, 8)},
      {"29.2.1500", D(29, 2, 1500, 6, 7, 8)},
      {"7.10.1582", D(15, 10, 1582, 6, 7, 8)},
      {"12.10.1582", D(4, 10, 1582, 6, 7, 8)},
      {"25.10.1582", D(25, 10, 1582, 6, 7, 8)},
      // Runs of blanks beside a delimiter go, others count as one.
      {"1  .  1   .2000", D(1, 1, 2000, 6, 7, 8)},
      {"1   jan     2000", D(1, 1, 2000, 6, 7, 8)},
  };
  for (const Case& c : cases) {
    TDateRec r = D(9, 9, 1999, 6, 7, 8);
    ParseDate(c.typed, r);
    EXPECT_EQ(r, c.expected) << c.typed;
  }
}

TEST(DateText, ParseDateErrors) {
  struct Case {
    const char* typed;
    const char* message;
  };
  const Case cases[] = {
      {"1.1", "invalid number of arguments in date-string (2)"},
      {"1.1.1.1.1", "invalid number of arguments in date-string (5)"},
      {"1.1.5 XX", "invalid item in date-string (XX)"},
      {"1.1.6001", "year out of range in date-string (6001)"},
      {"1.1.-6000", "year out of range in date-string (-6000)"},
      {"13.13.2000", "month out of range in date-string (13)"},
      {"1.13.2000x", "'2000x' is not a valid integer value"},
      {"0.1.2000", "day out of range in date-string (0)"},
      {"1.x.2000", "'x' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    TDateRec r = D(9, 9, 1999);
    try {
      ParseDate(c.typed, r);
      ADD_FAILURE() << "no error for " << c.typed;
    } catch (const EConvertError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.typed;
    }
    EXPECT_EQ(r, D(9, 9, 1999)) << c.typed;
  }
}

// Long text is refused as short text is, with the same message (the desktop field takes
// 32,767 characters, the command line far more).
TEST(DateText, LongTextIsRefusedWithTheSameMessage) {
  const auto repeated = [](const std::string& part, int times) {
    std::string s;
    for (int i = 0; i < times; ++i) s += part;
    return s;
  };
  struct Case {
    std::string typed;
    bool time;
    std::string message;
  };
  const Case cases[] = {
      {std::string(100000, 'x'), false, "invalid number of arguments in date-string (1)"},
      {repeated("1  ", 50000), false, "invalid number of arguments in date-string (50000)"},
      {repeated(" . ", 50000), false, "invalid number of arguments in date-string (50001)"},
      {"1.1." + std::string(100000, '9'), false,
       "'" + std::string(100000, '9') + "' is not a valid integer value"},
      {repeated("12 :", 50000), true, "invalid number of arguments in time-string (50001)"},
  };
  for (const Case& c : cases) {
    TDateRec r = D(9, 9, 1999);
    try {
      c.time ? ParseTime(c.typed, r) : ParseDate(c.typed, r);
      ADD_FAILURE() << "no error for " << c.typed.substr(0, 20);
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.what(), c.message) << c.typed.substr(0, 20);
    }
    EXPECT_EQ(r, D(9, 9, 1999)) << c.typed.substr(0, 20);
  }
}

TEST(DateText, ParseDateRangeErrorLeavesTheClampedDate) {
  TDateRec r = D(9, 9, 1999);
  try {
    ParseDate("1.1.5000 BC", r);
    FAIL() << "no underflow";
  } catch (const EUnderflow& e) {
    EXPECT_STREQ(e.what(), "date -104826.5 underflows range (0 .. 4000000)");
  }
  EXPECT_EQ(r, D(1, 1, -4713, 12));
}

TEST(DateText, Formatters) {
  EXPECT_EQ(DateText(D(5, 1, 2000)), "05.01.2000");
  EXPECT_EQ(DateText(D(1, 1, -1)), "01.01.0");
  EXPECT_EQ(DateText(D(1, 1, -100)), "01.01.-99");
  EXPECT_EQ(LongDateText(D(5, 1, -46)), "5.1.046 BC");
  EXPECT_EQ(LongDateText(D(5, 1, 2000)), "5.1.2000");
  EXPECT_EQ(TimeText(D(1, 1, 2000, 7, 5, 9), 0), "07:05:09");
  EXPECT_EQ(TimeText(D(1, 1, 2000, 7, 5, 9), 2), "07:05");
  EXPECT_EQ(TimeText(D(1, 1, 2000, 7, 5, 9), 3), "7:05");
  EXPECT_EQ(MonthName(12), "December");
  EXPECT_EQ(MonthName(0), "");
  EXPECT_EQ(MonthOfName("sEp"), 9);
  EXPECT_EQ(MonthOfName("Sept"), 0);
}

TEST(DateText, DateTextReadsBack) {
  for (const TDateRec& date : {D(5, 1, 2000), D(1, 1, -1), D(1, 1, -100), D(31, 12, 6000)}) {
    TDateRec r = D(1, 1, 1);
    ParseDate(DateText(date), r);
    EXPECT_EQ(r, date) << DateText(date);
  }
}

TEST(DateText, AnglesToDegreesMinutesSeconds) {
  auto angle = [](int sign, int d, int m, Extended s) {
    return sign * DegToRad(d + m / 60.0L + s / 3600);
  };
  struct Case {
    Extended radians;
    int form;
    const char* text;
  };
  const Case cases[] = {
      {angle(1, 23, 26, 21.4L), 0, "23\u00B0 26' "},
      {angle(-1, 5, 7, 2.6L), 1, "-5\u00B0 07' 03''"},
      {angle(1, 10, 59, 59.6L), 1, "11\u00B0 00' 00''"},
      {angle(1, 10, 5, 29.99L), 0, "10\u00B0 05' "},
      {angle(1, 10, 5, 30.01L), 0, "10\u00B0 06' "},
      {angle(1, 359, 59, 59.7L), 1, "0\u00B0 00' 00''"},
  };
  for (const Case& c : cases) EXPECT_EQ(DMSText(AngleToDMS(c.radians), c.form), c.text);

  // Exactly 30 seconds do not round up in form 0.
  EXPECT_EQ(DMSText(TDMS{10, 5, 30.0L, 1}, 0), "10\u00B0 05' ");
  const TDMS dms = AngleToDMS(angle(-1, 5, 7, 2.6L));
  EXPECT_EQ(dms.SignFactor, -1);
  EXPECT_EQ(dms.Degrees, 5);
  EXPECT_EQ(dms.Minutes, 7);
  EXPECT_NEAR(dms.Seconds, 2.6L, 1e-9L);
}

}  // namespace
}  // namespace kestrova
