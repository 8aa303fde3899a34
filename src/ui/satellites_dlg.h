// "Show satellites": one check box per satellite of the scene, found by the satellite's Id.
// The dialog only reads the scene: after OK its caller hands Ticks() to the controller, which
// shows and hides the satellites. The boxes keep their ticks and enabled states between
// showings, and SetPlanets renews the ticks before each one.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <utility>

#include "ui/scene_controller.h"

class QCheckBox;

namespace kestrova {

class TOEObjectList;

class TSatellitesDlg : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kBoxCount = 22;

  explicit TSatellitesDlg(QWidget* parent = nullptr);

  // Ticks each box whose satellite is visible; a box whose satellite no planet has keeps its
  // tick.
  void SetPlanets(const TOEObjectList& planets);
  // Every box's tick with the Id of its satellite, for TSceneController::ApplySatellites.
  TSatelliteTicks Ticks() const;
  void SBAllClick();
  void SBNoneClick();

  // The boxes in the order Moon, Io ... Callisto, Mimas ... Phoebe, Miranda ... Oberon, each with
  // the Id of its satellite.
  const std::array<std::pair<QCheckBox*, int32_t>, kBoxCount>& SatelliteBoxes() const {
    return satellite_boxes_;
  }

 private:
  // Telesto and Calypso share the orbit of Tethys, Helene that of Dione: they are shown only
  // together with it.
  void CBTethysClick();
  void CBDioneClick();
  std::array<std::pair<QCheckBox*, int32_t>, kBoxCount> satellite_boxes_{};
  QCheckBox* cb_tethys_ = nullptr;
  QCheckBox* cb_telesto_ = nullptr;
  QCheckBox* cb_calypso_ = nullptr;
  QCheckBox* cb_dione_ = nullptr;
  QCheckBox* cb_helene_ = nullptr;
};

}  // namespace kestrova
