// Two-body Kepler orbits, the planets' mean elements, rotation poles and apsis passage dates.
#pragma once

#include <cstdint>

#include "numerics/extended.h"
#include "numerics/matrices.h"

namespace kestrova {

// Osculating or mean elements of an orbit around the Sun. The frame is that of whoever filled
// the record; positions come out in the same frame.
//
// Open orbits (e >= 1: parabolic and hyperbolic comets) have no semi-major axis and no period,
// and a parabola's axis would be infinite. They keep the same eight fields, read differently:
// SemiMajorAxis holds the perihelion distance q (AU, positive), DailyMotion the motion
// k / q^1.5 (degrees per day, k Gauss's constant in degrees per day), and MeanLongitude less
// PerihelionLongitude the "mean anomaly" DailyMotion (Epoch - T) for the perihelion date T,
// which is not reduced to a turn (it never repeats) and is negative before perihelion. So the
// data files' A column holds q and their M column this anomaly on rows with E >= 1, documents
// store the fields as they are, and readers that take e >= 1 for damage (older versions) pass
// such bodies over rather than misplace them.
struct TOrbitalElements {
  Extended Epoch = 0;                // Julian date at which MeanLongitude holds
  Extended Inclination = 0;          // degrees
  Extended Node = 0;                 // longitude of the ascending node, degrees
  Extended PerihelionLongitude = 0;  // node plus argument of perihelion, degrees
  Extended SemiMajorAxis = 0;        // AU; perihelion distance q when e >= 1
  Extended DailyMotion = 0;          // degrees per day; k / q^1.5 when e >= 1
  Extended Eccentricity = 0;         // 0 and up; 1 and more is an open orbit
  Extended MeanLongitude = 0;        // degrees, perihelion longitude plus mean anomaly
  friend bool operator==(const TOrbitalElements&, const TOrbitalElements&) = default;
};

// Whether elements describe a parabola or hyperbola (read as said at TOrbitalElements).
inline bool IsOpenOrbit(const TOrbitalElements& el) {
  return el.Eccentricity >= 1;
}

// The size, motion and mean anomaly (degrees, at `epoch`) of an orbit given by its perihelion
// distance q (AU), eccentricity e and perihelion date (Julian date), with Gauss's constant
// `gauss` in degrees per day: for e < 1 a = q / (1 - e), k / a^1.5 and the anomaly reduced to
// -180..180; for e >= 1 the fields as TOrbitalElements reads them for open orbits.
struct TPerihelionForm {
  Extended SemiMajorAxis, DailyMotion, MeanAnomaly;
};
TPerihelionForm FromPerihelion(Extended q, Extended e, Extended perihelionJD, Extended epoch,
                               Extended gauss);

// Elements in double precision, for what is only drawn (the satellites' orbit rings): the
// fields of TOrbitalElements.
struct TOrbitalElementsD {
  double Epoch = 0;
  double Inclination = 0;
  double Node = 0;
  double PerihelionLongitude = 0;
  double SemiMajorAxis = 0;
  double DailyMotion = 0;
  double Eccentricity = 0;
  double MeanLongitude = 0;
};

// Planet numbers: 0 Earth, 1 Mercury, 2 Venus, 3 Mars, 4 Jupiter, 5 Saturn, 6 Uranus,
// 7 Neptune, 8 Pluto; the pole operations also take 9, the Sun.
enum TPlanetNumber : int32_t {
  kEarth = 0,
  kMercury,
  kVenus,
  kMars,
  kJupiter,
  kSaturn,
  kUranus,
  kNeptune,
  kPluto,
  kSun
};

// The eccentric anomaly E of Kepler's equation E - e sin E = m (radians, m not reduced) for
// 0 <= e < 1, solved until the last correction is below 1e-15 rad. E - m is worked out on m
// reduced to -pi..pi and added to m, so that E runs on with m over any number of turns.
Extended EccentricAnomaly(Extended m, Extended e);
// The same in double precision, for what is only drawn; m must already lie in -pi..pi.
double EccentricAnomaly(double m, double e);
// m less the nearest whole number of turns, in -pi..pi, as EccentricAnomaly reduces it.
Extended ReduceToOneTurn(Extended m);

// Why elements cannot be an orbit around the Sun ("a <= 0", "e < 0", a value that is no finite
// number), or nullptr when they can. Hand-edited or damaged data files and documents hold such
// elements; a body made from them would have no position at all.
const char* OrbitProblem(const TOrbitalElements& el);

// Points along an open orbit (e >= 1) from where it comes within `reach` AU of the Sun, through
// perihelion, to where it leaves that distance again, into out[0..count), count >= 2; evenly
// spaced in the universal anomaly, which crowds them less at perihelion than equal steps of time
// and less far out than equal steps of true anomaly. Within reach of q or less, every point is
// the perihelion. Drawing only: double precision.
void OpenOrbitArc(const TOrbitalElements& el, Extended reach, int count, TVectorD* out);

// Heliocentric position (AU) at jd.
TVector KeplerPosition(const TOrbitalElements& el, Extended jd);

// One orbit prepared for many positions: what does not depend on the date is worked out once.
// Position(jd) gives exactly KeplerPosition(elements, jd). Open orbits (e >= 1) go through the
// universal anomaly, which serves parabola and hyperbola alike and passes smoothly through
// e = 1.
class TKeplerOrbit {
 public:
  explicit TKeplerOrbit(const TOrbitalElements& el);
  TVector Position(Extended jd) const;

 private:
  Extended epoch_, meanLon_, peri_, node_, n_, e_;
  Extended p_;              // a (1 - e^2)
  Extended anomalyFactor_;  // sqrt((1 + e) / (1 - e))
  Extended sinNode_, cosNode_, sinI_, cosI_;
  bool open_;
  TVector toPerihelion_, ahead_;  // q P and q Q: perihelion and 90 degrees on, for open orbits
};
TRectSph KeplerPositionSph(const TOrbitalElements& el, Extended jd);

// One orbit prepared for drawing many positions in double precision. The mean anomaly is still
// formed and reduced to one turn in Extended, so that dates far from the epoch and orbits close
// to perihelion keep their digits; the rest is double, from the eccentric anomaly straight to
// the position (x = a (cos E - e), y = b sin E along the axes of the orbit). Position(jd)
// agrees with KeplerPosition(elements, jd) to about 1e-15 of the distance.
class TDrawnKeplerOrbit {
 public:
  explicit TDrawnKeplerOrbit(const TOrbitalElements& el);
  TVectorD Position(Extended jd) const;
  // Positions at jd + k step for k = 1..count into out[0..count): a ring of samples. Each
  // solution of Kepler's equation starts from the one before, carried on by the change of the
  // mean anomaly, and takes one or two of Newton's steps (the full solution where they do not
  // settle).
  void Ring(Extended jd, Extended step, int count, TVectorD* out) const;

 private:
  Extended epoch_, meanLon_, peri_, n_;  // radians, radians per day
  double e_, a_, b_;                     // b = a sqrt(1 - e^2)
  TVectorD p_, q_;                       // unit vectors to perihelion and 90 degrees on
};
// The position at the epoch of elements in double precision (the satellites' records have
// their epoch at the date), in double precision.
TVectorD DrawnKeplerPositionAtEpoch(const TOrbitalElementsD& el);

// Heliocentric velocity (AU per day) at jd, of closed and open orbits.
TVector KeplerVelocity(const TOrbitalElements& el, Extended jd);

// Mean elements of planet 0..8 at jd; frame 0 the mean ecliptic and equinox of the date,
// frame 1 those of J2000.0. Pluto has fixed elements in both frames. Any other planet number
// gives all-zero elements.
TOrbitalElements MeanPlanetElements(int32_t planet, int32_t frame, Extended jd);

// North rotation pole of body 0..9 on the equator and equinox of J2000.0 (unit vector; right
// ascension 0..2pi, declination -pi..pi).
TRectSph PlanetPole(int32_t body, Extended jd);
// The pole carried to the mean equator and equinox of jd.
TRectSph PlanetPoleOfDate(int32_t body, Extended jd);

// Julian dates of an aphelion and a perihelion passage of planet 0..7 for the epoch jd;
// -1 where no date is available.
Extended AphelionDate(int32_t planet, Extended jd);
Extended PerihelionDate(int32_t planet, Extended jd);

}  // namespace kestrova
