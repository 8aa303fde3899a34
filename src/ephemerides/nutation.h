// Nutation of the IAU 1980 theory.
//
// The nutation cache (module-wide) holds the angles of the date last computed, so that one
// recomputation evaluates the series once.
#pragma once

#include "numerics/extended.h"
#include "numerics/matrices.h"

namespace kestrova {

struct TNutation {
  Extended JD;    // -1 while nothing is cached
  Extended DPsi;  // nutation in longitude, radians
  Extended DEps;  // nutation in obliquity, radians
};

// Fills the nutation cache for jd; nothing happens when jd is the cached date.
void NutationAngles(Extended jd);
const TNutation& CurrentNutation();
void ResetNutationCache();

// Carries an equatorial vector from the mean to the true equator and equinox of jd; leaves the
// obliquity of jd in the obliquity cache.
TVector ApplyNutation(const TVector& v, Extended jd);

}  // namespace kestrova
