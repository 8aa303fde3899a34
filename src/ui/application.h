// The desktop program's application object: every error that reaches the event loop, from
// whatever event, is shown in a message box with its text, and the program goes on.
#pragma once

#include <QApplication>

namespace kestrova {

class TPrompter;

class TApplication : public QApplication {
  Q_OBJECT
 public:
  TApplication(int& argc, char** argv);

  // The door the error report goes through; the platform's message box when none is set.
  void SetPrompter(TPrompter* prompter) { prompter_ = prompter; }

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  void Report(const QString& message);

  TPrompter* prompter_ = nullptr;
};

}  // namespace kestrova
