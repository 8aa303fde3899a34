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

TVector Vector(const TPlan404Data& rec) {
  return {rec.X, rec.Y, rec.Z};
}

Extended Distance(const TPlan404Data& a, const TPlan404Data& b) {
  return VecLength(VecSub(Vector(a), Vector(b)));
}

// Past each end of a fit the series answer for a margin, then the answer passes over to the
// joined orbit. Wherever the method changes, the position one step of the date further on is
// where the planet's motion over that step puts it: no jump (those were up to 0.26 AU for
// Neptune and 38 AU for Pluto with the mean orbit).
TEST(Plan404, RunsOnWithoutAJumpPastTheEndsOfEachFit) {
  for (int32_t planet = 1; planet <= 9; ++planet) {
    SCOPED_TRACE(kBodyNames[planet - 1]);
    const TPlanetSeries& s = *kPlanetSeries[planet - 1];
    for (const bool lastEnd : {false, true}) {
      const TPlan404Switches at = Plan404SwitchDates(planet, lastEnd);
      EXPECT_EQ(at.FitEnd, lastEnd ? s.FitLastJD : s.FitFirstJD);
      const double outwards = lastEnd ? 1e7 : -1e7;
      for (const double date : {at.FitEnd, at.SeriesUntil, at.JoinedFrom}) {
        const TPlan404Data here = Call(Plan404, planet, date);
        const TPlan404Data next = Call(Plan404, planet, std::nextafter(date, outwards));
        // The fastest body, Mercury, covers 1.5e-11 AU in one step of the date.
        EXPECT_LT(Distance(here, next), 1e-9) << "JD " << date;
        EXPECT_NEAR(std::hypot(next.X, next.Y, next.Z), next.R, 1e-12 * next.R);
      }
      // The series alone up to the end of the margin.
      const double inMargin = (at.FitEnd + at.SeriesUntil) / 2;
      const TPlan404Data margin = Call(Plan404, planet, inMargin);
      const TPlan404Data series = Call(Plan404Series, planet, inMargin);
      EXPECT_EQ(std::memcmp(&margin, &series, sizeof margin), 0);
    }
  }
}

// Mercury to Neptune keep as close to their series for decades past the ends of the fits as
// their perturbations take them from a Kepler orbit (Saturn's great inequality the most, 0.06
// AU, 0.0072 of its distance), where the mean orbit of the date was up to 0.34 AU off (0.018).
TEST(Plan404, JoinedOrbitsFollowTheSeriesPastTheEnds) {
  for (int32_t planet = 1; planet <= 8; ++planet) {
    SCOPED_TRACE(kBodyNames[planet - 1]);
    for (const bool lastEnd : {false, true}) {
      const TPlan404Switches at = Plan404SwitchDates(planet, lastEnd);
      const double step = (at.JoinedFrom - at.FitEnd) / 3;
      for (int k = 1; k <= 5; ++k) {
        const double jd = at.FitEnd + k * step;
        const TPlan404Data got = Call(Plan404, planet, jd);
        const TPlan404Data series = Call(Plan404Series, planet, jd);
        EXPECT_LT(Distance(got, series), 0.008 * series.R) << "JD " << jd;
      }
    }
  }
}

// Over the whole date range of the program (4713 BC .. AD 6239) every body stays within 5 per
// cent of its J2000.0 range of perihelion to aphelion distances (Pluto 28..52 AU), where the
// extrapolated series would put Uranus 24.5 AU from the Sun at AD 6000.
TEST(Plan404, StaysOnItsOrbitOverTheProgramsDateRange) {
  const double kNear[9] = {0.307, 0.718, 0.983, 1.381, 4.950, 9.041, 18.33, 29.81, 29.66};
  const double kFar[9] = {0.467, 0.728, 1.017, 1.666, 5.455, 10.12, 20.10, 30.33, 49.31};
  for (int32_t planet = 1; planet <= 9; ++planet) {
    SCOPED_TRACE(kBodyNames[planet - 1]);
    std::vector<double> dates;
    for (double jd = 0; jd <= 4000000; jd += 97.37) dates.push_back(jd);
    // Densely where the method changes.
    for (const bool lastEnd : {false, true}) {
      const TPlan404Switches at = Plan404SwitchDates(planet, lastEnd);
      for (double jd = at.FitEnd; lastEnd ? jd <= at.JoinedFrom : jd >= at.JoinedFrom;
           jd += lastEnd ? 3.1 : -3.1)
        dates.push_back(jd);
    }
    for (const double jd : dates) {
      const TPlan404Data rec = Call(Plan404, planet, jd);
      ASSERT_GT(rec.R, kNear[planet - 1] * 0.95) << "JD " << jd;
      ASSERT_LT(rec.R, kFar[planet - 1] * 1.05) << "JD " << jd;
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
