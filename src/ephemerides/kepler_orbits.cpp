#include "ephemerides/kepler_orbits.h"

#include <cmath>
#include <numbers>

#include "ephemerides/apsis_passages_table.h"
#include "ephemerides/mean_elements_table.h"
#include "ephemerides/precession.h"
#include "numerics/julian_dates.h"
#include "numerics/mathematics.h"
#include "numerics/precision.h"

namespace kestrova {

namespace {

// Gaussian gravitational constant in degrees per day.
constexpr Extended kGaussDegPerDay = 0.9856076686L;

// The anomalies of an orbit at jd, shared by position and velocity.
struct TAnomalies {
  Extended i, node, peri, n, e, a;
  Extended E;  // eccentric anomaly
  Extended v;  // true anomaly
};

TAnomalies Anomalies(const TOrbitalElements& el, Extended jd) {
  TAnomalies an;
  an.i = DegToRad(el.Inclination);
  an.node = DegToRad(el.Node);
  an.peri = DegToRad(el.PerihelionLongitude);
  an.n = DegToRad(el.DailyMotion);
  an.e = el.Eccentricity;
  an.a = el.SemiMajorAxis;
  const Extended meanLon = DegToRad(el.MeanLongitude);
  const Extended m = meanLon + an.n * (jd - el.Epoch) - an.peri;
  const Extended E = EccentricAnomaly(m, an.e);
  an.E = E;
  an.v = 2 * ArcTan2(Tan(E / 2) * std::sqrt((1 + an.e) / (1 - an.e)), 1);
  return an;
}

struct TPassageRow {
  Extended refYear, rate, c0, c1, c2;
};

// Meeus's planets in perihelion and aphelion, Earth..Saturn.
constexpr TPassageRow kPassage[6] = {
    {2000.01L, 0.99997L, 2451547.507L, 365.2596358L, 0.0000000156L},
    {2000.12L, 4.15201L, 2451590.257L, 87.96934963L, 0},
    {2000.53L, 1.62549L, 2451738.233L, 224.7008188L, -0.0000000327L},
    {2001.78L, 0.53166L, 2452195.026L, 686.9957857L, -0.0000001187L},
    {2011.2L, 0.0843L, 2455636.936L, 4332.897065L, 0.0001367L},
    {2003.52L, 0.03393L, 2452830.12L, 10764.21676L, 0.000827L},
};

Extended PassageJD(int32_t planet, Extended k) {
  const TPassageRow& row = kPassage[planet];
  return row.c0 + row.c1 * k + row.c2 * k * k;
}

// The Moon shifts the Earth's passage dates; the perihelion and aphelion terms differ.
Extended EarthLunarCorrection(Extended k, bool perihelion) {
  const Extended a1 = DegToRad(328.41L + 132.788585L * k);
  const Extended a2 = DegToRad(316.13L + 584.903153L * k);
  const Extended a3 = DegToRad(346.20L + 450.380738L * k);
  const Extended a4 = DegToRad(136.95L + 659.306737L * k);
  const Extended a5 = DegToRad(249.52L + 329.653368L * k);
  if (perihelion) {
    return 1.278L * Sin(a1) - 0.055L * Sin(a2) - 0.091L * Sin(a3) - 0.056L * Sin(a4) -
           0.045L * Sin(a5);
  }
  return -1.352L * Sin(a1) + 0.061L * Sin(a2) + 0.062L * Sin(a3) + 0.029L * Sin(a4) +
         0.031L * Sin(a5);
}

template <size_t N>
Extended NextInTable(const int32_t (&table)[N], Extended jd) {
  for (int32_t entry : table) {
    if (entry > jd) return entry;
  }
  return -1;
}

Extended PassageCount(int32_t planet, Extended jd) {
  const TPassageRow& row = kPassage[planet];
  return row.rate * (JDToYear(jd) - row.refYear);
}

// x - sin x and 1 - cos x, also where x is small and the differences cancel (there the series
// are summed until a term no longer counts).
template <class Real>
Real XMinusSin(Real x, Real sinX) {
  if (!(std::fabs(x) < Real(0.5))) return x - sinX;
  const Real x2 = x * x;
  Real term = x * x2 / 6;
  Real sum = term;
  for (int k = 4; k < 40; k += 2) {
    term *= -x2 / Real(k * (k + 1));
    const Real next = sum + term;
    if (next == sum) break;
    sum = next;
  }
  return sum;
}

template <class Real>
Real OneMinusCos(Real x, Real cosX) {
  if (!(std::fabs(x) < Real(0.5))) return 1 - cosX;
  const Real x2 = x * x;
  Real term = x2 / 2;
  Real sum = term;
  for (int k = 3; k < 40; k += 2) {
    term *= -x2 / Real(k * (k + 1));
    const Real next = sum + term;
    if (next == sum) break;
    sum = next;
  }
  return sum;
}

inline void SinCosOf(Extended x, Extended& s, Extended& c) {
  SinCos(x, s, c);
}
inline void SinCosOf(double x, double& s, double& c) {
  s = std::sin(x);
  c = std::cos(x);
}

// m less the nearest whole number of turns, in -pi..pi; 2 pi in three parts, as Sin reduces.
Extended ReduceTurns(Extended m) {
  if (!(std::fabs(m) < trig_detail::kLimit)) return std::remainder(m, TwoPi);
  const Extended k = 4 * static_cast<Extended>(std::llrint(m / TwoPi));
  return ((m - k * trig_detail::kHalfPi1) - k * trig_detail::kHalfPi2) - k * trig_detail::kHalfPi3;
}

// Steps beyond which the solution stops: bisection alone narrows pi to below 1e-18 in 62.
constexpr int kMaxKeplerSteps = 80;

// E - r for E - e sin E = r, r in -pi..pi. E - r is odd in r: solve x - e sin x = |r| for x in
// 0..pi, where the left side is increasing and convex, and the root lies between |r| and
// |r| + e. Starting from M + e sin M (within e^2 of the root), or for eccentric orbits from
// Danby's M + 0.85 e; then Halley's steps until the correction is below 1e-15 rad, and halving
// of the bracket wherever a step would leave it (close to e = 1 near perihelion, where the
// slope 1 - e cos x almost vanishes).
template <class Real>
Real AnomalyCorrection(Real r, Real e) {
  constexpr Real kPi = static_cast<Real>(Pi);
  const Real target = std::fabs(r);
  if (target == 0) return 0;
  Real lo = target;
  Real hi = std::fmin(target + e, kPi);
  Real s0, c0;
  SinCosOf(target, s0, c0);
  Real x = e < Real(0.8) ? target + e * s0 : std::fmin(target + Real(0.85) * e, hi);
  for (int step = 0; step < kMaxKeplerSteps; ++step) {
    Real s, c;
    SinCosOf(x, s, c);
    const Real f = (1 - e) * x + e * XMinusSin(x, s) - target;
    if (f == 0) break;
    if (f < 0) {
      lo = x;
    } else {
      hi = x;
    }
    const Real slope = (1 - e) + e * OneMinusCos(x, c);
    const Real newton = f / slope;
    Real next = x - newton / (1 - newton * e * s / (2 * slope));
    if (!(next >= lo && next <= hi)) next = lo + (hi - lo) / 2;
    const Real correction = next - x;
    x = next;
    if (!(std::fabs(correction) > Real(1e-15))) break;
  }
  const Real d = x - target;
  return r < 0 ? -d : d;
}

// Stumpff's functions c2(z) = (1 - cos sqrt z) / z and c3(z) = (sqrt z - sin sqrt z) / z^1.5 for
// z <= 0, where they are (cosh x - 1) / x^2 and (sinh x - x) / x^3 with x = sqrt(-z); near 0 by
// their series, where the closed forms cancel.
void Stumpff(Extended z, Extended& c2, Extended& c3) {
  if (z > -1) {
    Extended t2 = 0.5L, t3 = 1.0L / 6;
    c2 = t2;
    c3 = t3;
    for (int k = 1; k < 40; ++k) {
      t2 *= -z / ((2 * k + 1) * (2 * k + 2));
      t3 *= -z / ((2 * k + 2) * (2 * k + 3));
      const Extended n2 = c2 + t2, n3 = c3 + t3;
      if (n2 == c2 && n3 == c3) break;
      c2 = n2;
      c3 = n3;
    }
    return;
  }
  const Extended x = std::sqrt(-z);
  c2 = (std::cosh(x) - 1) / -z;
  c3 = (std::sinh(x) - x) / (-z * x);
}

// An open orbit in its own plane, in units of the perihelion distance: x towards perihelion,
// y 90 degrees on in the direction of motion, r the distance; and their rates per unit of the
// mean anomaly.
struct TOpenPlane {
  Extended x, y, r, dx, dy;
};

// The plane position for universal anomaly chi. With q = 1 and the time unit 1 / n (n the
// motion k / q^1.5), the gravitational parameter is 1 and alpha = 1 / a = 1 - e; from
// perihelion, r = 1 + e chi^2 c2(z) and the Lagrange coefficients give x = 1 - chi^2 c2,
// y = sqrt(1 + e) chi (1 - z c3), z = alpha chi^2.
TOpenPlane OpenPlaneAt(Extended chi, Extended e) {
  const Extended z = (1 - e) * chi * chi;
  Extended c2, c3;
  Stumpff(z, c2, c3);
  TOpenPlane p;
  const Extended root = std::sqrt(1 + e);
  p.r = 1 + e * chi * chi * c2;
  p.x = 1 - chi * chi * c2;
  p.y = root * chi * (1 - z * c3);
  p.dx = -chi * (1 - z * c3) / p.r;  // d chi / dM = 1 / r
  p.dy = root * (1 - z * c2) / p.r;
  return p;
}

// Steps beyond which the universal anomaly stops; from the starting bounds Newton's steps
// settle in far fewer.
constexpr int kMaxUniversalSteps = 200;

// The universal anomaly chi at mean anomaly m (radians, m = n (t - T), unreduced) of an orbit
// with e >= 1: the root of F(chi) = chi + e chi^3 c3(z) - m, the universal form of Barker's
// equation (e = 1, chi = sqrt 2 tan(v / 2)) and of e sinh H - H = m (e - 1)^1.5 (e > 1,
// chi = H / sqrt(e - 1)). F is odd, increasing with slope r >= 1 and convex for chi > 0, so
// Newton's steps from a bound above the root fall on it monotonically; they stop when a step
// no longer moves chi down.
Extended UniversalAnomaly(Extended m, Extended e) {
  const Extended target = std::fabs(m);
  if (target == 0 || !std::isfinite(target)) return m;
  // Starting points at or above the root: F(chi) >= chi - m, and F(chi) >= e chi^3 / 6 - m as
  // c3 >= 1/6 for z <= 0; for e > 1 also sinh H <= m sqrt(e - 1), as (e - 1) sinh H is at
  // most e sinh H - H.
  Extended chi = std::fmin(target, std::cbrt(6 * target / e));
  if (e > 1) {
    const Extended s = std::sqrt(e - 1);
    chi = std::fmin(chi, std::asinh(target * s) / s);
  }
  for (int step = 0; step < kMaxUniversalSteps; ++step) {
    const Extended z = (1 - e) * chi * chi;
    Extended c2, c3;
    Stumpff(z, c2, c3);
    const Extended f = chi + e * chi * chi * chi * c3 - target;
    if (!(f > 0)) break;
    const Extended next = chi - f / (1 + e * chi * chi * c2);
    if (!(next < chi)) break;
    chi = next;
  }
  return m < 0 ? -chi : chi;
}

// Unit vectors towards perihelion (P) and 90 degrees on in the direction of motion (Q).
void PerifocalAxes(const TOrbitalElements& el, TVector& P, TVector& Q) {
  Extended sn, cn, si, ci, sw, cw;
  SinCos(DegToRad(el.Node), sn, cn);
  SinCos(DegToRad(el.Inclination), si, ci);
  SinCos(DegToRad(el.PerihelionLongitude - el.Node), sw, cw);
  P = {cw * cn - sw * sn * ci, cw * sn + sw * cn * ci, sw * si};
  Q = {-sw * cn - cw * sn * ci, -sw * sn + cw * cn * ci, cw * si};
}

// The mean anomaly of an open orbit at jd, radians, unreduced.
Extended OpenMeanAnomaly(const TOrbitalElements& el, Extended jd) {
  return DegToRad(el.MeanLongitude) + DegToRad(el.DailyMotion) * (jd - el.Epoch) -
         DegToRad(el.PerihelionLongitude);
}

}  // namespace

TPerihelionForm FromPerihelion(Extended q, Extended e, Extended perihelionJD, Extended epoch,
                               Extended gauss) {
  if (e >= 1) {
    const Extended n = gauss / (q * std::sqrt(q));
    return {q, n, n * (epoch - perihelionJD)};
  }
  const Extended a = q / (1 - e);
  const Extended n = gauss / (a * std::sqrt(a));
  // Within half a turn of perihelion, either way: an epoch just before perihelion keeps a
  // small negative anomaly rather than one just below 360 degrees, whose last digit (in the
  // data files' double field) would move a near-parabolic comet by (1 - e)^-1.5 times as much.
  Extended M = std::fmod(n * (epoch - perihelionJD), Extended(360));
  if (M > 180) M -= 360;
  if (M <= -180) M += 360;
  return {a, n, M};
}

void OpenOrbitArc(const TOrbitalElements& el, Extended reach, int count, TVectorD* out) {
  const Extended q = el.SemiMajorAxis;
  const Extended e = el.Eccentricity;
  TVector P, Q;
  PerifocalAxes(el, P, Q);
  // The anomaly where r = reach: r grows with |chi|, so double a bound until it is passed,
  // then halve the bracket.
  Extended hi = 0;
  const Extended rMax = reach / q;
  if (rMax > 1 && std::isfinite(rMax)) {
    hi = 1;
    for (int i = 0; i < 200 && OpenPlaneAt(hi, e).r < rMax; ++i) hi *= 2;
    Extended lo = 0;
    for (int i = 0; i < 100; ++i) {
      const Extended mid = lo + (hi - lo) / 2;
      if (mid == lo || mid == hi) break;
      (OpenPlaneAt(mid, e).r < rMax ? lo : hi) = mid;
    }
  }
  for (int k = 0; k < count; ++k) {
    const Extended chi = -hi + 2 * hi * k / (count - 1);
    const TOpenPlane p = OpenPlaneAt(chi, e);
    out[k] = ToVectorD(VecAdd(VecScale(P, q * p.x), VecScale(Q, q * p.y)));
  }
}

Extended EccentricAnomaly(Extended m, Extended e) {
  if (e == 0) return m;
  // Whole turns of m carry over to E unchanged.
  return m + AnomalyCorrection(ReduceTurns(m), e);
}

Extended ReduceToOneTurn(Extended m) {
  return ReduceTurns(m);
}

double EccentricAnomaly(double m, double e) {
  if (e == 0) return m;
  return m + AnomalyCorrection(m, e);
}

TKeplerOrbit::TKeplerOrbit(const TOrbitalElements& el)
    : epoch_(el.Epoch),
      meanLon_(DegToRad(el.MeanLongitude)),
      peri_(DegToRad(el.PerihelionLongitude)),
      node_(DegToRad(el.Node)),
      n_(DegToRad(el.DailyMotion)),
      e_(el.Eccentricity),
      p_(el.SemiMajorAxis * (1 - el.Eccentricity * el.Eccentricity)),
      anomalyFactor_(std::sqrt((1 + el.Eccentricity) / (1 - el.Eccentricity))),
      open_(IsOpenOrbit(el)) {
  SinCos(node_, sinNode_, cosNode_);
  SinCos(DegToRad(el.Inclination), sinI_, cosI_);
  if (open_) {
    p_ = el.SemiMajorAxis;  // q
    anomalyFactor_ = 0;
    PerifocalAxes(el, toPerihelion_, ahead_);
    toPerihelion_ = VecScale(toPerihelion_, p_);
    ahead_ = VecScale(ahead_, p_);
  }
}

TVector TKeplerOrbit::Position(Extended jd) const {
  if (open_) {
    const Extended m = meanLon_ + n_ * (jd - epoch_) - peri_;
    const TOpenPlane p = OpenPlaneAt(UniversalAnomaly(m, e_), e_);
    return VecAdd(VecScale(toPerihelion_, p.x), VecScale(ahead_, p.y));
  }
  const Extended m = meanLon_ + n_ * (jd - epoch_) - peri_;
  const Extended E = EccentricAnomaly(m, e_);
  const Extended v = 2 * ArcTan2(Tan(E / 2) * anomalyFactor_, 1);
  const Extended r = p_ / (1 + e_ * Cos(v));
  const Extended u = peri_ + v - node_;
  Extended su, cu;
  SinCos(u, su, cu);
  return {r * (cu * cosNode_ - sinNode_ * su * cosI_), r * (cu * sinNode_ + cosNode_ * su * cosI_),
          r * sinI_ * su};
}

TDrawnKeplerOrbit::TDrawnKeplerOrbit(const TOrbitalElements& el)
    : epoch_(el.Epoch),
      meanLon_(DegToRad(el.MeanLongitude)),
      peri_(DegToRad(el.PerihelionLongitude)),
      n_(DegToRad(el.DailyMotion)),
      e_(static_cast<double>(el.Eccentricity)),
      a_(static_cast<double>(el.SemiMajorAxis)),
      b_(static_cast<double>(el.SemiMajorAxis *
                             std::sqrt((1 - el.Eccentricity) * (1 + el.Eccentricity)))) {
  Extended sn, cn, si, ci, sw, cw;
  SinCos(DegToRad(el.Node), sn, cn);
  SinCos(DegToRad(el.Inclination), si, ci);
  SinCos(DegToRad(el.PerihelionLongitude - el.Node), sw, cw);
  p_ = ToVectorD({cw * cn - sw * sn * ci, cw * sn + sw * cn * ci, sw * si});
  q_ = ToVectorD({-sw * cn - cw * sn * ci, -sw * sn + cw * cn * ci, cw * si});
}

TVectorD TDrawnKeplerOrbit::Position(Extended jd) const {
  // The mean anomaly as the extended computation forms it.
  const double m = static_cast<double>(ReduceTurns(meanLon_ + n_ * (jd - epoch_) - peri_));
  const double E = EccentricAnomaly(m, e_);
  double s, c;
  SinCosOf(E, s, c);
  // a (cos E - e), written so that it keeps its digits near perihelion of a near-parabola.
  const double x = a_ * ((1 - e_) - OneMinusCos(E, c));
  const double y = b_ * s;
  return {x * p_.x + y * q_.x, x * p_.y + y * q_.y, x * p_.z + y * q_.z};
}

void TDrawnKeplerOrbit::Ring(Extended jd, Extended step, int count, TVectorD* out) const {
  constexpr double kPi = static_cast<double>(Pi);
  constexpr double kTwoPi = static_cast<double>(TwoPi);
  const double m1 = static_cast<double>(ReduceTurns(meanLon_ + n_ * (jd + step - epoch_) - peri_));
  const double dm = static_cast<double>(n_ * step);
  double m = m1;
  double E = EccentricAnomaly(m, e_);
  for (int k = 0; k < count; ++k) {
    if (k > 0) {
      // k steps on from the first sample (a turn off once past pi), E carried on from the
      // sample before.
      const double before = m;
      const double previous = E;
      m = m1 + k * dm;
      if (m > kPi) m -= kTwoPi;
      if (m < -kPi) m += kTwoPi;
      E = previous + (m - before) / (1 - e_ * std::cos(previous));
      bool settled = false;
      for (int step_ = 0; step_ < 6 && !settled; ++step_) {
        double s, c;
        SinCosOf(E, s, c);
        const double d = (E - e_ * s - m) / (1 - e_ * c);
        E -= d;
        settled = std::fabs(d) < 1e-12;
      }
      if (!settled) E = EccentricAnomaly(m, e_);
    }
    double s, c;
    SinCosOf(E, s, c);
    const double x = a_ * ((1 - e_) - OneMinusCos(E, c));
    const double y = b_ * s;
    out[k] = {x * p_.x + y * q_.x, x * p_.y + y * q_.y, x * p_.z + y * q_.z};
  }
}

TVectorD DrawnKeplerPositionAtEpoch(const TOrbitalElementsD& el) {
  using M = TMath<double>;
  const double e = el.Eccentricity;
  const double a = el.SemiMajorAxis;
  const double m =
      std::remainder(M::DegToRad(el.MeanLongitude - el.PerihelionLongitude), 2 * std::numbers::pi);
  const double E = EccentricAnomaly(m, e);
  double s, c;
  SinCosOf(E, s, c);
  const double x = a * ((1 - e) - OneMinusCos(E, c));
  const double y = a * std::sqrt((1 - e) * (1 + e)) * s;
  double sn, cn, si, ci, sw, cw;
  M::SinCos(M::DegToRad(el.Node), sn, cn);
  M::SinCos(M::DegToRad(el.Inclination), si, ci);
  M::SinCos(M::DegToRad(el.PerihelionLongitude - el.Node), sw, cw);
  const double px = cw * cn - sw * sn * ci, py = cw * sn + sw * cn * ci, pz = sw * si;
  const double qx = -sw * cn - cw * sn * ci, qy = -sw * sn + cw * cn * ci, qz = cw * si;
  return {x * px + y * qx, x * py + y * qy, x * pz + y * qz};
}

const char* OrbitProblem(const TOrbitalElements& el) {
  if (!std::isfinite(el.SemiMajorAxis)) return "a is no finite number";
  if (el.SemiMajorAxis <= 0) return "a <= 0";
  if (!std::isfinite(el.Eccentricity)) return "e is no finite number";
  if (el.Eccentricity < 0) return "e < 0";
  for (const Extended x : {el.Epoch, el.Inclination, el.Node, el.PerihelionLongitude,
                           el.DailyMotion, el.MeanLongitude})
    if (!std::isfinite(x)) return "an element is no finite number";
  return nullptr;
}

TVector KeplerPosition(const TOrbitalElements& el, Extended jd) {
  return TKeplerOrbit(el).Position(jd);
}

TRectSph KeplerPositionSph(const TOrbitalElements& el, Extended jd) {
  const TVector v = KeplerPosition(el, jd);
  return {v, RectToSph(v)};
}

TVector KeplerVelocity(const TOrbitalElements& el, Extended jd) {
  if (IsOpenOrbit(el)) {
    const Extended e = el.Eccentricity;
    const TOpenPlane p = OpenPlaneAt(UniversalAnomaly(OpenMeanAnomaly(el, jd), e), e);
    TVector P, Q;
    PerifocalAxes(el, P, Q);
    const Extended scale = el.SemiMajorAxis * DegToRad(el.DailyMotion);  // q n: AU per day
    return VecAdd(VecScale(P, scale * p.dx), VecScale(Q, scale * p.dy));
  }
  const TAnomalies an = Anomalies(el, jd);
  const Extended e = an.e;
  const Extended t = std::sqrt((1 + e) / (1 - e));
  const Extended dEdt = an.n / (1 - e * Cos(an.E));
  const Extended tanHalf = std::tan(an.E / 2);
  const Extended cosHalf = Cos(an.E / 2);
  const Extended dvdt = dEdt * t / ((t * tanHalf) * (t * tanHalf) + 1) / (cosHalf * cosHalf);
  const Extended p = an.a * (1 - e * e);
  const Extended denom = 1 + e * Cos(an.v);
  const Extended r = p / denom;
  const Extended drdt = dvdt * e * p * Sin(an.v) / (denom * denom);
  const Extended u = an.peri + an.v - an.node;
  const Extended cu = Cos(u), su = Sin(u);
  const Extended cn = Cos(an.node), sn = Sin(an.node);
  const Extended ci = Cos(an.i), si = Sin(an.i);
  return {drdt * (cu * cn - sn * su * ci) - dvdt * r * (su * cn + sn * cu * ci),
          drdt * (cu * sn + cn * su * ci) - dvdt * r * (su * sn - cn * cu * ci),
          si * (drdt * su + dvdt * r * cu)};
}

TOrbitalElements MeanPlanetElements(int32_t planet, int32_t frame, Extended jd) {
  TOrbitalElements el;
  if (planet == kPluto) {
    el.Epoch = 2447920.5L;
    el.MeanLongitude = 224.38521L;
    el.SemiMajorAxis = 39.543L;
    el.Eccentricity = 0.249L;
    el.Inclination = 17.14L;
    el.Node = 110.307L;
    el.PerihelionLongitude = 224.075L;
  } else if (planet >= 0 && planet < kPluto) {
    const Extended t = (jd - J2000) / 36525;
    const auto& c = kMeanElementCoefs[frame == 1 ? 1 : 0][planet];
    auto poly = [&](int k) { return Poly3(c[k][0], c[k][1], c[k][2], c[k][3], t); };
    el.Epoch = jd;
    el.MeanLongitude = poly(0);
    el.SemiMajorAxis = poly(1);
    el.Eccentricity = poly(2);
    el.Inclination = poly(3);
    el.Node = poly(4);
    el.PerihelionLongitude = poly(5);
  } else {
    return el;
  }
  const Extended a = el.SemiMajorAxis;
  el.DailyMotion = kGaussDegPerDay / (a * std::sqrt(a));
  return el;
}

TRectSph PlanetPole(int32_t body, Extended jd) {
  const Extended t = (jd - J2000) / 36525;
  Extended a0 = 0;
  Extended d0 = 0;
  switch (body) {
    case kEarth:
      a0 = -0.641L * t;
      d0 = 90 - 0.557L * t;
      break;
    case kMercury:
      a0 = 281.01L - 0.003L * t;
      d0 = 61.45L - 0.005L * t;
      break;
    case kVenus:
      a0 = 272.72L;
      d0 = 67.15L;
      break;
    case kMars:
      a0 = 317.681L - 0.108L * t;
      d0 = 52.886L - 0.061L * t;
      break;
    case kJupiter:
      a0 = 268.05L - 0.009L * t;
      d0 = 64.49L + 0.003L * t;
      break;
    case kSaturn:
      a0 = 40.58L - 0.036L * t;
      d0 = 83.54L - 0.004L * t;
      break;
    case kUranus:
      a0 = 257.43L;
      d0 = -15.10L;
      break;
    case kNeptune: {
      const Extended n = DegToRad(359.28L + 54.308L * t);
      a0 = 299.36L + 0.70L * Sin(n);
      d0 = 43.46L - 0.51L * Cos(n);
      break;
    }
    case kPluto:
      a0 = 313.02L;
      d0 = 9.09L;
      break;
    case kSun:
      a0 = 286.13L;
      d0 = 63.87L;
      break;
    default:
      break;
  }
  const TSpherical s{Norm2Pi(DegToRad(a0)), NormPi(DegToRad(d0)), 1};
  return {SphToRect(s), s};
}

TRectSph PlanetPoleOfDate(int32_t body, Extended jd) {
  return PrecessVector(PlanetPole(body, jd).Rect, -1, jd);
}

Extended AphelionDate(int32_t planet, Extended jd) {
  if (planet == kUranus) return NextInTable(kUranusAphelia, jd);
  if (planet == kNeptune) return NextInTable(kNeptuneAphelia, jd);
  if (planet < 0 || planet > kSaturn) return -1;
  const Extended k = PassageCount(planet, jd);
  Extended big_k = k >= 0 ? Int(k) + 1.5L : Int(k) + 0.5L;
  if (big_k - k > 1) big_k -= 1;
  Extended date = PassageJD(planet, big_k);
  if (planet == kEarth) date += EarthLunarCorrection(big_k, false);
  return date;
}

Extended PerihelionDate(int32_t planet, Extended jd) {
  if (planet == kUranus) return NextInTable(kUranusPerihelia, jd);
  if (planet == kNeptune) return NextInTable(kNeptunePerihelia, jd);
  if (planet < 0 || planet > kSaturn) return -1;
  const Extended big_k = Int(PassageCount(planet, jd));
  Extended date = PassageJD(planet, big_k);
  if (planet == kEarth) date += EarthLunarCorrection(big_k, true);
  return date;
}

}  // namespace kestrova
