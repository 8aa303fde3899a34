#include "app/headless_host.h"

#include <QFont>
#include <QGuiApplication>
#include <ostream>

#include "database/full_list.h"
#include "database/program_folder.h"
#include "documents/description.h"
#include "numerics/errors.h"
#include "scene/solar_system.h"

namespace kestrova {

void EnsureGuiApplication() {
  if (QCoreApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The application object lives as long as the program: Qt keeps pointers to argc and argv.
  static int argc = 1;
  static char name[] = "kestrova-cli";
  static char* argv[] = {name, nullptr};
  // Starting without a display, the platform warns about folders a command line tool never
  // uses; those warnings would only clutter the command's own messages.
  const QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  static QGuiApplication* application = new QGuiApplication(argc, argv);
  qInstallMessageHandler(previous);
  (void)application;
}

THeadlessHost::THeadlessHost(TSolarSystem& scene, std::ostream& messages,
                             std::filesystem::path programFolder)
    : scene_(scene), messages_(messages), program_folder_(std::move(programFolder)) {
  EnsureGuiApplication();
  description_ = std::make_unique<QTextDocument>();
  // The description editor's font.
  description_->setDefaultFont(QFont("Arial", 10));
  data_file_.SetDatabase(kDefaultAlias);
}

THeadlessHost::~THeadlessHost() = default;

std::filesystem::path THeadlessHost::TempFolder() {
  if (!program_folder_.empty()) return program_folder_;
  if (!temp_dir_) temp_dir_ = std::make_unique<QTemporaryDir>();
  if (!temp_dir_->isValid()) {
    throw EKestrovaError("Cannot create a temporary folder: " +
                         temp_dir_->errorString().toStdString());
  }
  return temp_dir_->path().toStdString();
}

void THeadlessHost::SetRealTime(bool on) {
  real_time_ = on;
  if (on) scene_.SetDate(CurrentDate(0));
}

void THeadlessHost::SetTimeStep(Extended value, int32_t unit) {
  time_step_ = value;
  time_unit_ = unit;
}

void THeadlessHost::SetMonitorPosition(int32_t left, int32_t top) {
  monitor_left_ = left;
  monitor_top_ = top;
}

void THeadlessHost::SetDescriptionGeometry(int32_t left, int32_t top, int32_t width,
                                           int32_t height) {
  description_window_ = {left, top, width, height};
}

void THeadlessHost::SetMainWindowGeometry(int32_t left, int32_t top, int32_t width,
                                          int32_t height) {
  main_window_ = {left, top, width, height};
}

void THeadlessHost::ClearDescription() {
  kestrova::ClearDescription(*description_);
  description_visible_ = false;
}

void THeadlessHost::WriteDescription(ValueWriter& writer) {
  kestrova::WriteDescription(*description_, writer, TempFolder());
}

void THeadlessHost::ReadDescription(ValueReader& reader) {
  kestrova::ReadDescription(*description_, reader, TempFolder());
}

void THeadlessHost::LoadDescriptionFile(const std::string& path) {
  if (kestrova::LoadDescriptionFile(*description_, path)) description_visible_ = true;
}

void THeadlessHost::SetDataFileNames(const std::string& database, const std::string& table) {
  data_file_.SetDatabase(database);
  data_file_.SetTableName(table);
}

bool THeadlessHost::OpenDataFile() {
  try {
    data_file_.Open(TOpenMode::Shared);
    data_file_.SetIndexName("");
    return true;
  } catch (const EKestrovaError&) {
    // The engine's error, or an alias whose folder cannot be made.
    data_file_.Close();
    return false;
  }
}

void THeadlessHost::RunShowAllObjects() {
  RebuildFullList(scene_, data_file_, show_all_objects_);
}

bool THeadlessHost::AskYesNo(const std::string& question) {
  questions_.push_back(question);
  return answer_;
}

void THeadlessHost::ShowError(const std::string& message) {
  messages_ << message << "\n";
}

bool LoadDocumentHeadless(const std::string& path, TSolarSystem& scene, std::ostream& err) {
  try {
    THeadlessHost host(scene, err);
    const TOpenResult result = OpenDocument(path, scene, host);
    if (result.Version == TDocumentVersion::Unknown) {
      err << "File " << path << " is no orbit document.\n";
      return false;
    }
    return result.Read;
  } catch (const std::exception& e) {
    err << e.what() << "\n";
    return false;
  }
}

}  // namespace kestrova
