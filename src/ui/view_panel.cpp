#include "ui/view_panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "scene/solar_system.h"
#include "scene/zoom.h"
#include "ui/body_rows.h"
#include "ui/color_field.h"
#include "ui/panel_parts.h"
#include "ui/scene_controller.h"

namespace kestrova {

namespace {

// The eight show boxes: the scene property each shows and the controller's operation that
// changes it.
struct TShowBox {
  const char* name;
  const char* caption;
  bool (TSolarSystem::*get)() const;
  void (TSceneController::*set)(bool);
};
constexpr TShowBox kShowBoxes[8] = {
    {"CBShowNames", "&Names", &TSolarSystem::ShowNames, &TSceneController::SetShowNames},
    {"CBShowOrbits", "&Orbits", &TSolarSystem::ShowOrbits, &TSceneController::SetShowOrbits},
    {"CBShowAxes", "&Axes", &TSolarSystem::ShowRotAxis, &TSceneController::SetShowRotAxis},
    {"CBShowRotation", "&Rot. direction", &TSolarSystem::ShowRotation,
     &TSceneController::SetShowRotation},
    {"CBShowPerpendiculars", "Perpendiculars", &TSolarSystem::ShowPerpendiculars,
     &TSceneController::SetShowPerpendiculars},
    {"CBShowApsides", "Ap&sides", &TSolarSystem::ShowApsides, &TSceneController::SetShowApsides},
    {"CBShowLinesOfNodes", "L&ines of nodes", &TSolarSystem::ShowLineOfNodes,
     &TSceneController::SetShowLineOfNodes},
    {"CBShowDirections", "User def. lines", &TSolarSystem::ShowDirections,
     &TSceneController::SetShowDirections},
};
constexpr int kAxesBox = 2;
constexpr int kPerpendicularsBox = 4;
constexpr int kDirectionsBox = 7;

QRadioButton* NewRadio(QWidget* parent, const char* name, const char* caption) {
  auto* radio = new QRadioButton(QString::fromLatin1(caption), parent);
  radio->setObjectName(QString::fromLatin1(name));
  return radio;
}

QSlider* NewTrackBar(QWidget* parent, const char* name, int minimum, int maximum) {
  auto* bar = new QSlider(Qt::Horizontal, parent);
  bar->setObjectName(QString::fromLatin1(name));
  bar->setRange(minimum, maximum);
  bar->setSingleStep(1);
  bar->setPageStep(10);
  return bar;
}

// The nearest whole degree, within the bar.
int DegreesOnBar(Extended degrees, const QSlider* bar) {
  if (std::isnan(degrees)) return bar->value();
  const Extended clamped = std::clamp<Extended>(degrees, bar->minimum(), bar->maximum());
  return int(std::lround(double(clamped)));
}

}  // namespace

TViewPanel::TViewPanel(TSceneController& controller, QWidget* parent)
    : QWidget(parent), controller_(controller) {
  setObjectName(QStringLiteral("ViewPanel"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(3, 3, 3, 3);
  layout->setSpacing(3);
  layout->addWidget(BuildGridAndPlane());
  layout->addWidget(BuildShowGroup());
  layout->addWidget(BuildCenterAndZoom());
  layout->addWidget(BuildWindowsGroup());
  layout->addStretch(1);
  connect(&controller_, &TSceneController::viewChanged, this, &TViewPanel::FollowView);
}

QWidget* TViewPanel::BuildGridAndPlane() {
  auto* box = new QWidget(this);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(3);
  TPrompter& prompter = controller_.Prompter();

  QGroupBox* grid = NewGroup(box, "GBGrid", QStringLiteral("&Grid"));
  auto* gridLayout = new QGridLayout(grid);
  gridLayout->setContentsMargins(5, 1, 5, 3);
  gridLayout->setVerticalSpacing(0);
  grid_ = new QButtonGroup(grid);
  QRadioButton* none = NewRadio(grid, "RBNone", "None");
  QRadioButton* rect = NewRadio(grid, "RBRectangular", "Rect.");
  QRadioButton* radial = NewRadio(grid, "RBRadial", "Radial");
  grid_->addButton(none, 0);
  grid_->addButton(rect, 2);
  grid_->addButton(radial, 1);
  grid_color_ = new TColorField(prompter, grid);
  grid_color_->setObjectName(QStringLiteral("ShpGrid"));
  grid_color_->setToolTip(QStringLiteral("grid colour"));
  gridLayout->addWidget(none, 0, 0);
  gridLayout->addWidget(rect, 0, 1);
  gridLayout->addWidget(radial, 1, 0);
  gridLayout->addWidget(grid_color_, 1, 1, Qt::AlignLeft | Qt::AlignVCenter);
  layout->addWidget(grid);

  QGroupBox* view = NewGroup(box, "GBView", QStringLiteral("&view"));
  auto* viewLayout = new QGridLayout(view);
  viewLayout->setContentsMargins(5, 1, 5, 3);
  viewLayout->setVerticalSpacing(0);
  plane_ = new QButtonGroup(view);
  const char* planes[4][2] = {
      {"RBXY", "X-Y-Pl."}, {"RBXZ", "X-Z-Pl."}, {"RBZY", "Z-Y-Pl."}, {"RB3D", "3D"}};
  for (int i = 0; i < 4; ++i) {
    QRadioButton* radio = NewRadio(view, planes[i][0], planes[i][1]);
    plane_->addButton(radio, i);
    viewLayout->addWidget(radio, i / 2, i % 2);
  }
  layout->addWidget(view);

  connect(grid_, &QButtonGroup::idToggled, this, [this](int mode, bool on) {
    if (on) controller_.SetGridMode(mode);
  });
  connect(plane_, &QButtonGroup::idToggled, this, [this](int plane, bool on) {
    if (on) PlaneChosen(plane);
  });
  connect(grid_color_, &TColorField::colorChosen, &controller_, &TSceneController::SetGridColor);
  connect(grid_color_, &TColorField::dialogClosed, this, &TViewPanel::updateControlsRequested);
  return box;
}

QWidget* TViewPanel::BuildShowGroup() {
  QGroupBox* group = NewGroup(this, "GBShow", QStringLiteral("&show"));
  auto* layout = new QGridLayout(group);
  layout->setContentsMargins(5, 1, 5, 3);
  layout->setVerticalSpacing(0);
  layout->setColumnStretch(0, 1);
  TPrompter& prompter = controller_.Prompter();
  for (int i = 0; i < 8; ++i) {
    const TShowBox& box = kShowBoxes[i];
    show_[size_t(i)] = new QCheckBox(QString::fromLatin1(box.caption), group);
    show_[size_t(i)]->setObjectName(QString::fromLatin1(box.name));
    layout->addWidget(show_[size_t(i)], i, 0);
    connect(show_[size_t(i)], &QCheckBox::toggled, &controller_, box.set);
  }
  axes_color_ = new TColorField(prompter, group);
  axes_color_->setObjectName(QStringLiteral("ShpAxes"));
  axes_color_->setToolTip(QStringLiteral("colour of rotation axes and directions"));
  perpendicular_color_ = new TColorField(prompter, group);
  perpendicular_color_->setObjectName(QStringLiteral("ShpPerpendiculars"));
  perpendicular_color_->setToolTip(QStringLiteral("colour of perpendiculars"));
  lines_ = NewButton(group, "SBLines", QStringLiteral(":::"), QStringLiteral("user-defined lines"));
  lines_->setFixedSize(20, 14);
  layout->addWidget(axes_color_, kAxesBox, 1);
  layout->addWidget(perpendicular_color_, kPerpendicularsBox, 1);
  layout->addWidget(lines_, kDirectionsBox, 1);

  connect(axes_color_, &TColorField::colorChosen, &controller_, &TSceneController::SetAxesColor);
  connect(perpendicular_color_, &TColorField::colorChosen, &controller_,
          &TSceneController::SetPerpendicularColor);
  for (TColorField* field : {axes_color_, perpendicular_color_})
    connect(field, &TColorField::dialogClosed, this, &TViewPanel::updateControlsRequested);
  return group;
}

QWidget* TViewPanel::BuildCenterAndZoom() {
  auto* box = new QWidget(this);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(3);

  QGroupBox* background = NewGroup(box, "GBBackground", QStringLiteral("&Background color"));
  auto* backgroundLayout = new QHBoxLayout(background);
  backgroundLayout->setContentsMargins(5, 1, 5, 3);
  background_color_ = new TColorField(controller_.Prompter(), background);
  background_color_->setObjectName(QStringLiteral("ShpBackground"));
  background_color_->setToolTip(QStringLiteral("background colour"));
  background_color_->setFixedSize(40, 16);
  backgroundLayout->addWidget(background_color_);
  backgroundLayout->addStretch(1);
  layout->addWidget(background);
  connect(background_color_, &TColorField::colorChosen, &controller_,
          &TSceneController::SetBgColor);
  connect(background_color_, &TColorField::dialogClosed, this,
          &TViewPanel::updateControlsRequested);

  QGroupBox* center = NewGroup(box, "GBCenter", QStringLiteral("&Center to object"));
  auto* centerLayout = new QHBoxLayout(center);
  centerLayout->setContentsMargins(5, 1, 5, 3);
  center_ = new QComboBox(center);
  center_->setObjectName(QStringLiteral("CBCenterObject"));
  for (const char* row : kBodyRowTexts) center_->addItem(QString::fromLatin1(row));
  center_->setMaxVisibleItems(10);
  centerLayout->addWidget(center_);
  layout->addWidget(center);
  connect(center_, &QComboBox::activated, this, [this](int row) {
    if (row >= 0 && row < int(kBodyOfRow.size()))
      controller_.SetCenterObject(kBodyOfRow[size_t(row)]);
  });

  QGroupBox* dimension = NewGroup(box, "GBDimension", QStringLiteral("&Dimension"));
  auto* dimLayout = new QHBoxLayout(dimension);
  dimLayout->setContentsMargins(5, 1, 5, 3);
  dim_ = NewTrackBar(dimension, "TBDim", kZoomPositionMin, kZoomPositionMax);
  dim_->setToolTip(QStringLiteral("zoom (Alt+Up, Alt+Down, mouse wheel)"));
  dim_->setInvertedAppearance(false);
  {
    const QSignalBlocker blocker(dim_);
    dim_->setValue(16);
  }
  dimLayout->addWidget(dim_);
  layout->addWidget(dimension);
  connect(dim_, &QSlider::valueChanged, this,
          [this](int p) { controller_.SetDim(DimOfPosition(p)); });

  rotate_ = NewGroup(box, "GBRotate", QStringLiteral("&Rotate"));
  auto* rotateLayout = new QGridLayout(rotate_);
  rotateLayout->setContentsMargins(5, 1, 5, 3);
  rotateLayout->setVerticalSpacing(0);
  rot_x_ = NewTrackBar(rotate_, "TBRotX", 0, 180);
  rot_x_->setToolTip(QStringLiteral("tilt about the X axis (Ctrl+Up, Ctrl+Down)"));
  rot_z_ = NewTrackBar(rotate_, "TBRotZ", -180, 180);
  rot_z_->setToolTip(QStringLiteral("turn about the Z axis (Ctrl+Right, Ctrl+Left)"));
  rotateLayout->addWidget(new QLabel(QStringLiteral("X"), rotate_), 0, 0);
  rotateLayout->addWidget(rot_x_, 0, 1);
  rotateLayout->addWidget(new QLabel(QStringLiteral("Z"), rotate_), 1, 0);
  rotateLayout->addWidget(rot_z_, 1, 1);
  layout->addWidget(rotate_);
  connect(rot_x_, &QSlider::valueChanged, this,
          [this](int degrees) { controller_.SetRotX(degrees); });
  connect(rot_z_, &QSlider::valueChanged, this,
          [this](int degrees) { controller_.SetRotZ(degrees); });
  return box;
}

QWidget* TViewPanel::BuildWindowsGroup() {
  QGroupBox* group = NewGroup(this, "GBWindows", QStringLiteral("&Windows"));
  auto* layout = new QGridLayout(group);
  layout->setContentsMargins(5, 1, 5, 3);
  layout->setVerticalSpacing(1);
  description_ = NewButton(group, "SBDescription", QStringLiteral("Description"),
                           QStringLiteral("view file description"), true);
  description_on_top_ = new QCheckBox(QStringLiteral("Stay on top"), group);
  description_on_top_->setObjectName(QStringLiteral("CBDescriptionStayOnTop"));
  monitor_ = NewButton(group, "SBMonitor", QStringLiteral("Monitor"),
                       QStringLiteral("view monitor"), true);
  monitor_on_top_ = new QCheckBox(QStringLiteral("Stay on top"), group);
  monitor_on_top_->setObjectName(QStringLiteral("CBMonitorStayOnTop"));
  for (QToolButton* b : {description_, monitor_})
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  layout->addWidget(description_, 0, 0);
  layout->addWidget(description_on_top_, 1, 0);
  layout->addWidget(monitor_, 2, 0);
  layout->addWidget(monitor_on_top_, 3, 0);
  return group;
}

void TViewPanel::PlaneChosen(int plane) {
  controller_.SetPlane(TPlane(plane));
  ShowRotateAndRadial();
}

void TViewPanel::ShowRotateAndRadial() {
  const bool d3 = controller_.Scene().Plane() == TPlane::D3;
  rotate_->setVisible(d3);
  grid_->button(1)->setEnabled(!d3);
}

void TViewPanel::UpdateControls() {
  const TSolarSystem& scene = controller_.Scene();
  updating_ = true;
  const auto done = qScopeGuard([this] { updating_ = false; });
  // 1. Projection and grid. A projection that no button stands for selects none.
  if (QAbstractButton* b = plane_->button(int(scene.Plane()))) {
    b->setChecked(true);
  } else if (QAbstractButton* checked = plane_->checkedButton()) {
    plane_->setExclusive(false);
    checked->setChecked(false);
    plane_->setExclusive(true);
  }
  ShowRotateAndRadial();
  if (QAbstractButton* b = grid_->button(scene.GridMode())) b->setChecked(true);
  // 2. Colours.
  grid_color_->SetColor(scene.GridColor());
  background_color_->SetColor(scene.BgColor());
  axes_color_->SetColor(scene.AxesColor());
  perpendicular_color_->SetColor(scene.PerpendicularColor());
  // 3. Rotation.
  rot_x_->setValue(DegreesOnBar(scene.RotX(), rot_x_));
  rot_z_->setValue(DegreesOnBar(scene.RotZ(), rot_z_));
  // 4. What is shown.
  for (int i = 0; i < 8; ++i) show_[size_t(i)]->setChecked((scene.*kShowBoxes[i].get)());
  // 6. Zoom; 7. the centre body, without an action of its own.
  dim_->setValue(PositionOfDim(scene.Dim()));
  const QSignalBlocker blocker(center_);
  center_->setCurrentIndex(RowOfBody(scene.CenterObject()));
}

void TViewPanel::FollowView() {
  // Only shows: the scene already holds the values.
  if (updating_) return;
  const TSolarSystem& scene = controller_.Scene();
  const QSignalBlocker centerBlocker(center_);
  center_->setCurrentIndex(RowOfBody(scene.CenterObject()));
  if (PositionOfDim(scene.Dim()) != dim_->value()) {
    const QSignalBlocker dimBlocker(dim_);
    dim_->setValue(PositionOfDim(scene.Dim()));
  }
}

void TViewPanel::ZoomIn() {
  if (dim_->value() > dim_->minimum()) dim_->setValue(dim_->value() - 1);
}

void TViewPanel::ZoomOut() {
  if (dim_->value() < dim_->maximum()) dim_->setValue(dim_->value() + 1);
}

void TViewPanel::RotateZ(int degrees) {
  if (controller_.Scene().Plane() != TPlane::D3) return;
  rot_z_->setValue(std::clamp(rot_z_->value() + degrees, rot_z_->minimum(), rot_z_->maximum()));
}

void TViewPanel::RotateX(int degrees) {
  if (controller_.Scene().Plane() != TPlane::D3) return;
  rot_x_->setValue(std::clamp(rot_x_->value() + degrees, rot_x_->minimum(), rot_x_->maximum()));
}

void TViewPanel::Turn(int zDegrees, int xDegrees) {
  if (controller_.Scene().Plane() != TPlane::D3) return;
  // -180 and 180 are the same view; the bar holds both, a turn goes on past either.
  int z = (rot_z_->value() + zDegrees) % 360;
  if (z > 180) z -= 360;
  if (z < -180) z += 360;
  rot_z_->setValue(z);
  RotateX(xDegrees);
}

}  // namespace kestrova
