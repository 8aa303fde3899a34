// The body under a pixel of the screen: only what Paint drew counts.
#include "scene/body_at.h"

#include <gtest/gtest.h>

#include <cmath>

#include "scene/solar_system.h"
#include "support/scene_date.h"

namespace kestrova {
namespace {

const TViewport kScreen{TRect{0, 0, 500, 500}, 0, 2};

std::string NameAt(const TSolarSystem& scene, const TVector& p, int dx = 0) {
  const TPoint pt = scene.Project(p, kScreen);
  const TAstronomialObject* body = BodyAt(scene, kScreen, pt.x + dx, pt.y);
  return body ? body->Name : "";
}

TEST(BodyAt, FindsWhatPaintDrew) {
  TSolarSystem scene(TestStartDate());
  scene.SetDate(TestStartDate());
  scene.SetPlane(TPlane::XY);
  const TPlanet& earth = scene.Planet(0);
  EXPECT_EQ(NameAt(scene, earth.Pos), "Earth");
  EXPECT_EQ(NameAt(scene, earth.Pos, 4), "Earth");
  EXPECT_EQ(NameAt(scene, earth.Pos, 30), "");
  scene.Planet(0).Visible = false;
  EXPECT_EQ(NameAt(scene, earth.Pos), "");
  scene.Planet(0).Visible = true;

  // Near Jupiter its satellites are told apart, and only while satellites are shown.
  scene.SetCenterObject(4);
  scene.SetDim(0.02L);
  const TPlanet& jupiter = scene.Planet(4);
  const TSatellite& io = jupiter.Satellites.Get(0);
  const TVector ioPos = VecAdd(io.Pos, jupiter.Pos);
  EXPECT_EQ(NameAt(scene, ioPos), io.Name);
  scene.SetShowSatellites(false);
  EXPECT_NE(NameAt(scene, ioPos), io.Name);

  // A picked minor body only for a date it can be shown for.
  TOrbitalElements e;
  e.Epoch = 2451545.0L;
  e.SemiMajorAxis = 1.2L;
  e.DailyMotion = 0.9856076686L / std::pow(1.2L, 1.5L);
  scene.SetCenterObject(9);
  scene.SetDim(2);
  scene.AsteroidsList().Add(std::make_unique<TAsteroid>("Icarus", e, 0x008080));
  scene.Recompute();
  const TVector icarus = scene.AsteroidsList().Get(0).Pos;
  EXPECT_EQ(NameAt(scene, icarus), "Icarus");
  scene.SetDate({1, 1, 2060, 0, 0, 0, 0});
  EXPECT_NE(NameAt(scene, scene.AsteroidsList().Get(0).Pos), "Icarus");
}

}  // namespace
}  // namespace kestrova
