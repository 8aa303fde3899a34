// The description block: RTF lines through the value stream and "~tmp.rtf".
#include "documents/description.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextList>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "documents/rtf_reader.h"
#include "documents/rtf_writer.h"
#include "documents/text_document_summary.h"

namespace kestrova {
namespace {

using testing::EnsureGuiApplication;
using testing::Summary;

class Description : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    ASSERT_TRUE(dir_.isValid());
    folder_ = dir_.path().toStdString();
  }

  std::vector<uint8_t> Written(const QTextDocument& doc) {
    MemorySink sink;
    ValueWriter writer(sink);
    WriteDescription(doc, writer, folder_);
    writer.Finish();
    return sink.Bytes();
  }

  static std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  QTemporaryDir dir_;
  std::filesystem::path folder_;
};

void FillSample(QTextDocument& doc) {
  QTextCursor c(&doc);
  QTextCharFormat bold;
  bold.setFontFamilies(QStringList{"Arial"});
  bold.setFontPointSize(10);
  bold.setFontWeight(QFont::Bold);
  bold.setForeground(QColor(0, 128, 0));
  QTextBlockFormat centred;
  centred.setAlignment(Qt::AlignHCenter);
  c.setBlockFormat(centred);
  c.insertText("Jupiter's moons", bold);
  QTextCharFormat italic;
  italic.setFontFamilies(QStringList{"Times New Roman"});
  italic.setFontPointSize(12);
  italic.setFontItalic(true);
  c.insertBlock(QTextBlockFormat());
  QTextListFormat bullets;
  bullets.setStyle(QTextListFormat::ListDisc);
  c.createList(bullets);
  c.insertText("Io\tand Europa, caf\u00e9 \u20ac \u03a9", italic);
  c.insertBlock();
  c.insertText("Ganymede", italic);
}

TEST_F(Description, RoundTripsThroughTheValueStream) {
  QTextDocument original;
  FillSample(original);
  std::vector<uint8_t> bytes = Written(original);

  QTextDocument copy;
  copy.setPlainText("old text that must go");
  MemorySource source(bytes);
  ValueReader reader(source);
  ReadDescription(copy, reader, folder_);
  EXPECT_EQ(Summary(copy), Summary(original));
  EXPECT_THROW(reader.ReadInteger(), EReadError) << "the block ends with its last line";

  // The temporary file stays behind and holds the description just read.
  QTextDocument fromFile;
  ReadRtf(FileText(TempRtfPath(folder_)), fromFile);
  EXPECT_EQ(Summary(fromFile), Summary(original));
}

TEST_F(Description, BlockIsTheCountAndTheRtfLines) {
  for (const char* text : {"", "one line"}) {
    QTextDocument doc;
    doc.setPlainText(text);
    std::vector<uint8_t> bytes = Written(doc);
    MemorySource source(bytes);
    ValueReader reader(source);
    int32_t n = reader.ReadInteger();
    ASSERT_GE(n, 1) << "even an empty text is some RTF";
    std::string joined;
    for (int32_t i = 0; i < n; ++i) {
      std::string line = reader.ReadString();
      EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
      joined += line + "\r\n";
    }
    EXPECT_THROW(reader.ReadInteger(), EReadError);
    EXPECT_EQ(joined, WriteRtf(doc));
    EXPECT_EQ(FileText(TempRtfPath(folder_)), WriteRtf(doc));
  }
}

// Lines as other writers stored them: 8-bit text (read as Windows-1252), UTF-8 text with a
// letter that code page lacks, lines split inside the RTF, and no lines at all.
TEST_F(Description, ReadsForeignLines) {
  struct Case {
    std::vector<uint8_t> block;
    std::string text;
  };
  auto str = [](std::vector<uint8_t> bytes, const std::string& s) {
    bytes.push_back(6);
    bytes.push_back(static_cast<uint8_t>(s.size()));
    bytes.insert(bytes.end(), s.begin(), s.end());
    return bytes;
  };
  std::vector<uint8_t> eightBit = str({2, 2}, "{\\rtf1\\ansi caf\xe9");
  eightBit = str(eightBit, " \\'e9t\xe9}");
  const std::string omega = "{\\rtf1 \xce\xa9 ok}";
  std::vector<uint8_t> utf8 = {2, 1, 20, static_cast<uint8_t>(omega.size()), 0, 0, 0};
  utf8.insert(utf8.end(), omega.begin(), omega.end());
  const Case cases[] = {
      {eightBit, "caf\u00e9 \u00e9t\u00e9"},
      {utf8, "\u03a9 ok"},
      {{2, 0}, ""},
      {{2, 0xFD}, ""},  // a negative count reads no lines
  };
  for (const Case& c : cases) {
    QTextDocument doc;
    doc.setPlainText("old");
    MemorySource source(c.block);
    ValueReader reader(source);
    ReadDescription(doc, reader, folder_);
    EXPECT_EQ(doc.toPlainText().toStdString(), c.text);
  }
}

TEST_F(Description, DamagedBlockFailsBeforeTouchingTheFile) {
  // A count far beyond the lines present ends at the end of the stream, not in memory.
  std::vector<uint8_t> block = {4, 0xFF, 0xFF, 0xFF, 0x7F, 6, 1, 'x'};
  QTextDocument doc;
  MemorySource source(block);
  ValueReader reader(source);
  EXPECT_THROW(ReadDescription(doc, reader, folder_), EReadError);
  EXPECT_FALSE(std::filesystem::exists(TempRtfPath(folder_)));
}

TEST_F(Description, UnwritableTemporaryFileIsAnError) {
  std::filesystem::path missing = folder_ / "no such folder";
  QTextDocument doc;
  doc.setPlainText("text");
  MemorySink sink;
  ValueWriter writer(sink);
  EXPECT_THROW(WriteDescription(doc, writer, missing), EKestrovaError);
  std::vector<uint8_t> block = {2, 1, 6, 1, 'x'};
  MemorySource source(block);
  ValueReader reader(source);
  EXPECT_THROW(ReadDescription(doc, reader, missing), EKestrovaError);

  // A full disk, which shows only when the written file is flushed; nothing reaches the stream.
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::filesystem::create_symlink("/dev/full", TempRtfPath(folder_));
  EXPECT_THROW(WriteDescription(doc, writer, folder_), EWriteError);
  writer.Finish();
  EXPECT_TRUE(sink.Bytes().empty());
}

TEST_F(Description, LoadDescriptionFileOfOldDocuments) {
  QTextDocument doc;
  doc.setPlainText("old");
  EXPECT_FALSE(LoadDescriptionFile(doc, folder_ / "missing.rtf"));
  EXPECT_TRUE(doc.isEmpty());

  std::ofstream(folder_ / "old.rtf", std::ios::binary) << "{\\rtf1{\\b Mars} at opposition\\par}";
  EXPECT_TRUE(LoadDescriptionFile(doc, folder_ / "old.rtf"));
  EXPECT_EQ(doc.toPlainText().toStdString(), "Mars at opposition");

  ClearDescription(doc);
  EXPECT_TRUE(doc.isEmpty());
}

}  // namespace
}  // namespace kestrova
