// The "&Time" tab of the main window: the time step with its unit, stepping, the date and time
// fields, Now, Zero, real-time mode, the Julian date, and the animation buttons.
#pragma once

#include <QWidget>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QToolButton;

namespace kestrova {

class TSceneController;

class TTimePanel : public QWidget {
  Q_OBJECT
 public:
  explicit TTimePanel(TSceneController& controller, QWidget* parent = nullptr);

  // Reads the step field; an unreadable text keeps the old step. Then the field and the step
  // label show the step.
  void CommitTimeStep();
  // The step field, the unit button of the unit (other codes leave the buttons as they are),
  // the real-time button and the step label, from the controller.
  void UpdateControls();

  // The actions of the step buttons: real time off, the step committed, one step, shown.
  void StepUp();
  void StepDown();
  // The animation timer's tick: one step, backward while "reverse" is down.
  void AnimationTick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildTimeGroup(QWidget* group);
  void BuildAnimateGroup(QWidget* group);
  void ShowDisplayDate();
  void ShowStepLabel();
  // Tells under `field` why its text was not taken.
  void SayWhyRefused(QLineEdit* field, const QString& reason);
  // The step label's text, shortened to the label's width; the tool tip holds all of it.
  void FitStepLabel();
  void UnitClicked();
  void DateEdited();
  void TimeEdited();
  void NowClicked();
  void ZeroClicked();
  void StartAnimateClicked();
  void StopAnimateClicked();
  void PauseAnimateClicked();
  void ShowAnimationButtons();

  TSceneController& controller_;
  QLineEdit* time_value_ = nullptr;
  QButtonGroup* units_ = nullptr;
  QLabel* time_step_label_ = nullptr;
  QLineEdit* date_ = nullptr;
  QLineEdit* time_ = nullptr;
  QToolButton* real_time_ = nullptr;
  QLabel* jd_label_ = nullptr;
  QToolButton* start_ = nullptr;
  QToolButton* stop_ = nullptr;
  QToolButton* pause_ = nullptr;
  QToolButton* invert_ = nullptr;
};

}  // namespace kestrova
