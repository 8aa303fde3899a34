// The satellite theories: the four Galilean satellites, twelve satellites of Saturn and the
// five main satellites of Uranus. Each gives the planetocentric position (AU) on the mean
// ecliptic and equinox of JD 2451544.5, and the zero vector for an Id outside its range.
#pragma once

#include <cstdint>

#include "numerics/extended.h"
#include "numerics/matrices.h"

namespace kestrova {

// Ids 140..143: Io, Europa, Ganymede, Callisto.
void JupiterMoonPosition(int32_t id, Extended jd, TVector& v);
// Ids 156..167.
void SaturnMoonPosition(int32_t id, Extended jd, TVector& v);
// Ids 170..174: Miranda, Ariel, Umbriel, Titania, Oberon.
void UranusMoonPosition(int32_t id, Extended jd, TVector& v);

// Right-handed rotation of v in place about axis 0 (x), 1 (y) or 2 (z) by angle radians.
void RotateAboutAxis(int axis, TVector& v, Extended angle);

// Elements of an orbit on a planet's equator (node n and inclination j of that equator on
// the reference plane) carried to the reference plane; all angles in degrees.
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

}  // namespace kestrova
