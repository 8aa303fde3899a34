// IsInRange, Project and the test for the drawing rectangle of the frame being drawn, for the
// many points of the whole catalogue and of the orbits' dots. The arithmetic is theirs,
// operation for operation, so that each point lands on the same pixel as through them; only the
// square roots are skipped where the squared distance decides a comparison with room to spare,
// and nothing is looked up again for each point.
//
// The points of the whole catalogue are held in double. For them every decision (in range,
// which pixel) is first taken in double, which costs a few nanoseconds a point; where the
// double result lies so close to a limit or to a pixel's edge that its rounding could have
// changed the decision, the point goes the Extended way above. The pixels are therefore those
// of PixelOf, point for point.
#pragma once

#include <cmath>
#include <cstddef>
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
        bottom_(int64_t(rect_.Top) + rect_.Height) {
    const TFast f{
        double(c_.x),
        double(c_.y),
        double(c_.z),
        std::fabs(double(c_.x)) + std::fabs(double(c_.y)) + std::fabs(double(c_.z)),
        double(farthest_),
        double(farthest2_),
        double(nearest2_),
        double(x_min_),
        double(y_min_),
        double(rect_.Width / x_span_),
        double(rect_.Height / y_span_),
        {{double(m_.M[0][0]), double(m_.M[0][1]), double(m_.M[0][2]), double(m_.M[0][3])},
         {double(m_.M[1][0]), double(m_.M[1][1]), double(m_.M[1][2]), double(m_.M[1][3])}},
        0,
        0,
        0};
    fast_ = f;
    fast_.offsets = std::fabs(f.x_min) + std::fabs(f.y_min) + std::fabs(f.m[0][3]) +
                    std::fabs(f.m[1][3]) + f.c_size;
    // A point not beyond the far limit lies within c_size + farthest of the Sun (its distance
    // from the centre is below farthest, the centre's below c_size), so the sum of its
    // coordinates' sizes is below sqrt(3) times that: one bound for every point that is drawn.
    const double size = 2 * (f.c_size + f.farthest) + f.c_size;
    fast_.far_room = kRoom * (f.farthest * size + f.farthest2);
    fast_.extent = size + fast_.offsets;
  }

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

  // PixelOf for points[begin..end-1], in order: emit(x, y) for each point that has a pixel.
  template <class Emit>
  void PixelsOf(const TVectorD* points, size_t begin, size_t end, Emit&& emit) const {
    // Centred on the Sun (as the program starts), the distance from the centre is the
    // distance from the Sun: one sum of squares a point instead of two.
    if (fast_.cx == 0 && fast_.cy == 0 && fast_.cz == 0) {
      PixelsOn<true>(points, begin, end, emit);
    } else {
      PixelsOn<false>(points, begin, end, emit);
    }
  }

 private:
  template <bool kAtSun, class Emit>
  void PixelsOn(const TVectorD* points, size_t begin, size_t end, Emit& emit) const {
    switch (plane_) {
      case TPlane::XY:
        return PixelsIn<TPlane::XY, kAtSun>(points, begin, end, emit);
      case TPlane::XZ:
        return PixelsIn<TPlane::XZ, kAtSun>(points, begin, end, emit);
      case TPlane::ZY:
        return PixelsIn<TPlane::ZY, kAtSun>(points, begin, end, emit);
      default:
        return PixelsIn<TPlane::D3, kAtSun>(points, begin, end, emit);
    }
  }

  // The frame in double for the first look at each point.
  struct TFast {
    double cx, cy, cz, c_size;
    double farthest, farthest2, nearest2;
    double x_min, y_min, x_scale, y_scale;
    double m[2][4];
    // What the absolute errors of a projected coordinate scale with besides the point itself.
    double offsets;
    // The room of the far limit and what the absolute errors of a projected coordinate scale
    // with, for any point not beyond the far limit (see the constructor).
    double far_room, extent;
  };

  // The rounding errors of the double path are below 1e-15 of the magnitudes that enter a
  // result; a thousand times that is the room a decision needs to stand.
  static constexpr double kRoom = 1e-12;

  // The pixel column (or row) of the coordinate v, scaled by s = side / span from the lower
  // limit lo, when truncating it cannot depend on the rounding; false otherwise. size is what
  // the coordinate's absolute error scales with.
  static bool SureTruncation(double v, double lo, double s, double size, int64_t& t) {
    const double f = (v - lo) * s;
    const double room = kRoom * (s * size + std::fabs(f) + 1);
    // The nearest whole number by additions (no library call): exact for |f| below 2^51,
    // and a coordinate of a point in range is within a few picture widths.
    constexpr double kShift = 6755399441055744.0;  // 1.5 * 2^52
    const double nearest = (f + kShift) - kShift;
    if (!(std::fabs(f - nearest) > room && std::fabs(f) < 1e15)) return false;
    t = int64_t(f);
    return true;
  }

  template <TPlane kPlane, bool kAtSun, class Emit>
  void PixelsIn(const TVectorD* points, size_t begin, size_t end, Emit& emit) const {
    const TFast& f = fast_;
    for (size_t i = begin; i < end; ++i) {
      const TVectorD& p = points[i];
      // p less a centre of +0 is p itself.
      const double wx = kAtSun ? p.x : p.x - f.cx;
      const double wy = kAtSun ? p.y : p.y - f.cy;
      const double wz = kAtSun ? p.z : p.z - f.cz;
      const double q2 = wx * wx + wy * wy + wz * wz;
      // Beyond 5 Dim: sure either way unless close to it (a number that is none goes on). A
      // point beyond the bound the room is reckoned with is beyond it by far.
      if (q2 >= f.farthest2 + f.far_room) continue;
      bool sure = q2 <= f.farthest2 - f.far_room;
      // Within 0.03 Dim of the Sun, unless at the centre: squares too small for double, the
      // centre and the limit itself are left to the Extended way.
      const double d2 = kAtSun ? q2 : p.x * p.x + p.y * p.y + p.z * p.z;
      const double nearRoom = kRoom * f.nearest2;
      sure = sure && q2 > 1e-200 && d2 > 1e-200 && std::fabs(d2 - f.nearest2) > nearRoom;
      int64_t tx = 0, ty = 0;
      if (sure) {
        if (d2 < f.nearest2) continue;
        double h = wx, k = wy;
        if constexpr (kPlane == TPlane::XZ) {
          k = wz;
        } else if constexpr (kPlane == TPlane::ZY) {
          h = wz;
        } else if constexpr (kPlane == TPlane::D3) {
          h = f.m[0][0] * wx + f.m[0][1] * wy + f.m[0][2] * wz + f.m[0][3];
          k = f.m[1][0] * wx + f.m[1][1] * wy + f.m[1][2] * wz + f.m[1][3];
        }
        sure = SureTruncation(h, f.x_min, f.x_scale, f.extent, tx) &&
               SureTruncation(k, f.y_min, f.y_scale, f.extent, ty);
      }
      int32_t x, y;
      if (!sure) {
        if (PixelOf(ToVector(p), x, y)) emit(x, y);
        continue;
      }
      const int64_t px = rect_.Left + tx;
      const int64_t py = rect_.Top + rect_.Height - ty;
      if (px < rect_.Left || px > right_ || py < rect_.Top || py > bottom_) continue;
      emit(int32_t(px), int32_t(py));
    }
  }

  TVector c_;
  Extended farthest_, nearest_, farthest2_, nearest2_;
  Extended x_min_, y_min_, x_span_, y_span_;
  const TMatrix& m_;
  TPlane plane_;
  TRect rect_;
  int64_t right_, bottom_;
  TFast fast_;
};

}  // namespace kestrova
