#include "ui/scene_controller.h"

#include "scene/solar_system.h"

namespace kestrova {

TSceneController::TSceneController(TSolarSystem& scene, TPrompter& prompter, QObject* parent)
    : QObject(parent), scene_(scene), prompter_(prompter) {}

void TSceneController::CenterAndZoom(int32_t centerObject, Extended dim) {
  scene_.SetCenterObject(centerObject);
  scene_.SetDim(dim);
  emit viewChanged();
  Repaint();
}

void TSceneController::BodiesChanged() {
  emit bodiesChanged();
  Repaint();
}

void TSceneController::Repaint() {
  scene_.Repaint();
}

}  // namespace kestrova
