// Placeholder: the orbit and bodies passes and the user-defined lines are being written.
#include "scene/solar_system.h"

namespace kestrova {

void TSolarSystem::DrawOrbitPass() {}
// The Sun is the last step of the bodies pass; it already shows while the rest is missing.
void TSolarSystem::DrawBodiesPass() {
  DrawSun();
}
void TSolarSystem::DrawUserLine(const TDirection&) {}

}  // namespace kestrova
