// Physical data of the planets and of the satellites the program shows.
#pragma once

#include <cstdint>

#include "numerics/extended.h"

namespace kestrova {

struct TPlanetData {
  const char* Name;
  Extended Mass;        // kg
  Extended DiameterKm;  // equatorial
  bool Retrograde;      // sense of rotation
};

// Indexed by planet number 0 (Earth) .. 8 (Pluto).
extern const TPlanetData kPlanetData[9];

struct TSatelliteData {
  int32_t Id;
  const char* Name;
  const char* Code;
  Extended Period;     // sidereal, days
  Extended MassRatio;  // satellite mass / planet mass
  Extended DiameterKm;
  Extended SemiMajorAxisKm;
  Extended Eccentricity;
  Extended Inclination;  // degrees
};

inline constexpr int kSatelliteDataCount = 21;
// The satellites of Jupiter, Saturn and Uranus, by Id.
extern const TSatelliteData kSatelliteData[kSatelliteDataCount];
// The row for id, or nullptr.
const TSatelliteData* FindSatelliteData(int32_t id);

// The Moon.
inline constexpr Extended kMoonPeriod = 27.3L;
inline constexpr Extended kMoonMass = 7.35e22L;
inline constexpr Extended kMoonDiameterKm = 3475.996268172L;
inline constexpr Extended kMoonSemiMajorAxisKm = 384400.0L;
inline constexpr Extended kMoonEccentricity = 0.0549L;
inline constexpr Extended kMoonInclination = 5.15L;

}  // namespace kestrova
