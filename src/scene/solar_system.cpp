// The scene's state, its setter rules, the recompute cycle and the paint entry.
#include "scene/solar_system.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "numerics/mathematics.h"
#include "scene/colour_schemes.h"
#include "streams/value_stream.h"

namespace kestrova {

namespace {

// clang-format off
constexpr std::array<TColor, kObjectColorCount> kInitialObjectColors = {
    0xFF0000, 0x0080FF, 0xFFFFFF, 0x0000FF, 0x808000, 0xC0C0C0, 0xFFFF00,
    0xFFA0A0, 0xA0A0A0, 0x00FFFF, 0xC0C0C0, 0x008080, kDefaultSatelliteColor};
// clang-format on

// pi/4 read as degrees: the angle the scene has always started with.
constexpr Extended kInitialRotation = 0.7853981633974483L;

constexpr Extended kGridSteps[] = {0.001L, 0.002L, 0.0025L, 0.005L, 0.01L, 0.02L,
                                   0.025L, 0.05L,  0.1L,    0.2L,   0.25L, 0.5L,
                                   1.0L,   2.0L,   2.5L,    5.0L,   10.0L, 20.0L};

bool AsBool(const TPropertyValue& v) {
  if (const bool* b = std::get_if<bool>(&v)) return *b;
  throw EInvalidValue();
}

int32_t AsInt(const TPropertyValue& v) {
  if (const int32_t* i = std::get_if<int32_t>(&v)) return *i;
  throw EInvalidValue();
}

Extended AsFloat(const TPropertyValue& v) {
  if (const Extended* x = std::get_if<Extended>(&v)) return *x;
  if (const int32_t* i = std::get_if<int32_t>(&v)) return *i;
  throw EInvalidValue();
}

TColor AsColor(const TPropertyValue& v) {
  return static_cast<TColor>(AsInt(v));
}
int32_t FromColor(TColor c) {
  return static_cast<int32_t>(c);
}

struct TPropertyEntry {
  const char* Name;
  TPropertyValue (*Get)(const TSolarSystem&);
  void (*Set)(TSolarSystem&, const TPropertyValue&);  // nullptr: read only
};

// clang-format off
const TPropertyEntry kProperties[] = {
    {"Left", [](const TSolarSystem& s) -> TPropertyValue { return s.Left(); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetLeft(AsInt(v)); }},
    {"Top", [](const TSolarSystem& s) -> TPropertyValue { return s.Top(); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetTop(AsInt(v)); }},
    {"Width", [](const TSolarSystem& s) -> TPropertyValue { return s.Width(); }, nullptr},
    {"Height", [](const TSolarSystem& s) -> TPropertyValue { return s.Height(); }, nullptr},
    {"Dim", [](const TSolarSystem& s) -> TPropertyValue { return s.Dim(); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetDim(AsFloat(v)); }},
    {"CenterObject", [](const TSolarSystem& s) -> TPropertyValue { return s.CenterObject(); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetCenterObject(AsInt(v)); }},
    {"ShowOrbits", [](const TSolarSystem& s) -> TPropertyValue { return s.ShowOrbits(); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetShowOrbits(AsBool(v)); }},
    {"ShowNames", [](const TSolarSystem& s) -> TPropertyValue { return s.ShowNames(); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetShowNames(AsBool(v)); }},
    {"ShowSun", [](const TSolarSystem& s) -> TPropertyValue { return s.ShowSun(); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetShowSun(AsBool(v)); }},
    {"ShowRotAxis", [](const TSolarSystem& s) -> TPropertyValue { return s.ShowRotAxis(); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetShowRotAxis(AsBool(v)); }},
    {"ShowRotation", [](const TSolarSystem& s) -> TPropertyValue { return s.ShowRotation(); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetShowRotation(AsBool(v)); }},
    {"ShowPerpendiculars",
     [](const TSolarSystem& s) -> TPropertyValue { return s.ShowPerpendiculars(); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetShowPerpendiculars(AsBool(v)); }},
    {"ShowApsides", [](const TSolarSystem& s) -> TPropertyValue { return s.ShowApsides(); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetShowApsides(AsBool(v)); }},
    {"ShowLineOfNodes",
     [](const TSolarSystem& s) -> TPropertyValue { return s.ShowLineOfNodes(); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetShowLineOfNodes(AsBool(v)); }},
    {"ShowDirections",
     [](const TSolarSystem& s) -> TPropertyValue { return s.ShowDirections(); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetShowDirections(AsBool(v)); }},
    {"ShowSatellites",
     [](const TSolarSystem& s) -> TPropertyValue { return s.ShowSatellites(); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetShowSatellites(AsBool(v)); }},
    {"GridMode", [](const TSolarSystem& s) -> TPropertyValue { return s.GridMode(); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetGridMode(AsInt(v)); }},
    {"Plane",
     [](const TSolarSystem& s) -> TPropertyValue { return static_cast<int32_t>(s.Plane()); },
     [](TSolarSystem& s, const TPropertyValue& v) {
       s.SetPlane(static_cast<TPlane>(static_cast<uint8_t>(AsInt(v))));
     }},
    {"RotX", [](const TSolarSystem& s) -> TPropertyValue { return s.RotX(); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetRotX(AsFloat(v)); }},
    {"RotY", [](const TSolarSystem& s) -> TPropertyValue { return s.RotY(); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetRotY(AsFloat(v)); }},
    {"RotZ", [](const TSolarSystem& s) -> TPropertyValue { return s.RotZ(); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetRotZ(AsFloat(v)); }},
    {"GridColor", [](const TSolarSystem& s) -> TPropertyValue { return FromColor(s.GridColor()); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetGridColor(AsColor(v)); }},
    {"BgColor", [](const TSolarSystem& s) -> TPropertyValue { return FromColor(s.BgColor()); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetBgColor(AsColor(v)); }},
    {"SunColor", [](const TSolarSystem& s) -> TPropertyValue { return FromColor(s.SunColor()); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetSunColor(AsColor(v)); }},
    {"AxesColor", [](const TSolarSystem& s) -> TPropertyValue { return FromColor(s.AxesColor()); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetAxesColor(AsColor(v)); }},
    {"PerpendicularColor",
     [](const TSolarSystem& s) -> TPropertyValue { return FromColor(s.PerpendicularColor()); },
     [](TSolarSystem& s, const TPropertyValue& v) { s.SetPerpendicularColor(AsColor(v)); }},
    {"CanShowObjects",
     [](const TSolarSystem& s) -> TPropertyValue { return s.CanShowObjects(); }, nullptr},
};
// clang-format on

const TPropertyEntry& FindProperty(const std::string& name) {
  for (const TPropertyEntry& p : kProperties) {
    if (name == p.Name) return p;
  }
  throw EKestrovaError("Unknown property " + name);
}

}  // namespace

TSolarSystem::TSolarSystem(const TDateRec& date)
    : scene_date_(date), object_colors_(kInitialObjectColors) {
  for (int32_t i = kEarth; i <= kPluto; ++i) {
    planets_.Add(std::make_unique<TPlanet>(i, object_colors_[static_cast<size_t>(i)]));
  }
  const TColor satellite = object_colors_[kSatelliteColorIndex];
  TPlanet& earth = Planet(kEarth);
  earth.Satellites.Add(std::make_unique<TEarthMoon>(satellite, &earth));
  TPlanet& jupiter = Planet(kJupiter);
  for (int32_t id = 140; id <= 143; ++id) {
    jupiter.Satellites.Add(std::make_unique<TJupiterMoon>(id, &jupiter, satellite));
  }
  TPlanet& saturn = Planet(kSaturn);
  for (int32_t id = 156; id <= 167; ++id) {
    saturn.Satellites.Add(std::make_unique<TSaturnMoon>(id, &saturn, satellite));
  }
  TPlanet& uranus = Planet(kUranus);
  for (int32_t id = 170; id <= 174; ++id) {
    uranus.Satellites.Add(std::make_unique<TUranusMoon>(id, &uranus, satellite));
  }
  SetDim(2);
  center_object_ = kSunIndex;
  SetRotX(kInitialRotation);
  SetRotY(0);
  SetRotZ(kInitialRotation);
  plane_ = TPlane::D3;
  Recompute();
}

TPlanet& TSolarSystem::Planet(int32_t index) {
  return dynamic_cast<TPlanet&>(planets_.Get(index));
}

const TPlanet& TSolarSystem::Planet(int32_t index) const {
  return dynamic_cast<const TPlanet&>(planets_.Get(index));
}

void TSolarSystem::SetDim(Extended x) {
  // Written so that a value that is no number is ignored too.
  if (!(x >= 0.001L && x <= 100)) return;
  grid_step_ = 0.001L;
  for (Extended s : kGridSteps) {
    if (std::trunc(x / s) > 3) grid_step_ = s;
  }
  dim_ = x;
  x_min_ = -x;
  y_min_ = -x;
  x_max_ = x;
  y_max_ = x;
}

void TSolarSystem::SetCenterObject(int32_t index) {
  if (index < kEarth || index > kSunIndex) return;
  center_object_ = index;
  Recompute();
}

Extended TSolarSystem::RotX() const {
  return RadToDeg(rot_x_);
}
Extended TSolarSystem::RotY() const {
  return RadToDeg(rot_y_);
}
Extended TSolarSystem::RotZ() const {
  return RadToDeg(rot_z_);
}

// A matrix of no numbers would put every projected point nowhere; such angles are dropped.
void TSolarSystem::SetRotX(Extended degrees) {
  if (!std::isfinite(degrees)) return;
  rot_x_ = DegToRad(degrees);
  RebuildViewMatrix();
}

void TSolarSystem::SetRotY(Extended degrees) {
  if (!std::isfinite(degrees)) return;
  rot_y_ = DegToRad(degrees);
  RebuildViewMatrix();
}

void TSolarSystem::SetRotZ(Extended degrees) {
  if (!std::isfinite(degrees)) return;
  rot_z_ = DegToRad(degrees);
  RebuildViewMatrix();
}

void TSolarSystem::RebuildViewMatrix() {
  view_matrix_ = MatMul(MatMul(RotMatrix(0, rot_x_), RotMatrix(1, rot_y_)), RotMatrix(2, rot_z_));
}

void TSolarSystem::SetProperty(const std::string& name, const TPropertyValue& value) {
  const TPropertyEntry& p = FindProperty(name);
  if (p.Set == nullptr) throw EInvalidValue();
  p.Set(*this, value);
}

TPropertyValue TSolarSystem::GetProperty(const std::string& name) const {
  return FindProperty(name).Get(*this);
}

void TSolarSystem::SetDate(const TDateRec& date) {
  scene_date_ = date;
  can_show_objects_ = date.Year >= 1950 && date.Year <= 2050;
  Recompute();
}

void TSolarSystem::Recompute() {
  const Extended jd = DateToJD(scene_date_);
  planets_.CalculateAll(jd);
  asteroids_.CalculateAll(jd);
  full_positions_.Update(asteroids_full_, jd);
  center_pos_ = center_object_ == kSunIndex ? TVector{} : planets_.Get(center_object_).Pos;
}

void TSolarSystem::SetObjectColor(int index, TColor color) {
  if (index < 0 || index >= kObjectColorCount) return;
  object_colors_[static_cast<size_t>(index)] = color;
  if (index <= kPluto) {
    planets_.Get(index).Color = color;
  } else if (index == kMinorBodyColorIndex) {
    for (int32_t i = 0; i < asteroids_.Count(); ++i) asteroids_.Get(i).Color = color;
    asteroids_full_.SetColor(color);
  } else if (index == kSatelliteColorIndex) {
    for (int32_t i = 0; i < planets_.Count(); ++i) Planet(i).SetSatellitesColor(color);
  }
}

TColor TSolarSystem::GetObjectColor(int index) const {
  if (index < 0 || index >= kObjectColorCount) return 0;
  return object_colors_[static_cast<size_t>(index)];
}

Extended TSolarSystem::DistanceFromCenter(const TVector& v) const {
  return VecLength(VecSub(v, center_pos_));
}

Extended TSolarSystem::DistanceFromSun(const TVector& v) const {
  return VecLength(v);
}

Extended TSolarSystem::ElongationAtCenter(const TVector& v) const {
  const Extended p = DistanceFromSun(v);
  const Extended q = DistanceFromCenter(v);
  const Extended a = VecLength(center_pos_);
  if (!(q > 0 && a > 0)) return -99;
  // Rounding can carry the cosine of a point in line with the Sun and the centre past +-1,
  // where the arc cosine has no value.
  const Extended c = std::clamp((p * p - q * q - a * a) / (-2 * q * a), -1.0L, 1.0L);
  return ArcCos(c);
}

// Lends a surface and viewport to the drawing members for one call; the previous frame, if a
// drawing call is nested in another, comes back when the scope ends (also on an exception).
class TSolarSystem::TFrameScope {
 public:
  TFrameScope(TSolarSystem& scene, TSurface& surface, const TViewport& viewport)
      : scene_(scene), frame_{surface, viewport}, previous_(scene.frame_) {
    scene_.frame_ = &frame_;
  }
  ~TFrameScope() { scene_.frame_ = previous_; }
  TFrameScope(const TFrameScope&) = delete;
  TFrameScope& operator=(const TFrameScope&) = delete;

 private:
  TSolarSystem& scene_;
  const TFrame frame_;
  const TFrame* previous_;
};

void TSolarSystem::Paint(TSurface& surface, const TViewport& viewport) {
  const TFrameScope frame(*this, surface, viewport);
  surface.SetClipRect(viewport.Rect);
  DrawBackground();
  DrawOrbitPass();
  DrawBodiesPass();
  for (int32_t i = 0; i < directions_.Count(); ++i) DrawUserLine(directions_.Get(i));
}

void TSolarSystem::DrawLine3D(TSurface& surface, const TViewport& viewport, const TVector& a,
                              const TVector& b, TColor color, bool dotAtStart, bool dotAtEnd) {
  const TFrameScope frame(*this, surface, viewport);
  DrawLine3D(a, b, color, dotAtStart, dotAtEnd);
}

void TSolarSystem::DrawArc3D(TSurface& surface, const TViewport& viewport, const TVector& center,
                             Extended radius, const TVector& axis, int32_t startDeg, int32_t endDeg,
                             TColor color, bool dotAtStart, bool dotAtEnd) {
  const TFrameScope frame(*this, surface, viewport);
  DrawArc3D(center, radius, axis, startDeg, endDeg, color, dotAtStart, dotAtEnd);
}

void TSolarSystem::DrawSun(TSurface& surface, const TViewport& viewport) {
  const TFrameScope frame(*this, surface, viewport);
  DrawSun();
}

TColor TSolarSystem::MarkingColor(TColor configured) const {
  const TColor color = SchemeColor(View().Scheme, configured);
  const TColor background = SchemeBackground(View().Scheme, bg_color_);
  return color == background ? (~background & 0xFFFFFF) : color;
}

void TSolarSystem::Repaint() {
  if (repaint_hook_) repaint_hook_();
}

}  // namespace kestrova
