#include "ephemerides/precession.h"

#include <cmath>

#include "ephemerides/nutation.h"
#include "numerics/mathematics.h"

namespace kestrova {

namespace {

Extended ObliquityArcsec(Extended jd) {
  static constexpr Extended kCoef[11] = {
      84381.448L,   -468.093L,    -0.0155L,      1.99925L,       -0.005138L,     -0.0024967L,
      -0.00003905L, 0.000000712L, 0.0000002787L, 0.00000000579L, 0.000000000245L};
  const Extended u = (jd - J2000) / 365250;
  Extended e = 0;
  for (int k = 10; k >= 0; --k) e = e * u + kCoef[k];
  return e;
}

TObliquity MakeObliquity(Extended jd) {
  const Extended e = ObliquityArcsec(jd) * ASR;
  return {jd, e, Cos(e), Sin(e)};
}

// The obliquity cache: the last date asked for, filled at start-up for 1 January 2000, 0h.
TObliquity g_obliquity = MakeObliquity(JD2000Jan1);

// Horner evaluation, coefficients from the highest power down.
template <size_t N>
Extended Horner(const Extended (&c)[N], Extended t) {
  Extended r = 0;
  for (size_t k = 0; k < N; ++k) r = r * t + c[k];
  return r;
}

// Rotation of the point's coordinates by angle a about z, as the precession chain uses it.
TVector TurnZ(const TVector& v, Extended a) {
  const Extended c = Cos(a);
  const Extended s = Sin(a);
  return {c * v.x + s * v.y, -s * v.x + c * v.y, v.z};
}

TRectSph WithSpherical(const TVector& v) {
  const Extended r = VecLength(v);
  return {v, {ArcTan2(v.y, v.x), ArcSin(v.z / r), r}};
}

}  // namespace

TObliquity MeanObliquity(Extended jd) {
  if (jd == g_obliquity.JD) return g_obliquity;
  // Precession switches between J2000.0 and the date at every call, and the satellite theories
  // between their epoch (1 January 2000, 0h) and the date: keep those two at hand.
  static const TObliquity kAtJ2000 = MakeObliquity(J2000);
  static const TObliquity kAt2000Jan1 = MakeObliquity(JD2000Jan1);
  if (jd == J2000) {
    g_obliquity = kAtJ2000;
  } else if (jd == JD2000Jan1) {
    g_obliquity = kAt2000Jan1;
  } else {
    g_obliquity = MakeObliquity(jd);
  }
  return g_obliquity;
}

void ResetFrameCaches() {
  g_obliquity = MakeObliquity(JD2000Jan1);
  ResetNutationCache();
}

TVector EclToEqu(const TVector& v, const TObliquity& eps) {
  const Extended c = eps.CosEps;
  const Extended s = eps.SinEps;
  return {v.x, c * v.y - s * v.z, s * v.y + c * v.z};
}

TVector EquToEcl(const TVector& v, const TObliquity& eps) {
  const Extended c = eps.CosEps;
  const Extended s = eps.SinEps;
  return {v.x, c * v.y + s * v.z, -s * v.y + c * v.z};
}

TRectSph EclipticToEquatorial(const TVector& v, const TObliquity& eps) {
  return WithSpherical(EclToEqu(v, eps));
}

TRectSph EquatorialToEcliptic(const TVector& v, const TObliquity& eps) {
  return WithSpherical(EquToEcl(v, eps));
}

TSpherical EquToEclSph(const TSpherical& s, const TObliquity& eps) {
  return EquatorialToEcliptic(SphToRect(s), eps).Sph;
}

TVector PrecessRect(const TVector& v, int direction, Extended jd) {
  if (jd == J2000) return v;

  static constexpr Extended kPA[10] = {-8.66e-10L,  -4.759e-08L, 2.424e-07L, 1.3095e-05L,
                                       0.00017451L, -0.0018055L, -0.235316L, 0.076L,
                                       110.5407L,   50287.7L};
  static constexpr Extended kW[11] = {6.6402e-16L,   -2.69151e-15L,   -1.547021e-12L, 7.521313e-12L,
                                      1.9e-10L,      -3.54e-09L,      -1.8103e-07L,   1.26e-07L,
                                      7.436169e-05L, -0.04207794833L, 3.052115282424L};
  static constexpr Extended kI[11] = {1.2147e-16L,
                                      7.3759e-17L,
                                      -8.26287e-14L,
                                      2.50341e-13L,
                                      2.4650839e-11L,
                                      -5.4000441e-11L,
                                      1.32115526e-09L,
                                      -6.012e-07L,
                                      -1.62442e-05L,
                                      0.00227850649L,
                                      0};

  const Extended t = (jd - J2000) / 36525 / 10;

  // From the starting equator to the ecliptic.
  TVector w = EquToEcl(v, MeanObliquity(direction == 1 ? jd : J2000));

  const Extended pA = ASR * t * Horner(kPA, t);
  const Extended node = Horner(kW, t);
  w = TurnZ(w, direction == 1 ? node + pA : node);

  Extended incl = Horner(kI, t);
  if (direction == 1) incl = -incl;
  const Extended ci = Cos(incl);
  const Extended si = Sin(incl);
  w = {w.x, ci * w.y + si * w.z, -si * w.y + ci * w.z};

  w = TurnZ(w, direction == 1 ? -node : -node - pA);

  // From the ecliptic to the final equator.
  return EclToEqu(w, MeanObliquity(direction == 1 ? J2000 : jd));
}

TRectSph PrecessVector(const TVector& v, int direction, Extended jd) {
  const TVector w = PrecessRect(v, direction, jd);
  return {w, RectToSph(w)};
}

TRectSph PrecessBetween(const TVector& v, Extended jdFrom, Extended jdTo) {
  const TVector w = PrecessRect(PrecessRect(v, 1, jdFrom), -1, jdTo);
  const Extended r = VecLength(w);
  return {w, {ArcTan2(w.y, w.x), Pi / 2 - ArcCos(w.z / r), r}};
}

}  // namespace kestrova
