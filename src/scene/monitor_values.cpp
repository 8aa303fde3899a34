#include "scene/monitor_values.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "ephemerides/kepler_orbits.h"
#include "ephemerides/precession.h"
#include "model/astronomical_objects.h"
#include "numerics/date_text.h"
#include "numerics/julian_dates.h"
#include "numerics/mathematics.h"
#include "scene/solar_system.h"

namespace kestrova {

const std::array<TMonitorEntry, kMonitorFixedEntries> kMonitorEntries = {{
    {"Mercury", 0, 1},
    {"Venus", 0, 2},
    {"Earth", 0, 0},
    {"Moon", 1, 13},
    {"Mars", 0, 3},
    {"Jupiter", 0, 4},
    {"Io (J I)", 1, 140},
    {"Europa (J II)", 1, 141},
    {"Ganymede (J III)", 1, 142},
    {"Callisto (J IV)", 1, 143},
    {"Saturn", 0, 5},
    {"Mimas (S I)", 1, 156},
    {"Enceladus (S II)", 1, 157},
    {"Tethys (S III)", 1, 158},
    {"Dione (S IV)", 1, 161},
    {"Rhea (S V)", 1, 163},
    {"Titan (S VI)", 1, 164},
    {"Hyperion (S VII)", 1, 165},
    {"Iapetus (S VIII)", 1, 166},
    {"Phoebe (S IX)", 1, 167},
    {"Uranus", 0, 6},
    {"Miranda (U V)", 1, 170},
    {"Ariel (U I)", 1, 171},
    {"Umbriel (U II)", 1, 172},
    {"Titania (U III)", 1, 173},
    {"Oberon (U IV)", 1, 174},
    {"Neptune", 0, 7},
    {"Pluto", 0, 8},
}};

namespace {

// Metres per AU, as the monitor's unit changes use it.
constexpr Extended kMetresPerAU = 149597870000.0L;
constexpr Extended kKmPerAUMonitor = kMetresPerAU / 1000;
// Ten million kilometres in AU: below it a distance is shown in thousands of kilometres.
constexpr Extended kTenMillionKm = 0.06684587153547039139L;
// AU per day into kilometres per second.
constexpr Extended kVelocityFactor = 1731.4815L;
constexpr Extended kSolarConstant = 1374;
constexpr Extended kDaysPerYear = 365.25L;
// Id of Phoebe, whose orbit is retrograde and referred to the ecliptic.
constexpr int32_t kPhoebeId = 167;

TPlanet* PlanetAt(const TSolarSystem& scene, int32_t index) {
  const TOEObjectList& planets = scene.PlanetsList();
  if (index < 0 || index >= planets.Count()) return nullptr;
  return dynamic_cast<TPlanet*>(planets.Items()[size_t(index)].get());
}

TAstronomialObject* FixedEntryBody(const TSolarSystem& scene, int32_t id) {
  if (id >= kEarth && id <= kPluto) return PlanetAt(scene, id);
  const int32_t planet = id == kMoonId ? kEarth
                         : id < 150    ? kJupiter
                         : id < 170    ? kSaturn
                                       : kUranus;
  TPlanet* p = PlanetAt(scene, planet);
  return p ? p->FindSatellite(id) : nullptr;
}

QString Angle(Extended radians, int form) {
  return QString::fromStdString(DMSText(AngleToDMS(radians), form));
}

QString WithPoint(std::string text, const QString& decimalPoint) {
  QString s = QString::fromLatin1(text.data(), qsizetype(text.size()));
  if (decimalPoint != QLatin1String(".")) s.replace(QLatin1Char('.'), decimalPoint);
  return s;
}

std::string Printed(const char* format, int digits, Extended x) {
  char buffer[128];
  const int n = std::snprintf(buffer, sizeof buffer, format, digits, x);
  return std::string(buffer, n > 0 ? std::min<size_t>(size_t(n), sizeof buffer - 1) : 0);
}

// The scientific text of an overflowing fixed-point value: `precision` significant digits,
// trailing zeros dropped, at least two exponent digits.
std::string GeneralScientific(Extended x, int precision) {
  std::string s = Printed("%.*LE", precision - 1, x);
  const size_t e = s.find('E');
  std::string mantissa = s.substr(0, e);
  if (mantissa.find('.') != std::string::npos) {
    while (mantissa.back() == '0') mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
  }
  return mantissa + s.substr(e);
}

bool AllZeroDigits(const std::string& s) {
  for (char c : s) {
    if (c >= '1' && c <= '9') return false;
  }
  return true;
}

// Row texts of the distance rows, which change their unit below ten million kilometres.
TMonitorRow Distance(Extended au, const char* what, const QString& point) {
  if (au < kTenMillionKm) {
    return {QString::fromLatin1(what) + QStringLiteral(" [1000 km]"),
            FixedText(au * kMetresPerAU / 1000000, 6, 0, point)};
  }
  return {QString::fromLatin1(what) + QStringLiteral(" [AU]"), FixedText(au, 12, 6, point)};
}

QString Elongation(const TSolarSystem& scene, const TVector& pos) {
  const Extended e = scene.ElongationAtCenter(pos);
  return e == -99 ? QStringLiteral("n.c.") : Angle(e, 0);
}

// The rows that every body on a heliocentric orbit shows, in the monitor's order; the angles of
// positions and elements are written with `angleForm`.
TMonitorTable OrbitRows(const TSolarSystem& scene, const TOrbitalObject& o, TMonitorLayout layout,
                        int angleForm, const QString& pt) {
  const Extended jd = DateToJD(scene.SceneDate());
  const TVector v = VecSub(o.Pos, scene.CenterPos());
  const TOrbitalElements& el = o.Elements;
  const std::vector<QString> c = MonitorCaptions(layout);
  TMonitorTable t{layout, {}};
  auto row = [&](QString value) {
    const size_t i = t.Rows.size();
    t.Rows.push_back({c[i], std::move(value)});
  };
  row(FixedText(v.x, 12, 6, pt));
  row(FixedText(v.y, 12, 6, pt));
  row(FixedText(v.z, 12, 6, pt));
  row(Angle(Norm2Pi(o.SphPos().Lon), angleForm));
  row(Angle(NormPi(o.SphPos().Lat), angleForm));
  t.Rows.push_back(Distance(VecLength(o.Pos), "heliocentric distance", pt));
  t.Rows.push_back(Distance(scene.DistanceFromCenter(o.Pos), "distance from centered object", pt));
  row(FixedText(VecLength(KeplerVelocity(el, jd)) * kVelocityFactor, 10, 2, pt));
  // An open orbit has neither (its SemiMajorAxis field holds the perihelion distance).
  const bool open = IsOpenOrbit(el);
  row(open ? QStringLiteral("-") : FixedText(el.SemiMajorAxis, 10, 4, pt));
  row(open ? QStringLiteral("-") : PeriodText(360 / el.DailyMotion));
  row(FixedText(el.Eccentricity, 10, 4, pt));
  row(Angle(DegToRad(el.Inclination), angleForm));
  row(Angle(DegToRad(el.Node), angleForm));
  row(Angle(DegToRad(el.PerihelionLongitude), angleForm));
  row(Elongation(scene, o.Pos));
  return t;
}

TMonitorTable PlanetRows(const TSolarSystem& scene, const TPlanet& p, const QString& pt) {
  const Extended jd = DateToJD(scene.SceneDate());
  const Extended r = VecLength(p.Pos);

  // The pole comes on the mean equator of jd; the ecliptic of jd turns it.
  const TRectSph pole = PlanetPoleOfDate(p.Id, jd);
  const TSpherical poleEcl = EquToEclSph(pole.Sph, MeanObliquity(jd));

  TMonitorTable t = OrbitRows(scene, p, TMonitorLayout::Planet, 1, pt);
  const std::vector<QString> c = MonitorCaptions(TMonitorLayout::Planet);
  auto row = [&](QString value) {
    const size_t i = t.Rows.size();
    t.Rows.push_back({c[i], std::move(value)});
  };
  row(Angle(Norm2Pi(poleEcl.Lon), 0));
  row(Angle(poleEcl.Lat, 0));
  row(ExponentText(p.Mass, 4, 2, pt));
  row(FixedText(p.Diameter * kKmPerAUMonitor, 6, 0, pt));
  row(FixedText(kSolarConstant / (r * r), 10, 2, pt));
  return t;
}

TMonitorTable SatelliteRows(const TSatellite& s, const QString& pt) {
  std::vector<QString> c = MonitorCaptions(TMonitorLayout::Satellite);
  if (s.Id == kPhoebeId) {
    c[5] = QStringLiteral("mean orbital period (retrograde)");
    c[7] = QStringLiteral("mean orbital inclination to ecliptic");
  }
  const QString values[] = {
      FixedText(s.Pos.x * kKmPerAUMonitor, 10, 0, pt),
      FixedText(s.Pos.y * kKmPerAUMonitor, 10, 0, pt),
      FixedText(s.Pos.z * kKmPerAUMonitor, 10, 0, pt),
      FixedText(s.PlanetDistance() * kKmPerAUMonitor, 9, 0, pt),
      FixedText(s.SemiMajorAxis, 10, 0, pt),
      PeriodText(s.Period),
      FixedText(s.Eccentricity, 10, 3, pt),
      Angle(DegToRad(s.Inclination), 0),
      ExponentText(s.Mass, 4, 2, pt),
      FixedText(s.Diameter, 10, 0, pt),
  };
  TMonitorTable t{TMonitorLayout::Satellite, {}};
  for (size_t i = 0; i < c.size(); ++i) t.Rows.push_back({c[i], values[i]});
  return t;
}

TMonitorTable MoonRows(const TEarthMoon& m, const QString& pt) {
  const std::vector<QString> c = MonitorCaptions(TMonitorLayout::Moon);
  const QString values[] = {
      FixedText(m.Pos.x * kKmPerAUMonitor, 10, 0, pt),
      FixedText(m.Pos.y * kKmPerAUMonitor, 10, 0, pt),
      FixedText(m.Pos.z * kKmPerAUMonitor, 10, 0, pt),
      Angle(Norm2Pi(m.SphPos().Lon), 1),
      Angle(NormPi(m.SphPos().Lat), 1),
      FixedText(m.PlanetDistance() * kKmPerAUMonitor, 9, 0, pt),
      FixedText(m.SemiMajorAxis, 10, 0, pt),
      PeriodText(m.Period),
      FixedText(m.Eccentricity, 10, 3, pt),
      Angle(DegToRad(m.Inclination), 1),
      Angle(DegToRad(m.NodeLongitude), 1),
      Angle(DegToRad(m.PerigeeLongitude), 1),
      ExponentText(m.Mass, 4, 2, pt),
      FixedText(m.Diameter, 10, 0, pt),
  };
  TMonitorTable t{TMonitorLayout::Moon, {}};
  for (size_t i = 0; i < c.size(); ++i) t.Rows.push_back({c[i], values[i]});
  return t;
}

TMonitorTable MinorBodyRows(const TSolarSystem& scene, const TAsteroid& a, const QString& pt) {
  TMonitorTable t = OrbitRows(scene, a, TMonitorLayout::MinorBody, 0, pt);
  const Extended r = VecLength(a.Pos);
  t.Rows.push_back({MonitorCaptions(TMonitorLayout::MinorBody)[t.Rows.size()],
                    FixedText(kSolarConstant / (r * r), 10, 2, pt)});
  return t;
}

}  // namespace

TAstronomialObject* MonitorEntryBody(const TSolarSystem& scene, int entry) {
  if (entry >= kMonitorFixedEntries) {
    const TOEObjectList& bodies = scene.AsteroidsList();
    const int i = entry - kMonitorFixedEntries;
    if (i < bodies.Count()) return bodies.Items()[size_t(i)].get();
    return PlanetAt(scene, kEarth);
  }
  if (entry < 0) entry = kMonitorEarthEntry;
  return FixedEntryBody(scene, kMonitorEntries[size_t(entry)].Id);
}

bool SceneHoldsBody(const TSolarSystem& scene, const TAstronomialObject* body) {
  if (!body) return false;
  for (const auto& item : scene.PlanetsList().Items()) {
    if (item.get() == body) return true;
    if (const auto* planet = dynamic_cast<const TPlanet*>(item.get())) {
      for (const auto& sat : planet->Satellites.Items()) {
        if (sat.get() == body) return true;
      }
    }
  }
  for (const auto& item : scene.AsteroidsList().Items()) {
    if (item.get() == body) return true;
  }
  return false;
}

TMonitorLayoutSize MonitorLayoutSize(TMonitorLayout layout) {
  switch (layout) {
    case TMonitorLayout::Planet:
      return {20, 393};
    case TMonitorLayout::Satellite:
      return {10, 223};
    case TMonitorLayout::Moon:
      return {14, 291};
    case TMonitorLayout::MinorBody:
      return {16, 325};
  }
  return {20, 393};
}

std::vector<QString> MonitorCaptions(TMonitorLayout layout) {
  static const std::vector<QString> kPlanet = {
      "ecliptical pos. x [AU]",
      "ecliptical pos. y [AU]",
      "ecliptical pos. z [AU]",
      "ecliptical heliocentric longitude",
      "ecliptical heliocentric latitude",
      "heliocentric distance [AU]",
      "distance from centered object [AU]",
      "orbital velocity [km/s]",
      "mean semi major axis [AU]",
      "mean orbital period",
      "mean eccentricity of orbit",
      "mean orbital inclination",
      "mean longitude of asc. node",
      "mean longitude of perihelion",
      "elongation from sun (for centered obj.)",
      "ecliptical longitude of north pole",
      "ecliptical latitude of north pole",
      "mass [kg]",
      "diameter [km]",
      "solar flux [W/m^2]",
  };
  static const std::vector<QString> kSatellite = {
      "ecliptical pos. x (planetocen.) [km]",
      "ecliptical pos. y (planetocen.) [km]",
      "ecliptical pos. z (planetocen.) [km]",
      "planetocentric distance [km]",
      "mean semi major axis [km]",
      "mean orbital period",
      "mean eccentricity of orbit",
      "mean orbital inclination to planetary equ.",
      "mass [kg]",
      "diameter [km]",
  };
  static const std::vector<QString> kMoon = {
      "ecliptical geocentric pos. x [km]",
      "ecliptical geocentric pos. y [km]",
      "ecliptical geocentric pos. z [km]",
      "ecliptical geocentric longitude",
      "ecliptical geocentric latitude",
      "geocentric distance [km]",
      "mean semi major axis [km]",
      "mean orbital period",
      "mean eccentricity of orbit",
      "mean orbital inclination to ecliptic",
      "mean longitude of asc. node",
      "mean longitude of perigee",
      "mass [kg]",
      "diameter [km]",
  };
  static const std::vector<QString> kMinorBody = {
      "ecliptical heliocentric pos. x [AU]",
      "ecliptical heliocentric pos. y [AU]",
      "ecliptical heliocentric pos. z [AU]",
      "ecliptical heliocentric longitude",
      "ecliptical heliocentric latitude",
      "heliocentric distance [AU]",
      "distance from centered object [AU]",
      "orbital velocity [km/s]",
      "semi major axis [AU]",
      "orbital period",
      "eccentricity of orbit",
      "orbital inclination",
      "longitude of asc. node",
      "longitude of perihelion",
      "elongation from sun (for centered obj.)",
      "solar flux [W/m^2]",
  };
  switch (layout) {
    case TMonitorLayout::Satellite:
      return kSatellite;
    case TMonitorLayout::Moon:
      return kMoon;
    case TMonitorLayout::MinorBody:
      return kMinorBody;
    case TMonitorLayout::Planet:
      break;
  }
  return kPlanet;
}

std::optional<TMonitorTable> MonitorValues(const TSolarSystem& scene,
                                           const TAstronomialObject& body,
                                           const QString& decimalPoint) {
  if (const auto* planet = dynamic_cast<const TPlanet*>(&body)) {
    return PlanetRows(scene, *planet, decimalPoint);
  }
  if (const auto* moon = dynamic_cast<const TEarthMoon*>(&body)) {
    return MoonRows(*moon, decimalPoint);
  }
  if (const auto* satellite = dynamic_cast<const TSatellite*>(&body)) {
    return SatelliteRows(*satellite, decimalPoint);
  }
  if (const auto* minor = dynamic_cast<const TAsteroid*>(&body)) {
    return MinorBodyRows(scene, *minor, decimalPoint);
  }
  return std::nullopt;
}

QString FixedText(Extended x, int precision, int digits, const QString& decimalPoint) {
  if (std::isnan(x)) return QStringLiteral("NAN");
  if (std::isinf(x)) return x > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
  // The significant digits first: they tell how many digits stand before the separator and
  // how many decimals they leave.
  const std::string significant = Printed("%.*LE", precision - 1, std::fabs(x));
  const int exponent = std::stoi(significant.substr(significant.find('E') + 1));
  const int whole = x == 0 ? 1 : exponent + 1;
  if (whole > precision) return WithPoint(GeneralScientific(x, precision), decimalPoint);

  std::string text;
  if (digits <= precision - whole) {
    // The decimals lie within the significant digits: one rounding to `digits` decimals.
    text = Printed("%.*Lf", digits, std::fabs(x));
  } else {
    // Fewer significant digits than decimals: the digits beyond them are zeros.
    std::string mantissa = significant.substr(0, significant.find('E'));
    mantissa.erase(1, 1);  // the separator after the first digit
    std::string intPart;
    std::string fraction;
    if (whole > 0) {
      intPart = mantissa.substr(0, size_t(whole));
      fraction = mantissa.substr(size_t(whole));
    } else {
      intPart = "0";
      fraction = std::string(size_t(-whole), '0') + mantissa;
    }
    fraction.resize(size_t(digits), '0');
    text = digits > 0 ? intPart + "." + fraction : intPart;
  }
  // Rounding may add a digit before the separator (9.9999 to 10.000).
  const size_t point = text.find('.');
  if (int(point == std::string::npos ? text.size() : point) > precision) {
    return WithPoint(GeneralScientific(x, precision), decimalPoint);
  }
  if (x < 0 && !AllZeroDigits(text)) text.insert(0, 1, '-');
  return WithPoint(text, decimalPoint);
}

QString ExponentText(Extended x, int precision, int exponentDigits, const QString& decimalPoint) {
  if (std::isnan(x)) return QStringLiteral("NAN");
  if (std::isinf(x)) return x > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
  std::string s = Printed("%.*LE", precision - 1, x);
  // printf writes at least two exponent digits; pad further or drop zeros down to the asked
  // minimum.
  const size_t sign = s.find('E') + 1;
  std::string exp = s.substr(sign + 1);
  while (exp.size() > size_t(std::max(exponentDigits, 1)) && exp.front() == '0') exp.erase(0, 1);
  while (exp.size() < size_t(exponentDigits)) exp.insert(0, 1, '0');
  s = s.substr(0, sign + 1) + exp;
  return WithPoint(s, decimalPoint);
}

QString PeriodText(Extended days) {
  if (!(days >= 0 && days <= 1e15L)) return QStringLiteral("-");
  const auto years = static_cast<int64_t>(Int(days / kDaysPerYear));
  const TSplitDays rest = SplitDays(days - years * kDaysPerYear);
  QString text = QStringLiteral("%1 d %2 h").arg(rest.Days).arg(rest.Hours);
  if (years > 0) text.prepend(QStringLiteral("%1 y ").arg(years));
  return text;
}

std::optional<TMonitorShowTarget> MonitorShowTarget(const TAstronomialObject& body) {
  if (const auto* planet = dynamic_cast<const TPlanet*>(&body)) {
    return TMonitorShowTarget{kSunIndex, 1.2L * planet->Elements.SemiMajorAxis};
  }
  if (const auto* minor = dynamic_cast<const TAsteroid*>(&body)) {
    return TMonitorShowTarget{kSunIndex, 1.4L * VecLength(minor->Pos)};
  }
  if (const auto* satellite = dynamic_cast<const TSatellite*>(&body)) {
    if (!satellite->Planet) return std::nullopt;
    return TMonitorShowTarget{satellite->Planet->Id,
                              satellite->SemiMajorAxis * 1200 / kMetresPerAU};
  }
  return std::nullopt;
}

}  // namespace kestrova
