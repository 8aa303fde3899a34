// Heliocentric planet positions on the mean ecliptic and equinox of the date.
#pragma once

#include <cstdint>

#include "numerics/extended.h"
#include "numerics/matrices.h"

namespace kestrova {

// The Moon's share of the Earth-Moon mass.
inline constexpr Extended kMoonMassShare = 0.012150581918706896L;

// The planet theory's position of planet 0..8 at jd on the mean equator and equinox of J2000.0,
// AU; the Earth is the barycentre corrected for the Moon. Any other number gives zero.
TVector PlanetPositionJ2000(int32_t planet, Extended jd);

// Position of planet 0..8 (0 Earth .. 8 Pluto) at jd: AU, and longitude (-pi..pi), latitude
// and radius. Any other planet number gives a zero vector.
TRectSph PlanetPosition(int32_t planet, Extended jd);

}  // namespace kestrova
