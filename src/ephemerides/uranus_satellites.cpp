// Positions of Miranda, Ariel, Umbriel, Titania and Oberon from the abridged GUST86 theory:
// elements on Uranus's equator, carried to the Earth's mean equator of 1950, Kepler's equation,
// then precession to 2000 and the turn onto the ecliptic.
#include <cmath>

#include "ephemerides/precession.h"
#include "ephemerides/satellite_math.h"
#include "ephemerides/satellite_tables.h"
#include "ephemerides/satellites.h"
#include "numerics/mathematics.h"
#include "numerics/precision.h"

namespace kestrova {

namespace {

constexpr Extended kEpoch = 2444239.5L;  // 1980 January 1.0

// Uranus's equator on the Earth's mean equator of 1950: ascending node and inclination, degrees.
constexpr Extended kEquatorNode = 167.43L;
constexpr Extended kEquatorInclination = 74.9L;

// Kepler's third law with the satellite's mass: a in AU from the sidereal period in days.
Extended SemiMajorAxis(const TUranusMoonTheory& th) {
  constexpr Extended kFourPiSquared = 39.478417604357434478L;
  constexpr Extended kUranusMass = 8.698e25L;  // kg
  constexpr Extended kGravitation = 6.6722e-11L;
  constexpr Extended kMetresPerAU = 149597870000.0L;
  const Extended b = kFourPiSquared / (kUranusMass * kGravitation);
  const Extended seconds = th.period * 86400;
  return Power(seconds * seconds * (1 + th.massRatio) / b, 1.0L / 3) / kMetresPerAU;
}

// The elements on Uranus's equator (onEquator) or on the Earth's mean equator of 1950, in
// either precision.
template <class Real>
TElementsOf<Real> Elements(int32_t id, Extended jd, bool onEquator) {
  using M = TMath<Real>;
  const TUranusMoonTheory& th = kUranusMoonTheories[id - 170];
  const Extended t = jd - kEpoch;

  Real lambda = static_cast<Real>(th.lambda0 + th.lambdaRate * t);
  for (const TSineTerm& term : th.lambdaTerms)
    lambda += term.amplitude * M::Sin(static_cast<Real>(term.phase0 + term.rate * t));

  Real k = 0, h = 0;
  for (const TComplexTerm& term : th.kh)
    AddComplexTermOf<Real>(term.sign, k, h, static_cast<Real>(term.amplitude),
                           static_cast<Real>(term.phase0 + term.rate * t));
  Real q = 0, p = 0;
  for (const TComplexTerm& term : th.qp)
    AddComplexTermOf<Real>(term.sign, q, p, static_cast<Real>(term.amplitude),
                           static_cast<Real>(term.phase0 + term.rate * t));

  TElementsOf<Real> el;
  el.Epoch = static_cast<Real>(jd);
  el.MeanLongitude = M::RadToDeg(lambda);
  el.Eccentricity = std::sqrt(k * k + h * h);
  el.PerihelionLongitude = M::RadToDeg(M::ArcTan2(h, k));
  // The node and inclination go on in degrees like every other angle of the record.
  el.Node = M::RadToDeg(M::ArcTan2(p, q));
  el.Inclination = M::RadToDeg(M::ArcSin(2 * std::sqrt(q * q + p * p)));
  el.SemiMajorAxis = static_cast<Real>(SemiMajorAxis(th));
  el.DailyMotion = M::RadToDeg(static_cast<Real>(th.motion));
  if (onEquator) return el;

  const Real n = kEquatorNode;
  const TPlaneElementsOf<Real> c =
      ChangeElementPlaneOf<Real>(n, kEquatorInclination, n + el.Node, el.Inclination,
                                 n + el.PerihelionLongitude, n + el.MeanLongitude);
  el.Node = c.Node;
  el.Inclination = c.Inclination;
  el.PerihelionLongitude = c.PericentreLongitude;
  el.MeanLongitude = c.MeanLongitude;
  return el;
}

}  // namespace

TOrbitalElements UranusMoonEquatorElements(int32_t id, Extended jd) {
  if (id < 170 || id > 174) return {};
  return Elements<Extended>(id, jd, true);
}

TOrbitalElements UranusMoonElements(int32_t id, Extended jd) {
  if (id < 170 || id > 174) return {};
  return Elements<Extended>(id, jd, false);
}

TOrbitalElementsD UranusMoonElementsD(int32_t id, Extended jd) {
  if (id < 170 || id > 174) return {};
  return Elements<double>(id, jd, false);
}

void UranusMoonPosition(int32_t id, Extended jd, TVector& v) {
  if (id < 170 || id > 174) {
    v = {};
    return;
  }
  // Already on the Earth's equator of 1950, so no turn from the ecliptic comes first.
  v = Equator1950ToEcliptic2000(KeplerPosition(UranusMoonElements(id, jd), jd));
}

}  // namespace kestrova
