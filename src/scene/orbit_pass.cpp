// The orbit pass: orbits of the planets and of the picked minor bodies as trails of dots, with
// perpendiculars to the ecliptic, apsides with their passage dates, and lines of nodes. It runs
// before any body is drawn so that discs and names lie on top.
#include <cmath>
#include <memory>

#include "ephemerides/kepler_orbits.h"
#include "numerics/date_text.h"
#include "numerics/mathematics.h"
#include "scene/colour_schemes.h"
#include "scene/orbit_geometry.h"
#include "scene/pixel_projection.h"
#include "scene/solar_system.h"
#include "scene/work_shares.h"

namespace kestrova {

namespace {

// The crossing of z = 0 between p and q, or p when both lie at the same height.
TVector Crossing(const TVector& p, const TVector& q) {
  const Extended dz = q.z - p.z;
  if (dz == 0) return p;
  const Extended f = std::fabs(p.z) / std::fabs(dz);
  return VecAdd(p, VecScale(VecSub(q, p), f));
}

// A passage date search gives up after this many periods: with a sound period the first or
// second round already reaches the scene's date.
constexpr int kMaxPassageRounds = 64;

// The first passage at or after jd that `passage` gives, stepping one period per round; -1 when
// the date operation has no date (it answers -1) or the period cannot advance the search.
Extended NextPassage(Extended (*passage)(int32_t, Extended), int32_t id, Extended jd,
                     Extended period) {
  Extended t = 0;
  for (int k = 0; t < jd; ++k) {
    if (k >= kMaxPassageRounds) return -1;
    t = passage(id, jd + k * period);
    if (t == -1 || !std::isfinite(t)) return -1;
  }
  return t;
}

// The samples an orbit is drawn from: the stored ring of a closed orbit; for an open one (a
// parabolic or hyperbolic comet) the arc out to `reach` from the Sun on both sides of
// perihelion, filled into `arc`, so that the picture shows the open path to its edges and never
// a ring.
// The arc is made only for an open orbit: a closed one draws its cached ring, and with many
// picked bodies a ring's worth of memory set up for each would cost more than the drawing.
const TOrbitRing& DrawnSamples(const TOrbitalObject& body, Extended reach,
                               std::unique_ptr<TOrbitRing>& arc) {
  if (!IsOpenOrbit(body.Elements)) return body.OrbitPoints();
  arc = std::make_unique<TOrbitRing>();
  OpenOrbitArc(body.Elements, reach, kOrbitSampleCount, arc->data());
  return *arc;
}

// Nothing farther than 5 Dim from the centre is in range (IsInRange), so an open orbit's arc
// needs to reach no farther from the Sun than that beyond the centre.
Extended OpenArcReach(Extended dim, const TVector& centre) {
  return 5 * dim + VecLength(centre);
}

std::string ApsisLabel(const char* letter, Extended date) {
  if (date == -1) return letter;
  return std::string(letter) + "  (" + DateText(JDToDate(0, date)) + ")";
}

}  // namespace

int32_t OrbitSizeLevel(Extended a, Extended dim) {
  int32_t level = 0;
  if (a > dim / 5) level = 4;
  if (a > dim / 4) level = 3;
  if (a > dim / 3) level = 2;
  if (a > dim / 2) level = 1;
  return level;
}

int32_t OrbitDotStep(int32_t level, Extended eccentricity) {
  int32_t s = level;
  if (eccentricity > 0.7L) --s;
  if (eccentricity > 0.8L) --s;
  if (eccentricity > 0.9L) --s;
  return s <= 0 ? 1 : s;
}

std::vector<int32_t> OrbitWalk(int32_t s) {
  std::vector<int32_t> visits;
  visits.reserve(kOrbitSampleCount);
  WalkOrbitSamples(s, [&](int32_t k) { visits.push_back(k); });
  return visits;
}

TNodes FindNodes(const TOrbitRing& samples) {
  TNodes nodes;
  auto changes = [&](int32_t k) {  // between samples k and k + 1, numbered from 1
    return Sign(samples[k - 1].z) != Sign(samples[k].z);
  };
  auto crossing = [&](int32_t k) {
    return Crossing(ToVector(samples[k - 1]), ToVector(samples[k]));
  };
  int32_t k = 1;
  while (k <= kOrbitSampleCount - 1 && !changes(k)) ++k;
  if (k > kOrbitSampleCount - 1) return nodes;
  nodes.Found = true;
  nodes.N1 = crossing(k);
  nodes.N2 = nodes.N1;
  for (int32_t j = k + 1; j <= kOrbitSampleCount - 1; ++j) {
    if (changes(j)) {
      nodes.N2 = crossing(j);
      break;
    }
  }
  return nodes;
}

void TSolarSystem::DrawOrbitPass() {
  if (!show_orbits_) return;
  WarmPickedRings();
  auto eachOrbit = [&](auto draw) {
    for (int32_t i = 0; i < planets_.Count(); ++i)
      if (auto* body = dynamic_cast<const TOrbitalObject*>(&planets_.Get(i))) draw(*body);
    if (!can_show_objects_) return;
    for (int32_t i = 0; i < asteroids_.Count(); ++i)
      if (auto* body = dynamic_cast<const TOrbitalObject*>(&asteroids_.Get(i))) draw(*body);
  };
  if (show_perpendiculars_) eachOrbit([&](const TOrbitalObject& b) { DrawPerpendiculars(b); });
  eachOrbit([&](const TOrbitalObject& b) { DrawOrbit(b); });
}

// Each orbit's ring is computed once per date, on first use. With many picked bodies that is
// most of a first picture's work, and the rings depend on nothing but their own body: they are
// made on all cores before the drawing reads them.
void TSolarSystem::WarmPickedRings() const {
  constexpr size_t kRingsPerShare = 256;
  if (!can_show_objects_) return;
  const auto& items = asteroids_.Items();
  const size_t shares = ShareCount(items.size(), kRingsPerShare, 8);
  if (shares < 2) return;
  RunShares(items.size(), shares, [&](size_t, size_t begin, size_t end) {
    for (size_t i = begin; i < end; ++i) {
      const auto* body = dynamic_cast<const TOrbitalObject*>(items[i].get());
      if (body != nullptr && body->Visible && !IsOpenOrbit(body->Elements)) body->OrbitPoints();
    }
  });
}

void TSolarSystem::DrawPerpendiculars(const TOrbitalObject& body) {
  if (!body.Visible || !show_orbits_ || !show_perpendiculars_) return;
  const int32_t s = OrbitSizeLevel(body.Elements.SemiMajorAxis, dim_);
  if (s == 0) return;
  const TColor color = MarkingColor(perpendicular_color_);
  Surf().SetPenStyle(PenStyle::Solid);
  std::unique_ptr<TOrbitRing> arc;
  const TOrbitRing& samples = DrawnSamples(body, OpenArcReach(dim_, center_pos_), arc);
  WalkOrbitSamples(s, [&](int32_t k) {
    const TVector p = ToVector(samples[k - 1]);
    if (IsInRange(p)) DrawLine3D(p, TVector{p.x, p.y, 0}, color, false, false);
  });
}

void TSolarSystem::DrawOrbit(const TOrbitalObject& body) {
  if (!body.Visible) return;
  const int32_t level = OrbitSizeLevel(body.Elements.SemiMajorAxis, dim_);
  if (level > 0) {
    DrawApsides(body);
    DrawLineOfNodes(body);
  }
  const int32_t s = OrbitDotStep(level, body.Elements.Eccentricity);
  if (!show_orbits_) return;
  const TColor color = SchemeColor(View().Scheme, body.Color);
  const uint8_t device = View().Device;
  // Many picked bodies bring many orbits: each dot goes through the inlined projection.
  const TPixelProjection projection(*this);
  crowd_.clear();
  std::unique_ptr<TOrbitRing> arc;
  const TOrbitRing& samples = DrawnSamples(body, OpenArcReach(dim_, center_pos_), arc);
  WalkOrbitSamples(s, [&](int32_t k) {
    int32_t x, y;
    if (projection.PixelOf(ToVector(samples[size_t(k - 1)]), x, y))
      AppendDotPattern(crowd_, device, x, y, color);
  });
  Surf().SetPixels(crowd_.data(), crowd_.size());
}

void TSolarSystem::DrawApsisMark(const TVector& p, const std::string& label, TColor c) {
  const int32_t r = DotRadius(View());
  const TPoint pt = Project(p);
  const TPoint at = ApsisLabelOrigin(pt.x, pt.y, Surf().TextHeight("0"));
  Surf().TextOut(at.x, at.y, label);
  Surf().SetBrushColor(c);
  Surf().SetBrushStyle(BrushStyle::Solid);
  Surf().Ellipse(pt.x - r, pt.y - r, pt.x + r + 1, pt.y + r + 1);
  Surf().SetBrushStyle(BrushStyle::Hollow);
}

void TSolarSystem::DrawApsides(const TOrbitalObject& body) {
  if (!body.Visible || !show_apsides_) return;
  TOrbitalElements e = body.Elements;
  e.MeanLongitude = e.PerihelionLongitude;
  const TVector perihelion = KeplerPosition(e, e.Epoch);
  if (!IsInRange(perihelion)) return;
  // An open orbit has a perihelion only.
  const bool open = IsOpenOrbit(e);
  TVector aphelion;
  if (!open) {
    e.MeanLongitude = e.PerihelionLongitude + 180;
    aphelion = KeplerPosition(e, e.Epoch);
    if (!IsInRange(aphelion)) return;
  }
  const TColor c = SchemeColor(View().Scheme, ScaleColor(body.Color, 50));

  // Passage dates exist for Earth to Neptune only; Pluto and minor bodies get the letter alone,
  // and so does a planet whose tables end before the scene's date.
  Extended tA = -1;
  Extended tP = -1;
  const auto* planet = dynamic_cast<const TPlanet*>(&body);
  if (planet != nullptr && body.Id >= 0 && body.Id < 8) {
    const Extended jd = DateToJD(scene_date_);
    tA = NextPassage(AphelionDate, body.Id, jd, planet->Period);
    tP = NextPassage(PerihelionDate, body.Id, jd, planet->Period);
  }

  Surf().SetBrushColor(c);
  Surf().SetPenColor(c);
  Surf().SetFontColor(c);
  Surf().SetPenStyle(PenStyle::None);
  Surf().SetBrushStyle(BrushStyle::Hollow);
  DrawApsisMark(perihelion, ApsisLabel("P", tP), c);
  if (!open) DrawApsisMark(aphelion, ApsisLabel("A", tA), c);
}

void TSolarSystem::DrawLineOfNodes(const TOrbitalObject& body) {
  if (!body.Visible || !show_line_of_nodes_) return;
  std::unique_ptr<TOrbitRing> arc;
  const TNodes nodes = FindNodes(DrawnSamples(body, OpenArcReach(dim_, center_pos_), arc));
  if (!nodes.Found || !IsInRange(nodes.N1) || !IsInRange(nodes.N2)) return;
  const TColor c = SchemeColor(View().Scheme, ScaleColor(body.Color, 50));
  Surf().SetPenStyle(PenStyle::Solid);
  DrawLine3D(TVector{}, nodes.N1, c, false, false);
  DrawLine3D(TVector{}, nodes.N2, c, false, false);
}

}  // namespace kestrova
