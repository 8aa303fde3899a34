// Orbit geometry shared by the orbit pass and the satellites' own orbits: the size level of an
// orbit on the screen, the thinned walk over its 360 samples, and the crossings of the
// reference plane.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/astronomical_objects.h"
#include "numerics/extended.h"
#include "numerics/matrices.h"

namespace kestrova {

// How large an orbit of semi-major axis (or distance) a looks at the zoom dim: 0 when a is at
// most dim / 5, else 4 above dim / 5, 3 above dim / 4, 2 above dim / 3, 1 above dim / 2. Small
// orbits need few dots to look closed; level 0 orbits get no markings at all.
int32_t OrbitSizeLevel(Extended a, Extended dim);

// Step of a planet's or minor body's orbit dots: the size level less one for each of
// e > 0.7, 0.8 and 0.9, at least 1. Eccentric orbits crowd their samples near perihelion, so
// they are thinned less.
int32_t OrbitDotStep(int32_t level, Extended eccentricity);

// Calls visit(k) for the samples of the thinned walk with step s (taken as 1 below 1): 360
// rounds, the first on sample 1, then i - (i mod s) after round i, or 1 when that is 0. So
// sample 1 and the multiples of s up to 359 are visited, some several times; 360 never.
template <class Visit>
void WalkOrbitSamples(int32_t s, Visit&& visit) {
  if (s < 1) s = 1;
  int32_t k = 1;
  for (int32_t i = 1; i <= kOrbitSampleCount; ++i) {
    visit(k);
    k = i - i % s;
    if (k == 0) k = 1;
  }
}

// The sample numbers the walk visits, in order.
std::vector<int32_t> OrbitWalk(int32_t s);

struct TNodes {
  bool Found = false;
  TVector N1;
  TVector N2;
};

// The first two points where the sampled orbit crosses z = 0 (its reference plane), each
// interpolated between the samples around the sign change of z. One change only gives the
// same node twice; none (an orbit in the plane or wholly on one side) gives not found.
TNodes FindNodes(const TOrbitRing& samples);

}  // namespace kestrova
