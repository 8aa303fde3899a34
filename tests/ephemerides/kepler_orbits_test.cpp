#include "ephemerides/kepler_orbits.h"

#include <gtest/gtest.h>

#include <cmath>

#include "ephemerides/precession.h"
#include "numerics/julian_dates.h"
#include "numerics/mathematics.h"

namespace kestrova {
namespace {

TOrbitalElements Orbit(Extended e, Extended incl, Extended meanLon) {
  TOrbitalElements el;
  el.Epoch = 2451545.0L;
  el.Inclination = incl;
  el.Node = 40;
  el.PerihelionLongitude = 100;
  el.SemiMajorAxis = 2.5L;
  el.DailyMotion = 0.9856076686L / (2.5L * std::sqrt(2.5L));
  el.Eccentricity = e;
  el.MeanLongitude = meanLon;
  return el;
}

TEST(KeplerOrbits, CircularAndPerihelionPositions) {
  // e = 0: the true anomaly equals the mean anomaly and the radius is a.
  const TOrbitalElements circle = Orbit(0, 0, 130);
  const TVector p = KeplerPosition(circle, circle.Epoch);
  EXPECT_NEAR(VecLength(p), 2.5L, 1e-17L);
  EXPECT_EQ(p.z, 0);
  EXPECT_NEAR(RadToDeg(std::atan2(p.y, p.x)), 130, 1e-13L);

  // At the epoch with mean longitude = perihelion longitude the body is at perihelion.
  const TOrbitalElements ellipse = Orbit(0.3L, 12, 100);
  const TRectSph peri = KeplerPositionSph(ellipse, ellipse.Epoch);
  EXPECT_NEAR(peri.Sph.R, 2.5L * 0.7L, 1e-17L);
}

TEST(KeplerOrbits, ExactlyFourNewtonStepsForHighEccentricity) {
  // e = 0.9, M = 0.1 rad: four steps from E = M leave a visible residual; the position must
  // follow the four-step anomaly, not the converged one.
  const Extended e = 0.9L;
  const Extended m = 0.1L;
  TOrbitalElements el = Orbit(e, 0, 0);
  el.Node = 0;
  el.PerihelionLongitude = 0;
  el.MeanLongitude = RadToDeg(m);

  Extended e4 = m;
  for (int i = 0; i < 4; ++i) e4 += (m + e * std::sin(e4) - e4) / (1 - e * std::cos(e4));
  Extended converged = e4;
  for (int i = 0; i < 50; ++i)
    converged += (m + e * std::sin(converged) - converged) / (1 - e * std::cos(converged));
  ASSERT_GT(std::fabs(m + e * std::sin(e4) - e4), 1e-6L);

  const TVector p = KeplerPosition(el, el.Epoch);
  EXPECT_NEAR(VecLength(p), 2.5L * (1 - e * std::cos(e4)), 1e-15L);
  EXPECT_GT(std::fabs(VecLength(p) - 2.5L * (1 - e * std::cos(converged))), 1e-8L);
}

TEST(KeplerOrbits, VelocityIsTheDerivativeOfPosition) {
  const TOrbitalElements el = Orbit(0.2L, 25, 70);
  for (Extended jd : {2451545.0L, 2452000.25L, 2455000.75L}) {
    const Extended h = 1e-3L;
    const TVector ahead = KeplerPosition(el, jd + h);
    const TVector behind = KeplerPosition(el, jd - h);
    const TVector v = KeplerVelocity(el, jd);
    EXPECT_NEAR(v.x, (ahead.x - behind.x) / (2 * h), 1e-10L);
    EXPECT_NEAR(v.y, (ahead.y - behind.y) / (2 * h), 1e-10L);
    EXPECT_NEAR(v.z, (ahead.z - behind.z) / (2 * h), 1e-10L);
  }
}

TEST(KeplerOrbits, MeanElementsCheckValues) {
  struct Case {
    int32_t planet, frame;
    Extended t;  // Julian centuries from J2000
    Extended L, a, e, i, node, peri;
  };
  const Case cases[] = {
      {4, 0, 0.5L, 1552.502934388125L, 5.20260328665L, 0.04857635377875L, 1.300522862L,
       100.975018863625L, 15.137899646375L},
      {5, 0, -1.0L, -1173.433023577L, 9.5549117349L, 0.05585478902L, 2.492599051L, 112.78830781L,
       91.093850271L},
      {7, 0, 1.0L, 524.232283478L, 30.11038670339L, 0.00899449715L, 1.760636748L, 132.886522124L,
       49.550337877L},
      {4, 1, 0.5L, 1551.804300048L, 5.20260328665L, 0.04857635377875L, 1.3022847065L,
       100.5530074885L, 14.43926530625L},
      {5, 1, -1.0L, -1172.036113241L, 9.5549117349L, 0.05585478902L, 2.486277452L, 113.922005093L,
       92.490760608L},
      {7, 1, 1.0L, 522.834865788L, 30.11038670339L, 0.00899449715L, 1.77017793L, 131.777889632L,
       48.152920187L},
  };
  for (const Case& c : cases) {
    const Extended jd = J2000 + c.t * 36525;
    const TOrbitalElements el = MeanPlanetElements(c.planet, c.frame, jd);
    SCOPED_TRACE(testing::Message() << "planet " << c.planet << " frame " << c.frame);
    EXPECT_NEAR(el.MeanLongitude, c.L, 1e-9L);
    EXPECT_NEAR(el.SemiMajorAxis, c.a, 1e-12L);
    EXPECT_NEAR(el.Eccentricity, c.e, 1e-12L);
    EXPECT_NEAR(el.Inclination, c.i, 1e-9L);
    EXPECT_NEAR(el.Node, c.node, 1e-9L);
    EXPECT_NEAR(el.PerihelionLongitude, c.peri, 1e-9L);
    EXPECT_EQ(el.Epoch, jd);
    EXPECT_NEAR(el.DailyMotion, 0.9856076686L / std::pow(c.a, 1.5L), 1e-15L);
  }
}

TEST(KeplerOrbits, PlutoHasFixedElements) {
  const TOrbitalElements a = MeanPlanetElements(kPluto, 0, 1000000);
  const TOrbitalElements b = MeanPlanetElements(kPluto, 1, 3000000);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a.Epoch, 2447920.5L);
  EXPECT_EQ(a.SemiMajorAxis, 39.543L);
  EXPECT_NEAR(a.DailyMotion, 0.0039637L, 1e-7L);
  EXPECT_EQ(MeanPlanetElements(9, 0, J2000), TOrbitalElements{});
}

TEST(KeplerOrbits, PolesOfJ2000AndOfDate) {
  const TRectSph sun = PlanetPole(kSun, J2000);
  EXPECT_NEAR(RadToDeg(sun.Sph.Lon), 286.13L, 1e-12L);
  EXPECT_NEAR(RadToDeg(sun.Sph.Lat), 63.87L, 1e-12L);
  EXPECT_NEAR(VecLength(sun.Rect), 1, 1e-18L);
  // The Earth's pole of J2000 is the celestial pole; carried to its own date it is again.
  const Extended jd = 2469807.5L;
  const TRectSph earth = PlanetPoleOfDate(kEarth, jd);
  EXPECT_NEAR(RadToDeg(earth.Sph.Lat), 90, 0.01L);
  const TRectSph uranus = PlanetPole(kUranus, J2000);
  EXPECT_NEAR(RadToDeg(uranus.Sph.Lat), -15.10L, 1e-12L);
  EXPECT_NEAR(RadToDeg(uranus.Sph.Lon), 257.43L, 1e-12L);
}

TEST(KeplerOrbits, PassageDates) {
  const TDateRec mid1990{1, 7, 1990, 0, 0, 0, 0};
  const TDateRec mid2010{1, 7, 2010, 0, 0, 0, 0};
  const Extended jd1990 = DateToJD(mid1990);
  const Extended jd2010 = DateToJD(mid2010);
  // Truncation toward zero: before the reference year the count rounds up, after it down.
  EXPECT_GT(PerihelionDate(kMercury, jd1990), jd1990);
  EXPECT_LT(PerihelionDate(kMercury, jd2010), jd2010);
  EXPECT_LT(PerihelionDate(kMercury, jd2010), jd2010 + 88);
  for (Extended jd : {jd1990, jd2010, Extended{2451545}, Extended{1000000}, Extended{3500000}})
    EXPECT_GT(AphelionDate(kEarth, jd), jd) << static_cast<double>(jd);
  // The Earth's perihelion of 2000 (3 January, about 5h UT); the method is good to hours.
  EXPECT_NEAR(PerihelionDate(kEarth, 2451600.5L), 2451546.72L, 0.25L);

  EXPECT_EQ(PerihelionDate(kUranus, 2000000), 2009641);
  EXPECT_EQ(AphelionDate(kNeptune, 2451545), 2497534);
  EXPECT_EQ(PerihelionDate(kUranus, 2992620), -1);
  EXPECT_EQ(PerihelionDate(kUranus, 2992621), -1);
  EXPECT_EQ(PerihelionDate(kPluto, 2451545), -1);
  EXPECT_EQ(AphelionDate(9, 2451545), -1);
}

}  // namespace
}  // namespace kestrova
