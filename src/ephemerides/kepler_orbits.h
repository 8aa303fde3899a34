// Two-body Kepler orbits, the planets' mean elements, rotation poles and apsis passage dates.
#pragma once

#include <cstdint>

#include "numerics/extended.h"
#include "numerics/matrices.h"

namespace kestrova {

// Osculating or mean elements of an orbit around the Sun. The frame is that of whoever filled
// the record; positions come out in the same frame.
struct TOrbitalElements {
  Extended Epoch = 0;                // Julian date at which MeanLongitude holds
  Extended Inclination = 0;          // degrees
  Extended Node = 0;                 // longitude of the ascending node, degrees
  Extended PerihelionLongitude = 0;  // node plus argument of perihelion, degrees
  Extended SemiMajorAxis = 0;        // AU
  Extended DailyMotion = 0;          // degrees per day
  Extended Eccentricity = 0;         // 0 to below 1
  Extended MeanLongitude = 0;        // degrees, perihelion longitude plus mean anomaly
  friend bool operator==(const TOrbitalElements&, const TOrbitalElements&) = default;
};

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

// Why elements cannot be a closed orbit around the Sun ("e >= 1", "a <= 0", a value that is
// no finite number), or nullptr when they can. Hand-edited or damaged data files and documents
// hold such elements; a body made from them would have no position at all.
const char* ClosedOrbitProblem(const TOrbitalElements& el);

// Heliocentric position (AU) at jd.
TVector KeplerPosition(const TOrbitalElements& el, Extended jd);

// One orbit prepared for many positions: what does not depend on the date is worked out once.
// Position(jd) gives exactly KeplerPosition(elements, jd).
class TKeplerOrbit {
 public:
  explicit TKeplerOrbit(const TOrbitalElements& el);
  TVector Position(Extended jd) const;

 private:
  Extended epoch_, meanLon_, peri_, node_, n_, e_;
  Extended p_;              // a (1 - e^2)
  Extended anomalyFactor_;  // sqrt((1 + e) / (1 - e))
  Extended sinNode_, cosNode_, sinI_, cosI_;
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

// Heliocentric velocity (AU per day) at jd.
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
