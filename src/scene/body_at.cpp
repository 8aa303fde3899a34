#include "scene/body_at.h"

#include <cmath>

#include "scene/drawing_primitives.h"
#include "scene/solar_system.h"

namespace kestrova {

namespace {

class TNearest {
 public:
  TNearest(const TSolarSystem& scene, const TViewport& viewport, int32_t x, int32_t y,
           int32_t slack)
      : scene_(scene), viewport_(viewport), x_(x), y_(y), slack_(slack) {}

  // A body drawn as a disc of radius r around the projection of p.
  void Offer(const TAstronomialObject& body, const TVector& p, int32_t r) {
    const TPoint pt = scene_.Project(p, viewport_);
    if (!InRect(viewport_.Rect, pt.x, pt.y)) return;
    const double gap = std::hypot(double(pt.x) - x_, double(pt.y) - y_) - r;
    if (gap <= slack_ && (best_ == nullptr || gap <= gap_)) {
      best_ = &body;
      gap_ = gap;
    }
  }

  const TAstronomialObject* Best() const { return best_; }

 private:
  const TSolarSystem& scene_;
  TViewport viewport_;
  int32_t x_, y_, slack_;
  const TAstronomialObject* best_ = nullptr;
  double gap_ = 0;
};

// A planet's disc: its true size, at least the device's dot.
int32_t PlanetRadius(const TSolarSystem& scene, const TViewport& viewport, const TPlanet& planet) {
  const int32_t smallest = DotRadius(viewport);
  const Extended r = Extended(viewport.Rect.Width) * planet.Diameter / (scene.Dim() * 4);
  if (!(r >= smallest)) return smallest;
  return r < 1e6L ? int32_t(std::lround(double(r))) : 1000000;
}

}  // namespace

const TAstronomialObject* BodyAt(const TSolarSystem& scene, const TViewport& viewport, int32_t x,
                                 int32_t y, int32_t slack) {
  TNearest nearest(scene, viewport, x, y, slack);
  const int32_t dot = DotRadius(viewport);
  for (const auto& item : scene.PlanetsList().Items()) {
    const auto* planet = dynamic_cast<const TPlanet*>(item.get());
    if (planet == nullptr || !planet->Visible || !scene.IsInRange(planet->Pos)) continue;
    if (scene.ShowSatellites()) {
      for (const auto& sat : planet->Satellites.Items()) {
        if (!sat->Visible || sat->PlanetDistance() < scene.Dim() / 200) continue;
        nearest.Offer(*sat, VecAdd(sat->Pos, planet->Pos), dot);
      }
    }
    nearest.Offer(*planet, planet->Pos, PlanetRadius(scene, viewport, *planet));
  }
  if (scene.CanShowObjects()) {
    for (const auto& body : scene.AsteroidsList().Items())
      if (body->Visible && scene.IsInRange(body->Pos)) nearest.Offer(*body, body->Pos, dot);
  }
  return nearest.Best();
}

}  // namespace kestrova
