#include "numerics/date_text.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "numerics/errors.h"
#include "numerics/mathematics.h"

namespace kestrova {

namespace {

constexpr const char* kMonthNames[12] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};

bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Splits typed text into items: trims it, removes blanks that stand beside delimiters or
// other blanks, then cuts at every remaining blank or delimiter. A run of blanks goes when a
// delimiter stands on either side of it and becomes one blank otherwise, which is where the
// rule of repeated passes (drop a blank followed by a blank or a delimiter, or preceded by a
// delimiter) ends; reaching it in one pass keeps the work linear in the text.
std::vector<std::string> SeparateItems(std::string_view typed, std::string_view delimiters) {
  size_t first = 0;
  size_t last = typed.size();
  while (first < last && IsBlankOrControl(typed[first])) ++first;
  while (last > first && IsBlankOrControl(typed[last - 1])) --last;

  auto is_delim = [&](char c) { return delimiters.find(c) != std::string_view::npos; };
  std::string s;
  s.reserve(last - first);
  for (size_t i = first; i < last;) {
    if (typed[i] != ' ') {
      s.push_back(typed[i++]);
      continue;
    }
    // The trimmed text starts and ends with no blank: a run has a character on both sides.
    size_t end = i;
    while (typed[end] == ' ') ++end;
    if (!is_delim(typed[i - 1]) && !is_delim(typed[end])) s.push_back(' ');
    i = end;
  }

  std::vector<std::string> items(1);
  for (char c : s) {
    if (c == ' ' || is_delim(c)) {
      items.emplace_back();
    } else {
      items.back().push_back(c);
    }
  }
  return items;
}

// A decimal integer with an optional sign that fits 32 bits.
int32_t StrToInt(const std::string& item) {
  const char* p = item.c_str();
  const char* digits = (*p == '+' || *p == '-') ? p + 1 : p;
  bool ok = *digits != '\0';
  for (const char* q = digits; *q && ok; ++q) ok = std::isdigit(static_cast<unsigned char>(*q));
  long long value = 0;
  if (ok) {
    errno = 0;
    value = std::strtoll(p, nullptr, 10);
    ok = errno == 0 && value >= INT32_MIN && value <= INT32_MAX;
  }
  if (!ok) throw EConvertError(Format("'%s' is not a valid integer value", item.c_str()));
  return static_cast<int32_t>(value);
}

std::string TwoDigits(int32_t v) {
  return Format("%02d", v);
}

}  // namespace

std::string MonthName(int32_t month) {
  if (month < 1 || month > 12) return {};
  return kMonthNames[month - 1];
}

int32_t MonthOfName(std::string_view text) {
  const std::string upper = Upper(std::string(text));
  for (int32_t m = 1; m <= 12; ++m) {
    const std::string name = Upper(kMonthNames[m - 1]);
    if (upper == name || upper == name.substr(0, 3)) return m;
  }
  return 0;
}

void ParseTime(std::string_view text, TDateRec& date) {
  std::vector<std::string> items = SeparateItems(text, ".:");
  for (std::string& item : items) item = Upper(item);
  const int n = static_cast<int>(items.size());
  if (n < 2 || n > 4)
    throw EConvertError(Format("invalid number of arguments in time-string (%d)", n));

  bool pm = false;
  bool last_is_ampm = false;
  if (n >= 3) {
    const std::string& last = items.back();
    pm = last == "PM";
    last_is_ampm = pm || last == "AM";
    if (n == 4 && !last_is_ampm)
      throw EConvertError(Format("invalid item in time-string (%s)", last.c_str()));
  }

  int32_t hour = StrToInt(items[0]);
  if (hour < 0 || hour > 23)
    throw EConvertError(Format("hour out of range in time-string (%d)", hour));
  if (pm && hour < 12) hour += 12;

  const int32_t minute = StrToInt(items[1]);
  if (minute < 0 || minute > 59)
    throw EConvertError(Format("minutes out of range in time-string (%d)", minute));

  int32_t second = 0;
  if (n == 4 || (n == 3 && !last_is_ampm)) second = StrToInt(items[2]);
  if (second < 0 || second > 59)
    throw EConvertError(Format("seconds out of range in time-string (%d)", second));

  date.Hour = hour;
  date.Minute = minute;
  date.Second = second;
}

void ParseDate(std::string_view text, TDateRec& date) {
  std::vector<std::string> items = SeparateItems(text, "./");
  const int n = static_cast<int>(items.size());
  if (n < 3 || n > 4)
    throw EConvertError(Format("invalid number of arguments in date-string (%d)", n));

  const int32_t y = StrToInt(items[2]);
  int32_t year = y > 0 ? y : y - 1;  // 0 is 1 BC, -99 is 100 BC
  if (n == 4) {
    const std::string era = Upper(items[3]);
    if (era == "BC") {
      if (y > 0) year = -y;
    } else if (era != "AD") {
      throw EConvertError(Format("invalid item in date-string (%s)", items[3].c_str()));
    }
  }
  if (year > 6000 || year < -6000)
    throw EConvertError(Format("year out of range in date-string (%s)", items[2].c_str()));

  int32_t day = 0;
  int32_t month = 0;
  if (MonthOfName(items[0]) != 0 || MonthOfName(items[1]) != 0) {
    if (MonthOfName(items[0]) != 0) std::swap(items[0], items[1]);
    month = MonthOfName(items[1]);
    day = StrToInt(items[0]);
  } else {
    day = StrToInt(items[0]);
    month = StrToInt(items[1]);
    if (month > 12 && day >= 1 && day <= 12) std::swap(day, month);
  }
  if (month < 1 || month > 12)
    throw EConvertError(Format("month out of range in date-string (%d)", month));
  if (day < 1) throw EConvertError(Format("day out of range in date-string (%d)", day));

  TDateRec r = date;
  r.Day = day;
  r.Month = month;
  r.Year = year;
  switch (CheckDate(r)) {
    case 3:
      r.Day = LastDayOfMonth(r.Month, r.Year);
      break;
    case 4:
      r.Day = r.Day <= 9 ? 15 : 4;
      break;
    default:
      break;
  }
  date = r;
  CheckDateRange(date);
}

std::string DateText(const TDateRec& date) {
  return TwoDigits(date.Day) + "." + TwoDigits(date.Month) + "." +
         std::to_string(AstronomicalYear(date));
}

std::string LongDateText(const TDateRec& date) {
  const int32_t year = date.Year < 0 ? -date.Year : date.Year;
  std::string text = Format("%d.%d.%03d", date.Day, date.Month, year);
  if (date.Year < 0) text += " BC";
  return text;
}

std::string TimeText(const TDateRec& date, int form) {
  switch (form) {
    case 2:
      return TwoDigits(date.Hour) + ":" + TwoDigits(date.Minute);
    case 3:
      return std::to_string(date.Hour) + ":" + TwoDigits(date.Minute);
    default:
      return TwoDigits(date.Hour) + ":" + TwoDigits(date.Minute) + ":" + TwoDigits(date.Second);
  }
}

TDMS AngleToDMS(Extended angle) {
  Extended a = angle * 180 / Pi;
  TDMS dms;
  dms.SignFactor = a >= 0 ? 1 : -1;
  a = a < 0 ? -a : a;
  dms.Degrees = static_cast<int32_t>(Int(a));
  dms.Minutes = static_cast<int32_t>(Int(60 * Frac(a)));
  dms.Seconds = (Frac(a) - dms.Minutes / 60.0L) * 3600;
  return dms;
}

std::string DMSText(const TDMS& dms, int form) {
  int32_t degrees = dms.Degrees;
  int32_t minutes = dms.Minutes;
  int64_t seconds = 0;
  bool carry = false;
  if (form == 1) {
    seconds = RoundHalfEven(dms.Seconds);
    if (seconds >= 60) {
      seconds = 0;
      carry = true;
    }
  } else if (dms.Seconds > 30) {
    carry = true;
  }
  if (carry && ++minutes >= 60) {
    minutes = 0;
    if (++degrees >= 360) degrees = 0;
  }
  std::string text = dms.SignFactor == -1 ? "-" : "";
  text += std::to_string(degrees) + "\u00B0 " + TwoDigits(minutes) + "' ";
  if (form == 1) text += TwoDigits(static_cast<int32_t>(seconds)) + "''";
  return text;
}

}  // namespace kestrova
