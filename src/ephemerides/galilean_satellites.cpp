// Positions of Io, Europa, Ganymede and Callisto from the abridged Lieske theory: series in
// the plane of Jupiter's equator, a fixed turn onto the ecliptic of 1950, precession to 2000.
#include <cmath>

#include "ephemerides/precession.h"
#include "ephemerides/satellite_tables.h"
#include "ephemerides/satellites.h"
#include "numerics/mathematics.h"

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
Extended Argument(const TGalileanTerm& term, const Extended (&arg)[kGalileanArgCount]) {
  Extended x = term.phase;
  for (const TArgMult& a : term.args) {
    if (a.mult == 0) break;
    x += a.mult * arg[a.arg];
  }
  return x;
}

}  // namespace

TVector JupiterMoonEquatorPosition(int32_t id, Extended jd) {
  if (id < 140 || id > 143) return {};
  const TGalileanTheory& th = kGalileanTheories[id - 140];
  const Extended t = jd - kEpoch;
  Extended arg[kGalileanArgCount];
  for (int k = 0; k < kGalileanArgCount; ++k) arg[k] = MeanArg(k, t);

  Extended xi = 0;
  for (const TGalileanTerm& term : th.radius)
    xi += term.amplitude * Cos(DegToRad(Argument(term, arg)));
  xi *= 1e-7L;

  Extended upsilon = 0;
  for (const TGalileanTerm& term : th.longitude)
    upsilon += term.amplitude * Sin(DegToRad(Argument(term, arg)));
  upsilon *= 1e-7L;
  const Extended upsilonDeg = RadToDeg(upsilon);

  // The latitude arguments are counted from the perturbed longitude.
  Extended zeta = 0;
  for (const TGalileanTerm& term : th.latitude)
    zeta += term.amplitude * Sin(DegToRad(Argument(term, arg) + upsilonDeg));
  zeta *= 1e-7L;

  const Extended lambda = DegToRad(arg[th.meanLongitude] - arg[kPsi] + upsilonDeg);
  const Extended a = th.semiMajorAxis;
  const Extended r = a * (1 + xi);
  return {r * Cos(lambda), r * Sin(lambda), a * zeta};
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
