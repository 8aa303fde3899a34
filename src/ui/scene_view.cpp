#include "ui/scene_view.h"

#include <algorithm>
#include <cmath>

#include <QFont>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QToolTip>
#include <QTransform>
#include <QWheelEvent>

#include "scene/body_at.h"
#include "scene/colour_schemes.h"
#include "scene/picture_render.h"
#include "scene/qpainter_surface.h"
#include "scene/solar_system.h"

namespace kestrova {

namespace {

// One degree of rotation for this many pixels of dragging.
constexpr int kPixelsPerDegree = 2;
// One notch of a common mouse wheel.
constexpr int kNotch = 120;
// How far beside a body's disc the mouse still names it, in window pixels.
constexpr double kMouseSlack = 3;

}  // namespace

TSceneView::TSceneView(TSolarSystem& scene, QWidget* parent) : QWidget(parent), scene_(scene) {
  setObjectName(QStringLiteral("SceneView"));
  // The scene paints every pixel; nothing needs to be cleared first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  scene_.SetRepaintHook([this] { update(); });
}

TSceneView::~TSceneView() {
  scene_.SetRepaintHook(nullptr);
}

void TSceneView::paintEvent(QPaintEvent*) {
  QPainter window(this);
  // Where the widget lies among the screen's pixels. The image covers every pixel it touches;
  // the widget's clip keeps a pixel it shares with a neighbour from being painted over.
  const QTransform toScreen = window.deviceTransform();
  const QRectF area = toScreen.mapRect(QRectF(rect()));
  const QPoint origin(int(std::floor(area.left())), int(std::floor(area.top())));
  const QSize size(int(std::ceil(area.right())) - origin.x(),
                   int(std::ceil(area.bottom())) - origin.y());
  ratio_ = toScreen.m11() > 0 ? toScreen.m11() : 1;
  offset_ = area.topLeft() - QPointF(origin);
  if (image_.size() != size) image_ = QImage(size, QImage::Format_RGB32);

  QPainter painter(&image_);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(std::max(1, int(std::lround(kPictureFontPixelSize * ratio_))));
  painter.setFont(font);
  // The scene's scale is its rectangle's width and height over the same span, so a rectangle
  // that is not square would stretch every orbit. While the window keeps the area square this is
  // the whole area; maximized, full screen or in the middle of a resize the picture takes the
  // largest centred square and the background fills the rest.
  const QRect square = ScreenSquare();
  if (square != image_.rect()) {
    const QColor background = ToQColor(SchemeBackground(2, scene_.BgColor()));
    const QRegion margins = QRegion(image_.rect()) - QRegion(square);
    for (const QRect& r : margins) painter.fillRect(r, background);
  }
  TQPainterSurface surface(painter);
  painted_ =
      TViewport{TRect{square.x(), square.y(), square.width(), square.height()}, 0, 2, ratio_};
  scene_.Paint(surface, *painted_);
  painter.end();

  // The image goes on the screen unscaled, at the screen pixel where it begins.
  window.setWorldTransform(QTransform::fromTranslate(origin.x(), origin.y()) * toScreen.inverted());
  window.drawImage(0, 0, image_);
  // Documents keep the area the scene was last shown in, in the window's pixels as ever.
  const QRect shown = PictureSquare();
  scene_.SetShownArea(TRect{shown.x(), shown.y(), shown.width(), shown.height()});
  emit painted();
}

TViewport TSceneView::Viewport() const {
  if (painted_) return *painted_;
  const QRect square = ScreenSquare();
  return TViewport{TRect{square.x(), square.y(), square.width(), square.height()}, 0, 2, Ratio()};
}

QRect TSceneView::PictureSquare() const {
  const int side = std::min(width(), height());
  return {(width() - side) / 2, (height() - side) / 2, side, side};
}

qreal TSceneView::Ratio() const {
  // Before the first paint the widget's own ratio, without an offset.
  return painted_ ? ratio_ : devicePixelRatioF();
}

QPointF TSceneView::Offset() const {
  return painted_ ? offset_ : QPointF();
}

QRect TSceneView::ScreenSquare() const {
  const qreal ratio = Ratio();
  const QPointF offset = Offset();
  // The screen pixels whose middles lie in the widget.
  const int left = int(std::lround(offset.x())), top = int(std::lround(offset.y()));
  const int w = int(std::lround(offset.x() + width() * ratio)) - left;
  const int h = int(std::lround(offset.y() + height() * ratio)) - top;
  const int side = std::min(w, h);
  return {left + (w - side) / 2, top + (h - side) / 2, side, side};
}

TPoint TSceneView::ScreenPixelAt(const QPointF& pos) const {
  const qreal ratio = Ratio();
  const QPointF offset = Offset();
  return {int32_t(std::floor(pos.x() * ratio + offset.x())),
          int32_t(std::floor(pos.y() * ratio + offset.y()))};
}

QPointF TSceneView::WindowPointOf(const TPoint& pixel) const {
  const qreal ratio = Ratio();
  const QPointF offset = Offset();
  return {(pixel.x + 0.5 - offset.x()) / ratio, (pixel.y + 0.5 - offset.y()) / ratio};
}

QString TSceneView::BodyNameAt(const QPoint& pos) const {
  return BodyNameAtPoint(QPointF(pos));
}

QString TSceneView::BodyNameAtPoint(const QPointF& pos) const {
  const TPoint pixel = ScreenPixelAt(pos);
  // The mouse reaches as far beside a disc at every scale: kMouseSlack window pixels.
  const auto slack = int32_t(std::lround(kMouseSlack * Ratio()));
  const TAstronomialObject* body = BodyAt(scene_, Viewport(), pixel.x, pixel.y, slack);
  return body ? QString::fromStdString(body->Name) : QString();
}

bool TSceneView::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString name = BodyNameAt(help->pos());
    if (name.isEmpty()) {
      QToolTip::hideText();
      event->ignore();
    } else {
      QToolTip::showText(help->globalPos(), name, this);
    }
    return true;
  }
  return QWidget::event(event);
}

void TSceneView::wheelEvent(QWheelEvent* event) {
  wheel_angle_ += event->angleDelta().y();
  const int notches = wheel_angle_ / kNotch;
  wheel_angle_ -= notches * kNotch;
  if (notches != 0) emit wheelTurned(notches);
  event->accept();
}

void TSceneView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  // Taken, so that the moves that follow come here while the button is down.
  event->accept();
  dragging_ = true;
  drag_from_ = event->position().toPoint();
}

void TSceneView::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ && (event->buttons() & Qt::LeftButton) && scene_.Plane() == TPlane::D3) {
    const QPoint now = event->position().toPoint();
    const int dx = (now.x() - drag_from_.x()) / kPixelsPerDegree;
    const int dy = (now.y() - drag_from_.y()) / kPixelsPerDegree;
    if (dx != 0 || dy != 0) {
      drag_from_ += QPoint(dx * kPixelsPerDegree, dy * kPixelsPerDegree);
      setCursor(Qt::ClosedHandCursor);
      emit dragged(dx, dy);
    }
  }
  QWidget::mouseMoveEvent(event);
}

void TSceneView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    dragging_ = false;
    unsetCursor();
  }
  QWidget::mouseReleaseEvent(event);
}

void TSceneView::mouseDoubleClickEvent(QMouseEvent* event) {
  const QString name = BodyNameAtPoint(event->position());
  if (!name.isEmpty()) emit bodyDoubleClicked(name);
  QWidget::mouseDoubleClickEvent(event);
}

}  // namespace kestrova
