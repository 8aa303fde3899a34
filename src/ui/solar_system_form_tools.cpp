// The main window's tool windows and dialogs. Each has one member in the main window and one
// wiring method here, called once while the main window is created; a tool window reaches
// the scene through the controller and hears of changes through its signals (dateChanged,
// viewChanged, bodiesChanged). A control whose window is not wired yet stays disabled.
#include <QAction>
#include <QCheckBox>
#include <QToolButton>

#include "model/astronomical_objects.h"
#include "scene/solar_system.h"
#include "ui/about_box.h"
#include "ui/aster_form.h"
#include "ui/create_idx_form.h"
#include "ui/data_files_dlg.h"
#include "ui/description_form.h"
#include "ui/direction_dlg.h"
#include "ui/directions_dlg.h"
#include "ui/monitor_form.h"
#include "ui/objects_panel.h"
#include "ui/pick_minor_bodies.h"
#include "ui/plot_actions.h"
#include "ui/print_dlg.h"
#include "ui/prompter.h"
#include "ui/satellites_dlg.h"
#include "ui/save_animation_action.h"
#include "ui/save_animation_dlg.h"
#include "ui/save_as_bitmap_dlg.h"
#include "ui/solar_system_form.h"
#include "ui/video_progress_dlg.h"
#include "ui/view_panel.h"
#include "ui/window_places.h"

namespace kestrova {

// ---- The "&Windows" group -------------------------------------------------------------------

void TSolarSystemForm::SetStayOnTop(QWidget* window, bool on) {
  // The tool windows change their style themselves: the hiding that a change of flags brings
  // is then no hiding by the user, and the window stays shown where it was.
  if (window == monitor_) monitor_->SetStayOnTop(on);
  if (window == description_) description_->SetStayOnTop(on);
}

void TSolarSystemForm::AttachToolWindow(QWidget* window, bool isMonitor) {
  QToolButton* button = isMonitor ? view_panel_->MonitorButton() : view_panel_->DescriptionButton();
  QCheckBox* onTop =
      isMonitor ? view_panel_->MonitorStayOnTop() : view_panel_->DescriptionStayOnTop();
  // Places and styles come with the settings (LoadSettings).
  if (isMonitor) {
    monitor_window_ = window;
  } else {
    description_window_ = window;
  }
  button->setEnabled(true);
  onTop->setEnabled(true);
  connect(button, &QToolButton::clicked, this, [this, isMonitor](bool down) {
    if (isMonitor) {
      session_.SetMonitorVisible(down);
    } else {
      session_.SetDescriptionVisible(down);
    }
  });
  connect(onTop, &QCheckBox::clicked, this, [this, window](bool on) { SetStayOnTop(window, on); });
}

void TSolarSystemForm::ToolWindowHidden(bool isMonitor) {
  if (isMonitor) {
    State().MonitorVisible = false;
    view_panel_->MonitorButton()->setChecked(false);
  } else {
    State().DescriptionVisible = false;
    view_panel_->DescriptionButton()->setChecked(false);
  }
}

// ---- Monitor --------------------------------------------------------------------------------
// The monitor is given the scene after every date shown, every change of the view (the centre
// among it) and of the bodies, in UpdateControls and while a document is read. A monitor hidden
// by the user releases SBMonitor; its visibility and chosen body are kept in State().

void TSolarSystemForm::WireMonitor() {
  monitor_ = new TMonitorForm(*controller_, this);
  AttachToolWindow(monitor_, true);
  for (auto changed : {&TSceneController::dateChanged, &TSceneController::viewChanged,
                       &TSceneController::bodiesChanged}) {
    connect(controller_, changed, monitor_, [this] { RefreshMonitor(); });
  }
  connect(monitor_, &TMonitorForm::hidden, this, [this] { ToolWindowHidden(true); });
  connect(monitor_, &TMonitorForm::selectedNameChanged, this,
          [this](const QString& name) { State().MonitorBody = name.toStdString(); });
}

void TSolarSystemForm::RefreshMonitor() {
  monitor_->AssignScene(scene_);
}

std::string TSolarSystemForm::SelectMonitorBody(const std::string& name) {
  monitor_->SelectObject(QString::fromStdString(name));
  // The monitor may have fallen back to the Earth.
  return monitor_->SelectedName().toStdString();
}

// ---- Description ----------------------------------------------------------------------------
// The document host's description is the window's text, passing through its "~tmp.rtf"; its
// background colour is the document's. A window hidden by the user releases SBDescription; its
// visibility and a colour the user chose are kept in State().

void TSolarSystemForm::WireDescription() {
  description_ = new TDescriptionForm(*prompter_, session_.ProgramFolder(), this);
  AttachToolWindow(description_, false);
  connect(description_, &TDescriptionForm::hidden, this, [this] { ToolWindowHidden(false); });
  connect(description_, &TDescriptionForm::colorChosen, this,
          [this](TColor color) { State().DescriptionColor = color; });
}

// ---- Data files and table names (TDataFilesDlg, TTableNameDlg, TCreateIdxForm) ---------------
// objects_panel_->SetDataFileChooser: the dialog preset with DataFile()'s names; on OK the
// data file is closed, renamed and opened again.

void TSolarSystemForm::WireDataFiles() {
  create_idx_form_ = new TCreateIdxForm(this);
  data_files_dlg_ = new TDataFilesDlg(*prompter_, DataFile(), *create_idx_form_, this);
  table_name_dlg_ = &data_files_dlg_->TableNameDlg();
  objects_panel_->SetDataFileChooser([this] { return ChooseDataFile(); });
}

bool TSolarSystemForm::ChooseDataFile() {
  data_files_dlg_->SetAlias(DatabaseName());
  data_files_dlg_->SelectTable(TableName());
  if (prompter_->RunDialog(*data_files_dlg_) != QDialog::Accepted) return false;
  const bool opened =
      session_.ChangeDataFile(data_files_dlg_->AliasName(), data_files_dlg_->SelectedTable());
  objects_panel_->AllObjectsButton()->setEnabled(DataFile().IsOpen());
  return opened;
}

void TSolarSystemForm::FollowDataFile() {
  objects_panel_->AllObjectsButton()->setEnabled(DataFile().IsOpen());
  session_.FollowDataFile();
}

// ---- Browser and search (TAsterForm, TSearchDlg) --------------------------------------------
// objects_panel_->SetBrowser: the browser over the data file, returning the picked bodies.

void TSolarSystemForm::WireBrowser() {
  browser_ = new TAsterForm(*prompter_, DataFile(), *data_files_dlg_, *create_idx_form_, this);
  search_dlg_ = &browser_->SearchDlg();
  objects_panel_->SetBrowser([this] {
    browser_->FormShow();
    std::vector<std::unique_ptr<TAsteroid>> picked;
    if (prompter_->RunDialog(*browser_) == QDialog::Accepted)
      picked = PickedObjects(*browser_, *prompter_, this);
    return picked;
  });
  // "Data file" inside the browser changes the program's data file.
  connect(browser_, &TAsterForm::dataFileChanged, this, [this] { FollowDataFile(); });
}

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
  WireVideo();
}

// SaveAnimationAct: the dialog starts at the date shown with the Time tab's step and the
// export's size; frames, rate, colours and file are the last video's.
void TSolarSystemForm::WireVideo() {
  save_animation_dlg_ = new TSaveAnimationDlg(*prompter_, this);
  video_progress_dlg_ = new TVideoProgressDlg(this);
  animation_ = std::make_shared<TAnimationSettings>();
  connect(SaveAnimationAct, &QAction::triggered, this, [this] {
    Guarded([&] {
      TAnimationSettings& settings = *animation_;
      settings.Start = controller_->DisplayDate();
      settings.Step = controller_->TimeStep();
      settings.Unit = controller_->TimeUnit();
      settings.Size = bitmap_size_;
      if (settings.FileName.isEmpty())
        settings.FileName = PresetVideoName(QString::fromStdString(State().DocumentPath),
                                            QString::fromStdString(bitmap_path_));
      // The animation's and real time's timers would move the date under the frames.
      QTimer& animation = controller_->AnimationTimer();
      QTimer& realTime = controller_->RealTimeTimer();
      const bool animating = animation.isActive();
      const bool realTimeOn = realTime.isActive();
      animation.stop();
      realTime.stop();
      SaveAnimationAction(this, *scene_, *save_animation_dlg_, *video_progress_dlg_, *prompter_,
                          settings);
      if (animating) animation.start();
      if (realTimeOn) realTime.start();
    });
  });
}

// ---- User-defined lines (TDirectionsDlg, TDirectionDlg) -------------------------------------
// view_panel_->LinesButton(): the dialog gets a copy of DirectionList; on OK the controller
// gives the scene the dialog's list.

void TSolarSystemForm::WireLinesDialog() {
  direction_dlg_ = new TDirectionDlg(*prompter_, this);
  directions_dlg_ = new TDirectionsDlg(*direction_dlg_, *prompter_, this);
  connect(view_panel_->LinesButton(), &QToolButton::clicked, this, [this] {
    directions_dlg_->SetLines(scene_->DirectionList());
    if (prompter_->RunDialog(*directions_dlg_) == QDialog::Accepted) {
      controller_->SetDirections(directions_dlg_->WorkingList());
    } else {
      controller_->Repaint();
    }
  });
}

// ---- Satellites (TSatellitesDlg) ------------------------------------------------------------
// objects_panel_->SatellitesButton(): the dialog reads PlanetsList; on OK the controller shows
// and hides the satellites as ticked.

void TSolarSystemForm::WireSatellitesDialog() {
  satellites_dlg_ = new TSatellitesDlg(this);
  connect(objects_panel_->SatellitesButton(), &QToolButton::clicked, this, [this] {
    satellites_dlg_->SetPlanets(scene_->PlanetsList());
    if (prompter_->RunDialog(*satellites_dlg_) == QDialog::Accepted) {
      controller_->ApplySatellites(satellites_dlg_->Ticks());
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
