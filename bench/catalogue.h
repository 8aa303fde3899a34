// A synthetic catalogue as large as the published one, for the benchmarks of the full list.
#pragma once

#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>

#include "ephemerides/kepler_orbits.h"

namespace kestrova {

// The size of the full catalogue of numbered and unnumbered minor planets.
inline constexpr int kCatalogue = 1400000;

// Orbits like a catalogue's: mostly the main belt, some near-Earth and some eccentric ones, with
// epochs spread over a few years.
inline TOrbitalElements CatalogueElements(int64_t i) {
  TOrbitalElements el;
  el.Epoch = 2460600.5L - 200 * (i % 11);
  el.SemiMajorAxis = 1.0L + 4.5L * ((i * 7919) % 10007) / 10007.0L;
  el.Eccentricity = (i % 50 == 0 ? 0.9L : 0.35L) * ((i * 104729) % 997) / 997.0L;
  el.Inclination = (i * 31) % 40;
  el.Node = (i * 137) % 360;
  el.PerihelionLongitude = (i * 59) % 360;
  el.MeanLongitude = (i * 263) % 360;
  el.DailyMotion = 0.9856262L / (el.SemiMajorAxis * std::sqrt(el.SemiMajorAxis));
  return el;
}

// The resident memory of this process (VmRSS), in megabytes; 0 where /proc tells nothing.
inline double ResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024;
  return 0;
}

}  // namespace kestrova
