// The one place where windows change the scene as a whole: the main window's panels and the tool
// windows call it, and it tells everyone who shows something of the scene what changed.
#pragma once

#include <QObject>
#include <cstdint>

#include "numerics/extended.h"

namespace kestrova {

class TPrompter;
class TSolarSystem;

class TSceneController : public QObject {
  Q_OBJECT
 public:
  TSceneController(TSolarSystem& scene, TPrompter& prompter, QObject* parent = nullptr);

  TSolarSystem& Scene() const { return scene_; }
  TPrompter& Prompter() const { return prompter_; }

  // Centres the view on body `centerObject` (0..8 a planet, 9 the Sun) with half the width of
  // the shown area `dim` AU, and repaints; the main window's centre list and zoom bar follow.
  void CenterAndZoom(int32_t centerObject, Extended dim);
  // A dialog changed the scene's bodies or lines in place (satellite flags, user-defined
  // lines, minor bodies): announces it and repaints.
  void BodiesChanged();
  // Asks the drawing area for a new picture.
  void Repaint();

 signals:
  // A new date was shown; every body has been recomputed.
  void dateChanged();
  // Projection, zoom, centre, rotation or colours changed.
  void viewChanged();
  // Bodies or lines were added, removed or shown or hidden.
  void bodiesChanged();

 private:
  TSolarSystem& scene_;
  TPrompter& prompter_;
};

}  // namespace kestrova
