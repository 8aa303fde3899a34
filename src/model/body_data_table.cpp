// Typed once from the published physical data of the planets and satellites (see NOTICE);
// do not edit by hand.
#include "model/body_data_table.h"

namespace kestrova {

const TPlanetData kPlanetData[9] = {
    {"Earth", 5.9742e24L, 12756.28L, false},   {"Mercury", 3.302e23L, 4878.0L, false},
    {"Venus", 4.869e24L, 12104.0L, true},      {"Mars", 6.419e23L, 6794.4L, false},
    {"Jupiter", 1.8988e27L, 142984.0L, false}, {"Saturn", 5.684e26L, 120536.0L, false},
    {"Uranus", 8.698e25L, 51120.0L, true},     {"Neptune", 1.024e26L, 49528.0L, false},
    {"Pluto", 1.29e22L, 2300.0L, true},
};

// clang-format off
const TSatelliteData kSatelliteData[kSatelliteDataCount] = {
    // Id  Name         Code      Period (d)     Mass ratio  Diam (km) a (km)      e         i (deg)
    {140, "Io",        "J I",    1.769137786L, 4.68e-05L, 3630.0L, 422000.0L,   0.004L,    0.04L},
    {141, "Europa",    "J II",   3.551181041L, 2.52e-05L, 3138.0L, 671000.0L,   0.009L,    0.47L},
    {142, "Ganymede",  "J III",  7.15455296L,  7.8e-05L,  5262.0L, 1070000.0L,  0.002L,    0.21L},
    {143, "Callisto",  "J IV",   16.6890184L,  5.66e-05L, 4800.0L, 1883000.0L,  0.007L,    0.51L},
    {156, "Mimas",     "S I",    0.942L,       8e-08L,    392.0L,  185520.0L,   0.202L,    1.53L},
    {157, "Enceladus", "S II",   1.371L,       1.3e-07L,  500.0L,  238020.0L,   0.00452L,  0.0L},
    {158, "Tethys",    "S III",  1.888L,       1.3e-06L,  1060.0L, 294660.0L,   0.0L,      1.86L},
    {159, "Telesto",   "S XIII", 1.888L,       0.0L,      34.0L,   294660.0L,   0.0L,      1.86L},
    {160, "Calypso",   "S XIV",  1.888L,       0.0L,      34.0L,   294660.0L,   0.0L,      1.86L},
    {161, "Dione",     "S IV",   2.737L,       1.85e-06L, 1120.0L, 377400.0L,   0.00223L,  0.02L},
    {162, "Helene",    "S XII",  2.737L,       0.0L,      36.0L,   377400.0L,   0.00223L,  0.02L},
    {163, "Rhea",      "S V",    4.517L,       4.4e-06L,  1530.0L, 527040.0L,   0.001L,    0.35L},
    {164, "Titan",     "S VI",   15.95L,       0.000238L, 5150.0L, 1221830.0L,  0.029192L, 0.33L},
    {165, "Hyperion",  "S VII",  21.28L,       3e-08L,    410.0L,  1481100.0L,  0.104L,    0.43L},
    {166, "Iapetus",   "S VIII", 79.33L,       3.3e-06L,  1460.0L, 3561300.0L,  0.02828L,  14.72L},
    {167, "Phoebe",    "S IX",   550.5L,       7e-10L,    220.0L,  12952000.0L, 0.16326L,  177.0L},
    {170, "Miranda",   "U V",    1.41347925L,  8e-07L,    240.0L,  129390.0L,   0.0027L,   4.2L},
    {171, "Ariel",     "U I",    2.52037935L,  1.56e-05L, 579.0L,  191020.0L,   0.0034L,   0.3L},
    {172, "Umbriel",   "U II",   4.1441772L,   1.35e-05L, 586.0L,  266300.0L,   0.005L,    0.36L},
    {173, "Titania",   "U III",  8.7058717L,   4.06e-05L, 790.0L,  435910.0L,   0.0022L,   0.14L},
    {174, "Oberon",    "U IV",   13.4632389L,  3.47e-05L, 762.0L,  583520.0L,   0.0008L,   0.1L},
};
// clang-format on

const TSatelliteData* FindSatelliteData(int32_t id) {
  for (const TSatelliteData& row : kSatelliteData) {
    if (row.Id == id) return &row;
  }
  return nullptr;
}

}  // namespace kestrova
