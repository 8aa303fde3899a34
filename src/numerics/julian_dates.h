// Julian dates, the historical calendar and the computer clock.
//
// The calendar is Julian up to 4 October 1582 and Gregorian from 15 October 1582; years are
// historical (negative is BC, no year 0). A Julian date counts days from 1 January 4713 BC,
// 12:00 UT, and is read as Universal Time everywhere.
#pragma once

#include <cstdint>

#include "numerics/errors.h"
#include "numerics/extended.h"

namespace kestrova {

// A civil date and clock reading to the whole second. Zone is the reading's offset from UT in
// minutes, positive east (reading = UT + Zone).
struct TDateRec {
  int32_t Day = 1;
  int32_t Month = 1;
  int32_t Year = 2000;
  int32_t Hour = 0;
  int32_t Minute = 0;
  int32_t Second = 0;
  int32_t Zone = 0;

  friend bool operator==(const TDateRec&, const TDateRec&) = default;
};

// The range of dates the program accepts, both ends included.
inline constexpr Extended MinJD = 0.0L;        // 1 January 4713 BC 12:00:00 UT
inline constexpr Extended MaxJD = 4000000.0L;  // 12 July 6239 12:00:00 UT

// The computer's offset from UT in minutes, read once at start-up by InitClock.
int32_t StartZone();
// Reads StartZone from the computer's time-zone information.
void InitClock();

// Astronomical year number of a record: 1 BC is 0, 2 BC is -1.
int32_t AstronomicalYear(const TDateRec& date);

// Julian date of a record; any field values are accepted.
Extended DateToJD(const TDateRec& date);
// The record whose clock reading in `zone` shows the moment jd (MinJD <= jd <= MaxJD).
TDateRec JDToDate(int32_t zone, Extended jd);

bool IsLeapYear(int32_t year);
// Last day of a month of a historical year; 0 for a month outside 1..12.
int32_t LastDayOfMonth(int32_t month, int32_t year);

// Validity class of a record: 0 valid, 1 year 0, 2 month outside 1..12, 3 day outside the
// month, 4 day in the gap of October 1582 (later classes override earlier ones).
int32_t CheckDate(const TDateRec& date);

// Leaves a record inside MinJD..MaxJD alone; otherwise clamps it to the nearer limit (in its
// own zone) and raises EUnderflow or EOverflow.
void CheckDateRange(TDateRec& date);

// The computer clock in UT (Zone 0), and in a given zone.
TDateRec CurrentUTDate();
TDateRec CurrentDate(int32_t zone);

// Decimal astronomical year of a Julian date (the divisor is 365.248).
Extended JDToYear(Extended jd);

// A non-negative day count split into days, hours, minutes and whole seconds.
struct TSplitDays {
  int64_t Days;
  int32_t Hours;
  int32_t Minutes;
  int32_t Seconds;
};
TSplitDays SplitDays(Extended days);

}  // namespace kestrova
