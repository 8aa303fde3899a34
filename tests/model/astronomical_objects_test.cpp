#include "model/astronomical_objects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "ephemerides/kepler_orbits.h"
#include "ephemerides/moon.h"
#include "ephemerides/planet_positions.h"

namespace kestrova {
namespace {

TEST(Bodies, ConstructionTakesTableDataAndComputesNothing) {
  TPlanet jupiter(kJupiter, 0x808000);
  EXPECT_EQ(jupiter.Name, "Jupiter");
  EXPECT_EQ(jupiter.Pos, TVector{});
  EXPECT_TRUE(jupiter.Visible);
  EXPECT_EQ(jupiter.Diameter, 142984.0L / 149597870.0L);
  EXPECT_EQ(jupiter.Period, 360 / jupiter.Elements.DailyMotion);
  EXPECT_FALSE(jupiter.RotationRetrograde());
  EXPECT_TRUE(TPlanet(kVenus, 0).RotationRetrograde());

  jupiter.Satellites.Add(std::make_unique<TJupiterMoon>(140, &jupiter, 1));
  jupiter.Satellites.Add(std::make_unique<TJupiterMoon>(141, &jupiter, 1));
  TSatellite* europa = jupiter.FindSatellite(141);
  ASSERT_NE(europa, nullptr);
  EXPECT_EQ(europa->Name, "Europa");
  EXPECT_EQ(europa->Code, "J II");
  EXPECT_EQ(europa->Planet, &jupiter);
  EXPECT_EQ(europa->Mass, 2.52e-05L * 1.8988e27L);
  EXPECT_EQ(jupiter.FindSatellite(156), nullptr);

  TPlanet saturn(kSaturn, 0);
  TSaturnMoon telesto(159, &saturn, 0);
  EXPECT_EQ(telesto.Name, "Telesto");
  EXPECT_EQ(telesto.Mass, 0);
  EXPECT_EQ(telesto.Period, 1.888L);

  TPlanet earth(kEarth, 0);
  TEarthMoon moon(0, &earth);
  EXPECT_EQ(moon.Id, kMoonId);
  EXPECT_EQ(moon.Code, "");
  EXPECT_EQ(moon.SemiMajorAxis, 384400.0L);
}

TEST(Bodies, MinorBodySamplesOneRevolution) {
  const TOrbitalElements e{2451545.0L, 10.6L, 80.3L, 153.9L, 2.766L, 0.2141L, 0.0785L, 200.0L};
  TAsteroid ceres("Ceres", e, 0);
  const Extended jd = 2460676.5L;
  ceres.Calculate(jd);
  EXPECT_EQ(ceres.Pos, KeplerPosition(e, jd));
  const Extended step = (360 / e.DailyMotion) / 359;
  // Samples are only drawn, and held in double precision.
  EXPECT_LT(VecLength(VecSub(ceres.GetOrbitPoint(1), KeplerPosition(e, jd + step))), 1e-14L);
  // Sample 360 lies one period after sample 1, on top of it.
  const TVector d = VecSub(ceres.GetOrbitPoint(360), ceres.GetOrbitPoint(1));
  EXPECT_LT(VecLength(d), 1e-9L);
  EXPECT_GT(VecLength(VecSub(ceres.GetOrbitPoint(180), ceres.GetOrbitPoint(1))), 1);
}

// Without a period the orbit collapses onto the body instead of filling with non-numbers.
TEST(Bodies, BodyWithoutDailyMotionHasAllSamplesAtItsPosition) {
  const TOrbitalElements e{2451545.0L, 5, 40, 90, 1.5L, 0, 0.1L, 120};
  TAsteroid still("still", e, 0);
  still.Calculate(2460676.5L);
  ASSERT_TRUE(std::isfinite(still.Pos.x));
  for (int k = 1; k <= 360; ++k) ASSERT_EQ(still.GetOrbitPoint(k), ToVector(ToVectorD(still.Pos)));
}

// The samples belong to the date of the last Calculate, whenever they are first asked for; fixed
// samples stand until the next Calculate.
TEST(Bodies, SamplesFollowTheLastCalculate) {
  const TOrbitalElements e{2451545.0L, 10.6L, 80.3L, 153.9L, 2.766L, 0.2141L, 0.0785L, 200.0L};
  const Extended step = (360 / e.DailyMotion) / 359;
  TAsteroid ceres("Ceres", e, 0);
  for (const Extended jd : {2460676.5L, 2400000.5L}) {
    ceres.Calculate(jd);
    EXPECT_LT(VecLength(VecSub(ceres.GetOrbitPoint(1), KeplerPosition(e, jd + step))), 1e-14L);
  }
  TOrbitRing fixed{};
  fixed[0] = {1, 2, 3};
  ceres.SetOrbitPoints(fixed);
  EXPECT_EQ(ceres.GetOrbitPoint(1), (TVector{1, 2, 3}));
  ceres.Calculate(2460676.5L);
  EXPECT_LT(VecLength(VecSub(ceres.GetOrbitPoint(1), KeplerPosition(e, 2460676.5L + step))),
            1e-14L);

  // The same for a satellite, whose samples come from its theory.
  TPlanet jupiter(kJupiter, 0);
  TJupiterMoon io(140, &jupiter, 0);
  io.Calculate(2460676.5L);
  const TVector first = io.GetOrbitPoint(1);
  io.Calculate(2460680.5L);
  EXPECT_GT(VecLength(VecSub(io.GetOrbitPoint(1), first)), 1e-4L);
  io.Calculate(2460676.5L);
  EXPECT_EQ(io.GetOrbitPoint(1), first);
}

// The spherical form of a position is formed when read, as the theory that gave the position
// forms it: the planet theory and the Moon with ArcSin(z / r), Kepler orbits with RectToSph.
TEST(Bodies, SphericalPositionAsTheTheoryFormsIt) {
  const Extended jd = 2460676.5L;
  TPlanet mars(kMars, 0);
  EXPECT_EQ(mars.SphPos(), TSpherical{});
  mars.Calculate(jd);
  EXPECT_EQ(mars.SphPos(), PlanetPosition(kMars, jd).Sph);
  TPlanet pluto(kPluto, 0);
  pluto.Calculate(jd);
  EXPECT_EQ(pluto.SphPos(), KeplerPositionSph(pluto.Elements, jd).Sph);
  const TOrbitalElements e{2451545.0L, 10.6L, 80.3L, 153.9L, 2.766L, 0.2141L, 0.0785L, 200.0L};
  TOEObject ceres("Ceres", e, 0, kMinorBodyId);
  ceres.Calculate(jd);
  EXPECT_EQ(ceres.SphPos(), KeplerPositionSph(e, jd).Sph);

  TPlanet earth(kEarth, 0);
  TEarthMoon moon(0, &earth);
  moon.Calculate(jd);
  EXPECT_EQ(moon.SphPos(), MoonPosition(jd, true, false, false).Sph);
  TPlanet jupiter(kJupiter, 0);
  TJupiterMoon io(140, &jupiter, 0);
  io.Calculate(jd);
  EXPECT_EQ(io.SphPos(), TSpherical{});
}

TEST(Bodies, MoonTakesTheMeanOrbitAtEveryDate) {
  TPlanet earth(kEarth, 0);
  TEarthMoon moon(0, &earth);
  for (Extended jd : {2451545.0L, 2460676.5L}) {
    moon.Calculate(jd);
    EXPECT_NEAR(moon.SemiMajorAxis, 384466.5259L, 1e-4L);
    EXPECT_GE(moon.NodeLongitude, 0);
    EXPECT_LE(moon.NodeLongitude, 360);
  }
}

}  // namespace
}  // namespace kestrova
