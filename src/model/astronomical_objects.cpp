// Construction and position computation of the bodies.
#include "model/astronomical_objects.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "ephemerides/moon.h"
#include "ephemerides/nutation.h"
#include "ephemerides/planet_positions.h"
#include "ephemerides/precession.h"
#include "ephemerides/satellites.h"
#include "model/body_data_table.h"
#include "numerics/mathematics.h"

namespace kestrova {

namespace {

// The mean elements a planet starts with, before its first Calculate.
constexpr Extended kPlanetStartJD = 2451544.5L;

// How far from the Sun (AU) the stored arc of an open orbit runs: beyond Pluto's aphelion, so
// that its nodes lie on it wherever the planets' region is in view.
constexpr Extended kOpenOrbitRingReach = 100;

// The dates of a satellite's samples: t := jd, then t := t + step, 360 times, summed as the
// date of its last sample is (see TSatellite::LastSampleDate).
template <class PositionAt>
void Sample(TOrbitRing& points, Extended jd, Extended step, PositionAt position) {
  Extended t = jd;
  for (TVectorD& p : points) {
    t += step;
    p = position(t);
  }
}

// Longitude ArcTan2(y, x), latitude ArcSin(z / r), distance r: the spherical form of the
// planet theory and of the Moon.
TSpherical SphericalOf(const TVector& v) {
  if (v == TVector{}) return {};
  const Extended r = VecLength(v);
  return {ArcTan2(v.y, v.x), ArcSin(v.z / r), r};
}

// The theories' ecliptic of 2000 goes to the equator, is precessed to the date t and comes back
// to the ecliptic of t.
TVector EclipticOf2000ToDate(const TVector& v, Extended t) {
  const TVector equator = PrecessRect(EclToEqu(v, MeanObliquity(JD2000Jan1)), -1, t);
  return EquToEcl(equator, MeanObliquity(t));
}

// A change of frame that moves slowly over one ring (precession, nutation, the turn of a
// planet's equator): its matrices at the first and last dates of the ring, worked out in
// Extended, and in between linear in time. Over Phoebe's year and a half the precession turns by
// 75", which leaves the matrices in between 2e-8 off; over the Moon's month the fortnightly
// nutation (0.5") leaves 3e-6 of its distance, 7e-9 AU.
class TRingFrame {
 public:
  // turn(v, t): the frame change of the vector v at the date t.
  template <class Turn>
  TRingFrame(Extended first, Extended last, Turn turn) : first_(first) {
    const TVector axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int c = 0; c < 3; ++c) {
      const TVector a = turn(axes[c], first);
      const TVector b = turn(axes[c], last);
      const Extended from[3] = {a.x, a.y, a.z};
      const Extended to[3] = {b.x, b.y, b.z};
      for (int r = 0; r < 3; ++r) {
        at_first_[r][c] = static_cast<double>(from[r]);
        change_[r][c] = static_cast<double>(to[r] - from[r]);
      }
    }
    per_day_ = last != first ? static_cast<double>(1 / (last - first)) : 0;
  }

  TVectorD Apply(Extended t, const TVectorD& v) const {
    const double f = static_cast<double>(t - first_) * per_day_;
    double m[3][3];
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) m[r][c] = at_first_[r][c] + f * change_[r][c];
    return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z,
            m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
            m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
  }

 private:
  Extended first_;
  double per_day_;
  double at_first_[3][3];
  double change_[3][3];
};

}  // namespace

TAstronomialObject::TAstronomialObject(std::string name, TColor color, int32_t id)
    : Color(color), Id(id), Name(std::move(name)) {}

TOEObject::TOEObject(std::string name, const TOrbitalElements& elements, TColor color, int32_t id)
    : TAstronomialObject(std::move(name), color, id), Elements(elements) {}

void TOEObject::Calculate(Extended jd) {
  Pos = KeplerPosition(Elements, jd);
}

TSpherical TOEObject::SphPos() const {
  if (Pos == TVector{}) return {};
  return RectToSph(Pos);
}

void TOrbitalObject::Calculate(Extended jd) {
  TOEObject::Calculate(jd);
  ring_date_ = jd;
  ring_.Invalidate();
}

const TOrbitRing& TOrbitalObject::OrbitPoints() const {
  return ring_.Get([this](TOrbitRing& ring) {
    if (IsOpenOrbit(Elements)) {
      // An open orbit has no period to sample: the arc as far as any view of the planets
      // reaches; the orbit pass draws the arc for its own view.
      OpenOrbitArc(Elements, std::max(kOpenOrbitRingReach, 10 * Elements.SemiMajorAxis),
                   kOrbitSampleCount, ring.data());
      return;
    }
    const Extended step = (360 / Elements.DailyMotion) / 359;
    if (!std::isfinite(step)) {
      // No period (DailyMotion 0, or elements that are no numbers): a Kepler position at an
      // infinite date is not a number, and the drawing must never see one.
      ring.fill(ToVectorD(Pos));
      return;
    }
    TDrawnKeplerOrbit(Elements).Ring(ring_date_, step, kOrbitSampleCount, ring.data());
  });
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
  if (Id != kPluto) Pos = PlanetPosition(Id, jd).Rect;
  // The planet theory has just computed jd; each satellite's last orbit sample is the date
  // computed before the next.
  Extended before = jd;
  for (int32_t i = 0; i < Satellites.Count(); ++i) {
    TSatellite& satellite = Satellites.Get(i);
    satellite.CalculateAfter(jd, before);
    before = satellite.LastSampleDate(jd);
  }
}

TSpherical TPlanet::SphPos() const {
  return Id == kPluto ? TOEObject::SphPos() : SphericalOf(Pos);
}

const TSatellite* TPlanet::FindSatellite(int32_t id) const {
  const TSatellite* found = nullptr;
  for (int32_t i = 0; i < Satellites.Count(); ++i) {
    if (Satellites.Get(i).Id == id) found = &Satellites.Get(i);
  }
  return found;
}

TSatellite* TPlanet::FindSatellite(int32_t id) {
  return const_cast<TSatellite*>(std::as_const(*this).FindSatellite(id));
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

void TSatellite::CalculateAfter(Extended jd, Extended before) {
  Pos = PositionAfter(jd, before);
  AfterPosition(jd);
  ring_date_ = jd;
  ring_.Invalidate();
}

const TOrbitRing& TSatellite::OrbitPoints() const {
  return ring_.Get([this](TOrbitRing& ring) { FillOrbitPoints(ring_date_, ring); });
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

TSpherical TEarthMoon::SphPos() const {
  return SphericalOf(Pos);
}

TVector TEarthMoon::PositionAfter(Extended t, Extended) const {
  return MoonPosition(t, true, false, false).Rect;
}

void TEarthMoon::FillOrbitPoints(Extended jd, TOrbitRing& ring) const {
  // The theory gives the mean ecliptic of the date; the nutation is carried on the equator.
  const TRingFrame nutation(jd, LastSampleDate(jd), [](const TVector& v, Extended t) {
    const TObliquity eps = MeanObliquity(t);
    return EquToEcl(ApplyNutation(EclToEqu(v, eps), t), eps);
  });
  Sample(ring, jd, Period / 359,
         [&](Extended t) { return nutation.Apply(t, MoonEclipticOfDateD(t)); });
}

void TEarthMoon::AfterPosition(Extended jd) {
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

TVector TJupiterMoon::PositionAfter(Extended t, Extended before) const {
  TVector v;
  JupiterMoonPosition(Id, t, MeanObliquity(before), v);
  return EclipticOf2000ToDate(v, t);
}

void TJupiterMoon::FillOrbitPoints(Extended jd, TOrbitRing& ring) const {
  // From Jupiter's equator to the ecliptic of each date; the ecliptic of 1950 turned with the
  // obliquity of jd.
  const TObliquity eps = MeanObliquity(jd);
  const TRingFrame frame(jd, LastSampleDate(jd), [&](const TVector& v, Extended t) {
    const TVector ecl1950 = JupiterEquatorToEcliptic1950(v, t);
    return EclipticOf2000ToDate(Equator1950ToEcliptic2000(EclToEqu(ecl1950, eps)), t);
  });
  Sample(ring, jd, Period / 359,
         [&](Extended t) { return frame.Apply(t, JupiterMoonEquatorPositionD(Id, t)); });
}

TSaturnMoon::TSaturnMoon(int32_t id, TPlanet* planet, TColor color)
    : TSatellite("", planet, color) {
  Id = id;
  TakeTableData(kPlanetData[kSaturn].Mass);
}

TVector TSaturnMoon::PositionAfter(Extended t, Extended before) const {
  TVector v;
  SaturnMoonPosition(Id, t, MeanObliquity(before), v);
  return EclipticOf2000ToDate(v, t);
}

void TSaturnMoon::FillOrbitPoints(Extended jd, TOrbitRing& ring) const {
  // Saturn's equator hardly moves over one revolution: it is taken at jd for the whole ring,
  // and the ecliptic of 1950 turned with the obliquity of jd.
  const TObliquity eps = MeanObliquity(jd);
  const TPlanetEquator equator = SaturnEquator(jd, eps);
  const TRingFrame frame(jd, LastSampleDate(jd), [&](const TVector& v, Extended t) {
    return EclipticOf2000ToDate(Equator1950ToEcliptic2000(EclToEqu(v, eps)), t);
  });
  Sample(ring, jd, Period / 359, [&](Extended t) {
    return frame.Apply(t, DrawnKeplerPositionAtEpoch(SaturnMoonElementsD(Id, t, equator)));
  });
}

TUranusMoon::TUranusMoon(int32_t id, TPlanet* planet, TColor color)
    : TSatellite("", planet, color) {
  Id = id;
  TakeTableData(kPlanetData[kUranus].Mass);
}

TVector TUranusMoon::PositionAfter(Extended t, Extended) const {
  TVector v;
  UranusMoonPosition(Id, t, v);
  return EclipticOf2000ToDate(v, t);
}

void TUranusMoon::FillOrbitPoints(Extended jd, TOrbitRing& ring) const {
  const TRingFrame frame(jd, LastSampleDate(jd), [](const TVector& v, Extended t) {
    return EclipticOf2000ToDate(Equator1950ToEcliptic2000(v), t);
  });
  Sample(ring, jd, Period / 359, [&](Extended t) {
    return frame.Apply(t, DrawnKeplerPositionAtEpoch(UranusMoonElementsD(Id, t)));
  });
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
