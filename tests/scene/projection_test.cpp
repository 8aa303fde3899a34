// The view transform, the range rule and the two three-dimensional primitives.
#include <gtest/gtest.h>

#include <limits>

#include "scene_drawing.h"

namespace kestrova {
namespace {

using Projection = SceneDrawing;
using Primitives = SceneDrawing;

TEST_F(Projection, MapsTheSquareAroundTheCentreOntoTheRectangle) {
  struct Case {
    TPlane plane;
    TVector p;
    TPoint expected;
  };
  const Case cases[] = {
      {TPlane::XY, {0, 0, 0}, {250, 250}},    {TPlane::XY, {1, 0, 0}, {375, 250}},
      {TPlane::XY, {0, 1, 0}, {250, 125}},    {TPlane::XY, {-2, -2, 0}, {0, 500}},
      {TPlane::XY, {0, 0, 1}, {250, 250}},    {TPlane::XY, {-0.01L, 0, 0}, {248, 250}},
      {TPlane::XZ, {1, 0, 0}, {375, 250}},    {TPlane::XZ, {0, 0, 1}, {250, 125}},
      {TPlane::XZ, {0, 1, 0}, {250, 250}},    {TPlane::ZY, {0, 0, 1}, {375, 250}},
      {TPlane::ZY, {0, 1, 0}, {250, 125}},    {TPlane::ZY, {1, 0, 0}, {250, 250}},
      {TPlane::XY, {6, -6, 0}, {1000, 1000}},
  };
  Prepare();
  for (const Case& c : cases) {
    scene.SetPlane(c.plane);
    EXPECT_EQ(scene.Project(c.p, viewport), c.expected)
        << int(c.plane) << " (" << double(c.p.x) << "," << double(c.p.y) << "," << double(c.p.z)
        << ")";
  }
}

TEST_F(Projection, CentreBodyLandsInTheMiddleOfAnyRectangle) {
  Prepare({0, 0, 580, 604});
  EXPECT_EQ(scene.Project({0, 0, 0}, viewport), (TPoint{290, 302}));
  Prepare({40, 50, 500, 500});
  EXPECT_EQ(scene.Project({0, 0, 0}, viewport), (TPoint{290, 300}));
  EXPECT_EQ(scene.Project({-2, 2, 0}, viewport), (TPoint{40, 50}));

  scene.SetCenterObject(3);  // Mars
  const TVector mars = scene.CenterPos();
  EXPECT_EQ(scene.Project(mars, viewport), (TPoint{290, 300}));
  EXPECT_EQ(scene.Project(VecAdd(mars, {1, 0, 0}), viewport), (TPoint{415, 300}));
}

TEST_F(Projection, ThreeDimensionalViewTurnsTheModel) {
  Prepare();
  scene.SetPlane(TPlane::D3);
  scene.SetRotX(0);
  scene.SetRotY(0);
  scene.SetRotZ(0);
  EXPECT_EQ(scene.Project({1, 0.5L, 0.7L}, viewport), (TPoint{375, 188}));  // unturned: as X-Y
  scene.SetRotZ(90);                                                        // +x turns onto +y
  EXPECT_EQ(scene.Project({1.1L, 0, 0}, viewport), (TPoint{250, 113}));
  scene.SetRotZ(0);
  scene.SetRotX(90);  // +z turns onto -y
  EXPECT_EQ(scene.Project({0, 0, 1}, viewport), (TPoint{250, 375}));
  // A damaged document's plane number draws like the 3D view instead of failing.
  scene.SetPlane(static_cast<TPlane>(7));
  EXPECT_EQ(scene.Project({0, 0, 1}, viewport), (TPoint{250, 375}));
}

TEST_F(Projection, FarAndUndefinedPointsStayFarOff) {
  Prepare();
  EXPECT_EQ(scene.Project({1e30L, -1e30L, 0}, viewport), (TPoint{1000000000, 1000000000}));
  const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
  EXPECT_EQ(scene.Project({nan, nan, 0}, viewport), (TPoint{-1000000000, -1000000000}));
}

TEST_F(Projection, RangeRule) {
  struct Case {
    Extended dim;
    TVector p;
    bool inRange;
  };
  const Case cases[] = {
      {50, {1, 0, 0}, false},     // 1 AU from the Sun is within 3 % of Dim 50
      {2, {1, 0, 0}, true},       //
      {2, {9.9L, 0, 0}, true},    //
      {2, {0, 10.1L, 0}, false},  // beyond 5 Dim from the centre
      {2, {0.05L, 0, 0}, false},  // 0.05 < 0.06
      {2, {0, 0, 0.061L}, true},  //
      {100, {0, 0, 0}, true},     // the Sun when it is the centre
      {0.001L, {0, 0, 0}, true},  //
      {0.001L, {0.004L, 0, 0}, true},
  };
  for (const Case& c : cases) {
    scene.SetDim(c.dim);
    EXPECT_EQ(scene.IsInRange(c.p), c.inRange) << double(c.dim) << " (" << double(c.p.x) << ","
                                               << double(c.p.y) << "," << double(c.p.z) << ")";
  }
  // Centred on Pluto, about 30 AU out, the Sun drops out at Dim 2 and is back at Dim 10.
  scene.SetCenterObject(8);
  const Extended pluto = VecLength(scene.CenterPos());
  ASSERT_GT(pluto, 29);
  ASSERT_LT(pluto, 50);
  scene.SetDim(2);
  EXPECT_FALSE(scene.IsInRange({0, 0, 0}));
  scene.SetDim(10);
  EXPECT_TRUE(scene.IsInRange({0, 0, 0}));
}

TEST_F(Projection, CentreBodyIsInRangeCloseToTheSun) {
  scene.SetCenterObject(1);  // Mercury
  const TVector mercury = scene.CenterPos();
  if (VecLength(mercury) == 0) GTEST_SKIP() << "planet positions are not built in";
  scene.SetDim(100);  // Mercury lies well within 3 % of Dim from the Sun
  EXPECT_TRUE(scene.IsInRange(mercury));
  EXPECT_FALSE(scene.IsInRange(VecScale(mercury, 1.01L)));
}

TEST_F(Primitives, LineWithDotsSizedByTheDevice) {
  Prepare();
  scene.DrawLine3D(surface, viewport, {0, 0, 0}, {1, 0, 0}, 0xABCDEF, true, true);
  EXPECT_EQ(Drawn(), (std::vector<std::string>{"M250,250", "E248,248,252,252", "L375,250",
                                               "E373,248,377,252"}));
  for (const TSurfaceCall& c : surface.CallsOf(SurfaceOp::Ellipse)) {
    EXPECT_EQ(c.PenColor, 0xABCDEFu);
    EXPECT_EQ(c.BrushColor, 0xABCDEFu);
    EXPECT_EQ(c.Brush, BrushStyle::Solid);
  }

  Prepare({0, 0, 500, 500}, 1, 2);
  scene.DrawLine3D(surface, viewport, {0, 1, 0}, {0, 0, 0}, 0x123456, false, true);
  EXPECT_EQ(Drawn(), (std::vector<std::string>{"M250,125", "L250,250", "E246,246,254,254"}));
}

TEST_F(Primitives, LineKeepsTheCallersPenStyle) {
  Prepare();
  surface.SetPenStyle(PenStyle::None);
  scene.DrawLine3D(surface, viewport, {0, 0, 0}, {1, 0, 0}, 0xABCDEF, false, false);
  EXPECT_EQ(surface.CallsOf(SurfaceOp::LineTo).at(0).Pen, PenStyle::None);
}

TEST_F(Primitives, ArcRunsCounterClockwiseAboutItsAxisInWholeDegrees) {
  Prepare();
  surface.SetPenStyle(PenStyle::None);
  scene.DrawArc3D(surface, viewport, {0, 0, 0}, 1, {0, 0, 2}, 0, 90, 0x00FF00, true, true);
  auto shapes = Drawn();
  ASSERT_EQ(shapes.size(), 93u);  // move, dot, 90 lines, dot
  EXPECT_EQ(shapes[0], "M375,250");
  EXPECT_EQ(shapes[1], "E373,248,377,252");
  EXPECT_EQ(shapes[2], "L374,248");  // 1 degree towards +y: upwards on the picture
  EXPECT_EQ(shapes[91], "L250,125");
  EXPECT_EQ(shapes[92], "E248,123,252,127");
  EXPECT_EQ(surface.CallsOf(SurfaceOp::LineTo).at(0).Pen, PenStyle::Solid);

  // About -z the circle starts on the opposite side and runs clockwise as seen from +z: from
  // west of (1, 1) to north of it.
  surface.Clear();
  scene.DrawArc3D(surface, viewport, {1, 1, 0}, 1, {0, 0, -1}, 0, 90, 0x00FF00, false, false);
  shapes = Drawn();
  ASSERT_EQ(shapes.size(), 91u);
  EXPECT_EQ(shapes[0], "M250,125");
  EXPECT_EQ(shapes[90], "L375,0");
}

TEST_F(Primitives, ArcDrawsNothingWithoutAnAngleOrAnAxis) {
  Prepare();
  scene.DrawArc3D(surface, viewport, {0, 0, 0}, 1, {0, 0, 1}, 45, 45, 0x00FF00, true, true);
  scene.DrawArc3D(surface, viewport, {0, 0, 0}, 1, {0, 0, 1}, 90, 0, 0x00FF00, true, true);
  scene.DrawArc3D(surface, viewport, {0, 0, 0}, 1, {0, 0, 5e-9L}, 0, 90, 0x00FF00, true, true);
  scene.DrawArc3D(surface, viewport, {0, 0, 0}, 1, {0, 0, 0}, 0, 90, 0x00FF00, true, true);
  EXPECT_TRUE(Drawn().empty());
}

}  // namespace
}  // namespace kestrova
