// Text forms of dates, times and angles: the tolerant parsers behind the date and time fields,
// and the formatters for fields, captions, apsides labels and the monitor.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "numerics/extended.h"
#include "numerics/julian_dates.h"

namespace kestrova {

// An angle split for display.
struct TDMS {
  int32_t Degrees = 0;
  int32_t Minutes = 0;
  Extended Seconds = 0;  // 0 up to below 60
  int32_t SignFactor = 1;
};

// English month name of 1..12; empty for any other number.
std::string MonthName(int32_t month);
// Month whose name or first three letters equal the text, ignoring case; 0 when none does.
int32_t MonthOfName(std::string_view text);

// Sets Hour, Minute and Second from a typed time ("12:30", "1:05 pm", "12.30.15").
// Raises EConvertError and leaves the record unchanged on unreadable text.
void ParseTime(std::string_view text, TDateRec& date);
// Sets Day, Month and Year from a typed date ("1.1.2000", "12/25/2000", "1 jan 5 BC"),
// corrects impossible days and applies CheckDateRange. Raises EConvertError, EUnderflow or
// EOverflow.
void ParseDate(std::string_view text, TDateRec& date);

// "05.01.2000": two-digit day and month, astronomical year.
std::string DateText(const TDateRec& date);
// "5.1.046 BC": unpadded day and month, absolute year of at least three digits.
std::string LongDateText(const TDateRec& date);
// Form 0 "07:05:09", form 2 "07:05", form 3 "7:05".
std::string TimeText(const TDateRec& date, int form);

TDMS AngleToDMS(Extended angle);
// Form 0 to the whole minute ("23° 26' "), form 1 to the whole second ("-5° 07' 03''").
std::string DMSText(const TDMS& dms, int form);

}  // namespace kestrova
