// The main window of kestrova-cli: a TDocumentHost without windows. Questions are answered
// No (unless told otherwise), messages go to a stream, the description lives in a
// QTextDocument, the data file is a TableStore reached by database alias and table name, and
// "Show all objects" really loads every row of the data file into the scene.
#pragma once

#include <QTemporaryDir>
#include <QTextDocument>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "database/table_store.h"
#include "documents/document_host.h"
#include "documents/orbit_document.h"

namespace kestrova {

class TSolarSystem;

// Fonts of rich text need a GUI application; without a display the offscreen platform gives
// one. Creates it when no application object exists (a program that makes its own must do so
// before the first call).
void EnsureGuiApplication();

struct TWindowGeometry {
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  friend bool operator==(const TWindowGeometry&, const TWindowGeometry&) = default;
};

class THeadlessHost : public TDocumentHost {
 public:
  // messages receives the error messages, one a line. The description's temporary RTF file
  // goes to programFolder; when that is empty, to a private temporary folder, so that a command
  // never swaps the "~tmp.rtf" of a desktop program that runs at the same time.
  THeadlessHost(TSolarSystem& scene, std::ostream& messages,
                std::filesystem::path programFolder = {});
  ~THeadlessHost() override;

  // The answer to every Yes/No question (No at first), and the questions asked so far.
  void SetAnswer(bool yes) { answer_ = yes; }
  const std::vector<std::string>& Questions() const { return questions_; }

  QTextDocument& Description() { return *description_; }
  TableStore& DataFile() { return data_file_; }
  const std::string& DocumentPath() const { return document_path_; }
  const TWindowGeometry& MainWindowGeometry() const { return main_window_; }
  const TWindowGeometry& DescriptionGeometry() const { return description_window_; }
  int32_t MonitorLeft() const { return monitor_left_; }
  int32_t MonitorTop() const { return monitor_top_; }
  int UpdateControlsCount() const { return update_controls_count_; }

  // TDocumentHost.
  bool RealTime() const override { return real_time_; }
  // Switching on moves the scene to the present moment (UT), as the main window does.
  void SetRealTime(bool on) override;
  Extended TimeStepValue() const override { return time_step_; }
  int32_t TimeStepUnit() const override { return time_unit_; }
  void SetTimeStep(Extended value, int32_t unit) override;
  bool MonitorVisible() const override { return monitor_visible_; }
  void SetMonitorVisible(bool visible) override { monitor_visible_ = visible; }
  void SetMonitorPosition(int32_t left, int32_t top) override;
  void RefreshMonitor() override {}
  std::string MonitorBody() const override { return monitor_body_; }
  void SelectMonitorBody(const std::string& name) override { monitor_body_ = name; }
  TColor DescriptionColor() const override { return description_color_; }
  void SetDescriptionColor(TColor color) override { description_color_ = color; }
  bool DescriptionVisible() const override { return description_visible_; }
  void SetDescriptionVisible(bool visible) override { description_visible_ = visible; }
  void SetDescriptionGeometry(int32_t left, int32_t top, int32_t width, int32_t height) override;
  void ClearDescription() override;
  void WriteDescription(ValueWriter& writer) override;
  void ReadDescription(ValueReader& reader) override;
  void LoadDescriptionFile(const std::string& path) override;
  void SetMainWindowGeometry(int32_t left, int32_t top, int32_t width, int32_t height) override;
  std::string DatabaseName() const override { return data_file_.DatabaseName(); }
  std::string TableName() const override { return data_file_.TableName(); }
  void CloseDataFile() override { data_file_.Close(); }
  void SetDataFileNames(const std::string& database, const std::string& table) override;
  bool OpenDataFile() override;
  bool ShowAllObjects() const override { return show_all_objects_; }
  void SetShowAllObjects(bool pressed) override { show_all_objects_ = pressed; }
  void RunShowAllObjects() override;
  void ShowDate(const TDateRec&) override {}
  void UpdateControls() override { ++update_controls_count_; }
  void SetDocumentPath(const std::string& path) override { document_path_ = path; }
  bool AskYesNo(const std::string& question) override;
  void ShowError(const std::string& message) override;

 private:
  std::filesystem::path TempFolder();

  TSolarSystem& scene_;
  std::ostream& messages_;
  std::filesystem::path program_folder_;
  std::unique_ptr<QTemporaryDir> temp_dir_;
  std::unique_ptr<QTextDocument> description_;
  TableStore data_file_;

  bool answer_ = false;
  std::vector<std::string> questions_;
  std::string document_path_;
  int update_controls_count_ = 0;

  // The main window's start values.
  bool real_time_ = false;
  Extended time_step_ = 1.0L;
  int32_t time_unit_ = 3;
  bool monitor_visible_ = false;
  int32_t monitor_left_ = 0;
  int32_t monitor_top_ = 0;
  std::string monitor_body_;
  TColor description_color_ = 0xFFFFFF;
  bool description_visible_ = false;
  TWindowGeometry main_window_;
  TWindowGeometry description_window_{635, 130, 335, 292};
  bool show_all_objects_ = false;
};

// Reads the document at path into scene through a headless host, for commands that need
// only the scene (render --document): the conversion question is answered No, so the file is
// never rewritten, and every message goes to err. Returns true when the document was read
// completely; false after a reading error, for a file that cannot be opened and for a file
// that is no orbit document (each with its message on err).
bool LoadDocumentHeadless(const std::string& path, TSolarSystem& scene, std::ostream& err);

}  // namespace kestrova
