// The main window's tool windows and dialogs. Each has one member in the main window and one
// wiring method here, called once while the main window is created; a tool window reaches
// the scene through the controller and hears of changes through its signals (dateChanged,
// viewChanged, bodiesChanged). A control whose window is not wired yet stays disabled.
#include <QAction>
#include <QCheckBox>
#include <QToolButton>

#include "scene/solar_system.h"
#include "ui/about_box.h"
#include "ui/direction_dlg.h"
#include "ui/directions_dlg.h"
#include "ui/objects_panel.h"
#include "ui/plot_actions.h"
#include "ui/print_dlg.h"
#include "ui/prompter.h"
#include "ui/satellites_dlg.h"
#include "ui/save_as_bitmap_dlg.h"
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

void TSolarSystemForm::ToolWindowHidden(bool isMonitor) {
  if (isMonitor) {
    TDocumentHost::SetMonitorVisible(false);
    view_panel_->MonitorButton()->setChecked(false);
  } else {
    TDocumentHost::SetDescriptionVisible(false);
    view_panel_->DescriptionButton()->setChecked(false);
  }
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

void TSolarSystemForm::WireDataFiles() {}

// ---- Browser and search (TAsterForm, TSearchDlg) --------------------------------------------
// objects_panel_->SetBrowser: the browser over DataFile(), returning the picked bodies.

void TSolarSystemForm::WireBrowser() {}

// ---- Printing and pictures (TPrintDlg, TSaveAsBitmapDlg) -------------------------------------
// PrintAct and SaveAsBitmapAct; BitmapSize() and BitmapPath() keep the export's settings.

void TSolarSystemForm::WirePrinting() {
  print_dlg_ = new TPrintDlg(*prompter_, this);
  save_as_bitmap_dlg_ = new TSaveAsBitmapDlg(*prompter_, this);
  const auto plotState = [this] {
    TPlotOutputState state;
    state.DisplayDate = controller_->DisplayDate();
    state.DocumentPath = QString::fromStdString(State().DocumentPath);
    state.BitmapPath = QString::fromStdString(bitmap_path_);
    state.BitmapSize = bitmap_size_;
    return state;
  };
  connect(PrintAct, &QAction::triggered, this, [this, plotState] {
    Guarded([&] { PrintAction(this, *scene_, *print_dlg_, *prompter_, plotState()); });
  });
  connect(SaveAsBitmapAct, &QAction::triggered, this, [this, plotState] {
    Guarded([&] {
      TPlotOutputState state = plotState();
      SaveAsBitmapAction(this, *scene_, *save_as_bitmap_dlg_, *prompter_, state);
      // Taken after OK even when the picture could not be written; Cancel changes neither.
      bitmap_size_ = state.BitmapSize;
      bitmap_path_ = state.BitmapPath.toStdString();
    });
  });
}

// ---- User-defined lines (TDirectionsDlg, TDirectionDlg) -------------------------------------
// view_panel_->LinesButton(): the dialog gets a copy of DirectionList; on OK the scene's list
// takes the dialog's, then controller_->BodiesChanged().

void TSolarSystemForm::WireLinesDialog() {
  direction_dlg_ = new TDirectionDlg(*prompter_, this);
  directions_dlg_ = new TDirectionsDlg(*direction_dlg_, *prompter_, this);
  connect(view_panel_->LinesButton(), &QToolButton::clicked, this, [this] {
    directions_dlg_->SetLines(scene_->DirectionList());
    if (prompter_->RunDialog(*directions_dlg_) == QDialog::Accepted) {
      scene_->DirectionList().AssignList(directions_dlg_->WorkingList());
      controller_->BodiesChanged();
    } else {
      controller_->Repaint();
    }
  });
}

// ---- Satellites (TSatellitesDlg) ------------------------------------------------------------
// objects_panel_->SatellitesButton(): the dialog gets PlanetsList, then BodiesChanged().

void TSolarSystemForm::WireSatellitesDialog() {
  satellites_dlg_ = new TSatellitesDlg(this);
  connect(objects_panel_->SatellitesButton(), &QToolButton::clicked, this, [this] {
    satellites_dlg_->SetPlanets(scene_->PlanetsList());
    // The dialog's OK has written the satellites' flags.
    if (prompter_->RunDialog(*satellites_dlg_) == QDialog::Accepted) {
      controller_->BodiesChanged();
    } else {
      controller_->Repaint();
    }
  });
}

// ---- About box ------------------------------------------------------------------------------

void TSolarSystemForm::WireAboutBox() {
  about_box_ = new TAboutBox(this);
  connect(AboutAct, &QAction::triggered, this, [this] { prompter_->RunDialog(*about_box_); });
}

}  // namespace kestrova
