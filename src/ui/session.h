// The one owner of the program's state: the scene, the controller with the time state, the
// minor-body data file and the document state. It is the document host, so documents are read
// and written here, with or without a main window; the main window builds the widgets, asks the
// session and shows what it says. What only a window can do (its tool windows, their places,
// its controls) the session asks of a TSessionWindow, which the main window implements.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTextDocument>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "database/data_file.h"
#include "documents/document_host.h"
#include "ui/scene_controller.h"

namespace kestrova {

class TPrompter;
class TSolarSystem;

// What the session asks of the main window. Without a window the session keeps the values in
// its state and shows nothing.
class TSessionWindow {
 public:
  virtual ~TSessionWindow() = default;

  virtual void ShowMonitor(bool visible) = 0;
  virtual void PlaceMonitor(int32_t left, int32_t top) = 0;
  // Hands the monitor the scene, so that it refreshes its list of bodies.
  virtual void RefreshMonitor() = 0;
  // Shows body `name` in the monitor; returns the body it shows (the Earth for a name it does
  // not know).
  virtual std::string SelectMonitorBody(const std::string& name) = 0;
  virtual void ShowDescription(bool visible) = 0;
  virtual void PlaceDescription(const TWindowGeometry& g) = 0;
  virtual void ShowDescriptionColor(TColor color) = 0;
  // The description's text, which its window edits.
  virtual QTextDocument& DescriptionText() = 0;
  virtual void PlaceMainWindow(const TWindowGeometry& g) = 0;
  // The "Show all objects" button.
  virtual void ShowAllObjectsPressed(bool pressed) = 0;
  // Brings every control in line with the scene and the time state.
  virtual void UpdateControls() = 0;
};

// The command line: an optional Julian date (a decimal number from MinShowJD to MaxShowJD;
// anything else is no date and counts as the first word of the path), then the document path,
// whose words are joined with single blanks so that a path with blanks needs no quotes.
struct TStartArguments {
  std::optional<Extended> JD;
  // Empty for the start-up document "last.orb".
  QString DocumentPath;
};
TStartArguments ParseStartArguments(const QStringList& arguments);

// What the program's entry point hands the session.
struct TSessionOptions {
  // The present moment in UT; the scene starts at it and Now and real time read it. Without a
  // clock (a test that needs no present moment) the scene starts at 1 January 2000.
  TClock Clock;
  // The door to message boxes and dialogs; the platform's own when null.
  TPrompter* Prompter = nullptr;
  // The program folder with kv.ini, last.orb, template.orb and ~tmp.rtf, read once by the entry
  // point (ProgramFolder()); when empty, the session reads it.
  std::filesystem::path ProgramFolder;
};

class TSession : public QObject, public TDocumentHost {
  Q_OBJECT
 public:
  explicit TSession(TSessionOptions options);
  ~TSession() override;

  TSolarSystem& Scene() { return *scene_; }
  TSceneController& Controller() { return *controller_; }
  TDataFile& DataFile() { return data_file_; }
  TPrompter& Prompter() { return *prompter_; }

  // The window that shows the session; null for none. The window detaches itself when it goes.
  // Without a window the description is a text of the session's own.
  void SetWindow(TSessionWindow* window) { window_ = window; }

  // The program folder with its fixed files.
  const std::filesystem::path& ProgramFolder() const { return program_folder_; }
  std::filesystem::path LastDocumentPath() const { return program_folder_ / "last.orb"; }
  std::filesystem::path TemplatePath() const { return program_folder_ / "template.orb"; }
  std::filesystem::path SettingsPath() const { return program_folder_ / "kv.ini"; }

  // The program's start: the document of the command line, or last.orb when there is one (also
  // when the command line's document cannot be read), and then the command line's date; the
  // scene's date is shown once either way. Stale temporary files of killed saves go first.
  void Start(const TStartArguments& start);

  // ---- Documents ----------------------------------------------------------------------------
  // Reads the document at path (any version); a file that cannot be opened, or that is no
  // regular file (a pipe would freeze the window), is reported and false returned. A reading
  // that stops half way shows the scene's date, and the document becomes last.orb: nothing of
  // the file was read cleanly enough to be saved back to it.
  bool OpenDocumentAt(const std::string& path);
  // The Open action: OpenDocumentAt, and then the document path becomes path, unless the
  // reading failed. False when the file could not be opened.
  bool OpenChosenDocument(const std::string& path);
  // Writes the document to path; on success it becomes the document path.
  bool SaveDocumentAs(const std::string& path);
  // Reads template.orb; the template itself is never overwritten by a later save or by the
  // exit, so the document path becomes last.orb.
  bool LoadTemplate();
  // The built-in template, written on the first start when none is there.
  void WriteTemplateIfMissing();
  // The exit: the state goes to last.orb. A last.orb that could not be read at the start is
  // first kept under another name (the user is told which), so that nothing of it is lost.
  void SaveLastDocument();

  // ---- The data file and "Show all objects" --------------------------------------------------
  // Closes the data file, renames it and opens it again; an engine error is reported. Then
  // "Show all objects" follows it; the document's own data file, chosen again once it is
  // back, shows its catalogue when the document had it shown. True when the data file is
  // open.
  bool ChangeDataFile(const std::string& alias, const std::string& table);
  // After another data file was chosen: "Show all objects" shows that file's bodies, or is
  // released when the file is not open.
  void FollowDataFile();
  // The button "Show all objects" was pressed or released; a failure releases it again and is
  // reported.
  void PressShowAllObjects(bool pressed);

  // ---- TDocumentHost ------------------------------------------------------------------------
  // The time step, its unit and real time are the controller's; the document reads them there.
  bool RealTime() const override;
  Extended TimeStep() const override;
  int32_t TimeUnit() const override;
  void SetRealTime(bool on) override;
  void SetTimeStep(Extended value, int32_t unit) override;
  void SetMonitorVisible(bool visible) override;
  void SetMonitorPosition(int32_t left, int32_t top) override;
  void RefreshMonitor() override;
  void SelectMonitorBody(const std::string& name) override;
  void SetDescriptionColor(TColor color) override;
  void SetDescriptionVisible(bool visible) override;
  void SetDescriptionGeometry(const TWindowGeometry& g) override;
  void SetMainWindowGeometry(const TWindowGeometry& g) override;
  void SetShowAllObjects(bool pressed) override;
  std::string DatabaseName() const override { return data_file_.DatabaseName(); }
  std::string TableName() const override { return data_file_.TableName(); }
  void CloseDataFile() override { data_file_.Close(); }
  void SetDataFileNames(const std::string& database, const std::string& table) override;
  bool OpenDataFile() override;
  std::string DataFileError() const override { return data_file_error_; }
  void RunShowAllObjects() override;
  void ShowDate(const TDateRec& date) override;
  void UpdateControls() override;
  bool AskYesNo(const std::string& question) override;
  void ShowError(const std::string& message) override;

 protected:
  QTextDocument& DescriptionText() override;
  std::filesystem::path DescriptionFolder() override { return program_folder_; }

 private:
  void ReportError(const std::exception& error);
  // Renames the unread last.orb aside; false (with a message) when that fails.
  bool KeepUnreadLastDocument();
  enum class TOpened { No, Read, Failed };
  TOpened Open(const std::string& path);

  std::unique_ptr<TPrompter> own_prompter_;
  TPrompter* prompter_ = nullptr;
  std::filesystem::path program_folder_;
  std::unique_ptr<TSolarSystem> scene_;
  std::unique_ptr<TSceneController> controller_;
  TDataFile data_file_;
  // Why the last OpenDataFile failed.
  std::string data_file_error_;
  TSessionWindow* window_ = nullptr;
  std::unique_ptr<QTextDocument> own_description_;
  // Messages are kept back while the template is written on the first start.
  bool quiet_ = false;
  // last.orb exists but its reading at the start failed.
  bool unread_last_ = false;
};

}  // namespace kestrova
