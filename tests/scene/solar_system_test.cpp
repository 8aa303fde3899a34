#include "scene/solar_system.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "ephemerides/kepler_orbits.h"
#include "ephemerides/planet_positions.h"
#include "numerics/mathematics.h"
#include "scene/recording_surface.h"
#include "streams/value_stream.h"
#include "support/scene_date.h"

namespace kestrova {
namespace {

// The planet theory may touch the frame caches; positions agree to far below a metre.
void ExpectNear(const TVector& a, const TVector& b) {
  EXPECT_NEAR(a.x, b.x, 1e-14L);
  EXPECT_NEAR(a.y, b.y, 1e-14L);
  EXPECT_NEAR(a.z, b.z, 1e-14L);
}

TEST(SolarSystem, StartsWithItsBodiesInOrderAndTheInitialView) {
  TSolarSystem scene{TestStartDate()};
  ASSERT_EQ(scene.PlanetsList().Count(), 9);
  const int satellites[9] = {1, 0, 0, 0, 4, 12, 5, 0, 0};
  const TColor colors[9] = {0xFF0000, 0x0080FF, 0xFFFFFF, 0x0000FF, 0x808000,
                            0xC0C0C0, 0xFFFF00, 0xFFA0A0, 0xA0A0A0};
  for (int32_t i = 0; i < 9; ++i) {
    const TPlanet& p = scene.Planet(i);
    EXPECT_EQ(p.Id, i);
    EXPECT_EQ(p.Color, colors[i]);
    ASSERT_EQ(p.Satellites.Count(), satellites[i]) << i;
    for (int32_t j = 0; j < p.Satellites.Count(); ++j) {
      EXPECT_EQ(p.Satellites.Get(j).Color, 0x008080u);
      EXPECT_EQ(p.Satellites.Get(j).Planet, &p);
    }
  }
  EXPECT_EQ(scene.Planet(kEarth).Satellites.Get(0).Id, kMoonId);
  EXPECT_EQ(scene.Planet(kSaturn).Satellites.Get(11).Name, "Phoebe");
  EXPECT_EQ(scene.Planet(kUranus).Satellites.Get(0).Id, 170);
  EXPECT_EQ(scene.Dim(), 2);
  EXPECT_EQ(scene.GridStep(), 0.5L);
  EXPECT_EQ(scene.XMin(), -2);
  EXPECT_NEAR(scene.RotX(), 0.7853981633974483L, 1e-17L);
  EXPECT_EQ(scene.RotY(), 0);
  EXPECT_EQ(scene.Plane(), TPlane::D3);
  EXPECT_EQ(scene.CenterObject(), kSunIndex);
  EXPECT_FALSE(scene.CanShowObjects());
  EXPECT_EQ(scene.SceneDate().Zone, 0);
  // The present moment has been computed.
  EXPECT_NE(scene.Planet(kPluto).Pos, TVector{});
}

TEST(SolarSystem, DimSetsTheGridStepAndIgnoresValuesOutOfRange) {
  struct Case {
    Extended dim;
    Extended dim_after;
    Extended step;
  };
  const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
  const Case cases[] = {{2, 2, 0.5L},
                        {100, 100, 20},
                        {50, 50, 10},
                        {0.003L, 0.003L, 0.001L},
                        {0.001L, 0.001L, 0.001L},
                        {7, 7, 1},
                        {100.0001L, 2, 0.5L},
                        {0.0009L, 2, 0.5L},
                        {nan, 2, 0.5L}};
  for (const Case& c : cases) {
    TSolarSystem scene{TestStartDate()};
    scene.SetDim(c.dim);
    EXPECT_EQ(scene.Dim(), c.dim_after) << static_cast<double>(c.dim);
    EXPECT_EQ(scene.GridStep(), c.step) << static_cast<double>(c.dim);
    EXPECT_EQ(scene.YMax(), c.dim_after);
  }
}

TEST(SolarSystem, SetDateDecidesWhetherMinorBodiesMayBeShown) {
  TSolarSystem scene{TestStartDate()};
  for (int32_t year : {1949, 1950, 2050, 2051}) {
    scene.SetDate({15, 6, year, 12, 0, 0, 0});
    EXPECT_EQ(scene.CanShowObjects(), year >= 1950 && year <= 2050) << year;
  }
}

// Relations that hold whatever the planet, Moon and satellite theories give.
TEST(SolarSystem, RecomputeForAKnownDate) {
  TSolarSystem scene{TestStartDate()};
  TAsteroid& ceres = static_cast<TAsteroid&>(scene.AsteroidsList().Add(std::make_unique<TAsteroid>(
      "Ceres", TOrbitalElements{2451545.0L, 10.6L, 80.3L, 153.9L, 2.766L, 0.2141L, 0.0785L, 200},
      0)));
  const TDateRec date{1, 7, 2031, 6, 30, 0, 0};
  scene.SetDate(date);
  const Extended jd = DateToJD(date);
  const TVector earth = PlanetPosition(kEarth, jd).Rect;
  ExpectNear(scene.Planet(kEarth).Pos, earth);
  ExpectNear(scene.Planet(kJupiter).Pos, PlanetPosition(kJupiter, jd).Rect);

  const TPlanet& pluto = scene.Planet(kPluto);
  const TOrbitalElements pe = MeanPlanetElements(kPluto, 0, jd);
  EXPECT_EQ(pluto.Pos, KeplerPosition(pe, jd));
  EXPECT_EQ(pluto.Period, 360 / pe.DailyMotion);
  // Sample 360 is one period after sample 1: the same point of the orbit.
  EXPECT_LT(VecLength(VecSub(pluto.GetOrbitPoint(360), pluto.GetOrbitPoint(1))), 1e-8L);

  const TPlanet& mars = scene.Planet(kMars);
  EXPECT_EQ(mars.Elements, MeanPlanetElements(kMars, 0, jd));
  const Extended t = jd + 360 * (mars.Period / 359);
  EXPECT_LT(VecLength(VecSub(mars.GetOrbitPoint(360), KeplerPosition(mars.Elements, t))), 1e-14L);

  const auto& moon = static_cast<const TEarthMoon&>(scene.Planet(kEarth).Satellites.Get(0));
  EXPECT_NEAR(moon.SemiMajorAxis, 384466.5259L, 1e-4L);
  EXPECT_EQ(ceres.Pos, KeplerPosition(ceres.Elements, jd));

  scene.SetCenterObject(kPluto);
  EXPECT_EQ(scene.CenterPos(), pluto.Pos);
  scene.SetCenterObject(kMars);
  EXPECT_EQ(scene.CenterPos(), mars.Pos);
}

TEST(SolarSystem, CenterObjectOutOfRangeIsIgnoredWithoutRecompute) {
  TSolarSystem scene{TestStartDate()};
  scene.SetCenterObject(kPluto);
  TPlanet& pluto = scene.Planet(kPluto);
  pluto.Pos = {1, 2, 3};  // a recompute would put it back
  for (int32_t bad : {10, -1}) {
    scene.SetCenterObject(bad);
    EXPECT_EQ(scene.CenterObject(), kPluto);
    EXPECT_EQ(pluto.Pos, (TVector{1, 2, 3}));
  }
}

// The data file's bodies are computed in one batch, on every core for a list this long, and
// each agrees with its own Calculate; the batch runs again only for another date or another
// list, not for a recompute that changes neither (a new centre, the same date again).
TEST(SolarSystem, FullListOncePerDateAndList) {
  TSolarSystem scene{TestStartDate()};
  const TDateRec date{1, 7, 2031, 6, 30, 0, 0};
  scene.SetDate(date);
  TFullList& full = scene.AsteroidsFullList();
  constexpr int kBodies = 120000;
  std::vector<TOrbitalElements> elements;
  for (int i = 0; i < kBodies; ++i) {
    TOrbitalElements el;
    el.Epoch = 2460600.5L - (i % 9000);
    el.SemiMajorAxis = 0.6L + 0.0001L * i;
    el.Eccentricity = (i % 100) / 101.0L;  // up to 0.98: both paths
    el.Inclination = i % 170;
    el.Node = (i * 37) % 360;
    el.PerihelionLongitude = (i * 71) % 360;
    el.MeanLongitude = (i * 13) % 360;
    el.DailyMotion = 0.9856262L / (el.SemiMajorAxis * std::sqrt(el.SemiMajorAxis));
    elements.push_back(el);
    full.Add(el);
  }
  auto expectComputed = [&](Extended jd) {
    for (int i = 0; i < kBodies; i += 997) {
      TOEObject alone("", elements[size_t(i)], 0, kMinorBodyId);
      alone.Calculate(jd);
      ASSERT_LT(VecLength(VecSub(ToVector(full.Pos(i)), alone.Pos)), 1e-12L * VecLength(alone.Pos))
          << i;
    }
  };
  scene.Recompute();
  expectComputed(DateToJD(date));

  const TVectorD marker{9, 9, 9};
  full.Positions()[0] = marker;
  scene.SetCenterObject(kMars);
  scene.SetDate(date);
  EXPECT_EQ(full.Pos(0), marker);

  // A body more: every body is computed again.
  full.Add(elements[5]);
  scene.Recompute();
  EXPECT_NE(full.Pos(0), marker);
  EXPECT_EQ(full.Pos(kBodies), full.Pos(5));

  full.Positions()[0] = marker;
  const TDateRec later{2, 7, 2031, 6, 30, 0, 0};
  scene.SetDate(later);
  expectComputed(DateToJD(later));
}

TEST(SolarSystem, ObjectColorsRecolourTheirKind) {
  TSolarSystem scene{TestStartDate()};
  scene.AsteroidsList().Add(std::make_unique<TAsteroid>("a", TOrbitalElements{}, 1));
  scene.AsteroidsFullList().Add(TOrbitalElements{});
  scene.AsteroidsFullList().SetColor(2);
  scene.SetObjectColor(11, 0x123456);
  EXPECT_EQ(scene.AsteroidsList().Get(0).Color, 0x123456u);
  EXPECT_EQ(scene.AsteroidsFullList().Color(), 0x123456u);
  scene.SetObjectColor(12, 0x654321);
  int recoloured = 0;
  for (int32_t i = 0; i < 9; ++i) {
    const TPlanet& p = scene.Planet(i);
    for (int32_t j = 0; j < p.Satellites.Count(); ++j) {
      recoloured += p.Satellites.Get(j).Color == 0x654321u;
    }
  }
  EXPECT_EQ(recoloured, 22);
  scene.SetObjectColor(3, 0xABCDEF);
  EXPECT_EQ(scene.Planet(kMars).Color, 0xABCDEFu);
  scene.SetObjectColor(9, 0x000001);
  EXPECT_EQ(scene.GetObjectColor(9), 0x000001u);
  EXPECT_EQ(scene.GetObjectColor(13), 0u);
  scene.SetObjectColor(13, 0x000002);  // no such index: nothing happens
}

TEST(SolarSystem, ElongationAtCenter) {
  TSolarSystem scene{TestStartDate()};
  EXPECT_EQ(scene.ElongationAtCenter({1, 0, 0}), -99);  // centre on the Sun
  scene.SetCenterObject(kPluto);
  const TVector c = scene.CenterPos();
  EXPECT_EQ(scene.ElongationAtCenter(c), -99);
  EXPECT_NEAR(scene.ElongationAtCenter({0, 0, 0}), 0, 1e-9L);
  // Points in line with the Sun and the centre: rounding must not leave the arc cosine's range.
  for (Extended f : {2.0L, 3.0L, 7.0L, 0.3L, -1.0L, -2.5L}) {
    const Extended e = scene.ElongationAtCenter(VecScale(c, f));
    ASSERT_FALSE(std::isnan(e)) << static_cast<double>(f);
    EXPECT_NEAR(e, f > 1 ? Pi : 0, 1e-6L) << static_cast<double>(f);
  }
  // A point off to the side at the centre's own distance from the centre: a right angle.
  const TVector side = VecAdd(c, {-c.y, c.x, 0});
  EXPECT_NEAR(scene.ElongationAtCenter(side), Pi / 2, 1e-12L);
}

// Paint borrows its surface for the call: it clips to the viewport, keeps nothing, and a
// repaint only asks the window showing the scene for one. The document's drawing area is what
// the window reports, whatever was painted off screen.
TEST(SolarSystem, PaintClipsToItsViewportAndKeepsNoSurface) {
  TSolarSystem scene{TestStartDate()};
  TRecordingSurface screen, picture;
  scene.Repaint();  // no window: nothing happens
  scene.SetShownArea(TRect{0, 0, 588, 588});
  const TViewport onScreen{TRect{0, 0, 588, 588}, 0, 2};
  scene.Paint(screen, onScreen);
  const TVector mars = scene.Planet(kMars).Pos;
  const TPoint before = scene.Project(mars, onScreen);

  scene.Paint(picture, TViewport{TRect{40, 50, 3840, 3844}, 2, 1});
  const auto clips = picture.CallsOf(SurfaceOp::Clip);
  ASSERT_EQ(clips.size(), 1u);
  EXPECT_EQ(clips[0].X1, 40);
  EXPECT_EQ(clips[0].Y2 - clips[0].Y1, 3844);
  EXPECT_EQ(scene.Project(mars, onScreen), before);
  EXPECT_EQ(scene.Width(), 588);
  EXPECT_EQ(scene.Left(), 0);

  screen.Clear();
  picture.Clear();
  int asked = 0;
  scene.SetRepaintHook([&] { ++asked; });
  scene.Repaint();
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(screen.Calls().empty());
  EXPECT_TRUE(picture.Calls().empty());
}

TEST(SolarSystem, PropertiesByName) {
  TSolarSystem scene{TestStartDate()};
  scene.SetProperty("ShowApsides", true);
  EXPECT_TRUE(scene.ShowApsides());
  scene.SetProperty("Dim", Extended{5});
  scene.SetProperty("Dim", int32_t{500});  // the setter's rule holds
  EXPECT_EQ(std::get<Extended>(scene.GetProperty("Dim")), 5);
  scene.SetProperty("RotY", Extended{30});
  EXPECT_NEAR(std::get<Extended>(scene.GetProperty("RotY")), 30, 1e-15L);
  EXPECT_NEAR(scene.ViewMatrix().M[0][2], std::sin(DegToRad(30.0L)), 1e-15L);
  scene.SetProperty("Plane", int32_t{0x102});  // the low 8 bits
  EXPECT_EQ(scene.Plane(), TPlane::ZY);
  scene.SetProperty("BgColor", int32_t{0x0A0B0C});
  EXPECT_EQ(scene.BgColor(), 0x0A0B0Cu);
  EXPECT_EQ(std::get<int32_t>(scene.GetProperty("GridColor")), 0x505050);
  EXPECT_EQ(std::get<bool>(scene.GetProperty("CanShowObjects")), false);
  EXPECT_THROW(scene.SetProperty("Width", int32_t{3}), EInvalidValue);
  EXPECT_THROW(scene.SetProperty("ShowSun", int32_t{1}), EInvalidValue);
  EXPECT_THROW(scene.GetProperty("NoSuchThing"), EKestrovaError);
}

}  // namespace
}  // namespace kestrova
