// The "&View" tab of the main window: grid, projection, what is shown, colours, the centre
// body, zoom, rotation, and the buttons of the monitor and description windows.
#pragma once

#include <QWidget>
#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QSlider;
class QToolButton;

namespace kestrova {

class TColorField;
class TSceneController;

// The controls change the scene through the controller; the zoom bar's positions stand for
// Dims on the scale of scene/zoom.h.
class TViewPanel : public QWidget {
  Q_OBJECT
 public:
  explicit TViewPanel(TSceneController& controller, QWidget* parent = nullptr);

  // Brings every control in line with the scene. A control whose shown value changes runs its
  // own action, as if the user had changed it (so the rotation group and the radial grid
  // follow the projection, and Dim and the angles become what the bars can show); the centre
  // list runs nothing.
  void UpdateControls();

  // The four rotation keys and the two zoom keys, through the track bars: one step, unless
  // the bar is at its end. The rotation keys act only in the 3D projection.
  void ZoomIn();
  void ZoomOut();
  void RotateZ(int degrees);
  void RotateX(int degrees);
  // Dragging in the 3D projection: about Z round and round (past 180 degrees to -180), about X
  // up to the ends of its bar.
  void Turn(int zDegrees, int xDegrees);

  QSlider* DimBar() const { return dim_; }
  QSlider* RotXBar() const { return rot_x_; }
  QSlider* RotZBar() const { return rot_z_; }

  // The "&Windows" group: toggle buttons and stay-on-top boxes of the description and monitor
  // windows. The main window wires them to its tool windows.
  QToolButton* DescriptionButton() const { return description_; }
  QCheckBox* DescriptionStayOnTop() const { return description_on_top_; }
  QToolButton* MonitorButton() const { return monitor_; }
  QCheckBox* MonitorStayOnTop() const { return monitor_on_top_; }
  // The ":::" button of the user-defined lines.
  QToolButton* LinesButton() const { return lines_; }

 signals:
  // A colour field's dialog was closed: the main window brings all controls in line.
  void updateControlsRequested();

 private:
  QWidget* BuildGridAndPlane();
  QWidget* BuildShowGroup();
  QWidget* BuildCenterAndZoom();
  QWidget* BuildWindowsGroup();
  // The view changes that keep controls from repeating their own actions: the centre list
  // and zoom bar follow a change made elsewhere (the monitor's "Show").
  void FollowView();
  void PlaneChosen(int plane);
  void ShowRotateAndRadial();

  TSceneController& controller_;
  QButtonGroup* grid_ = nullptr;
  QButtonGroup* plane_ = nullptr;
  std::array<QCheckBox*, 8> show_{};
  TColorField* grid_color_ = nullptr;
  TColorField* axes_color_ = nullptr;
  TColorField* perpendicular_color_ = nullptr;
  TColorField* background_color_ = nullptr;
  QToolButton* lines_ = nullptr;
  QComboBox* center_ = nullptr;
  QSlider* dim_ = nullptr;
  QGroupBox* rotate_ = nullptr;
  QSlider* rot_x_ = nullptr;
  QSlider* rot_z_ = nullptr;
  QToolButton* description_ = nullptr;
  QCheckBox* description_on_top_ = nullptr;
  QToolButton* monitor_ = nullptr;
  QCheckBox* monitor_on_top_ = nullptr;
  // UpdateControls is running: the controls are set with their actions, not followed.
  bool updating_ = false;
};

}  // namespace kestrova
