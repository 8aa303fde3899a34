#include "ui/scene_controller.h"

#include <QSignalBlocker>
#include <QStringList>

#include "model/astronomical_objects.h"
#include "scene/solar_system.h"
#include "scene/zoom.h"
#include "ui/prompter.h"
#include "ui/show_all_objects.h"

namespace kestrova {

TSceneController::TSceneController(TSolarSystem& scene, TPrompter& prompter, QObject* parent)
    : QObject(parent), scene_(scene), prompter_(prompter), display_date_(scene.SceneDate()) {
  animation_timer_.setInterval(200);
  real_time_timer_.setInterval(60000);
  connect(&real_time_timer_, &QTimer::timeout, this, &TSceneController::RealTimeTick);
}

void TSceneController::Repaint() {
  scene_.Repaint();
}

void TSceneController::ViewChanged() {
  emit viewChanged();
  Repaint();
}

void TSceneController::BodiesChanged() {
  emit bodiesChanged();
  Repaint();
}

// ---- The view ---------------------------------------------------------------------------------

void TSceneController::SetGridMode(int32_t mode) {
  scene_.SetGridMode(mode);
  ViewChanged();
}

void TSceneController::SetPlane(TPlane plane) {
  scene_.SetPlane(plane);
  ViewChanged();
}

void TSceneController::SetDim(Extended dim) {
  scene_.SetDim(dim);
  ViewChanged();
}

void TSceneController::SetRotX(Extended degrees) {
  scene_.SetRotX(degrees);
  ViewChanged();
}

void TSceneController::SetRotY(Extended degrees) {
  scene_.SetRotY(degrees);
  ViewChanged();
}

void TSceneController::SetRotZ(Extended degrees) {
  scene_.SetRotZ(degrees);
  ViewChanged();
}

void TSceneController::SetCenterObject(int32_t index) {
  scene_.SetCenterObject(index);
  ViewChanged();
}

void TSceneController::CenterAndZoom(int32_t centerObject, Extended dim) {
  scene_.SetCenterObject(centerObject);
  // The zoom bar goes first, as when it is moved: a width that the scene refuses (a body far
  // beyond Pluto) still zooms as far as the bar goes instead of leaving the view as it was.
  scene_.SetDim(DimOfPosition(PositionOfDim(dim)));
  scene_.SetDim(dim);
  ViewChanged();
}

void TSceneController::SetShowNames(bool on) {
  scene_.SetShowNames(on);
  ViewChanged();
}

void TSceneController::SetShowOrbits(bool on) {
  scene_.SetShowOrbits(on);
  ViewChanged();
}

void TSceneController::SetShowRotAxis(bool on) {
  scene_.SetShowRotAxis(on);
  ViewChanged();
}

void TSceneController::SetShowRotation(bool on) {
  scene_.SetShowRotation(on);
  ViewChanged();
}

void TSceneController::SetShowPerpendiculars(bool on) {
  scene_.SetShowPerpendiculars(on);
  ViewChanged();
}

void TSceneController::SetShowApsides(bool on) {
  scene_.SetShowApsides(on);
  ViewChanged();
}

void TSceneController::SetShowLineOfNodes(bool on) {
  scene_.SetShowLineOfNodes(on);
  ViewChanged();
}

void TSceneController::SetShowDirections(bool on) {
  scene_.SetShowDirections(on);
  ViewChanged();
}

void TSceneController::SetGridColor(TColor color) {
  scene_.SetGridColor(color);
  ViewChanged();
}

void TSceneController::SetBgColor(TColor color) {
  scene_.SetBgColor(color);
  ViewChanged();
}

void TSceneController::SetAxesColor(TColor color) {
  scene_.SetAxesColor(color);
  ViewChanged();
}

void TSceneController::SetPerpendicularColor(TColor color) {
  scene_.SetPerpendicularColor(color);
  ViewChanged();
}

void TSceneController::SetSunColor(TColor color) {
  scene_.SetSunColor(color);
  ViewChanged();
}

void TSceneController::SetObjectColor(int index, TColor color) {
  scene_.SetObjectColor(index, color);
  ViewChanged();
}

// ---- The bodies and lines ---------------------------------------------------------------------

void TSceneController::SetShowSun(bool on) {
  scene_.SetShowSun(on);
  BodiesChanged();
}

void TSceneController::SetShowSatellites(bool on) {
  scene_.SetShowSatellites(on);
  BodiesChanged();
}

void TSceneController::SetPlanetVisible(int32_t planet, bool visible) {
  scene_.Planet(planet).Visible = visible;
  BodiesChanged();
}

void TSceneController::SetAllPlanetsVisible(bool visible) {
  for (int32_t i = 0; i < 9; ++i) scene_.Planet(i).Visible = visible;
  scene_.SetShowSatellites(visible);
  BodiesChanged();
}

void TSceneController::ApplySatellites(const TSatelliteTicks& ticks) {
  for (const auto& [id, visible] : ticks) {
    for (const auto& body : scene_.PlanetsList().Items()) {
      auto* planet = dynamic_cast<TPlanet*>(body.get());
      if (TSatellite* satellite = planet ? planet->FindSatellite(id) : nullptr) {
        satellite->Visible = visible;
        break;
      }
    }
  }
  BodiesChanged();
}

void TSceneController::SetDirections(const TDirectionList& lines) {
  scene_.DirectionList().AssignList(lines);
  BodiesChanged();
}

void TSceneController::AddMinorBodies(std::vector<std::unique_ptr<TAsteroid>> bodies,
                                      TColor color) {
  const bool added = !bodies.empty();
  for (std::unique_ptr<TAsteroid>& body : bodies) scene_.AsteroidsList().Add(std::move(body));
  if (added) scene_.Recompute();
  scene_.SetObjectColor(kMinorBodyColorIndex, color);
  BodiesChanged();
}

void TSceneController::RemoveMinorBody(const std::string& name) {
  scene_.AsteroidsList().RemoveByName(name);
  BodiesChanged();
}

void TSceneController::ClearMinorBodies() {
  scene_.AsteroidsList().Clear();
  BodiesChanged();
}

bool TSceneController::ShowAllObjects(TableStore& dataFile, bool pressed) {
  bool loaded = false;
  {
    const QSignalBlocker animation(animation_timer_);
    const QSignalBlocker realTime(real_time_timer_);
    try {
      loaded = kestrova::ShowAllObjects(dialog_parent_, scene_, dataFile, pressed);
    } catch (...) {
      BodiesChanged();
      throw;
    }
  }
  BodiesChanged();
  return loaded;
}

// ---- Time -------------------------------------------------------------------------------------

TDateRec TSceneController::Now() const {
  return clock_ ? clock_() : display_date_;
}

QString UncertaintiesMessage(const QStringList& names) {
  QString message = QStringLiteral(
      "One or more objects can not be shown for the selected date due to uncertainties in the "
      "calculation of the position(s)");
  if (!names.isEmpty()) message += QStringLiteral(":\r") + names.join(QStringLiteral(", "));
  return message + QLatin1Char('.');
}

void TSceneController::ShowDate(const TDateRec& date) {
  const Extended jd = DateToJD(date);
  if (jd >= MinShowJD && jd <= MaxShowJD) display_date_ = date;
  const bool couldShow = scene_.CanShowObjects();
  scene_.SetDate(display_date_);
  emit dateChanged();
  Repaint();
  const TOEObjectList& picked = scene_.AsteroidsList();
  if (couldShow && !scene_.CanShowObjects() &&
      (picked.Count() > 0 || scene_.AsteroidsFullList().Count() > 0)) {
    QStringList names;
    for (const auto& body : picked.Items()) names << QString::fromStdString(body->Name);
    prompter_.ShowMessage(dialog_parent_, UncertaintiesMessage(names));
  }
}

void TSceneController::SetTimeStep(Extended step) {
  if (step == time_step_) return;
  time_step_ = step;
  emit timeStepChanged();
}

void TSceneController::SetTimeUnit(TTimeUnit unit) {
  if (unit == time_unit_) return;
  time_unit_ = unit;
  emit timeStepChanged();
}

bool TSceneController::StepForward() {
  const std::optional<TDateRec> next = StepDate(display_date_, time_step_, time_unit_, true);
  if (next) ShowDate(*next);
  return next.has_value();
}

bool TSceneController::StepBackward() {
  const std::optional<TDateRec> next = StepDate(display_date_, time_step_, time_unit_, false);
  if (next) ShowDate(*next);
  return next.has_value();
}

void TSceneController::SetRealTimeMode(bool on) {
  const bool changed = on != real_time_;
  real_time_ = on;
  if (on) {
    real_time_timer_.start();
  } else {
    real_time_timer_.stop();
  }
  if (changed) emit realTimeModeChanged(on);
  if (on) ShowDate(Now());
}

void TSceneController::RealTimeTick() {
  ShowDate(Now());
}

void TSceneController::StartAnimation() {
  animation_start_date_ = display_date_;
  animation_started_ = true;
  display_date_.Hour = 0;
  display_date_.Minute = 0;
  display_date_.Second = 0;
  animation_timer_.start();
  emit animationChanged();
}

void TSceneController::StopAnimation() {
  animation_timer_.stop();
  const bool started = animation_started_;
  animation_started_ = false;
  if (started) ShowDate(animation_start_date_);
  emit animationChanged();
}

void TSceneController::SetAnimationPaused(bool paused) {
  if (!animation_started_) return;
  if (paused) {
    animation_timer_.stop();
  } else {
    animation_timer_.start();
  }
}

}  // namespace kestrova
