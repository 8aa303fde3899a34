// The background pass: fill, frame, grid, labels and axes.
#include <gtest/gtest.h>

#include <algorithm>

#include "scene_drawing.h"

namespace kestrova {
namespace {

constexpr TColor kGrid = 0x123456;
constexpr TColor kBg = 0x0A0B0C;

class Background : public SceneDrawing {
 protected:
  Background() {
    scene.SetGridColor(kGrid);
    scene.SetBgColor(kBg);
    scene.SetShowSun(false);
  }

  // What Paint draws (the orbit and bodies passes draw nothing with the Sun off, no orbits
  // and every planet hidden), without the clip.
  std::vector<TSurfaceCall> Painted(const TRect& rect = {0, 0, 500, 500}, uint8_t device = 0,
                                    uint8_t scheme = 2) {
    scene.SetShowOrbits(false);
    for (int32_t i = 0; i < 9; ++i) scene.Planet(i).Visible = false;
    surface.Clear();
    scene.Paint(surface, TViewport{rect, device, scheme});
    std::vector<TSurfaceCall> calls = surface.Calls();
    calls.erase(calls.begin());
    return calls;
  }

  // The lines, rings and labels drawn in the grid colour.
  static std::vector<std::string> GridShapes(const std::vector<TSurfaceCall>& calls) {
    std::vector<TSurfaceCall> grid;
    for (const TSurfaceCall& c : calls) {
      if (c.PenColor == kGrid && c.Op != SurfaceOp::FillRect) grid.push_back(c);
    }
    return Shapes(grid);
  }
};

TEST_F(Background, RectangularGridLinesAndLabels) {
  scene.SetGridMode(2);
  const auto calls = Painted();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(Shapes({calls.begin(), calls.begin() + 3})[0], "F0,0,500,500");
  EXPECT_EQ(calls[2].BrushColor, kBg);

  const auto shapes = GridShapes(calls);
  std::vector<std::string> vertical, topLabels, leftLabels;
  for (size_t i = 0; i + 1 < shapes.size(); ++i) {
    if (shapes[i][0] == 'M' && shapes[i].ends_with(",0") && shapes[i + 1].ends_with(",500")) {
      vertical.push_back(shapes[i]);
    }
  }
  EXPECT_EQ(vertical, (std::vector<std::string>{"M-62,0", "M0,0", "M62,0", "M125,0", "M187,0",
                                                "M250,0", "M312,0", "M375,0", "M437,0", "M500,0"}));
  // Each line's labels come in pairs: on the top edge, then on the left edge.
  bool top = true;
  for (const std::string& s : shapes) {
    if (!s.starts_with("T")) continue;
    (top ? topLabels : leftLabels).push_back(s);
    top = !top;
  }
  EXPECT_EQ(topLabels, (std::vector<std::string>{
                           "T-60,2 -2.5", "T2,2 -2", "T64,2 -1.5", "T127,2 -1", "T189,2 -0.5",
                           "T252,2 0", "T314,2 0.5", "T377,2 1", "T439,2 1.5", "T502,2 2"}));
  // The rows' labels count downwards from the top edge.
  EXPECT_EQ(leftLabels, (std::vector<std::string>{
                            "T2,-60 -2.5", "T2,2 -2", "T2,64 -1.5", "T2,127 -1", "T2,189 -0.5",
                            "T2,252 0", "T2,314 0.5", "T2,377 1", "T2,439 1.5", "T2,502 2"}));
  // Every grid line spans the rectangle.
  EXPECT_NE(std::find(shapes.begin(), shapes.end(), "L500,125"), shapes.end());
  for (const TSurfaceCall& c : calls) {
    if (c.Op == SurfaceOp::Text) {
      EXPECT_EQ(c.FontColor, kGrid);
    }
  }
}

TEST_F(Background, RadialRingsLabelsAndAxes) {
  scene.SetGridMode(1);
  const auto shapes = GridShapes(Painted());
  EXPECT_EQ(shapes, (std::vector<std::string>{
                        "E188,188,312,312", "T252,190 0.5", "T314,252 0.5",   "E125,125,375,375",
                        "T252,127 1",       "T377,252 1",   "E63,63,437,437", "T252,65 1.5",
                        "T439,252 1.5",     "E0,0,500,500", "T252,2 2",       "T502,252 2",
                        "E-62,-62,562,562", "T252,-60 2.5", "T564,252 2.5",   "M0,250",
                        "L500,250",         "M250,0",       "L250,500",
                    }));
  for (const TSurfaceCall& c : surface.CallsOf(SurfaceOp::Ellipse)) {
    EXPECT_EQ(c.Brush, BrushStyle::Hollow);
    EXPECT_EQ(c.Pen, PenStyle::Solid);
    EXPECT_EQ(c.PenWidth, 1);
  }
}

TEST_F(Background, ThreeDimensionalGridLiesInTheEclipticThroughTheCentre) {
  scene.SetPlane(TPlane::D3);
  scene.SetRotX(0);
  scene.SetRotY(0);
  scene.SetRotZ(0);
  scene.SetGridMode(2);
  const auto shapes = GridShapes(Painted());
  ASSERT_EQ(shapes.size(), 44u);  // 11 lines each way, 0.4 Dim apart, to 2 Dim
  EXPECT_EQ(shapes[0], "M-250,750");
  EXPECT_EQ(shapes[1], "L-250,-250");
  EXPECT_EQ(shapes[2], "M-250,750");
  EXPECT_EQ(shapes[3], "L750,750");
  EXPECT_EQ(shapes[20], "M250,750");
  EXPECT_EQ(shapes[23], "L750,250");

  scene.SetGridMode(1);  // rings have no 3D form
  EXPECT_TRUE(GridShapes(Painted()).empty());
  scene.SetGridMode(0);
  scene.SetPlane(TPlane::XY);
  EXPECT_EQ(Shapes(Painted()), (std::vector<std::string>{"F0,0,500,500"}));
}

TEST_F(Background, PrintedPagesGetAFrameAndSchemesSetTheColours) {
  scene.SetGridMode(2);
  auto calls = Painted({10, 20, 300, 300}, 1, 2);
  auto shapes = Shapes(calls);
  ASSERT_GE(shapes.size(), 2u);
  EXPECT_EQ(shapes[0], "F10,20,310,320");
  EXPECT_EQ(shapes[1], "R10,20,310,320");
  const auto frame = surface.CallsOf(SurfaceOp::Rectangle).at(0);
  EXPECT_EQ(frame.PenWidth, 2);
  EXPECT_EQ(frame.PenColor, 0u);
  EXPECT_EQ(frame.BrushColor, kBg);
  EXPECT_EQ(frame.Pen, PenStyle::Solid);
  EXPECT_TRUE(surface.CallsOf(SurfaceOp::LineTo).at(0).PenWidth == 1);

  struct Case {
    uint8_t scheme;
    TColor fill, grid;
  };
  for (const Case& c :
       {Case{0, 0xFFFFFF, 0x000000}, Case{1, 0x000000, 0xFFFFFF}, Case{3, 0xFFFFFF, kGrid}}) {
    calls = Painted({0, 0, 500, 500}, 0, c.scheme);
    EXPECT_EQ(surface.CallsOf(SurfaceOp::FillRect).at(0).BrushColor, c.fill) << int(c.scheme);
    EXPECT_TRUE(surface.CallsOf(SurfaceOp::Rectangle).empty());
    for (const TSurfaceCall& l : surface.CallsOf(SurfaceOp::LineTo)) {
      ASSERT_EQ(l.PenColor, c.grid) << int(c.scheme);
    }
    for (const TSurfaceCall& t : surface.CallsOf(SurfaceOp::Text)) {
      ASSERT_EQ(t.FontColor, c.grid) << int(c.scheme);
    }
  }
}

}  // namespace
}  // namespace kestrova
