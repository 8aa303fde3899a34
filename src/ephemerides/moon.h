// The Moon: the analytical lunar theory adjusted to DE404, and the Moon's mean orbit.
#pragma once

#include "numerics/extended.h"
#include "numerics/matrices.h"

namespace kestrova {

// Geocentric position of the Moon at jd in AU, and its spherical form (longitude
// ArcTan2(y, x), latitude ArcSin(z / r), radius r). The theory gives the mean equator and
// equinox of jd; toJ2000 precesses to J2000.0, nutation applies the nutation of jd, and
// without `equatorial` the result is turned to the ecliptic with the mean obliquity of J2000.0
// when it was only precessed, else with that of jd.
TRectSph MoonPosition(Extended jd, bool nutation, bool toJ2000, bool equatorial);

// The geocentric position on the mean ecliptic and equinox of jd (no nutation), evaluated in
// double precision for what is only drawn.
TVectorD MoonEclipticOfDateD(Extended jd);

// Mean elements of the lunar orbit.
struct TMoonMeanOrbit {
  Extended Node;           // longitude of the ascending node, radians 0..2pi
  Extended Perigee;        // longitude of perigee, radians 0..2pi
  Extended MeanLongitude;  // radians 0..2pi
  Extended SemiMajorAxis;  // 0.00257 AU
  Extended Eccentricity;   // 0.0549
  Extended Inclination;    // 5.145396 degrees, in radians
};
TMoonMeanOrbit MoonMeanOrbit(Extended jd);

}  // namespace kestrova
