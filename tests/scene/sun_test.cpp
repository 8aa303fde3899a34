// The Sun: disc size, rotation arc and axis, name, and when it is left out.
#include <gtest/gtest.h>

#include <cstdlib>

#include "scene_drawing.h"

namespace kestrova {
namespace {

constexpr TColor kSun = 0x00EEFF;

class Sun : public SceneDrawing {
 protected:
  Sun() {
    scene.SetSunColor(kSun);
    scene.SetAxesColor(0x654321);
    scene.SetShowSun(false);
  }
};

TEST_F(Sun, DiscGrowsWithZoomButNotBelowTheDevicesSmallest) {
  scene.SetShowSun(true);
  struct Case {
    Extended dim;
    uint8_t device;
    std::vector<std::string> drawn;
  };
  const Case cases[] = {
      {50, 0, {"E247,247,253,253", "T255,244 Sun"}},
      {50, 1, {"E244,244,256,256", "T258,244 Sun"}},
      {50, 2, {"E238,238,262,262", "T264,244 Sun"}},
      {0.01L, 0, {"E134,134,366,366", "T368,244 Sun"}},
  };
  for (const Case& c : cases) {
    scene.SetDim(c.dim);
    Prepare({0, 0, 500, 500}, c.device);
    scene.DrawSun(surface, viewport);
    EXPECT_EQ(Drawn(), c.drawn) << double(c.dim) << " " << int(c.device);
    const auto disc = surface.CallsOf(SurfaceOp::Ellipse).at(0);
    EXPECT_EQ(disc.Pen, PenStyle::None);
    EXPECT_EQ(disc.BrushColor, kSun);
    const auto name = surface.CallsOf(SurfaceOp::Text).at(0);
    EXPECT_EQ(name.FontColor, kSun);
    EXPECT_EQ(name.Brush, BrushStyle::Hollow);
  }
}

TEST_F(Sun, RotationArcAndAxisInTheAxesColour) {
  scene.SetShowSun(true);
  scene.SetShowRotation(true);
  scene.SetShowRotAxis(true);
  scene.SetShowNames(false);
  Prepare({0, 0, 500, 500}, 0, 0);  // black on white
  scene.DrawSun(surface, viewport);
  const auto shapes = Drawn();
  // The arc: a dot at 0 degrees, 270 steps; the axis: a line with a dot at its end; the disc.
  ASSERT_EQ(shapes.size(), 1u + 1 + 270 + 1 + 1 + 1 + 1);
  EXPECT_EQ(shapes[1].substr(0, 1), "E");
  EXPECT_EQ(shapes[272].substr(0, 1), "M");
  EXPECT_EQ(shapes[274].substr(0, 1), "E");
  EXPECT_EQ(shapes.back(), "E247,247,253,253");
  for (const TSurfaceCall& c : surface.Calls()) {
    if (c.Op == SurfaceOp::LineTo || c.Op == SurfaceOp::Ellipse) {
      EXPECT_EQ(c.BrushColor, 0u);
    }
  }
  // The arc stays within its radius of Dim / 15 around the Sun: 500 / 30 pixels.
  for (const TSurfaceCall& c : surface.CallsOf(SurfaceOp::LineTo)) {
    EXPECT_LE(std::abs(c.X1 - 250), 17);
    EXPECT_LE(std::abs(c.Y1 - 250), 17);
  }
}

// A marking in the colour of the background would not show: it is drawn in the complement. The
// default axes are black, as is the default background.
TEST_F(Sun, AxesInTheBackgroundsColourAreDrawnInItsComplement) {
  scene.SetShowSun(true);
  scene.SetShowRotAxis(true);
  for (TColor background : {TColor{0x000000}, TColor{0x203040}}) {
    scene.SetBgColor(background);
    scene.SetAxesColor(background);
    Prepare();
    scene.DrawSun(surface, viewport);
    const auto lines = surface.CallsOf(SurfaceOp::LineTo);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].PenColor, ~background & 0xFFFFFF);
  }
  scene.SetAxesColor(0x00FF00);
  Prepare();
  scene.DrawSun(surface, viewport);
  EXPECT_EQ(surface.CallsOf(SurfaceOp::LineTo).at(0).PenColor, 0x00FF00u);
}

TEST_F(Sun, HiddenWhenSwitchedOffOrFarFromTheCentre) {
  Prepare();
  scene.DrawSun(surface, viewport);  // ShowSun is off
  EXPECT_TRUE(Drawn().empty());

  scene.SetShowSun(true);
  scene.SetCenterObject(8);  // Pluto, about 30 AU out
  Prepare();
  scene.DrawSun(surface, viewport);
  EXPECT_TRUE(Drawn().empty());

  // Back in range, but off the rectangle.
  scene.SetDim(10);
  Prepare();
  scene.DrawSun(surface, viewport);
  EXPECT_TRUE(Drawn().empty());

  // In the picture and at least Dim / 6 from the centre: named.
  scene.SetDim(50);
  Prepare();
  scene.DrawSun(surface, viewport);
  const auto shapes = Drawn();
  ASSERT_EQ(shapes.size(), 2u);
  EXPECT_EQ(shapes[1].substr(shapes[1].size() - 3), "Sun");
}

}  // namespace
}  // namespace kestrova
