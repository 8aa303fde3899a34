// The steps the satellite theories share, written once for both precisions: Extended for the
// positions, double for the orbit rings. Included by the theories only.
#pragma once

#include <cmath>
#include <cstdint>
#include <type_traits>

#include "ephemerides/kepler_orbits.h"
#include "numerics/extended.h"
#include "numerics/precision.h"

namespace kestrova {

// The element record of a theory in each precision.
template <class Real>
using TElementsOf =
    std::conditional_t<std::is_same_v<Real, Extended>, TOrbitalElements, TOrbitalElementsD>;

template <class Real>
struct TPlaneElementsOf {
  Real Node;
  Real Inclination;
  Real PericentreLongitude;
  Real MeanLongitude;
};

// ChangeElementPlane (satellites.h) in either precision.
template <class Real>
TPlaneElementsOf<Real> ChangeElementPlaneOf(Real n, Real j, Real node, Real gamma, Real pericentre,
                                            Real meanLongitude) {
  using M = TMath<Real>;
  const Real f = M::DegToRad(node - n);
  const Real sf = M::Sin(f), cf = M::Cos(f);
  const Real sj = M::Sin(M::DegToRad(j)), cj = M::Cos(M::DegToRad(j));
  const Real sg = M::Sin(M::DegToRad(gamma)), cg = M::Cos(M::DegToRad(gamma));

  // M: along the reference plane from n to the orbit's node there; U: along the orbit from
  // that node to its node on the equator.
  const Real y = sf * sg;
  const Real x = cf * cj * sg + sj * cg;
  const Real m = M::ArcTan2(y, x);
  const Real u = M::ArcTan2(sf * sj, cf * sj * cg + cj * sg);

  TPlaneElementsOf<Real> out;
  if (y == 0) {
    // The two nodes on one line, or the orbit in the equator: the sine rule is 0 / 0 and the
    // inclinations simply add or subtract.
    out.Inclination = cf > 0 ? j + gamma : std::fabs(j - gamma);
  } else {
    // sin F sin gamma / sin M is the length of (x, y). Taken directly it keeps its digits
    // where M nears 180 degrees, there sin M is tiny and carries the rounding of pi.
    out.Inclination = M::RadToDeg(M::ArcSin(std::hypot(x, y)));
  }
  out.Node = n + M::RadToDeg(m);
  // The argument of pericentre and the mean anomaly are the same in both planes.
  out.PericentreLongitude = n + M::RadToDeg(m) + M::RadToDeg(u) + (pericentre - node);
  out.MeanLongitude = out.PericentreLongitude + (meanLongitude - pericentre);
  return out;
}

// AddComplexTerm (satellites.h) in either precision.
template <class Real>
void AddComplexTermOf(int32_t sign, Real& re, Real& im, Real amplitude, Real phase) {
  re += sign * amplitude * TMath<Real>::Cos(phase);
  im += sign * amplitude * TMath<Real>::Sin(phase);
}

}  // namespace kestrova
