#include "app/cli.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iostream>

#include "numerics/errors.h"
#include "numerics/julian_dates.h"

namespace kestrova::cli {

namespace {

using Handler = int (*)(const Args&, std::istream&, std::ostream&, std::ostream&);

struct TCommand {
  const char* name;
  const char* summary;
  Handler run;
};

constexpr TCommand kCommands[] = {
    {"jd", "Julian date of a calendar date and UT time", CmdJd},
    {"date", "calendar date and UT time of a Julian date", CmdDate},
    {"ephem", "positions of the planets, the Moon and the satellites", CmdEphem},
    {"import", "element files (MPCORB, comets) into a data file", CmdImport},
    {"dump", "every value of an orbit document with its meaning", CmdDump},
    {"convert", "an orbit document of any version rewritten as version 1.6", CmdConvert},
    {"render", "picture of the scene as PNG or BMP, or a series of frames", CmdRender},
};

void Usage(std::ostream& out) {
  out << "usage: kestrova-cli COMMAND [ARGS...]\n\ncommands:\n";
  for (const TCommand& c : kCommands) out << "  " << c.name << "\t" << c.summary << "\n";
  out << "\n`kestrova-cli COMMAND --help` describes a command.\n";
}

}  // namespace

bool WantsHelp(const Args& args) {
  for (const std::string& a : args)
    if (a == "--help" || a == "-h") return true;
  return false;
}

long double ParseJulianDate(const std::string& text) {
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const long double jd = std::strtold(begin, &end);
  if (text.empty() || end != begin + text.size() || errno == ERANGE || !std::isfinite(jd))
    throw EConvertError(Format("'%s' is not a valid floating point value", Excerpt(text).c_str()));
  if (jd < MinJD)
    throw EUnderflow(Format("date %s underflows range (%s .. %s)", FormatGeneral(jd).c_str(),
                            FormatGeneral(MinJD).c_str(), FormatGeneral(MaxJD).c_str()));
  if (jd > MaxJD)
    throw EOverflow(Format("date %s overflows range (%s .. %s)", FormatGeneral(jd).c_str(),
                           FormatGeneral(MinJD).c_str(), FormatGeneral(MaxJD).c_str()));
  return jd;
}

int RunCli(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    Usage(err);
    return kBadInput;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    Usage(out);
    return kOk;
  }
  for (const TCommand& c : kCommands) {
    if (args[0] == c.name) {
      const Args rest(args.begin() + 1, args.end());
      try {
        return c.run(rest, in, out, err);
      } catch (const std::exception& e) {
        err << "kestrova-cli " << c.name << ": " << e.what() << "\n";
        return kFailure;
      }
    }
  }
  err << "kestrova-cli: unknown command '" << args[0] << "'\n";
  Usage(err);
  return kBadInput;
}

}  // namespace kestrova::cli
