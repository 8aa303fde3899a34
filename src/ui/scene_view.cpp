#include "ui/scene_view.h"

#include <QFont>
#include <QPainter>

#include "scene/picture_render.h"
#include "scene/qpainter_surface.h"
#include "scene/solar_system.h"

namespace kestrova {

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
  TQPainterSurface surface(painter);
  scene_.Paint(surface, TRect{0, 0, width(), height()}, 0, 2);
  // The surface ends with this event; later repaints come back here through the hook.
  scene_.ForgetSurface(&surface);
  emit painted();
}

}  // namespace kestrova
