// Planet positions on the mean ecliptic and equinox of the date, from the planet theory's
// J2000.0 equatorial vectors.
#include "ephemerides/planet_positions.h"

#include "ephemerides/kepler_orbits.h"
#include "ephemerides/moon.h"
#include "ephemerides/planet_theory.h"
#include "ephemerides/precession.h"
#include "numerics/mathematics.h"

namespace kestrova {

namespace {

// Library planet numbers of system planets 0 Earth (the barycentre) .. 8 Pluto.
constexpr int32_t kLibraryPlanet[9] = {3, 1, 2, 4, 5, 6, 7, 8, 9};

}  // namespace

TVector PlanetPositionJ2000(int32_t planet, Extended jd) {
  if (planet < kEarth || planet > kPluto) return {};
  TPlan404Data rec{};
  rec.JD = static_cast<double>(jd);
  rec.Planet = kLibraryPlanet[planet];
  Plan404(&rec);
  TVector v{rec.X, rec.Y, rec.Z};

  if (planet == kEarth) {
    // The theory gives the Earth-Moon barycentre; the Earth lies opposite the Moon from it.
    const TVector moon = MoonPosition(jd, true, true, true).Rect;
    v = VecSub(v, VecScale(moon, kMoonMassShare));
  }
  return v;
}

TRectSph PlanetPosition(int32_t planet, Extended jd) {
  if (planet < kEarth || planet > kPluto) return {};
  TVector v = PlanetPositionJ2000(planet, jd);
  v = PrecessRect(v, -1, jd);
  v = EquToEcl(v, MeanObliquity(jd));

  const Extended r = VecLength(v);
  return {v, {ArcTan2(v.y, v.x), ArcSin(v.z / r), r}};
}

}  // namespace kestrova
