// IsInRange, Project and the test for the drawing rectangle of the frame being drawn, for the
// many points of the whole catalogue and of the orbits' dots. The arithmetic is theirs,
// operation for operation, so that each point lands on the same pixel as through them; only the
// square roots are skipped where the squared distance decides a comparison with room to spare,
// and nothing is looked up again for each point.
#pragma once

#include <cmath>
#include <cstdint>

#include "scene/solar_system.h"

namespace kestrova {

class TSolarSystem::TPixelProjection {
 public:
  explicit TPixelProjection(const TSolarSystem& scene)
      : c_(scene.center_pos_),
        farthest_(5 * scene.dim_),
        nearest_(0.03L * scene.dim_),
        farthest2_(farthest_ * farthest_),
        nearest2_(nearest_ * nearest_),
        x_min_(scene.x_min_),
        y_min_(scene.y_min_),
        x_span_(scene.x_max_ - scene.x_min_),
        y_span_(scene.y_max_ - scene.y_min_),
        m_(scene.view_matrix_),
        plane_(scene.plane_),
        rect_(scene.DrawingRect()),
        right_(int64_t(rect_.Left) + rect_.Width),
        bottom_(int64_t(rect_.Top) + rect_.Height) {}

  // The pixel of p when p is in range and its pixel inside the rectangle.
  bool PixelOf(const TVector& p, int32_t& x, int32_t& y) const {
    // Wide enough for the rounding of the squares and of the sums of squares.
    constexpr Extended kLow = 1 - 1e-15L;
    constexpr Extended kHigh = 1 + 1e-15L;
    const TVector w{p.x - c_.x, p.y - c_.y, p.z - c_.z};
    const Extended q2 = w.x * w.x + w.y * w.y + w.z * w.z;
    // Written so that a position that is no number is out of range, as in IsInRange.
    if (!(q2 <= farthest2_ * kLow) && !(q2 < farthest2_ * kHigh && std::sqrt(q2) <= farthest_))
      return false;
    if (q2 != 0) {
      const Extended d2 = p.x * p.x + p.y * p.y + p.z * p.z;
      if (d2 != 0 && d2 < nearest2_ * kHigh && (d2 <= nearest2_ * kLow || std::sqrt(d2) < nearest_))
        return false;
    }
    Extended h = w.x;
    Extended k = w.y;
    switch (plane_) {
      case TPlane::XY:
        break;
      case TPlane::XZ:
        k = w.z;
        break;
      case TPlane::ZY:
        h = w.z;
        break;
      default:
        h = m_.M[0][0] * w.x + m_.M[0][1] * w.y + m_.M[0][2] * w.z + m_.M[0][3];
        k = m_.M[1][0] * w.x + m_.M[1][1] * w.y + m_.M[1][2] * w.z + m_.M[1][3];
        break;
    }
    // Within five half-widths of the centre, so far from the limits of int32.
    const int64_t px = rect_.Left + int64_t(rect_.Width * (h - x_min_) / x_span_);
    const int64_t py = rect_.Top + rect_.Height - int64_t(rect_.Height * (k - y_min_) / y_span_);
    if (px < rect_.Left || px > right_ || py < rect_.Top || py > bottom_) return false;
    x = int32_t(px);
    y = int32_t(py);
    return true;
  }

 private:
  TVector c_;
  Extended farthest_, nearest_, farthest2_, nearest2_;
  Extended x_min_, y_min_, x_span_, y_span_;
  const TMatrix& m_;
  TPlane plane_;
  TRect rect_;
  int64_t right_, bottom_;
};

}  // namespace kestrova
