// The drawing area: the scene painted on the screen with device 0 and scheme 2 over the whole
// widget. The scene's repaint requests become update() calls, since a painter lives only
// during a paint event.
//
// The mouse: the wheel and, in the 3D projection, dragging with the left button are announced
// for the main window to turn into zoom and rotation; hovering over a body shows its name, and
// a double click on one announces it.
#pragma once

#include <QPoint>
#include <QWidget>
#include <optional>

#include "scene/surface.h"

namespace kestrova {

class TSolarSystem;

class TSceneView : public QWidget {
  Q_OBJECT
 public:
  explicit TSceneView(TSolarSystem& scene, QWidget* parent = nullptr);
  ~TSceneView() override;

  TSolarSystem& Scene() { return scene_; }

  // Where the picture goes: the largest square centred in the area.
  QRect PictureSquare() const;
  // The viewport of the picture on the screen as last painted (before the first paint, the
  // one the next paint will use): what the mouse points at is found in it.
  TViewport Viewport() const;

  // The name of the planet, satellite or picked minor body shown at pos; empty for none.
  QString BodyNameAt(const QPoint& pos) const;

 signals:
  // Emitted after every paint of the scene.
  void painted();
  // Whole notches of the mouse wheel: positive away from the user.
  void wheelTurned(int notches);
  // The mouse moved by whole steps with the left button down in the 3D projection: dx to the
  // right, dy downwards.
  void dragged(int dx, int dy);
  // A double click on a body.
  void bodyDoubleClicked(const QString& name);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  TSolarSystem& scene_;
  std::optional<TViewport> painted_;
  int wheel_angle_ = 0;
  bool dragging_ = false;
  QPoint drag_from_;
};

}  // namespace kestrova
