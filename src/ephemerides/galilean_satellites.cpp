// Positions of Io, Europa, Ganymede and Callisto from the abridged Lieske theory: series in
// the plane of Jupiter's equator, a fixed turn onto the ecliptic of 1950, precession to 2000.
#include <cmath>

#include "ephemerides/precession.h"
#include "ephemerides/satellite_tables.h"
#include "ephemerides/satellites.h"
#include "numerics/mathematics.h"
#include "numerics/precision.h"

namespace kestrova {

namespace {

constexpr Extended kEpoch = 2443000.5L;  // 1976 August 10.0

// Inclination of Jupiter's equator on its orbit (I), of the orbit on the ecliptic of 1950 (J)
// and the node of the orbit (Omega), degrees.
constexpr Extended kEquatorOnOrbit = 3.10401L;
constexpr Extended kOrbitOnEcliptic = 1.30691L;
constexpr Extended kOrbitNode = 99.99754L;

Extended MeanArg(int arg, Extended t) {
  return kGalileanMeanArgs[arg].c0 + kGalileanMeanArgs[arg].c1 * t;
}

// sum(mult * arg) + phase, degrees.
template <class Real>
Real Argument(const TGalileanTerm& term, const Real (&arg)[kGalileanArgCount]) {
  Real x = term.phase;
  for (const TArgMult& a : term.args) {
    if (a.mult == 0) break;
    x += a.mult * arg[a.arg];
  }
  return x;
}

// The position in the plane of Jupiter's equator, in either precision.
template <class Real>
void EquatorPosition(int32_t id, Extended jd, Real (&v)[3]) {
  using M = TMath<Real>;
  const TGalileanTheory& th = kGalileanTheories[id - 140];
  const Extended t = jd - kEpoch;
  Real arg[kGalileanArgCount];
  for (int k = 0; k < kGalileanArgCount; ++k) arg[k] = static_cast<Real>(MeanArg(k, t));

  Real xi = 0;
  for (const TGalileanTerm& term : th.radius)
    xi += term.amplitude * M::Cos(M::DegToRad(Argument(term, arg)));
  xi *= Real(1e-7L);

  Real upsilon = 0;
  for (const TGalileanTerm& term : th.longitude)
    upsilon += term.amplitude * M::Sin(M::DegToRad(Argument(term, arg)));
  upsilon *= Real(1e-7L);
  const Real upsilonDeg = M::RadToDeg(upsilon);

  // The latitude arguments are counted from the perturbed longitude.
  Real zeta = 0;
  for (const TGalileanTerm& term : th.latitude)
    zeta += term.amplitude * M::Sin(M::DegToRad(Argument(term, arg) + upsilonDeg));
  zeta *= Real(1e-7L);

  const Real lambda = M::DegToRad(arg[th.meanLongitude] - arg[kPsi] + upsilonDeg);
  const Real a = static_cast<Real>(th.semiMajorAxis);
  const Real r = a * (1 + xi);
  v[0] = r * M::Cos(lambda);
  v[1] = r * M::Sin(lambda);
  v[2] = a * zeta;
}

}  // namespace

TVector JupiterMoonEquatorPosition(int32_t id, Extended jd) {
  if (id < 140 || id > 143) return {};
  Extended v[3];
  EquatorPosition(id, jd, v);
  return {v[0], v[1], v[2]};
}

TVectorD JupiterMoonEquatorPositionD(int32_t id, Extended jd) {
  if (id < 140 || id > 143) return {};
  double v[3];
  EquatorPosition(id, jd, v);
  return {v[0], v[1], v[2]};
}

TVector JupiterEquatorToEcliptic1950(const TVector& v, Extended jd) {
  const Extended psi = MeanArg(kPsi, jd - kEpoch);
  TVector w = v;
  RotateAboutAxis(0, w, DegToRad(kEquatorOnOrbit));
  RotateAboutAxis(2, w, DegToRad(psi - kOrbitNode));
  RotateAboutAxis(0, w, DegToRad(kOrbitOnEcliptic));
  RotateAboutAxis(2, w, DegToRad(kOrbitNode));
  return w;
}

void JupiterMoonPosition(int32_t id, Extended jd, const TObliquity& eps1950, TVector& v) {
  if (id < 140 || id > 143) {
    v = {};
    return;
  }
  const TVector ecl1950 = JupiterEquatorToEcliptic1950(JupiterMoonEquatorPosition(id, jd), jd);
  v = Equator1950ToEcliptic2000(EclToEqu(ecl1950, eps1950));
}

}  // namespace kestrova
