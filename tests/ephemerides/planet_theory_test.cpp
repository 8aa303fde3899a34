#include "ephemerides/planet_theory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "ephemerides/kepler_orbits.h"
#include "ephemerides/planet_theory_tables.h"

namespace kestrova {
namespace {

const char* const kBodyNames[9] = {"mercury", "venus",  "emb",     "mars", "jupiter",
                                   "saturn",  "uranus", "neptune", "pluto"};

struct TCheckRow {
  int32_t Planet;  // library number
  double JD, Lon, Lat, R, X, Y, Z;
};

// The theory's published check values: nine bodies at 13 dates from -3000 to +6000.
std::vector<TCheckRow> ReadChecks() {
  std::ifstream in(KESTROVA_TEST_DATA "/planets/checks.csv");
  std::vector<TCheckRow> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#' || line.rfind("body,", 0) == 0) continue;
    std::stringstream fields(line);
    std::string name, value;
    std::getline(fields, name, ',');
    TCheckRow row{};
    for (int32_t p = 0; p < 9; ++p) {
      if (name == kBodyNames[p]) row.Planet = p + 1;
    }
    double* out[7] = {&row.JD, &row.Lon, &row.Lat, &row.R, &row.X, &row.Y, &row.Z};
    for (double* v : out) {
      std::getline(fields, value, ',');
      *v = std::strtod(value.c_str(), nullptr);
    }
    rows.push_back(row);
  }
  return rows;
}

TPlan404Data Call(int (*fn)(TPlan404Data*), int32_t planet, double jd) {
  TPlan404Data rec{};
  rec.JD = jd;
  rec.Planet = planet;
  EXPECT_EQ(fn(&rec), 0);
  return rec;
}

bool InFit(int32_t planet, double jd) {
  const TPlanetSeries& s = *kPlanetSeries[planet - 1];
  return jd >= s.FitFirstJD && jd <= s.FitLastJD;
}

// The series reproduce every check value, also far outside the fit (there the values test the
// arithmetic, down to Pluto's negative radius at +6000); inside the fit Plan404 is the series.
TEST(Plan404, ReproducesTheTheorysCheckValues) {
  const std::vector<TCheckRow> rows = ReadChecks();
  ASSERT_EQ(rows.size(), 117u);
  for (const TCheckRow& row : rows) {
    ASSERT_GE(row.Planet, 1);
    SCOPED_TRACE(std::string(kBodyNames[row.Planet - 1]) + " at JD " + std::to_string(row.JD));
    const TPlan404Data got = Call(Plan404Series, row.Planet, row.JD);
    const double r = std::abs(row.R);
    EXPECT_NEAR(std::remainder(got.Lon - row.Lon, 2 * std::numbers::pi), 0, 1e-12);
    EXPECT_NEAR(got.Lat, row.Lat, 1e-12);
    EXPECT_NEAR(got.R, row.R, 1e-12 * r);
    EXPECT_NEAR(got.X, row.X, 1e-12 * r);
    EXPECT_NEAR(got.Y, row.Y, 1e-12 * r);
    EXPECT_NEAR(got.Z, row.Z, 1e-12 * r);
    if (InFit(row.Planet, row.JD)) {
      const TPlan404Data lib = Call(Plan404, row.Planet, row.JD);
      EXPECT_EQ(std::memcmp(&lib, &got, sizeof lib), 0);
    }
  }
}

// Heliocentric J2000.0 ecliptic vector of the mean Kepler orbit that stands in for the series.
TVector MeanOrbit(int32_t planet, double jd) {
  constexpr int32_t kSystem[9] = {kMercury, kVenus,  kEarth,   kMars, kJupiter,
                                  kSaturn,  kUranus, kNeptune, kPluto};
  return KeplerPosition(MeanPlanetElements(kSystem[planet - 1], 1, jd), jd);
}

TVector EclipticOf(const TPlan404Data& rec) {
  const Extended eps = 84381.448L * 4.84813681109536e-06L;
  return {rec.X, std::cos(eps) * rec.Y + std::sin(eps) * rec.Z,
          -std::sin(eps) * rec.Y + std::cos(eps) * rec.Z};
}

// On the last day of a fit the series answer; one step of the date beyond it, the mean orbit.
TEST(Plan404, SwitchesToTheMeanOrbitAtTheEndsOfEachFit) {
  for (int32_t planet = 1; planet <= 9; ++planet) {
    SCOPED_TRACE(kBodyNames[planet - 1]);
    const TPlanetSeries& s = *kPlanetSeries[planet - 1];
    for (const double edge : {s.FitFirstJD, s.FitLastJD}) {
      const double outside = std::nextafter(edge, edge == s.FitFirstJD ? 0.0 : 1e7);
      const TPlan404Data in = Call(Plan404, planet, edge);
      const TPlan404Data series = Call(Plan404Series, planet, edge);
      EXPECT_EQ(std::memcmp(&in, &series, sizeof in), 0);

      const TPlan404Data out = Call(Plan404, planet, outside);
      const TVector got = EclipticOf(out);
      const TVector want = MeanOrbit(planet, outside);
      const Extended r = VecLength(want);
      EXPECT_NEAR(got.x, want.x, 1e-14 * r);
      EXPECT_NEAR(got.y, want.y, 1e-14 * r);
      EXPECT_NEAR(got.z, want.z, 1e-14 * r);
      EXPECT_NEAR(out.R, r, 1e-14 * r);
      EXPECT_NEAR(out.Lat, std::asin(want.z / r), 1e-14);
      EXPECT_NEAR(std::remainder(out.Lon - std::atan2(want.y, want.x), 2 * std::numbers::pi), 0,
                  1e-14);
      EXPECT_GE(out.Lon, 0);
      EXPECT_LT(out.Lon, 2 * std::numbers::pi);
    }
  }
}

// Over the whole date range of the program (4713 BC .. AD 6239) every body stays on a sane
// orbit, where the extrapolated series put Uranus 24.5 AU from the Sun at AD 6000.
TEST(Plan404, StaysOnItsOrbitOverTheProgramsDateRange) {
  // Perihelion and aphelion distances of J2000.0, widened by 5 per cent (Pluto by 10).
  const double kNear[9] = {0.307, 0.718, 0.983, 1.381, 4.950, 9.041, 18.33, 29.81, 29.66};
  const double kFar[9] = {0.467, 0.728, 1.017, 1.666, 5.455, 10.12, 20.10, 30.33, 49.31};
  for (int32_t planet = 1; planet <= 9; ++planet) {
    SCOPED_TRACE(kBodyNames[planet - 1]);
    const double margin = planet == 9 ? 0.10 : 0.05;
    for (const double jd : {0.0, 500000.5, 625000.5, 1200000.5, 2451545.0, 2800000.5, 2817200.5,
                            3182026.5, 3912515.5, 3999999.5}) {
      const TPlan404Data rec = Call(Plan404, planet, jd);
      EXPECT_GT(rec.R, kNear[planet - 1] * (1 - margin)) << "JD " << jd;
      EXPECT_LT(rec.R, kFar[planet - 1] * (1 + margin)) << "JD " << jd;
      EXPECT_NEAR(std::hypot(rec.X, rec.Y, rec.Z), rec.R, 1e-12 * rec.R);
    }
  }
}

TEST(Plan404, RefusesPlanetNumbersOutsideOneToNine) {
  for (const int32_t planet : {0, 10, -1, INT32_MIN, INT32_MAX}) {
    for (int (*fn)(TPlan404Data*) : {Plan404, Plan404Series}) {
      TPlan404Data rec{2451545.0, 1, 2, 3, 4, 5, 6, planet};
      const TPlan404Data before = rec;
      EXPECT_EQ(fn(&rec), -1) << planet;
      EXPECT_EQ(std::memcmp(&rec, &before, sizeof rec), 0) << planet;
    }
  }
}

}  // namespace
}  // namespace kestrova
