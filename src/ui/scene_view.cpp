#include "ui/scene_view.h"

#include <algorithm>

#include <QFont>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QToolTip>
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
  QPainter painter(this);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(kPictureFontPixelSize);
  painter.setFont(font);
  // The scene's scale is its rectangle's width and height over the same span, so a rectangle
  // that is not square would stretch every orbit. While the window keeps the area square this is
  // the whole area; maximized, full screen or in the middle of a resize the picture takes the
  // largest centred square and the background fills the rest.
  const QRect square = PictureSquare();
  if (square != rect()) {
    const QColor background = ToQColor(SchemeBackground(2, scene_.BgColor()));
    const QRegion margins = QRegion(rect()) - QRegion(square);
    for (const QRect& r : margins) painter.fillRect(r, background);
  }
  TQPainterSurface surface(painter);
  painted_ = TViewport{TRect{square.x(), square.y(), square.width(), square.height()}, 0, 2};
  scene_.Paint(surface, *painted_);
  // Documents keep the area the scene was last shown in.
  scene_.SetShownArea(painted_->Rect);
  emit painted();
}

TViewport TSceneView::Viewport() const {
  if (painted_) return *painted_;
  const QRect square = PictureSquare();
  return TViewport{TRect{square.x(), square.y(), square.width(), square.height()}, 0, 2};
}

QRect TSceneView::PictureSquare() const {
  const int side = std::min(width(), height());
  return {(width() - side) / 2, (height() - side) / 2, side, side};
}

QString TSceneView::BodyNameAt(const QPoint& pos) const {
  const TAstronomialObject* body = BodyAt(scene_, Viewport(), pos.x(), pos.y());
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
  const QString name = BodyNameAt(event->position().toPoint());
  if (!name.isEmpty()) emit bodyDoubleClicked(name);
  QWidget::mouseDoubleClickEvent(event);
}

}  // namespace kestrova
