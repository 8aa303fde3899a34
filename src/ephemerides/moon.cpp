// The Moon: S. L. Moshier's analytical lunar theory adjusted to DE404, brought into the frames
// of the system, and the mean elements of the lunar orbit.
#include "ephemerides/moon.h"

#include <cmath>

#include "ephemerides/moon_theory.h"
#include "ephemerides/nutation.h"
#include "ephemerides/precession.h"
#include "numerics/mathematics.h"
#include "numerics/precision.h"

namespace kestrova {

namespace {

constexpr Extended kMoonMeanDistanceKm = 385000.52899L;
constexpr Extended kKmPerAU = 149597870.66L;

// Sines and cosines of the multiples -29..29 of one mean argument, so that a series line or an
// explicit term costs multiplications only (a long double sine costs as much as a hundred of
// them). Multiple 0 is the angle 0, so that a zero multiplier adds nothing. The evaluation is
// written once for both precisions: Extended for positions, double for the orbit ring.
constexpr int kMaxMultiple = 29;
template <class Real>
struct TMultiples {
  Real s[2 * kMaxMultiple + 1];
  Real c[2 * kMaxMultiple + 1];
  Real Sin(int k) const { return s[kMaxMultiple + k]; }
  Real Cos(int k) const { return c[kMaxMultiple + k]; }
};

template <class Real>
void BuildMultiples(TMultiples<Real>& m, Extended arcsec, int highest) {
  Real* s = m.s + kMaxMultiple;
  Real* c = m.c + kMaxMultiple;
  const Real a = static_cast<Real>(arcsec * ASR);
  s[0] = 0;
  c[0] = 1;
  TMath<Real>::SinCos(a, s[1], c[1]);
  FillAngleMultiples(s + 1, c + 1, highest);
  for (int k = 1; k <= highest; ++k) {
    s[-k] = -s[k];
    c[-k] = c[k];
  }
}

template <class Real>
using TAllMultiples = TMultiples<Real>[kMoonArgumentCount];

// Adds the angle (s, c) to the one held in (S, C).
template <class Real>
inline void AddAngle(Real s, Real c, Real& S, Real& C) {
  const Real sn = s * C + c * S;
  C = c * C - s * S;
  S = sn;
}

// A series line's argument, in multiples of D, l', l and F. Adding a zero multiple is exact, so
// running through all four gives what skipping the zero multipliers would, without branches.
template <class Real>
inline void LineArgument(const TAllMultiples<Real>& tab, const int8_t (&m)[4], Real& S, Real& C) {
  S = tab[kD].Sin(m[0]);
  C = tab[kD].Cos(m[0]);
  for (int i = 1; i < 4; ++i) AddAngle(tab[kD + i].Sin(m[i]), tab[kD + i].Cos(m[i]), S, C);
}

// An explicit term's argument, in multiples of all ten mean arguments; most multipliers are zero.
template <class Real>
void TermArgument(const TAllMultiples<Real>& tab, const int8_t (&m)[kMoonArgumentCount], Real& S,
                  Real& C) {
  S = 0;
  C = 1;
  for (int i = 0; i < kMoonArgumentCount; ++i)
    if (m[i] != 0) AddAngle(tab[i].Sin(m[i]), tab[i].Cos(m[i]), S, C);
}

// Sines and cosines of the explicit terms' phases, computed once.
template <class Real, int N>
struct TPhases {
  Real s[N];
  Real c[N];
  explicit TPhases(const TMoonExplicitTerm (&terms)[N]) {
    for (int i = 0; i < N; ++i) {
      s[i] = static_cast<Real>(Sin(terms[i].Phase * ASR));
      c[i] = static_cast<Real>(Cos(terms[i].Phase * ASR));
    }
  }
};

template <class Real, int N>
const TPhases<Real, N>& PhasesOf(const TMoonExplicitTerm (&terms)[N]) {
  static const TPhases<Real, N> phases(terms);
  return phases;
}

// The working sums; every evaluation starts them at zero.
template <class Real>
struct TSums {
  Real SL = 0, SB = 0, SR = 0;
  Real EL = 0, EB = 0;
  Real K1 = 0, K2 = 0, K3 = 0;
};

template <class Real, int N>
void AddExplicit(const TMoonExplicitTerm (&terms)[N], const TAllMultiples<Real>& tab, Real t,
                 TSums<Real>& sums) {
  const TPhases<Real, N>& phases = PhasesOf<Real>(terms);
  Real s = 0;
  Real c = 1;
  for (int i = 0; i < N; ++i) {
    const TMoonExplicitTerm& term = terms[i];
    if (!term.SameArgument) {
      TermArgument(tab, term.M, s, c);
      if (term.Phase != 0) AddAngle(phases.s[i], phases.c[i], s, c);
    }
    const Real v = static_cast<Real>(term.CosAmp) * c + static_cast<Real>(term.SinAmp) * s;
    switch (term.Target) {
      case TMoonExplicitTerm::kLon:
        sums.EL += v;
        break;
      case TMoonExplicitTerm::kLat:
        sums.EB += v;
        break;
      case TMoonExplicitTerm::kLonT1:
        sums.K1 += v;
        break;
      case TMoonExplicitTerm::kLonT2:
        sums.K2 += v;
        break;
      case TMoonExplicitTerm::kLonT3:
        sums.K3 += v;
        break;
      case TMoonExplicitTerm::kLatT1:
        sums.SB += v;
        break;
      case TMoonExplicitTerm::kDistT2:
        sums.SR += v;
        break;
      // Multiplied by T once here; the distance sum gets T^2 later, with the T^2 terms.
      case TMoonExplicitTerm::kDistT3:
        sums.SR += v * t;
        break;
    }
  }
}

// The theory at jd: the mean arguments in Extended, the series in Real.
template <class Real>
TMoonTheoryOf<Real> Evaluate(Extended jd) {
  TMoonTheoryOf<Real> out{};
  const Extended tExt = (jd - J2000) / 36525;
  const Real t = static_cast<Real>(tExt);
  const Extended t2 = tExt * tExt;

  // Only the linear part, which reaches 1e11" over the range of dates, is reduced; the fitted
  // higher powers may carry an argument a little past a full turn, which the sines absorb.
  Extended args[kMoonArgumentCount];
  for (int i = 0; i < kMoonArgumentCount; ++i) {
    const TMoonMeanArgument& a = kMoonMeanArguments[i];
    Extended h = a.Higher[a.Count - 1];
    for (int k = a.Count - 2; k >= 0; --k) h = h * tExt + a.Higher[k];
    args[i] = ReduceArcsec(a.C0 + a.C1 * tExt) + t2 * h;
    out.MeanArgs[i] = static_cast<Real>(args[i]);
  }

  TAllMultiples<Real> tab;
  for (int i = 0; i < kMoonArgumentCount; ++i)
    BuildMultiples(tab[i], args[i], kMoonHighestMultiple[i]);

  TSums<Real> sums;
  Real S = 0;
  Real C = 0;

  // Terms in T^2. The explicit distance terms go in before the sum is scaled by T twice.
  for (const TMoonLine2& line : kMoonLrt2) {
    LineArgument(tab, line.M, S, C);
    sums.SL += line.A * S;
    sums.SR += line.B * C;
  }
  for (const TMoonLine1& line : kMoonBt2) {
    LineArgument(tab, line.M, S, C);
    sums.SB += line.A * S;
  }
  AddExplicit(kMoonExplicitA, tab, t, sums);
  sums.K2 += sums.SL;

  // Terms in T. The factor 0.1 T at the end also brings the 0.00001 units of these tables to
  // the 0.0001 units of the main series.
  sums.SB *= t;
  sums.SR *= t;
  sums.SL = 0;
  for (const TMoonLine1& line : kMoonBt) {
    LineArgument(tab, line.M, S, C);
    sums.SB += line.A * S;
  }
  for (const TMoonLine4& line : kMoonLrt) {
    LineArgument(tab, line.M, S, C);
    sums.SL += (10000 * line.LonHi + line.LonLo) * S;
    if (line.DistLo != 0) sums.SR += (10000 * line.DistHi + line.DistLo) * C;
  }
  AddExplicit(kMoonExplicitB, tab, t, sums);
  sums.K1 += sums.SL;
  sums.SB *= Real(0.1L) * t;
  sums.SR *= Real(0.1L) * t;

  // Constant explicit terms.
  AddExplicit(kMoonExplicitC, tab, t, sums);

  // Main series.
  Real slMain = 0;
  Real sbMain = 0;
  Real srMain = 0;
  for (const TMoonLine4& line : kMoonLr) {
    LineArgument(tab, line.M, S, C);
    slMain += (10000 * line.LonHi + line.LonLo) * S;
    if (line.DistLo != 0) srMain += (10000 * line.DistHi + line.DistLo) * C;
  }
  for (const TMoonLine2& line : kMoonMb) {
    LineArgument(tab, line.M, S, C);
    sbMain += (10000 * line.A + line.B) * S;
  }

  out.EL = sums.EL;
  out.EB = sums.EB;
  out.K1 = sums.K1;
  out.K2 = sums.K2;
  out.K3 = sums.K3;
  out.SBT = sums.SB;
  out.SRT = sums.SR;
  out.SLMain = slMain;
  out.SBMain = sbMain;
  out.SRMain = srMain;
  // The longitude is assembled in Extended, where the mean longitude keeps its digits.
  const Extended lonArcsec =
      args[kL] + Extended(sums.EL + Real(1e-5L) * t * (sums.K1 + t * (sums.K2 + t * sums.K3))) +
      Extended(Real(1e-4L) * slMain);
  out.LonArcsec = static_cast<Real>(lonArcsec);
  out.LatArcsec = Real(1e-4L) * (sums.SB + sbMain) + sums.EB;
  out.RKm = Real(1e-4L) * (sums.SR + srMain) + Real(kMoonMeanDistanceKm);
  out.Lon = static_cast<Real>(ReduceArcsec(lonArcsec) * ASR);
  out.Lat = out.LatArcsec * Real(ASR);
  out.R = out.RKm / Real(kKmPerAU);
  return out;
}

}  // namespace

TMoonTheory MoonTheory(Extended jd) {
  return Evaluate<Extended>(jd);
}

TVectorD MoonEclipticOfDateD(Extended jd) {
  const TMoonTheoryOf<double> m = Evaluate<double>(jd);
  const double cb = std::cos(m.Lat);
  return {m.R * cb * std::cos(m.Lon), m.R * cb * std::sin(m.Lon), m.R * std::sin(m.Lat)};
}

TRectSph MoonPosition(Extended jd, bool nutation, bool toJ2000, bool equatorial) {
  const TObliquity eps = MeanObliquity(jd);
  const TMoonTheory m = MoonTheory(jd);

  // Mean ecliptic of jd to mean equator of jd.
  const Extended ce = eps.CosEps;
  const Extended se = eps.SinEps;
  const Extended cb = Cos(m.Lat);
  const Extended sb = Sin(m.Lat);
  const Extended cl = Cos(m.Lon);
  const Extended sl = Sin(m.Lon);
  TVector v{m.R * cb * cl, m.R * (cb * sl * ce - sb * se), m.R * (cb * sl * se + sb * ce)};

  if (toJ2000) v = PrecessRect(v, 1, jd);
  if (nutation) v = ApplyNutation(v, jd);
  // Back to the ecliptic of jd, or of J2000.0 when the vector was only precessed there. (With
  // nutation as well, the true equator of jd is turned with the mean obliquity of jd.)
  if (!equatorial) v = EquToEcl(v, toJ2000 && !nutation ? MeanObliquity(J2000) : eps);

  const Extended r = VecLength(v);
  return {v, {ArcTan2(v.y, v.x), ArcSin(v.z / r), r}};
}

TMoonMeanOrbit MoonMeanOrbit(Extended jd) {
  const Extended t = (jd - J2000) / 36525;
  const Extended t2 = t * t;
  const Extended t3 = t2 * t;
  const Extended t4 = t3 * t;
  const Extended node =
      125.0445479L - 1934.1362891L * t + 0.0020754L * t2 + t3 / 467441 - t4 / 60616000;
  const Extended perigee =
      83.3532465L + 4069.0137287L * t - 0.01032L * t2 - t3 / 80053 + t4 / 18999000;
  const Extended meanLongitude =
      218.3164477L + 481267.88123421L * t - 0.0015786L * t2 + t3 / 538841 - t4 / 65194000;
  return {Norm2Pi(DegToRad(node)),
          Norm2Pi(DegToRad(perigee)),
          Norm2Pi(DegToRad(meanLongitude)),
          0.00257L,
          0.0549L,
          DegToRad(5.145396L)};
}

}  // namespace kestrova
