// The description window: the tool bar's formatting, the pop-up menu, and the description's
// way through orbit documents and "~tmp.rtf".
#include "ui/description_form.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <fstream>
#include <sstream>

#include "documents/orbit_document.h"
#include "documents/text_document_summary.h"
#include "scene/solar_system.h"
#include "streams/value_stream.h"
#include "support/recording_prompter.h"
#include "support/scene_date.h"
#include "support/screenshots.h"

namespace kestrova {

namespace {

// A document host whose description is the window's, as the main window's is.
class TFormHost final : public TDocumentHost {
 public:
  explicit TFormHost(TDescriptionForm& form) : form_(form) {}

  void SetDescriptionColor(TColor color) override {
    TDocumentHost::SetDescriptionColor(color);
    form_.SetColor(color);
  }
  void SetDescriptionVisible(bool visible) override {
    TDocumentHost::SetDescriptionVisible(visible);
    form_.setVisible(visible);
  }

  std::string DatabaseName() const override { return "MPC"; }
  std::string TableName() const override { return ""; }
  void CloseDataFile() override {}
  void SetDataFileNames(const std::string&, const std::string&) override {}
  bool OpenDataFile() override { return false; }
  void RunShowAllObjects() override {}
  bool AskYesNo(const std::string&) override { return false; }
  void ShowError(const std::string& message) override { errors.push_back(message); }

  std::vector<std::string> errors;

 protected:
  QTextDocument& DescriptionText() override { return *form_.Memo().document(); }
  std::filesystem::path DescriptionFolder() override { return form_.TempRtfPath().parent_path(); }

 private:
  TDescriptionForm& form_;
};

struct Fixture {
  QTemporaryDir folder;
  testing::TRecordingPrompter prompter;
  TDescriptionForm form{prompter, folder.path().toStdString()};

  QTextEdit& memo() { return form.Memo(); }
  QToolButton& button(const char* name) { return *form.findChild<QToolButton*>(name); }
  void click(const char* name) { QTest::mouseClick(&button(name), Qt::LeftButton); }
  QAction& menuItem(const char* name) { return *form.findChild<QAction*>(name); }
  // Selects the characters from..to of the text.
  void select(int from, int to) {
    QTextCursor c = memo().textCursor();
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    memo().setTextCursor(c);
  }
  void moveTo(int position) { select(position, position); }
  std::string summary() { return testing::Summary(*memo().document()); }
};

std::vector<uint8_t> DescriptionBlock(const QStringList& lines) {
  MemorySink sink;
  ValueWriter writer(sink);
  writer.WriteInteger(int32_t(lines.size()));
  for (const QString& line : lines) writer.WriteString(line.toStdString());
  writer.Finish();
  return sink.Bytes();
}

std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

class DescriptionFormTest : public QObject {
  Q_OBJECT
 private slots:
  void StartsEmptyAndHiddenWithItsCaptions() {
    Fixture f;
    QCOMPARE(f.form.windowTitle(), QString("File description"));
    QVERIFY(!f.form.isVisible());
    QCOMPARE(f.form.Color(), TColor{0xFFFFFF});
    QCOMPARE(f.form.TempRtfPath(),
             std::filesystem::path(f.folder.path().toStdString()) / "~tmp.rtf");
    const std::pair<const char*, const char*> hints[] = {{"SBNew", "New"},
                                                         {"SBLeftAlign", "Align left"},
                                                         {"SBCenter", "center"},
                                                         {"SBRightAlign", "Align right"},
                                                         {"SBBold", "Bold"},
                                                         {"SBItalic", "Italic"},
                                                         {"SBFont", "Select font"},
                                                         {"SBTextColor", "Text color"},
                                                         {"SBNumbering", "Numbering"},
                                                         {"SBColor", "Background color"},
                                                         {"SBUndo", "Undo"}};
    for (const auto& [name, hint] : hints) QCOMPARE(f.button(name).toolTip(), QString(hint));
    QVERIFY(!f.button("SBUndo").isEnabled());
    QCOMPARE(f.memo().font().family(), QString("Arial"));
    QCOMPARE(f.memo().font().pointSize(), 10);
  }

  void FormattedTextTravelsThroughADocument() {
    Fixture a;
    a.form.show();
    QTest::keyClicks(&a.memo(), "Title");
    QTest::keyClick(&a.memo(), Qt::Key_Return);
    QTest::keyClicks(&a.memo(), "plain bold italic");
    QTest::keyClick(&a.memo(), Qt::Key_Tab);
    QTest::keyClicks(&a.memo(), "end");
    QTest::keyClick(&a.memo(), Qt::Key_Return);
    QTest::keyClicks(&a.memo(), "item");

    a.moveTo(2);
    a.click("SBCenter");
    a.select(0, 5);
    a.prompter.fonts.push_back(QFont("Liberation Serif", 14));
    a.click("SBFont");
    a.select(12, 16);
    a.click("SBBold");
    QVERIFY(a.button("SBBold").isChecked());
    a.select(17, 23);
    a.click("SBItalic");
    a.click("SBItalic");  // and off again
    a.click("SBItalic");
    a.moveTo(30);
    a.click("SBNumbering");
    QVERIFY(a.button("SBNumbering").isChecked());
    a.select(26, 27);
    a.click("SBRightAlign");
    QSignalSpy chosen(&a.form, &TDescriptionForm::colorChosen);
    a.prompter.colors.push_back(TColor{0xC0FFFF});
    a.click("SBColor");
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(a.form.Color(), TColor{0xC0FFFF});
    QCOMPARE(a.memo().palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xC0));
    QCOMPARE(a.prompter.asked, QStringList({"font", "color"}));

    const std::string expected =
        "center: {Liberation Serif 14}Title\n"
        "right: {Arial 10}plain {Arial 10 b}bold{Arial 10} {Arial 10 i}italic{Arial 10}<tab>end\n"
        "left disc: {Arial 10}item\n";
    QCOMPARE(a.summary(), expected);
    testing::ShotImage(a.form.grab().toImage(), "description_form");

    TSolarSystem scene{TestStartDate()};
    TFormHost hostA(a.form);
    hostA.State().DescriptionColor = a.form.Color();
    hostA.State().DescriptionVisible = true;
    const std::string path = (std::filesystem::path(a.folder.path().toStdString()) / "d.orb");
    QVERIFY(WriteDocument(path, scene, hostA));

    Fixture b;
    TFormHost hostB(b.form);
    const TOpenResult result = OpenDocument(path, scene, hostB);
    QVERIFY(result.Read);
    QCOMPARE(b.summary(), expected);
    QCOMPARE(b.form.Color(), TColor{0xC0FFFF});
    QVERIFY(b.form.isVisible());
    // The temporary file keeps the description that was read.
    QVERIFY(FileText(b.form.TempRtfPath()).find("plain") != std::string::npos);
    // A text read from a document starts a new undo history.
    QVERIFY(!b.button("SBUndo").isEnabled());
  }

  void FontDialogOpensOnTheSelectionsFont() {
    Fixture f;
    f.form.show();
    QTest::keyClicks(&f.memo(), "plain strong");
    f.select(6, 12);
    f.click("SBBold");
    f.click("SBItalic");
    f.click("SBFont");  // cancelled
    const QFont offered = f.prompter.lastFont;
    QVERIFY(offered.bold() && offered.italic());
    QCOMPARE(offered.pointSize(), 10);
    // The face drawn for Arial, which the dialog can find in its list.
    QCOMPARE(offered.family(), QFontInfo(f.memo().font()).family());
    QCOMPARE(f.summary(), std::string("left: {Arial 10}plain {Arial 10 b i}strong\n"));

    // OK on the offered substitute keeps the face the text names; only the size changed.
    QFont larger = offered;
    larger.setPointSize(12);
    f.prompter.fonts.push_back(larger);
    f.click("SBFont");
    QCOMPARE(f.summary(), std::string("left: {Arial 10}plain {Arial 12 b i}strong\n"));
  }

  void TextColorColoursTheSelectionAndTravelsAsRtf() {
    Fixture a;
    a.form.show();
    QTest::keyClicks(&a.memo(), "red green plain");
    a.select(0, 3);
    a.prompter.colors.push_back(TColor{0x0000FF});
    a.click("SBTextColor");
    QCOMPARE(a.prompter.lastColor, TColor{0x000000});  // the text colour the user sees
    a.select(4, 9);
    a.prompter.colors.push_back(TColor{0x008000});
    a.menuItem("MITextColor").trigger();
    a.select(1, 2);
    a.click("SBTextColor");  // cancelled: opens on the selection's colour, changes nothing
    QCOMPARE(a.prompter.lastColor, TColor{0x0000FF});
    QCOMPARE(a.prompter.asked, QStringList({"color", "color", "color"}));
    // The background colour is the editor's, not the text's.
    QCOMPARE(a.form.Color(), TColor{0xFFFFFF});
    const std::string expected =
        "left: {Arial 10 #ff0000}red{Arial 10} {Arial 10 #008000}green{Arial 10} plain\n";
    QCOMPARE(a.summary(), expected);

    MemorySink sink;
    ValueWriter writer(sink);
    TFormHost(a.form).WriteDescription(writer);
    writer.Finish();
    Fixture b;
    MemorySource source(sink.Bytes());
    ValueReader reader(source);
    TFormHost(b.form).ReadDescription(reader);
    QCOMPARE(b.summary(), expected);
  }

  void KeysFormatTheTextWithoutAMouse() {
    Fixture f;
    f.form.show();
    QApplication::setActiveWindow(&f.form);
    QTest::keyClicks(&f.memo(), "one two three");
    const std::pair<QKeyCombination, std::string> cases[] = {
        {Qt::CTRL | Qt::Key_B, "left: {Arial 10}one {Arial 10 b}two{Arial 10} three\n"},
        {Qt::CTRL | Qt::Key_I, "left: {Arial 10}one {Arial 10 i}two{Arial 10} three\n"},
        {Qt::CTRL | Qt::Key_U, "left: {Arial 10}one {Arial 10 u}two{Arial 10} three\n"},
        {Qt::CTRL | Qt::Key_E, "center: {Arial 10}one two three\n"},
        {Qt::CTRL | Qt::Key_R, "right: {Arial 10}one two three\n"},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_L, "left disc: {Arial 10}one two three\n"}};
    for (const auto& [key, formatted] : cases) {
      f.select(4, 7);
      QTest::keyClick(&f.memo(), key.key(), key.keyboardModifiers());
      QCOMPARE(f.summary(), formatted);
      // The same key again takes the format back; left alignment is Ctrl+L.
      const bool alignment = key.key() == Qt::Key_E || key.key() == Qt::Key_R;
      QTest::keyClick(&f.memo(), alignment ? Qt::Key_L : key.key(),
                      alignment ? Qt::ControlModifier : key.keyboardModifiers());
      QCOMPARE(f.summary(), std::string("left: {Arial 10}one two three\n"));
    }
  }

  void EmptyDescriptionIsWrittenAsRtfLines() {
    Fixture f;
    MemorySink sink;
    ValueWriter writer(sink);
    TFormHost(f.form).WriteDescription(writer);
    writer.Finish();
    MemorySource source(sink.Bytes());
    ValueReader reader(source);
    const int32_t count = reader.ReadInteger();
    QVERIFY(count >= 1);
    QVERIFY(QString::fromStdString(reader.ReadString()).startsWith("{\\rtf"));
    QVERIFY(FileText(f.form.TempRtfPath()).starts_with("{\\rtf"));
  }

  void RtfThatDoesNotParseShowsItsPlainText() {
    Fixture f;
    const std::pair<QStringList, QString> cases[] = {
        {{"no rtf at all"}, "no rtf at all"},
        {{"{\\rtf1\\ansi Hello {\\b bold ", "world"}, "Hello bold world"},
        {{}, ""},
    };
    for (const auto& [lines, text] : cases) {
      const std::vector<uint8_t> block = DescriptionBlock(lines);
      MemorySource source(block);
      ValueReader reader(source);
      TFormHost(f.form).ReadDescription(reader);
      QCOMPARE(f.memo().toPlainText().simplified(), text);
    }
  }

  void UndoFollowsTheEditor() {
    Fixture f;
    QTest::keyClicks(&f.memo(), "abc");
    QVERIFY(f.button("SBUndo").isEnabled());
    f.click("SBUndo");
    QCOMPARE(f.memo().toPlainText(), QString());
    QVERIFY(!f.button("SBUndo").isEnabled());

    // "New" empties a formatted text as one edit that Undo takes back, and what is typed next
    // has none of the old format.
    QTest::keyClicks(&f.memo(), "abc");
    f.memo().selectAll();
    f.click("SBBold");
    f.click("SBNumbering");
    f.click("SBNew");
    QCOMPARE(f.memo().toPlainText(), QString());
    QVERIFY(f.button("SBUndo").isEnabled());
    QVERIFY(!f.button("SBBold").isChecked());
    QVERIFY(!f.button("SBNumbering").isChecked());
    f.click("SBUndo");
    QCOMPARE(f.memo().toPlainText(), QString("abc"));
    QTextCursor at(f.memo().document());
    at.movePosition(QTextCursor::NextCharacter);
    QCOMPARE(at.charFormat().fontWeight(), int(QFont::Bold));
    QVERIFY(at.currentList() != nullptr);

    f.click("SBNew");
    QTest::keyClicks(&f.memo(), "new");
    QCOMPARE(f.memo().toPlainText(), QString("new"));
    at = QTextCursor(f.memo().document());
    at.movePosition(QTextCursor::NextCharacter);
    QVERIFY(at.charFormat().fontWeight() < QFont::DemiBold);
    QCOMPARE(at.currentList(), nullptr);
  }

  void PopupMenuFollowsSelectionAndClipboard() {
    Fixture f;
    f.form.show();
    QTest::keyClicks(&f.memo(), "one two");
    for (const char* name : {"MICut", "MICopy", "MIClear"}) QVERIFY(!f.menuItem(name).isEnabled());
    f.select(0, 4);
    for (const char* name : {"MICut", "MICopy", "MIClear"}) QVERIFY(f.menuItem(name).isEnabled());

    QMenu& menu = *f.form.findChild<QMenu*>("PopupMenu");
    QStringList captions;
    for (QAction* a : menu.actions()) captions << (a->isSeparator() ? "-" : a->text());
    QCOMPARE(captions, QStringList({"Cut", "Copy", "Paste", "-", "Clear", "Select all", "-",
                                    "Text color..."}));

    QApplication::clipboard()->clear();
    emit f.memo().customContextMenuRequested(QPoint(5, 5));
    QVERIFY(menu.isVisible());
    QVERIFY(!f.menuItem("MIPaste").isEnabled());
    menu.close();
    QApplication::clipboard()->setText("pasted");
    emit f.memo().customContextMenuRequested(QPoint(5, 5));
    QVERIFY(f.menuItem("MIPaste").isEnabled());
    menu.close();

    f.menuItem("MIClear").trigger();
    QCOMPARE(f.memo().toPlainText(), QString("two"));
    f.menuItem("MISelectAll").trigger();
    QCOMPARE(f.memo().textCursor().selectedText(), QString("two"));
  }

  void ClosingOnlyHides() {
    Fixture f;
    QSignalSpy hidden(&f.form, &TDescriptionForm::hidden);
    f.form.show();
    QTest::keyClicks(&f.memo(), "kept");
    f.form.SetStayOnTop(true);
    QVERIFY(f.form.StayOnTop() && f.form.isVisible());
    QCOMPARE(hidden.count(), 0);
    f.form.close();
    QVERIFY(!f.form.isVisible());
    QCOMPARE(hidden.count(), 1);
    f.form.show();
    QCOMPARE(f.memo().toPlainText(), QString("kept"));

    TFormHost(f.form).ClearDescription();
    QVERIFY(!f.form.isVisible());
    QCOMPARE(f.memo().toPlainText(), QString());
  }

  void OldDocumentsBringTheirRtfFile() {
    Fixture f;
    const std::filesystem::path folder = f.folder.path().toStdString();
    TFormHost host(f.form);
    host.LoadDescriptionFile(folder / "missing.rtf");
    QVERIFY(!f.form.isVisible());
    std::ofstream(folder / "old.rtf") << "{\\rtf1\\ansi {\\b Old} text\\par}";
    host.LoadDescriptionFile(folder / "old.rtf");
    QVERIFY(f.form.isVisible());
    QCOMPARE(f.memo().toPlainText().trimmed(), QString("Old text"));
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::DescriptionFormTest)
#include "description_form_test.moc"
