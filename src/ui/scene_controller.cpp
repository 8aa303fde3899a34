#include "ui/scene_controller.h"

#include <QStringList>

#include "scene/solar_system.h"
#include "scene/zoom.h"
#include "ui/prompter.h"

namespace kestrova {

TSceneController::TSceneController(TSolarSystem& scene, TPrompter& prompter, QObject* parent)
    : QObject(parent), scene_(scene), prompter_(prompter), display_date_(scene.SceneDate()) {
  animation_timer_.setInterval(200);
  real_time_timer_.setInterval(60000);
  connect(&real_time_timer_, &QTimer::timeout, this, &TSceneController::RealTimeTick);
}

void TSceneController::CenterAndZoom(int32_t centerObject, Extended dim) {
  scene_.SetCenterObject(centerObject);
  // The zoom bar goes first, as when it is moved: a width that the scene refuses (a body far
  // beyond Pluto) still zooms as far as the bar goes instead of leaving the view as it was.
  scene_.SetDim(DimOfPosition(PositionOfDim(dim)));
  scene_.SetDim(dim);
  emit viewChanged();
  Repaint();
}

void TSceneController::BodiesChanged() {
  emit bodiesChanged();
  Repaint();
}

void TSceneController::ViewChanged() {
  emit viewChanged();
  Repaint();
}

void TSceneController::Repaint() {
  scene_.Repaint();
}

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
