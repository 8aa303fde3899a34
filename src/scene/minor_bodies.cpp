// Minor bodies on screen, the picked ones as small discs with names and the data file's crowd
// as single pixel patterns, and the user-defined lines, which are drawn last of all.
#include "scene/colour_schemes.h"
#include "scene/solar_system.h"

namespace kestrova {

namespace {

// Black or white, whichever stands out from `color`: white on dark colours such as the minor
// bodies' olive, black on light ones.
TColor ContrastTo(TColor color) {
  const int32_t red = color & 0xFF, green = (color >> 8) & 0xFF, blue = (color >> 16) & 0xFF;
  return 299 * red + 587 * green + 114 * blue > 128000 ? kBlack : kWhite;
}

}  // namespace

void TSolarSystem::DrawMinorBody(const TOEObject& body, bool overDenseCrowd) {
  if (!body.Visible || !IsInRange(body.Pos)) return;
  const int32_t r = DotRadius(View());
  const TPoint pt = Project(body.Pos);
  if (!InRect(DrawingRect(), pt.x, pt.y)) return;
  const Extended d = DistanceFromSun(body.Pos);
  const TColor color = SchemeColor(View().Scheme, body.Color);
  DrawBodyDisc(pt, r, color);
  if (overDenseCrowd) {
    // Picked bodies share their colour with the crowd; among its pixels a disc and a name of
    // that colour are lost, so both stand out in the contrasting one.
    const TColor contrast = ContrastTo(color);
    const int32_t ring = r + 2;
    Surf().SetPenColor(contrast);
    Surf().SetPenStyle(PenStyle::Solid);
    Surf().Ellipse(pt.x - ring, pt.y - ring, pt.x + ring + 1, pt.y + ring + 1);
    Surf().SetFontColor(contrast);
  }
  if (show_names_ && (d >= dim_ / 5 || d == 0)) DrawBodyLabel(pt, r, body.Name);
}

void TSolarSystem::DrawUserLine(const TDirection& line) {
  // Compared as unsigned numbers, so that negative body numbers fail too.
  if (!show_directions_ || uint32_t(line.FromId) > 9 || uint32_t(line.ToId) > 9 ||
      line.FromId == line.ToId)
    return;
  auto bodyPos = [&](int32_t id) { return id == kSunIndex ? TVector{} : planets_.Get(id).Pos; };
  const TVector a = bodyPos(line.FromId);
  TVector b = bodyPos(line.ToId);
  const TVector d = VecSub(b, a);
  const Extended len = VecLength(d);
  if (!line.Visible || !IsInRange(a) || !(len >= dim_ / 20)) return;
  // An end body beyond the zoom's range still gives the line's direction.
  if (!IsInRange(b)) b = VecAdd(a, VecScale(d, 1.5L * dim_ / len));
  Surf().SetPenStyle(PenStyle::Solid);
  DrawLine3D(a, b, line.Color, false, false);
}

}  // namespace kestrova
