#include "app/headless_host.h"

#include <QFont>
#include <QGuiApplication>
#include <ostream>

#include "documents/description.h"
#include "numerics/errors.h"
#include "scene/solar_system.h"
#include "ui/show_all_objects.h"

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
    : scene_(scene),
      messages_(messages),
      program_folder_(std::move(programFolder)),
      data_file_(program_folder_) {
  EnsureGuiApplication();
  description_ = std::make_unique<QTextDocument>();
  // The description editor's font.
  description_->setDefaultFont(QFont("Arial", 10));
}

THeadlessHost::~THeadlessHost() = default;

std::filesystem::path THeadlessHost::DescriptionFolder() {
  if (!program_folder_.empty()) return program_folder_;
  if (!temp_dir_) temp_dir_ = std::make_unique<QTemporaryDir>();
  if (!temp_dir_->isValid()) {
    throw EKestrovaError("Cannot create a temporary folder: " +
                         temp_dir_->errorString().toStdString());
  }
  return temp_dir_->path().toStdString();
}

void THeadlessHost::SetRealTime(bool on) {
  TDocumentHost::SetRealTime(on);
  if (on) scene_.SetDate(CurrentDate(0));
}

void THeadlessHost::RunShowAllObjects() {
  RebuildFullList(scene_, data_file_.Table(), State().ShowAllObjects);
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
