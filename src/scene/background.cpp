// The first drawing pass: background fill, the frame of printed pages, and the grid with its
// labels and axes.
#include <cmath>

#include "numerics/errors.h"
#include "scene/colour_schemes.h"
#include "scene/solar_system.h"

namespace kestrova {

void TSolarSystem::DrawBackground() {
  TSurface& s = Surf();
  const TRect& area = DrawingRect();
  const int32_t right = area.Left + area.Width, bottom = area.Top + area.Height;

  const TColor fill = SchemeBackground(View().Scheme, bg_color_);
  s.SetBrushStyle(BrushStyle::Solid);
  s.SetBrushColor(fill);
  s.FillRect(area.Left, area.Top, right, bottom);
  if (View().Device != 0) {
    s.SetPenWidth(2);
    s.SetPenStyle(PenStyle::Solid);
    s.SetPenColor(kBlack);
    s.Rectangle(area.Left, area.Top, right, bottom);
  }

  const TColor g = MarkingColor(grid_color_);
  s.SetPenWidth(1);
  s.SetBrushStyle(BrushStyle::Hollow);
  s.SetPenStyle(PenStyle::Solid);
  s.SetPenColor(g);
  s.SetFontColor(g);
  const Extended spanX = x_max_ - x_min_, spanY = y_max_ - y_min_;

  if (plane_ == TPlane::XY || plane_ == TPlane::XZ || plane_ == TPlane::ZY) {
    if (grid_mode_ == 1) {
      // Rings around the rectangle's centre, which is where the centre body lands.
      const int32_t cx = area.Left + area.Width / 2, cy = area.Top + area.Height / 2;
      const auto n = int32_t(std::trunc(x_max_ / grid_step_)) + 1;
      for (int32_t k = 1; k <= n; ++k) {
        const auto rx = int32_t(std::trunc(k * grid_step_ * area.Width / spanX));
        const auto ry = int32_t(std::trunc(k * grid_step_ * area.Height / spanY));
        s.Ellipse(cx - rx, cy - ry, cx + rx, cy + ry);
        const std::string label = FormatGeneral(k * grid_step_);
        s.TextOut(cx + 2, cy - ry + 2, label);
        s.TextOut(cx + rx + 2, cy + 2, label);
      }
      s.MoveTo(area.Left, cy);
      s.LineTo(right, cy);
      s.MoveTo(cx, area.Top);
      s.LineTo(cx, bottom);
    } else if (grid_mode_ == 2) {
      const auto m = int32_t(std::trunc(x_max_ / grid_step_));
      for (int32_t k = -m - 1; k <= m; ++k) {
        const auto xk = int32_t(std::trunc((k * grid_step_ - x_min_) * area.Width / spanX));
        // Rows are counted from the top edge, so the labels of the rows grow downwards.
        const auto yk = int32_t(std::trunc((k * grid_step_ - y_min_) * area.Height / spanY));
        s.MoveTo(area.Left, area.Top + yk);
        s.LineTo(right, area.Top + yk);
        s.MoveTo(area.Left + xk, area.Top);
        s.LineTo(area.Left + xk, bottom);
        const std::string label = FormatGeneral(k * grid_step_);
        s.TextOut(area.Left + xk + 2, area.Top + 2, label);
        s.TextOut(area.Left + 2, area.Top + yk + 2, label);
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
