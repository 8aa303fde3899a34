// A main window for tests: a fresh program folder (KESTROVA_HOME), a clock the test sets, the
// recording prompter, and helpers to find controls by their object names.
#pragma once

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "numerics/julian_dates.h"
#include "recording_prompter.h"
#include "ui/solar_system_form.h"
#include "widget_lookup.h"

namespace kestrova::testing {

class TFormFixture {
 public:
  TFormFixture() {
    home_ = std::make_unique<QTemporaryDir>();
    qputenv("KESTROVA_HOME", home_->path().toUtf8());
  }
  ~TFormFixture() {
    Stop();
    qunsetenv("KESTROVA_HOME");
  }

  // The program folder, where kv.ini, last.orb and template.orb live.
  QString Home() const { return home_->path(); }
  QString HomeFile(const QString& name) const { return QDir(Home()).filePath(name); }

  // Creates the session and its main window with the command line `arguments` and shows it.
  TSolarSystemForm& Start(const QStringList& arguments = {}) {
    session_ = MakeSession();
    TStartOptions options;
    options.Arguments = arguments;
    form_ = std::make_unique<TSolarSystemForm>(*session_, std::move(options));
    form_->show();
    if (!QTest::qWaitForWindowExposed(form_.get())) qFatal("the main window is not shown");
    return *form_;
  }
  TSolarSystemForm& Form() { return *form_; }
  // The window goes first: its widgets see the session's scene until they are deleted.
  void Stop() {
    form_.reset();
    session_.reset();
  }
  // A session in the program folder with the test's clock and prompter.
  std::unique_ptr<TSession> MakeSession() {
    TSessionOptions options;
    options.Clock = [this] { return now; };
    options.Prompter = &prompter;
    return std::make_unique<TSession>(std::move(options));
  }

  template <class T = QWidget>
  T* Find(const char* name) {
    return ChildNamed<T>(*form_, name);
  }
  // Clicks a button where a user would: a check box or radio button on its mark.
  void Click(const char* name) {
    auto* button = Find<QAbstractButton>(name);
    const bool marked = button->inherits("QCheckBox") || button->inherits("QRadioButton");
    QTest::mouseClick(button, Qt::LeftButton, {},
                      marked ? QPoint(7, button->height() / 2) : button->rect().center());
  }
  // Replaces the text of a field by typing and confirms it with Enter.
  void Type(const char* name, const QString& text) {
    auto* edit = Find<QLineEdit>(name);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
  }
  QString Text(const char* name) {
    if (auto* edit = form_->findChild<QLineEdit*>(QString::fromLatin1(name))) return edit->text();
    return Find<QLabel>(name)->text();
  }

  // The present moment the clock gives: 15 March 2021 15:30 UT.
  TDateRec now{15, 3, 2021, 15, 30, 0, 0};
  TRecordingPrompter prompter;

 private:
  std::unique_ptr<QTemporaryDir> home_;
  std::unique_ptr<TSession> session_;
  std::unique_ptr<TSolarSystemForm> form_;
};

}  // namespace kestrova::testing
