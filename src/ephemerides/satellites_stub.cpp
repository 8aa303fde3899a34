// Placeholder until the satellite theories land: every position is the zero vector.
#include "ephemerides/satellites.h"

namespace kestrova {

void JupiterMoonPosition(int32_t, Extended, TVector& v) {
  v = {};
}
void SaturnMoonPosition(int32_t, Extended, TVector& v) {
  v = {};
}
void UranusMoonPosition(int32_t, Extended, TVector& v) {
  v = {};
}

}  // namespace kestrova
