// The drawing area: the scene painted on the screen with device 0 and scheme 2 over the whole
// widget. The scene's repaint requests become update() calls, since a painter lives only
// during a paint event.
//
// The scene works in the screen's own pixels, not in the window's: at a scale factor of 1.5 a
// window pixel is one and a half screen pixels, and a scene drawn in window pixels and scaled by
// Qt shows its one-pixel lines and dots one or two pixels wide by turns. So the view paints the
// scene on an image of its size in screen pixels, the way a saved picture is painted, and puts
// that on the screen pixel for pixel. Lines and orbit dots are one screen pixel wide at every
// scale; labels are scaled with the window's text, so that they keep the size the user's scale
// asks for. The mouse speaks in window pixels and is converted.
//
// The mouse: the wheel and, in the 3D projection, dragging with the left button are announced
// for the main window to turn into zoom and rotation; hovering over a body shows its name, and
// a double click on one announces it.
#pragma once

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QWidget>
#include <optional>

#include "scene/drawing_primitives.h"
#include "scene/surface.h"

namespace kestrova {

class TSolarSystem;

class TSceneView : public QWidget {
  Q_OBJECT
 public:
  explicit TSceneView(TSolarSystem& scene, QWidget* parent = nullptr);
  ~TSceneView() override;

  TSolarSystem& Scene() { return scene_; }

  // Where the picture goes: the largest square centred in the area, in window pixels. Documents
  // keep it as the area the scene was last shown in.
  QRect PictureSquare() const;
  // The viewport of the picture as last painted (before the first paint, the one the next paint
  // will use), in screen pixels: what the mouse points at is found in it.
  TViewport Viewport() const;
  // The screen pixel of the viewport under a point of the widget given in window pixels, and
  // the middle of a screen pixel in window pixels.
  TPoint ScreenPixelAt(const QPointF& pos) const;
  QPointF WindowPointOf(const TPoint& pixel) const;
  // Screen pixels per window pixel, as last painted.
  qreal PixelRatio() const { return Ratio(); }

  // The name of the planet, satellite or picked minor body shown at pos (window pixels); empty
  // for none.
  QString BodyNameAt(const QPoint& pos) const;
  // The same for a point between window pixels, as the mouse gives on a scaled screen.
  QString BodyNameAtPoint(const QPointF& pos) const;

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
  // The square of the picture in the image's pixels.
  QRect ScreenSquare() const;
  // ratio_ and offset_, or before the first paint the widget's ratio and no offset.
  qreal Ratio() const;
  QPointF Offset() const;

  TSolarSystem& scene_;
  std::optional<TViewport> painted_;
  // The scene in screen pixels, kept between paints to save allocating it each time.
  QImage image_;
  // Screen pixels per window pixel, and where the widget's top-left corner falls in the image:
  // with a fractional scale, a widget may begin part of the way into a screen pixel.
  qreal ratio_ = 1;
  QPointF offset_;
  int wheel_angle_ = 0;
  bool dragging_ = false;
  QPoint drag_from_;
};

}  // namespace kestrova
