#include "ephemerides/nutation.h"

#include <cmath>

#include "ephemerides/nutation_table.h"
#include "ephemerides/precession.h"
#include "numerics/mathematics.h"
#include "numerics/precision.h"

namespace kestrova {

namespace {

TNutation g_nutation{-1, 0, 0};

// Sines and cosines of the multiples 1..N of one angle, the higher ones by the addition
// formulas.
template <int N>
struct Multiples {
  Extended s[N + 1];
  Extended c[N + 1];
  explicit Multiples(Extended a) {
    s[0] = 0;
    c[0] = 1;
    s[1] = Sin(a);
    c[1] = Cos(a);
    FillAngleMultiples(s + 1, c + 1, N);
  }
  // sin and cos of m times the angle, for m in -N..N.
  void Of(int m, Extended& sm, Extended& cm) const {
    if (m >= 0) {
      sm = s[m];
      cm = c[m];
    } else {
      sm = -s[-m];
      cm = c[-m];
    }
  }
};

// Adds the angle with sine s2 and cosine c2 to the one held in (s, c).
void AddAngle(Extended& s, Extended& c, Extended s2, Extended c2) {
  const Extended sn = s * c2 + c * s2;
  c = c * c2 - s * s2;
  s = sn;
}

}  // namespace

TNutation NutationAngles(Extended jd) {
  if (jd == g_nutation.JD) return g_nutation;
  const Extended t = (jd - J2000) / 36525;
  const Extended t10 = t / 10;
  const Extended t2 = t * t;

  const Extended l =
      (ReduceArcsec(1717915922.633L * t + 485866.733L) + (0.064L * t + 31.310L) * t2) * ASR;
  const Extended lp =
      (ReduceArcsec(129596581.224L * t + 1287099.804L) - (0.012L * t + 0.577L) * t2) * ASR;
  const Extended f =
      (ReduceArcsec(1739527263.137L * t + 335778.877L) + (0.011L * t - 13.257L) * t2) * ASR;
  const Extended d =
      (ReduceArcsec(1602961601.328L * t + 1072261.307L) + (0.019L * t - 6.891L) * t2) * ASR;
  const Extended om =
      (ReduceArcsec(-6962890.539L * t + 450160.280L) + (0.008L * t + 7.455L) * t2) * ASR;

  const Multiples<3> ml(l);
  const Multiples<2> mlp(lp);
  const Multiples<4> mf(f);
  const Multiples<4> md(d);
  const Multiples<2> mom(om);

  Extended cpsi = 0;
  Extended ceps = 0;
  for (const TNutationTerm& term : kNutationTerms) {
    Extended s = 0;
    Extended c = 1;
    Extended sm;
    Extended cm;
    ml.Of(term.l, sm, cm);
    AddAngle(s, c, sm, cm);
    mlp.Of(term.lp, sm, cm);
    AddAngle(s, c, sm, cm);
    mf.Of(term.F, sm, cm);
    AddAngle(s, c, sm, cm);
    md.Of(term.D, sm, cm);
    AddAngle(s, c, sm, cm);
    mom.Of(term.Om, sm, cm);
    AddAngle(s, c, sm, cm);
    cpsi += (term.A + term.A1 * t10) * s;
    ceps += (term.B + term.B1 * t10) * c;
  }
  cpsi += (-171996 - 1742 * t10) * mom.s[1];
  ceps += (92025 + 89 * t10) * mom.c[1];

  g_nutation = {jd, cpsi * 0.0001L * ASR, ceps * 0.0001L * ASR};
  return g_nutation;
}

void ResetNutationCache() {
  g_nutation = {-1, 0, 0};
}

TVector ApplyNutation(const TVector& v, Extended jd) {
  const TNutation nutation = NutationAngles(jd);
  const TObliquity eps = MeanObliquity(jd);
  const Extended e = eps.Eps;
  const Extended cose = eps.CosEps;
  const Extended sine = eps.SinEps;
  const Extended deps = nutation.DEps;
  const Extended dpsi = nutation.DPsi;
  const Extended f = e + deps;
  const Extended ce = Cos(f);
  const Extended se = Sin(f);
  const Extended so = Sin(deps);
  const Extended cl = Cos(dpsi);
  const Extended sl = Sin(dpsi);
  return {cl * v.x - sl * cose * v.y - sl * sine * v.z,
          sl * ce * v.x + (cl * cose * ce + sine * se) * v.y - (so + (1 - cl) * sine * ce) * v.z,
          sl * se * v.x + (so + (cl - 1) * se * cose) * v.y + (cl * sine * se + cose * ce) * v.z};
}

}  // namespace kestrova
