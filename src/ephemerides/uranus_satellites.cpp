// Positions of Miranda, Ariel, Umbriel, Titania and Oberon from the abridged GUST86 theory:
// elements on Uranus's equator, carried to the Earth's mean equator of 1950, Kepler's equation,
// then precession to 2000 and the turn onto the ecliptic.
#include <cmath>

#include "ephemerides/precession.h"
#include "ephemerides/satellite_tables.h"
#include "ephemerides/satellites.h"
#include "numerics/mathematics.h"

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

}  // namespace

TOrbitalElements UranusMoonEquatorElements(int32_t id, Extended jd) {
  if (id < 170 || id > 174) return {};
  const TUranusMoonTheory& th = kUranusMoonTheories[id - 170];
  const Extended t = jd - kEpoch;

  Extended lambda = th.lambda0 + th.lambdaRate * t;
  for (const TSineTerm& term : th.lambdaTerms)
    lambda += term.amplitude * Sin(term.phase0 + term.rate * t);

  Extended k = 0, h = 0;
  for (const TComplexTerm& term : th.kh)
    AddComplexTerm(term.sign, k, h, term.amplitude, term.phase0 + term.rate * t);
  Extended q = 0, p = 0;
  for (const TComplexTerm& term : th.qp)
    AddComplexTerm(term.sign, q, p, term.amplitude, term.phase0 + term.rate * t);

  TOrbitalElements el;
  el.Epoch = jd;
  el.MeanLongitude = RadToDeg(lambda);
  el.Eccentricity = std::sqrt(k * k + h * h);
  el.PerihelionLongitude = RadToDeg(ArcTan2(h, k));
  // The node and inclination go on in degrees like every other angle of the record.
  el.Node = RadToDeg(ArcTan2(p, q));
  el.Inclination = RadToDeg(ArcSin(2 * std::sqrt(q * q + p * p)));
  el.SemiMajorAxis = SemiMajorAxis(th);
  el.DailyMotion = RadToDeg(th.motion);
  return el;
}

TOrbitalElements UranusMoonElements(int32_t id, Extended jd) {
  if (id < 170 || id > 174) return {};
  TOrbitalElements el = UranusMoonEquatorElements(id, jd);
  const Extended n = kEquatorNode;
  const TPlaneElements p = ChangeElementPlane(n, kEquatorInclination, n + el.Node, el.Inclination,
                                              n + el.PerihelionLongitude, n + el.MeanLongitude);
  el.Node = p.Node;
  el.Inclination = p.Inclination;
  el.PerihelionLongitude = p.PericentreLongitude;
  el.MeanLongitude = p.MeanLongitude;
  return el;
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
