// The main window's tool windows and dialogs. Each has one member in the main window and one
// wiring method here, called once while the main window is created; a tool window reaches
// the scene through the controller and hears of changes through its signals (dateChanged,
// viewChanged, bodiesChanged). A control whose window is not wired yet stays disabled.
#include <QAction>
#include <QCheckBox>
#include <QToolButton>

#include "model/astronomical_objects.h"
#include "scene/solar_system.h"
#include "ui/aster_form.h"
#include "ui/create_idx_form.h"
#include "ui/data_files_dlg.h"
#include "ui/objects_panel.h"
#include "ui/pick_minor_bodies.h"
#include "ui/prompter.h"
#include "ui/solar_system_form.h"
#include "ui/view_panel.h"
#include "ui/window_places.h"

namespace kestrova {

// ---- The "&Windows" group -------------------------------------------------------------------

void TSolarSystemForm::SetStayOnTop(QWidget* window, bool on) {
  if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
  const bool visible = window->isVisible();
  window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
  // Changing a window's flags hides it.
  if (visible) window->show();
}

void TSolarSystemForm::AttachToolWindow(QWidget* window, bool isMonitor) {
  QToolButton* button = isMonitor ? view_panel_->MonitorButton() : view_panel_->DescriptionButton();
  QCheckBox* onTop =
      isMonitor ? view_panel_->MonitorStayOnTop() : view_panel_->DescriptionStayOnTop();
  if (isMonitor) {
    monitor_window_ = window;
    PlaceWindow(*window, settings_.MonitorLeft, settings_.MonitorTop);
    SetStayOnTop(window, settings_.MonitorStayOnTop);
  } else {
    description_window_ = window;
    PlaceWindow(*window, settings_.DescriptionLeft, settings_.DescriptionTop,
                settings_.DescriptionWidth, settings_.DescriptionHeight);
    SetStayOnTop(window, settings_.DescriptionStayOnTop);
  }
  button->setEnabled(true);
  onTop->setEnabled(true);
  connect(button, &QToolButton::clicked, this, [this, isMonitor](bool down) {
    if (isMonitor) {
      SetMonitorVisible(down);
    } else {
      SetDescriptionVisible(down);
    }
  });
  connect(onTop, &QCheckBox::clicked, this, [this, window](bool on) { SetStayOnTop(window, on); });
}

// ---- Monitor --------------------------------------------------------------------------------
// TMonitorForm: AttachToolWindow(monitor, true); AssignScene on dateChanged, viewChanged and
// bodiesChanged and in RefreshMonitor; SelectObject in SelectMonitorBody; a hidden monitor
// releases SBMonitor and stores State().MonitorVisible.

void TSolarSystemForm::WireMonitor() {
  view_panel_->MonitorButton()->setEnabled(false);
  view_panel_->MonitorStayOnTop()->setEnabled(false);
}

void TSolarSystemForm::RefreshMonitor() {}

void TSolarSystemForm::SelectMonitorBody(const std::string& name) {
  TDocumentHost::SelectMonitorBody(name);
}

// ---- Description ----------------------------------------------------------------------------
// TDescriptionForm: AttachToolWindow(description, false); DescriptionText() becomes the
// editor's document and SetDescriptionColor its background.

void TSolarSystemForm::WireDescription() {
  view_panel_->DescriptionButton()->setEnabled(false);
  view_panel_->DescriptionStayOnTop()->setEnabled(false);
}

// ---- Data files and table names (TDataFilesDlg, TTableNameDlg, TCreateIdxForm) ---------------
// objects_panel_->SetDataFileChooser: the dialog preset with DataFile()'s names; on OK the
// data file is closed, renamed and opened again.

void TSolarSystemForm::WireDataFiles() {
  create_idx_form_ = new TCreateIdxForm(this);
  data_files_dlg_ = new TDataFilesDlg(*prompter_, *create_idx_form_, this);
  table_name_dlg_ = &data_files_dlg_->TableNameDlg();
  objects_panel_->SetDataFileChooser([this] { return ChooseDataFile(); });
}

bool TSolarSystemForm::ChooseDataFile() {
  data_files_dlg_->SetAlias(DatabaseName());
  data_files_dlg_->SelectTable(TableName());
  if (prompter_->RunDialog(*data_files_dlg_) != QDialog::Accepted) return false;
  CloseDataFile();
  SetDataFileNames(data_files_dlg_->AliasName(), data_files_dlg_->SelectedTable());
  bool opened = true;
  try {
    browser_->OpenTable();
  } catch (const EKestrovaError& error) {
    ReportError(error);
    opened = false;
  }
  objects_panel_->AllObjectsButton()->setEnabled(DataFile().Active());
  return opened;
}

// ---- Browser and search (TAsterForm, TSearchDlg) --------------------------------------------
// objects_panel_->SetBrowser: the browser over DataFile(), returning the picked bodies. The
// browser's table is the data file of the document host.

void TSolarSystemForm::WireBrowser() {
  browser_ = new TAsterForm(*prompter_, *data_files_dlg_, *create_idx_form_, this);
  search_dlg_ = &browser_->SearchDlg();
  objects_panel_->SetBrowser([this] {
    browser_->FormShow();
    std::vector<std::unique_ptr<TAsteroid>> picked;
    if (prompter_->RunDialog(*browser_) == QDialog::Accepted)
      picked = PickedObjects(*browser_, *prompter_, this);
    return picked;
  });
  // "Data file" inside the browser changes the program's data file.
  connect(browser_, &TAsterForm::dataFileChanged, this,
          [this] { objects_panel_->AllObjectsButton()->setEnabled(DataFile().Active()); });
}

TableStore& TSolarSystemForm::DataFile() {
  return browser_->Table();
}

std::string TSolarSystemForm::DatabaseName() const {
  return browser_->Table().DatabaseName();
}

std::string TSolarSystemForm::TableName() const {
  return browser_->Table().TableName();
}

void TSolarSystemForm::CloseDataFile() {
  browser_->CloseTable();
}

// ---- Printing and pictures (TPrintDlg, TSaveAsBitmapDlg) -------------------------------------
// PrintAct and SaveAsBitmapAct; BitmapSize() and BitmapPath() keep the export's settings.

void TSolarSystemForm::WirePrinting() {
  PrintAct->setEnabled(false);
  SaveAsBitmapAct->setEnabled(false);
}

// ---- User-defined lines (TDirectionsDlg, TDirectionDlg) -------------------------------------
// view_panel_->LinesButton(): the dialog gets a copy of DirectionList; on OK the scene's list
// takes the dialog's, then controller_->BodiesChanged().

void TSolarSystemForm::WireLinesDialog() {
  view_panel_->LinesButton()->setEnabled(false);
}

// ---- Satellites (TSatellitesDlg) ------------------------------------------------------------
// objects_panel_->SatellitesButton(): the dialog gets PlanetsList, then BodiesChanged().

void TSolarSystemForm::WireSatellitesDialog() {
  objects_panel_->SatellitesButton()->setEnabled(false);
}

// ---- About box ------------------------------------------------------------------------------

void TSolarSystemForm::WireAboutBox() {
  AboutAct->setEnabled(false);
}

}  // namespace kestrova
