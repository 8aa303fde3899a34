#include "numerics/mathematics.h"

#include <cmath>

namespace kestrova {

Extended ArcTan2(Extended y, Extended x) {
  if (y == 0 && x == 0) return 0;
  return std::atan2(y, x);
}

Extended ArcSin(Extended y) {
  return ArcTan2(y, std::sqrt(1 - y * y));
}

Extended ArcCos(Extended x) {
  return ArcTan2(std::sqrt(1 - x * x), x);
}

Extended Tan(Extended x) {
  return std::sin(x) / std::cos(x);
}

Extended Power(Extended base, Extended exponent) {
  return std::exp2(exponent * std::log2(base));
}

int32_t Sign(Extended x) {
  if (x > 0) return 1;
  if (x < 0) return -1;
  return 0;
}

Extended Poly1(Extended c0, Extended c1, Extended t) {
  return c0 + c1 * t;
}

Extended Poly2(Extended c0, Extended c1, Extended c2, Extended t) {
  return c0 + (c1 * t + c2 * t * t);
}

Extended Poly3(Extended c0, Extended c1, Extended c2, Extended c3, Extended t) {
  return c0 + (c1 * t + c2 * t * t + c3 * t * t * t);
}

Extended Poly4(Extended c0, Extended c1, Extended c2, Extended c3, Extended c4, Extended t) {
  return c0 + (c1 * t + c2 * t * t + c3 * t * t * t + c4 * t * t * t * t);
}

Extended Int(Extended x) {
  return std::trunc(x);
}

Extended Frac(Extended x) {
  return x - std::trunc(x);
}

Extended NormPi(Extended a) {
  Extended r = Frac(a * 0.5L / Pi) * TwoPi;
  if (r > Pi) r -= TwoPi;
  if (r < -Pi) r += TwoPi;
  return r;
}

Extended Norm2Pi(Extended a) {
  const Extended r = NormPi(a);
  return r >= 0 ? r : r + TwoPi;
}

Extended ReduceArcsec(Extended x) {
  return x - 1296000.0L * Int(x / 1296000.0L);
}

int64_t RoundHalfEven(Extended x) {
  // nearbyint follows the current rounding mode, which the program never changes from
  // round-to-nearest-even.
  return static_cast<int64_t>(std::nearbyint(x));
}

}  // namespace kestrova
