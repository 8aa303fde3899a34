// The bodies of the model: planets, minor bodies and satellites, each computing its own
// position (and most of them a ring of orbit samples) for a Julian date.
//
// Positions are ecliptic rectangular vectors in AU. Bodies described by elements are
// heliocentric; satellites are planetocentric, and whoever draws them adds the planet's Pos.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "ephemerides/kepler_orbits.h"
#include "ephemerides/precession.h"
#include "model/object_lists.h"
#include "numerics/extended.h"
#include "numerics/matrices.h"

namespace kestrova {

// Id values with a meaning of their own (planets are 0..8, see TPlanetNumber).
inline constexpr int32_t kMinorBodyId = 11;
inline constexpr int32_t kPlainSatelliteId = 12;
inline constexpr int32_t kMoonId = 13;
// The document readers' scratch object.
inline constexpr int32_t kScratchId = -1;

inline constexpr int kOrbitSampleCount = 360;
inline constexpr Extended kKmPerAU = 149597870.0L;

// The root of every body. Pos and SphPos are zero until the first Calculate.
class TAstronomialObject {
 public:
  TAstronomialObject(std::string name, TColor color, int32_t id);
  virtual ~TAstronomialObject() = default;
  TAstronomialObject(const TAstronomialObject&) = delete;
  TAstronomialObject& operator=(const TAstronomialObject&) = delete;

  // Position (and orbit samples, where the class keeps them) for the Julian date jd (UT).
  virtual void Calculate(Extended jd) = 0;

  // The fields a paint reads for every body come first, so that a crowd of a million minor
  // bodies costs one or two cache lines each.
  TColor Color;
  bool Visible = true;
  int32_t Id;
  TVector Pos;
  // Kept by bodies with elements and by the Moon; (0, 0, 0) for the other satellites.
  TSpherical SphPos;
  std::string Name;
};

// A body on a Keplerian orbit around the Sun, without orbit samples. The "all objects" list
// and the readers' scratch object hold these.
class TOEObject : public TAstronomialObject {
 public:
  TOEObject(std::string name, const TOrbitalElements& elements, TColor color, int32_t id);
  // Pos and SphPos on the Keplerian orbit, in the frame of Elements.
  void Calculate(Extended jd) override;

  TOrbitalElements Elements;
};

// A body on a Keplerian orbit with 360 samples along one revolution.
class TOrbitalObject : public TOEObject {
 public:
  using TOEObject::TOEObject;
  // Pos as TOEObject, then OrbitPoints[k] at jd + k P / 359 for k = 1..360, P = 360 /
  // DailyMotion days. When P is not a finite number (DailyMotion 0), the orbit has no extent
  // in time: every sample is the position at jd, so the orbit collapses onto the body.
  void Calculate(Extended jd) override;

  // Sample k, 1..360.
  const TVector& GetOrbitPoint(int k) const { return OrbitPoints[k - 1]; }

  std::array<TVector, kOrbitSampleCount> OrbitPoints{};
};

class TPlanet : public TOrbitalObject {
 public:
  // Planet 0..8 with its mean elements of 1 January 2000 0h and its physical data.
  TPlanet(int32_t id, TColor color);

  // Mean elements of jd (mean ecliptic and equinox of jd), their Kepler position and
  // samples; then the planet theory's position replaces Pos (except for Pluto, which stays
  // on its Keplerian orbit); then every satellite, in list order, each after the date computed
  // before it: jd for the first, the last orbit sample of the one before for the others.
  void Calculate(Extended jd) override;

  // The satellite with this Id (the last one if several), or nullptr.
  TSatellite* FindSatellite(int32_t id) const;
  void SetSatellitesColor(TColor color);

  Extended Eccentricity() const { return Elements.Eccentricity; }
  Extended SemiMajorAxis() const { return Elements.SemiMajorAxis; }
  Extended Inclination() const { return Elements.Inclination; }
  // Venus, Uranus and Pluto turn backwards.
  bool RotationRetrograde() const;

  Extended Mass;      // kg
  Extended Diameter;  // equatorial, AU
  Extended Period;    // days, 360 / DailyMotion of the current Elements
  TSatelliteList Satellites;
};

// A minor body (asteroid or comet) picked from the data files.
class TAsteroid : public TOrbitalObject {
 public:
  TAsteroid(std::string name, const TOrbitalElements& elements, TColor color);
};

// A satellite, positioned relative to its planet.
class TSatellite : public TAstronomialObject {
 public:
  // Id 12, no code, no data; Planet is borrowed and must outlive the satellite.
  TSatellite(std::string name, TPlanet* planet, TColor color);

  // Pos and OrbitPoints for jd, as the first satellite of a planet is computed.
  void Calculate(Extended jd) final { CalculateAfter(jd, jd); }
  // Pos and OrbitPoints for jd, computed after the date `before`. The theories of Jupiter's and
  // Saturn's satellites turn their ecliptic of 1950 with the mean obliquity of the date
  // computed before: `before` for Pos, and the previous sample's date for each orbit sample.
  virtual void CalculateAfter(Extended jd, Extended before) = 0;
  // The date of sample 360 for jd: jd plus 360 steps of Period / 359.
  Extended LastSampleDate(Extended jd) const;

  // Sample k, 1..360 (planetocentric).
  const TVector& GetOrbitPoint(int k) const { return OrbitPoints[k - 1]; }
  // Distance from the planet, AU.
  Extended PlanetDistance() const;

  std::array<TVector, kOrbitSampleCount> OrbitPoints{};
  Extended Period = 0;         // sidereal, days
  TPlanet* Planet;             // not owned
  Extended Diameter = 0;       // km
  Extended Mass = 0;           // kg
  Extended SemiMajorAxis = 0;  // km
  Extended Eccentricity = 0;
  Extended Inclination = 0;  // degrees
  std::string Code;

 protected:
  using TTheory = void (*)(int32_t id, Extended jd, const TObliquity& eps1950, TVector& v);
  // Pos and OrbitPoints from a theory that gives planetocentric positions on the ecliptic and
  // equinox of 1 January 2000 0h, carried to the ecliptic and equinox of each date.
  void CalculateFromTheory(TTheory theory, Extended jd, Extended before);
  // Name, code and data of the satellite table row for Id; the mass scaled by planetMass.
  void TakeTableData(Extended planetMass);
};

class TEarthMoon : public TSatellite {
 public:
  TEarthMoon(TColor color, TPlanet* planet);
  // Geocentric position on the ecliptic of the date (with nutation), samples over Period,
  // and the elements of the mean lunar orbit of jd. The Moon depends on no date before.
  void CalculateAfter(Extended jd, Extended before) override;

  Extended NodeLongitude = 0;     // degrees, 0..360
  Extended PerigeeLongitude = 0;  // degrees, 0..360
};

class TJupiterMoon : public TSatellite {
 public:
  TJupiterMoon(int32_t id, TPlanet* planet, TColor color);
  void CalculateAfter(Extended jd, Extended before) override;
};

class TSaturnMoon : public TSatellite {
 public:
  TSaturnMoon(int32_t id, TPlanet* planet, TColor color);
  void CalculateAfter(Extended jd, Extended before) override;
};

class TUranusMoon : public TSatellite {
 public:
  TUranusMoon(int32_t id, TPlanet* planet, TColor color);
  // The Uranian theory is equatorial from the start and depends on no date before.
  void CalculateAfter(Extended jd, Extended before) override;
};

// Gives the planet the satellites the scene shows, in the scene's order and in `color`: the
// Moon to the Earth, 140..143 to Jupiter, 156..167 to Saturn, 170..174 to Uranus; none to
// the others.
void AddStandardSatellites(TPlanet& planet, TColor color);

}  // namespace kestrova
