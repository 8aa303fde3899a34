// Placeholder: the view transform, the primitives, the background and the Sun are being
// written; these stand-ins follow the same rules so that the other passes can be drawn.
#include <cmath>

#include "ephemerides/kepler_orbits.h"
#include "ephemerides/precession.h"
#include "numerics/mathematics.h"
#include "scene/colour_schemes.h"
#include "scene/solar_system.h"

namespace kestrova {

TPoint TSolarSystem::Project(const TVector& p) const {
  const TVector w = VecSub(p, center_pos_);
  Extended h = w.x, k = w.y;
  switch (plane_) {
    case TPlane::XY:
      break;
    case TPlane::XZ:
      k = w.z;
      break;
    case TPlane::ZY:
      h = w.z;
      break;
    default: {
      const TVector u = MatVec(view_matrix_, w);
      h = u.x;
      k = u.y;
    }
  }
  auto clampInt = [](Extended v) {
    if (!(v > -1e9L)) return -1000000000;
    if (!(v < 1e9L)) return 1000000000;
    return int32_t(std::trunc(v));
  };
  return {left_ + clampInt(width_ * (h - x_min_) / (x_max_ - x_min_)),
          top_ + height_ - clampInt(height_ * (k - y_min_) / (y_max_ - y_min_))};
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
  surface_->SetPenColor(color);
  surface_->SetBrushStyle(BrushStyle::Solid);
  surface_->SetBrushColor(color);
  const int32_t r = DotRadius(device_);
  TPoint pt = Project(a);
  surface_->MoveTo(pt.x, pt.y);
  if (dotAtStart) surface_->Ellipse(pt.x - r, pt.y - r, pt.x + r, pt.y + r);
  pt = Project(b);
  surface_->LineTo(pt.x, pt.y);
  if (dotAtEnd) surface_->Ellipse(pt.x - r, pt.y - r, pt.x + r, pt.y + r);
}

void TSolarSystem::DrawArc3D(const TVector& center, Extended radius, const TVector& axis,
                             int32_t startDeg, int32_t endDeg, TColor color, bool dotAtStart,
                             bool dotAtEnd) {
  surface_->SetPenStyle(PenStyle::Solid);
  surface_->SetPenColor(color);
  surface_->SetBrushStyle(BrushStyle::Solid);
  surface_->SetBrushColor(color);
  const int32_t r = DotRadius(device_);
  if (startDeg >= endDeg) return;
  const Extended len = VecLength(axis);
  if (std::fabs(len) < 1e-8L) return;
  const TSpherical s = RectToSph(axis);
  const TMatrix a = RotMatrix(1, Pi / 2 - s.Lat);
  const TMatrix b = RotMatrix(2, s.Lon);
  auto point = [&](int32_t deg) {
    const Extended t = DegToRad(deg);
    return Project(VecAdd(
        MatVec(b, MatVec(a, TVector{radius * std::cos(t), radius * std::sin(t), 0})), center));
  };
  TPoint pt = point(startDeg);
  surface_->MoveTo(pt.x, pt.y);
  if (dotAtStart) surface_->Ellipse(pt.x - r, pt.y - r, pt.x + r, pt.y + r);
  for (int32_t deg = startDeg + 1; deg <= endDeg; ++deg) {
    pt = point(deg);
    surface_->LineTo(pt.x, pt.y);
  }
  if (dotAtEnd) surface_->Ellipse(pt.x - r, pt.y - r, pt.x + r, pt.y + r);
}

void TSolarSystem::DrawBackground() {
  surface_->SetBrushColor(SchemeBackground(scheme_, bg_color_));
  surface_->SetBrushStyle(BrushStyle::Solid);
  surface_->FillRect(left_, top_, left_ + width_, top_ + height_);
}

void TSolarSystem::DrawSun() {
  if (!show_sun_ || !IsInRange(TVector{})) return;
  const int32_t r = SunRadius(width_, dim_, device_);
  const TPoint pt = Project(TVector{});
  if (!InRect(DrawingRect(), pt.x, pt.y)) return;
  const TColor c = SchemeColor(scheme_, sun_color_);
  surface_->SetBrushColor(c);
  surface_->SetBrushStyle(BrushStyle::Solid);
  surface_->SetPenStyle(PenStyle::None);
  surface_->Ellipse(pt.x - r, pt.y - r, pt.x + r, pt.y + r);
  surface_->SetFontColor(c);
  surface_->SetBrushStyle(BrushStyle::Hollow);
  const Extended q = DistanceFromCenter(TVector{});
  if (show_names_ && (q >= dim_ / 6 || q == 0)) {
    const TPoint at = NameOrigin(pt.x, pt.y, r, surface_->TextHeight("0"));
    surface_->TextOut(at.x, at.y, "Sun");
  }
}

}  // namespace kestrova
