#include "ephemerides/planet_positions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <numbers>

#include "ephemerides/kepler_orbits.h"
#include "ephemerides/moon.h"
#include "ephemerides/planet_theory.h"
#include "ephemerides/precession.h"

namespace kestrova {
namespace {

constexpr int32_t kLibrary[9] = {3, 1, 2, 4, 5, 6, 7, 8, 9};

TPlan404Data Theory(int32_t planet, Extended jd) {
  TPlan404Data rec{};
  rec.JD = static_cast<double>(jd);
  rec.Planet = kLibrary[planet];
  Plan404(&rec);
  return rec;
}

// J2000.0 equatorial vector carried to the mean ecliptic and equinox of jd.
TVector ToEclipticOfDate(const TVector& v, Extended jd) {
  return EquToEcl(PrecessVector(v, -1, jd).Rect, MeanObliquity(jd));
}

Extended Distance(const TVector& a, const TVector& b) {
  return VecLength(VecSub(a, b));
}

// At J2000.0 the ecliptic of the date is the theory's own frame: every planet comes back at the
// theory's longitude, latitude and radius (the Earth up to its offset from the barycentre),
// which checks the planet numbering, the rotation and the spherical form together.
TEST(PlanetPosition, AtJ2000IsTheTheorysEclipticPosition) {
  for (int32_t planet = 0; planet <= 8; ++planet) {
    SCOPED_TRACE(planet);
    const TRectSph got = PlanetPosition(planet, J2000);
    const TPlan404Data rec = Theory(planet, J2000);
    const TSpherical s{rec.Lon, rec.Lat, rec.R};
    const TVector want = SphToRect(s);
    Extended tolerance = 1e-14L * rec.R;
    if (planet == kEarth) {
      tolerance += kMoonMassShare * VecLength(MoonPosition(J2000, true, true, true).Rect);
    }
    EXPECT_LE(Distance(got.Rect, want), tolerance);
    EXPECT_NEAR(got.Sph.R, VecLength(got.Rect), 1e-15L * got.Sph.R);
    EXPECT_EQ(got.Sph.Lon, std::atan2(got.Rect.y, got.Rect.x));
    EXPECT_NEAR(got.Sph.Lat, std::asin(got.Rect.z / got.Sph.R), 1e-15L);
  }
}

// Away from J2000.0 the longitude of the date runs ahead of the J2000.0 longitude by the general
// precession, 5029" per century (backwards before 2000).
TEST(PlanetPosition, LongitudeOfTheDateCarriesThePrecession) {
  for (const Extended jd : {2415020.5L, 2460676.5L, 2488069.5L, 1720692.5L}) {
    const Extended centuries = (jd - J2000) / 36525;
    const Extended want = 5029.0966L * centuries * 4.84813681109536e-6L;
    for (int32_t planet = 1; planet <= 8; ++planet) {
      const Extended lon = PlanetPosition(planet, jd).Sph.Lon;
      const Extended shift = std::remainder(lon - Theory(planet, jd).Lon, 2 * std::numbers::pi);
      EXPECT_NEAR(shift, want, 0.01L * std::abs(want)) << "planet " << planet << " JD " << jd;
    }
  }
}

// The Earth is the barycentre less the Moon's share of the Moon's geocentric vector (with
// nutation, on the J2000.0 equator), whatever the Moon's position is; so it is never further
// than 0.0121505819 of the Moon's distance (below 0.000034 AU) from the barycentre.
TEST(PlanetPosition, EarthIsTheBarycentreLessTheMoonsShare) {
  for (const Extended jd : {2451545.0L, 2460676.5L, 2433282.5L, 1720692.5L, 3182026.5L}) {
    SCOPED_TRACE(static_cast<double>(jd));
    const TVector earth = PlanetPosition(kEarth, jd).Rect;
    const TPlan404Data rec = Theory(kEarth, jd);
    const TVector barycentre = ToEclipticOfDate({rec.X, rec.Y, rec.Z}, jd);
    const TVector moon = ToEclipticOfDate(MoonPosition(jd, true, true, true).Rect, jd);
    const TVector want = VecSub(barycentre, VecScale(moon, kMoonMassShare));
    EXPECT_LE(Distance(earth, want), 1e-15L);
    EXPECT_LE(Distance(earth, barycentre), 0.000034L);
  }
}

TEST(PlanetPosition, OtherPlanetNumbersGiveTheZeroVector) {
  for (const int32_t planet : {-1, 9, 10, INT32_MIN, INT32_MAX}) {
    const TRectSph got = PlanetPosition(planet, 2460676.5L);
    EXPECT_EQ(got.Rect, TVector{}) << planet;
    EXPECT_EQ(got.Sph, TSpherical{}) << planet;
  }
}

}  // namespace
}  // namespace kestrova
