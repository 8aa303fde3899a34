// Shared by the scene's drawing tests: a scene painted once on a recording surface so that the
// primitives have a rectangle, and a compact text form of the drawing calls.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scene/recording_surface.h"
#include "scene/solar_system.h"
#include "support/scene_date.h"

namespace kestrova {

// "M250,250" MoveTo, "L375,250" LineTo, "E248,248,252,252" Ellipse, "R0,0,500,500" Rectangle,
// "F0,0,500,500" FillRect, "T252,2 0.5" TextOut, "P3,4" Pixel; setters are left out.
inline std::vector<std::string> Shapes(const std::vector<TSurfaceCall>& calls) {
  std::vector<std::string> out;
  for (const TSurfaceCall& c : calls) {
    const std::string xy = std::to_string(c.X1) + "," + std::to_string(c.Y1);
    const std::string box = xy + "," + std::to_string(c.X2) + "," + std::to_string(c.Y2);
    switch (c.Op) {
      case SurfaceOp::MoveTo:
        out.push_back("M" + xy);
        break;
      case SurfaceOp::LineTo:
        out.push_back("L" + xy);
        break;
      case SurfaceOp::Ellipse:
        out.push_back("E" + box);
        break;
      case SurfaceOp::Rectangle:
        out.push_back("R" + box);
        break;
      case SurfaceOp::FillRect:
        out.push_back("F" + box);
        break;
      case SurfaceOp::Text:
        out.push_back("T" + xy + " " + c.Text);
        break;
      case SurfaceOp::Pixel:
        out.push_back("P" + xy);
        break;
      default:
        break;
    }
  }
  return out;
}

class SceneDrawing : public testing::Test {
 protected:
  SceneDrawing() {
    scene.SetDate({1, 1, 2000, 12, 0, 0, 0});
    scene.SetPlane(TPlane::XY);
  }

  // Sets the viewport the primitives draw in and paints once on the recording surface, so that
  // its pen and brush are as a paint leaves them; then forgets what was drawn.
  void Prepare(const TRect& rect = {0, 0, 500, 500}, uint8_t device = 0, uint8_t scheme = 2) {
    viewport = TViewport{rect, device, scheme};
    scene.Paint(surface, viewport);
    surface.Clear();
  }

  std::vector<std::string> Drawn() const { return Shapes(surface.Calls()); }

  TSolarSystem scene{TestStartDate()};
  TRecordingSurface surface{13};
  TViewport viewport;
};

}  // namespace kestrova
