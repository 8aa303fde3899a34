// kestrova-cli dump: every value of an orbit document in order, with its meaning.
//
// The document is opened as the program opens it, through the headless host, with a trace on
// the readers: the dump shows what the readers read, in their words, the values they read past
// (stored positions, bodies they drop) included, and it stops where they stop. The readers
// are the one definition of the file format; the dump adds only how a value is shown.
#include <QTextDocument>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "app/cli.h"
#include "app/headless_host.h"
#include "documents/orbit_document.h"
#include "ephemerides/precession.h"
#include "numerics/date_text.h"
#include "numerics/time_step.h"
#include "scene/solar_system.h"
#include "streams/value_stream.h"

namespace kestrova::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kHelp =
    "usage: kestrova-cli dump FILE.orb      (- reads the document from standard input)\n"
    "\n"
    "Reads an orbit document as the program opens it and prints its version and every value\n"
    "the program's readers read, in order: the value's number, its kind, its meaning and the\n"
    "value; what the readers make of a body they drop or replace follows its values. The\n"
    "description is shown as its RTF lines and then as plain text (for versions 1.0 and 1.1,\n"
    "from the .rtf file beside the document). The data file the document names is opened, as\n"
    "in the program, and the file is never rewritten.\n"
    "A damaged document prints the values up to the damage, then the readers' message\n"
    "\"Error reading file FILE.\" on stderr, and exits with status 1; so does a file that is no\n"
    "orbit document.\n";

std::string Quoted(std::string_view text) {
  std::string q = "\"";
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      q += '\\';
      q += c;
    } else if (u < 0x20 || u == 0x7F) {
      q += Format("\\x%02X", u);
    } else {
      q += c;
    }
  }
  return q + "\"";
}

// The shortest text that reads back to the same 80-bit value.
std::string Number(Extended x) {
  for (int digits = 15; digits < 21; ++digits) {
    std::string text = Format("%.*Lg", digits, x);
    if (std::strtold(text.c_str(), nullptr) == x) return text;
  }
  return Format("%.21Lg", x);
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The value as text, with what its meaning adds to it (a colour in hex, a date, a unit).
std::string ValueText(const TTracedValue& v) {
  switch (v.Kind) {
    case TValueKind::Boolean:
      return v.Boolean ? "true" : "false";
    case TValueKind::String:
      return Quoted(v.String);
    case TValueKind::Integer:
      if (EndsWith(v.Meaning, "Color")) return Format("0x%08X", static_cast<uint32_t>(v.Integer));
      if (EndsWith(v.Meaning, "TimeUnit")) {
        // Only the low 8 bits of a stored unit code count.
        const std::string word = UnitWord(static_cast<TTimeUnit>(v.Integer & 0xFF));
        return std::to_string(v.Integer) + "  (" +
               (word.empty() ? "no unit: a step changes nothing" : word) + ")";
      }
      return std::to_string(v.Integer);
    case TValueKind::Float:
      if (v.Skipped) return Number(v.Float) + "  (read past)";
      if (EndsWith(v.Meaning, "SceneDate")) {
        if (!(v.Float >= MinJD && v.Float <= MaxJD))
          return Number(v.Float) + "  (outside the program's dates)";
        const TDateRec d = JDToDate(0, v.Float);
        return Number(v.Float) + "  (Julian date, " + DateText(d) + " " + TimeText(d, 0) + " UT)";
      }
      return Number(v.Float);
  }
  return {};
}

const char* KindName(TValueKind kind) {
  switch (kind) {
    case TValueKind::Integer:
      return "Integer";
    case TValueKind::Boolean:
      return "Boolean";
    case TValueKind::Float:
      return "Float";
    case TValueKind::String:
      return "String";
  }
  return "";
}

// Prints each value as the readers read it, and keeps where they stopped.
class TPrintingTrace : public ValueTrace {
 public:
  explicit TPrintingTrace(std::ostream& out) : out_(out) {}

  void OnValue(const TTracedValue& v) override {
    out_ << Format("%5llu %-8s ", static_cast<unsigned long long>(v.Index + 1), KindName(v.Kind))
         << v.Meaning << " = " << ValueText(v) << "\n";
    last_ = Format("after value %llu (", static_cast<unsigned long long>(v.Index + 1)) +
            std::string(v.Meaning) + ")";
    end_ = v.End;
  }
  void OnFailure(const TTracedValue& v, std::string_view message) override {
    failure_ = Format("value %llu (", static_cast<unsigned long long>(v.Index + 1)) +
               std::string(v.Meaning) + "): " + std::string(message);
  }
  void OnNote(std::string_view note) override { out_ << "      note: " << note << "\n"; }

  // Why the readers stopped: the value they could not read, or the last one they read.
  std::string Stop() const { return failure_.empty() ? "stopped " + last_ : failure_; }
  // The bytes of the document up to the end of the last value read.
  uint64_t End() const { return end_; }

 private:
  std::ostream& out_;
  std::string last_ = "before the first value";
  std::string failure_;
  uint64_t end_ = 0;
};

// Counts the bytes taken from a source, so that bytes after the last value can be told.
class TCountingSource : public ByteSource {
 public:
  explicit TCountingSource(ByteSource& inner) : inner_(inner) {}
  size_t Read(uint8_t* data, size_t n) override {
    const size_t count = inner_.Read(data, n);
    count_ += count;
    return count;
  }
  std::optional<uint64_t> Remaining() const override { return inner_.Remaining(); }
  uint64_t Count() const { return count_; }

 private:
  ByteSource& inner_;
  uint64_t count_ = 0;
};

void PrintPlainText(const QTextDocument& description, std::ostream& out) {
  const std::string text = description.toPlainText().toStdString();
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = text.find('\n', start);
    out << "| " << text.substr(start, end == std::string::npos ? end : end - start) << "\n";
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

const char* VersionText(TDocumentVersion version) {
  switch (version) {
    case TDocumentVersion::V16:
      return "1.6";
    case TDocumentVersion::V15:
      return "1.5";
    default:
      return "1.0 or 1.1";
  }
}

}  // namespace

int CmdDump(const Args& options, std::istream& in, std::ostream& out, std::ostream& err) {
  if (WantsHelp(options)) {
    out << kHelp;
    return kOk;
  }
  const std::optional<Args> plain = PlainArguments("kestrova-cli dump", options, err);
  if (!plain || plain->size() != 1) {
    err << kHelp;
    return kBadInput;
  }
  const Args& args = *plain;
  TDocumentInput input(args[0], in);
  const std::string& path = input.Name();
  TCountingSource counted(input.Source());
  // The version heads the dump, so it is found here first; the opening finds it again from
  // the bytes kept, and the document is still read only once (a pipe works as well as a file).
  RewindableSource source(counted);
  const TDocumentVersion version = DetectDocumentVersion(source);
  if (version == TDocumentVersion::Unknown) {
    err << "File " << path << " is no orbit document.\n";
    return kFailure;
  }
  source.Rewind();
  out << "version " << VersionText(version) << "\n";

  // Answers No: the file is never converted.
  THeadlessHost host(err, [] { return JDToDate(0, J2000); });
  TSolarSystem& scene = host.Scene();
  TPrintingTrace trace(out);
  if (!OpenDocument(source, path, scene, host, &trace).Read) {
    out.flush();
    err << "dump: " << trace.Stop() << "\n";
    return kFailure;
  }

  // Bytes after the last value are no error; the readers never look at them.
  uint8_t byte;
  if (counted.Count() > trace.End() || counted.Read(&byte, 1) > 0)
    out << "note: bytes follow the last value; the readers ignore them\n";

  if (version != TDocumentVersion::V10) {
    out << "description, plain text:\n";
    PrintPlainText(host.Description(), out);
  } else if (input.StandardInput()) {
    out << "description file: none for a document from standard input\n";
  } else {
    const fs::path rtfPath = fs::path(path).replace_extension(".rtf");
    std::error_code ec;
    if (fs::is_regular_file(rtfPath, ec)) {
      out << "description file " << rtfPath.string() << ", plain text:\n";
      PrintPlainText(host.Description(), out);
    } else {
      out << "description file " << rtfPath.string() << ": none\n";
    }
  }
  return kOk;
}

}  // namespace kestrova::cli
