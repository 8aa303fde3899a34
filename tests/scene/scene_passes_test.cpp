// The orbit pass, the bodies pass, minor bodies and user lines, checked call by call on the
// recording surface.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <regex>
#include <set>

#include "ephemerides/kepler_orbits.h"
#include "numerics/date_text.h"
#include "numerics/mathematics.h"
#include "scene/colour_schemes.h"
#include "scene/orbit_geometry.h"
#include "scene/recording_surface.h"
#include "scene/solar_system.h"
#include "support/scene_date.h"

namespace kestrova {
namespace {

constexpr TRect kRect{0, 0, 500, 500};
constexpr int32_t kTextHeight = 12;

// A scene at a fixed date, seen from above, with nothing but the bodies under test: no grid, no
// Sun, no names unless a test asks for them.
std::unique_ptr<TSolarSystem> QuietScene(const TDateRec& date = {1, 1, 2000, 12, 0, 0, 0}) {
  auto scene = std::make_unique<TSolarSystem>(TestStartDate());
  scene->SetDate(date);
  scene->SetPlane(TPlane::XY);
  scene->SetGridMode(0);
  scene->SetShowSun(false);
  scene->SetShowNames(false);
  return scene;
}

void ShowOnlyPlanet(TSolarSystem& scene, int32_t index) {
  for (int32_t i = 0; i < 9; ++i) scene.Planet(i).Visible = i == index;
}

std::vector<TSurfaceCall> PaintCalls(TSolarSystem& scene, uint8_t device = 0, uint8_t scheme = 2) {
  TRecordingSurface surface(kTextHeight);
  scene.Paint(surface, TViewport{kRect, device, scheme});
  return surface.Calls();
}

std::vector<TSurfaceCall> Of(const std::vector<TSurfaceCall>& calls, SurfaceOp op) {
  std::vector<TSurfaceCall> out;
  for (const TSurfaceCall& c : calls)
    if (c.Op == op) out.push_back(c);
  return out;
}

std::vector<std::string> Texts(const std::vector<TSurfaceCall>& calls) {
  std::vector<std::string> out;
  for (const TSurfaceCall& c : Of(calls, SurfaceOp::Text)) out.push_back(c.Text);
  return out;
}

bool HasText(const std::vector<TSurfaceCall>& calls, const std::string& text) {
  const auto t = Texts(calls);
  return std::find(t.begin(), t.end(), text) != t.end();
}

size_t PixelsOfColor(const std::vector<TSurfaceCall>& calls, TColor color) {
  size_t n = 0;
  for (const TSurfaceCall& c : Of(calls, SurfaceOp::Pixel)) n += c.Color == color;
  return n;
}

// Pixel x of a point at view coordinate h in the XY plane on the 500-pixel rectangle.
int32_t PixelX(Extended h, Extended dim) {
  return int32_t(std::trunc(500 * (h + dim) / (2 * dim)));
}
int32_t PixelY(Extended k, Extended dim) {
  return 500 - int32_t(std::trunc(500 * (k + dim) / (2 * dim)));
}

// A ring whose sample k (1..360) is point(k).
template <class Point>
TOrbitRing Ring(Point point) {
  TOrbitRing ring;
  for (int k = 1; k <= kOrbitSampleCount; ++k) ring[k - 1] = ToVectorD(point(k));
  return ring;
}

// A planet moved onto a circle of radius a in the ecliptic around the Sun, sample k at k
// degrees, so that every sample lands on its own pixel.
void PutOnCircle(TPlanet& planet, Extended a, Extended zAmplitude = 0) {
  planet.Elements.SemiMajorAxis = a;
  planet.Elements.Eccentricity = 0;
  planet.SetOrbitPoints(Ring([&](int k) {
    const Extended t = DegToRad(k);
    return TVector{a * std::cos(t), a * std::sin(t), zAmplitude * std::sin(t)};
  }));
  planet.Pos = planet.GetOrbitPoint(1);
}

TEST(OrbitGeometry, SizeLevelAndDotStep) {
  struct Case {
    Extended a, dim, e;
    int32_t level, step;
  };
  const Case cases[] = {
      {0.39L, 2, 0, 0, 1},     // below dim / 5: every sample, no markings
      {0.4L, 2, 0, 0, 1},      // exactly dim / 5 is not above it
      {0.39L, 1.9L, 0, 4, 4},  // above dim / 5 = 0.38, not above dim / 4
      {0.6L, 2, 0, 3, 3},     {0.7L, 2, 0, 2, 2},
      {1.0001L, 2, 0, 1, 1},  {0.39L, 1.9L, 0.95L, 4, 1},  // three steps less, floored at 1
      {0.7L, 2, 0.75L, 2, 1}, {0.6L, 2, 0.75L, 3, 2},
      {0.6L, 2, 0.85L, 3, 1}, {50, 2, 0.99L, 1, 1},
  };
  for (const Case& c : cases) {
    const int32_t level = OrbitSizeLevel(c.a, c.dim);
    EXPECT_EQ(level, c.level) << "a " << double(c.a) << " dim " << double(c.dim);
    EXPECT_EQ(OrbitDotStep(level, c.e), c.step) << "a " << double(c.a) << " e " << double(c.e);
  }
}

TEST(OrbitGeometry, ThinnedWalkVisitsSampleOneAndTheMultiplesOfTheStep) {
  const std::vector<int32_t> every = OrbitWalk(1);
  ASSERT_EQ(every.size(), 360u);
  EXPECT_EQ(every[0], 1);
  EXPECT_EQ(every[1], 1);
  for (int i = 2; i < 360; ++i) EXPECT_EQ(every[i], i);

  for (int32_t s : {2, 3, 4}) {
    const std::vector<int32_t> walk = OrbitWalk(s);
    ASSERT_EQ(walk.size(), 360u);
    std::set<int32_t> expected{1};
    for (int32_t k = s; k <= 359; k += s) expected.insert(k);
    EXPECT_EQ(std::set<int32_t>(walk.begin(), walk.end()), expected) << "step " << s;
  }
  // Sample 360 closes the ring onto sample 1 a revolution later; it is never drawn.
  const std::vector<int32_t> by4 = OrbitWalk(4);
  EXPECT_EQ(std::count(by4.begin(), by4.end(), 360), 0);
  EXPECT_EQ(by4.back(), 356);
}

TEST(OrbitGeometry, FindNodes) {
  TOrbitRing flat{};
  for (int k = 0; k < kOrbitSampleCount; ++k) flat[k] = {1, double(k), 0};
  EXPECT_FALSE(FindNodes(flat).Found);

  TOrbitRing above = flat;
  for (auto& p : above) p.z = 0.5L;
  EXPECT_FALSE(FindNodes(above).Found);

  // Two crossings: between samples 10/11 (z 1 to -3: a quarter of the way) and 200/201.
  TOrbitRing two{};
  for (int k = 1; k <= kOrbitSampleCount; ++k)
    two[k - 1] = {double(k), 0, (k <= 10 || k > 200) ? 1.0 : -3.0};
  TNodes n = FindNodes(two);
  ASSERT_TRUE(n.Found);
  EXPECT_EQ(n.N1.x, 10.25L);
  EXPECT_EQ(n.N1.z, 0);
  EXPECT_EQ(n.N2.x, 200.75L);
  EXPECT_EQ(n.N2.z, 0);

  // One change of sign only: both nodes are the same point.
  TOrbitRing once = two;
  for (int k = 201; k <= kOrbitSampleCount; ++k) once[k - 1].z = -3;
  n = FindNodes(once);
  ASSERT_TRUE(n.Found);
  EXPECT_EQ(n.N1, n.N2);

  // A change between samples 360 and 1 does not count: the ring is not closed.
  TOrbitRing wrap = flat;
  for (auto& p : wrap) p.z = 1;
  wrap[359].z = -1;
  n = FindNodes(wrap);
  ASSERT_TRUE(n.Found);
  EXPECT_EQ(n.N1.x, 1);
  EXPECT_EQ(n.N1.y, 358.5L);
}

TEST(OrbitPass, SizeLevelDecidesTheDotsAndTheMarkings) {
  for (Extended dim : {2.0L, 1.9L}) {
    auto scene = QuietScene();
    ShowOnlyPlanet(*scene, 1);
    // Samples 2.5 pixels apart on a line across the picture, crossing the ecliptic.
    TPlanet& mercury = scene->Planet(1);
    mercury.Elements.SemiMajorAxis = 0.39L;
    mercury.SetOrbitPoints(Ring([](int k) {
      return TVector{-1.9L + 0.01L * k, 0.5L, 0.01L * std::sin(DegToRad(k))};
    }));
    scene->SetObjectColor(1, 0x123456);
    scene->SetShowApsides(true);
    scene->SetShowLineOfNodes(true);
    scene->SetDim(dim);
    const auto calls = PaintCalls(*scene);
    std::set<std::pair<int32_t, int32_t>> dots;
    for (const TSurfaceCall& c : Of(calls, SurfaceOp::Pixel))
      if (c.Color == 0x123456) dots.insert({c.X1, c.Y1});
    if (dim == 2) {
      EXPECT_EQ(dots.size(), 359u);
      EXPECT_TRUE(Texts(calls).empty());
      EXPECT_TRUE(Of(calls, SurfaceOp::LineTo).empty());
    } else {
      // Level 4: sample 1 and every fourth, Mercury's dated apsides and two node lines.
      EXPECT_EQ(dots.size(), 90u);
      const auto texts = Texts(calls);
      ASSERT_EQ(texts.size(), 2u);
      EXPECT_EQ(texts[0].substr(0, 4), "P  (");
      EXPECT_EQ(texts[1].substr(0, 4), "A  (");
      EXPECT_EQ(Of(calls, SurfaceOp::LineTo).size(), 2u);
    }
  }
}

TEST(OrbitPass, NothingWithoutShowOrbits) {
  auto scene = QuietScene();
  ShowOnlyPlanet(*scene, 0);
  scene->SetShowOrbits(false);
  scene->SetShowApsides(true);
  scene->SetShowLineOfNodes(true);
  scene->SetShowPerpendiculars(true);
  const auto calls = PaintCalls(*scene);
  EXPECT_EQ(PixelsOfColor(calls, scene->Planet(0).Color), 0u);
  EXPECT_TRUE(Of(calls, SurfaceOp::LineTo).empty());
  EXPECT_TRUE(Texts(calls).empty());
}

TEST(OrbitPass, PerpendicularsRunFromTheSamplesDownToTheEcliptic) {
  auto scene = QuietScene();
  ShowOnlyPlanet(*scene, 1);
  PutOnCircle(scene->Planet(1), 0.39L, 0.2L);
  scene->SetPlane(TPlane::XZ);
  scene->SetDim(1.9L);  // level 4: samples 1, 4, ..., 356
  scene->SetShowPerpendiculars(true);
  scene->SetPerpendicularColor(0x0A0B0C);
  const auto calls = PaintCalls(*scene);
  std::vector<TSurfaceCall> lines;
  for (const TSurfaceCall& c : Of(calls, SurfaceOp::LineTo))
    if (c.PenColor == 0x0A0B0C) lines.push_back(c);
  ASSERT_EQ(lines.size(), 360u);
  for (const TSurfaceCall& c : lines) EXPECT_EQ(c.Y1, PixelY(0, 1.9L));  // the ecliptic
}

TEST(OrbitPass, ApsisLabels) {
  // Earth: both passages dated, the first at or after the scene's date.
  {
    auto scene = QuietScene();
    ShowOnlyPlanet(*scene, 0);
    scene->SetShowApsides(true);
    const auto texts = Texts(PaintCalls(*scene));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "P  (03.01.2000)");
    EXPECT_TRUE(std::regex_match(texts[1], std::regex(R"(A  \(0[3-5]\.07\.2000\))"))) << texts[1];
  }
  // Pluto and a picked minor body: the letters alone.
  {
    auto scene = QuietScene();
    ShowOnlyPlanet(*scene, 8);
    scene->SetDim(50);
    scene->SetShowApsides(true);
    TOrbitalElements el = scene->Planet(3).Elements;
    scene->AsteroidsList().Add(std::make_unique<TAsteroid>("Vesta", el, 0x00AA00));
    scene->Recompute();
    EXPECT_EQ(Texts(PaintCalls(*scene)), (std::vector<std::string>{"P", "A"}));
    scene->SetDim(2);
    ShowOnlyPlanet(*scene, -1);
    EXPECT_EQ(Texts(PaintCalls(*scene)), (std::vector<std::string>{"P", "A"}));
  }
  // Neptune after its table of passages ends: the search stops and the letter stands alone.
  {
    auto scene = QuietScene({1, 1, 3500, 0, 0, 0, 0});
    ShowOnlyPlanet(*scene, 7);
    scene->SetDim(50);
    scene->SetShowApsides(true);
    EXPECT_EQ(Texts(PaintCalls(*scene)), (std::vector<std::string>{"P", "A"}));
  }
}

TEST(OrbitPass, ApsisMarkersAndNodeLinesInTheDarkerShade) {
  auto scene = QuietScene();
  ShowOnlyPlanet(*scene, 3);
  scene->SetShowApsides(true);
  scene->SetShowLineOfNodes(true);
  const auto calls = PaintCalls(*scene);
  const TColor shade = ScaleColor(scene->Planet(3).Color, 50);
  const auto ellipses = Of(calls, SurfaceOp::Ellipse);
  ASSERT_GE(ellipses.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(ellipses[i].BrushColor, shade);
    EXPECT_EQ(ellipses[i].X2 - ellipses[i].X1, 5);  // radius 2, box x - 2 .. x + 3
  }
  const auto lines = Of(calls, SurfaceOp::LineTo);
  ASSERT_EQ(lines.size(), 2u);
  for (const auto& l : lines) EXPECT_EQ(l.PenColor, shade);
  // From the Sun.
  const auto moves = Of(calls, SurfaceOp::MoveTo);
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_EQ(moves[0].X1, 250);
  EXPECT_EQ(moves[0].Y1, 250);
  // Scheme 0 draws them black.
  const auto black = PaintCalls(*scene, 0, 0);
  for (const auto& l : Of(black, SurfaceOp::LineTo)) EXPECT_EQ(l.PenColor, kBlack);
}

TEST(OrbitPass, ApsidesNotDrawnWhenAnApsisIsOutOfRange) {
  auto scene = QuietScene();
  ShowOnlyPlanet(*scene, -1);
  TOrbitalElements el = scene->Planet(0).Elements;
  el.Eccentricity = 0.9L;
  el.SemiMajorAxis = 10;  // aphelion at 19 AU, beyond 5 Dim
  el.DailyMotion = 0.9856076686L / std::pow(10.0L, 1.5L);
  scene->AsteroidsList().Add(std::make_unique<TAsteroid>("Comet", el, 0x00AA00));
  scene->Recompute();
  scene->SetShowApsides(true);
  EXPECT_TRUE(Texts(PaintCalls(*scene)).empty());
}

// A parabolic comet in the ecliptic, perihelion 0.5 AU on the x axis: its path is the open arc
// x = 0.5 - y^2 / 2 running out of the picture at top and bottom, not a ring; its apsides are
// the perihelion alone.
TEST(OrbitPass, OpenOrbitIsTheArcAcrossThePicture) {
  auto scene = QuietScene();
  ShowOnlyPlanet(*scene, -1);
  const TOrbitalElements el{2451545.0L, 0, 0, 0, 0.5L, 0.9856262L / std::pow(0.5L, 1.5L), 1, 0};
  scene->AsteroidsList().Add(std::make_unique<TAsteroid>("Comet", el, 0x00AA00));
  scene->Recompute();
  scene->SetShowApsides(true);
  scene->SetDim(2);
  const auto calls = PaintCalls(*scene);
  const Extended pixel = 4.0L / 500;
  int32_t top = 500, bottom = -1;
  size_t dots = 0;
  for (const TSurfaceCall& c : Of(calls, SurfaceOp::Pixel)) {
    if (c.Color != 0x00AA00) continue;
    ++dots;
    const Extended h = c.X1 * pixel - 2, k = (500 - c.Y1) * pixel - 2;
    EXPECT_NEAR(h, 0.5L - k * k / 2, 1.5L * (1 + std::fabs(k)) * pixel) << c.X1 << " " << c.Y1;
    top = std::min(top, c.Y1);
    bottom = std::max(bottom, c.Y1);
  }
  EXPECT_GT(dots, 100u);
  EXPECT_LT(top, 10);
  EXPECT_GT(bottom, 490);
  EXPECT_EQ(Texts(calls), std::vector<std::string>{"P"});
}

TEST(BodiesPass, JupitersDiscRadius) {
  auto scene = QuietScene();
  ShowOnlyPlanet(*scene, 4);
  scene->SetShowSatellites(false);
  scene->SetShowOrbits(false);
  scene->SetCenterObject(4);
  for (auto [dim, r] : {std::pair{2.0L, 2}, std::pair{0.01L, 12}}) {
    scene->SetDim(dim);
    const auto discs = Of(PaintCalls(*scene), SurfaceOp::Ellipse);
    ASSERT_EQ(discs.size(), 1u);
    EXPECT_EQ(discs[0].X1, 250 - r);
    EXPECT_EQ(discs[0].Y1, 250 - r);
    EXPECT_EQ(discs[0].X2, 250 + r + 1);
    EXPECT_EQ(discs[0].Y2, 250 + r + 1);
    EXPECT_EQ(discs[0].Brush, BrushStyle::Solid);
    EXPECT_EQ(discs[0].Pen, PenStyle::None);
  }
}

TEST(BodiesPass, PlanetNameOnlyAwayFromTheSun) {
  auto scene = QuietScene();
  ShowOnlyPlanet(*scene, 1);
  scene->SetShowNames(true);
  scene->SetShowOrbits(false);
  scene->SetDim(2);  // Mercury at 0.3..0.47 AU, above dim / 5 = 0.4 only near aphelion
  scene->Planet(1).Pos = {0.45L, 0, 0};
  auto calls = PaintCalls(*scene);
  ASSERT_EQ(Of(calls, SurfaceOp::Text).size(), 1u);
  EXPECT_EQ(Of(calls, SurfaceOp::Text)[0].X1, PixelX(0.45L, 2) + 2 + 2);
  EXPECT_EQ(Of(calls, SurfaceOp::Text)[0].Y1, 250 - kTextHeight / 2);
  scene->Planet(1).Pos = {0.35L, 0, 0};
  calls = PaintCalls(*scene);
  EXPECT_TRUE(Texts(calls).empty());
  EXPECT_EQ(Of(calls, SurfaceOp::Ellipse).size(), 1u);
}

TEST(BodiesPass, MoonVisibilityFollowsTheZoom) {
  struct Case {
    Extended dim;
    bool disc, name, orbit;
  };
  for (const Case c : {Case{2, false, false, false}, Case{0.4L, true, false, false},
                       Case{0.01L, true, true, true}}) {
    auto scene = QuietScene();
    ShowOnlyPlanet(*scene, 0);
    scene->SetObjectColor(kSatelliteColorIndex, 0x010203);
    scene->SetCenterObject(0);
    scene->SetShowNames(true);
    scene->SetDim(c.dim);
    const auto calls = PaintCalls(*scene);
    size_t discs = 0;
    for (const auto& e : Of(calls, SurfaceOp::Ellipse)) discs += e.BrushColor == 0x010203;
    EXPECT_EQ(discs, c.disc ? 1u : 0u) << double(c.dim);
    EXPECT_EQ(HasText(calls, "Moon"), c.name) << double(c.dim);
    EXPECT_EQ(PixelsOfColor(calls, 0x010203) > 0, c.orbit) << double(c.dim);
  }
}

TEST(BodiesPass, MoonApsidesCarryDatesWithoutTime) {
  auto scene = QuietScene();
  ShowOnlyPlanet(*scene, 0);
  scene->SetCenterObject(0);
  scene->SetDim(0.01L);
  scene->SetShowApsides(true);
  const auto texts = Texts(PaintCalls(*scene));
  ASSERT_EQ(texts.size(), 2u);
  const std::regex date(R"([PA]  \(\d\d\.\d\d\.2000\))");
  for (const auto& t : texts) EXPECT_TRUE(std::regex_match(t, date)) << t;
}

TEST(BodiesPass, SaturnsRingsOnlyCloseUp) {
  for (Extended dim : {0.021L, 0.02L, 0.01L}) {
    auto scene = QuietScene();
    ShowOnlyPlanet(*scene, 5);
    scene->SetShowOrbits(false);
    scene->SetCenterObject(5);
    scene->SetDim(dim);
    const auto calls = PaintCalls(*scene);
    const TColor ring = ScaleColor(scene->Planet(5).Color, 50);
    size_t arcs = 0, segments = 0;
    for (const auto& m : Of(calls, SurfaceOp::MoveTo)) arcs += m.PenColor == ring;
    for (const auto& l : Of(calls, SurfaceOp::LineTo)) segments += l.PenColor == ring;
    EXPECT_EQ(arcs, dim <= 0.02L ? 72u : 0u) << double(dim);  // 36 per ring
    EXPECT_EQ(segments, 5 * arcs);
  }
}

TEST(BodiesPass, RotationArcAndAxis) {
  auto scene = QuietScene();
  ShowOnlyPlanet(*scene, 2);  // Venus turns backwards: the dot at the arc's end
  scene->SetShowOrbits(false);
  scene->SetShowRotation(true);
  scene->SetShowRotAxis(true);
  scene->SetAxesColor(0x00FF00);
  const auto calls = PaintCalls(*scene);
  std::vector<SurfaceOp> ops;
  for (const auto& c : calls)
    if ((c.Op == SurfaceOp::MoveTo || c.Op == SurfaceOp::Ellipse || c.Op == SurfaceOp::LineTo) &&
        c.PenColor == 0x00FF00 && (c.Op != SurfaceOp::Ellipse || c.BrushColor == 0x00FF00))
      ops.push_back(c.Op);
  // Arc: move, 270 segments, end dot; axis: move, line, end dot.
  ASSERT_EQ(ops.size(), 1u + 270 + 1 + 3);
  EXPECT_EQ(ops[0], SurfaceOp::MoveTo);
  EXPECT_EQ(ops[270], SurfaceOp::LineTo);
  EXPECT_EQ(ops[271], SurfaceOp::Ellipse);
  EXPECT_EQ(ops[272], SurfaceOp::MoveTo);
  EXPECT_EQ(ops[274], SurfaceOp::Ellipse);
}

// Jupiter moved next to the Earth at a close zoom so that the satellites can be placed by hand.
struct JupiterCloseUp {
  std::unique_ptr<TSolarSystem> scene = QuietScene();
  TPlanet& jupiter = scene->Planet(4);
  JupiterCloseUp() {
    ShowOnlyPlanet(*scene, 4);
    scene->SetCenterObject(0);
    scene->SetDim(0.01L);
    scene->SetShowNames(true);
    scene->SetShowOrbits(false);
    const TVector earth = scene->Planet(0).Pos;
    jupiter.Pos = VecAdd(earth, {0.015L, 0, 0});  // right of the rectangle, within range
    for (int32_t i = 0; i < jupiter.Satellites.Count(); ++i)
      jupiter.Satellites.Get(i).Pos = {-0.0101L, 0.001L * i, 0};
  }
};

TEST(BodiesPass, SatellitesOfAPlanetOutsideTheRectangle) {
  JupiterCloseUp j;
  auto calls = PaintCalls(*j.scene);
  EXPECT_EQ(Of(calls, SurfaceOp::Ellipse).size(), 4u);  // the four moons, not Jupiter
  EXPECT_TRUE(HasText(calls, "Io (J I)"));
  const auto io = Of(calls, SurfaceOp::Ellipse)[0];
  EXPECT_EQ(io.X1, PixelX(0.0049L, 0.01L) - 2);
  j.jupiter.Visible = false;
  EXPECT_TRUE(Of(PaintCalls(*j.scene), SurfaceOp::Ellipse).empty());
  j.jupiter.Visible = true;
  j.jupiter.Satellites.Get(0).Visible = false;
  EXPECT_EQ(Of(PaintCalls(*j.scene), SurfaceOp::Ellipse).size(), 3u);
  j.scene->SetShowSatellites(false);
  EXPECT_TRUE(Of(PaintCalls(*j.scene), SurfaceOp::Ellipse).empty());
}

TEST(BodiesPass, SatelliteOrbitApsidesWithTimeForFastMoons) {
  JupiterCloseUp j;
  j.scene->SetShowOrbits(true);
  j.scene->SetShowApsides(true);
  for (int32_t i = 1; i < 4; ++i) j.jupiter.Satellites.Get(i).Visible = false;
  j.jupiter.Pos = VecAdd(j.scene->Planet(0).Pos, {0.002L, 0, 0});
  TSatellite& io = j.jupiter.Satellites.Get(0);
  // An ellipse in the ecliptic: periapsis at sample 90, apoapsis at sample 270.
  io.SetOrbitPoints(Ring([](int k) {
    const Extended t = DegToRad(k);
    return TVector{0.003L * std::cos(t), 0.004L - 0.001L * std::sin(t), 0};
  }));
  io.Pos = {0.003L, 0.004L, 0};
  const auto calls = PaintCalls(*j.scene);
  const auto texts = Texts(calls);
  ASSERT_EQ(texts.size(), 4u);
  const std::regex withTime(R"([PA]  \(\d\d\.\d\d\.2000/\d\d:\d\d\))");
  EXPECT_TRUE(std::regex_match(texts[0], withTime)) << texts[0];
  EXPECT_EQ(texts[0][0], 'P');
  EXPECT_TRUE(std::regex_match(texts[1], withTime)) << texts[1];
  EXPECT_EQ(texts[2], "Io (J I)");
  EXPECT_EQ(texts[3], "Jupiter");
  // The date of periapsis is 90 / 359 of Io's period after the scene's date.
  const TDateRec tP = JDToDate(0, DateToJD(j.scene->SceneDate()) + 90 * io.Period / 359);
  EXPECT_NE(texts[0].find(TimeText(tP, 2)), std::string::npos);
  // Orbit dots: level 4 (0.005 AU is above dim / 5), samples 1 and every fourth, in the rectangle.
  EXPECT_EQ(PixelsOfColor(calls, io.Color), 360u);
}

TEST(BodiesPass, SatellitePerpendicularsThinWithTheSatellitesDistance) {
  JupiterCloseUp j;
  j.scene->SetShowOrbits(true);
  j.scene->SetShowPerpendiculars(true);
  j.scene->SetPerpendicularColor(0x0A0B0C);
  j.jupiter.Pos = VecAdd(j.scene->Planet(0).Pos, {0.0005L, 0, 0});
  for (int32_t i = 1; i < 4; ++i) j.jupiter.Satellites.Get(i).Visible = false;
  TSatellite& io = j.jupiter.Satellites.Get(0);
  // Samples 1.25 pixels apart across the picture: each on a column of its own.
  io.SetOrbitPoints(Ring([](int k) { return TVector{-0.009L + 0.00005L * k, 0.003L, 0.001L}; }));
  // Dim / 5 = 0.002, Dim / 4 = 0.0025, Dim / 3 = 0.00333.
  for (auto [d, samples] :
       {std::pair{0.0022L, 120u}, std::pair{0.003L, 180u}, std::pair{0.004L, 359u}}) {
    io.Pos = {0, d, 0};
    std::set<int32_t> columns;
    for (const auto& m : Of(PaintCalls(*j.scene), SurfaceOp::MoveTo))
      if (m.PenColor == 0x0A0B0C) columns.insert(m.X1);
    EXPECT_EQ(columns.size(), samples) << double(d);
  }
}

TEST(BodiesPass, CoOrbitalMoonsDrawNoOrbit) {
  auto scene = QuietScene();
  ShowOnlyPlanet(*scene, 5);
  scene->SetCenterObject(5);
  scene->SetDim(0.01L);
  scene->SetShowNames(true);
  scene->SetObjectColor(kSatelliteColorIndex, 0x010203);
  TPlanet& saturn = scene->Planet(5);
  for (int32_t i = 0; i < saturn.Satellites.Count(); ++i) {
    TSatellite& s = saturn.Satellites.Get(i);
    s.Visible = s.Id == 159;  // Telesto
    s.Pos = {0.003L, 0, 0};
    s.SetOrbitPoints(Ring([](int) { return TVector{0.003L, 0.001L, 0}; }));
  }
  const auto calls = PaintCalls(*scene);
  EXPECT_EQ(PixelsOfColor(calls, 0x010203), 0u);
  EXPECT_TRUE(HasText(calls, "Telesto (S XIII)"));
}

TEST(MinorBodies, PickedAndCrowdOnlyInTheShownYears) {
  for (int32_t year : {2050, 2051}) {
    auto scene = QuietScene({1, 6, year, 0, 0, 0, 0});
    ShowOnlyPlanet(*scene, -1);
    scene->SetShowNames(true);
    TOrbitalElements el = scene->Planet(3).Elements;
    scene->AsteroidsList().Add(std::make_unique<TAsteroid>("Picked", el, 0));
    scene->AsteroidsFullList().Add(el);
    scene->SetObjectColor(kMinorBodyColorIndex, 0x0000AB);
    scene->Recompute();
    const auto calls = PaintCalls(*scene);
    const bool shown = year == 2050;
    EXPECT_EQ(HasText(calls, "Picked"), shown);
    EXPECT_EQ(Of(calls, SurfaceOp::Ellipse).size(), shown ? 1u : 0u);
    // The crowd's pixel and the picked body's orbit.
    EXPECT_EQ(PixelsOfColor(calls, 0x0000AB) > 1, shown) << year;
  }
}

TEST(MinorBodies, HiddenPickedBodyDisappearsWhileTheCrowdStays) {
  auto scene = QuietScene();
  ShowOnlyPlanet(*scene, -1);
  scene->SetShowNames(true);
  scene->SetShowOrbits(false);
  TOrbitalElements el = scene->Planet(3).Elements;
  scene->AsteroidsList().Add(std::make_unique<TAsteroid>("Picked", el, 0));
  scene->AsteroidsFullList().Add(el);
  scene->SetDate({1, 6, 2020, 0, 0, 0, 0});
  scene->AsteroidsList().Get(0).Visible = false;
  scene->SetObjectColor(kMinorBodyColorIndex, 0x0000AB);
  const auto calls = PaintCalls(*scene);
  EXPECT_TRUE(Of(calls, SurfaceOp::Ellipse).empty());
  EXPECT_TRUE(Texts(calls).empty());
  const auto pixels = Of(calls, SurfaceOp::Pixel);
  ASSERT_EQ(pixels.size(), 1u);
  const TVector p = ToVector(scene->AsteroidsFullList().Pos(0));
  EXPECT_EQ(pixels[0].X1, PixelX(p.x, 2));
  EXPECT_EQ(pixels[0].Y1, PixelY(p.y, 2));
  // Printer pages plot a plus and a square.
  EXPECT_EQ(Of(PaintCalls(*scene, 1), SurfaceOp::Pixel).size(), 5u);
  EXPECT_EQ(Of(PaintCalls(*scene, 2), SurfaceOp::Pixel).size(), 9u);
}

// Picked bodies and the crowd share one colour. Over a catalogue dense enough to hide them a
// picked body gets a ring and its name in the contrasting colour, drawn after the crowd's
// pixels; among a few hundred scattered bodies it is drawn as ever.
TEST(MinorBodies, PickedBodiesStandOutOfADenseCrowd) {
  struct Case {
    int crowd;
    bool ringed;
  };
  for (const Case c : {Case{3000, true}, Case{300, false}}) {
    auto scene = QuietScene({1, 6, 2020, 0, 0, 0, 0});
    ShowOnlyPlanet(*scene, -1);
    scene->SetShowOrbits(false);
    scene->SetShowNames(true);
    const TOrbitalElements el = scene->Planet(3).Elements;
    scene->AsteroidsList().Add(std::make_unique<TAsteroid>("Picked", el, 0));
    for (int i = 0; i < c.crowd; ++i) scene->AsteroidsFullList().Add(el);
    scene->SetObjectColor(kMinorBodyColorIndex, 0x008080);
    scene->Recompute();
    // Spread over the picture, each body on a pixel of its own.
    for (int i = 0; i < c.crowd; ++i)
      scene->AsteroidsFullList().Positions()[i] = {-1.9 + 3.8 * (i % 60) / 60,
                                                   -1.9 + 3.8 * (i / 60) / 60, 0};
    const auto calls = PaintCalls(*scene);
    const auto ellipses = Of(calls, SurfaceOp::Ellipse);
    ASSERT_EQ(ellipses.size(), c.ringed ? 2u : 1u) << c.crowd;
    const auto text = Of(calls, SurfaceOp::Text);
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(text[0].FontColor, c.ringed ? kWhite : 0x008080u);
    if (!c.ringed) continue;
    // The disc, then a ring two pixels wider around it, after every pixel of the crowd.
    const TSurfaceCall& disc = ellipses[0];
    const TSurfaceCall& ring = ellipses[1];
    EXPECT_EQ(disc.BrushColor, 0x008080u);
    EXPECT_EQ(ring.Brush, BrushStyle::Hollow);
    EXPECT_EQ(ring.Pen, PenStyle::Solid);
    EXPECT_EQ(ring.PenColor, kWhite);
    EXPECT_EQ(ring.X1, disc.X1 - 2);
    EXPECT_EQ(ring.X2, disc.X2 + 2);
    const auto last = std::find_if(calls.rbegin(), calls.rend(), [](const TSurfaceCall& call) {
      return call.Op == SurfaceOp::Pixel;
    });
    EXPECT_LT(std::distance(last, calls.rend()) - 1,
              std::distance(calls.begin(), std::find(calls.begin(), calls.end(), disc)));
  }
}

TEST(UserLines, EndsAndCuts) {
  auto scene = QuietScene();
  ShowOnlyPlanet(*scene, -1);
  scene->SetShowOrbits(false);
  auto& lines = scene->DirectionList();
  lines.Add(std::make_unique<TDirection>(0, 0x00CCCC, 3));
  const TVector earth = scene->Planet(0).Pos;
  const TVector mars = scene->Planet(3).Pos;

  auto drawn = [&] { return Of(PaintCalls(*scene), SurfaceOp::LineTo); };
  auto line = drawn();
  ASSERT_EQ(line.size(), 1u);
  EXPECT_EQ(line[0].X1, PixelX(mars.x, 2));
  EXPECT_EQ(line[0].Y1, PixelY(mars.y, 2));
  EXPECT_EQ(line[0].PenColor, 0x00CCCCu);
  // The line's own colour in every scheme.
  EXPECT_EQ(Of(PaintCalls(*scene, 0, 0), SurfaceOp::LineTo)[0].PenColor, 0x00CCCCu);

  // Mars out of range: the line ends 1.5 Dim from the Earth towards Mars.
  scene->SetCenterObject(0);
  scene->SetDim(0.01L);
  const TVector d = VecSub(mars, earth);
  const TVector end = VecScale(d, 1.5L * 0.01L / VecLength(d));
  line = drawn();
  ASSERT_EQ(line.size(), 1u);
  EXPECT_EQ(line[0].X1, PixelX(end.x, 0.01L));
  EXPECT_EQ(line[0].Y1, PixelY(end.y, 0.01L));

  // From the Sun to the Earth at Dim 50: 1 AU is below 50 / 20.
  scene->SetCenterObject(9);
  lines.Clear();
  lines.Add(std::make_unique<TDirection>(9, 0x00CCCC, 0));
  scene->SetDim(2.5L);
  EXPECT_EQ(drawn().size(), 1u);
  scene->SetDim(50);
  EXPECT_TRUE(drawn().empty());

  scene->SetDim(2);
  lines.Get(0).Visible = false;
  EXPECT_TRUE(drawn().empty());
  for (auto [from, to] : {std::pair{3, 3}, std::pair{10, 0}, std::pair{0, -1}}) {
    lines.Clear();
    lines.Add(std::make_unique<TDirection>(from, 0x00CCCC, to));
    EXPECT_TRUE(drawn().empty()) << from << " " << to;
  }
  lines.Clear();
  lines.Add(std::make_unique<TDirection>(0, 0x00CCCC, 3));
  scene->SetShowDirections(false);
  EXPECT_TRUE(drawn().empty());
}

// The crowd is plotted by a fast path of its own: each body must land exactly where Project
// puts a picked body at the same place, range limits included.
TEST(MinorBodies, CrowdLandsWherePickedBodiesDo) {
  auto scene = QuietScene({1, 6, 2020, 0, 0, 0, 0});
  ShowOnlyPlanet(*scene, -1);
  scene->SetShowOrbits(false);
  scene->SetCenterObject(0);
  scene->SetDim(1.2L);  // the Sun inside the picture, 0.036 AU its empty neighbourhood
  const TVector earth = scene->Planet(0).Pos;
  std::vector<TVector> places;
  for (int i = 0; i < 400; ++i) {
    // Around the Earth out to beyond 5 Dim, and around the Sun across 0.03 Dim.
    const Extended r = 0.00004L * i * i, t = i * 2.399963L;
    places.push_back(VecAdd(earth, {r * std::cos(t), r * std::sin(t), 0.3L * r * std::sin(3 * t)}));
    places.push_back({0.00015L * i * std::cos(t), 0.00015L * i * std::sin(t), 0});
  }
  places.push_back({0, 0, 0});
  places.push_back(earth);
  // Elements that give no position must not reach the picture.
  places.push_back({std::nanl(""), 0, 0});
  places.push_back({0, std::numeric_limits<Extended>::infinity(), 0});
  // The crowd's positions are held in double: the picked bodies stand at the same places.
  TFullList& full = scene->AsteroidsFullList();
  for (size_t i = 0; i < places.size(); ++i) {
    full.Add(TOrbitalElements{});
    scene->AsteroidsList().Add(std::make_unique<TAsteroid>("", TOrbitalElements{}, 0));
  }
  // Centred on the Earth and on the Sun, which the crowd's path takes a shorter way for.
  for (const int32_t centre : {0, kSunIndex}) {
    scene->SetCenterObject(centre);
    for (size_t i = 0; i < places.size(); ++i) {
      full.Positions()[i] = ToVectorD(places[i]);
      scene->AsteroidsList().Get(int32_t(i)).Pos = ToVector(ToVectorD(places[i]));
    }
    for (TPlane plane : {TPlane::XY, TPlane::XZ, TPlane::ZY, TPlane::D3}) {
      scene->SetPlane(plane);
      std::vector<std::pair<int32_t, int32_t>> picked, crowd;
      const auto calls = PaintCalls(*scene);
      for (const auto& e : Of(calls, SurfaceOp::Ellipse)) picked.push_back({e.X1 + 2, e.Y1 + 2});
      for (const auto& c : Of(calls, SurfaceOp::Pixel)) crowd.push_back({c.X1, c.Y1});
      EXPECT_GT(crowd.size(), 100u);
      EXPECT_LT(crowd.size(), places.size());
      EXPECT_EQ(crowd, picked) << centre << " " << int(plane);
    }
  }
}

}  // namespace
}  // namespace kestrova
