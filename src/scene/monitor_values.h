// The monitor's table without its window: which body each entry of the object box stands for,
// the caption and value texts of one body's rows, and where "Show" centres and zooms.
//
// Texts are QStrings: the decimal separator is the caller's (the window takes its user's
// locale), everything else is fixed.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "numerics/extended.h"

namespace kestrova {

class TAstronomialObject;
class TSolarSystem;

// ---- The object box -----------------------------------------------------------------------

struct TMonitorEntry {
  const char* Text;
  // Satellites stand one step in.
  int Indent;
  // The body's Id: 0..8 a planet, 13 the Moon, 140.. the satellites of the outer planets.
  int32_t Id;
};

inline constexpr int kMonitorFixedEntries = 28;
// "Earth": where the box falls back when a name is not found.
inline constexpr int kMonitorEarthEntry = 2;
extern const std::array<TMonitorEntry, kMonitorFixedEntries> kMonitorEntries;

// The body that entry `entry` of the box stands for: 0..27 the fixed entries, from 28 on body
// entry - 28 of AsteroidsList, or the Earth when the list is shorter. Nullptr only when the
// scene lacks the body (a damaged document may leave fewer planets).
TAstronomialObject* MonitorEntryBody(const TSolarSystem& scene, int entry);

// Whether `body` is still one of the scene's bodies (a planet, a satellite of one, or a picked
// minor body). Compares addresses only, so a body that has been freed may be asked about.
bool SceneHoldsBody(const TSolarSystem& scene, const TAstronomialObject* body);

// ---- Row layouts --------------------------------------------------------------------------

enum class TMonitorLayout : uint8_t { Planet = 0, Satellite = 1, Moon = 2, MinorBody = 3 };

struct TMonitorLayoutSize {
  int Rows;
  // The window's outer height in pixels with a tool window's frame of 22 pixels (title bar and
  // borders); the client area is 22 pixels lower.
  int WindowHeight;
};
TMonitorLayoutSize MonitorLayoutSize(TMonitorLayout layout);

// The captions of column 0 as the layout starts them. A body's values may change a few of them
// (the unit of a distance, Phoebe's retrograde orbit).
std::vector<QString> MonitorCaptions(TMonitorLayout layout);

struct TMonitorRow {
  QString Caption;
  QString Value;
  friend bool operator==(const TMonitorRow&, const TMonitorRow&) = default;
};

struct TMonitorTable {
  TMonitorLayout Layout = TMonitorLayout::Planet;
  std::vector<TMonitorRow> Rows;
};

// The rows of `body` as the scene stands: a TPlanet, a TSatellite (the Moon has rows of its
// own) or a TAsteroid. Nothing for any other class. The pole rows of a planet leave the
// obliquity of the scene's date in the obliquity cache.
std::optional<TMonitorTable> MonitorValues(const TSolarSystem& scene,
                                           const TAstronomialObject& body,
                                           const QString& decimalPoint);

// ---- Number and period texts --------------------------------------------------------------

// Fixed-point text with `digits` decimals, rounded to at most `precision` significant digits
// (the further decimals are zeros). A value with more than `precision` digits before the
// separator is written in scientific notation instead: at most `precision` significant digits
// without trailing zeros, "E", the exponent's sign and at least two digits. A value that
// rounds to zero has no minus sign; no number gives "NAN", "INF" or "-INF".
QString FixedText(Extended x, int precision, int digits, const QString& decimalPoint);
// Scientific text with `precision` significant digits and at least `exponentDigits` digits in
// the exponent after its sign: ExponentText(5.9742e24, 4, 2, ".") is "5.974E+24".
QString ExponentText(Extended x, int precision, int exponentDigits, const QString& decimalPoint);
// A period in days as whole years (of 365.25 days), days and hours: "27 d 7 h",
// "11 y 314 d 20 h"; the year part only from one year on. A period that is no finite number
// of days from 0 up to 1e15 (a body without motion, damaged elements) gives "-".
QString PeriodText(Extended days);

// ---- "Show" -------------------------------------------------------------------------------

struct TMonitorShowTarget {
  // 0..8 a planet, 9 the Sun.
  int32_t CenterObject;
  // Half the width of the shown area, AU.
  Extended Dim;
};
// A planet: the Sun and 1.2 mean semi-major axes; a minor body: the Sun and 1.4 times its
// distance from the Sun; a satellite (the Moon too): its planet and 1.2 semi-major axes.
// Nothing for any other class.
std::optional<TMonitorShowTarget> MonitorShowTarget(const TAstronomialObject& body);

}  // namespace kestrova
