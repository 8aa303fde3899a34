// The monitor: a small tool window that lists computed quantities of one body of the scene (a
// planet, the Moon, a satellite or a picked minor body), chosen in a box at its top, and
// centres and zooms the scene on that body with "Show". It keeps no data of its own: the table
// is filled from the scene whenever the scene is handed over or a body is chosen.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "scene/monitor_values.h"
#include "ui/tool_window.h"

class QComboBox;
class QTableWidget;
class QToolButton;

namespace kestrova {

class TAstronomialObject;
class TSceneController;
class TSolarSystem;

class TMonitorForm : public TToolWindow {
  Q_OBJECT
 public:
  // The window starts hidden, showing the Earth, and stays on top until told otherwise.
  explicit TMonitorForm(TSceneController& controller, QWidget* parent = nullptr);

  // Takes the scene (nullptr forgets it): rebuilds the minor bodies of the object box, finds
  // the chosen name again (the Earth when it is gone) and refills the table.
  void AssignScene(const TSolarSystem* scene);
  // Chooses the first entry whose text equals `name`, ignoring case, or the Earth, and fills
  // the table.
  void SelectObject(const QString& name);

  // The text of the chosen entry.
  const QString& SelectedName() const { return selected_name_; }
  TMonitorLayout RowLayout() const { return row_layout_; }
  const TAstronomialObject* ShownObject() const { return shown_object_; }

 signals:
  // The chosen entry changed its text: chosen by the user or by SelectObject, or the window
  // fell back to the Earth.
  void selectedNameChanged(const QString& name);

 private:
  void CBObjectChange(int index);
  void SBShowObjectClick();
  // Rows, captions and window height of layout k; the values stay until ShowValues.
  void SetRowLayout(TMonitorLayout k);
  // Writes the rows of ShownObject; a body of any other class leaves the table as it was.
  void ShowValues();
  // Chooses entry `index` of the box (a valid one) and fills the table.
  void SelectEntry(int index);

  TSceneController& controller_;
  const TSolarSystem* scene_ = nullptr;
  const TAstronomialObject* shown_object_ = nullptr;
  QString selected_name_ = QStringLiteral("Earth");
  // Which picked bodies the list holds after its fixed entries: the scene's list as of its
  // count of changes, and whether they could be shown then.
  struct TPickedKey {
    const TSolarSystem* Scene = nullptr;
    uint64_t Changes = 0;
    bool CanShow = false;
    bool operator==(const TPickedKey&) const = default;
  };
  std::optional<TPickedKey> picked_key_;
  TMonitorLayout row_layout_ = TMonitorLayout::Planet;

  QWidget* panel_;
  QComboBox* cb_object_;
  QToolButton* sb_show_object_;
  QTableWidget* string_grid_;
};

}  // namespace kestrova
