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
  // on its Keplerian orbit); then every satellite, in list order.
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
  using TTheory = void (*)(int32_t id, Extended jd, TVector& v);
  // Pos and OrbitPoints from a theory that gives planetocentric positions on the ecliptic and
  // equinox of 1 January 2000 0h, carried to the ecliptic and equinox of each date.
  void CalculateFromTheory(TTheory theory, Extended jd);
  // Name, code and data of the satellite table row for Id; the mass scaled by planetMass.
  void TakeTableData(Extended planetMass);
};

class TEarthMoon : public TSatellite {
 public:
  TEarthMoon(TColor color, TPlanet* planet);
  // Geocentric position on the ecliptic of the date (with nutation), samples over Period,
  // and the elements of the mean lunar orbit of jd.
  void Calculate(Extended jd) override;

  Extended NodeLongitude = 0;     // degrees, 0..360
  Extended PerigeeLongitude = 0;  // degrees, 0..360
};

class TJupiterMoon : public TSatellite {
 public:
  TJupiterMoon(int32_t id, TPlanet* planet, TColor color);
  void Calculate(Extended jd) override;
};

class TSaturnMoon : public TSatellite {
 public:
  TSaturnMoon(int32_t id, TPlanet* planet, TColor color);
  void Calculate(Extended jd) override;
};

class TUranusMoon : public TSatellite {
 public:
  TUranusMoon(int32_t id, TPlanet* planet, TColor color);
  void Calculate(Extended jd) override;
};

}  // namespace kestrova
