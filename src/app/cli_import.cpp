// kestrova-cli import and ephem --data-file: filling data files from element files, and the
// positions of every body of a data file.
#include <cstdio>
#include <iostream>
#include <optional>

#include "app/cli.h"
#include "app/progress_line.h"
#include "database/element_import.h"
#include "database/minor_bodies.h"
#include "model/astronomical_objects.h"
#include "numerics/errors.h"

namespace kestrova::cli {

namespace {

// The options of import and ephem --data-file, with their messages for a command line they
// cannot use.
void ReadOptions(TCommandOptions& options, const Args& args) {
  try {
    options.Parse(args);
  } catch (const TCommandOptions::EBadOption& e) {
    if (e.Kind == TCommandOptions::EBadOption::TKind::NoValue)
      throw EConvertError("option " + e.Argument + " needs a value");
    throw EConvertError("unexpected argument '" + Excerpt(e.Argument) + "'");
  }
}

std::string CsvField(const std::string& s) {
  if (s.find_first_of(",\"\n") == std::string::npos) return s;
  std::string q = "\"";
  for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
  return q + "\"";
}

// Rows that cannot be orbits are named one by one up to this many, then only counted.
constexpr int64_t kNamedSkips = 20;

constexpr const char* kImportUsage =
    "usage: kestrova-cli import --format mpcorb|comets|auto [--alias DIR] --table NAME\n"
    "                          [--replace] [--quiet] FILE\n";

// The import under the name of the program that runs it (kestrova-cli import, kestrova-import).
int Import(const Args& args, std::ostream& out, std::ostream& err, const std::string& program) {
  if (WantsHelp(args)) {
    out << kImportUsage
        << "\nReads an element file and writes the data file NAME.db of the database alias\n"
           "(default MPC, the folder MPC in the program folder; any other alias is a folder).\n"
           "  mpcorb  the minor-planet export format (MPCORB.DAT and its extracts)\n"
           "  comets  the one-line comet format (CometEls.txt), parabolic and hyperbolic orbits\n"
           "          (e >= 1) too: their A column holds the perihelion distance q\n"
           "  auto    the format the file's first lines are written in\n"
           "FILE may be compressed with gzip (MPCORB.DAT.gz, CometEls.txt.gz as published); it\n"
           "is read as it is decompressed; FILE - reads standard input. An existing table is\n"
           "kept unless --replace is given.\n"
           "Lines that cannot be read are skipped and counted by reason; the summary names the\n"
           "first lines of each reason. A file without one element line is an error and\n"
           "changes no table. On a terminal, one line on stderr follows the import (percent,\n"
           "rate, time left) unless --quiet. Ctrl+C leaves no half table behind.\n";
    return kOk;
  }
  TImportOptions opt;
  std::string file, format;
  bool quiet = false, haveTable = false;
  try {
    TCommandOptions options(
        {{"format", true}, {"alias", true}, {"table", true}, {"replace", false}, {"quiet", false}});
    ReadOptions(options, args);
    format = options.Value("format");
    if (options.IsSet("alias")) opt.Alias = options.Value("alias");
    haveTable = options.IsSet("table");
    opt.Table = options.Value("table");
    opt.Replace = options.IsSet("replace");
    quiet = options.IsSet("quiet");
    const Args& rest = options.Positional();
    if (rest.size() > 1) throw EConvertError("unexpected argument '" + Excerpt(rest[1]) + "'");
    if (!rest.empty()) file = rest[0];
    if (format == "mpcorb")
      opt.Format = TElementFormat::Mpcorb;
    else if (format == "comets")
      opt.Format = TElementFormat::Comets;
    else if (format == "auto")
      opt.Format.reset();
    else
      throw EConvertError(format.empty() ? "--format is missing"
                                         : "unknown format '" + Excerpt(format) + "'");
    if (!haveTable || opt.Table.empty()) throw EConvertError("--table is missing");
    if (file.empty()) throw EConvertError("FILE is missing");
    // As the other commands take it; the reader reads a pipe as it comes.
    if (file == "-") file = "/dev/stdin";
  } catch (const EConvertError& e) {
    err << program << ": " << e.what() << "\n" << kImportUsage;
    return kBadInput;
  }
  // On a terminal one line follows the import; a log or a pipe gets the summary alone.
  std::optional<TProgressLine> progress;
  if (!quiet) {
    progress.emplace(err, TProgressLine::OnTerminal(err), "import");
    opt.Progress = [&progress](const TImportProgress& p) {
      if (p.Stage == TImportProgress::TStage::Indexing)
        progress->Show("indexing", p.Percent, 100, "");
      else if (p.BytesTotal > 0)
        progress->Show("reading", double(p.BytesRead), double(p.BytesTotal), "B");
      else  // a pipe: no end known
        progress->Show("reading", double(p.Rows), 0, "rows");
      return true;
    };
  }
  const TImportResult result = ImportElements(file, opt);
  if (progress) progress->Finish();
  out << result.Summary() << "\n";
  return kOk;
}

}  // namespace

int CmdImport(const Args& args, std::istream&, std::ostream& out, std::ostream& err) {
  return Import(args, out, err, "kestrova-cli import");
}

int RunImport(const Args& args, std::istream&, std::ostream& out, std::ostream& err) {
  return RunReported(
      "kestrova-import", [&] { return Import(args, out, err, "kestrova-import"); }, out, err);
}

int CmdEphemDataFile(const Args& args, std::istream&, std::ostream& out, std::ostream& err) {
  constexpr const char* kUsage = "usage: kestrova-cli ephem --data-file FILE.db JD\n";
  if (WantsHelp(args)) {
    out << kUsage
        << "\nHeliocentric ecliptic position (AU) at the Julian date JD of every body of a\n"
           "data file, on its Kepler orbit as \"Show all objects\" computes it: a header\n"
           "no,name,x,y,z then one line per row in the order of the numbers.\n";
    return kOk;
  }
  std::string file, jdText;
  try {
    TCommandOptions options({{"data-file", true}});
    ReadOptions(options, args);
    file = options.Value("data-file");
    const Args& rest = options.Positional();
    if (rest.size() > 1) throw EConvertError("unexpected argument '" + Excerpt(rest[1]) + "'");
    if (!rest.empty()) jdText = rest[0];
    if (file.empty()) throw EConvertError("--data-file is missing");
    if (jdText.empty()) throw EConvertError("JD is missing");
  } catch (const EConvertError& e) {
    err << "kestrova-cli ephem: " << e.what() << "\n" << kUsage;
    return kBadInput;
  }
  Extended jd = 0;
  try {
    jd = ParseJulianDate(jdText);
  } catch (const EKestrovaError& e) {
    err << "kestrova-cli ephem: " << e.what() << "\n";
    return kBadInput;
  }
  // The header waits for the first row, so that a file that cannot be read prints nothing.
  bool header = false;
  std::string line;
  int64_t skipped = 0;
  // Output that fails ends the reading: a full catalogue takes a while to compute.
  struct TOutputFailed {};
  try {
    ReadDataFile(
        file,
        [&](const TMinorBodyRow& row) {
          if (!out) throw TOutputFailed();
          if (!header) {
            out << "no,name,x,y,z\n";
            header = true;
          }
          // A plain body of the "all objects" list, computed as the scene computes it.
          TOEObject body(row.Name, row.Elements, row.Color, kMinorBodyId);
          body.Calculate(jd);
          line = std::to_string(row.No) + "," + CsvField(Escaped(row.Name)) +
                 Format(",%.17Lg,%.17Lg,%.17Lg\n", body.Pos.x, body.Pos.y, body.Pos.z);
          out << line;
        },
        [&](const TMinorBodyRow& row, const char* why) {
          // The first few by name; a damaged file may hold millions.
          if (++skipped <= kNamedSkips)
            err << "kestrova-cli ephem: skipped row " << row.No << " (" << Excerpt(row.Name)
                << "): " << why << ", no closed orbit\n";
        });
  } catch (const TOutputFailed&) {
    return kFailure;  // the runner says why
  }
  if (!header) out << "no,name,x,y,z\n";
  if (skipped > 0)
    err << "kestrova-cli ephem: " << skipped << (skipped == 1 ? " row" : " rows")
        << " skipped: no closed orbit\n";
  return kOk;
}

}  // namespace kestrova::cli
