// The Sun: its disc, rotation arc and axis, and name. Drawn last of the bodies, at the origin
// of the heliocentric frame rather than from a body object.
#include "ephemerides/kepler_orbits.h"
#include "ephemerides/precession.h"
#include "scene/colour_schemes.h"
#include "scene/solar_system.h"

namespace kestrova {

void TSolarSystem::DrawSun() {
  if (!show_sun_) return;
  TSurface& s = Surf();
  const int32_t r = SunRadius(DrawingRect().Width, dim_, View());
  const TVector origin{0, 0, 0};
  if (!IsInRange(origin)) return;
  const TPoint p = Project(origin);
  if (!InRect(DrawingRect(), p.x, p.y)) return;

  // The pole of date in ecliptic coordinates, like the planets' axes.
  const Extended jd = DateToJD(scene_date_);
  const TVector u = EquToEcl(PlanetPoleOfDate(kSunIndex, jd).Rect, MeanObliquity(jd));
  const Extended L = dim_ / 15;
  const TColor axis = MarkingColor(axes_color_);
  s.SetPenStyle(PenStyle::Solid);
  if (show_rotation_) DrawArc3D(origin, L, u, 0, 270, axis, true, false);
  if (show_rot_axis_) {
    const TVector v = VecScale(u, L);
    DrawLine3D(v, VecScale(v, -1), axis, false, true);
  }

  const TColor sun = SchemeColor(View().Scheme, sun_color_);
  s.SetBrushStyle(BrushStyle::Solid);
  s.SetBrushColor(sun);
  s.SetPenStyle(PenStyle::None);
  s.Ellipse(p.x - r, p.y - r, p.x + r, p.y + r);
  s.SetFontColor(sun);
  s.SetBrushStyle(BrushStyle::Hollow);

  const Extended q = DistanceFromCenter(origin);
  if (show_names_ && (q >= dim_ / 6 || q == 0)) {
    const TPoint at = NameOrigin(p.x, p.y, r, s.TextHeight("0"));
    s.TextOut(at.x, at.y, "Sun");
  }
}

}  // namespace kestrova
