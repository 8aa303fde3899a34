#include "app/headless_host.h"

#include <QGuiApplication>
#include <ostream>

#include "app/cli.h"
#include "documents/orbit_document.h"
#include "numerics/errors.h"
#include "numerics/julian_dates.h"
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

bool TStreamPrompter::AskYesNo(QWidget*, const QString& question) {
  questions_.push_back(question.toStdString());
  return answer_;
}

void TStreamPrompter::ShowError(QWidget*, const QString& message) {
  messages_ << message.toStdString() << "\n";
}

void TStreamPrompter::ShowMessage(QWidget*, const QString& message) {
  messages_ << message.toStdString() << "\n";
}

namespace detail {
THeadlessPrompter::THeadlessPrompter(std::ostream& messages) : stream_prompter_(messages) {
  // The session's scene and description need the application object.
  EnsureGuiApplication();
}
}  // namespace detail

namespace {

TSessionOptions HeadlessOptions(TPrompter& prompter, TClock clock,
                                std::filesystem::path programFolder) {
  TSessionOptions options;
  options.Clock = clock ? std::move(clock) : TClock([] { return CurrentDate(0); });
  options.Prompter = &prompter;
  options.ProgramFolder = std::move(programFolder);
  return options;
}

}  // namespace

THeadlessHost::THeadlessHost(std::ostream& messages, TClock clock,
                             std::filesystem::path programFolder)
    : detail::THeadlessPrompter(messages),
      TSession(HeadlessOptions(stream_prompter_, std::move(clock), programFolder)),
      own_folder_(!programFolder.empty()) {}

THeadlessHost::~THeadlessHost() = default;

std::filesystem::path THeadlessHost::DescriptionFolder() {
  if (own_folder_) return ProgramFolder();
  if (!temp_dir_) temp_dir_ = std::make_unique<QTemporaryDir>();
  if (!temp_dir_->isValid()) {
    throw EKestrovaError("Cannot create a temporary folder: " +
                         temp_dir_->errorString().toStdString());
  }
  return temp_dir_->path().toStdString();
}

bool LoadDocumentHeadless(const std::string& arg, std::istream& in, THeadlessHost& host,
                          std::ostream& err) {
  try {
    cli::TDocumentInput input(arg, in);
    const TOpenResult result = OpenDocument(input.Source(), input.Name(), host.Scene(), host);
    if (result.Version == TDocumentVersion::Unknown) {
      err << "File " << input.Name() << " is no orbit document.\n";
      return false;
    }
    return result.Read;
  } catch (const std::exception& e) {
    err << e.what() << "\n";
    return false;
  }
}

}  // namespace kestrova
