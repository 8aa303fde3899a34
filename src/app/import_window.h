// kestrova-import: the window in which an element file (MPCORB.DAT, CometEls.txt, or either
// compressed with gzip) becomes a data file of a database folder. The import runs in a worker
// thread, so the window keeps answering; Cancel leaves every table as it was.
//
// Widgets by objectName, for tests and accessibility tools: FileEdit, BrowseButton,
// FormatCombo, DetectedFormat, AliasFolder, TableEdit, ReplaceCheck, TableNote, ProgressBar,
// RateLabel, ResultLabel, SkippedList, ImportButton, CancelButton, CloseButton.
#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "database/element_import.h"
#include "ui/prompter.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QThread;
class QTreeWidget;

namespace kestrova {

class TImportWindow : public QWidget {
  Q_OBJECT

 public:
  // aliasFolder: the folder the data file goes to (a database alias's folder). Questions go
  // through prompter; the platform's own dialogs when it is null.
  explicit TImportWindow(const std::filesystem::path& aliasFolder, QWidget* parent = nullptr,
                         TPrompter* prompter = nullptr);
  ~TImportWindow() override;

  // Takes the element file: finds its format and proposes a table name from its file name
  // (MPCORB.DAT.gz gives MPCORB). The Choose button and the file field end here.
  void SetElementFile(const QString& path);
  // Starts the import of what the window shows; nothing when the Import button is disabled.
  void StartImport();
  // Asks a running import to stop.
  void CancelImport();
  bool Running() const { return worker_ != nullptr; }

 signals:
  // The import ended: imported, failed or cancelled.
  void importFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // The window's groups, built once by the constructor from top to bottom.
  QGroupBox* BuildElementFileGroup();
  QGroupBox* BuildDataFileGroup();
  QGroupBox* BuildImportGroup();
  QDialogButtonBox* BuildButtons();
  void ChooseFile();
  // The format to import in: the chosen one, or the one found in the file.
  std::optional<TElementFormat> ChosenFormat() const;
  // Enables Import and explains what keeps it disabled.
  void UpdateState();
  void ShowProgress(const TImportProgress& progress);
  void Finish();

  std::filesystem::path aliasFolder_;
  // The element file the window was last given, and the format found in it.
  QString elementFile_;
  std::optional<TElementFormat> detected_;
  QLineEdit* fileEdit_;
  QPushButton* browseButton_;
  QComboBox* formatCombo_;
  QLabel* detectedLabel_;
  QLabel* aliasLabel_;
  QLineEdit* tableEdit_;
  QCheckBox* replaceCheck_;
  QLabel* tableNote_;
  QProgressBar* progressBar_;
  QLabel* rateLabel_;
  QLabel* resultLabel_;
  QTreeWidget* skippedList_;
  QPushButton* importButton_;
  QPushButton* cancelButton_;
  QPushButton* closeButton_;

  // The running import. The worker writes result_ or error_ before it ends; the window reads
  // them only after the thread has finished.
  QThread* worker_ = nullptr;
  std::atomic<bool> cancel_ = false;
  std::optional<TImportResult> result_;
  std::string error_;
  bool cancelled_ = false;
  bool closeWhenDone_ = false;
  std::unique_ptr<TPrompter> own_prompter_;
  TPrompter* prompter_ = nullptr;
  QElapsedTimer clock_;
  // For the rate: rows and time of the last display, smoothed over about a second.
  int64_t rateRows_ = 0;
  qint64 rateTime_ = 0;
  double rate_ = 0;
};

// How kestrova-import is to run for its arguments: with its window, for no argument or one
// that names a folder (or the alias "MPC"); without one, as `kestrova-cli import`, when asked
// with --no-gui or when the arguments name an element file and options.
bool ImportRunsHeadless(const std::vector<std::string>& args);

// The folder the window imports into for its arguments: the one given, else the program
// folder's "MPC/". Raises EKestrovaError when it cannot be made.
std::filesystem::path ImportAliasFolder(const std::vector<std::string>& args);

}  // namespace kestrova
