#include "ephemerides/precession.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <vector>

#include "ephemerides/nutation.h"
#include "numerics/mathematics.h"

namespace kestrova {
namespace {

class Frames : public ::testing::Test {
 protected:
  void SetUp() override { ResetFrameCaches(); }
};

TEST_F(Frames, ObliquityAtJ2000AndAMillenniumLater) {
  EXPECT_NEAR(MeanObliquity(J2000).Eps / ASR, 84381.448L, 1e-9L);
  EXPECT_NEAR(MeanObliquity(J2000).Eps, 0.409092804L, 1e-9L);
  // A thousand years later the obliquity has dropped by about 468".
  EXPECT_NEAR(MeanObliquity(J2000 + 365250).Eps / ASR,
              84381.448L - 468.093L - 0.0155L + 1.99925L - 0.005138L - 0.0024967L - 0.00003905L +
                  0.000000712L + 0.0000002787L + 0.00000000579L + 0.000000000245L,
              1e-9L);
}

// The caches only save work: every answer is the same, bit for bit, whatever was asked before.
TEST_F(Frames, AnswersDoNotDependOnWhatWasComputedBefore) {
  const Extended dates[] = {2460000.5L, J2000, JD2000Jan1, 2086308.5L, 3000000.25L};
  std::vector<TObliquity> eps;
  std::vector<TNutation> nutation;
  std::vector<TVector> precessed, nutated;
  for (const Extended jd : dates) {
    ResetFrameCaches();
    eps.push_back(MeanObliquity(jd));
    nutation.push_back(NutationAngles(jd));
    precessed.push_back(PrecessBetween({0.3L, -0.2L, 0.9L}, jd, JD1950Jan1).Rect);
    nutated.push_back(ApplyNutation({0.3L, -0.2L, 0.9L}, jd));
  }
  for (int round = 0; round < 2; ++round) {
    for (size_t k = 0; k < std::size(dates); ++k) {
      // Forwards, then backwards, each time after the others.
      const size_t i = round == 0 ? k : std::size(dates) - 1 - k;
      const Extended jd = dates[i];
      EXPECT_EQ(MeanObliquity(jd).SinEps, eps[i].SinEps) << jd;
      EXPECT_EQ(MeanObliquity(jd).CosEps, eps[i].CosEps) << jd;
      EXPECT_EQ(NutationAngles(jd).DPsi, nutation[i].DPsi) << jd;
      EXPECT_EQ(NutationAngles(jd).DEps, nutation[i].DEps) << jd;
      EXPECT_EQ(PrecessBetween({0.3L, -0.2L, 0.9L}, jd, JD1950Jan1).Rect, precessed[i]) << jd;
      EXPECT_EQ(ApplyNutation({0.3L, -0.2L, 0.9L}, jd), nutated[i]) << jd;
    }
  }
}

TEST_F(Frames, EclipticEquatorialRoundTrip) {
  const TObliquity eps = MeanObliquity(2460000.5L);
  const TVector v{0.3L, -1.2L, 0.05L};
  const TVector back = EquToEcl(EclToEqu(v, eps), eps);
  EXPECT_NEAR(back.x, v.x, 1e-18L);
  EXPECT_NEAR(back.y, v.y, 1e-18L);
  EXPECT_NEAR(back.z, v.z, 1e-18L);
  const TRectSph sph = EquatorialToEcliptic(v, eps);
  EXPECT_NEAR(sph.Sph.Lat, std::asin(sph.Rect.z / VecLength(v)), 1e-18L);
  // The ecliptic's pole lies eps from the equator's.
  EXPECT_NEAR(EclToEqu({0, 0, 1}, eps).z, std::cos(eps.Eps), 1e-18L);
}

TEST_F(Frames, PrecessionOfTheEquinoxTo2050AndBack) {
  const TRectSph to2050 = PrecessVector({1, 0, 0}, -1, 2469807.5L);
  EXPECT_NEAR(RadToDeg(to2050.Sph.Lon), 0.6407L, 0.00005L);
  EXPECT_NEAR(RadToDeg(to2050.Sph.Lat), 0.2783L, 0.00005L);

  const TRectSph back = PrecessVector(to2050.Rect, 1, 2469807.5L);
  EXPECT_NEAR(back.Rect.x, 1, 1e-17L);
  EXPECT_NEAR(back.Rect.y, 0, 1e-17L);
  EXPECT_NEAR(back.Rect.z, 0, 1e-17L);

  const TRectSph between = PrecessBetween({0, 1, 0}, JD1950Jan1, JD2000Jan1);
  const TRectSph chained =
      PrecessVector(PrecessVector({0, 1, 0}, 1, JD1950Jan1).Rect, -1, JD2000Jan1);
  EXPECT_EQ(between.Rect, chained.Rect);
}

TEST_F(Frames, PrecessionAtJ2000IsTheIdentity) {
  const TVector v{0.1L, 0.2L, 0.3L};
  EXPECT_EQ(PrecessVector(v, 1, J2000).Rect, v);
  EXPECT_EQ(PrecessVector(v, -1, J2000).Rect, v);
}

TEST_F(Frames, NutationAngles) {
  struct Case {
    Extended jd, dpsi, deps;  // seconds of arc
  };
  // The published figures for 1987 April 10 come from the series cut to its larger terms; the
  // full series differs from them by half a thousandth of a second of arc.
  const Case cases[] = {{2446895.5L, -3.788L, 9.443L}, {J2000, -13.923L, -5.774L}};
  for (const Case& c : cases) {
    const TNutation n = NutationAngles(c.jd);
    EXPECT_EQ(n.JD, c.jd);
    EXPECT_NEAR(n.DPsi / ASR, c.dpsi, 0.001L);
    EXPECT_NEAR(n.DEps / ASR, c.deps, 0.001L);
  }
}

TEST_F(Frames, ApplyNutationShiftsTheEquinoxByDpsiCosEps) {
  const Extended jd = 2446895.5L;
  const TVector nutated = ApplyNutation({1, 0, 0}, jd);
  // The mean equinox seen from the true equinox: right ascension -dpsi cos(eps).
  const Extended ra = std::atan2(nutated.y, nutated.x);
  EXPECT_NEAR(ra, NutationAngles(jd).DPsi * MeanObliquity(jd).CosEps, 1e-9L);
  EXPECT_NEAR(VecLength(nutated), 1, 1e-18L);
}

}  // namespace
}  // namespace kestrova
