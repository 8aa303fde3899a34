// The elementary functions for code written once for both precisions: Extended for every
// position that is computed, double for what is only drawn (orbit rings). TMath<Extended> is
// exactly the functions of mathematics.h, so that the Extended form of such code computes what
// it always has.
#pragma once

#include <cmath>

#include "numerics/extended.h"
#include "numerics/mathematics.h"

namespace kestrova {

template <class Real>
struct TMath;

template <>
struct TMath<Extended> {
  static Extended Sin(Extended x) { return kestrova::Sin(x); }
  static Extended Cos(Extended x) { return kestrova::Cos(x); }
  static void SinCos(Extended x, Extended& s, Extended& c) { kestrova::SinCos(x, s, c); }
  static Extended Tan(Extended x) { return kestrova::Tan(x); }
  static Extended ArcTan2(Extended y, Extended x) { return kestrova::ArcTan2(y, x); }
  static Extended ArcSin(Extended y) { return kestrova::ArcSin(y); }
  static Extended DegToRad(Extended x) { return kestrova::DegToRad(x); }
  static Extended RadToDeg(Extended x) { return kestrova::RadToDeg(x); }
};

template <>
struct TMath<double> {
  static double Sin(double x) { return std::sin(x); }
  static double Cos(double x) { return std::cos(x); }
  static void SinCos(double x, double& s, double& c) {
    s = std::sin(x);
    c = std::cos(x);
  }
  static double Tan(double x) { return std::tan(x); }
  // 0 for (0, 0), as ArcTan2.
  static double ArcTan2(double y, double x) { return y == 0 && x == 0 ? 0 : std::atan2(y, x); }
  static double ArcSin(double y) { return ArcTan2(y, std::sqrt(1 - y * y)); }
  static double DegToRad(double x) { return x * 0.017453292519943295769; }
  static double RadToDeg(double x) { return x * 57.295779513082320877; }
};

// Sines and cosines of the multiples 1..highest of one angle, the higher ones by the addition
// formulas: a series of harmonics then costs multiplications only, where each sine of its own
// would cost as much as a hundred of them. s[0] and c[0] hold sin and cos of the angle itself
// on entry; on return s[k - 1] and c[k - 1] hold those of k times the angle.
template <class Real>
void FillAngleMultiples(Real* s, Real* c, int highest) {
  if (highest >= 2) {
    s[1] = 2 * s[0] * c[0];
    c[1] = c[0] * c[0] - s[0] * s[0];
  }
  for (int k = 2; k < highest; ++k) {
    s[k] = s[0] * c[k - 1] + c[0] * s[k - 1];
    c[k] = c[0] * c[k - 1] - s[0] * s[k - 1];
  }
}

}  // namespace kestrova
