// The reference frames: mean obliquity of the ecliptic (Laskar), the ecliptic-equatorial
// rotations and precession between the mean equator of a date and that of J2000.0.
//
// Frame state is an input: the rotations take the obliquity they turn with, and precession
// works out the obliquities of its two dates itself. The obliquity cache (module-wide) only
// remembers the date last computed, so that asking for it again costs nothing; no result
// depends on what it held before. It is touched only from the user-interface thread.
#pragma once

#include "numerics/extended.h"
#include "numerics/matrices.h"

namespace kestrova {

inline constexpr Extended J2000 = 2451545.0L;
// 1 January 2000, 0h: the date of the cache at start-up and of the satellites' ecliptic.
inline constexpr Extended JD2000Jan1 = 2451544.5L;
// 1 January 1950, 0h: the equinox of the satellite theories.
inline constexpr Extended JD1950Jan1 = 2433282.5L;

struct TObliquity {
  Extended JD;
  Extended Eps;  // radians
  Extended CosEps;
  Extended SinEps;
};

// The mean obliquity of the ecliptic of jd. Remembered in the cache until another date is
// asked for.
TObliquity MeanObliquity(Extended jd);
// Empties the obliquity and nutation caches, as at start-up (for tests of the caches).
void ResetFrameCaches();

// Rotations between the ecliptic and the equator of the obliquity eps. The TRectSph forms
// give longitude ArcTan2(y, x) and latitude ArcSin(z / r).
TRectSph EclipticToEquatorial(const TVector& v, const TObliquity& eps);
TRectSph EquatorialToEcliptic(const TVector& v, const TObliquity& eps);
TVector EclToEqu(const TVector& v, const TObliquity& eps);
TVector EquToEcl(const TVector& v, const TObliquity& eps);
TSpherical EquToEclSph(const TSpherical& s, const TObliquity& eps);

// Precesses an equatorial vector: direction 1 from the mean equator and equinox of jd to
// J2000.0, direction -1 from J2000.0 to jd; the identity for jd = J2000. The spherical form
// has Lat = pi/2 - ArcCos(z / r).
TRectSph PrecessVector(const TVector& v, int direction, Extended jd);
// The same without the spherical form, for callers that only need the vector.
TVector PrecessRect(const TVector& v, int direction, Extended jd);
// From the mean equator of jdFrom to that of jdTo.
TRectSph PrecessBetween(const TVector& v, Extended jdFrom, Extended jdTo);

}  // namespace kestrova
