// The drawing area: the scene painted on the screen with device 0 and scheme 2 over the whole
// widget. The scene's repaint requests become update() calls, since a painter lives only
// during a paint event.
#pragma once

#include <QWidget>

namespace kestrova {

class TSolarSystem;

class TSceneView : public QWidget {
  Q_OBJECT
 public:
  explicit TSceneView(TSolarSystem& scene, QWidget* parent = nullptr);
  ~TSceneView() override;

  TSolarSystem& Scene() { return scene_; }

 signals:
  // Emitted after every paint of the scene.
  void painted();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TSolarSystem& scene_;
};

}  // namespace kestrova
