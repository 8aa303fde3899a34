// The view transform of the scene and the two three-dimensional primitives built on it.
#include <algorithm>
#include <cmath>

#include "numerics/mathematics.h"
#include "scene/solar_system.h"

namespace kestrova {

namespace {

// Keeps far-off pixels far off without overflowing when callers add radii and offsets.
constexpr Extended kPixelLimit = 1e9L;

int32_t ToPixel(Extended v) {
  if (!(v > -kPixelLimit)) return -int32_t(kPixelLimit);  // also NaN
  if (v > kPixelLimit) return int32_t(kPixelLimit);
  return int32_t(v);
}

}  // namespace

TPoint TSolarSystem::Project(const TVector& p, const TViewport& viewport) const {
  const TVector w = VecSub(p, center_pos_);
  Extended h = 0, k = 0;
  switch (plane_) {
    case TPlane::XY:
      h = w.x, k = w.y;
      break;
    case TPlane::XZ:
      h = w.x, k = w.z;
      break;
    case TPlane::ZY:
      h = w.z, k = w.y;
      break;
    default: {
      // D3, and any value a damaged document leaves here.
      const TVector u = MatVec(view_matrix_, w);
      h = u.x, k = u.y;
      break;
    }
  }
  const TRect& r = viewport.Rect;
  const Extended x = std::trunc(Extended(r.Width) * (h - x_min_) / (x_max_ - x_min_));
  const Extended y = std::trunc(Extended(r.Height) * (k - y_min_) / (y_max_ - y_min_));
  return {ToPixel(Extended(r.Left) + x), ToPixel(Extended(r.Top) + Extended(r.Height) - y)};
}

bool TSolarSystem::IsInRange(const TVector& p) const {
  const Extended q = DistanceFromCenter(p);
  if (q > 5 * dim_) return false;
  if (q == 0) return true;
  const Extended d = DistanceFromSun(p);
  if (d == 0) return true;
  return d >= 0.03L * dim_;
}

void TSolarSystem::DrawLine3D(const TVector& a, const TVector& b, TColor color, bool dotAtStart,
                              bool dotAtEnd) {
  TSurface& s = Surf();
  s.SetPenColor(color);
  s.SetBrushStyle(BrushStyle::Solid);
  s.SetBrushColor(color);
  const int32_t r = DotRadius(View());
  const TPoint from = Project(a);
  s.MoveTo(from.x, from.y);
  if (dotAtStart) s.Ellipse(from.x - r, from.y - r, from.x + r, from.y + r);
  const TPoint to = Project(b);
  s.LineTo(to.x, to.y);
  if (dotAtEnd) s.Ellipse(to.x - r, to.y - r, to.x + r, to.y + r);
}

void TSolarSystem::DrawArc3D(const TVector& center, Extended radius, const TVector& axis,
                             int32_t startDeg, int32_t endDeg, TColor color, bool dotAtStart,
                             bool dotAtEnd) {
  TSurface& s = Surf();
  s.SetPenStyle(PenStyle::Solid);
  s.SetPenColor(color);
  s.SetBrushStyle(BrushStyle::Solid);
  s.SetBrushColor(color);
  const int32_t r = DotRadius(View());
  if (startDeg >= endDeg) return;
  // The length first: the direction of a zero axis is undefined.
  if (!(std::fabs(VecLength(axis)) >= 1e-8L)) return;
  const TSpherical dir = RectToSph(axis);
  // A carries the z axis to the axis's latitude, B to its longitude.
  const TMatrix A = RotMatrix(1, Pi / 2 - dir.Lat);
  const TMatrix B = RotMatrix(2, dir.Lon);
  const auto point = [&](int32_t deg) {
    const Extended t = DegToRad(Extended(deg));
    const TVector onCircle{radius * std::cos(t), radius * std::sin(t), 0};
    return Project(VecAdd(MatVec(B, MatVec(A, onCircle)), center));
  };
  TPoint p = point(startDeg);
  s.MoveTo(p.x, p.y);
  if (dotAtStart) s.Ellipse(p.x - r, p.y - r, p.x + r, p.y + r);
  for (int64_t deg = int64_t(startDeg) + 1; deg <= endDeg; ++deg) {
    p = point(int32_t(deg));
    s.LineTo(p.x, p.y);
  }
  if (dotAtEnd) s.Ellipse(p.x - r, p.y - r, p.x + r, p.y + r);
}

}  // namespace kestrova
