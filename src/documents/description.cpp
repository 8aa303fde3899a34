// The description block. Lines travel as the system's 8-bit text: the RTF is read from the
// temporary file as Windows-1252 and written back to it the same way.
#include "documents/description.h"

#include <QString>
#include <QTextDocument>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "documents/code_page.h"
#include "documents/rtf_reader.h"
#include "documents/rtf_writer.h"
#include "streams/file_handle.h"
#include "streams/text_encoding.h"

namespace kestrova {
namespace {

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::FILE* raw = std::fopen(path.c_str(), "wb");
  if (!raw) {
    throw EKestrovaError(
        Format("Cannot create file \"%s\". %s", path.string().c_str(), std::strerror(errno)));
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), raw) == bytes.size();
  ok = std::fflush(raw) == 0 && ok;
  // A full disk may show only when the file is closed.
  ok = std::fclose(raw) == 0 && ok;
  if (!ok) throw EWriteError();
}

std::string ReadFile(const std::filesystem::path& path) {
  TFileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    throw EKestrovaError(
        Format("Cannot open file \"%s\". %s", path.string().c_str(), std::strerror(errno)));
  }
  std::string bytes;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, n);
  if (std::ferror(file.get())) throw EReadError();
  return bytes;
}

// A line ends at CR LF, or at a CR or LF alone; a last line end opens no further line.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    lines.push_back(text.substr(start, i - start));
    i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
    start = i;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// A line of the document back into 8-bit RTF. A character that Windows-1252 has no byte for
// (only foreign documents carry such lines) becomes an RTF Unicode escape.
std::string LineToRtfBytes(const std::string& utf8) {
  QString line = QString::fromStdString(utf8);
  std::string bytes;
  bytes.reserve(static_cast<size_t>(line.size()));
  for (QChar ch : line) {
    int b = Windows1252Byte(ch.unicode());
    if (b >= 0) {
      bytes.push_back(static_cast<char>(b));
    } else {
      bytes += "\\u" + std::to_string(static_cast<int16_t>(ch.unicode())) + "?";
    }
  }
  return bytes;
}

}  // namespace

std::filesystem::path TempRtfPath(const std::filesystem::path& programFolder) {
  return programFolder / kTempRtfName;
}

void ClearDescription(QTextDocument& description) {
  description.clear();
}

void WriteDescription(const QTextDocument& description, ValueWriter& writer,
                      const std::filesystem::path& programFolder) {
  std::filesystem::path temp = TempRtfPath(programFolder);
  WriteFile(temp, WriteRtf(description));
  std::string rtf = ReadFile(temp);
  std::vector<std::string_view> lines = SplitLines(rtf);
  writer.WriteInteger(static_cast<int32_t>(lines.size()));
  for (std::string_view line : lines) writer.WriteString(Windows1252ToUtf8(line));
}

void ReadDescription(QTextDocument& description, ValueReader& reader,
                     const std::filesystem::path& programFolder) {
  const TMeaningScope block(reader, "Description");
  int32_t count = reader.ReadInteger("Count");
  // Lines are gathered one by one: a damaged count ends at the stream's end, not in memory.
  std::string rtf;
  for (int32_t i = 0; i < count; ++i) {
    const TMeaningScope line(reader, [i] { return Format("[%d]", i); });
    rtf += LineToRtfBytes(reader.ReadString());
    rtf += "\r\n";
  }
  std::filesystem::path temp = TempRtfPath(programFolder);
  WriteFile(temp, rtf);
  ReadRtf(ReadFile(temp), description);
}

bool LoadDescriptionFile(QTextDocument& description, const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    description.clear();
    return false;
  }
  ReadRtf(ReadFile(path), description);
  return true;
}

}  // namespace kestrova
