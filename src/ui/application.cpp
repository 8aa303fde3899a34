#include "ui/application.h"

#include <exception>

#include "ui/prompter.h"

namespace kestrova {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    Report(QString::fromUtf8(error.what()));
  } catch (...) {
    Report(QStringLiteral("An unexpected error occurred."));
  }
  return false;
}

void TApplication::Report(const QString& message) {
  if (prompter_ != nullptr) {
    prompter_->ShowError(activeWindow(), message);
  } else {
    TDialogPrompter().ShowError(activeWindow(), message);
  }
}

}  // namespace kestrova
