// kestrova-cli ephem: positions of the planets, the Moon and the satellites for given Julian
// dates, computed by the same bodies the scene holds.
#include <cctype>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/cli.h"
#include "ephemerides/kepler_orbits.h"
#include "ephemerides/moon.h"
#include "ephemerides/planet_positions.h"
#include "ephemerides/precession.h"
#include "model/astronomical_objects.h"
#include "model/body_data_table.h"
#include "numerics/errors.h"

namespace kestrova::cli {

namespace {

enum class TFrame { Date, J2000 };

struct TBody {
  int32_t id;
  std::string name;
};

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool IsSatelliteId(int32_t id) {
  return (id >= 140 && id <= 143) || (id >= 156 && id <= 167) || (id >= 170 && id <= 174);
}

std::optional<TBody> BodyById(int32_t id) {
  if (id >= 0 && id <= 8) return TBody{id, kPlanetData[id].Name};
  if (id == kMoonId) return TBody{id, "Moon"};
  if (IsSatelliteId(id)) return TBody{id, FindSatelliteData(id)->Name};
  return std::nullopt;
}

// A name in any case, or a body number / Id.
std::optional<TBody> FindBody(const std::string& text) {
  if (!text.empty() && text.size() <= 4 &&
      text.find_first_not_of("0123456789") == std::string::npos) {
    return BodyById(std::stoi(text));
  }
  const std::string wanted = Lower(text);
  for (int32_t id = 0; id <= 8; ++id)
    if (Lower(kPlanetData[id].Name) == wanted) return BodyById(id);
  if (wanted == "moon") return BodyById(kMoonId);
  for (const TSatelliteData& s : kSatelliteData)
    if (Lower(s.Name) == wanted) return BodyById(s.Id);
  return std::nullopt;
}

// What the scene keeps in Pos: heliocentric on the mean ecliptic and equinox of the date for a
// planet, geocentric for the Moon, planetocentric for a satellite. A satellite is computed with
// its planet and the planet's other satellites, as in the scene, so that it depends on the date
// alone and not on what was computed before.
TVector PositionOfDate(int32_t id, Extended jd) {
  if (id >= 0 && id <= 8) {
    TPlanet planet(id, 0);
    planet.Calculate(jd);
    return planet.Pos;
  }
  TPlanet host(id == kMoonId ? kEarth : id < 150 ? kJupiter : id < 170 ? kSaturn : kUranus, 0);
  AddStandardSatellites(host, 0);
  host.Calculate(jd);
  return host.FindSatellite(id)->Pos;
}

// Rectangular coordinates on the mean equator and equinox of J2000.0.
TVector PositionJ2000(int32_t id, Extended jd) {
  if (id >= kEarth && id <= kNeptune) return PlanetPositionJ2000(id, jd);
  if (id == kPluto) {
    const TVector ecliptic = KeplerPosition(MeanPlanetElements(kPluto, 0, jd), jd);
    return EclToEqu(ecliptic, MeanObliquity(J2000));
  }
  if (id == kMoonId) return MoonPosition(jd, false, true, true).Rect;
  // The satellite as the scene has it, carried from the ecliptic of the date to J2000.0.
  return PrecessRect(EclToEqu(PositionOfDate(id, jd), MeanObliquity(jd)), 1, jd);
}

// Reads a line of at most max bytes into line (without its end, a CR before it dropped);
// false at the end of the input. A longer line sets tooLong and is left unread beyond max.
bool ReadLine(std::istream& in, std::string& line, size_t max, bool& tooLong) {
  line.clear();
  tooLong = false;
  std::streambuf* buffer = in.rdbuf();
  for (;;) {
    const int c = buffer->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      in.setstate(std::ios::eofbit);
      return !line.empty();
    }
    if (c == '\n') break;
    if (line.size() == max) {
      tooLong = true;
      return true;
    }
    line.push_back(static_cast<char>(c));
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

std::string Number(Extended x) {
  return Format("%.17Lg", x);
}

constexpr const char* kUsage =
    "usage: kestrova-cli ephem [--frame date|j2000] BODY JD [JD ...]\n"
    "       kestrova-cli ephem [--frame date|j2000] BODY -      (one JD per line on stdin)\n"
    "       kestrova-cli ephem --data-file FILE.db JD           (every body of a data file)\n";

}  // namespace

void ForEachDateLine(std::istream& in, const std::function<void(long double)>& take) {
  std::string line;
  bool tooLong = false;
  for (int64_t number = 1; ReadLine(in, line, kMaxDateLine, tooLong); ++number) {
    if (tooLong)
      throw EConvertError(Format("line %lld too long (more than %zu bytes)",
                                 static_cast<long long>(number), kMaxDateLine));
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) continue;
    const size_t last = line.find_last_not_of(" \t");
    Extended jd;
    try {
      jd = ParseJulianDate(line.substr(first, last - first + 1));
    } catch (const EKestrovaError& e) {
      throw EConvertError(Format("line %lld: %s", static_cast<long long>(number), e.what()));
    }
    take(jd);
  }
}

int CmdEphem(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
  if (WantsHelp(args)) {
    out << kUsage
        << "\nPrints body,jd,x,y,z (AU, 17 significant digits) for each Julian date.\n"
           "--frame date (default): what the scene keeps: a planet heliocentric on the mean\n"
           "  ecliptic and equinox of the date, the Moon geocentric, a satellite\n"
           "  planetocentric, both on the ecliptic of the date.\n"
           "--frame j2000: rectangular on the mean equator and equinox of J2000.0 (the Moon\n"
           "  geometric and geocentric).\n"
           "BODY: Earth, Mercury, ..., Pluto, Moon, Io, ..., Oberon (any case), or a body\n"
           "number 0..8, 13, 140..143, 156..167, 170..174.\n";
    return kOk;
  }
  TCommandOptions options({{"frame", true}, {"data-file", true}});
  try {
    options.Parse(args);
  } catch (const TCommandOptions::EBadOption& e) {
    if (e.Kind == TCommandOptions::EBadOption::TKind::NoValue && e.Argument == "--frame")
      err << "kestrova-cli ephem: --frame needs date or j2000\n";
    else if (e.Kind == TCommandOptions::EBadOption::TKind::NoValue)
      err << "kestrova-cli ephem: option " << e.Argument << " needs a value\n" << kUsage;
    else
      err << "kestrova-cli ephem: unexpected argument '" << Excerpt(e.Argument) << "'\n" << kUsage;
    return kBadInput;
  }
  if (options.IsSet("data-file")) return CmdEphemDataFile(args, in, out, err);
  TFrame frame = TFrame::Date;
  if (options.IsSet("frame")) {
    const std::string f = Lower(options.Value("frame"));
    if (f == "date") {
      frame = TFrame::Date;
    } else if (f == "j2000") {
      frame = TFrame::J2000;
    } else {
      err << "kestrova-cli ephem: unknown frame '" << Excerpt(options.Value("frame"))
          << "' (date or j2000)\n";
      return kBadInput;
    }
  }
  const Args& rest = options.Positional();
  if (rest.size() < 2) {
    err << kUsage;
    return kBadInput;
  }
  const std::optional<TBody> body = FindBody(rest[0]);
  if (!body) {
    err << "kestrova-cli ephem: unknown body '" << Excerpt(rest[0]) << "'\n";
    return kBadInput;
  }

  const auto print = [&](Extended jd) {
    const TVector v =
        frame == TFrame::Date ? PositionOfDate(body->id, jd) : PositionJ2000(body->id, jd);
    out << body->name + "," + Number(jd) + "," + Number(v.x) + "," + Number(v.y) + "," +
               Number(v.z) + "\n";
  };
  if (rest.size() == 2 && rest[1] == "-") {
    // Each line goes out as soon as it is computed, so that ephem works inside a pipeline; a
    // bad line ends the command after the lines before it.
    // Output that fails ends the reading too: the input may never end.
    struct TOutputFailed {};
    out << "body,jd,x,y,z\n" << std::flush;
    try {
      ForEachDateLine(in, [&](Extended jd) {
        print(jd);
        if (!out.flush()) throw TOutputFailed();
      });
    } catch (const EKestrovaError& e) {
      err << "kestrova-cli ephem: " << e.what() << "\n";
      return kBadInput;
    } catch (const TOutputFailed&) {
      return kFailure;  // the runner says why
    }
    return kOk;
  }

  // Dates given as arguments are all checked before anything is printed.
  std::vector<Extended> dates;
  for (auto it = rest.begin() + 1; it != rest.end(); ++it) {
    try {
      dates.push_back(ParseJulianDate(*it));
    } catch (const EKestrovaError& e) {
      err << "kestrova-cli ephem: " << e.what() << "\n";
      return kBadInput;
    }
  }
  out << "body,jd,x,y,z\n";
  for (Extended jd : dates) print(jd);
  return kOk;
}

}  // namespace kestrova::cli
