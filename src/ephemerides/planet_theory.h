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

// Fills the rectangular and spherical triples of the record for its JD and planet number.
// Returns 0, or -1 (record untouched) for a planet number outside 1..9.
extern "C" int Plan404(TPlan404Data* record);

}  // namespace kestrova
