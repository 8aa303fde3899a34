// Angles and elementary functions on Extended values.
//
// Angles are radians unless a name says otherwise. The functions check nothing: an argument
// outside a function's domain (ArcSin beyond +-1, Power of a base <= 0) gives a NaN, and
// callers keep their arguments in range.
#pragma once

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
