// The main window's side of the session: what the session asks of the window (tool windows,
// their places, the controls); the program's start with its command line and start-up
// document; the document actions; the settings.
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

#include "documents/orbit_document.h"
#include "numerics/time_step.h"
#include "scene/solar_system.h"
#include "ui/aster_form.h"
#include "ui/description_form.h"
#include "ui/objects_panel.h"
#include "ui/prompter.h"
#include "ui/solar_system_form.h"
#include "ui/time_panel.h"
#include "ui/view_panel.h"
#include "ui/window_places.h"

namespace kestrova {

namespace {

namespace fs = std::filesystem;

constexpr const char* kFilter = "orbit files (*.orb);;all files (*)";

QString Text(const fs::path& p) {
  return QString::fromStdString(p.string());
}

}  // namespace

void TSolarSystemForm::ReportError(const std::exception& error) {
  prompter_->ShowError(this, QString::fromUtf8(error.what()));
}

// ---- Start ----------------------------------------------------------------------------------

void TSolarSystemForm::Start(const QStringList& arguments) {
  WireMonitor();
  WireDescription();
  WireDataFiles();
  WireBrowser();
  WirePrinting();
  WireLinesDialog();
  WireSatellitesDialog();
  WireAboutBox();

  bitmap_size_ = 500;
  bitmap_path_ = session_.ProgramFolder().string();
  session_.WriteTemplateIfMissing();
  LoadSettings();

  session_.Start(ParseStartArguments(arguments));
  UpdateControls();
}

// ---- Document actions -----------------------------------------------------------------------

bool TSolarSystemForm::OpenDocumentAt(const QString& path) {
  return session_.OpenDocumentAt(path.toStdString());
}

namespace {

// The open and save dialogs start in the document's folder with its name, except that the
// automatic "last.orb" is never proposed.
TFileDialogOptions DocumentDialogOptions(const QString& title, const std::string& documentPath,
                                         const fs::path& programFolder) {
  TFileDialogOptions o;
  o.Title = title;
  o.Filter = QString::fromLatin1(kFilter);
  o.DefaultSuffix = QStringLiteral("orb");
  o.ConfirmOverwrite = true;
  const QFileInfo info(QString::fromStdString(documentPath));
  if (documentPath.empty()) {
    o.Folder = Text(programFolder);
  } else {
    o.Folder = info.absolutePath();
    if (info.fileName().toLower() != QStringLiteral("last.orb")) o.FileName = info.fileName();
  }
  return o;
}

}  // namespace

void TSolarSystemForm::OpenAction() {
  const QString path = prompter_->OpenFileName(
      this, DocumentDialogOptions(QStringLiteral("Open file"), State().DocumentPath,
                                  session_.ProgramFolder()));
  if (path.isEmpty()) return;
  if (!session_.OpenChosenDocument(path.toStdString())) return;
  UpdateControls();
}

void TSolarSystemForm::SaveAction() {
  const QString path = prompter_->SaveFileName(
      this, DocumentDialogOptions(QStringLiteral("Save file"), State().DocumentPath,
                                  session_.ProgramFolder()));
  if (path.isEmpty()) return;
  session_.SaveDocumentAs(path.toStdString());
}

void TSolarSystemForm::LoadTemplateAction() {
  if (!session_.LoadTemplate()) return;
  UpdateControls();
}

// ---- Settings -------------------------------------------------------------------------------

void TSolarSystemForm::LoadSettings() {
  Settings defaults;
  defaults.BitmapSize = bitmap_size_;
  defaults.BitmapPath = bitmap_path_;
  settings_ = kestrova::LoadSettings(session_.SettingsPath(), defaults);
  PlaceWindow(*this, settings_.MainLeft, settings_.MainTop, settings_.MainWidth,
              settings_.MainHeight);
  if (settings_.MainMaximized) setWindowState(windowState() | Qt::WindowMaximized);
  SetPage(settings_.Page);
  if (description_window_) {
    PlaceWindow(*description_window_, settings_.DescriptionLeft, settings_.DescriptionTop,
                settings_.DescriptionWidth, settings_.DescriptionHeight);
    SetStayOnTop(description_window_, settings_.DescriptionStayOnTop);
  }
  if (monitor_window_) {
    PlaceWindow(*monitor_window_, settings_.MonitorLeft, settings_.MonitorTop);
    SetStayOnTop(monitor_window_, settings_.MonitorStayOnTop);
  }
  bitmap_size_ = settings_.BitmapSize;
  bitmap_path_ = settings_.BitmapPath;
}

void TSolarSystemForm::SaveSettings() {
  Settings s = settings_;
  // Maximized, the window is stored with the place it goes back to, and comes back maximized.
  s.MainMaximized = isMaximized();
  const QRect place = NormalPlace();
  s.MainLeft = place.left();
  s.MainTop = place.top();
  s.MainWidth = place.width();
  s.MainHeight = place.height();
  s.Page = Page();
  if (description_window_) {
    s.DescriptionLeft = description_window_->pos().x();
    s.DescriptionTop = description_window_->pos().y();
    s.DescriptionWidth = description_window_->width();
    s.DescriptionHeight = description_window_->height();
    s.DescriptionStayOnTop = description_window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
  }
  if (monitor_window_) {
    s.MonitorLeft = monitor_window_->pos().x();
    s.MonitorTop = monitor_window_->pos().y();
    s.MonitorStayOnTop = monitor_window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
  }
  s.BgColor = scene_->BgColor();
  s.GridColor = scene_->GridColor();
  s.BitmapSize = bitmap_size_;
  s.BitmapPath = bitmap_path_;
  kestrova::SaveSettings(session_.SettingsPath(), s);
}

// ---- What the session asks of the window ----------------------------------------------------

void TSolarSystemForm::ShowMonitor(bool visible) {
  // Until the main window is shown, the tool window waits for it (showEvent).
  if (monitor_window_ && (isVisible() || !visible)) monitor_window_->setVisible(visible);
}

void TSolarSystemForm::PlaceMonitor(int32_t left, int32_t top) {
  if (monitor_window_) PlaceWindow(*monitor_window_, left, top);
}

void TSolarSystemForm::ShowDescription(bool visible) {
  if (description_window_ && (isVisible() || !visible)) description_window_->setVisible(visible);
}

void TSolarSystemForm::PlaceDescription(const TWindowGeometry& g) {
  if (description_window_) PlaceWindow(*description_window_, g.Left, g.Top, g.Width, g.Height);
}

void TSolarSystemForm::ShowDescriptionColor(TColor color) {
  description_->SetColor(color);
}

QTextDocument& TSolarSystemForm::DescriptionText() {
  return *description_->Memo().document();
}

void TSolarSystemForm::PlaceMainWindow(const TWindowGeometry& g) {
  PlaceWindow(*this, g.Left, g.Top, g.Width, g.Height);
}

void TSolarSystemForm::ShowAllObjectsPressed(bool pressed) {
  objects_panel_->AllObjectsButton()->setChecked(pressed);
}

}  // namespace kestrova
