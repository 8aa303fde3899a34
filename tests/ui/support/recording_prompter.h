// A prompter for window tests: it writes down what the windows ask and answers from a script,
// so that no test ever waits in a dialog's event loop.
#pragma once

#include <QDialog>
#include <QFont>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

#include "ui/prompter.h"

namespace kestrova::testing {

class TRecordingPrompter final : public TPrompter {
 public:
  // What was asked, in order: "question: ...", "error: ...", "message: ...", "open: <title>",
  // "save: <title>", "color", "font", "printer", "dialog: <objectName>".
  QStringList asked;
  // The last file dialog's options and the colour and font the last colour and font dialogs
  // were preset with.
  TFileDialogOptions lastFileDialog;
  TColor lastColor = 0;
  QFont lastFont;

  // Answers, taken from the front; when a queue is empty: No, an empty name (cancel), no
  // colour, no font, printer set-up cancelled, and the dialog rejected.
  std::deque<bool> yesNo;
  std::deque<QString> fileNames;
  std::deque<std::optional<TColor>> colors;
  std::deque<std::optional<QFont>> fonts;
  std::deque<bool> printerSetups;
  // Runs on the printer when the set-up dialog is answered, as the user's changes there.
  std::function<void(QPrinter&)> setUpPrinter;
  // Each runs against the dialog as it would be shown (it may fill in fields and click
  // buttons) and returns the dialog's result.
  std::deque<std::function<int(QDialog&)>> dialogs;

  bool AskYesNo(QWidget*, const QString& question) override {
    asked << "question: " + question;
    return Take(yesNo, false);
  }
  void ShowError(QWidget*, const QString& message) override { asked << "error: " + message; }
  void ShowMessage(QWidget*, const QString& message) override { asked << "message: " + message; }
  QString OpenFileName(QWidget*, const TFileDialogOptions& options) override {
    asked << "open: " + options.Title;
    lastFileDialog = options;
    return Take(fileNames, QString());
  }
  QString SaveFileName(QWidget*, const TFileDialogOptions& options) override {
    asked << "save: " + options.Title;
    lastFileDialog = options;
    return Take(fileNames, QString());
  }
  std::optional<TColor> ChooseColor(QWidget*, TColor initial) override {
    asked << "color";
    lastColor = initial;
    return Take(colors, std::optional<TColor>());
  }
  std::optional<QFont> ChooseFont(QWidget*, const QFont& initial) override {
    asked << "font";
    lastFont = initial;
    return Take(fonts, std::optional<QFont>());
  }
  bool SetUpPrinter(QWidget*, QPrinter& printer) override {
    asked << "printer";
    const bool ok = Take(printerSetups, false);
    if (ok && setUpPrinter) setUpPrinter(printer);
    return ok;
  }
  int RunDialog(QDialog& dialog) override {
    asked << "dialog: " + dialog.objectName();
    if (dialogs.empty()) return QDialog::Rejected;
    const std::function<int(QDialog&)> run = std::move(dialogs.front());
    dialogs.pop_front();
    return run(dialog);
  }

 private:
  template <class T>
  static T Take(std::deque<T>& queue, T fallback) {
    if (queue.empty()) return fallback;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
  }
};

}  // namespace kestrova::testing
