#include "ephemerides/precession.h"

#include <gtest/gtest.h>

#include <cmath>

#include "ephemerides/nutation.h"
#include "numerics/mathematics.h"

namespace kestrova {
namespace {

class Frames : public ::testing::Test {
 protected:
  void SetUp() override { ResetFrameCaches(); }
};

TEST_F(Frames, ObliquityAtJ2000AndTheStartUpCache) {
  // Before anything else the rotations use the obliquity of 1 January 2000, 0h.
  EXPECT_EQ(CurrentObliquity().JD, JD2000Jan1);
  const TVector v{0, 1, 0};
  const TVector eq = EclipticToEquatorial(v).Rect;
  EXPECT_NEAR(eq.z, std::sin(CurrentObliquity().Eps), 1e-18L);

  MeanObliquity(J2000);
  EXPECT_NEAR(CurrentObliquity().Eps / ASR, 84381.448L, 1e-9L);
  EXPECT_NEAR(CurrentObliquity().Eps, 0.409092804L, 1e-9L);
  // A thousand years later the obliquity has dropped by about 468".
  MeanObliquity(J2000 + 365250);
  EXPECT_NEAR(CurrentObliquity().Eps / ASR,
              84381.448L - 468.093L - 0.0155L + 1.99925L - 0.005138L - 0.0024967L - 0.00003905L +
                  0.000000712L + 0.0000002787L + 0.00000000579L + 0.000000000245L,
              1e-9L);
}

TEST_F(Frames, EclipticEquatorialRoundTrip) {
  MeanObliquity(2460000.5L);
  const TVector v{0.3L, -1.2L, 0.05L};
  const TVector back = EquToEcl(EclToEqu(v));
  EXPECT_NEAR(back.x, v.x, 1e-18L);
  EXPECT_NEAR(back.y, v.y, 1e-18L);
  EXPECT_NEAR(back.z, v.z, 1e-18L);
  const TRectSph sph = EquatorialToEcliptic(v);
  EXPECT_NEAR(sph.Sph.Lat, std::asin(sph.Rect.z / VecLength(v)), 1e-18L);
}

TEST_F(Frames, PrecessionOfTheEquinoxTo2050AndBack) {
  const TRectSph to2050 = PrecessVector({1, 0, 0}, -1, 2469807.5L);
  EXPECT_NEAR(RadToDeg(to2050.Sph.Lon), 0.6407L, 0.00005L);
  EXPECT_NEAR(RadToDeg(to2050.Sph.Lat), 0.2783L, 0.00005L);
  EXPECT_EQ(CurrentObliquity().JD, 2469807.5L);  // direction -1 leaves the date's obliquity

  const TRectSph back = PrecessVector(to2050.Rect, 1, 2469807.5L);
  EXPECT_NEAR(back.Rect.x, 1, 1e-17L);
  EXPECT_NEAR(back.Rect.y, 0, 1e-17L);
  EXPECT_NEAR(back.Rect.z, 0, 1e-17L);
  EXPECT_EQ(CurrentObliquity().JD, J2000);  // direction 1 leaves J2000's

  const TRectSph between = PrecessBetween({0, 1, 0}, JD1950Jan1, JD2000Jan1);
  const TRectSph chained =
      PrecessVector(PrecessVector({0, 1, 0}, 1, JD1950Jan1).Rect, -1, JD2000Jan1);
  EXPECT_EQ(between.Rect, chained.Rect);
  EXPECT_EQ(CurrentObliquity().JD, JD2000Jan1);
}

TEST_F(Frames, PrecessionAtJ2000IsTheIdentity) {
  MeanObliquity(2440000.5L);
  const TVector v{0.1L, 0.2L, 0.3L};
  EXPECT_EQ(PrecessVector(v, 1, J2000).Rect, v);
  EXPECT_EQ(PrecessVector(v, -1, J2000).Rect, v);
  EXPECT_EQ(CurrentObliquity().JD, 2440000.5L);  // untouched
}

TEST_F(Frames, NutationAngles) {
  struct Case {
    Extended jd, dpsi, deps;  // seconds of arc
  };
  // The published figures for 1987 April 10 come from the series cut to its larger terms; the
  // full series differs from them by half a thousandth of a second of arc.
  const Case cases[] = {{2446895.5L, -3.788L, 9.443L}, {J2000, -13.923L, -5.774L}};
  for (const Case& c : cases) {
    NutationAngles(c.jd);
    EXPECT_EQ(CurrentNutation().JD, c.jd);
    EXPECT_NEAR(CurrentNutation().DPsi / ASR, c.dpsi, 0.001L);
    EXPECT_NEAR(CurrentNutation().DEps / ASR, c.deps, 0.001L);
  }
}

TEST_F(Frames, ApplyNutationShiftsTheEquinoxByDpsiCosEps) {
  const Extended jd = 2446895.5L;
  const TVector nutated = ApplyNutation({1, 0, 0}, jd);
  EXPECT_EQ(CurrentObliquity().JD, jd);
  // The mean equinox seen from the true equinox: right ascension -dpsi cos(eps).
  const Extended ra = std::atan2(nutated.y, nutated.x);
  EXPECT_NEAR(ra, CurrentNutation().DPsi * CurrentObliquity().CosEps, 1e-9L);
  EXPECT_NEAR(VecLength(nutated), 1, 1e-18L);
}

}  // namespace
}  // namespace kestrova
