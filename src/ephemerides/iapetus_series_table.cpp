// Periodic terms of the theory of Iapetus after A. T. Sinclair, "A theory of the motion of
// Iapetus", Monthly Notices of the Royal Astronomical Society 169 (1974), with arguments in
// the Sun's and Titan's motion. Amplitudes: a in units of 1e-5 of the mean axis,
// e in 1e-5, angles in degrees (pericentre terms before division by the mean eccentricity,
// node terms before division by the sine of the mean inclination). Typed once; do not edit.
// clang-format off
#include "ephemerides/satellite_tables.h"

namespace kestrova {

namespace {

constexpr TIapetusTerm kTerms[] = {
    {kIaA, false, 7.87L, {{kIaMu, 2}, {kIaL, -2}, {kIaG, 2}, {kIaG1, -2}}},
    {kIaA, false, 98.79L, {{kIaMu, 1}, {kIaM, -1}, {kIaG2, -1}, {kIaG3, 1}}},

    {kIaE, false, -140.97L, {{kIaG3, 1}, {kIaG2, -1}}},
    {kIaE, false, 37.33L, {{kIaL, 2}, {kIaG, -2}, {kIaG1, 2}}},
    {kIaE, false, 11.8L, {{kIaG, 2}, {kIaMu, -1}, {kIaL, -2}, {kIaG1, -2}}},
    {kIaE, false, 24.08L, {{kIaMu, 1}}},
    {kIaE, false, 28.49L, {{kIaMu, 2}, {kIaM, -1}, {kIaG2, -1}, {kIaG3, 1}}},
    {kIaE, false, 61.9L, {{kIaM, 1}, {kIaG2, 1}, {kIaG3, -1}}},
    {kIaE, false, 0.496L, {{kIaL, 3}, {kIaG, -2}, {kIaG1, 2}}},

    {kIaI, false, 0.04204L, {{kIaPsi, 1}, {kIaL, 2}, {kIaG1, 2}}},
    {kIaI, false, 0.00235L, {{kIaPhi, 1}, {kIaMu, 1}, {kIaM, 1}, {kIaG2, 1}, {kIaG3, 1}}},
    {kIaI, false, 0.0036L, {{kIaPhi, 1}, {kIaMu, 1}, {kIaM, -1}, {kIaG2, -1}, {kIaG3, 1}}},
    {kIaI, false, 0.0005L, {{kIaL, 4}, {kIaG1, 2}}},
    {kIaI, false, 0.0058L, {{kIaL, 3}, {kIaG1, 2}}},
    {kIaI, false, -0.0024L, {{kIaL, 1}, {kIaG1, 2}}},

    {kIaLon, true, -0.04299L, {{kIaMu, 1}, {kIaM, -1}, {kIaG2, -1}, {kIaG3, 1}}},
    {kIaLon, true, -0.00789L, {{kIaMu, 2}, {kIaL, -2}, {kIaG, 2}, {kIaG1, -2}}},
    {kIaLon, true, -0.06312L, {{kIaL, 1}}},
    {kIaLon, true, -0.00295L, {{kIaL, 2}}},
    {kIaLon, true, -0.02231L, {{kIaL, 2}, {kIaG1, 2}}},
    {kIaLon, true, 0.0065L, {{kIaPsi, 1}, {kIaL, 2}, {kIaG1, 2}}},

    {kIaPeri, true, 0.08077L, {{kIaG3, 1}, {kIaG2, -1}}},
    {kIaPeri, true, 0.02139L, {{kIaL, 2}, {kIaG, -2}, {kIaG1, 2}}},
    {kIaPeri, true, -0.00676L, {{kIaG3, 2}, {kIaMu, 1}, {kIaL, -2}, {kIaG1, -2}}},
    {kIaPeri, true, 0.0138L, {{kIaMu, 1}}},
    {kIaPeri, true, 0.01632L, {{kIaMu, 2}, {kIaM, -1}, {kIaG2, -1}, {kIaG3, 1}}},
    {kIaPeri, true, 0.03547L, {{kIaM, 1}, {kIaG2, 1}, {kIaG3, -1}}},
    {kIaPeri, true, 0.00028L, {{kIaL, 3}, {kIaG, -2}, {kIaG1, 2}}},

    {kIaNode, true, 0.04204L, {{kIaPsi, 1}, {kIaL, 2}, {kIaG1, 2}}},
    {kIaNode, true, 0.00235L, {{kIaPhi, 1}, {kIaMu, 1}, {kIaM, 1}, {kIaG2, 1}, {kIaG3, 1}}},
    {kIaNode, true, 0.00358L, {{kIaPhi, 1}, {kIaMu, 1}, {kIaM, -1}, {kIaG2, -1}, {kIaG3, 1}}},
    {kIaNode, true, -0.0006L, {{kIaL, 2}}},
    {kIaNode, true, 0.0003L, {{kIaL, 4}, {kIaG1, 2}}},
    {kIaNode, true, 0.0028L, {{kIaL, 3}, {kIaG1, 2}}},
    {kIaNode, true, -0.0012L, {{kIaL, 1}, {kIaG1, 2}}},
    {kIaNode, true, -0.0142L, {{kIaL, 1}}},
};

}  // namespace

const std::span<const TIapetusTerm> kIapetusTerms = kTerms;

}  // namespace kestrova
