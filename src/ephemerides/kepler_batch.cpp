#include "ephemerides/kepler_batch.h"

#include <algorithm>
#include <cmath>

#include "ephemerides/precession.h"
#include "numerics/mathematics.h"

namespace kestrova {

namespace {

// Mean anomalies are carried from this date.
constexpr Extended kReferenceDate = J2000;

// Beyond this eccentricity the vector path leaves an orbit to the one-by-one solution: near
// perihelion of such orbits Kepler's equation wants the care EccentricAnomaly takes.
constexpr double kVectorEccentricityLimit = 0.8;

// Orbits per block of the vector path.
constexpr size_t kBlock = 256;

// Rounds to the nearest integer (|x| < 2^51) with additions alone, which vectorise anywhere.
inline double RoundNear(double x) {
  constexpr double kShift = 6755399441055744.0;  // 1.5 * 2^52
  return (x + kShift) - kShift;
}

// pi/2 in three parts, the first two of 33 bits so that their products with a small whole
// number are exact (as fdlibm splits it).
constexpr double kHalfPi1 = 1.57079632673412561417e+00;
constexpr double kHalfPi2 = 6.07710050630396597660e-11;
constexpr double kHalfPi3 = 2.02226624879595063154e-21;
constexpr double kTwoOverPi = 6.36619772367581382433e-01;
constexpr double kOneOverTwoPi = 1.59154943091895335769e-01;

// a * b + c, fused where the processor has it.
template <bool kFused>
[[gnu::always_inline]] inline double MulAdd(double a, double b, double c) {
  if constexpr (kFused) {
    return __builtin_fma(a, b, c);
  } else {
    return a * b + c;
  }
}

// Sine and cosine of x for |x| < 5 pi / 4, by the polynomials of fdlibm on -pi/4..pi/4 and
// selections of the quadrant, so that a loop over them vectorises.
template <bool kFused>
[[gnu::always_inline]] inline void SinCosNear(double x, double& s, double& c) {
  const double q = RoundNear(x * kTwoOverPi);  // -2..2
  const double r = ((x - q * kHalfPi1) - q * kHalfPi2) - q * kHalfPi3;
  const double z = r * r;
  double ps = MulAdd<kFused>(z, 1.58969099521155010221e-10, -2.50507602534068634195e-08);
  ps = MulAdd<kFused>(z, ps, 2.75573137070700676789e-06);
  ps = MulAdd<kFused>(z, ps, -1.98412698298579493134e-04);
  ps = MulAdd<kFused>(z, ps, 8.33333333332248946124e-03);
  ps = MulAdd<kFused>(z, ps, -1.66666666666666324348e-01);
  ps = MulAdd<kFused>(r * z, ps, r);
  double pc = MulAdd<kFused>(z, -1.13596475577881948265e-11, 2.08757232129817482790e-09);
  pc = MulAdd<kFused>(z, pc, -2.75573143513906633035e-07);
  pc = MulAdd<kFused>(z, pc, 2.48015872894767294178e-05);
  pc = MulAdd<kFused>(z, pc, -1.38888888888741095749e-03);
  pc = MulAdd<kFused>(z, pc, 4.16666666666666019037e-02);
  pc = MulAdd<kFused>(z * z, pc, 1 - 0.5 * z);
  // Quadrants -2..2: sin is ps, pc, -ps or -pc by turns, and cos a quadrant behind. Written
  // without branches.
  const bool odd = q * q == 1;
  const bool sinNegative = (q < 0) | (q > 1.5);     // -2, -1, 2
  const bool cosNegative = (q > 0.5) | (q < -1.5);  // -2, 1, 2
  const double s1 = odd ? pc : ps;
  const double c1 = odd ? ps : pc;
  s = sinNegative ? -s1 : s1;
  c = cosNegative ? -c1 : c1;
}

// a * b as the rounded product and its error, exactly (with a fused multiply-add, else by
// Dekker's splitting).
template <bool kFused>
[[gnu::always_inline]] inline void TwoProduct(double a, double b, double& p, double& err) {
  p = a * b;
  if constexpr (kFused) {
    err = __builtin_fma(a, b, -p);
  } else {
    constexpr double kSplit = 134217729.0;  // 2^27 + 1
    const double ta = kSplit * a, tb = kSplit * b;
    const double ah = ta - (ta - a), bh = tb - (tb - b);
    const double al = a - ah, bl = b - bh;
    err = ((ah * bh - p) + ah * bl + al * bh) + al * bl;
  }
}

// sin(x - d) and cos(x - d) from s = sin x and c = cos x for |d| <= kTurnLimit: a turn back by
// d, with the sine and cosine of d from their series (the first term left out is below 1e-17).
constexpr double kTurnLimit = 0.05;

// A step of Halley's method shorter than this was the last one needed.
constexpr double kSettled = 1e-6;

// Halley's step f / (f1 - f f2 / (2 f1)) for E - e sin E = m, with f = E - e sin E - m,
// f1 = 1 - e cos E and f2 = e sin E, and one division; s and c are sin E and cos E.
[[gnu::always_inline]] inline double HalleyStep(double E, double m, double e, double s, double c) {
  const double f = E - e * s - m;
  const double f1 = 1 - e * c;
  return f * f1 / (f1 * f1 - 0.5 * f * e * s);
}

template <bool kFused>
[[gnu::always_inline]] inline void TurnBack(double d, double& s, double& c) {
  const double d2 = d * d;
  // sin d = d + d ps, cos d = 1 + pc
  double ps = MulAdd<kFused>(d2, -1.0 / 5040, 1.0 / 120);
  ps = MulAdd<kFused>(d2, ps, -1.0 / 6) * d2;
  double pc = MulAdd<kFused>(d2, 1.0 / 40320, -1.0 / 720);
  pc = MulAdd<kFused>(d2, pc, 1.0 / 24);
  pc = MulAdd<kFused>(d2, pc, -0.5) * d2;
  const double sd = MulAdd<kFused>(d, ps, d);
  const double s1 = MulAdd<kFused>(s, pc, MulAdd<kFused>(-c, sd, s));
  const double c1 = MulAdd<kFused>(c, pc, MulAdd<kFused>(s, sd, c));
  s = s1;
  c = c1;
}

// The vector path over orbits i0..i1-1: mean anomaly in two parts, reduced to one turn; then
// E - e sin E = M by three steps of Halley's method, the first from E = M (with the sine and
// cosine of M), the second from the sine and cosine of its result, and the third turning those
// by the step before instead of computing them anew. A last step below kSettled leaves E within
// 5e-18 (Halley's error after a step d is below 5 d^3 for e below 0.8); the position follows
// from E. Writes x, y, z per orbit; where the solution did not settle (or a step was too long to
// be turned), unsettled is 1 and m and E hold the anomalies to go on from.
template <bool kFused>
[[gnu::always_inline]] inline void VectorBlock(
    const double* __restrict__ m0, const double* __restrict__ nHi, const double* __restrict__ nLo,
    const double* __restrict__ ecc, const double* __restrict__ px, const double* __restrict__ py,
    const double* __restrict__ pz, const double* __restrict__ qx, const double* __restrict__ qy,
    const double* __restrict__ qz, double dtHi, double dtLo, size_t count, double* __restrict__ x,
    double* __restrict__ y, double* __restrict__ z, double* __restrict__ unsettled,
    double* __restrict__ mean, double* __restrict__ eccentric) {
  for (size_t i = 0; i < count; ++i) {
    // m0 + n dt in two parts.
    double p, perr;
    TwoProduct<kFused>(nHi[i], dtHi, p, perr);
    const double s = m0[i] + p;
    const double bb = s - m0[i];
    const double serr = (m0[i] - (s - bb)) + (p - bb);
    const double lo = serr + perr + nHi[i] * dtLo + nLo[i] * dtHi;
    // Whole turns off, 2 pi as four halves of pi in three parts.
    const double k = 4 * RoundNear(s * kOneOverTwoPi);
    const double m = (((s - k * kHalfPi1) - k * kHalfPi2) - k * kHalfPi3) + lo;

    const double e = ecc[i];
    double sE, cE;
    SinCosNear<kFused>(m, sE, cE);
    double E = m - HalleyStep(m, m, e, sE, cE);
    SinCosNear<kFused>(E, sE, cE);
    const double d2 = HalleyStep(E, m, e, sE, cE);
    E -= d2;
    TurnBack<kFused>(d2, sE, cE);
    const double d3 = HalleyStep(E, m, e, sE, cE);
    E -= d3;
    TurnBack<kFused>(d3, sE, cE);
    const double u = cE - e;
    x[i] = u * px[i] + sE * qx[i];
    y[i] = u * py[i] + sE * qy[i];
    z[i] = u * pz[i] + sE * qz[i];
    unsettled[i] = !(std::fabs(d2) <= kTurnLimit) | !(std::fabs(d3) <= kSettled) ? 1 : 0;
    mean[i] = m;
    eccentric[i] = E;
  }
}

// Goes on from E with Halley's method, one orbit at a time; false when six more steps do not
// settle it.
bool Settle(double m, double e, double& E) {
  for (int step = 0; step < 6; ++step) {
    const double d = HalleyStep(E, m, e, std::sin(E), std::cos(E));
    E -= d;
    if (std::fabs(d) <= kSettled) return true;
  }
  return false;
}

struct TColumns {
  const double *m0, *nHi, *nLo, *e, *px, *py, *pz, *qx, *qy, *qz;
};

__attribute__((target("arch=x86-64-v3"))) void VectorBlockFused(const TColumns& c, size_t i,
                                                                double dtHi, double dtLo,
                                                                size_t count, double* x, double* y,
                                                                double* z, double* unsettled,
                                                                double* mean, double* eccentric) {
  VectorBlock<true>(c.m0 + i, c.nHi + i, c.nLo + i, c.e + i, c.px + i, c.py + i, c.pz + i, c.qx + i,
                    c.qy + i, c.qz + i, dtHi, dtLo, count, x, y, z, unsettled, mean, eccentric);
}

void VectorBlockPlain(const TColumns& c, size_t i, double dtHi, double dtLo, size_t count,
                      double* x, double* y, double* z, double* unsettled, double* mean,
                      double* eccentric) {
  VectorBlock<false>(c.m0 + i, c.nHi + i, c.nLo + i, c.e + i, c.px + i, c.py + i, c.pz + i,
                     c.qx + i, c.qy + i, c.qz + i, dtHi, dtLo, count, x, y, z, unsettled, mean,
                     eccentric);
}

bool HasFusedVectors() {
  static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  return has;
}

}  // namespace

TKeplerBatch::TDate TKeplerBatch::Date(Extended jd) {
  const Extended dt = jd - kReferenceDate;
  const double hi = static_cast<double>(dt);
  return {jd, hi, static_cast<double>(dt - hi)};
}

void TKeplerBatch::Clear() {
  for (std::vector<double>* c : {&m_, &nHi_, &nLo_, &e_, &px_, &py_, &pz_, &qx_, &qy_, &qz_})
    c->clear();
  alone_.clear();
}

void TKeplerBatch::Release() {
  *this = TKeplerBatch();
}

void TKeplerBatch::Reserve(size_t n) {
  for (std::vector<double>* c : {&m_, &nHi_, &nLo_, &e_, &px_, &py_, &pz_, &qx_, &qy_, &qz_}) {
    // A list far shorter than the one before (or none) gives its memory back.
    if (n < c->capacity() / 2) c->shrink_to_fit();
    c->reserve(n);
  }
  alone_.shrink_to_fit();
}

void TKeplerBatch::Append(const TOrbitalElements& el) {
  const Extended n = DegToRad(el.DailyMotion);
  const Extended meanAnomaly = DegToRad(el.MeanLongitude) + n * (kReferenceDate - el.Epoch) -
                               DegToRad(el.PerihelionLongitude);
  const Extended e = el.Eccentricity;
  const bool alone = !(e >= 0 && e < kVectorEccentricityLimit) || !std::isfinite(meanAnomaly) ||
                     !std::isfinite(n) || !std::isfinite(el.SemiMajorAxis) ||
                     !std::isfinite(el.Inclination) || !std::isfinite(el.Node);
  if (alone) {
    alone_.push_back({m_.size(), TKeplerOrbit(el)});
    for (std::vector<double>* c : {&m_, &nHi_, &nLo_, &e_, &px_, &py_, &pz_, &qx_, &qy_, &qz_})
      c->push_back(0);
    return;
  }
  m_.push_back(static_cast<double>(ReduceToOneTurn(meanAnomaly)));
  const double nHi = static_cast<double>(n);
  nHi_.push_back(nHi);
  nLo_.push_back(static_cast<double>(n - nHi));
  e_.push_back(static_cast<double>(e));
  const double a = static_cast<double>(el.SemiMajorAxis);
  const double b = static_cast<double>(el.SemiMajorAxis * std::sqrt((1 - e) * (1 + e)));
  const double node = static_cast<double>(DegToRad(el.Node));
  const double incl = static_cast<double>(DegToRad(el.Inclination));
  const double argPeri = static_cast<double>(DegToRad(el.PerihelionLongitude - el.Node));
  const double sn = std::sin(node), cn = std::cos(node);
  const double si = std::sin(incl), ci = std::cos(incl);
  const double sw = std::sin(argPeri), cw = std::cos(argPeri);
  px_.push_back(a * (cw * cn - sw * sn * ci));
  py_.push_back(a * (cw * sn + sw * cn * ci));
  pz_.push_back(a * (sw * si));
  qx_.push_back(b * (-sw * cn - cw * sn * ci));
  qy_.push_back(b * (-sw * sn + cw * cn * ci));
  qz_.push_back(b * (cw * si));
}

void TKeplerBatch::Positions(const TDate& date, size_t begin, size_t end, TVectorD* out) const {
  const TColumns columns{m_.data(),  nHi_.data(), nLo_.data(), e_.data(),  px_.data(),
                         py_.data(), pz_.data(),  qx_.data(),  qy_.data(), qz_.data()};
  const bool fused = HasFusedVectors();
  double x[kBlock], y[kBlock], z[kBlock], unsettled[kBlock], mean[kBlock], eccentric[kBlock];
  for (size_t i = begin; i < end; i += kBlock) {
    const size_t count = std::min(kBlock, end - i);
    if (fused) {
      VectorBlockFused(columns, i, date.SinceRefHi, date.SinceRefLo, count, x, y, z, unsettled,
                       mean, eccentric);
    } else {
      VectorBlockPlain(columns, i, date.SinceRefHi, date.SinceRefLo, count, x, y, z, unsettled,
                       mean, eccentric);
    }
    for (size_t j = 0; j < count; ++j) {
      TVectorD& o = out[i - begin + j];
      o = {x[j], y[j], z[j]};
      if (unsettled[j] != 0) {
        const size_t k = i + j;
        // Not settled after three steps (orbits of e above 0.5 near perihelion): a few more
        // steps from where the vector path stopped.
        double E = eccentric[j];
        if (Settle(mean[j], e_[k], E)) {
          const double u = std::cos(E) - e_[k], v = std::sin(E);
          o = {u * px_[k] + v * qx_[k], u * py_[k] + v * qy_[k], u * pz_[k] + v * qz_[k]};
          continue;
        }
        // Still not settled: the bracketed solution, from the same anomaly.
        const Extended m = m_[k] + (Extended(nHi_[k]) + nLo_[k]) * (date.JD - kReferenceDate);
        const double r = static_cast<double>(ReduceToOneTurn(m));
        E = EccentricAnomaly(r, e_[k]);
        const double u = std::cos(E) - e_[k], v = std::sin(E);
        o = {u * px_[k] + v * qx_[k], u * py_[k] + v * qy_[k], u * pz_[k] + v * qz_[k]};
      }
    }
  }
  // The orbits served one by one, in Extended.
  auto first = std::lower_bound(alone_.begin(), alone_.end(), begin,
                                [](const TAlone& a, size_t index) { return a.Index < index; });
  for (auto it = first; it != alone_.end() && it->Index < end; ++it)
    out[it->Index - begin] = ToVectorD(it->Orbit.Position(date.JD));
}

}  // namespace kestrova
