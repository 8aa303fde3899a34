// The zoom bar's scale: both directions agree at every position and stay on the bar.
#include "scene/zoom.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

TEST(Zoom, BarPositionAndDimAreTiedBothWays) {
  EXPECT_EQ(PositionOfDim(2), 97);
  EXPECT_NEAR(double(DimOfPosition(1)), 0.00321, 1e-5);
  EXPECT_NEAR(double(DimOfPosition(16)), 0.00872, 1e-5);
  EXPECT_NEAR(double(DimOfPosition(150)), 66.08, 0.01);
  for (int p = kZoomPositionMin; p <= kZoomPositionMax; ++p)
    EXPECT_EQ(PositionOfDim(DimOfPosition(p)), p);
  EXPECT_EQ(PositionOfDim(0.001L), 1);
  EXPECT_EQ(PositionOfDim(100), 150);
  EXPECT_EQ(PositionOfDim(0), 1);
}

}  // namespace
}  // namespace kestrova
