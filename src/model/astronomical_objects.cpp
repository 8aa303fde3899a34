// Construction and position computation of the bodies.
#include "model/astronomical_objects.h"

#include <cmath>
#include <utility>

#include "ephemerides/moon.h"
#include "ephemerides/planet_positions.h"
#include "ephemerides/precession.h"
#include "ephemerides/satellites.h"
#include "model/body_data_table.h"
#include "numerics/mathematics.h"

namespace kestrova {

namespace {

// The mean elements a planet starts with, before its first Calculate.
constexpr Extended kPlanetStartJD = 2451544.5L;

// The dates of the samples: t := jd, then t := t + step, 360 times. Summing rather than
// multiplying k * step keeps the rounding, and so the orbits drawn, as they always were.
template <class PositionAt>
void Sample(std::array<TVector, kOrbitSampleCount>& points, Extended jd, Extended step,
            PositionAt position) {
  Extended t = jd;
  for (TVector& p : points) {
    t += step;
    p = position(t);
  }
}

}  // namespace

TAstronomialObject::TAstronomialObject(std::string name, TColor color, int32_t id)
    : Color(color), Id(id), Name(std::move(name)) {}

TOEObject::TOEObject(std::string name, const TOrbitalElements& elements, TColor color, int32_t id)
    : TAstronomialObject(std::move(name), color, id), Elements(elements) {}

void TOEObject::Calculate(Extended jd) {
  const TRectSph p = KeplerPositionSph(Elements, jd);
  Pos = p.Rect;
  SphPos = p.Sph;
}

void TOrbitalObject::Calculate(Extended jd) {
  TOEObject::Calculate(jd);
  const Extended step = (360 / Elements.DailyMotion) / 359;
  if (!std::isfinite(step)) {
    // No period (DailyMotion 0, or elements that are no numbers): a Kepler position at an
    // infinite date is not a number, and the drawing must never see one.
    OrbitPoints.fill(Pos);
    return;
  }
  const TKeplerOrbit orbit(Elements);
  Sample(OrbitPoints, jd, step, [&orbit](Extended t) { return orbit.Position(t); });
}

TPlanet::TPlanet(int32_t id, TColor color)
    : TOrbitalObject(id >= 0 && id <= 8 ? kPlanetData[id].Name : "",
                     MeanPlanetElements(id, 0, kPlanetStartJD), color, id),
      Mass(id >= 0 && id <= 8 ? kPlanetData[id].Mass : 0),
      Diameter(id >= 0 && id <= 8 ? kPlanetData[id].DiameterKm / kKmPerAU : 0),
      Period(360 / Elements.DailyMotion) {}

void TPlanet::Calculate(Extended jd) {
  Elements = MeanPlanetElements(Id, 0, jd);
  Period = 360 / Elements.DailyMotion;
  TOrbitalObject::Calculate(jd);
  if (Id != kPluto) {
    const TRectSph p = PlanetPosition(Id, jd);
    Pos = p.Rect;
    SphPos = p.Sph;
  }
  for (int32_t i = 0; i < Satellites.Count(); ++i) Satellites.Get(i).Calculate(jd);
}

TSatellite* TPlanet::FindSatellite(int32_t id) const {
  TSatellite* found = nullptr;
  for (int32_t i = 0; i < Satellites.Count(); ++i) {
    if (Satellites.Get(i).Id == id) found = &Satellites.Get(i);
  }
  return found;
}

void TPlanet::SetSatellitesColor(TColor color) {
  for (int32_t i = 0; i < Satellites.Count(); ++i) Satellites.Get(i).Color = color;
}

bool TPlanet::RotationRetrograde() const {
  return Id >= 0 && Id <= 8 && kPlanetData[Id].Retrograde;
}

TAsteroid::TAsteroid(std::string name, const TOrbitalElements& elements, TColor color)
    : TOrbitalObject(std::move(name), elements, color, kMinorBodyId) {}

TSatellite::TSatellite(std::string name, TPlanet* planet, TColor color)
    : TAstronomialObject(std::move(name), color, kPlainSatelliteId), Planet(planet) {}

Extended TSatellite::PlanetDistance() const {
  return VecLength(Pos);
}

void TSatellite::TakeTableData(Extended planetMass) {
  const TSatelliteData* row = FindSatelliteData(Id);
  if (row == nullptr) return;
  Name = row->Name;
  Code = row->Code;
  Period = row->Period;
  Mass = row->MassRatio * planetMass;
  Diameter = row->DiameterKm;
  SemiMajorAxis = row->SemiMajorAxisKm;
  Eccentricity = row->Eccentricity;
  Inclination = row->Inclination;
}

void TSatellite::CalculateFromTheory(TTheory theory, Extended jd) {
  const auto position = [this, theory](Extended t) {
    TVector v;
    theory(Id, t, v);
    // The theories' ecliptic of 2000 goes to the equator, is precessed to the date and
    // comes back to the ecliptic of the date. The first rotation reads the obliquity the
    // cache holds, which is that of the date before (as the pictures always had it).
    v = EclToEqu(v);
    v = PrecessRect(v, -1, t);
    return EquToEcl(v);
  };
  Pos = position(jd);
  Sample(OrbitPoints, jd, Period / 359, position);
}

TEarthMoon::TEarthMoon(TColor color, TPlanet* planet) : TSatellite("Moon", planet, color) {
  Id = kMoonId;
  Period = kMoonPeriod;
  Mass = kMoonMass;
  Diameter = kMoonDiameterKm;
  SemiMajorAxis = kMoonSemiMajorAxisKm;
  Eccentricity = kMoonEccentricity;
  Inclination = kMoonInclination;
}

void TEarthMoon::Calculate(Extended jd) {
  const TRectSph p = MoonPosition(jd, true, false, false);
  Pos = p.Rect;
  SphPos = p.Sph;
  Sample(OrbitPoints, jd, Period / 359,
         [](Extended t) { return MoonPosition(t, true, false, false).Rect; });
  const TMoonMeanOrbit orbit = MoonMeanOrbit(jd);
  Inclination = RadToDeg(NormPi(orbit.Inclination));
  NodeLongitude = RadToDeg(Norm2Pi(orbit.Node));
  PerigeeLongitude = RadToDeg(Norm2Pi(orbit.Perigee));
  Eccentricity = orbit.Eccentricity;
  SemiMajorAxis = orbit.SemiMajorAxis * kKmPerAU;
}

TJupiterMoon::TJupiterMoon(int32_t id, TPlanet* planet, TColor color)
    : TSatellite("", planet, color) {
  Id = id;
  TakeTableData(kPlanetData[kJupiter].Mass);
}

void TJupiterMoon::Calculate(Extended jd) {
  CalculateFromTheory(JupiterMoonPosition, jd);
}

TSaturnMoon::TSaturnMoon(int32_t id, TPlanet* planet, TColor color)
    : TSatellite("", planet, color) {
  Id = id;
  TakeTableData(kPlanetData[kSaturn].Mass);
}

void TSaturnMoon::Calculate(Extended jd) {
  CalculateFromTheory(SaturnMoonPosition, jd);
}

TUranusMoon::TUranusMoon(int32_t id, TPlanet* planet, TColor color)
    : TSatellite("", planet, color) {
  Id = id;
  TakeTableData(kPlanetData[kUranus].Mass);
}

void TUranusMoon::Calculate(Extended jd) {
  CalculateFromTheory(UranusMoonPosition, jd);
}

}  // namespace kestrova
