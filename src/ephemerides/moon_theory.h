// One evaluation of the lunar theory adjusted to DE404, before any change of frame, with the
// sums it is assembled from (so a wrong table or a wrong stage can be told apart).
#pragma once

#include "ephemerides/moon_tables.h"
#include "numerics/extended.h"

namespace kestrova {

// In the precision of the evaluation: Extended for positions, double for the orbit ring.
template <class Real>
struct TMoonTheoryOf {
  // Mean arguments, seconds of arc: the linear part reduced keeping its sign, then the higher
  // powers added without reducing again (indexed by TMoonArgument).
  Real MeanArgs[kMoonArgumentCount];
  Real EL;  // explicit longitude terms, arcsec
  Real EB;  // explicit latitude terms, arcsec
  // Coefficients of T, T^2, T^3 in the longitude, 0.00001", including the first- and
  // second-order longitude series.
  Real K1, K2, K3;
  // Latitude and distance sums of the time-dependent series and terms, already multiplied by
  // their powers of T, in 0.0001" and 0.0001 km.
  Real SBT, SRT;
  // Sums of the main series alone: longitude, latitude (0.0001") and distance (0.0001 km).
  Real SLMain, SBMain, SRMain;
  // Longitude (not reduced) and latitude in arcsec, distance in km.
  Real LonArcsec, LatArcsec, RKm;
  // Longitude reduced modulo a turn keeping its sign (so -2pi..0 when LonArcsec is negative)
  // and latitude, radians, referred to the mean ecliptic and equinox of jd; distance in AU.
  Real Lon, Lat, R;
};

using TMoonTheory = TMoonTheoryOf<Extended>;

// The theory at jd, used as given (no time-scale correction). Reads no module state; the
// result depends on jd alone.
TMoonTheory MoonTheory(Extended jd);

}  // namespace kestrova
