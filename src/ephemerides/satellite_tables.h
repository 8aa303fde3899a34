// Coefficient tables of the satellite theories (Galilean satellites, Iapetus, the satellites of
// Uranus). Each table file names its source; the formulas that read them are in
// galilean_satellites.cpp, saturn_satellites.cpp and uranus_satellites.cpp.
#pragma once

#include <cstdint>
#include <span>

#include "numerics/extended.h"

namespace kestrova {

// ---- Galilean satellites -------------------------------------------------------------------

// The mean arguments of the Galilean theory, in the order of kGalileanMeanArgs: the mean
// longitudes l1..l4, the longitudes of the perijoves pi1..pi4 and of the nodes omega1..omega4 of
// Io, Europa, Ganymede and Callisto; the node psi of Jupiter's equator, the libration argument
// Phi, the mean anomalies G of Jupiter and G' of Saturn, and Jupiter's perihelion Pi.
// clang-format off
enum TGalileanArg : uint8_t {
  kL1, kL2, kL3, kL4,
  kPi1, kPi2, kPi3, kPi4,
  kOm1, kOm2, kOm3, kOm4,
  kPsi, kPhi, kGJ, kGS, kPiJ,
  kGalileanArgCount
};
// clang-format on

// c0 + c1 t degrees, t in days from JD 2443000.5; left unreduced.
struct TLinearArg {
  Extended c0, c1;
};
extern const TLinearArg kGalileanMeanArgs[kGalileanArgCount];

// amplitude (1e-7) times sin or cos of sum(mult * arg) + phase degrees; unused slots have
// mult 0 and end the list.
struct TArgMult {
  uint8_t arg;
  int8_t mult;
};
struct TGalileanTerm {
  int32_t amplitude;
  TArgMult args[4];
  Extended phase;
};

// One satellite: perturbations in radius (relative, cosines), longitude (radians, sines) and
// latitude (radians, sines of arguments that also take the longitude perturbation).
struct TGalileanTheory {
  uint8_t meanLongitude;   // the satellite's own l
  Extended semiMajorAxis;  // AU
  std::span<const TGalileanTerm> radius, longitude, latitude;
};
extern const TGalileanTheory kGalileanTheories[4];

// ---- Iapetus -------------------------------------------------------------------------------

// Arguments of the Iapetus series (mu, l, m, g, g1, g2, g3, psi, phi) and the elements they
// perturb (a, e, i, L, pericentre, node).
// clang-format off
enum TIapetusArg : uint8_t {
  kIaMu, kIaL, kIaM, kIaG, kIaG1, kIaG2, kIaG3, kIaPsi, kIaPhi, kIapetusArgCount
};
enum TIapetusElement : uint8_t {
  kIaA, kIaE, kIaI, kIaLon, kIaPeri, kIaNode, kIapetusElementCount
};
// clang-format on

struct TIapetusTerm {
  TIapetusElement element;
  bool sine;  // sine, else cosine
  Extended amplitude;
  TArgMult args[5];
};
extern const std::span<const TIapetusTerm> kIapetusTerms;

// ---- Satellites of Uranus ------------------------------------------------------------------

// amplitude * sin(phase0 + rate t), radians, t in days from JD 2444239.5.
struct TSineTerm {
  Extended amplitude, phase0, rate;
};
// sign * amplitude * exp(i (phase0 + rate t)).
struct TComplexTerm {
  int8_t sign;
  Extended amplitude, phase0, rate;
};

struct TUranusMoonTheory {
  Extended lambda0, lambdaRate;  // mean longitude, radians and radians per day
  std::span<const TSineTerm> lambdaTerms;
  std::span<const TComplexTerm> kh, qp;
  Extended period;     // sidereal period, days
  Extended massRatio;  // satellite / Uranus
  Extended motion;     // mean motion for the element record, radians per day
};
extern const TUranusMoonTheory kUranusMoonTheories[5];

}  // namespace kestrova
