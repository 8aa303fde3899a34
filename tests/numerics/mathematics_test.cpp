#include "numerics/mathematics.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

constexpr Extended kTol = 1e-15L;

TEST(Mathematics, AngleReduction) {
  struct Case {
    Extended in, normPi, norm2Pi;
  };
  const Case cases[] = {
      {3 * Pi / 2, -Pi / 2, 3 * Pi / 2},
      {-Pi / 2, -Pi / 2, 3 * Pi / 2},
      {4 * Pi, 0, 0},
      {-7 * Pi, -Pi, Pi},  // an odd multiple of pi keeps its sign
      {3 * Pi, Pi, Pi},
      {0.25L, 0.25L, 0.25L},
      {-0.25L, -0.25L, TwoPi - 0.25L},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(NormPi(c.in), c.normPi, kTol) << c.in;
    EXPECT_NEAR(Norm2Pi(c.in), c.norm2Pi, kTol) << c.in;
  }
}

TEST(Mathematics, ReduceArcsecKeepsTheSign) {
  EXPECT_EQ(ReduceArcsec(1300000), 4000);
  EXPECT_EQ(ReduceArcsec(-1300000), -4000);
  EXPECT_EQ(ReduceArcsec(1296000 * 3 + 0.5L), 0.5L);
}

TEST(Mathematics, InverseFunctionsAndSign) {
  EXPECT_NEAR(ArcSin(1), Pi / 2, kTol);
  EXPECT_NEAR(ArcCos(-1), Pi, kTol);
  EXPECT_EQ(ArcTan2(0, 0), 0);
  EXPECT_NEAR(ArcTan2(-1, -1), -3 * Pi / 4, kTol);
  EXPECT_EQ(Sign(-0.0L), 0);
  EXPECT_EQ(Sign(-1e-300L), -1);
  EXPECT_EQ(Sign(2), 1);
  EXPECT_NEAR(Power(2, 10), 1024, 1e-15L);
  EXPECT_NEAR(Tan(Pi / 4), 1, kTol);
}

TEST(Mathematics, PolynomialsAndRounding) {
  EXPECT_EQ(Poly4(1, 2, 3, 4, 5, 2), 1 + 4 + 12 + 32 + 80);
  EXPECT_EQ(Poly3(1, -1, 1, -1, 3), 1 - 3 + 9 - 27);
  EXPECT_EQ(RoundHalfEven(2.5L), 2);
  EXPECT_EQ(RoundHalfEven(3.5L), 4);
  EXPECT_EQ(RoundHalfEven(-2.5L), -2);
}

}  // namespace
}  // namespace kestrova
