#include "ui/time_panel.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QStyle>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

#include "numerics/date_text.h"
#include "numerics/errors.h"
#include "numerics/time_step.h"
#include "ui/panel_parts.h"
#include "ui/scene_controller.h"

namespace kestrova {

namespace {

// The unit buttons, from the top of the list: the unit each stands for, which is also the
// button's id in the group.
struct TUnitButton {
  const char* name;
  const char* text;
  const char* hint;
  TTimeUnit unit;
};
constexpr TUnitButton kUnitButtons[] = {{"SBSidYears", "Y", "years", TTimeUnit::SiderealYear},
                                        {"SBDays", "D", "days", TTimeUnit::Day},
                                        {"SBHours", "H", "hours", TTimeUnit::Hour},
                                        {"SBMinutes", "M", "minutes", TTimeUnit::Minute}};

QString Text(const std::string& s) {
  return QString::fromStdString(s);
}

char DecimalSeparator() {
  const QString point = QLocale().decimalPoint();
  return point.size() == 1 && point[0].unicode() < 128 ? char(point[0].unicode()) : '.';
}

QToolButton* NewArrowButton(QWidget* parent, const char* name, Qt::ArrowType arrow) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setToolTip(QStringLiteral("time forward / backward"));
  button->setFixedSize(18, 11);
  return button;
}

QToolButton* NewIconButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon,
                           const QString& hint, bool toggle) {
  QToolButton* button = NewButton(parent, name, QString(), hint, toggle);
  button->setIcon(parent->style()->standardIcon(icon));
  button->setToolButtonStyle(Qt::ToolButtonIconOnly);
  button->setIconSize(QSize(16, 16));
  return button;
}

}  // namespace

TTimePanel::TTimePanel(TSceneController& controller, QWidget* parent)
    : QWidget(parent), controller_(controller) {
  setObjectName(QStringLiteral("TimePanel"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(6);
  QGroupBox* time = NewGroup(this, "GBTime", QStringLiteral("&Time"));
  BuildTimeGroup(time);
  layout->addWidget(time);
  QGroupBox* animate = NewGroup(this, "GBAnimate", QStringLiteral("&Animate"));
  BuildAnimateGroup(animate);
  layout->addWidget(animate);
  layout->addStretch(1);

  connect(&controller_, &TSceneController::dateChanged, this, &TTimePanel::ShowDisplayDate);
  connect(&controller_, &TSceneController::realTimeModeChanged, real_time_,
          &QToolButton::setChecked);
  connect(&controller_, &TSceneController::animationChanged, this,
          &TTimePanel::ShowAnimationButtons);
  connect(&controller_.AnimationTimer(), &QTimer::timeout, this, &TTimePanel::AnimationTick);
  ShowDisplayDate();
  UpdateControls();
}

void TTimePanel::BuildTimeGroup(QWidget* group) {
  auto* layout = new QVBoxLayout(group);
  layout->setContentsMargins(6, 4, 6, 6);
  layout->setSpacing(4);

  auto* stepRow = new QHBoxLayout;
  stepRow->setSpacing(1);
  time_value_ = new QLineEdit(group);
  time_value_->setObjectName(QStringLiteral("ETimeValue"));
  time_value_->setToolTip(QStringLiteral("time step"));
  time_value_->setMinimumWidth(36);
  stepRow->addWidget(time_value_, 1);
  stepRow->addSpacing(3);
  units_ = new QButtonGroup(group);
  units_->setExclusive(true);
  for (const TUnitButton& u : kUnitButtons) {
    QToolButton* button =
        NewButton(group, u.name, QString::fromLatin1(u.text), QString::fromLatin1(u.hint), true);
    button->setFixedWidth(19);
    units_->addButton(button, int(u.unit));
    stepRow->addWidget(button);
  }
  units_->button(int(TTimeUnit::Day))->setChecked(true);
  layout->addLayout(stepRow);

  auto* caption = new QLabel(QStringLiteral("Time step:"), group);
  layout->addWidget(caption);
  time_step_label_ = new QLabel(group);
  time_step_label_->setObjectName(QStringLiteral("LTimeStep"));
  time_step_label_->setIndent(8);
  // A long step (1/24 of a year has 16 digits) must not widen the tab beyond the fixed panel,
  // which would push the unit buttons off its edge: the label takes the width it is given and
  // shortens its text, whose whole is in the tool tip.
  time_step_label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  time_step_label_->installEventFilter(this);
  layout->addWidget(time_step_label_);

  auto* dateRow = new QHBoxLayout;
  dateRow->setSpacing(3);
  auto* upDown = new QWidget(group);
  upDown->setObjectName(QStringLiteral("SBDateUpDown"));
  upDown->setToolTip(QStringLiteral("time forward / backward"));
  auto* upDownLayout = new QVBoxLayout(upDown);
  upDownLayout->setContentsMargins(0, 0, 0, 0);
  upDownLayout->setSpacing(0);
  QToolButton* up = NewArrowButton(upDown, "SBDateUp", Qt::UpArrow);
  QToolButton* down = NewArrowButton(upDown, "SBDateDown", Qt::DownArrow);
  upDownLayout->addWidget(up);
  upDownLayout->addWidget(down);
  dateRow->addWidget(upDown);
  date_ = new QLineEdit(group);
  date_->setObjectName(QStringLiteral("EDate"));
  date_->setToolTip(QStringLiteral("date (day.month.year)"));
  dateRow->addWidget(date_, 1);
  layout->addLayout(dateRow);

  auto* timeRow = new QHBoxLayout;
  timeRow->setSpacing(1);
  time_ = new QLineEdit(group);
  time_->setObjectName(QStringLiteral("ETime"));
  time_->setToolTip(QStringLiteral("time of day (hours:minutes)"));
  time_->setMinimumWidth(34);
  timeRow->addWidget(time_, 1);
  auto* ut = new QLabel(QStringLiteral("UT"), group);
  timeRow->addWidget(ut);
  timeRow->addSpacing(3);
  QToolButton* now = NewButton(group, "SBNow", QStringLiteral("N"), QStringLiteral("now"));
  QToolButton* zero = NewButton(group, "SBZero", QStringLiteral("Z"), QStringLiteral("zero time"));
  real_time_ =
      NewButton(group, "SBRealTime", QStringLiteral("R"), QStringLiteral("real time mode"), true);
  for (QToolButton* b : {now, zero, real_time_}) {
    b->setFixedWidth(19);
    timeRow->addWidget(b);
  }
  layout->addLayout(timeRow);

  jd_label_ = new QLabel(group);
  jd_label_->setObjectName(QStringLiteral("JDLabel"));
  jd_label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(jd_label_);

  connect(time_value_, &QLineEdit::editingFinished, this, &TTimePanel::CommitTimeStep);
  connect(units_, &QButtonGroup::idClicked, this, &TTimePanel::UnitClicked);
  connect(up, &QToolButton::clicked, this, &TTimePanel::StepUp);
  connect(down, &QToolButton::clicked, this, &TTimePanel::StepDown);
  connect(date_, &QLineEdit::editingFinished, this, &TTimePanel::DateEdited);
  connect(time_, &QLineEdit::editingFinished, this, &TTimePanel::TimeEdited);
  date_->installEventFilter(this);
  connect(now, &QToolButton::clicked, this, &TTimePanel::NowClicked);
  connect(zero, &QToolButton::clicked, this, &TTimePanel::ZeroClicked);
  connect(real_time_, &QToolButton::clicked, &controller_, &TSceneController::SetRealTimeMode);
}

void TTimePanel::BuildAnimateGroup(QWidget* group) {
  auto* layout = new QHBoxLayout(group);
  layout->setContentsMargins(6, 4, 6, 6);
  layout->setSpacing(2);
  start_ =
      NewIconButton(group, "SBStartAnimate", QStyle::SP_MediaPlay, QStringLiteral("start"), true);
  stop_ =
      NewIconButton(group, "SBStopAnimate", QStyle::SP_MediaStop, QStringLiteral("stop"), false);
  pause_ =
      NewIconButton(group, "SBPauseAnimate", QStyle::SP_MediaPause, QStringLiteral("wait"), true);
  invert_ = NewIconButton(group, "SBInvert", QStyle::SP_MediaSeekBackward,
                          QStringLiteral("reverse"), true);
  for (QToolButton* b : {start_, stop_, pause_, invert_}) layout->addWidget(b);
  layout->addStretch(1);
  connect(start_, &QToolButton::clicked, this, &TTimePanel::StartAnimateClicked);
  connect(stop_, &QToolButton::clicked, this, &TTimePanel::StopAnimateClicked);
  connect(pause_, &QToolButton::clicked, this, &TTimePanel::PauseAnimateClicked);
}

bool TTimePanel::eventFilter(QObject* watched, QEvent* event) {
  // Entering the date field shows the date shown again.
  if (watched == date_ && event->type() == QEvent::FocusIn)
    date_->setText(Text(DateText(controller_.DisplayDate())));
  if (watched == time_step_label_ && event->type() == QEvent::Resize) FitStepLabel();
  return QWidget::eventFilter(watched, event);
}

namespace {

// What the date field takes: the form of a date and the dates the window shows.
QString DateFieldHint() {
  return QStringLiteral("a date as day.month.year, from %1 to %2")
      .arg(Text(LongDateText(JDToDate(0, MinShowJD))), Text(LongDateText(JDToDate(0, MaxShowJD))));
}

}  // namespace

void TTimePanel::SayWhyRefused(QLineEdit* field, const QString& reason) {
  // The field has reverted already; the reason stands under it until the mouse or the keys
  // move on.
  QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), reason, field);
}

void TTimePanel::ShowDisplayDate() {
  const TDateRec& d = controller_.DisplayDate();
  date_->setText(Text(DateText(d)));
  time_->setText(Text(TimeText(d, 3)));
  jd_label_->setText(Text(Format("JD %.3Lf", DateToJD(d))));
}

void TTimePanel::ShowStepLabel() {
  const QString value = Text(FormatGeneral(controller_.TimeStep()));
  time_value_->setText(value);
  time_step_label_->setToolTip(value + QLatin1Char(' ') + Text(UnitWord(controller_.TimeUnit())));
  FitStepLabel();
}

void TTimePanel::FitStepLabel() {
  const int room = time_step_label_->contentsRect().width() - time_step_label_->indent();
  time_step_label_->setText(time_step_label_->fontMetrics().elidedText(
      time_step_label_->toolTip(), Qt::ElideRight, std::max(room, 0)));
}

void TTimePanel::CommitTimeStep() {
  if (const std::optional<Extended> step =
          ReadDecimal(time_value_->text().toStdString(), DecimalSeparator())) {
    controller_.SetTimeStep(*step);
  } else {
    SayWhyRefused(time_value_, QStringLiteral("a time step is a decimal number, such as 0.5"));
  }
  ShowStepLabel();
}

void TTimePanel::UpdateControls() {
  if (QAbstractButton* button = units_->button(int(controller_.TimeUnit())))
    button->setChecked(true);
  real_time_->setChecked(controller_.RealTimeMode());
  ShowStepLabel();
}

void TTimePanel::UnitClicked() {
  CommitTimeStep();
  controller_.SetTimeUnit(TTimeUnit{units_->checkedId()});
  ShowStepLabel();
}

void TTimePanel::StepUp() {
  controller_.SetRealTimeMode(false);
  CommitTimeStep();
  // A date that was not stepped is shown again as it is.
  if (!controller_.StepForward()) controller_.ShowDate(controller_.DisplayDate());
}

void TTimePanel::StepDown() {
  controller_.SetRealTimeMode(false);
  CommitTimeStep();
  if (!controller_.StepBackward()) controller_.ShowDate(controller_.DisplayDate());
}

void TTimePanel::AnimationTick() {
  if (invert_->isChecked()) {
    StepDown();
  } else {
    StepUp();
  }
}

void TTimePanel::DateEdited() {
  controller_.SetRealTimeMode(false);
  TDateRec date = controller_.DisplayDate();
  bool outside = false;
  try {
    ParseDate(date_->text().toStdString(), date);
    outside = DateToJD(date) < MinShowJD || DateToJD(date) > MaxShowJD;
  } catch (const EKestrovaError&) {
    date_->setText(Text(DateText(controller_.DisplayDate())));
    SayWhyRefused(date_, DateFieldHint());
    return;
  }
  // A date outside the dates shown is kept out by ShowDate, which shows the old one again.
  if (outside) SayWhyRefused(date_, DateFieldHint());
  controller_.ShowDate(date);
}

void TTimePanel::TimeEdited() {
  controller_.SetRealTimeMode(false);
  TDateRec date = controller_.DisplayDate();
  try {
    ParseTime(time_->text().toStdString(), date);
  } catch (const EKestrovaError&) {
    time_->setText(Text(TimeText(controller_.DisplayDate(), 0)));
    SayWhyRefused(time_, QStringLiteral("a time as hours:minutes, such as 9:05"));
    return;
  }
  controller_.ShowDate(date);
}

void TTimePanel::NowClicked() {
  controller_.SetRealTimeMode(false);
  CommitTimeStep();
  controller_.ShowDate(controller_.Now());
}

void TTimePanel::ZeroClicked() {
  controller_.SetRealTimeMode(false);
  TDateRec date = controller_.DisplayDate();
  date.Hour = 0;
  date.Minute = 0;
  date.Second = 0;
  controller_.ShowDate(date);
}

void TTimePanel::StartAnimateClicked() {
  controller_.SetRealTimeMode(false);
  controller_.StartAnimation();
}

void TTimePanel::StopAnimateClicked() {
  controller_.StopAnimation();
}

void TTimePanel::PauseAnimateClicked() {
  controller_.SetRealTimeMode(false);
  controller_.SetAnimationPaused(pause_->isChecked());
}

void TTimePanel::ShowAnimationButtons() {
  const bool started = controller_.AnimationStarted();
  start_->setChecked(started);
  start_->setEnabled(!started);
  stop_->setEnabled(started);
  pause_->setEnabled(started);
  invert_->setEnabled(started);
  pause_->setChecked(false);
  if (!started) invert_->setChecked(false);
}

}  // namespace kestrova
