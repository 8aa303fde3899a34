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
  // The planet theory has just computed jd; each satellite's last orbit sample is the date
  // computed before the next.
  Extended before = jd;
  for (int32_t i = 0; i < Satellites.Count(); ++i) {
    TSatellite& satellite = Satellites.Get(i);
    satellite.CalculateAfter(jd, before);
    before = satellite.LastSampleDate(jd);
  }
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

Extended TSatellite::LastSampleDate(Extended jd) const {
  const Extended step = Period / 359;
  Extended t = jd;
  for (int k = 0; k < kOrbitSampleCount; ++k) t += step;
  return t;
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

void TSatellite::CalculateFromTheory(TTheory theory, Extended jd, Extended before) {
  const TObliquity eps2000 = MeanObliquity(JD2000Jan1);
  Extended previous = before;
  const auto position = [&](Extended t) {
    TVector v;
    theory(Id, t, MeanObliquity(previous), v);
    previous = t;
    // The theories' ecliptic of 2000 goes to the equator, is precessed to the date and comes
    // back to the ecliptic of the date.
    v = EclToEqu(v, eps2000);
    v = PrecessRect(v, -1, t);
    return EquToEcl(v, MeanObliquity(t));
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

void TEarthMoon::CalculateAfter(Extended jd, Extended) {
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

void TJupiterMoon::CalculateAfter(Extended jd, Extended before) {
  CalculateFromTheory(JupiterMoonPosition, jd, before);
}

TSaturnMoon::TSaturnMoon(int32_t id, TPlanet* planet, TColor color)
    : TSatellite("", planet, color) {
  Id = id;
  TakeTableData(kPlanetData[kSaturn].Mass);
}

void TSaturnMoon::CalculateAfter(Extended jd, Extended before) {
  CalculateFromTheory(SaturnMoonPosition, jd, before);
}

TUranusMoon::TUranusMoon(int32_t id, TPlanet* planet, TColor color)
    : TSatellite("", planet, color) {
  Id = id;
  TakeTableData(kPlanetData[kUranus].Mass);
}

void TUranusMoon::CalculateAfter(Extended jd, Extended) {
  const auto theory = [](int32_t id, Extended t, const TObliquity&, TVector& v) {
    UranusMoonPosition(id, t, v);
  };
  CalculateFromTheory(theory, jd, jd);
}

void AddStandardSatellites(TPlanet& planet, TColor color) {
  switch (planet.Id) {
    case kEarth:
      planet.Satellites.Add(std::make_unique<TEarthMoon>(color, &planet));
      break;
    case kJupiter:
      for (int32_t id = 140; id <= 143; ++id)
        planet.Satellites.Add(std::make_unique<TJupiterMoon>(id, &planet, color));
      break;
    case kSaturn:
      for (int32_t id = 156; id <= 167; ++id)
        planet.Satellites.Add(std::make_unique<TSaturnMoon>(id, &planet, color));
      break;
    case kUranus:
      for (int32_t id = 170; id <= 174; ++id)
        planet.Satellites.Add(std::make_unique<TUranusMoon>(id, &planet, color));
      break;
    default:
      break;
  }
}

}  // namespace kestrova
