// The floating type of all astronomical arithmetic: the x87 80-bit extended format.
#pragma once

#include <limits>

namespace kestrova {

using Extended = long double;

static_assert(std::numeric_limits<Extended>::digits == 64 &&
                  std::numeric_limits<Extended>::max_exponent == 16384,
              "Extended must be the 80-bit x87 format (long double on x86-64)");

}  // namespace kestrova
