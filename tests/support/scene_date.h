// The date the tests' scenes start at, so that no test depends on the day it runs.
#pragma once

#include "numerics/julian_dates.h"

namespace kestrova {

// 1 January 2000, 12:00 UT.
inline TDateRec TestStartDate() {
  return JDToDate(0, 2451545.0L);
}

}  // namespace kestrova
