#include "ui/session.h"

#include <QFileInfo>
#include <QFont>
#include <system_error>

#include "database/program_folder.h"
#include "documents/orbit_document.h"
#include "numerics/errors.h"
#include "numerics/julian_dates.h"
#include "numerics/time_step.h"
#include "scene/solar_system.h"
#include "streams/replacing_file.h"
#include "ui/prompter.h"

namespace kestrova {

namespace fs = std::filesystem;

TSession::TSession(TSessionOptions options)
    : program_folder_(options.ProgramFolder.empty() ? kestrova::ProgramFolder()
                                                    : std::move(options.ProgramFolder)),
      data_file_(program_folder_) {
  if (options.Prompter != nullptr) {
    prompter_ = options.Prompter;
  } else {
    own_prompter_ = std::make_unique<TDialogPrompter>();
    prompter_ = own_prompter_.get();
  }
  scene_ = std::make_unique<TSolarSystem>(options.Clock ? options.Clock() : TDateRec{});
  controller_ = std::make_unique<TSceneController>(*scene_, *prompter_);
  controller_->SetClock(std::move(options.Clock));
}

TSession::~TSession() = default;

void TSession::ReportError(const std::exception& error) {
  prompter_->ShowError(controller_->DialogParent(), QString::fromUtf8(error.what()));
}

TStartArguments ParseStartArguments(const QStringList& arguments) {
  TStartArguments result;
  QStringList words = arguments;
  if (!words.isEmpty()) {
    const std::optional<Extended> jd = ReadDecimal(words.front().toStdString());
    if (jd && *jd >= MinShowJD && *jd <= MaxShowJD) {
      result.JD = *jd;
      words.removeFirst();
    }
  }
  result.DocumentPath = words.join(QLatin1Char(' ')).trimmed();
  return result;
}

void TSession::Start(const TStartArguments& start) {
  // Files of processes killed while saving would otherwise stay in the folder for good.
  RemoveStaleReplacements(program_folder_);
  const QString last = QString::fromStdString(LastDocumentPath().string());
  // The scene's date is shown once, by the document when it is read completely, else here:
  // each showing computes every body again.
  bool shown = false;
  const QMetaObject::Connection showing =
      connect(controller_.get(), &TSceneController::dateChanged, this, [&shown] { shown = true; });
  bool opened = false;
  if (!start.DocumentPath.isEmpty())
    opened = Open(QFileInfo(start.DocumentPath).absoluteFilePath().toStdString()) == TOpened::Read;
  // A document of the command line that cannot be read leaves the start as it is without one:
  // with last.orb, which the exit would otherwise replace by a state that never came from it.
  if (!opened) {
    if (QFileInfo::exists(last)) {
      opened = Open(last.toStdString()) == TOpened::Read;
      unread_last_ = !opened;
    } else {
      // The very first start has no last.orb yet: the program starts with its default scene.
      opened = start.DocumentPath.isEmpty();
    }
  }
  disconnect(showing);
  // A date of the command line is read in the time zone of the start.
  if (opened && start.JD) {
    controller_->ShowDate(JDToDate(StartZone(), *start.JD));
  } else if (!shown) {
    controller_->ShowDate(scene_->SceneDate());
  }
}

// ---- Documents ------------------------------------------------------------------------------

bool TSession::OpenDocumentAt(const std::string& path) {
  return Open(path) != TOpened::No;
}

bool TSession::OpenChosenDocument(const std::string& path) {
  const TOpened opened = Open(path);
  if (opened == TOpened::Read) SetDocumentPath(path);
  return opened != TOpened::No;
}

TSession::TOpened TSession::Open(const std::string& path) {
  TOpenResult result;
  try {
    if (IsSpecialFile(path))
      throw EKestrovaError("Cannot open file \"" + path + "\". It is not a regular file.");
    result = OpenDocument(path, *scene_, *this);
  } catch (const std::exception& error) {
    ReportError(error);
    return TOpened::No;
  }
  if (result.Read && path == LastDocumentPath().string()) unread_last_ = false;
  if (result.Read || result.Version == TDocumentVersion::Unknown) return TOpened::Read;
  // The scene now holds part of this document over the one before: the window shows the date
  // the scene was left at, and the state belongs to no file, so that a save neither proposes
  // the damaged file nor writes the mixture over the document that was open.
  controller_->ShowDate(scene_->SceneDate());
  SetDocumentPath(LastDocumentPath().string());
  return TOpened::Failed;
}

bool TSession::SaveDocumentAs(const std::string& path) {
  if (IsSpecialFile(path)) {
    ShowError("Could not create file " + path + ". It is not a regular file.");
    return false;
  }
  if (!WriteDocument(path, *scene_, *this)) return false;
  SetDocumentPath(path);
  // Written over on purpose: nothing of the unread last.orb is to be kept any more.
  if (path == LastDocumentPath().string()) unread_last_ = false;
  return true;
}

bool TSession::LoadTemplate() {
  if (!OpenDocumentAt(TemplatePath().string())) return false;
  SetDocumentPath(LastDocumentPath().string());
  return true;
}

void TSession::WriteTemplateIfMissing() {
  std::error_code error;
  if (fs::exists(TemplatePath(), error) || error) return;
  // A folder that refuses the template will refuse last.orb too, and says so at the end.
  quiet_ = true;
  try {
    WriteDocument(TemplatePath().string(), *scene_, *this);
  } catch (const std::exception&) {
  }
  quiet_ = false;
}

void TSession::SaveLastDocument() {
  const std::string last = LastDocumentPath().string();
  if (IsSpecialFile(last)) {
    ShowError("Could not create file " + last + ". It is not a regular file.");
    return;
  }
  if (unread_last_ && !KeepUnreadLastDocument()) return;
  WriteDocument(last, *scene_, *this);
}

bool TSession::KeepUnreadLastDocument() {
  const fs::path last = LastDocumentPath();
  std::error_code error;
  if (!fs::exists(last, error)) return true;
  // Beside it under a name no earlier run used; a rename needs no room on a full disk.
  fs::path kept = last;
  kept += ".unread";
  for (int n = 2; fs::exists(kept, error) && n < 1000; ++n) {
    kept = last;
    kept += ".unread-" + std::to_string(n);
  }
  fs::rename(last, kept, error);
  if (error) {
    ShowError(
        "last.orb could not be read when the program started and is left as it is: it "
        "cannot be renamed to " +
        kept.string() + " (" + error.message() + ").");
    return false;
  }
  unread_last_ = false;
  prompter_->ShowMessage(
      controller_->DialogParent(),
      QString::fromStdString("last.orb could not be read when the program "
                             "started. It is kept as " +
                             kept.string() + "; the state you leave is saved as last.orb."));
  return true;
}

// ---- The data file and "Show all objects" ----------------------------------------------------

bool TSession::ChangeDataFile(const std::string& alias, const std::string& table) {
  const bool awaited = State().ShowAllObjectsAwaitingFile && alias == data_file_.DatabaseName() &&
                       table == data_file_.TableName();
  data_file_.SetNames(alias, table);
  bool opened = true;
  try {
    data_file_.Open();
  } catch (const EKestrovaError& error) {
    ReportError(error);
    opened = false;
  }
  if (opened && awaited) {
    SetShowAllObjects(true);
  } else if (!awaited) {
    // Another file: the document's "Show all objects" no longer waits for its own.
    State().ShowAllObjectsAwaitingFile = false;
  }
  FollowDataFile();
  return opened;
}

void TSession::FollowDataFile() {
  if (!State().ShowAllObjects) return;
  // The bodies of the data file left are not shown on; a file that did not open has none.
  if (!data_file_.IsOpen()) SetShowAllObjects(false);
  try {
    RunShowAllObjects();
  } catch (const std::exception& error) {
    SetShowAllObjects(false);
    ReportError(error);
  }
}

void TSession::PressShowAllObjects(bool pressed) {
  SetShowAllObjects(pressed);
  try {
    RunShowAllObjects();
  } catch (const std::exception& error) {
    // The full list is empty after a failure: the button says so.
    SetShowAllObjects(false);
    ReportError(error);
  }
}

// ---- The document host ----------------------------------------------------------------------

bool TSession::RealTime() const {
  return controller_->RealTimeMode();
}

Extended TSession::TimeStep() const {
  return controller_->TimeStep();
}

int32_t TSession::TimeUnit() const {
  return int32_t(controller_->TimeUnit());
}

void TSession::SetRealTime(bool on) {
  controller_->SetRealTimeMode(on);
}

void TSession::SetTimeStep(Extended value, int32_t unit) {
  controller_->SetTimeStep(value);
  controller_->SetTimeUnit(TTimeUnit{unit});
}

void TSession::SetMonitorVisible(bool visible) {
  TDocumentHost::SetMonitorVisible(visible);
  if (window_) window_->ShowMonitor(visible);
}

void TSession::SetMonitorPosition(int32_t left, int32_t top) {
  TDocumentHost::SetMonitorPosition(left, top);
  if (window_) window_->PlaceMonitor(left, top);
}

void TSession::RefreshMonitor() {
  if (window_) window_->RefreshMonitor();
}

void TSession::SelectMonitorBody(const std::string& name) {
  TDocumentHost::SelectMonitorBody(window_ ? window_->SelectMonitorBody(name) : name);
}

void TSession::SetDescriptionColor(TColor color) {
  TDocumentHost::SetDescriptionColor(color);
  if (window_) window_->ShowDescriptionColor(color);
}

void TSession::SetDescriptionVisible(bool visible) {
  TDocumentHost::SetDescriptionVisible(visible);
  if (window_) window_->ShowDescription(visible);
}

void TSession::SetDescriptionGeometry(const TWindowGeometry& g) {
  TDocumentHost::SetDescriptionGeometry(g);
  if (window_) window_->PlaceDescription(g);
}

void TSession::SetMainWindowGeometry(const TWindowGeometry& g) {
  TDocumentHost::SetMainWindowGeometry(g);
  if (window_) window_->PlaceMainWindow(g);
}

void TSession::SetShowAllObjects(bool pressed) {
  TDocumentHost::SetShowAllObjects(pressed);
  if (window_) window_->ShowAllObjectsPressed(pressed);
}

void TSession::SetDataFileNames(const std::string& database, const std::string& table) {
  data_file_.SetNames(database, table);
}

bool TSession::OpenDataFile() {
  try {
    data_file_.Open();
    data_file_error_.clear();
    return true;
  } catch (const EKestrovaError& error) {
    data_file_error_ = error.what();
    return false;
  }
}

void TSession::RunShowAllObjects() {
  // Released with nothing loaded, there is nothing to empty and nothing to compute again.
  if (!State().ShowAllObjects && scene_->AsteroidsFullList().Count() == 0) return;
  // Cancelled: the full list is empty, and the button says so.
  if (!controller_->ShowAllObjects(data_file_.Table(), State().ShowAllObjects))
    SetShowAllObjects(false);
}

void TSession::ShowDate(const TDateRec& date) {
  controller_->ShowDate(date);
}

void TSession::UpdateControls() {
  if (window_) window_->UpdateControls();
}

bool TSession::AskYesNo(const std::string& question) {
  return prompter_->AskYesNo(controller_->DialogParent(), QString::fromStdString(question));
}

void TSession::ShowError(const std::string& message) {
  if (!quiet_) prompter_->ShowError(controller_->DialogParent(), QString::fromStdString(message));
}

QTextDocument& TSession::DescriptionText() {
  if (window_) return window_->DescriptionText();
  if (!own_description_) {
    own_description_ = std::make_unique<QTextDocument>();
    // The description editor's font.
    own_description_->setDefaultFont(QFont(QStringLiteral("Arial"), 10));
  }
  return *own_description_;
}

}  // namespace kestrova
