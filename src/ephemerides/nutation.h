// Nutation of the IAU 1980 theory.
//
// The nutation cache (module-wide) remembers the angles of the date last computed, so that one
// recomputation evaluates the series once; no result depends on what it held before.
#pragma once

#include "numerics/extended.h"
#include "numerics/matrices.h"

namespace kestrova {

struct TNutation {
  Extended JD;    // -1 while nothing is cached
  Extended DPsi;  // nutation in longitude, radians
  Extended DEps;  // nutation in obliquity, radians
};

// The nutation angles of jd, remembered in the cache until another date is asked for.
TNutation NutationAngles(Extended jd);
void ResetNutationCache();

// Carries an equatorial vector from the mean to the true equator and equinox of jd.
TVector ApplyNutation(const TVector& v, Extended jd);

}  // namespace kestrova
