// The main window: the drawing area left of the control panel (tool bar and the tabs "&Time",
// "&View" and "&Objects"), the actions with their short-cuts and the pop-up menu, the program's
// start (settings, command line, start-up document) and end (settings, "last.orb"). It shows
// the session, which owns the program's state, and owns the tool windows.
//
// solar_system_form.cpp builds the window and handles keys, mouse and drops;
// solar_system_form_host.cpp is the start, the document actions, the settings and what the
// session asks of the window; solar_system_form_tools.cpp wires the tool windows and dialogs,
// one method each.
#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <optional>

#include "documents/settings.h"
#include "ui/session.h"

class QAction;
class QMenu;
class QTabWidget;
class QTextDocument;
class QToolBar;

namespace kestrova {

class TPrompter;
class TSceneView;
class TSolarSystem;
class TTimePanel;
class TViewPanel;
class TObjectsPanel;

// The tool windows and dialogs; each is created once and lives as long as the main window.
class TMonitorForm;
class TDescriptionForm;
class TDirectionsDlg;
class TDirectionDlg;
class TSatellitesDlg;
class TPrintDlg;
class TSaveAsBitmapDlg;
class TSaveAnimationDlg;
class TVideoProgressDlg;
struct TAnimationSettings;
class TAboutBox;
class TDataFilesDlg;
class TTableNameDlg;
class TSearchDlg;
class TAsterForm;
class TCreateIdxForm;

// What the program's entry point hands the main window besides the session.
struct TStartOptions {
  // The command line without the program's name: [JD] [document path...].
  QStringList Arguments;
  // The splash window, hidden when the main window is shown or activated.
  QWidget* Splash = nullptr;
};

// The session outlives its main window: the window's widgets hold references to the scene and
// the controller until Qt deletes them with the window.
class TSolarSystemForm : public QWidget, private TSessionWindow {
  Q_OBJECT
 public:
  TSolarSystemForm(TSession& session, TStartOptions options);
  ~TSolarSystemForm() override;

  TSession& Session() { return session_; }
  TSolarSystem& Scene() { return session_.Scene(); }
  TSceneController& Controller() { return session_.Controller(); }
  TSceneView& View() { return *view_; }
  TPrompter& Prompter() { return session_.Prompter(); }
  TDataFile& DataFile() { return session_.DataFile(); }
  TDocumentState& State() { return session_.State(); }
  std::string DatabaseName() const { return session_.DatabaseName(); }
  std::string TableName() const { return session_.TableName(); }

  // Exported pictures: edge length in pixels and folder (kept in the settings).
  int32_t BitmapSize() const { return bitmap_size_; }
  void SetBitmapSize(int32_t size) { bitmap_size_ = size; }
  const std::string& BitmapPath() const { return bitmap_path_; }
  void SetBitmapPath(const std::string& path) { bitmap_path_ = path; }

  // ---- Document actions --------------------------------------------------------------------
  // Reads the document at path (any version); a file that cannot be opened is reported.
  // Returns false when it could not be opened.
  bool OpenDocumentAt(const QString& path);
  // "&Open file", "&Save file", "Load &template file".
  void OpenAction();
  void SaveAction();
  void LoadTemplateAction();
  // The first of the dropped files, when it is an orbit document (".orb", with case).
  void OpenDroppedFiles(const QList<QUrl>& urls);

  // Brings every control in line with the scene and the time state, in the order: view tab,
  // windows, zoom and centre, time tab, objects tab, then the monitor is given the scene.
  void UpdateControls() override;
  void RefreshMonitor() override;

  // ---- Keyboard and mouse ------------------------------------------------------------------
  // Shift+Tab: the next tab, after the last the first.
  void NextTab();
  // Keeps the drawing area square: called whenever the mouse moves over the window.
  void KeepDrawingAreaSquare();

  // The monitor (isMonitor) or description window joins the "&Windows" group: it takes its
  // place and style from the settings, its toggle button shows and hides it, its box sets its
  // stay-on-top style, and its place goes to the settings at the end. A window that the user
  // closes calls ToolWindowHidden so that its button is released.
  void AttachToolWindow(QWidget* window, bool isMonitor);
  void ToolWindowHidden(bool isMonitor);

  // The index of the open tab (0 time, 1 view, 2 objects).
  int Page() const;
  void SetPage(int page);

 signals:
  // The main window has written its settings and last.orb and is closing.
  void closing();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // TSessionWindow.
  void ShowMonitor(bool visible) override;
  void PlaceMonitor(int32_t left, int32_t top) override;
  std::string SelectMonitorBody(const std::string& name) override;
  void ShowDescription(bool visible) override;
  void PlaceDescription(const TWindowGeometry& g) override;
  void ShowDescriptionColor(TColor color) override;
  QTextDocument& DescriptionText() override;
  void PlaceMainWindow(const TWindowGeometry& g) override;
  void ShowAllObjectsPressed(bool pressed) override;

  void BuildWindow();
  // The minimum size, no larger than the screen the window is on.
  void FitToScreen();
  void BuildActions();
  QWidget* BuildPanel();
  void Start(const QStringList& arguments);
  void ShowCaption();
  // Runs a user-started operation; an error it raises is shown with its message.
  template <class F>
  void Guarded(F&& operation) {
    try {
      operation();
    } catch (const std::exception& error) {
      ReportError(error);
    }
  }
  void ReportError(const std::exception& error);
  // Whether a key press is one of the window's own keys; runs it when `run`. From a tool
  // window only the keys of the document actions count.
  bool PreviewKey(const QKeyEvent& key, bool run, bool fromToolWindow = false);

  // The frame's place and the inside's size of the window when it is neither maximized nor
  // full screen.
  QRect NormalPlace() const;
  // Settings: read once at creation, written once at the end.
  void LoadSettings();
  void SaveSettings();
  void WriteTemplateIfMissing();

  // ---- Tool windows: one member and one wiring method each (solar_system_form_tools.cpp).
  // The wiring methods run once, in this order, while the window is created.
  void WireMonitor();
  void WireDescription();
  void WireDataFiles();
  void WireBrowser();
  void WirePrinting();
  void WireVideo();
  void WireLinesDialog();
  void WireSatellitesDialog();
  void WireAboutBox();
  void SetStayOnTop(QWidget* window, bool on);
  // "Data file": the data-files dialog preset with the current names; on OK the session
  // changes the data file. True when the chosen data file is open.
  bool ChooseDataFile();
  // After another data file was chosen.
  void FollowDataFile();

  TMonitorForm* monitor_ = nullptr;
  TDescriptionForm* description_ = nullptr;
  TDataFilesDlg* data_files_dlg_ = nullptr;
  TTableNameDlg* table_name_dlg_ = nullptr;
  TSearchDlg* search_dlg_ = nullptr;
  TAsterForm* browser_ = nullptr;
  TCreateIdxForm* create_idx_form_ = nullptr;
  TPrintDlg* print_dlg_ = nullptr;
  TSaveAsBitmapDlg* save_as_bitmap_dlg_ = nullptr;
  TSaveAnimationDlg* save_animation_dlg_ = nullptr;
  TVideoProgressDlg* video_progress_dlg_ = nullptr;
  // The last video's settings but its dates, for the next one (this session only).
  std::shared_ptr<TAnimationSettings> animation_;
  TDirectionsDlg* directions_dlg_ = nullptr;
  TDirectionDlg* direction_dlg_ = nullptr;
  TSatellitesDlg* satellites_dlg_ = nullptr;
  TAboutBox* about_box_ = nullptr;
  // The monitor and description windows as plain windows, for places, visibility and style.
  QPointer<QWidget> monitor_window_;
  QPointer<QWidget> description_window_;

  TSession& session_;
  // The session's, for the many places that use them.
  TSolarSystem* scene_;
  TSceneController* controller_;
  TPrompter* prompter_;
  QPointer<QWidget> splash_;
  Settings settings_;
  // The inside's corner less the frame's, measured while the window was normal.
  QPoint normal_frame_offset_;
  int32_t bitmap_size_ = 500;
  std::string bitmap_path_;

  TSceneView* view_ = nullptr;
  QToolBar* tool_bar_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  TTimePanel* time_panel_ = nullptr;
  TViewPanel* view_panel_ = nullptr;
  TObjectsPanel* objects_panel_ = nullptr;
  QMenu* popup_ = nullptr;

 public:
  // The actions, by their object names ActOpen, ActSave, ActPrint, ActSaveAsBitmap,
  // ActSaveAnimation, ActAbout, ActExit and ActLoadTemplate.
  QAction* OpenAct = nullptr;
  QAction* SaveAct = nullptr;
  QAction* PrintAct = nullptr;
  QAction* SaveAsBitmapAct = nullptr;
  QAction* SaveAnimationAct = nullptr;
  QAction* AboutAct = nullptr;
  QAction* ExitAct = nullptr;
  QAction* LoadTemplateAct = nullptr;
  TTimePanel& TimePanel() { return *time_panel_; }
  TViewPanel& ViewPanel() { return *view_panel_; }
  TObjectsPanel& ObjectsPanel() { return *objects_panel_; }
};

}  // namespace kestrova
