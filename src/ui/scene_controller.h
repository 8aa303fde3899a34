// The one door through which windows change the scene and the time it shows: the main
// window's panels, tool windows and dialogs see the scene read-only and call one operation per
// intent here, which changes the scene and, in the same call, tells everyone who shows
// something of it what changed (viewChanged, bodiesChanged, dateChanged) and asks for a new
// picture. So no caller can change the scene and forget to say so, as with Qt's setData and
// dataChanged.
//
// The time state lives here: the date shown (DisplayDate, after every ShowDate equal to the
// scene's SceneDate), the time step and its unit, real-time mode with its 60 s timer and the
// animation with its 200 ms timer. The main window's time panel connects the animation timer
// to its tick, because a tick reads the panel's controls.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "numerics/color.h"
#include "numerics/extended.h"
#include "numerics/julian_dates.h"
#include "numerics/time_step.h"

namespace kestrova {

class TAsteroid;
class TDirectionList;
class TPrompter;
class TSolarSystem;
class TableStore;
enum class TPlane : uint8_t;

// The satellites dialog's result: for a satellite Id, whether it is shown.
using TSatelliteTicks = std::vector<std::pair<int32_t, bool>>;

// The present moment in UT. Only the program's entry point reads the computer clock; the
// windows are handed a clock, which tests replace.
using TClock = std::function<TDateRec()>;

class TSceneController : public QObject {
  Q_OBJECT
 public:
  TSceneController(TSolarSystem& scene, TPrompter& prompter, QObject* parent = nullptr);

  // The scene as the windows see it: read-only; they change it through the operations below.
  const TSolarSystem& Scene() const { return scene_; }
  TPrompter& Prompter() const { return prompter_; }
  // The window that messages of the controller belong to (may be null).
  void SetDialogParent(QWidget* parent) { dialog_parent_ = parent; }
  QWidget* DialogParent() const { return dialog_parent_; }

  // Asks the drawing area for a new picture (after a dialog that changed nothing).
  void Repaint();

  // ---- The view: each operation announces viewChanged and repaints --------------------------
  // The scene's own rules apply (a value it ignores is still announced).
  void SetGridMode(int32_t mode);
  void SetPlane(TPlane plane);
  // Half the width of the shown area, AU.
  void SetDim(Extended dim);
  // Degrees.
  void SetRotX(Extended degrees);
  void SetRotY(Extended degrees);
  void SetRotZ(Extended degrees);
  // 0..8 a planet, 9 the Sun; the scene recomputes the centre.
  void SetCenterObject(int32_t index);
  // Centres the view on body `centerObject` (0..8 a planet, 9 the Sun) with half the width of
  // the shown area `dim` AU, and repaints; the main window's centre list and zoom bar follow.
  void CenterAndZoom(int32_t centerObject, Extended dim);

  // The markings.
  void SetShowNames(bool on);
  void SetShowOrbits(bool on);
  void SetShowRotAxis(bool on);
  void SetShowRotation(bool on);
  void SetShowPerpendiculars(bool on);
  void SetShowApsides(bool on);
  void SetShowLineOfNodes(bool on);
  void SetShowDirections(bool on);

  // The colours.
  void SetGridColor(TColor color);
  void SetBgColor(TColor color);
  void SetAxesColor(TColor color);
  void SetPerpendicularColor(TColor color);
  void SetSunColor(TColor color);
  // Index 0..12 as TSolarSystem::SetObjectColor: a planet, every minor body, every satellite.
  void SetObjectColor(int index, TColor color);

  // ---- The bodies and lines: each operation announces bodiesChanged and repaints -------------
  void SetShowSun(bool on);
  void SetShowSatellites(bool on);
  // Planet 0..8.
  void SetPlanetVisible(int32_t planet, bool visible);
  // "All" and "None": every planet and the satellites as a whole.
  void SetAllPlanetsVisible(bool visible);
  // The satellites dialog's OK: each satellite with a listed Id (the first planet's that has
  // it) is shown or hidden as listed; Ids that no planet knows are passed over.
  void ApplySatellites(const TSatelliteTicks& ticks);
  // The user-defined lines dialog's OK: the scene's lines become visible copies of `lines`.
  void SetDirections(const TDirectionList& lines);

  // Picked minor bodies. Added bodies keep their names; they and every minor body take
  // `color`, and the scene computes them for its date when any was added.
  void AddMinorBodies(std::vector<std::unique_ptr<TAsteroid>> bodies, TColor color);
  // Every picked body of this name.
  void RemoveMinorBody(const std::string& name);
  void ClearMinorBodies();
  // "Show all objects": fills (pressed) or empties the full list from the data file, with a
  // progress window over DialogParent() while it loads; the clock's ticks are dropped
  // meanwhile, each would compute the half-loaded list again. Returns false when the user
  // cancelled (the full list is then empty). Announced also when the data file fails.
  bool ShowAllObjects(TableStore& dataFile, bool pressed);

  // ---- Time -------------------------------------------------------------------------------
  void SetClock(TClock clock) { clock_ = std::move(clock); }
  // The clock's present moment; without a clock, the date shown.
  TDateRec Now() const;

  const TDateRec& DisplayDate() const { return display_date_; }
  // The one way the date changes: a date within MinShowJD..MaxShowJD becomes DisplayDate
  // (any other leaves it); the scene is set to DisplayDate and recomputed, dateChanged
  // announces it and the drawing area is repainted. When minor bodies drop out of the years
  // the scene can show them in, the user is told once.
  void ShowDate(const TDateRec& date);

  Extended TimeStep() const { return time_step_; }
  TTimeUnit TimeUnit() const { return time_unit_; }
  // Any number (also 0 or negative) and any unit, also a code without one; announced by
  // timeStepChanged.
  void SetTimeStep(Extended step);
  void SetTimeUnit(TTimeUnit unit);

  // One step forward or backward from DisplayDate, shown when it stays within the range
  // (tested one-sidedly, see StepDate). Returns whether a date was shown.
  bool StepForward();
  bool StepBackward();

  bool RealTimeMode() const { return real_time_; }
  // The real-time timer runs exactly while on; switching on shows the present moment at once.
  void SetRealTimeMode(bool on);
  // The real-time timer's tick: the present moment.
  void RealTimeTick();

  // Remembers DisplayDate as the start date, sets its time of day to 00:00:00 without
  // showing it, and starts the animation timer.
  void StartAnimation();
  // Stops the animation timer and shows the start date again (nothing to show when the
  // animation was never started).
  void StopAnimation();
  // While the animation is started, the timer runs exactly while not paused.
  void SetAnimationPaused(bool paused);
  bool AnimationStarted() const { return animation_started_; }
  const TDateRec& AnimationStartDate() const { return animation_start_date_; }

  QTimer& AnimationTimer() { return animation_timer_; }
  QTimer& RealTimeTimer() { return real_time_timer_; }

 signals:
  // A new date was shown; every body has been recomputed.
  void dateChanged();
  // Projection, zoom, centre, rotation, markings or colours changed.
  void viewChanged();
  // Bodies or lines were added, removed or shown or hidden.
  void bodiesChanged();
  // The time step's value or unit changed.
  void timeStepChanged();
  void realTimeModeChanged(bool on);
  // The animation was started or stopped.
  void animationChanged();

 private:
  // The two announcements, each with its repaint.
  void ViewChanged();
  void BodiesChanged();

  TSolarSystem& scene_;
  TPrompter& prompter_;
  QPointer<QWidget> dialog_parent_;
  TClock clock_;

  TDateRec display_date_;
  Extended time_step_ = 1.0L;
  TTimeUnit time_unit_ = TTimeUnit::Day;
  bool real_time_ = false;
  bool animation_started_ = false;
  TDateRec animation_start_date_;
  QTimer animation_timer_;
  QTimer real_time_timer_;
};

// The message shown when minor bodies can no longer be shown for the date: `names` are the
// picked bodies in list order (none when only the data file's bodies are affected).
QString UncertaintiesMessage(const QStringList& names);

}  // namespace kestrova
