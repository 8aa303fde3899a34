// The satellite theories: ranges of ids, the obliquity they are given, the bounds the series
// put on each orbit, the frames they turn through, and the change of reference plane.
#include "ephemerides/satellites.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "ephemerides/precession.h"
#include "numerics/mathematics.h"

namespace kestrova {
namespace {

using PositionFn = void (*)(int32_t, Extended, const TObliquity&, TVector&);

// The Uranian theory needs no obliquity; this takes one like the others.
void Uranus(int32_t id, Extended jd, const TObliquity&, TVector& v) {
  UranusMoonPosition(id, jd, v);
}

const TObliquity kEps2000 = MeanObliquity(JD2000Jan1);

// Dates from 1950 to 2050, not commensurate with any of the periods.
std::vector<Extended> Dates() {
  std::vector<Extended> d;
  for (Extended jd = JD1950Jan1; jd < 2469807.5L; jd += 17.3171L) d.push_back(jd);
  return d;
}

// Unit normal of an orbit with this node and inclination (degrees).
TVector OrbitPole(Extended node, Extended incl) {
  const Extended n = DegToRad(node), i = DegToRad(incl);
  return {std::sin(i) * std::sin(n), -std::sin(i) * std::cos(n), std::cos(i)};
}

Extended AngleDeg(const TVector& a, const TVector& b) {
  const Extended d = (a.x * b.x + a.y * b.y + a.z * b.z) / (VecLength(a) * VecLength(b));
  return RadToDeg(std::acos(std::fmin(1.0L, std::fmax(-1.0L, d))));
}

class SatellitesTest : public ::testing::Test {};

TEST_F(SatellitesTest, IdsOutsideEachRangeGiveZero) {
  struct Case {
    PositionFn fn;
    int32_t id;
  };
  const Case cases[] = {{JupiterMoonPosition, 139},
                        {JupiterMoonPosition, 144},
                        {JupiterMoonPosition, 156},
                        {SaturnMoonPosition, 155},
                        {SaturnMoonPosition, 168},
                        {SaturnMoonPosition, 140},
                        {Uranus, 169},
                        {Uranus, 175},
                        {Uranus, -170}};
  for (const Case& c : cases) {
    TVector v{1, 2, 3};
    c.fn(c.id, 2451545.0L, kEps2000, v);
    EXPECT_EQ(v, TVector{}) << c.id;
  }
  EXPECT_EQ(SaturnMoonElements(168, 2451545.0L, kEps2000), TOrbitalElements{});
  EXPECT_EQ(UranusMoonElements(169, 2451545.0L), TOrbitalElements{});
  EXPECT_EQ(JupiterMoonEquatorPosition(144, 2451545.0L), TVector{});
}

// A position depends on its arguments alone, whatever was computed before or in between.
TEST_F(SatellitesTest, RepeatedCallsAgreeWhateverWasComputedBetween) {
  const int32_t ids[] = {140, 143, 156, 163, 165, 166, 167, 170, 174};
  const Extended jd = 2458849.5L + 0.123L;
  const TObliquity eps = MeanObliquity(jd - 1);
  for (int32_t id : ids) {
    const PositionFn fn = id < 150 ? JupiterMoonPosition : id < 170 ? SaturnMoonPosition : Uranus;
    TVector first, second, other;
    fn(id, jd, eps, first);
    JupiterMoonPosition(141, jd + 3, MeanObliquity(jd + 2), other);
    SaturnMoonPosition(164, jd - 40, MeanObliquity(jd - 41), other);
    UranusMoonPosition(172, jd + 500, other);
    MeanObliquity(2400000.5L);
    fn(id, jd, eps, second);
    EXPECT_EQ(first, second) << id;
  }
}

// The two theories on the ecliptic of 1950 turn it with the obliquity they are given, which
// moves a satellite only slightly.
TEST_F(SatellitesTest, TheEclipticTheoriesTurnWithTheObliquityGiven) {
  const Extended jd = 2451545.0L;
  for (const auto& [fn, id] : {std::pair<PositionFn, int32_t>{JupiterMoonPosition, 143},
                               std::pair<PositionFn, int32_t>{SaturnMoonPosition, 166}}) {
    TVector a, b;
    fn(id, jd, MeanObliquity(JD1950Jan1), a);
    fn(id, jd, MeanObliquity(2469807.5L), b);
    EXPECT_NE(a, b) << id;
    EXPECT_LT(VecLength(VecSub(a, b)), 1e-3L * VecLength(a)) << id;
  }
}

TEST_F(SatellitesTest, RotateAboutAxisIsRightHanded) {
  struct Case {
    int axis;
    TVector in, out;
  };
  const Case cases[] = {
      {0, {0, 1, 0}, {0, 0, 1}},  {0, {0, 0, 1}, {0, -1, 0}}, {1, {0, 0, 1}, {1, 0, 0}},
      {1, {1, 0, 0}, {0, 0, -1}}, {2, {1, 0, 0}, {0, 1, 0}},  {2, {0, 1, 0}, {-1, 0, 0}},
  };
  for (const Case& c : cases) {
    TVector v = c.in;
    RotateAboutAxis(c.axis, v, Pi / 2);
    EXPECT_NEAR(v.x, c.out.x, 1e-18L) << c.axis;
    EXPECT_NEAR(v.y, c.out.y, 1e-18L) << c.axis;
    EXPECT_NEAR(v.z, c.out.z, 1e-18L) << c.axis;
  }
}

// Io's radius perturbation has a single term; the latitude series bound z; the turns to the
// ecliptic keep the distance.
TEST_F(SatellitesTest, GalileanOrbitsStayWithinTheirSeriesBounds) {
  const struct {
    int32_t id;
    Extended a, zBound;
  } cases[] = {{140, 0.002819347L, 0.0008873L},
               {141, 0.004485872L, 0.0089373L},
               {142, 0.007155352L, 0.0059248L},
               {143, 0.012585436L, 0.0126641L}};
  for (const auto& c : cases) {
    for (Extended jd : Dates()) {
      const TVector e = JupiterMoonEquatorPosition(c.id, jd);
      ASSERT_LE(std::fabs(e.z), c.zBound * c.a * (1 + 1e-15L)) << c.id << " " << jd;
      if (c.id == 140) {
        const Extended r = std::hypot(e.x, e.y);
        ASSERT_GE(r, c.a * (1 - 0.0041279L) * (1 - 1e-15L)) << jd;
        ASSERT_LE(r, c.a * (1 + 0.0041279L) * (1 + 1e-15L)) << jd;
      }
      TVector v;
      JupiterMoonPosition(c.id, jd, kEps2000, v);
      ASSERT_NEAR(VecLength(v), VecLength(e), 1e-15L * c.a) << c.id << " " << jd;
    }
  }
}

TEST_F(SatellitesTest, GalileanReferencePlaneHasJupitersPole) {
  for (Extended jd : {2433282.5L, 2451545.0L, 2469807.5L}) {
    const TVector p = JupiterEquatorToEcliptic1950({0, 0, 1}, jd);
    const TVector pole =
        SphToRect({DegToRad(247.2L), DegToRad(87.8L), 1});  // Jupiter's, on the 1950 ecliptic
    EXPECT_LT(AngleDeg(p, pole), 0.01L) << jd;
  }
}

TEST_F(SatellitesTest, SaturnsEquatorNear2000) {
  for (Extended jd : {2447892.5L, 2451545.0L, 2455197.5L}) {
    const TPlanetEquator eq = SaturnEquator(jd, MeanObliquity(jd));
    EXPECT_NEAR(eq.Inclination, 28.05L, 0.05L) << jd;
    EXPECT_NEAR(eq.Node, 169.5L, 0.1L) << jd;
  }
}

TEST_F(SatellitesTest, TrojanCompanionsShareTheirPrimarysOrbit) {
  const struct {
    int32_t id, primary;
    Extended offset;
  } cases[] = {{159, 158, 60}, {160, 158, -60}, {162, 161, 60}};
  for (const auto& c : cases) {
    for (Extended jd : {2433282.5L, 2451545.0L, 2460000.25L}) {
      TOrbitalElements el = SaturnMoonElements(c.id, jd, kEps2000);
      const TOrbitalElements primary = SaturnMoonElements(c.primary, jd, kEps2000);
      EXPECT_NEAR(el.MeanLongitude - primary.MeanLongitude, c.offset, 1e-9L) << c.id;
      el.MeanLongitude = primary.MeanLongitude;
      EXPECT_EQ(el, primary) << c.id;
    }
  }
}

// Rhea's eccentricity is the length of two rotating vectors of 0.001 and 0.00021.
TEST_F(SatellitesTest, RheasEccentricityStaysBetweenItsTwoTerms) {
  for (Extended jd : Dates()) {
    const Extended e = SaturnMoonElements(163, jd, kEps2000).Eccentricity;
    ASSERT_GE(e, 0.00079L - 1e-15L) << jd;
    ASSERT_LE(e, 0.00121L + 1e-15L) << jd;
  }
}

TEST_F(SatellitesTest, UranianOrbitsKeepTheirAxesAndEccentricityBounds) {
  const struct {
    int32_t id;
    Extended a, eMax, gammaMax;
  } cases[] = {{170, 0.0008683998L, 0.00162979L, 4.345L},
               {171, 0.0012769467L, 0.00204922L, 0.168L},
               {172, 0.0017789113L, 0.00521296L, 0.168L},
               {173, 0.0029179236L, 0.00284713L, 0.168L},
               {174, 0.0039020966L, 0.00314328L, 0.168L}};
  for (const auto& c : cases) {
    for (Extended jd : Dates()) {
      const TOrbitalElements el = UranusMoonEquatorElements(c.id, jd);
      ASSERT_NEAR(el.SemiMajorAxis, c.a, 1e-10L) << c.id;
      ASSERT_LE(el.Eccentricity, c.eMax) << c.id << " " << jd;
      ASSERT_LE(el.Inclination, c.gammaMax) << c.id << " " << jd;
      TVector v;
      UranusMoonPosition(c.id, jd, v);
      ASSERT_GE(VecLength(v), el.SemiMajorAxis * (1 - c.eMax)) << c.id << " " << jd;
      ASSERT_LE(VecLength(v), el.SemiMajorAxis * (1 + c.eMax)) << c.id << " " << jd;
    }
  }
}

TEST_F(SatellitesTest, TitaniaAtTheEpochOfTheTheory) {
  const TOrbitalElements el = UranusMoonEquatorElements(173, 2444239.5L);
  EXPECT_NEAR(el.MeanLongitude, 49.0657L, 1e-4L);
}

// The record on the Earth's equator must put Miranda's orbit 4.344 degrees from Uranus's
// equator (node 167.43, inclination 74.9), whose pole every other satellite hugs, with its node
// on that equator where the theory's q + i p points (5.7 radians at the epoch).
TEST_F(SatellitesTest, MirandasOrbitIsTiltedToUranussEquator) {
  const TVector equatorPole = OrbitPole(167.43L, 74.9L);
  {
    const TOrbitalElements miranda = UranusMoonElements(170, 2444239.5L);
    const TVector p = OrbitPole(miranda.Node, miranda.Inclination);
    const TVector& e = equatorPole;
    const TVector node{e.y * p.z - e.z * p.y, e.z * p.x - e.x * p.z, e.x * p.y - e.y * p.x};
    const TVector origin = OrbitPole(167.43L + 90, 90);  // the equator's own node
    const TVector cross{origin.y * node.z - origin.z * node.y,
                        origin.z * node.x - origin.x * node.z,
                        origin.x * node.y - origin.y * node.x};
    const Extended along =
        RadToDeg(ArcTan2(cross.x * e.x + cross.y * e.y + cross.z * e.z,
                         origin.x * node.x + origin.y * node.y + origin.z * node.z));
    EXPECT_NEAR(along + 360, RadToDeg(5.7L), 1e-6L);
  }
  for (Extended jd : {2444239.5L, 2451545.0L, 2469807.5L}) {
    const TOrbitalElements miranda = UranusMoonElements(170, jd);
    EXPECT_NEAR(AngleDeg(OrbitPole(miranda.Node, miranda.Inclination), equatorPole), 4.344L,
                0.001L);
    const TOrbitalElements oberon = UranusMoonElements(174, jd);
    EXPECT_LT(AngleDeg(OrbitPole(oberon.Node, oberon.Inclination), equatorPole), 0.168L);
  }
}

// A point of an orbit on a planet's equator, built by turning it onto the reference plane,
// must be where the changed elements place it.
TEST_F(SatellitesTest, ChangeElementPlaneKeepsEveryPointOfTheOrbit) {
  struct Case {
    Extended n, j, node, gamma, peri, lambda;
  };
  const Case cases[] = {
      {169.5L, 28.05L, 49.4L, 1.57L, 107, 128.8L},  // Mimas-like
      {167.43L, 74.9L, 320.2L, 4.344L, 182, -15},   // Miranda-like
      {10, 20, 10, 5, 40, 100},                     // nodes coincide: 0 / 0
      {10, 20, 190, 5, 40, 100},                    // opposite nodes
      {10, 3, 190, 5, 40, 100},                     // opposite, orbit tilted past it
      {10, 20, 77, 0, 40, 100},                     // orbit in the equator
      {200, 60, -1234.5L, 2, 10000, -5000},         // unreduced angles
  };
  for (const Case& c : cases) {
    const TPlaneElements p = ChangeElementPlane(c.n, c.j, c.node, c.gamma, c.peri, c.lambda);
    ASSERT_TRUE(std::isfinite(p.Inclination)) << c.node;
    EXPECT_NEAR(p.MeanLongitude - p.PericentreLongitude, c.lambda - c.peri, 1e-9L);
    for (Extended along : {c.peri, c.lambda}) {
      TVector v{std::cos(DegToRad(along - c.node)), std::sin(DegToRad(along - c.node)), 0};
      RotateAboutAxis(0, v, DegToRad(c.gamma));
      RotateAboutAxis(2, v, DegToRad(c.node - c.n));
      RotateAboutAxis(0, v, DegToRad(c.j));
      RotateAboutAxis(2, v, DegToRad(c.n));
      TOrbitalElements el;
      el.Inclination = p.Inclination;
      el.Node = p.Node;
      el.PerihelionLongitude = p.PericentreLongitude;
      el.MeanLongitude = p.PericentreLongitude + (along - c.peri);
      el.SemiMajorAxis = 1;
      const TVector w = KeplerPosition(el, 0);
      EXPECT_NEAR(w.x, v.x, 1e-12L) << c.node << " " << along;
      EXPECT_NEAR(w.y, v.y, 1e-12L) << c.node << " " << along;
      EXPECT_NEAR(w.z, v.z, 1e-12L) << c.node << " " << along;
    }
  }
}

TEST_F(SatellitesTest, ChangeElementPlaneLimits) {
  // An orbit almost in the equator takes the equator's node and inclination.
  const TPlaneElements flat = ChangeElementPlane(169.5L, 28, 300, 1e-9L, 120, 250);
  EXPECT_NEAR(flat.Inclination, 28, 1e-8L);
  EXPECT_NEAR(flat.Node, 169.5L, 1e-8L);
  EXPECT_NEAR(flat.PericentreLongitude, 120, 1e-8L);
  EXPECT_NEAR(flat.MeanLongitude, 250, 1e-8L);

  // Where the two nodes coincide or oppose, the inclinations add or subtract.
  struct Case {
    Extended node, j, gamma, incl;
  };
  const Case cases[] = {
      {50, 20, 5, 25}, {230, 20, 5, 15}, {230, 3, 5, 2}, {50, 20, 0, 20}, {-310, 20, 5, 25}};
  for (const Case& c : cases) {
    const Extended incl = ChangeElementPlane(50, c.j, c.node, c.gamma, 0, 0).Inclination;
    EXPECT_NEAR(incl, c.incl, 1e-12L) << c.node << " " << c.j << " " << c.gamma;
    // ... and the inclination runs on continuously from there.
    const Extended near = ChangeElementPlane(50, c.j, c.node + 1e-7L, c.gamma, 0, 0).Inclination;
    EXPECT_NEAR(near, c.incl, 1e-6L) << c.node;
  }
}

}  // namespace
}  // namespace kestrova
