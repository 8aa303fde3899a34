// kestrova-cli dump: every value of an orbit document in order, with its meaning.
//
// The dump walks the values itself, following the layout of the document's version, so that
// it shows what the readers skip (stored positions, bodies of unknown Id). It stops where the
// readers stop: at a value of the wrong kind, at the end of the file, at a date outside the
// program's range and at a satellite a planet does not have.
#include <QTextDocument>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <string>

#include "app/cli.h"
#include "app/headless_host.h"
#include "documents/orbit_document.h"
#include "documents/rtf_reader.h"
#include "ephemerides/precession.h"
#include "model/astronomical_objects.h"
#include "model/body_data_table.h"
#include "numerics/date_text.h"
#include "scene/solar_system.h"
#include "streams/text_encoding.h"
#include "streams/value_stream.h"

namespace kestrova::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kHelp =
    "usage: kestrova-cli dump FILE.orb      (- reads the document from standard input)\n"
    "\n"
    "Prints the version of an orbit document and every value it holds, in order: the value's\n"
    "number, its kind, its meaning and the value. The description is shown as its RTF lines and\n"
    "then as plain text (for versions 1.0 and 1.1, from the .rtf file beside the document).\n"
    "A damaged document prints the values up to the damage, then the readers' message\n"
    "\"Error reading file FILE.\" on stderr, and exits with status 1; so does a file that is no\n"
    "orbit document.\n";

// The satellite names and counts are the scene's own; a scene made once serves every dump (its
// date does not matter).
const TSolarSystem& ReferenceScene() {
  static const std::unique_ptr<TSolarSystem> scene =
      std::make_unique<TSolarSystem>(JDToDate(0, J2000));
  return *scene;
}

std::string Quoted(const std::string& text) {
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

std::string ColorText(int32_t c) {
  return Format("0x%08X", static_cast<uint32_t>(c));
}

std::string BodyName(int32_t index) {
  if (index >= kEarth && index <= kPluto) return kPlanetData[index].Name;
  if (index == kSunIndex) return "Sun";
  return "no body";
}

const char* UnitName(int32_t code) {
  switch (code & 0xFF) {
    case 0:
      return "minute";
    case 1:
      return "hour";
    case 3:
      return "day";
    case 9:
      return "sidereal year";
    case 10:
      return "tropical year";
    default:
      return "no unit: a step changes nothing";
  }
}

// Reads values one by one and prints each on a line of its own.
class TDumper {
 public:
  TDumper(ValueReader& reader, std::ostream& out) : reader_(reader), out_(out) {}

  int Count() const { return count_; }
  const std::string& Current() const { return current_; }

  int32_t Integer(const std::string& meaning, const std::string& note = {}) {
    Begin(meaning);
    const int32_t v = reader_.ReadInteger();
    Line("Integer", meaning, std::to_string(v), note);
    return v;
  }
  // An Integer with a note made from its value.
  int32_t Integer(const std::string& meaning, const std::function<std::string(int32_t)>& note) {
    Begin(meaning);
    const int32_t v = reader_.ReadInteger();
    Line("Integer", meaning, std::to_string(v), note(v));
    return v;
  }
  int32_t Color(const std::string& meaning) {
    Begin(meaning);
    const int32_t v = reader_.ReadInteger();
    Line("Integer", meaning, ColorText(v), "colour");
    return v;
  }
  bool Boolean(const std::string& meaning) {
    Begin(meaning);
    const bool v = reader_.ReadBoolean();
    Line("Boolean", meaning, v ? "true" : "false", {});
    return v;
  }
  Extended Float(const std::string& meaning, const std::string& note = {}) {
    Begin(meaning);
    const Extended v = reader_.ReadFloat();
    Line("Float", meaning, Number(v), note);
    return v;
  }
  // The scene's date; outside the program's range the readers stop, and so does the dump.
  void Date(const std::string& meaning) {
    Begin(meaning);
    const Extended jd = reader_.ReadFloat();
    if (!(jd >= MinJD && jd <= MaxJD)) {
      Line("Float", meaning, Number(jd), "outside the program's dates");
      throw EInvalidValue();
    }
    const TDateRec d = JDToDate(0, jd);
    Line("Float", meaning, Number(jd),
         "Julian date, " + DateText(d) + " " + TimeText(d, 0) + " UT");
  }
  std::string String(const std::string& meaning) {
    Begin(meaning);
    std::string v = reader_.ReadString();
    Line("String", meaning, Quoted(v), {});
    return v;
  }

 private:
  void Begin(const std::string& meaning) {
    ++count_;
    current_ = meaning;
  }
  void Line(const char* kind, const std::string& meaning, const std::string& value,
            const std::string& note) {
    out_ << Format("%5d %-8s ", count_, kind) << meaning << " = " << value;
    if (!note.empty()) out_ << "  (" << note << ")";
    out_ << "\n";
  }

  ValueReader& reader_;
  std::ostream& out_;
  int count_ = 0;
  std::string current_;
};

enum class TForm { Current, V15, V10 };

void DumpView(TDumper& d) {
  d.Integer("scene.GridMode", [](int32_t v) {
    return v == 0 ? "none" : v == 1 ? "radial rings" : v == 2 ? "rectangular grid" : "";
  });
  d.Float("scene.Dim", "half width in AU; the scene ignores values outside 0.001..100");
  d.Integer("scene.CenterObject", [](int32_t v) {
    return v >= 0 && v <= kSunIndex ? BodyName(v) : std::string("ignored: no body");
  });
  d.Float("scene.RotX", "degrees");
  d.Float("scene.RotY", "degrees");
  d.Float("scene.RotZ", "degrees");
  d.Integer("scene.Plane", [](int32_t v) {
    switch (v & 0xFF) {
      case 0:
        return std::string("X-Y");
      case 1:
        return std::string("X-Z");
      case 2:
        return std::string("Z-Y");
      case 3:
        return std::string("3D");
      default:
        return std::string("no projection");
    }
  });
}

void DumpColors(TDumper& d) {
  for (const char* name : {"GridColor", "BgColor", "SunColor", "PerpendicularColor", "AxesColor"})
    d.Color(std::string("scene.") + name);
}

void DumpSwitches(TDumper& d, int count) {
  static const char* const kNames[] = {
      "ShowOrbits",         "ShowNames",   "ShowSun",         "ShowRotAxis",    "ShowRotation",
      "ShowPerpendiculars", "ShowApsides", "ShowLineOfNodes", "ShowSatellites", "ShowDirections"};
  for (int i = 0; i < count; ++i) d.Boolean(std::string("scene.") + kNames[i]);
}

std::string PlanetKey(int32_t i) {
  return Format("scene.planet[%d] %s", i, kPlanetData[i].Name);
}

// Visibility flags, then colours (1.5 and 1.0 forms).
void DumpPlanetFlagsAndColors(TDumper& d) {
  for (int32_t i = kEarth; i <= kPluto; ++i) d.Boolean(PlanetKey(i) + ".Visible");
  for (int32_t i = kEarth; i <= kPluto; ++i) d.Color(Format("scene.ObjectColors[%d]", i));
}

void DumpPosition(TDumper& d, const std::string& key, const std::string& note) {
  d.Float(key + ".Pos.x", note);
  d.Float(key + ".Pos.y", note);
  d.Float(key + ".Pos.z", note);
}

void DumpPlanetGroups(TDumper& d) {
  const TSolarSystem& scene = ReferenceScene();
  for (int32_t i = kEarth; i <= kPluto; ++i) {
    const std::string key = PlanetKey(i);
    d.Boolean(key + ".Visible");
    d.Color(Format("scene.ObjectColors[%d]", i));
    DumpPosition(d, key, "AU, not read: positions are recomputed");
    const TSatelliteList& satellites = scene.Planet(i).Satellites;
    const int32_t n = d.Integer(key + ".satellites", "number of satellite groups");
    for (int32_t j = 0; j < n; ++j) {
      // The readers' satellite lookup fails here, and the dump with it.
      const std::string sat = key + "." + satellites.Get(j).Name;
      d.Boolean(sat + ".Visible");
      d.Color(sat + ".Color");
      DumpPosition(d, sat, "AU from the planet, not read");
    }
  }
}

void DumpLines(TDumper& d) {
  const int32_t n = d.Integer("scene.DirectionList.Count", "user-defined lines");
  for (int32_t i = 0; i < n; ++i) {
    const std::string key = Format("scene.DirectionList[%d]", i);
    d.Integer(key + ".FromId", BodyName);
    d.Integer(key + ".ToId", BodyName);
    d.Color(key + ".Color");
    d.Boolean(key + ".Visible");
  }
}

void DumpObjects(TDumper& d, TForm form) {
  const int32_t n = d.Integer("scene.AsteroidsList.Count", "picked minor bodies");
  for (int32_t i = 0; i < n; ++i) {
    const std::string key = Format("scene.AsteroidsList[%d]", i);
    d.String(key + ".Name");
    d.Color(key + ".Color");
    d.Boolean(key + ".Visible");
    if (form != TForm::V10) {
      d.Integer(key + ".Id", [](int32_t id) {
        if (id >= kEarth && id <= kPluto) return "read as the standard planet " + BodyName(id);
        if (id == kMinorBodyId) return std::string("minor body");
        return std::string("dropped by the readers");
      });
    }
    d.Float(key + ".Elements.Epoch", "Julian date");
    d.Float(key + ".Elements.Inclination", "degrees");
    d.Float(key + ".Elements.Node", "degrees");
    d.Float(key + ".Elements.PerihelionLongitude", "degrees");
    d.Float(key + ".Elements.SemiMajorAxis", "AU");
    d.Float(key + ".Elements.DailyMotion", "degrees per day");
    d.Float(key + ".Elements.Eccentricity");
    d.Float(key + ".Elements.MeanLongitude", "degrees");
    if (form == TForm::Current) DumpPosition(d, key, "AU, not used");
  }
}

void DumpScene(TDumper& d, TForm form) {
  if (form == TForm::V10) {
    d.Color("scene.GridColor");
    d.Date("scene.SceneDate");
    DumpSwitches(d, 2);
    DumpView(d);
    DumpPlanetFlagsAndColors(d);
    DumpObjects(d, form);
    d.Color("scene.ObjectColors[11]");
    return;
  }
  d.Date("scene.SceneDate");
  DumpColors(d);
  DumpSwitches(d, form == TForm::Current ? 10 : 8);
  DumpView(d);
  if (form == TForm::Current) {
    DumpPlanetGroups(d);
    DumpLines(d);
  } else {
    DumpPlanetFlagsAndColors(d);
  }
  DumpObjects(d, form);
  d.Color("scene.ObjectColors[11]");
  if (form == TForm::Current) d.Color("scene.ObjectColors[12]");
}

void DumpDataFile(TDumper& d) {
  d.String("DatabaseName");
  d.String("TableName");
}

void DumpTimeStep(TDumper& d) {
  d.Float("TimeStep", "in units of TimeUnit");
  d.Integer("TimeUnit", [](int32_t v) { return std::string(UnitName(v)); });
}

// The description block: its RTF lines, joined again as the reader joins them.
std::string DumpDescription(TDumper& d) {
  const int32_t n = d.Integer("Description.Count", "RTF lines");
  std::string rtf;
  for (int32_t i = 0; i < n; ++i) {
    rtf += Utf8ToWindows1252(d.String(Format("Description[%d]", i))) + "\r\n";
  }
  return rtf;
}

void PrintPlainText(const std::string& rtf, std::ostream& out) {
  EnsureGuiApplication();
  QTextDocument doc;
  ReadRtf(rtf, doc);
  const std::string text = doc.toPlainText().toStdString();
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = text.find('\n', start);
    out << "| " << text.substr(start, end == std::string::npos ? end : end - start) << "\n";
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

std::string ReadWholeFile(const fs::path& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return {};
  std::string bytes;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  std::fclose(f);
  return bytes;
}

}  // namespace

int CmdDump(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
  if (WantsHelp(args)) {
    out << kHelp;
    return kOk;
  }
  if (args.size() != 1) {
    err << kHelp;
    return kBadInput;
  }
  TDocumentInput input(args[0], in);
  const std::string& path = input.Name();
  // The version comes from the first value, then the dump starts again at the first byte from
  // what the detection kept: the document is read once, so a pipe works as well as a file.
  RewindableSource source(input.Source());
  const TDocumentVersion version = DetectDocumentVersion(source);
  if (version == TDocumentVersion::Unknown) {
    err << "File " << path << " is no orbit document.\n";
    return kFailure;
  }
  source.Rewind();
  ValueReader reader(source);
  TDumper d(reader, out);
  std::string rtf;
  try {
    switch (version) {
      case TDocumentVersion::V16:
      case TDocumentVersion::V15:
        out << "version " << (version == TDocumentVersion::V16 ? "1.6" : "1.5") << "\n";
        d.String("magic");
        DumpScene(d, version == TDocumentVersion::V16 ? TForm::Current : TForm::V15);
        d.Boolean("ShowAllObjects");
        d.Boolean("RealTime");
        DumpTimeStep(d);
        d.Boolean("MonitorVisible");
        d.String("MonitorBody");
        d.Color("DescriptionColor");
        d.Boolean("DescriptionVisible");
        DumpDataFile(d);
        rtf = DumpDescription(d);
        break;
      case TDocumentVersion::V10:
        out << "version 1.0 or 1.1\n";
        DumpScene(d, TForm::V10);
        d.Integer("MainWindow.Left");
        d.Integer("MainWindow.Top");
        d.Integer("MainWindow.Width");
        d.Integer("MainWindow.Height");
        d.Boolean("ShowAllObjects");
        DumpTimeStep(d);
        d.Boolean("MonitorVisible");
        d.Integer("Monitor.Left");
        d.Integer("Monitor.Top");
        d.String("MonitorBody");
        d.Integer("DescriptionWindow.Left");
        d.Integer("DescriptionWindow.Top");
        d.Integer("DescriptionWindow.Width");
        d.Integer("DescriptionWindow.Height");
        d.Color("DescriptionColor");
        d.Boolean("DescriptionVisible");
        DumpDataFile(d);
        break;
      case TDocumentVersion::Unknown:
        break;
    }
  } catch (const std::exception& e) {
    out.flush();
    err << "Error reading file " << path << ".\n"
        << "dump: value " << d.Count() << " (" << d.Current() << "): " << e.what() << "\n";
    return kFailure;
  }

  // Bytes after the last value are no error; the readers never look at them.
  bool more = true;
  try {
    reader.ReadBoolean();
  } catch (const EReadError&) {
    more = false;
  }
  if (more) out << "note: bytes follow the last value; the readers ignore them\n";

  if (version == TDocumentVersion::V10 && input.StandardInput()) {
    out << "description file: none for a document from standard input\n";
  } else if (version == TDocumentVersion::V10) {
    const fs::path rtfPath = fs::path(path).replace_extension(".rtf");
    std::error_code ec;
    if (fs::is_regular_file(rtfPath, ec)) {
      out << "description file " << rtfPath.string() << ", plain text:\n";
      PrintPlainText(ReadWholeFile(rtfPath), out);
    } else {
      out << "description file " << rtfPath.string() << ": none\n";
    }
  } else {
    out << "description, plain text:\n";
    PrintPlainText(rtf, out);
  }
  return kOk;
}

}  // namespace kestrova::cli
