// "Show satellites": one check box per satellite of the scene, found by the satellite's Id.
// Only OK writes the satellites' Visible flags; the boxes keep their ticks and enabled states
// between showings, and SetPlanets renews the ticks before each one.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <utility>

class QCheckBox;

namespace kestrova {

class TOEObjectList;
class TSatellite;

class TSatellitesDlg : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kBoxCount = 22;

  explicit TSatellitesDlg(QWidget* parent = nullptr);

  // Remembers the planets (borrowed) and ticks each box whose satellite is visible.
  void SetPlanets(const TOEObjectList& planets);
  // Sets every satellite's Visible to its box's tick. Runs when OK closes the dialog.
  void OKBtnClick();
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
  // The first planet's satellite with this Id, or nullptr.
  TSatellite* FindSatellite(int32_t id) const;

  const TOEObjectList* planets_ = nullptr;  // not owned
  std::array<std::pair<QCheckBox*, int32_t>, kBoxCount> satellite_boxes_{};
  QCheckBox* cb_tethys_ = nullptr;
  QCheckBox* cb_telesto_ = nullptr;
  QCheckBox* cb_calypso_ = nullptr;
  QCheckBox* cb_dione_ = nullptr;
  QCheckBox* cb_helene_ = nullptr;
};

}  // namespace kestrova
