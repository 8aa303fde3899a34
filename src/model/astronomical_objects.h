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

// One revolution of an orbit in 360 samples. Rings are only drawn: double precision.
using TOrbitRing = std::array<TVectorD, kOrbitSampleCount>;

// The ring of a body for the date of its last Calculate, worked out when something first asks
// for it (a picture that draws the orbit) and kept until the next Calculate. Its memory is
// taken on first use and kept for the next date. Not for sharing between threads.
class TRingCache {
 public:
  // The ring, filled by fill(ring) first when it is out of date.
  template <class Fill>
  const TOrbitRing& Get(Fill&& fill) const {
    if (!valid_) {
      if (!ring_) ring_ = std::make_unique<TOrbitRing>();
      fill(*ring_);
      valid_ = true;
    }
    return *ring_;
  }
  void Invalidate() { valid_ = false; }
  // Fixed samples in place of computed ones, until the next Invalidate.
  void Set(const TOrbitRing& ring) {
    if (!ring_) ring_ = std::make_unique<TOrbitRing>();
    *ring_ = ring;
    valid_ = true;
  }

 private:
  mutable std::unique_ptr<TOrbitRing> ring_;
  mutable bool valid_ = false;
};

// The root of every body. Pos is zero until the first Calculate.
class TAstronomialObject {
 public:
  TAstronomialObject(std::string name, TColor color, int32_t id);
  virtual ~TAstronomialObject() = default;
  TAstronomialObject(const TAstronomialObject&) = delete;
  TAstronomialObject& operator=(const TAstronomialObject&) = delete;

  // Position for the Julian date jd (UT). Orbit samples, where the class keeps them, follow
  // when first asked for.
  virtual void Calculate(Extended jd) = 0;

  // Pos as longitude, latitude (radians) and distance, formed when asked for: kept by bodies
  // with elements and by the Moon, (0, 0, 0) for the other satellites and before the first
  // Calculate.
  virtual TSpherical SphPos() const { return {}; }

  // The fields a paint reads for every body come first, so that a crowd of a million minor
  // bodies costs one or two cache lines each.
  TColor Color;
  bool Visible = true;
  int32_t Id;
  TVector Pos;
  std::string Name;
};

// A body on a Keplerian orbit around the Sun, without orbit samples. The "all objects" list
// and the readers' scratch object hold these.
class TOEObject : public TAstronomialObject {
 public:
  TOEObject(std::string name, const TOrbitalElements& elements, TColor color, int32_t id);
  // Pos on the Keplerian orbit, in the frame of Elements.
  void Calculate(Extended jd) override;
  // RectToSph of Pos.
  TSpherical SphPos() const override;

  TOrbitalElements Elements;
};

// A body on a Keplerian orbit with 360 samples along one revolution.
class TOrbitalObject : public TOEObject {
 public:
  using TOEObject::TOEObject;
  // Pos as TOEObject; the samples follow for this date when asked for.
  void Calculate(Extended jd) override;

  // The samples for the date jd of the last Calculate: sample k at jd + k P / 359 for k =
  // 1..360, P = 360 / DailyMotion days, on the orbit of the current Elements. When P is not a
  // finite number (DailyMotion 0), the orbit has no extent in time: every sample is Pos, so
  // the orbit collapses onto the body.
  const TOrbitRing& OrbitPoints() const;
  // Sample k, 1..360.
  TVector GetOrbitPoint(int k) const { return ToVector(OrbitPoints()[k - 1]); }
  // Fixed samples in place of the computed ones until the next Calculate (pictures of tests).
  void SetOrbitPoints(const TOrbitRing& ring) { ring_.Set(ring); }

 private:
  Extended ring_date_ = 0;
  TRingCache ring_;
};

class TPlanet : public TOrbitalObject {
 public:
  // Planet 0..8 with its mean elements of 1 January 2000 0h and its physical data.
  TPlanet(int32_t id, TColor color);

  // Mean elements of jd (mean ecliptic and equinox of jd) and their Kepler position; then the
  // planet theory's position replaces Pos (except for Pluto, which stays on its Keplerian
  // orbit); then every satellite, in list order, each after the date computed before it: jd
  // for the first, the date of the last orbit sample of the one before for the others.
  void Calculate(Extended jd) override;
  // Longitude ArcTan2(y, x), latitude ArcSin(z / r) of the planet theory's position (Pluto's
  // as for any Kepler orbit).
  TSpherical SphPos() const override;

  // The satellite with this Id (the last one if several), or nullptr.
  TSatellite* FindSatellite(int32_t id);
  const TSatellite* FindSatellite(int32_t id) const;
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

  // Pos for jd, as the first satellite of a planet is computed.
  void Calculate(Extended jd) final { CalculateAfter(jd, jd); }
  // Pos for jd, computed after the date `before`: the theories of Jupiter's and Saturn's
  // satellites turn their ecliptic of 1950 with the mean obliquity of the date computed
  // before. The samples follow for jd when asked for.
  void CalculateAfter(Extended jd, Extended before);
  // The date of sample 360 for jd: jd plus 360 steps of Period / 359.
  Extended LastSampleDate(Extended jd) const;

  // Planetocentric samples for the date jd of the last Calculate: sample k at jd + k Period /
  // 359 for k = 1..360.
  const TOrbitRing& OrbitPoints() const;
  // Sample k, 1..360 (planetocentric).
  TVector GetOrbitPoint(int k) const { return ToVector(OrbitPoints()[k - 1]); }
  // Fixed samples in place of the computed ones until the next Calculate (pictures of tests).
  void SetOrbitPoints(const TOrbitRing& ring) { ring_.Set(ring); }
  // Distance from the planet, AU.
  Extended PlanetDistance() const;

  Extended Period = 0;         // sidereal, days
  TPlanet* Planet;             // not owned
  Extended Diameter = 0;       // km
  Extended Mass = 0;           // kg
  Extended SemiMajorAxis = 0;  // km
  Extended Eccentricity = 0;
  Extended Inclination = 0;  // degrees
  std::string Code;

 protected:
  // The planetocentric position on the ecliptic and equinox of t, computed after the date
  // `before`.
  virtual TVector PositionAfter(Extended t, Extended before) const = 0;
  // The samples for the date jd, at the dates jd + k Period / 359 (summed step by step), in
  // double precision: the theory at every sample, its turns to the ecliptic of the sample's
  // date prepared once for the ring.
  virtual void FillOrbitPoints(Extended jd, TOrbitRing& ring) const = 0;
  // Name, code and data of the satellite table row for Id; the mass scaled by planetMass.
  void TakeTableData(Extended planetMass);
  // Work done once per date that the samples share (the Moon's mean orbit).
  virtual void AfterPosition(Extended) {}

 private:
  Extended ring_date_ = 0;
  TRingCache ring_;
};

class TEarthMoon : public TSatellite {
 public:
  TEarthMoon(TColor color, TPlanet* planet);
  // ArcTan2(y, x), ArcSin(z / r).
  TSpherical SphPos() const override;

  Extended NodeLongitude = 0;     // degrees, 0..360
  Extended PerigeeLongitude = 0;  // degrees, 0..360

 protected:
  // Geocentric on the ecliptic of the date, with nutation; the Moon depends on no date before.
  TVector PositionAfter(Extended t, Extended before) const override;
  void FillOrbitPoints(Extended jd, TOrbitRing& ring) const override;
  // The elements of the mean lunar orbit of jd.
  void AfterPosition(Extended jd) override;
};

// Satellites from a theory that gives planetocentric positions on the ecliptic and equinox of
// 1 January 2000 0h, carried to the ecliptic and equinox of each date.
class TJupiterMoon : public TSatellite {
 public:
  TJupiterMoon(int32_t id, TPlanet* planet, TColor color);

 protected:
  TVector PositionAfter(Extended t, Extended before) const override;
  void FillOrbitPoints(Extended jd, TOrbitRing& ring) const override;
};

class TSaturnMoon : public TSatellite {
 public:
  TSaturnMoon(int32_t id, TPlanet* planet, TColor color);

 protected:
  TVector PositionAfter(Extended t, Extended before) const override;
  void FillOrbitPoints(Extended jd, TOrbitRing& ring) const override;
};

class TUranusMoon : public TSatellite {
 public:
  TUranusMoon(int32_t id, TPlanet* planet, TColor color);

 protected:
  // The Uranian theory is equatorial from the start and depends on no date before.
  TVector PositionAfter(Extended t, Extended before) const override;
  void FillOrbitPoints(Extended jd, TOrbitRing& ring) const override;
};

// Gives the planet the satellites the scene shows, in the scene's order and in `color`: the
// Moon to the Earth, 140..143 to Jupiter, 156..167 to Saturn, 170..174 to Uranus; none to
// the others.
void AddStandardSatellites(TPlanet& planet, TColor color);

}  // namespace kestrova
