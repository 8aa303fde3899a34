#include "ephemerides/moon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ephemerides/moon_theory.h"
#include "ephemerides/nutation.h"
#include "ephemerides/precession.h"
#include "numerics/mathematics.h"

namespace kestrova {
namespace {

using TRow = std::map<std::string, Extended>;

// The rows of a check-value file: '#' comment lines, a header row, then numbers.
std::vector<TRow> ReadChecks(const std::string& name) {
  std::ifstream in(std::string(KESTROVA_TEST_DATA) + "/moon/" + name);
  EXPECT_TRUE(in) << name;
  std::vector<std::string> columns;
  std::vector<TRow> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::stringstream cells(line);
    std::string cell;
    if (columns.empty()) {
      while (std::getline(cells, cell, ',')) columns.push_back(cell);
      continue;
    }
    TRow row;
    for (const std::string& column : columns) {
      std::getline(cells, cell, ',');
      row[column] = std::strtold(cell.c_str(), nullptr);
    }
    rows.push_back(row);
  }
  return rows;
}

// Difference of two directions, in -pi..pi.
Extended AngleDiff(Extended a, Extended b) {
  return std::remainder(a - b, TwoPi);
}

class Moon : public ::testing::Test {
 protected:
  void SetUp() override { ResetFrameCaches(); }
};

TEST_F(Moon, ReproducesTheCheckValues) {
  const std::vector<TRow> checks = ReadChecks("checks.csv");
  ASSERT_EQ(checks.size(), 12u);
  // All dates in one run, then again in the opposite order: nothing may carry over from one
  // evaluation to the next.
  std::vector<TMoonTheory> first;
  for (const TRow& c : checks) {
    const Extended jd = c.at("jd");
    const TMoonTheory m = MoonTheory(jd);
    first.push_back(m);
    // The reduction keeps the sign, so dates before J2000 come out in -2pi..0.
    EXPECT_NEAR(m.Lon + (m.Lon < 0 ? TwoPi : 0), c.at("lon_rad"), 1e-12L) << jd;
    EXPECT_NEAR(m.Lat, c.at("lat_rad"), 1e-12L) << jd;
    EXPECT_NEAR(m.R, c.at("dist_au"), 1e-15L) << jd;

    // Without nutation and precession the ecliptic position is the theory's, after the round
    // trip through the equator of the date.
    const TSpherical p = MoonPosition(jd, false, false, false).Sph;
    EXPECT_NEAR(AngleDiff(p.Lon, c.at("lon_rad")), 0, 1e-12L) << jd;
    EXPECT_NEAR(p.Lat, c.at("lat_rad"), 1e-12L) << jd;
    EXPECT_NEAR(p.R, c.at("dist_au"), 1e-15L) << jd;
  }
  for (size_t i = checks.size(); i-- > 0;) {
    const TMoonTheory again = MoonTheory(checks[i].at("jd"));
    EXPECT_EQ(again.Lon, first[i].Lon);
    EXPECT_EQ(again.Lat, first[i].Lat);
    EXPECT_EQ(again.R, first[i].R);
  }
}

TEST_F(Moon, IntermediateSumsMatchTheReference) {
  const std::vector<TRow> parts = ReadChecks("checks_parts.csv");
  ASSERT_EQ(parts.size(), 4u);
  const char* const kArgs[kMoonArgumentCount] = {"Ve", "Ea", "Ma", "Ju", "Sa",
                                                 "L",  "D",  "lp", "l",  "F"};
  for (const TRow& p : parts) {
    const Extended jd = p.at("jd");
    const TMoonTheory m = MoonTheory(jd);
    // Tolerances follow the rounding of 80-bit arithmetic: at |T| = 40 the product c1 T of a
    // mean argument alone carries ~1e-8", and the main sums reach 2e8 units. A missing or wrong
    // line moves its sum by 100 units or more.
    for (int i = 0; i < kMoonArgumentCount; ++i)
      EXPECT_NEAR(m.MeanArgs[i], p.at(kArgs[i]), 1e-7L) << jd << " " << kArgs[i];
    const struct {
      const char* name;
      Extended value;
      Extended tolerance;
    } kSums[] = {
        {"EL", m.EL, 1e-9L},
        {"EB", m.EB, 1e-9L},
        {"K1", m.K1, 1e-6L},
        {"K2", m.K2, 1e-8L},
        {"K3", m.K3, 1e-9L},
        {"SB_T", m.SBT, 1e-8L},
        {"SR_T", m.SRT, 1e-8L},
        {"SL_main", m.SLMain, 2e-5L},
        {"SB_main", m.SBMain, 2e-5L},
        {"SR_main", m.SRMain, 2e-5L},
        {"lon_arcsec", m.LonArcsec, 1e-7L},
        {"lat_arcsec", m.LatArcsec, 1e-8L},
        {"r_km", m.RKm, 1e-8L},
    };
    for (const auto& s : kSums)
      EXPECT_NEAR(s.value, p.at(s.name), s.tolerance) << jd << " " << s.name;
  }
}

// Over the whole range of dates (about 8700 BC to 6200 AD, far past the fitted -3000..+3000)
// the theory must stay a lunar orbit: a series with a wrong sign or scale shows here.
TEST_F(Moon, DistanceAndLatitudeStayLunarOverTheDateRange) {
  Extended rMin = 1e9L, rMax = 0, latMax = 0;
  for (int i = 0; i <= 4000; ++i) {
    const Extended jd = i * 1000.0L + 0.37L * i;  // 0 .. 4001480, a varying lunar phase
    const TRectSph p = MoonPosition(jd, false, false, false);
    const Extended km = p.Sph.R * 149597870.66L;
    rMin = std::min(rMin, km);
    rMax = std::max(rMax, km);
    latMax = std::max(latMax, std::fabs(RadToDeg(p.Sph.Lat)));
  }
  // The extremes reached, so a series that lost its amplitude shows too.
  EXPECT_GT(rMin, 356000);
  EXPECT_LT(rMin, 358000);
  EXPECT_GT(rMax, 405500);
  EXPECT_LT(rMax, 407000);
  EXPECT_GT(latMax, 5.2L);
  EXPECT_LT(latMax, 5.32L);
}

TEST_F(Moon, MeanOrbit) {
  const TMoonMeanOrbit j2000 = MoonMeanOrbit(J2000);
  EXPECT_NEAR(j2000.Node, DegToRad(125.0445479L), 1e-15L);
  EXPECT_NEAR(j2000.Perigee, DegToRad(83.3532465L), 1e-15L);
  EXPECT_NEAR(j2000.MeanLongitude, DegToRad(218.3164477L), 1e-15L);
  EXPECT_EQ(j2000.SemiMajorAxis, 0.00257L);
  EXPECT_EQ(j2000.Eccentricity, 0.0549L);
  EXPECT_NEAR(j2000.Inclination, DegToRad(5.145396L), 1e-18L);

  // A century before J2000 the node has regressed 1934.1362891 degrees (5.37 turns) and the
  // angles are reduced into 0..2pi.
  const TMoonMeanOrbit m = MoonMeanOrbit(J2000 - 36525);
  const Extended node = 125.0445479L + 1934.1362891L + 0.0020754L - 1.0L / 467441 - 1.0L / 60616000;
  EXPECT_NEAR(m.Node, DegToRad(node - 360 * 5), 1e-12L);
  for (const Extended a : {m.Node, m.Perigee, m.MeanLongitude}) {
    EXPECT_GE(a, 0);
    EXPECT_LT(a, TwoPi);
  }
}

// The three options are applied in a fixed order (precession, then nutation, then the turn to
// the ecliptic), and the turn uses the obliquity of J2000.0 when the vector was only precessed,
// else that of jd.
TEST_F(Moon, OptionsAndTheObliquityOfTheTurn) {
  const struct {
    bool nutation, toJ2000, equatorial;
    bool obliquityOfJ2000;  // else of jd
  } kCases[] = {
      {false, false, false, false},  // the theory's frame
      {false, false, true, false},   //
      {false, true, false, true},    // ecliptic of J2000.0
      {false, true, true, true},     //
      {true, false, false, false},   // the Moon body
      {true, false, true, false},    //
      {true, true, false, false},    //
      {true, true, true, false},     // the Earth's barycentre correction
  };
  for (const Extended jd : {2086308.5L, 2460676.5L}) {
    const TVector meanEquator = MoonPosition(jd, false, false, true).Rect;
    for (const auto& c : kCases) {
      SCOPED_TRACE(::testing::Message() << jd << " nutation " << c.nutation << " toJ2000 "
                                        << c.toJ2000 << " equatorial " << c.equatorial);
      // Whatever the cache held before must not matter.
      MeanObliquity(2400000.5L);
      const TRectSph got = MoonPosition(jd, c.nutation, c.toJ2000, c.equatorial);

      TVector want = meanEquator;
      if (c.toJ2000) want = PrecessVector(want, 1, jd).Rect;
      if (c.nutation) want = ApplyNutation(want, jd);
      if (!c.equatorial) want = EquToEcl(want, MeanObliquity(c.obliquityOfJ2000 ? J2000 : jd));
      EXPECT_NEAR(got.Rect.x, want.x, 1e-17L);
      EXPECT_NEAR(got.Rect.y, want.y, 1e-17L);
      EXPECT_NEAR(got.Rect.z, want.z, 1e-17L);
      const Extended r = VecLength(want);
      EXPECT_NEAR(got.Sph.R, r, 1e-17L);
      EXPECT_NEAR(got.Sph.Lon, std::atan2(want.y, want.x), 1e-14L);
      EXPECT_NEAR(got.Sph.Lat, std::asin(want.z / r), 1e-14L);
    }
  }
}

// The Moon body's ecliptic longitude includes the nutation in longitude: at the date of a
// well-known worked example (1992 April 12, 0h) it is the geometric 133.162655 degrees plus
// dpsi = 16.6" = 0.004610 degrees.
TEST_F(Moon, MoonBodyCarriesTheNutationInLongitude) {
  const Extended jd = 2448724.5L;
  const TSpherical mean = MoonPosition(jd, false, false, false).Sph;
  const TSpherical body = MoonPosition(jd, true, false, false).Sph;
  EXPECT_NEAR(RadToDeg(mean.Lon), 133.162655L, 0.001L);
  EXPECT_NEAR(RadToDeg(mean.Lat), -3.229126L, 0.001L);
  EXPECT_NEAR(mean.R * 149597870.66L, 368409.7L, 10);
  EXPECT_NEAR(AngleDiff(body.Lon, mean.Lon), NutationAngles(jd).DPsi, 5 * ASR);
  EXPECT_NEAR(body.R, mean.R, 1e-18L);
}

}  // namespace
}  // namespace kestrova
