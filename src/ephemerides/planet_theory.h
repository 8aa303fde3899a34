// The planet theory: heliocentric positions of Mercury..Pluto and the Earth-Moon barycentre on
// the mean equator and equinox of J2000.0, behind the call record of the planet library.
#pragma once

#include <cstdint>

namespace kestrova {

// The call record of Plan404: little-endian, packed, 60 bytes used.
#pragma pack(push, 1)
struct TPlan404Data {
  double JD;       // offset 0, set by the caller
  double Lon;      // offset 8, spherical triple (returned; callers overwrite it)
  double Lat;      // offset 16
  double R;        // offset 24
  double X;        // offset 32, AU, mean equator and equinox of J2000.0
  double Y;        // offset 40
  double Z;        // offset 48
  int32_t Planet;  // offset 56: 1 Mercury, 2 Venus, 3 Earth-Moon barycentre, 4 Mars,
                   // 5 Jupiter, 6 Saturn, 7 Uranus, 8 Neptune, 9 Pluto
};
#pragma pack(pop)
static_assert(sizeof(TPlan404Data) == 60, "TPlan404Data must be 60 bytes");

// Fills the rectangular and spherical triples of the record for its JD and planet number:
// X, Y, Z in AU on the mean equator and equinox of J2000.0; Lon (0..2pi), Lat (radians) and
// R (AU) on the mean ecliptic and equinox of J2000.0. JD is the theory's own time argument,
// taken as given. Inside the body's fit interval the answer comes from the series. Past its
// ends the series drift off in time (they are polynomials in time): they still answer for a
// margin, then the answer passes smoothly to a Kepler orbit joined to the series at that end
// (the body's mean elements on the J2000.0 ecliptic with offsets fitted to the series; the
// Earth's for the barycentre, the fixed elements for Pluto), which answers alone beyond. The
// position runs on continuously at every date. Returns 0, or -1 (record untouched) for a
// planet number outside 1..9.
extern "C" int Plan404(TPlan404Data* record);

// The dates where Plan404 changes its method past one end of the fit of library planet 1..9
// (the later end when lastEnd): the end of the fit, the last date of the series alone, the
// first date of the joined orbit alone.
struct TPlan404Switches {
  double FitEnd, SeriesUntil, JoinedFrom;
};
TPlan404Switches Plan404SwitchDates(int32_t planet, bool lastEnd);

// The series alone, at any date: Plan404 inside the fit interval, the series' extrapolation
// outside it. Evaluated in double precision, the precision of the record and of the theory's
// published check values.
int Plan404Series(TPlan404Data* record);

}  // namespace kestrova
