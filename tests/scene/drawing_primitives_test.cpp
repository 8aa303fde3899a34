// Device classes, the in-rectangle test and label placement.
#include "scene/drawing_primitives.h"

#include <gtest/gtest.h>

#include <vector>

#include "scene/recording_surface.h"

namespace kestrova {
namespace {

TEST(DeviceClasses, MarkerAndSunSizes) {
  EXPECT_EQ(DotRadius(0), 2);
  EXPECT_EQ(DotRadius(1), 4);
  EXPECT_EQ(DotRadius(2), 8);
  EXPECT_EQ(SmallestSunRadius(0), 3);
  EXPECT_EQ(SmallestSunRadius(1), 6);
  EXPECT_EQ(SmallestSunRadius(2), 12);
  // 500 pixels: at Dim 50 the true disc rounds to 0 and is raised to the smallest radius.
  EXPECT_EQ(SunRadius(500, 50, 0), 3);
  EXPECT_EQ(SunRadius(500, 50, 2), 12);
  EXPECT_EQ(SunRadius(500, 0.01L, 0), 116);
  EXPECT_EQ(SunRadius(500, 0.01L, 2), 116);
  EXPECT_EQ(SunRadius(1000, 0.2L, 0), 12);  // 11.63 rounds up
  // A damaged zoom must not break the drawing.
  EXPECT_EQ(SunRadius(500, 0, 0), 1000000000);
  EXPECT_EQ(SunRadius(500, -1, 1), 6);
}

// On a scaling screen the markers grow with the scale, so that they look as large as at 100 %;
// a true-size disc that is larger already keeps its size.
TEST(DeviceClasses, MarkersFollowTheScreensScale) {
  const struct {
    double scale;
    int32_t dot, smallestSun;
  } cases[] = {{1, 2, 3}, {1.25, 3, 4}, {1.5, 3, 5}, {2, 4, 6}, {0.5, 2, 3}};
  for (const auto& c : cases) {
    const TViewport screen{TRect{0, 0, 500, 500}, 0, 2, c.scale};
    EXPECT_EQ(DotRadius(screen), c.dot) << c.scale;
    EXPECT_EQ(SunRadius(500, 50, screen), c.smallestSun) << c.scale;
    EXPECT_EQ(SunRadius(500, 0.01L, screen), 116) << c.scale;
  }
}

TEST(DeviceClasses, OrbitDotPatterns) {
  const auto pixels = [](uint8_t device) {
    TRecordingSurface surface;
    PlotDotPattern(surface, device, 10, 20, 0xABCDEF);
    std::vector<std::pair<int, int>> out;
    for (const TSurfaceCall& c : surface.Calls()) {
      EXPECT_EQ(c.Op, SurfaceOp::Pixel);
      EXPECT_EQ(c.Color, 0xABCDEFu);
      out.emplace_back(c.X1, c.Y1);
    }
    return out;
  };
  using P = std::vector<std::pair<int, int>>;
  EXPECT_EQ(pixels(0), (P{{10, 20}}));
  EXPECT_EQ(pixels(1), (P{{10, 20}, {9, 20}, {10, 19}, {11, 20}, {10, 21}}));
  EXPECT_EQ(
      pixels(2),
      (P{{10, 20}, {9, 20}, {10, 19}, {11, 20}, {10, 21}, {9, 19}, {11, 19}, {11, 21}, {9, 21}}));

  // The crowd path gets the same pixels.
  for (uint8_t device = 0; device <= 2; ++device) {
    std::vector<TPixel> crowd;
    AppendDotPattern(crowd, device, 10, 20, 0xABCDEF);
    TRecordingSurface surface;
    surface.SetPixels(crowd.data(), crowd.size());
    ASSERT_EQ(surface.Calls().size(), pixels(device).size());
    for (size_t i = 0; i < crowd.size(); ++i) {
      EXPECT_EQ(std::make_pair(surface.Calls()[i].X1, surface.Calls()[i].Y1), pixels(device)[i]);
    }
  }
}

TEST(DrawingPrimitives, InRectIncludesBothEnds) {
  const TRect rect{10, 20, 500, 400};
  struct Case {
    int32_t x, y;
    bool inside;
  };
  const Case cases[] = {{10, 20, true},    {510, 420, true},  {9, 20, false},  {10, 19, false},
                        {511, 300, false}, {300, 421, false}, {260, 220, true}};
  for (const Case& c : cases) EXPECT_EQ(InRect(rect, c.x, c.y), c.inside) << c.x << "," << c.y;
  // Far-off projections must not wrap around.
  EXPECT_FALSE(InRect({2147483000, 0, 1000, 10}, -2147483000, 5));
}

TEST(DrawingPrimitives, LabelsSitBesideTheirPoint) {
  // h div 2 rounds towards zero.
  EXPECT_EQ(NameOrigin(100, 50, 3, 13), (TPoint{105, 44}));
  EXPECT_EQ(NameOrigin(100, 50, 0, 12), (TPoint{102, 44}));
  EXPECT_EQ(ApsisLabelOrigin(100, 50, 13), (TPoint{104, 44}));
  EXPECT_EQ(ApsisLabelOrigin(-7, 3, 13), (TPoint{-3, -3}));
}

}  // namespace
}  // namespace kestrova
