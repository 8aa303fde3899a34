// Placeholder: the drawing passes are being written.
#include "scene/solar_system.h"

namespace kestrova {

void TSolarSystem::DrawBackground() {}
void TSolarSystem::DrawOrbitPass() {}
void TSolarSystem::DrawBodiesPass() {}
void TSolarSystem::DrawUserLine(const TDirection&) {}

}  // namespace kestrova
