// The "&Objects" tab of the main window: the Sun, the planets and satellites with their
// colours, and the list of picked minor bodies ("&Other objects") with its buttons.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QGroupBox;
class QListWidget;
class QToolButton;

namespace kestrova {

class TAsteroid;
class TColorField;
class TSceneController;

class TObjectsPanel : public QWidget {
  Q_OBJECT
 public:
  explicit TObjectsPanel(TSceneController& controller, QWidget* parent = nullptr);
  ~TObjectsPanel() override;

  // Sun, planets and satellites with their colours, then the list of minor bodies (first
  // entry selected), the group's caption and buttons. A changed check box runs its action.
  void UpdateControls();
  // Every control of "&Other objects" is enabled exactly while the scene can show minor bodies
  // for its date.
  void EnableOtherObjects();

  // Takes one picked body for the scene's AsteroidsList. A name that the list (or a body taken
  // before it) holds already is offered as "name (n)" with the smallest free n; on No the body
  // is not taken. Returns whether it was taken.
  bool AddMinorBody(std::unique_ptr<TAsteroid> body);
  // What follows every Add, confirmed or not: the controller adds the bodies taken, computes
  // them and gives all minor bodies the colour of ShAsteroids; the list is filled again with
  // its last entry selected, the caption and buttons follow.
  void FinishAdd();
  // Removes the selected body ("Rem." and the Delete key); nothing without a selection.
  void RemoveSelected();
  // Empties the list ("Clear").
  void ClearObjects();

  // The Add action ("Add" and the Insert key): the browser shows the data file's bodies and
  // returns those picked (none on Cancel). The button is enabled once a browser is given.
  using TBrowse = std::function<std::vector<std::unique_ptr<TAsteroid>>()>;
  void SetBrowser(TBrowse browse);
  void RunAdd();
  // The "Data file" action: the chooser shows the data-files dialog and opens the chosen data
  // file, returning true on OK; Add follows at once. The button is enabled once a chooser is
  // given.
  using TChooseDataFile = std::function<bool()>;
  void SetDataFileChooser(TChooseDataFile choose);

  QToolButton* AllObjectsButton() const { return all_objects_; }
  // The ":::" button of the satellites.
  QToolButton* SatellitesButton() const { return satellites_dialog_; }
  QListWidget* ObjectsList() const { return list_; }

 signals:
  // "All" and "None": the main window brings all controls in line.
  void updateControlsRequested();
  // "Show all objects" was pressed or released by the user.
  void showAllObjectsClicked(bool pressed);
  // A click on a name in the list: the monitor shows that body.
  void objectClicked(const QString& name);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildPlanetsGroup();
  QWidget* BuildOtherObjectsGroup();
  void FillList();
  void ShowCaptionAndButtons();
  void SetAllPlanets(bool on);

  TSceneController& controller_;
  QCheckBox* sun_ = nullptr;
  TColorField* sun_color_ = nullptr;
  // Indexed by planet number.
  std::array<QCheckBox*, 9> planets_{};
  std::array<TColorField*, 9> planet_colors_{};
  QCheckBox* satellites_ = nullptr;
  TColorField* satellite_color_ = nullptr;
  QToolButton* satellites_dialog_ = nullptr;
  QGroupBox* other_ = nullptr;
  QListWidget* list_ = nullptr;
  QToolButton* add_ = nullptr;
  QToolButton* remove_ = nullptr;
  QToolButton* clear_ = nullptr;
  TColorField* minor_color_ = nullptr;
  QToolButton* all_objects_ = nullptr;
  QToolButton* database_ = nullptr;
  // The bodies taken by AddMinorBody, until FinishAdd.
  std::vector<std::unique_ptr<TAsteroid>> adding_;
  TBrowse browse_;
  TChooseDataFile choose_data_file_;
};

}  // namespace kestrova
