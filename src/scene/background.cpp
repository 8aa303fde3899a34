// The first drawing pass: background fill, the frame of printed pages, and the grid with its
// labels and axes.
#include <cmath>

#include "numerics/errors.h"
#include "scene/colour_schemes.h"
#include "scene/solar_system.h"

namespace kestrova {

void TSolarSystem::DrawBackground() {
  if (surface_ == nullptr) return;
  TSurface& s = *surface_;
  const int32_t right = left_ + width_, bottom = top_ + height_;

  const TColor fill = SchemeBackground(scheme_, bg_color_);
  s.SetBrushStyle(BrushStyle::Solid);
  s.SetBrushColor(fill);
  s.FillRect(left_, top_, right, bottom);
  if (device_ != 0) {
    s.SetPenWidth(2);
    s.SetPenStyle(PenStyle::Solid);
    s.SetPenColor(kBlack);
    s.Rectangle(left_, top_, right, bottom);
  }

  const TColor g = SchemeColor(scheme_, grid_color_);
  s.SetPenWidth(1);
  s.SetBrushStyle(BrushStyle::Hollow);
  s.SetPenStyle(PenStyle::Solid);
  s.SetPenColor(g);
  s.SetFontColor(g);
  const Extended spanX = x_max_ - x_min_, spanY = y_max_ - y_min_;

  if (plane_ == TPlane::XY || plane_ == TPlane::XZ || plane_ == TPlane::ZY) {
    if (grid_mode_ == 1) {
      // Rings around the rectangle's centre, which is where the centre body lands.
      const int32_t cx = left_ + width_ / 2, cy = top_ + height_ / 2;
      const auto n = int32_t(std::trunc(x_max_ / grid_step_)) + 1;
      for (int32_t k = 1; k <= n; ++k) {
        const auto rx = int32_t(std::trunc(k * grid_step_ * width_ / spanX));
        const auto ry = int32_t(std::trunc(k * grid_step_ * height_ / spanY));
        s.Ellipse(cx - rx, cy - ry, cx + rx, cy + ry);
        const std::string label = FormatGeneral(k * grid_step_);
        s.TextOut(cx + 2, cy - ry + 2, label);
        s.TextOut(cx + rx + 2, cy + 2, label);
      }
      s.MoveTo(left_, cy);
      s.LineTo(right, cy);
      s.MoveTo(cx, top_);
      s.LineTo(cx, bottom);
    } else if (grid_mode_ == 2) {
      const auto m = int32_t(std::trunc(x_max_ / grid_step_));
      for (int32_t k = -m - 1; k <= m; ++k) {
        const auto xk = int32_t(std::trunc((k * grid_step_ - x_min_) * width_ / spanX));
        // Rows are counted from the top edge, so the labels of the rows grow downwards.
        const auto yk = int32_t(std::trunc((k * grid_step_ - y_min_) * height_ / spanY));
        s.MoveTo(left_, top_ + yk);
        s.LineTo(right, top_ + yk);
        s.MoveTo(left_ + xk, top_);
        s.LineTo(left_ + xk, bottom);
        const std::string label = FormatGeneral(k * grid_step_);
        s.TextOut(left_ + xk + 2, top_ + 2, label);
        s.TextOut(left_ + 2, top_ + yk + 2, label);
      }
    }
  } else if (grid_mode_ == 2) {
    // A square grid in the plane through the centre body parallel to the ecliptic, reaching
    // 2 Dim each way; the radial mode has no 3D form.
    const TVector& c = center_pos_;
    for (int32_t i = -5; i <= 5; ++i) {
      const Extended a = 2 * i * dim_ / 5;
      DrawLine3D({c.x + a, c.y + 2 * y_min_, c.z}, {c.x + a, c.y + 2 * y_max_, c.z}, g, false,
                 false);
      DrawLine3D({c.x + 2 * x_min_, c.y + a, c.z}, {c.x + 2 * x_max_, c.y + a, c.z}, g, false,
                 false);
    }
  }
}

}  // namespace kestrova
