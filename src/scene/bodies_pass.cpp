// The bodies pass: the data file's crowd of minor bodies, each planet with its satellites,
// rotation axis, sense of rotation, Saturn's rings and name, the picked minor bodies, and last
// the Sun. Satellites draw their own orbits and markings here, scaled to the planet's
// neighbourhood rather than to the Sun's.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

#include "ephemerides/kepler_orbits.h"
#include "ephemerides/precession.h"
#include "numerics/date_text.h"
#include "numerics/mathematics.h"
#include "scene/colour_schemes.h"
#include "scene/orbit_geometry.h"
#include "scene/pixel_projection.h"
#include "scene/solar_system.h"
#include "scene/work_shares.h"

namespace kestrova {

namespace {

// Below this many bodies of the full list a second thread costs more than it saves.
constexpr size_t kCrowdPerThread = 100000;

// A crowd of one pixel in this many of the picture or more hides picked bodies of its colour
// (a catalogue of thousands of bodies); a few hundred scattered ones do not.
constexpr size_t kDenseCrowd = 100;

// Inner and outer edge of Saturn's bright rings: 74400 km and 136600 km.
constexpr Extended kSaturnRingRadii[2] = {74400.0L / kKmPerAU, 136600.0L / kKmPerAU};

// Telesto, Calypso and Helene share the orbits of Tethys and Dione; drawing them again would
// only darken those.
bool SharesAnotherOrbit(int32_t id) {
  return id == 159 || id == 160 || id == 162;
}

// Disc radius in pixels of a body of the given diameter (AU): its true size, rounded to the
// nearest pixel with ties to even, and at least `smallest`.
int32_t DiscRadius(Extended diameter, int32_t width, Extended dim, int32_t smallest) {
  const Extended r = Extended(width) * diameter / (dim * 4);
  if (!(r >= smallest)) return smallest;
  return r < 1e9L ? int32_t(RoundHalfEven(r)) : 1000000000;
}

std::string SatelliteApsisLabel(const char* letter, Extended jd, Extended period) {
  const TDateRec date = JDToDate(0, jd);
  std::string text = std::string(letter) + "  (" + DateText(date);
  // Fast satellites pass their apsides several times a day: the hour tells them apart.
  if (!(period > 5)) text += "/" + TimeText(date, 2);
  return text + ")";
}

}  // namespace

void TSolarSystem::DrawBodiesPass() {
  bool denseCrowd = false;
  if (can_show_objects_) {
    const size_t plotted = PlotObjectPixels();
    const TRect rect = DrawingRect();
    denseCrowd = plotted * kDenseCrowd >= size_t(rect.Width) * size_t(rect.Height);
  }
  for (int32_t i = 0; i < planets_.Count(); ++i)
    if (auto* planet = dynamic_cast<const TPlanet*>(&planets_.Get(i))) DrawPlanet(*planet);
  if (can_show_objects_)
    for (int32_t i = 0; i < asteroids_.Count(); ++i) DrawMinorBody(asteroids_.Get(i), denseCrowd);
  DrawSun();
}

// Every body of the full list (it has no hidden ones), through TPixelProjection: a full
// catalogue holds over a million bodies. Each body is projected on its own, reading only what
// stays unchanged while the picture is painted, so a whole catalogue is split over the cores.
size_t TSolarSystem::PlotObjectPixels() {
  crowd_.clear();
  const size_t n = size_t(asteroids_full_.Count());
  const size_t threads = ShareCount(n, kCrowdPerThread, 8);
  TPixelRows rows;
  if (View().Device == 0 &&
      Surf().PixelRows(SchemeColor(View().Scheme, asteroids_full_.Color()), rows)) {
    // Every pixel of the crowd gets the same word, so the shares may write into the picture as
    // they go, in any order: the picture is the one the list's order gives.
    crowd_parts_.clear();
    std::vector<size_t> plotted(threads, 0);
    RunShares(n, threads, [&](size_t share, size_t begin, size_t end) {
      plotted[share] = WriteObjectPixels(begin, end, rows);
    });
    size_t total = 0;
    for (const size_t count : plotted) total += count;
    return total;
  }
  // Elsewhere the shares' pixels (crowd_, then crowd_parts_) are set in the list's order, so
  // that the picture is the same as from one thread.
  if (threads == 1) {
    crowd_parts_.clear();
    GatherObjectPixels(0, n, crowd_);
  } else {
    // The shares' buffers are kept from frame to frame, as crowd_ is: growing them anew for
    // each frame of an animation cost more than filling them.
    crowd_parts_.resize(threads - 1);
    for (std::vector<TPixel>& part : crowd_parts_) part.clear();
    RunShares(n, threads, [&](size_t share, size_t begin, size_t end) {
      GatherObjectPixels(begin, end, share == 0 ? crowd_ : crowd_parts_[share - 1]);
    });
  }
  Surf().SetPixels(crowd_.data(), crowd_.size());
  size_t total = crowd_.size();
  for (const std::vector<TPixel>& part : crowd_parts_) {
    Surf().SetPixels(part.data(), part.size());
    total += part.size();
  }
  return total;
}

size_t TSolarSystem::WriteObjectPixels(size_t begin, size_t end, const TPixelRows& rows) const {
  const TPixelProjection projection(*this);
  size_t plotted = 0;
  const bool clipEmpty = rows.Right < rows.Left || rows.Bottom < rows.Top;
  // Unsigned offsets from the clip's corner test both bounds at once.
  const auto width = uint32_t(rows.Right - rows.Left);
  const auto height = uint32_t(rows.Bottom - rows.Top);
  projection.PixelsOf(
      asteroids_full_.Positions(), begin,
      end, [&](int32_t x, int32_t y) __attribute__((always_inline)) {
        ++plotted;
        if (clipEmpty || uint32_t(x - rows.Left) > width || uint32_t(y - rows.Top) > height) return;
        // Another share may write the same pixel, with the same word.
        uint32_t& pixel = reinterpret_cast<uint32_t*>(rows.Bits + rows.Stride * y)[x];
        std::atomic_ref<uint32_t>(pixel).store(rows.Word, std::memory_order_relaxed);
      });
  return plotted;
}

void TSolarSystem::GatherObjectPixels(size_t begin, size_t end, std::vector<TPixel>& out) const {
  const TPixelProjection projection(*this);
  const uint8_t device = View().Device;
  const TColor drawn = SchemeColor(View().Scheme, asteroids_full_.Color());
  const TVectorD* positions = asteroids_full_.Positions();
  if (device == 0) {
    projection.PixelsOf(
        positions, begin, end, [&](int32_t x, int32_t y) __attribute__((always_inline)) {
          out.push_back({x, y, drawn});
        });
  } else {
    projection.PixelsOf(positions, begin, end,
                        [&](int32_t x, int32_t y) { AppendDotPattern(out, device, x, y, drawn); });
  }
}

void TSolarSystem::DrawPlanet(const TPlanet& planet) {
  if (!planet.Visible || !IsInRange(planet.Pos)) return;
  // Satellites come first and show even when the planet's disc lies outside the rectangle.
  for (int32_t i = 0; i < planet.Satellites.Count(); ++i) DrawSatellite(planet.Satellites.Get(i));

  const Extended jd = DateToJD(scene_date_);
  const int32_t r = DiscRadius(planet.Diameter, DrawingRect().Width, dim_, DotRadius(View()));
  const TPoint pt = Project(planet.Pos);
  if (!InRect(DrawingRect(), pt.x, pt.y)) return;
  // Close to the Sun at a wide zoom the markings and the name would only clutter the Sun's.
  const Extended d = DistanceFromSun(planet.Pos);
  const bool marked = d >= dim_ / 5 || d == 0;

  const TColor axisColor = MarkingColor(axes_color_);
  Surf().SetPenStyle(PenStyle::Solid);
  const bool rings = planet.Id == kSaturn && dim_ <= 0.02L;
  if ((marked && (show_rotation_ || show_rot_axis_)) || rings) {
    const TVector u = EquToEcl(PlanetPoleOfDate(planet.Id, jd).Rect, MeanObliquity(jd));
    const Extended len = std::max(dim_ / 15, 0.75L * planet.Diameter);
    if (marked && show_rotation_) {
      // The dot marks where the turning surface is heading.
      const bool retro = planet.RotationRetrograde();
      DrawArc3D(planet.Pos, len, u, 0, 270, axisColor, !retro, retro);
    }
    if (marked && show_rot_axis_) {
      const TVector v = VecScale(u, len);
      DrawLine3D(VecAdd(planet.Pos, v), VecSub(planet.Pos, v), axisColor, false, true);
    }
    if (rings) {
      const TColor ringColor = ScaleColor(SchemeColor(View().Scheme, planet.Color), 50);
      for (int32_t i = 1; i <= 71; i += 2)
        for (Extended radius : kSaturnRingRadii)
          DrawArc3D(planet.Pos, radius, u, 5 * i, 5 * i + 5, ringColor, false, false);
    }
  }

  DrawBodyDisc(pt, r, SchemeColor(View().Scheme, planet.Color));
  if (show_names_ && marked) DrawBodyLabel(pt, r, planet.Name);
}

void TSolarSystem::DrawBodyDisc(const TPoint& pt, int32_t r, TColor color) {
  Surf().SetBrushColor(color);
  Surf().SetBrushStyle(BrushStyle::Solid);
  Surf().SetPenStyle(PenStyle::None);
  Surf().Ellipse(pt.x - r, pt.y - r, pt.x + r + 1, pt.y + r + 1);
  Surf().SetFontColor(color);
  Surf().SetBrushStyle(BrushStyle::Hollow);
}

void TSolarSystem::DrawBodyLabel(const TPoint& pt, int32_t r, const std::string& label) {
  const TPoint at = NameOrigin(pt.x, pt.y, r, Surf().TextHeight("0"));
  Surf().TextOut(at.x, at.y, label);
}

void TSolarSystem::DrawSatellite(const TSatellite& sat) {
  if (!sat.Visible || !show_satellites_ || sat.Planet == nullptr || !sat.Planet->Visible) return;
  const TVector p = VecAdd(sat.Pos, sat.Planet->Pos);
  const Extended d = sat.PlanetDistance();
  // Too close to its planet to be told apart at this zoom.
  if (d < dim_ / 200) return;
  DrawSatelliteOrbit(sat);

  const int32_t r = DotRadius(View());
  const TPoint pt = Project(p);
  if (!InRect(DrawingRect(), pt.x, pt.y)) return;
  DrawBodyDisc(pt, r, SchemeColor(View().Scheme, sat.Color));
  if (show_names_ && d >= dim_ / 8) {
    DrawBodyLabel(pt, r, sat.Code.empty() ? sat.Name : sat.Name + " (" + sat.Code + ")");
  }
}

void TSolarSystem::DrawSatelliteOrbit(const TSatellite& sat) {
  if (!sat.Visible || !show_satellites_ || !show_orbits_ || sat.Planet == nullptr ||
      !sat.Planet->Visible || SharesAnotherOrbit(sat.Id))
    return;
  const int32_t s = OrbitSizeLevel(sat.PlanetDistance(), dim_);
  if (s == 0) return;
  DrawSatellitePerpendiculars(sat);
  DrawSatelliteApsides(sat);
  DrawSatelliteLineOfNodes(sat);

  const TColor color = SchemeColor(View().Scheme, sat.Color);
  const TVector& center = sat.Planet->Pos;
  const TRect rect = DrawingRect();
  crowd_.clear();
  WalkOrbitSamples(s, [&](int32_t k) {
    const TPoint pt = Project(VecAdd(sat.GetOrbitPoint(k), center));
    if (InRect(rect, pt.x, pt.y)) AppendDotPattern(crowd_, View().Device, pt.x, pt.y, color);
  });
  Surf().SetPixels(crowd_.data(), crowd_.size());
}

void TSolarSystem::DrawSatellitePerpendiculars(const TSatellite& sat) {
  if (!show_perpendiculars_) return;
  const Extended d = sat.PlanetDistance();
  const int32_t step = d <= dim_ / 4 ? 3 : d <= dim_ / 3 ? 2 : 1;
  const TColor color = MarkingColor(perpendicular_color_);
  const TVector& center = sat.Planet->Pos;
  Surf().SetPenStyle(PenStyle::Solid);
  // Down to the plane through the planet parallel to the ecliptic.
  WalkOrbitSamples(step, [&](int32_t k) {
    const TVector q = VecAdd(sat.GetOrbitPoint(k), center);
    DrawLine3D(q, TVector{q.x, q.y, center.z}, color, false, false);
  });
}

void TSolarSystem::DrawSatelliteApsides(const TSatellite& sat) {
  if (!sat.Visible || !show_apsides_) return;
  // Planetocentric distances: index 0 is the present position, 1..360 the samples.
  auto dist = [&](int32_t k) {
    return k == 0 ? VecLength(sat.Pos) : VecLength(sat.GetOrbitPoint(k));
  };
  int32_t peri = 0;
  for (int32_t k = 1; k <= 358 && peri == 0; ++k)
    if (dist(k) <= dist(k - 1) && dist(k) <= dist(k + 1)) peri = k;
  if (peri == 0) return;
  int32_t apo = 0;
  for (int32_t k = 1; k <= 358 && apo == 0; ++k)
    if (dist(k) >= dist(k - 1) && dist(k) >= dist(k + 1)) apo = k;
  if (apo == 0) return;
  if (!(dist(apo) > dist(peri))) return;
  const TVector& center = sat.Planet->Pos;
  const TVector periPos = VecAdd(sat.GetOrbitPoint(peri), center);
  const TVector apoPos = VecAdd(sat.GetOrbitPoint(apo), center);
  if (!IsInRange(periPos) || !IsInRange(apoPos)) return;

  const Extended jd = DateToJD(scene_date_);
  const Extended tP = jd + peri * sat.Period / 359;
  const Extended tA = jd + apo * sat.Period / 359;
  const TColor c = SchemeColor(View().Scheme, sat.Color);
  Surf().SetBrushColor(c);
  Surf().SetPenColor(c);
  Surf().SetFontColor(c);
  Surf().SetPenStyle(PenStyle::None);
  Surf().SetBrushStyle(BrushStyle::Hollow);
  DrawApsisMark(periPos, SatelliteApsisLabel("P", tP, sat.Period), c);
  DrawApsisMark(apoPos, SatelliteApsisLabel("A", tA, sat.Period), c);
}

void TSolarSystem::DrawSatelliteLineOfNodes(const TSatellite& sat) {
  if (!sat.Visible || !show_line_of_nodes_) return;
  // Planetocentric samples: the nodes lie in the plane through the planet parallel to the
  // ecliptic.
  const TNodes nodes = FindNodes(sat.OrbitPoints());
  if (!nodes.Found) return;
  const TVector& center = sat.Planet->Pos;
  const TVector n1 = VecAdd(nodes.N1, center);
  const TVector n2 = VecAdd(nodes.N2, center);
  if (!IsInRange(n1) || !IsInRange(n2)) return;
  const TColor c = SchemeColor(View().Scheme, ScaleColor(sat.Color, 50));
  Surf().SetPenStyle(PenStyle::Solid);
  DrawLine3D(center, n1, c, false, false);
  DrawLine3D(center, n2, c, false, false);
}

}  // namespace kestrova
