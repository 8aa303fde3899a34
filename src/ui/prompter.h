// The one door to message boxes, file, colour and font dialogs and to showing a dialog modally.
// The windows ask it instead of calling the platform's dialogs, so that tests replace it with a
// prompter that answers from a script and never blocks.
#pragma once

#include <QString>
#include <optional>

#include "numerics/color.h"

class QDialog;
class QFont;
class QPrinter;
class QWidget;

namespace kestrova {

struct TFileDialogOptions {
  QString Title;
  // The folder the dialog opens in and the file name it proposes (either may be empty).
  QString Folder;
  QString FileName;
  // Filters in the form "orbit files (*.orb);;all files (*)".
  QString Filter;
  // Appended when the chosen name has no suffix ("orb").
  QString DefaultSuffix;
  // The save dialog asks before it replaces an existing file.
  bool ConfirmOverwrite = true;
};

class TPrompter {
 public:
  virtual ~TPrompter() = default;

  // A confirmation with the buttons Yes and No; true for Yes.
  virtual bool AskYesNo(QWidget* parent, const QString& question) = 0;
  // An error message with the single button OK.
  virtual void ShowError(QWidget* parent, const QString& message) = 0;
  // A plain message with the single button OK.
  virtual void ShowMessage(QWidget* parent, const QString& message) = 0;
  // The chosen path, or an empty text when the user cancelled.
  virtual QString OpenFileName(QWidget* parent, const TFileDialogOptions& options) = 0;
  virtual QString SaveFileName(QWidget* parent, const TFileDialogOptions& options) = 0;
  // The colour dialog with its custom colours open, preset with `initial`; nothing on Cancel.
  virtual std::optional<TColor> ChooseColor(QWidget* parent, TColor initial) = 0;
  // The font dialog preset with `initial`; nothing on Cancel.
  virtual std::optional<QFont> ChooseFont(QWidget* parent, const QFont& initial) = 0;
  // The platform's printer set-up dialog for `printer` (printer, paper, output to a file,
  // copies); true on OK.
  virtual bool SetUpPrinter(QWidget* parent, QPrinter& printer) = 0;
  // Shows a dialog modally and returns its result (QDialog::Accepted or Rejected).
  virtual int RunDialog(QDialog& dialog) = 0;
};

// The platform's own dialogs.
class TDialogPrompter final : public TPrompter {
 public:
  bool AskYesNo(QWidget* parent, const QString& question) override;
  void ShowError(QWidget* parent, const QString& message) override;
  void ShowMessage(QWidget* parent, const QString& message) override;
  QString OpenFileName(QWidget* parent, const TFileDialogOptions& options) override;
  QString SaveFileName(QWidget* parent, const TFileDialogOptions& options) override;
  std::optional<TColor> ChooseColor(QWidget* parent, TColor initial) override;
  std::optional<QFont> ChooseFont(QWidget* parent, const QFont& initial) override;
  bool SetUpPrinter(QWidget* parent, QPrinter& printer) override;
  int RunDialog(QDialog& dialog) override;
};

}  // namespace kestrova
