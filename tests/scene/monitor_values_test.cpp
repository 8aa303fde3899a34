// The monitor's table: number, angle and period texts, the body behind each entry of the
// object box, the four row layouts and where "Show" goes.
#include "scene/monitor_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "ephemerides/kepler_orbits.h"
#include "model/astronomical_objects.h"
#include "numerics/julian_dates.h"
#include "scene/solar_system.h"
#include "support/scene_date.h"

namespace kestrova {
namespace {

const QString kPoint = QStringLiteral(".");
constexpr Extended kNaN = std::numeric_limits<Extended>::quiet_NaN();
constexpr Extended kInf = std::numeric_limits<Extended>::infinity();

TEST(MonitorValues, NumberTexts) {
  struct Case {
    Extended x;
    int precision, digits;
    const char* point;
    const char* text;
  };
  const Case fixed[] = {
      {0.98330019L, 12, 6, ".", "0.983300"},
      {-5.2L, 12, 6, ".", "-5.200000"},
      {29.78449L, 10, 2, ",", "29,78"},
      // A value that rounds to zero carries no sign.
      {-0.0000004L, 12, 6, ".", "0.000000"},
      {0, 10, 4, ".", "0.0000"},
      {4999.4L, 6, 0, ".", "4999"},
      {142984.4L, 6, 0, ".", "142984"},
      // More significant digits than the precision allows become zeros.
      {123456.123456789L, 8, 6, ".", "123456.120000"},
      {0.000123456789L, 3, 6, ".", "0.000123"},
      // More digits before the separator than the precision: scientific notation.
      {999999.7L, 6, 0, ".", "1E+06"},
      {1.374e12L, 10, 2, ",", "1,374E+12"},
      {-12345678901.5L, 10, 0, ".", "-1.23456789E+10"},
      {kNaN, 10, 2, ".", "NAN"},
      {kInf, 10, 2, ".", "INF"},
      {-kInf, 10, 2, ".", "-INF"},
  };
  for (const Case& c : fixed) {
    EXPECT_EQ(FixedText(c.x, c.precision, c.digits, c.point).toStdString(), c.text)
        << static_cast<double>(c.x);
  }
  const Case exponent[] = {
      {5.9742e24L, 4, 2, ".", "5.974E+24"}, {3.97880e17L, 4, 2, ",", "3,979E+17"},
      {1.2345e-5L, 4, 2, ".", "1.235E-05"}, {-7.35e22L, 4, 2, ".", "-7.350E+22"},
      {0, 4, 2, ".", "0.000E+00"},          {1e300L, 4, 2, ".", "1.000E+300"},
      {5e7L, 4, 4, ".", "5.000E+0007"},
  };
  for (const Case& c : exponent) {
    EXPECT_EQ(ExponentText(c.x, c.precision, c.digits, c.point).toStdString(), c.text)
        << static_cast<double>(c.x);
  }
}

TEST(MonitorValues, PeriodTexts) {
  const std::pair<Extended, const char*> cases[] = {
      {27.3L, "27 d 7 h"},
      {4332.59L, "11 y 314 d 20 h"},
      {1.769137786L, "1 d 18 h"},
      {365.25L, "1 y 0 d 0 h"},
      {365.2499L, "365 d 5 h"},
      {0, "0 d 0 h"},
      // No period: a body without motion, damaged elements.
      {kInf, "-"},
      {kNaN, "-"},
      {-3, "-"},
  };
  for (const auto& [days, text] : cases) {
    EXPECT_EQ(PeriodText(days).toStdString(), text) << static_cast<double>(days);
  }
}

TEST(MonitorValues, EveryFixedEntryStandsForItsBody) {
  TSolarSystem scene{TestStartDate()};
  for (int entry = 0; entry < kMonitorFixedEntries; ++entry) {
    const TMonitorEntry& e = kMonitorEntries[size_t(entry)];
    const TAstronomialObject* body = MonitorEntryBody(scene, entry);
    ASSERT_NE(body, nullptr) << e.Text;
    EXPECT_EQ(body->Id, e.Id) << e.Text;
    // "Io (J I)" stands for the body named "Io".
    EXPECT_TRUE(QString(e.Text).startsWith(QString::fromStdString(body->Name))) << e.Text;
    EXPECT_EQ(e.Indent, e.Id > 8 ? 1 : 0) << e.Text;
    EXPECT_TRUE(SceneHoldsBody(scene, body));
  }
  // Entries after the fixed ones are the picked minor bodies, then the Earth.
  const TAstronomialObject& vesta =
      scene.AsteroidsList().Add(std::make_unique<TAsteroid>("Vesta", TOrbitalElements{}, 0));
  EXPECT_EQ(MonitorEntryBody(scene, kMonitorFixedEntries), &vesta);
  EXPECT_EQ(MonitorEntryBody(scene, kMonitorFixedEntries + 1), &scene.Planet(kEarth));
  EXPECT_TRUE(SceneHoldsBody(scene, &vesta));
  scene.AsteroidsList().Clear();
  EXPECT_FALSE(SceneHoldsBody(scene, &vesta));
}

Extended Number(const QString& text) {
  bool ok = false;
  const double x = text.toDouble(&ok);
  EXPECT_TRUE(ok) << text.toStdString();
  return x;
}

TEST(MonitorValues, EarthAtTheStartSeenFromTheSun) {
  TSolarSystem scene{TestStartDate()};
  const std::optional<TMonitorTable> t = MonitorValues(scene, scene.Planet(kEarth), kPoint);
  ASSERT_TRUE(t);
  ASSERT_EQ(t->Layout, TMonitorLayout::Planet);
  ASSERT_EQ(t->Rows.size(), 20u);
  EXPECT_EQ(MonitorLayoutSize(t->Layout).Rows, 20);
  const auto& r = t->Rows;
  // Early January: near perihelion, at heliocentric longitude about 100 degrees, so y is
  // positive and x small and negative.
  EXPECT_EQ(r[5].Caption, "heliocentric distance [AU]");
  EXPECT_NEAR(Number(r[5].Value), 0.9833, 0.0005);
  EXPECT_EQ(r[6].Caption, "distance from centered object [AU]");
  EXPECT_EQ(r[6].Value, r[5].Value);
  EXPECT_TRUE(r[3].Value.startsWith("100\u00B0 ")) << r[3].Value.toStdString();
  EXPECT_NEAR(Number(r[1].Value), 0.9669, 0.001);
  EXPECT_LT(Number(r[0].Value), 0);
  EXPECT_NEAR(Number(r[7].Value), 30.29, 0.02);
  EXPECT_EQ(r[8].Value, "1.0000");
  EXPECT_EQ(r[9].Value, "1 y 0 d 0 h");
  EXPECT_EQ(r[14].Caption, "elongation from sun (for centered obj.)");
  EXPECT_EQ(r[14].Value, "n.c.");
  // The north pole of the Earth stands 23 degrees 26 minutes from the ecliptic's pole.
  EXPECT_EQ(r[15].Value, "90\u00B0 00' ");
  EXPECT_EQ(r[16].Value, "66\u00B0 34' ");
  EXPECT_EQ(r[17].Value, "5.974E+24");
  EXPECT_EQ(r[18].Value, "12756");
  EXPECT_NEAR(Number(r[19].Value), 1374 / (0.98330 * 0.98330), 1.0);

  // The decimal separator is the caller's.
  const std::optional<TMonitorTable> comma = MonitorValues(scene, scene.Planet(kEarth), ",");
  EXPECT_EQ(comma->Rows[8].Value, "1,0000");
  EXPECT_EQ(comma->Rows[17].Value, "5,974E+24");
}

TEST(MonitorValues, ElongationOfAPlanetSeenFromTheCentreBody) {
  TSolarSystem scene{TestStartDate()};
  scene.SetCenterObject(kEarth);
  const std::optional<TMonitorTable> t = MonitorValues(scene, scene.Planet(kMars), kPoint);
  // Mars stood in the evening sky of 1 January 2000, some 50 degrees east of the Sun.
  const QString elongation = t->Rows[14].Value;
  const int degrees = elongation.left(elongation.indexOf(QChar(0xB0))).toInt();
  EXPECT_TRUE(degrees > 40 && degrees < 60) << elongation.toStdString();
  // The centre body itself has no elongation and no distance from the centre.
  const std::optional<TMonitorTable> earth = MonitorValues(scene, scene.Planet(kEarth), kPoint);
  EXPECT_EQ(earth->Rows[14].Value, "n.c.");
  EXPECT_EQ(earth->Rows[6].Caption, "distance from centered object [1000 km]");
  EXPECT_EQ(earth->Rows[6].Value, "0");
  EXPECT_EQ(earth->Rows[0].Value, "0.000000");
}

TEST(MonitorValues, DistancesBelowTenMillionKilometresInThousandsOfKilometres) {
  TSolarSystem scene{TestStartDate()};
  // A body 0.05 AU from the Sun (7.48 million km), and one on the Earth's mean orbit, a few
  // ten thousand kilometres from the Earth.
  TOrbitalElements sunGrazer{2451545.0L, 0, 0, 0, 0.05L, 0, 0, 0};
  sunGrazer.DailyMotion = 0.9856076686L / (0.05L * std::sqrt(0.05L));
  scene.AsteroidsList().Add(std::make_unique<TAsteroid>("Grazer", sunGrazer, 0));
  scene.AsteroidsList().Add(
      std::make_unique<TAsteroid>("Companion", MeanPlanetElements(kEarth, 0, 2451545.0L), 0));
  scene.SetCenterObject(kEarth);  // recomputes every body

  const std::optional<TMonitorTable> grazer =
      MonitorValues(scene, scene.AsteroidsList().Get(0), kPoint);
  ASSERT_EQ(grazer->Layout, TMonitorLayout::MinorBody);
  ASSERT_EQ(grazer->Rows.size(), 16u);
  EXPECT_EQ(grazer->Rows[5].Caption, "heliocentric distance [1000 km]");
  EXPECT_EQ(grazer->Rows[5].Value, "7480");
  EXPECT_EQ(grazer->Rows[6].Caption, "distance from centered object [AU]");

  const std::optional<TMonitorTable> companion =
      MonitorValues(scene, scene.AsteroidsList().Get(1), kPoint);
  EXPECT_EQ(companion->Rows[5].Caption, "heliocentric distance [AU]");
  EXPECT_EQ(companion->Rows[6].Caption, "distance from centered object [1000 km]");
  const Extended thousands = Number(companion->Rows[6].Value);
  EXPECT_LT(thousands, 100);
  EXPECT_FALSE(companion->Rows[6].Value.contains('.'));
  EXPECT_EQ(companion->Rows[8].Caption, "semi major axis [AU]");
  EXPECT_EQ(companion->Rows[9].Value, "1 y 0 d 0 h");
}

// A comet on a parabola or hyperbola has no semi-major axis and no period: "-" for both, the
// rest as for any minor body, the speed that of the open orbit.
TEST(MonitorValues, OpenOrbitsShowNoAxisAndNoPeriod) {
  TSolarSystem scene{TestStartDate()};
  for (const Extended e : {1.0L, 1.2L}) {
    const TOrbitalElements comet{
        2451545.0L, 30, 50, 120, 0.3L, 0.9856262L / std::pow(0.3L, 1.5L), e, 120 + 5};
    scene.AsteroidsList().Add(std::make_unique<TAsteroid>("Comet", comet, 0));
    scene.SetCenterObject(kEarth);
    const std::optional<TMonitorTable> t =
        MonitorValues(scene, scene.AsteroidsList().Get(0), kPoint);
    ASSERT_EQ(t->Rows.size(), 16u);
    EXPECT_EQ(t->Rows[8].Caption, "semi major axis [AU]");
    EXPECT_EQ(t->Rows[8].Value, "-");
    EXPECT_EQ(t->Rows[9].Value, "-");
    EXPECT_NEAR(Number(t->Rows[10].Value), e, 1e-12);
    EXPECT_NEAR(Number(t->Rows[7].Value),
                VecLength(KeplerVelocity(comet, DateToJD(scene.SceneDate()))) * 1731.4815L, 0.01)
        << e;
    scene.AsteroidsList().Clear();
  }
}

TEST(MonitorValues, SatelliteAndMoonRows) {
  TSolarSystem scene{TestStartDate()};
  const TPlanet& saturn = scene.Planet(kSaturn);
  const std::optional<TMonitorTable> phoebe =
      MonitorValues(scene, *saturn.FindSatellite(167), kPoint);
  ASSERT_EQ(phoebe->Layout, TMonitorLayout::Satellite);
  ASSERT_EQ(phoebe->Rows.size(), 10u);
  EXPECT_EQ(phoebe->Rows[5].Caption, "mean orbital period (retrograde)");
  EXPECT_EQ(phoebe->Rows[7].Caption, "mean orbital inclination to ecliptic");
  EXPECT_EQ(phoebe->Rows[5].Value, "1 y 185 d 6 h");
  EXPECT_EQ(phoebe->Rows[7].Value, "177\u00B0 00' ");

  const std::optional<TMonitorTable> io =
      MonitorValues(scene, *scene.Planet(kJupiter).FindSatellite(140), kPoint);
  const auto& r = io->Rows;
  EXPECT_EQ(r[5].Caption, "mean orbital period");
  EXPECT_EQ(r[7].Caption, "mean orbital inclination to planetary equ.");
  EXPECT_EQ(r[5].Value, "1 d 18 h");
  EXPECT_EQ(r[4].Value, "422000");
  EXPECT_NEAR(Number(r[3].Value), 422000, 3000);
  EXPECT_EQ(r[6].Value, "0.004");
  EXPECT_EQ(r[8].Value, "8.886E+22");
  EXPECT_EQ(r[9].Value, "3630");
  // The planetocentric distance is the length of the x, y, z rows.
  const Extended x = Number(r[0].Value), y = Number(r[1].Value), z = Number(r[2].Value);
  EXPECT_NEAR(std::sqrt(x * x + y * y + z * z), Number(r[3].Value), 2);

  const TAstronomialObject& moonBody = scene.Planet(kEarth).Satellites.Get(0);
  const std::optional<TMonitorTable> moon = MonitorValues(scene, moonBody, kPoint);
  ASSERT_EQ(moon->Layout, TMonitorLayout::Moon);
  ASSERT_EQ(moon->Rows.size(), 14u);
  EXPECT_EQ(moon->Rows[6].Value, "384467");
  EXPECT_EQ(moon->Rows[7].Value, "27 d 7 h");
  EXPECT_EQ(moon->Rows[12].Value, "7.350E+22");
  EXPECT_EQ(moon->Rows[13].Value, "3476");
  EXPECT_NEAR(Number(moon->Rows[5].Value), 380000, 30000);

  // A plain body of the "all objects" list has no rows.
  const TOEObject plain("Plain", TOrbitalElements{}, 0, kMinorBodyId);
  EXPECT_FALSE(MonitorValues(scene, plain, kPoint));
}

TEST(MonitorValues, ShowTargets) {
  TSolarSystem scene{TestStartDate()};
  const TPlanet& jupiter = scene.Planet(kJupiter);
  const auto onJupiter = MonitorShowTarget(jupiter);
  EXPECT_EQ(onJupiter->CenterObject, kSunIndex);
  EXPECT_EQ(onJupiter->Dim, 1.2L * jupiter.Elements.SemiMajorAxis);

  const auto onIo = MonitorShowTarget(*jupiter.FindSatellite(140));
  EXPECT_EQ(onIo->CenterObject, kJupiter);
  EXPECT_NEAR(onIo->Dim, 1.2L * 422000 / 149597870, 1e-15L);

  const auto onMoon = MonitorShowTarget(scene.Planet(kEarth).Satellites.Get(0));
  EXPECT_EQ(onMoon->CenterObject, kEarth);

  TAsteroid& minor = dynamic_cast<TAsteroid&>(
      scene.AsteroidsList().Add(std::make_unique<TAsteroid>("Minor", TOrbitalElements{}, 0)));
  minor.Pos = {3, 0, 4};
  const auto onMinor = MonitorShowTarget(minor);
  EXPECT_EQ(onMinor->CenterObject, kSunIndex);
  EXPECT_EQ(onMinor->Dim, 7);
}

}  // namespace
}  // namespace kestrova
