// Placeholder until the planet theory lands.
#include "ephemerides/planet_positions.h"
#include "ephemerides/planet_theory.h"

namespace kestrova {

extern "C" int Plan404(TPlan404Data*) {
  return -1;
}
TRectSph PlanetPosition(int32_t, Extended) {
  return {};
}

}  // namespace kestrova
