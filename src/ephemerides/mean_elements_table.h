// Mean elements of the planets Earth..Neptune as cubic polynomials in Julian centuries.
#pragma once

#include "numerics/extended.h"

namespace kestrova {

// [frame: 0 mean equinox of date, 1 J2000.0][planet 0..7]
// [element: mean longitude, a, e, inclination, node, perihelion longitude][c0..c3]
extern const Extended kMeanElementCoefs[2][8][6][4];

}  // namespace kestrova
