// The RTF codec: our own RTF reads back into the same formatted text, foreign RTF of word
// processors and rich-edit controls reads into its text and formats, damaged RTF into its text.
#include <gtest/gtest.h>

#include <QFile>
#include <QStringDecoder>
#include <QTextCursor>
#include <string>

#include "documents/rtf_reader.h"
#include "documents/rtf_writer.h"
#include "documents/text_document_summary.h"

namespace kestrova {
namespace {

using testing::EnsureGuiApplication;
using testing::Summary;

class RtfCodec : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApplication(); }

  static std::string Read(std::string_view rtf, bool withFormats = true) {
    QTextDocument doc;
    ReadRtf(rtf, doc);
    return Summary(doc, withFormats);
  }

  static std::string Fixture(const char* name) {
    QFile file(QString(KESTROVA_TEST_DATA "/rtf/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll().toStdString();
  }
};

// The paragraphs' text as it is held, one paragraph per line.
std::string Text(const QTextDocument& doc) {
  QStringList paragraphs;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) paragraphs << b.text();
  return paragraphs.join('\n').toStdString();
}

QTextCharFormat Char(const char* family, qreal size, bool bold = false, bool italic = false,
                     bool underline = false, QColor colour = QColor()) {
  QTextCharFormat f;
  f.setFontFamilies(QStringList{family});
  f.setFontPointSize(size);
  f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
  f.setFontItalic(italic);
  f.setFontUnderline(underline);
  if (colour.isValid()) f.setForeground(colour);
  return f;
}

QTextBlockFormat Para(Qt::Alignment align) {
  QTextBlockFormat f;
  f.setAlignment(align);
  return f;
}

// Every feature the description editor can produce, in one document.
void FillFormattedText(QTextDocument& doc) {
  doc.setDefaultFont(QFont("Arial", 10));
  QTextCursor c(&doc);
  c.setBlockFormat(Para(Qt::AlignLeft));
  c.insertText("Plain ", Char("Arial", 10));
  c.insertText("bold", Char("Arial", 10, true));
  c.insertText(" italic red", Char("Arial", 10, false, true, false, QColor(200, 0, 0)));
  c.insertText(" big underlined", Char("Courier New", 14.5, true, false, true));
  c.insertText("\tafter a tab", Char("Arial", 10));
  // Struck through from the font dialog; raised and lowered from pasted text (10^6 km, H_2O).
  QTextCharFormat struck = Char("Arial", 10);
  struck.setFontStrikeOut(true);
  c.insertText(" struck", struck);
  QTextCharFormat raised = Char("Arial", 10);
  raised.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
  c.insertText(" 10", Char("Arial", 10));
  c.insertText("6", raised);
  QTextCharFormat lowered = Char("Arial", 10);
  lowered.setVerticalAlignment(QTextCharFormat::AlignSubScript);
  c.insertText(" H", Char("Arial", 10));
  c.insertText("2", lowered);
  c.insertText("O", Char("Arial", 10));
  c.insertText(QString(QChar(0x2028)) + "second line", Char("Arial", 10));
  c.insertBlock(Para(Qt::AlignHCenter));
  c.insertText("Centred caf\u00e9 \u20ac \u03a9 \U0001F30D {braces} back\\slash",
               Char("Times New Roman", 12));
  c.insertBlock(Para(Qt::AlignRight));
  c.insertText("Right", Char("Arial", 8, false, false, false, QColor(0, 0, 255)));
  c.insertBlock(Para(Qt::AlignJustify));
  c.insertText("Justified", Char("Arial", 10));
  c.insertBlock(Para(Qt::AlignLeft));
  QTextListFormat bullets;
  bullets.setStyle(QTextListFormat::ListDisc);
  c.createList(bullets);
  c.insertText("first bullet", Char("Arial", 10));
  c.insertBlock();
  c.insertText("second bullet", Char("Arial", 10, true));
  c.insertBlock(Para(Qt::AlignLeft));
  c.insertText("after the list", Char("Arial", 10));
  c.insertBlock(Para(Qt::AlignLeft));
  QTextListFormat numbers;
  numbers.setStyle(QTextListFormat::ListDecimal);
  c.createList(numbers);
  c.insertText("numbered", Char("Arial", 10));
  c.insertBlock(Para(Qt::AlignLeft));
  c.insertBlock(Para(Qt::AlignCenter));
}

TEST_F(RtfCodec, FormattedTextRoundTrips) {
  QTextDocument original;
  FillFormattedText(original);
  std::string rtf = WriteRtf(original);
  QTextDocument copy;
  ReadRtf(rtf, copy);
  EXPECT_EQ(Summary(copy), Summary(original)) << rtf;

  // Written twice, the text is the same RTF: nothing drifts from one saving to the next.
  copy.setDefaultFont(original.defaultFont());
  EXPECT_EQ(WriteRtf(copy), rtf);
  for (char c : rtf) ASSERT_TRUE(static_cast<unsigned char>(c) < 0x80) << "non-ASCII in RTF";
  EXPECT_EQ(rtf.find('\n'), rtf.find("\r\n") + 1) << "lines end with CR LF";
}

// Rich text pasted from elsewhere gives sizes in pixels or as steps from the default size
// (headings, <big>, <small>); they are kept as the sizes the text is drawn in.
TEST_F(RtfCodec, PastedSizesAreKeptAsDrawn) {
  QTextDocument original;
  original.setDefaultFont(QFont("Arial", 10));
  original.setHtml(
      "<h1>Heading</h1><p><span style='font-size:16px'>pixels</span> <big>big</big> "
      "<small>small</small> <span style='font-size:x-large'>large</span> plain</p>");
  auto drawn = [](const QTextDocument& doc) {
    std::string sizes;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
      for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QFont font = it.fragment().charFormat().font();
        const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75;
        sizes +=
            it.fragment().text().toStdString() + " " + QString::number(points).toStdString() + "; ";
      }
    }
    return sizes;
  };
  QTextDocument copy;
  copy.setDefaultFont(original.defaultFont());
  ReadRtf(WriteRtf(original), copy);
  EXPECT_EQ(drawn(copy), drawn(original));
  EXPECT_EQ(drawn(copy),
            "Heading 20; pixels 12;   10; big 12;   10; small 8;   10; large 15;  plain 10; ");
}

TEST_F(RtfCodec, EmptyAndTrailingEmptyParagraphsRoundTrip) {
  for (const char* text : {"", "a", "a\n", "a\n\n", "\n", "\n\nb"}) {
    QTextDocument original;
    original.setPlainText(text);
    QTextDocument copy;
    ReadRtf(WriteRtf(original), copy);
    EXPECT_EQ(copy.toPlainText(), original.toPlainText()) << '"' << text << '"';
    EXPECT_EQ(copy.blockCount(), original.blockCount()) << '"' << text << '"';
  }
}

TEST_F(RtfCodec, ReadsARichEditControlsRtf) {
  EXPECT_EQ(Read(Fixture("richedit.rtf")),
            "center: {Calibri 14 b}Caf\u00e9 Notes\n"
            "left: {Calibri 11 #ff0000}Red {Calibri 11 i #0000ff}blue{Calibri 11} and "
            "{Calibri 11 u}underlined{Calibri 11}<tab>after tab\n"
            "left disc: {Calibri 11}First item\n"
            "left disc: {Calibri 11}Second item\n"
            "right: {Arial 10}Right \u20ac<br>next line\n");
}

TEST_F(RtfCodec, ReadsAWordProcessorsRtf) {
  if (!QStringDecoder("windows-1251").isValid()) GTEST_SKIP() << "no Windows-1251 decoder";
  EXPECT_EQ(Read(Fixture("wordprocessor.rtf")),
            "justify: {Calibri 11}The comet\u2019s orbit, r\u00e9sum\u00e9 "
            "{Calibri 11 b #008000}bold green\n"
            "left disc: {Calibri 11}Perihelion\n"
            "left: {Calibri 11 u #008000}link{Calibri Cyr 11} "
            "\u041f\u0440\u0438\u0432\u0435\u0442 \u0417 end\n");
}

TEST_F(RtfCodec, ReadsEscapesAndResets) {
  struct Case {
    const char* rtf;
    const char* text;  // the plain text, paragraphs on lines
  };
  const Case cases[] = {
      // \uN with its stand-ins skipped per \ucN; a control word counts as one stand-in.
      {R"({\rtf1 a\u233?b\uc0\u233 c\uc2\u233\'e9\'e9d\uc1\u-3913 ?e\u8364\'80f{\uc3\u233}g})",
       "a\u00e9b\u00e9c\u00e9d\uf0b7e\u20acf\u00e9g"},
      {R"({\rtf1\ansi\ansicpg1252 \'e9\'80\'96\'81})", "\u00e9\u20ac\u2013\u0081"},
      {R"({\rtf1 \{x\}\\ a\~b\_c\-d})", "{x}\\ a\u00a0b\u2011cd"},
      {R"({\rtf1 one\par two\line three\tab four\
five})",
       "one\ntwo\u2028three\tfour\nfive"},
      {R"({\rtf1 {\*\unknowndest hidden}{\unknownword shown}\zzz7 x})", "shownx"},
      {R"({\rtf1 {\info{\title T}}{\stylesheet{\s1 Heading;}}{\pict\pngblip 89504e47}a})", "a"},
      {"{\\rtf1 a\\bin4 {}\\bc}", "ac"},
      {R"({\rtf1 \lquote q\rquote  \ldblquote d\rdblquote  \emdash\endash\bullet})",
       "\u2018q\u2019 \u201cd\u201d \u2014\u2013\u2022"},
  };
  for (const Case& c : cases) {
    QTextDocument doc;
    ReadRtf(c.rtf, doc);
    EXPECT_EQ(Text(doc), c.text) << c.rtf;
  }
}

TEST_F(RtfCodec, PlainAndPardResetWhatTheyOwn) {
  EXPECT_EQ(Read(R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Courier;}})"
                 R"(\qc\f1\fs30\b\i\ul one \plain two\par three\pard\par four})"),
            "center: {Courier 15 b i u}one {Arial 12}two\n"
            "left: {Arial 12}three\n"
            "left: {Arial 12}four\n");
  // Character properties set inside a group end with it.
  EXPECT_EQ(Read(R"({\rtf1{\fonttbl{\f0 Arial;}}a{\b b}c})"),
            "left: {Arial 12}a{Arial 12 b}b{Arial 12}c\n");
}

TEST_F(RtfCodec, FontAndColourTablesInEveryForm) {
  // A font table without groups (as some editors write it), \deff naming the second font, a
  // colour table whose first entry is the automatic colour, references beyond both tables.
  EXPECT_EQ(
      Read(R"({\rtf1\ansi\deff1{\fonttbl\f0\fswiss\fcharset0 Helvetica;\f1\fnil Courier New;})"
           R"({\colortbl;\red255\green255\blue255;}\fs20 a\f0 b\cf1 c\cf0 d\cf9 e\f7 f})"),
      "left: {Courier New 10}a{Helvetica 10}b{Helvetica 10 #ffffff}c{Helvetica 10}de{" +
          QTextDocument().defaultFont().family().toStdString() + " 10}f\n");
  if (!QStringDecoder("windows-1251").isValid()) GTEST_SKIP() << "no Windows-1251 decoder";
  // \ansicpg sets the code page of \'xx; a font's \fcharset overrides it.
  EXPECT_EQ(
      Read(R"({\rtf1\ansi\ansicpg1251{\fonttbl{\f0 A;}{\f1\fcharset0 B;}}\'cf\f1\'cf})", false),
      "left: \u041f\u00cf\n");
}

TEST_F(RtfCodec, DamagedRtfDegradesToItsText) {
  struct Case {
    std::string rtf;
    std::string text;
  };
  const Case cases[] = {
      {R"({\rtf1 Hello {\b world)", "Hello world"},  // truncated
      {"\r\n {\\rtf1 lead}", "lead"},                // blanks before
      {R"({\rtf1 a}} b})", "ab"},                    // stray braces
      {R"({\rtf1 {{{a} b)", "a b"},                  // unclosed groups
      {R"({\rtf1 x\)", "x"},                         // a lone backslash
      {R"({\rtf1 x\'4)", "x"},                       // a cut escape
      {R"({\rtf1 x\'zzy})", "xzzy"},                 // a bad escape
      {R"({\rtf1 x\fs-99999999999999 y\cf77 z\f123 w\uc99999\u1?v})", "xyzw"},
      {"{\\rtf1 a\\bin999999999 hidden", "a"},                             // binary past the end
      {"Just plain text\r\nsecond line", "Just plain text\nsecond line"},  // no RTF at all
      {"caf\xe9", "caf\u00e9"},                                            // 8-bit plain text
      {"", ""},
  };
  for (const Case& c : cases) {
    QTextDocument doc;
    ReadRtf(c.rtf, doc);
    EXPECT_EQ(Text(doc), c.text) << c.rtf;
  }
}

TEST_F(RtfCodec, DeepNestingIsCappedNotFatal) {
  const size_t depth = 200000;
  std::string rtf =
      "{\\rtf1 a" + std::string(depth, '{') + "\\b deep" + std::string(depth, '}') + " tail}";
  QTextDocument doc;
  ReadRtf(rtf, doc);
  EXPECT_EQ(Text(doc), "adeep tail");
}

}  // namespace
}  // namespace kestrova
