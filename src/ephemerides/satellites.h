// The satellite theories: the four Galilean satellites, twelve satellites of Saturn and the
// five main satellites of Uranus. Each gives the planetocentric position (AU) on the mean
// ecliptic and equinox of JD 2451544.5, and the zero vector for an Id outside its range.
//
// The theories of Jupiter's and Saturn's satellites work on the ecliptic of 1950 and take the
// obliquity that turns it to the equator as an argument, eps1950 (Saturn's also turns its
// planet's pole to the ecliptic with it). Whoever calls them chooses it: the scene passes the
// obliquity of the date it computed just before (see TPlanet::Calculate); any date's obliquity
// moves a satellite by well under a thousandth of its distance. Dates are used unchanged: no
// time scale, no light time.
#pragma once

#include <cstdint>

#include "ephemerides/kepler_orbits.h"
#include "ephemerides/precession.h"
#include "numerics/extended.h"
#include "numerics/matrices.h"

namespace kestrova {

// Ids 140..143: Io, Europa, Ganymede, Callisto.
void JupiterMoonPosition(int32_t id, Extended jd, const TObliquity& eps1950, TVector& v);
// Ids 156..167: Mimas, Enceladus, Tethys, Telesto, Calypso, Dione, Helene, Rhea, Titan,
// Hyperion, Iapetus, Phoebe.
void SaturnMoonPosition(int32_t id, Extended jd, const TObliquity& eps1950, TVector& v);
// Ids 170..174: Miranda, Ariel, Umbriel, Titania, Oberon.
void UranusMoonPosition(int32_t id, Extended jd, TVector& v);

// Right-handed rotation of v in place about axis 0 (x), 1 (y) or 2 (z) by angle radians.
void RotateAboutAxis(int axis, TVector& v, Extended angle);

// Elements of an orbit on a planet's equator (node n and inclination j of that equator on
// the reference plane) carried to the reference plane; all angles in degrees. The node,
// pericentre and mean longitude of the orbit are counted along the reference plane up to n,
// then along the equator (and, for the last two, along the orbit from its node). The returned
// inclination is j + gamma or |j - gamma| where the orbit's node on the equator falls on the
// equator's own node (node - n = 0 or 180 degrees) and the general formula is 0 / 0.
struct TPlaneElements {
  Extended Node;
  Extended Inclination;
  Extended PericentreLongitude;
  Extended MeanLongitude;
};
TPlaneElements ChangeElementPlane(Extended n, Extended j, Extended node, Extended gamma,
                                  Extended pericentre, Extended meanLongitude);

// re += sign * amplitude * cos(phase); im += sign * amplitude * sin(phase).
void AddComplexTerm(int32_t sign, Extended& re, Extended& im, Extended amplitude, Extended phase);

// The steps the theories are made of, for callers that want to look inside them.

// Carries a planetocentric vector on the mean equator and equinox of JD 2433282.5 (1950) to
// the mean ecliptic and equinox of JD 2451544.5.
TVector Equator1950ToEcliptic2000(const TVector& v);

// Galilean satellite 140..143 in the plane of Jupiter's equator, x towards the ascending node
// of that equator on Jupiter's orbit (AU); the zero vector for any other id.
TVector JupiterMoonEquatorPosition(int32_t id, Extended jd);
// The same in double precision, for the orbit rings.
TVectorD JupiterMoonEquatorPositionD(int32_t id, Extended jd);
// Turns a vector of that frame for jd onto the mean ecliptic and equinox of 1950.
TVector JupiterEquatorToEcliptic1950(const TVector& v, Extended jd);

// Saturn's equator for jd on the ecliptic: node and inclination, degrees. Saturn's pole is
// turned from the equator with the obliquity eps.
struct TPlanetEquator {
  Extended Node;
  Extended Inclination;
};
TPlanetEquator SaturnEquator(Extended jd, const TObliquity& eps);
// Elements of Saturn's satellite 156..167 on the mean ecliptic and equinox of 1950, epoch jd;
// all-zero elements for any other id. Saturn's equator as SaturnEquator(jd, eps1950) gives it.
TOrbitalElements SaturnMoonElements(int32_t id, Extended jd, const TObliquity& eps1950);
// The same in double precision, for the orbit rings, with Saturn's equator given.
TOrbitalElementsD SaturnMoonElementsD(int32_t id, Extended jd, const TPlanetEquator& equator);

// Elements of Uranus's satellite 170..174 on the plane of Uranus's equator, angles counted
// from the ascending node of that equator on the Earth's mean equator of 1950, epoch jd.
TOrbitalElements UranusMoonEquatorElements(int32_t id, Extended jd);
// The same orbit on the Earth's mean equator and equinox of 1950. All-zero elements for an id
// outside 170..174 in both.
TOrbitalElements UranusMoonElements(int32_t id, Extended jd);
// The same in double precision, for the orbit rings.
TOrbitalElementsD UranusMoonElementsD(int32_t id, Extended jd);

}  // namespace kestrova
