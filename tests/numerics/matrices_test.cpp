#include "numerics/matrices.h"

#include <gtest/gtest.h>

#include "numerics/mathematics.h"

namespace kestrova {
namespace {

void ExpectNear(const TVector& a, const TVector& b, Extended tol = 1e-17L) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

TEST(Matrices, RotationsAreRightHanded) {
  ExpectNear(MatVec(RotMatrix(2, Pi / 2), {1, 0, 0}), {0, 1, 0});
  ExpectNear(MatVec(RotMatrix(0, Pi / 2), {0, 1, 0}), {0, 0, 1});
  ExpectNear(MatVec(RotMatrix(1, Pi / 2), {0, 0, 1}), {1, 0, 0});
  EXPECT_EQ(MatVec(RotMatrix(3, 0.7L), {1, 2, 3}), (TVector{0, 0, 0}));
}

TEST(Matrices, ProductComposesAndTranslationApplies) {
  const TMatrix rz = RotMatrix(2, 0.3L);
  const TMatrix rx = RotMatrix(0, -1.1L);
  const TVector v{0.4L, -2, 7};
  ExpectNear(MatVec(MatMul(rx, rz), v), MatVec(rx, MatVec(rz, v)), 1e-17L);
  TMatrix shift = RotMatrix(2, 0);
  shift.M[0][3] = 1;
  shift.M[2][3] = -2;
  ExpectNear(MatVec(shift, v), {1.4L, -2, 5});
}

TEST(Matrices, SphericalConversions) {
  const TSpherical pole = RectToSph({0, 0, 1});
  EXPECT_NEAR(pole.Lat, Pi / 2, 1e-18L);
  EXPECT_EQ(pole.R, 1);
  EXPECT_NEAR(RectToSph({-1, 0, 0}).Lon, Pi, 1e-18L);
  EXPECT_NEAR(RectToSph({0, -1, 0}).Lon, -Pi / 2, 1e-18L);
  for (const TVector& v : {TVector{1, 2, 3}, TVector{-0.1L, 1e-6L, -4}, TVector{5, -5, 0}})
    ExpectNear(SphToRect(RectToSph(v)), v, 1e-17L);
}

TEST(Matrices, VectorArithmetic) {
  EXPECT_EQ(VecLength({3, 4, 12}), 13);
  EXPECT_EQ(VecAdd({1, 2, 3}, {4, 5, 6}), (TVector{5, 7, 9}));
  EXPECT_EQ(VecSub({1, 2, 3}, {4, 5, 6}), (TVector{-3, -3, -3}));
  EXPECT_EQ(VecScale({1, -2, 3}, -2), (TVector{-2, 4, -6}));
}

}  // namespace
}  // namespace kestrova
