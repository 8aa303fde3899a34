// Stepping a date by a time step of a unit: the units of the main window's time step and the
// range of dates its controls keep to.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "numerics/extended.h"
#include "numerics/julian_dates.h"

namespace kestrova {

// The dates the main window shows, both ends included: 0h UT of 2 January 2000 BC (Julian
// calendar) and of 2 January 6000. Narrower than MinJD..MaxJD.
inline constexpr Extended MinShowJD = 990924.5L;
inline constexpr Extended MaxShowJD = 3912515.5L;

// The unit of the time step, by the code the documents store. A document may carry any other
// code: the enum holds it unchanged (TTimeUnit(code)), so that it is written back as it was
// read, and a step in it changes nothing.
enum class TTimeUnit : int32_t {
  Minute = 0,
  Hour = 1,
  Day = 3,
  SiderealYear = 9,
  TropicalYear = 10,
};

// Days in one step unit; nothing for a code without a unit.
std::optional<Extended> UnitDays(TTimeUnit unit);

// The word the step label shows after the value ("day(s)"); empty for a code without a unit.
std::string UnitWord(TTimeUnit unit);

// The date one step of `step` units forward (or backward) from `date`, in UT (Zone 0). The
// limits are tested one-sidedly: forward only against MaxShowJD, backward only against
// MinShowJD; a date that would leave MinShowJD..MaxShowJD on either side gives nothing, so
// that no date outside the range is ever made. A unit without days leaves the moment as it is
// (the date comes back in UT).
std::optional<TDateRec> StepDate(const TDateRec& date, Extended step, TTimeUnit unit, bool forward);

// A time step or Julian date typed as a decimal number: blanks around it are allowed, the
// decimal separator is "." or `separator`. Only finite numbers of double range count, so
// "nan", "inf" and 1e4000 are unreadable, as is anything with trailing text.
std::optional<Extended> ReadDecimal(std::string_view text, char separator = '.');

}  // namespace kestrova
