#include "numerics/julian_dates.h"

#include <cmath>
#include <ctime>

#include "numerics/mathematics.h"

namespace kestrova {

namespace {

int32_t g_start_zone = 0;

// The search of JDToDate for the record whose 0h is the Julian date q (a value ending in .5).
TDateRec FindDay(Extended q) {
  TDateRec r{1, 1, -4800, 0, 0, 0, 0};
  for (int32_t step : {1000, 100, 10, 1}) {
    while (DateToJD(r) < q) r.Year += step;
    if (DateToJD(r) > q) r.Year -= step;
  }
  if (r.Year == 0) r.Year = -1;
  while (DateToJD(r) < q) ++r.Month;
  if (DateToJD(r) > q) --r.Month;
  while (DateToJD(r) < q) r.Day += 10;
  r.Day -= 10;
  while (DateToJD(r) != q) ++r.Day;
  if (r.Year == 1582 && r.Month == 10 && r.Day >= 5 && r.Day <= 14) r.Day += 10;
  return r;
}

// Offset from UT in minutes, positive east, of the local time zone at the moment t.
int32_t ZoneOffset(std::time_t t) {
  std::tm local{};
  localtime_r(&t, &local);
  // tm_gmtoff already includes daylight saving time when it is in force.
  return static_cast<int32_t>(local.tm_gmtoff / 60);
}

}  // namespace

int32_t StartZone() {
  return g_start_zone;
}

void InitClock() {
  g_start_zone = ZoneOffset(std::time(nullptr));
}

int32_t AstronomicalYear(const TDateRec& date) {
  return date.Year < 0 ? date.Year + 1 : date.Year;
}

Extended DateToJD(const TDateRec& date) {
  const Extended y = AstronomicalYear(date);
  const Extended m = 12 * (y + 4800) + date.Month - 3;
  Extended n =
      Int((2 * (m - 12 * Int(m / 12)) + 365 * m + 7) / 12) + date.Day + Int(m / 48) - 32083;
  if (n > 2299170) n = n + Int(m / 4800) - Int(m / 1200) + 38;
  return n + (date.Hour + date.Minute / 60.0L + date.Second / 3600.0L) / 24 - 0.5L -
         date.Zone / 1440.0L;
}

TDateRec JDToDate(int32_t zone, Extended jd) {
  const Extended b = jd + zone / 1440.0L + 0.5L;
  // floor rather than truncation, so that a zone far west of UT near MinJD (b < 0) still
  // yields a fraction of the day in 0..1.
  const Extended whole = std::floor(b);
  const Extended f = b - whole;
  const Extended q = whole - 0.5L;
  int32_t hour = static_cast<int32_t>(Int(24 * f));
  int32_t minute = static_cast<int32_t>(Int(1440 * (f - hour / 24.0L)));
  int32_t second =
      static_cast<int32_t>(RoundHalfEven(86400 * (f - hour / 24.0L - minute / 1440.0L)));
  bool next_day = false;
  if (second >= 60) {
    second = 0;
    ++minute;
  }
  if (minute >= 60) {
    minute = 0;
    ++hour;
  }
  if (hour >= 24) {
    hour = 0;
    next_day = true;
  }
  TDateRec r = FindDay(next_day ? q + 1 : q);
  r.Hour = hour;
  r.Minute = minute;
  r.Second = second;
  r.Zone = zone;
  return r;
}

bool IsLeapYear(int32_t year) {
  if (year > 1582) return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (year >= 1) return year % 4 == 0;
  return (year + 1) % 4 == 0;
}

int32_t LastDayOfMonth(int32_t month, int32_t year) {
  switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
      return 31;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    case 2:
      return IsLeapYear(year) ? 29 : 28;
    default:
      return 0;
  }
}

int32_t CheckDate(const TDateRec& date) {
  int32_t result = 0;
  if (date.Year == 0) result = 1;
  if (date.Month < 1 || date.Month > 12) result = 2;
  if (date.Day > LastDayOfMonth(date.Month, date.Year) || date.Day < 0) result = 3;
  if (date.Year == 1582 && date.Month == 10 && date.Day >= 5 && date.Day <= 14) result = 4;
  return result;
}

void CheckDateRange(TDateRec& date) {
  const Extended jd = DateToJD(date);
  if (jd < MinJD) {
    date = JDToDate(date.Zone, MinJD);
    throw EUnderflow(Format("date %s underflows range (%s .. %s)", FormatGeneral(jd).c_str(),
                            FormatGeneral(MinJD).c_str(), FormatGeneral(MaxJD).c_str()));
  }
  if (jd > MaxJD) {
    date = JDToDate(date.Zone, MaxJD);
    throw EOverflow(Format("date %s overflows range (%s .. %s)", FormatGeneral(jd).c_str(),
                           FormatGeneral(MinJD).c_str(), FormatGeneral(MaxJD).c_str()));
  }
}

TDateRec CurrentUTDate() {
  const std::time_t now = std::time(nullptr);
  // The UT reading is local time less the current offset, which is what gmtime gives.
  std::tm ut{};
  gmtime_r(&now, &ut);
  TDateRec r{ut.tm_mday, ut.tm_mon + 1, ut.tm_year + 1900,
             ut.tm_hour, ut.tm_min,     ut.tm_sec > 59 ? 59 : ut.tm_sec,
             0};
  CheckDateRange(r);
  return r;
}

TDateRec CurrentDate(int32_t zone) {
  TDateRec r = JDToDate(zone, DateToJD(CurrentUTDate()));
  CheckDateRange(r);
  return r;
}

Extended JDToYear(Extended jd) {
  const TDateRec r = JDToDate(0, jd);
  const TDateRec jan1{1, 1, r.Year, 0, 0, 0, 0};
  return AstronomicalYear(r) + (jd - DateToJD(jan1)) / 365.248L;
}

TSplitDays SplitDays(Extended x) {
  TSplitDays s{};
  s.Days = static_cast<int64_t>(Int(x));
  const Extended h = 24 * (x - s.Days);
  s.Hours = static_cast<int32_t>(Int(h));
  const Extended m = 60 * (h - s.Hours);
  s.Minutes = static_cast<int32_t>(Int(m));
  s.Seconds = static_cast<int32_t>(RoundHalfEven(60 * (m - s.Minutes)));
  if (s.Seconds >= 60) {
    s.Seconds = 0;
    ++s.Minutes;
  }
  if (s.Minutes >= 60) {
    s.Minutes = 0;
    ++s.Hours;
  }
  if (s.Hours >= 24) {
    s.Hours = 0;
    ++s.Days;
  }
  return s;
}

}  // namespace kestrova
