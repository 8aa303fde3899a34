// The main window of kestrova-cli: a TDocumentHost without windows. Questions are answered
// No (unless told otherwise), messages go to a stream, the description lives in a
// QTextDocument, the data file is a TDataFile reached by database alias and table name, and
// "Show all objects" really loads every row of the data file into the scene.
#pragma once

#include <QTemporaryDir>
#include <QTextDocument>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "database/data_file.h"
#include "documents/document_host.h"
#include "documents/orbit_document.h"

namespace kestrova {

class TSolarSystem;

// Fonts of rich text need a GUI application; without a display the offscreen platform gives
// one. Creates it when no application object exists (a program that makes its own must do so
// before the first call).
void EnsureGuiApplication();

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
  TDataFile& DataFile() { return data_file_; }
  int UpdateControlsCount() const { return update_controls_count_; }

  // TDocumentHost.
  // Switching on moves the scene to the present moment (UT), as the main window does.
  void SetRealTime(bool on) override;
  std::string DatabaseName() const override { return data_file_.DatabaseName(); }
  std::string TableName() const override { return data_file_.TableName(); }
  void CloseDataFile() override { data_file_.Close(); }
  void SetDataFileNames(const std::string& database, const std::string& table) override {
    data_file_.SetNames(database, table);
  }
  bool OpenDataFile() override { return data_file_.TryOpen(); }
  void RunShowAllObjects() override;
  void UpdateControls() override { ++update_controls_count_; }
  bool AskYesNo(const std::string& question) override;
  void ShowError(const std::string& message) override;

 protected:
  QTextDocument& DescriptionText() override { return *description_; }
  std::filesystem::path DescriptionFolder() override;

 private:
  TSolarSystem& scene_;
  std::ostream& messages_;
  std::filesystem::path program_folder_;
  std::unique_ptr<QTemporaryDir> temp_dir_;
  std::unique_ptr<QTextDocument> description_;
  TDataFile data_file_;

  bool answer_ = false;
  std::vector<std::string> questions_;
  int update_controls_count_ = 0;
};

// Reads the document at path into scene through a headless host, for commands that need
// only the scene (render --document): the conversion question is answered No, so the file is
// never rewritten, and every message goes to err. Returns true when the document was read
// completely; false after a reading error, for a file that cannot be opened and for a file
// that is no orbit document (each with its message on err).
bool LoadDocumentHeadless(const std::string& path, TSolarSystem& scene, std::ostream& err);

}  // namespace kestrova
