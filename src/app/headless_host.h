// The session of kestrova-cli: the program's own TSession without a window. Questions are
// answered No (unless told otherwise) and kept, messages go to a stream one a line, the
// description is the session's own text, and "Show all objects" loads every row of the data
// file into the scene without a progress window.
#pragma once

#include <QTemporaryDir>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "ui/prompter.h"
#include "ui/session.h"

namespace kestrova {

class TSolarSystem;

// Fonts of rich text need a GUI application; without a display the offscreen platform gives
// one. Creates it when no application object exists (a program that makes its own must do so
// before the first call).
void EnsureGuiApplication();

// The door to messages of a program without windows: a question gets the preset answer and is
// kept, a message becomes a line on the stream, and every dialog is cancelled.
class TStreamPrompter final : public TPrompter {
 public:
  explicit TStreamPrompter(std::ostream& messages) : messages_(messages) {}

  void SetAnswer(bool yes) { answer_ = yes; }
  const std::vector<std::string>& Questions() const { return questions_; }

  bool AskYesNo(QWidget* parent, const QString& question) override;
  void ShowError(QWidget* parent, const QString& message) override;
  void ShowMessage(QWidget* parent, const QString& message) override;
  QString OpenFileName(QWidget*, const TFileDialogOptions&) override { return {}; }
  QString SaveFileName(QWidget*, const TFileDialogOptions&) override { return {}; }
  std::optional<TColor> ChooseColor(QWidget*, TColor) override { return std::nullopt; }
  std::optional<QFont> ChooseFont(QWidget*, const QFont&) override { return std::nullopt; }
  bool SetUpPrinter(QWidget*, QPrinter&) override { return false; }
  int RunDialog(QDialog&) override { return 0; }

 private:
  std::ostream& messages_;
  bool answer_ = false;
  std::vector<std::string> questions_;
};

namespace detail {
// Made before the session, which is handed the prompter when it is built.
struct THeadlessPrompter {
  explicit THeadlessPrompter(std::ostream& messages);
  TStreamPrompter stream_prompter_;
};
}  // namespace detail

class THeadlessHost : private detail::THeadlessPrompter, public TSession {
 public:
  // messages receives the error messages, one a line. The scene starts at the clock's moment
  // (without a clock, the present moment in UT), which real time also reads. The data files
  // are found under programFolder (KESTROVA_HOME or the default when empty); the description's
  // temporary RTF file goes to programFolder only when one is given, else to a private
  // temporary folder, so that a command never swaps the "~tmp.rtf" of a desktop program that
  // runs at the same time.
  explicit THeadlessHost(std::ostream& messages, TClock clock = {},
                         std::filesystem::path programFolder = {});
  ~THeadlessHost() override;

  // The answer to every Yes/No question (No at first), and the questions asked so far.
  void SetAnswer(bool yes) { stream_prompter_.SetAnswer(yes); }
  const std::vector<std::string>& Questions() const { return stream_prompter_.Questions(); }

  QTextDocument& Description() { return DescriptionText(); }

 protected:
  std::filesystem::path DescriptionFolder() override;

 private:
  bool own_folder_ = false;
  std::unique_ptr<QTemporaryDir> temp_dir_;
};

// Reads the document named by arg (a path, or "-" for `in`) into the host's scene, as the
// program opens it, for commands that need only the scene: the conversion question is answered
// No, so the file is never rewritten. Returns true when the document was read completely;
// false after a reading error, for a file that cannot be opened and for a file that is no orbit
// document (each with its message on err).
bool LoadDocumentHeadless(const std::string& arg, std::istream& in, THeadlessHost& host,
                          std::ostream& err);

}  // namespace kestrova
