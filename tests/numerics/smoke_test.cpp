#include <gtest/gtest.h>
#include "numerics/julian_dates.h"
TEST(Smoke, J2000) { EXPECT_EQ(kestrova::DateToJD({1, 1, 2000, 12, 0, 0, 0}), 2451545.0L); }
