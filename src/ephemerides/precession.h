// The reference frames: mean obliquity of the ecliptic (Laskar), the ecliptic-equatorial
// rotations and precession between the mean equator of a date and that of J2000.0.
//
// The obliquity cache is module-wide state: it holds the mean obliquity of the date last given
// to MeanObliquity (directly or through the operations below), and the rotations read it
// without computing anything. Every caller arranges its calls so the cache holds the date it
// needs; the operations document the date they leave behind.
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

// Fills the obliquity cache for jd; nothing happens when jd is the cached date.
void MeanObliquity(Extended jd);
// The cache as it stands.
const TObliquity& CurrentObliquity();
// Puts both frame caches (obliquity and nutation) back into their start-up state.
void ResetFrameCaches();

// Rotations with the cached obliquity. The TRectSph forms give longitude ArcTan2(y, x) and
// latitude ArcSin(z / r).
TRectSph EclipticToEquatorial(const TVector& v);
TRectSph EquatorialToEcliptic(const TVector& v);
TVector EclToEqu(const TVector& v);
TVector EquToEcl(const TVector& v);
TSpherical EquToEclSph(const TSpherical& s);

// Precesses an equatorial vector: direction 1 from the mean equator and equinox of jd to
// J2000.0, direction -1 from J2000.0 to jd; the identity for jd = J2000. Leaves the obliquity
// of J2000.0 (direction 1) or of jd (direction -1) in the cache, and the cache untouched for
// jd = J2000. The spherical form has Lat = pi/2 - ArcCos(z / r).
TRectSph PrecessVector(const TVector& v, int direction, Extended jd);
// The same without the spherical form, for callers that only need the vector.
TVector PrecessRect(const TVector& v, int direction, Extended jd);
// From the mean equator of jdFrom to that of jdTo; leaves the obliquity of jdTo in the cache.
TRectSph PrecessBetween(const TVector& v, Extended jdFrom, Extended jdTo);

}  // namespace kestrova
