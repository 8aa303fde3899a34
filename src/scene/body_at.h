// The body the screen shows at a pixel: what lies under the mouse in the drawing area.
#pragma once

#include <cstdint>

#include "model/astronomical_objects.h"
#include "scene/surface.h"

namespace kestrova {

class TSolarSystem;

// The planet, satellite or picked minor body whose disc, as Paint draws it in `viewport`, is
// nearest to pixel (x, y), counting discs whose edge lies within `slack` pixels; nullptr when there
// is none. Only bodies that Paint draws count (visible, in range, inside the rectangle, minor
// bodies only for a date they can be shown for); of equally near ones the one drawn last wins.
const TAstronomialObject* BodyAt(const TSolarSystem& scene, const TViewport& viewport, int32_t x,
                                 int32_t y, int32_t slack = 3);

}  // namespace kestrova
