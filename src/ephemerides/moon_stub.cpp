// Placeholder until the lunar theory lands.
#include "ephemerides/moon.h"

namespace kestrova {

TRectSph MoonPosition(Extended, bool, bool, bool) {
  return {};
}
TMoonMeanOrbit MoonMeanOrbit(Extended) {
  return {0, 0, 0, 0.00257L, 0.0549L, 0};
}

}  // namespace kestrova
