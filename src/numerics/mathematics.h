// Angles and elementary functions on Extended values.
//
// Angles are radians unless a name says otherwise. The functions check nothing: an argument
// outside a function's domain (ArcSin beyond +-1, Power of a base <= 0) gives a NaN, and
// callers keep their arguments in range.
#pragma once

#include <cmath>
#include <cstdint>

#include "numerics/extended.h"

namespace kestrova {

inline constexpr Extended Pi = 3.1415926535897932385L;
inline constexpr Extended TwoPi = 6.283185307179586477L;

// One second of arc in radians.
inline constexpr Extended ASR = 4.84813681109536e-06L;

inline Extended DegToRad(Extended x) {
  return x * 0.017453292519943295769L;
}
inline Extended RadToDeg(Extended x) {
  return x * 57.295779513082320877L;
}

// Sine and cosine. The run-time library reduces every argument beyond pi/4 with a slow
// multi-precision routine; these reduce by multiples of pi/2 first (Cody and Waite, with pi/2
// split into three parts so that the products are exact up to |x| = 2^30), which is as exact
// for the angles the program meets and four times faster. Larger arguments go to the library.
namespace trig_detail {
inline constexpr Extended kTwoOverPi = 0xa2f9836e4e441529p-64L;
inline constexpr Extended kHalfPi1 = 0x6487ed51p-30L;
inline constexpr Extended kHalfPi2 = 0x85a308d3p-65L;
inline constexpr Extended kHalfPi3 = 0x98cc51701b839a25p-132L;
inline constexpr Extended kLimit = 1e9L;
// x - k pi/2 in -pi/4..pi/4 (about), and the quadrant k mod 4.
inline Extended Reduce(Extended x, int& quadrant) {
  // llrint rounds in the current mode (to nearest) without touching the x87 control word.
  const long long n = std::llrint(x * kTwoOverPi);
  quadrant = static_cast<int>(n & 3);
  const Extended k = static_cast<Extended>(n);
  return ((x - k * kHalfPi1) - k * kHalfPi2) - k * kHalfPi3;
}
}  // namespace trig_detail

inline Extended Sin(Extended x) {
  if (!(std::fabs(x) < trig_detail::kLimit)) return std::sin(x);
  int q;
  const Extended r = trig_detail::Reduce(x, q);
  switch (q) {
    case 0:
      return std::sin(r);
    case 1:
      return std::cos(r);
    case 2:
      return -std::sin(r);
    default:
      return -std::cos(r);
  }
}

inline Extended Cos(Extended x) {
  if (!(std::fabs(x) < trig_detail::kLimit)) return std::cos(x);
  int q;
  const Extended r = trig_detail::Reduce(x, q);
  switch (q) {
    case 0:
      return std::cos(r);
    case 1:
      return -std::sin(r);
    case 2:
      return -std::cos(r);
    default:
      return std::sin(r);
  }
}

inline void SinCos(Extended x, Extended& s, Extended& c) {
  if (!(std::fabs(x) < trig_detail::kLimit)) {
    s = std::sin(x);
    c = std::cos(x);
    return;
  }
  int q;
  const Extended r = trig_detail::Reduce(x, q);
  const Extended sr = std::sin(r);
  const Extended cr = std::cos(r);
  switch (q) {
    case 0:
      s = sr;
      c = cr;
      break;
    case 1:
      s = cr;
      c = -sr;
      break;
    case 2:
      s = -sr;
      c = -cr;
      break;
    default:
      s = -cr;
      c = sr;
      break;
  }
}

// Angle of the point (x, y) in -pi..pi; ArcTan2(0, 0) is 0.
Extended ArcTan2(Extended y, Extended x);
Extended ArcSin(Extended y);
Extended ArcCos(Extended x);
Extended Tan(Extended x);

// base^exponent as 2^(exponent log2 base); base must be positive.
Extended Power(Extended base, Extended exponent);

// 1, -1 or 0 (also for -0.0).
int32_t Sign(Extended x);

// Short polynomials in t, summed term by term with powers formed by repeated multiplication.
Extended Poly1(Extended c0, Extended c1, Extended t);
Extended Poly2(Extended c0, Extended c1, Extended c2, Extended t);
Extended Poly3(Extended c0, Extended c1, Extended c2, Extended c3, Extended t);
Extended Poly4(Extended c0, Extended c1, Extended c2, Extended c3, Extended c4, Extended t);

// Truncation toward zero (Int) and the fractional part with the sign of x (x - Int(x)).
Extended Int(Extended x);
Extended Frac(Extended x);

// a reduced to -pi..pi, both ends included: odd multiples of pi keep their sign.
Extended NormPi(Extended a);
// a reduced to 0..2pi.
Extended Norm2Pi(Extended a);
// Seconds of arc reduced modulo one turn, keeping the sign of x.
Extended ReduceArcsec(Extended x);

// Rounds to the nearest integer, ties to even.
int64_t RoundHalfEven(Extended x);

}  // namespace kestrova
