// Positions of a great many Kepler orbits at one date, in one batch: a whole catalogue of minor
// bodies, which is only ever drawn as single pixels.
//
// The elements are laid out once, column by column, in double precision; each date then runs
// through them in vector registers, on as many threads as the caller splits the orbits into.
// The mean anomaly is carried in two doubles (it runs to thousands of radians over the dates of
// the program), so that the positions agree with KeplerPosition to about 1e-15 of the distance.
// Orbits the vector path does not serve (e of 0.8 and more, open orbits among them; elements
// that are no numbers) are computed one by one in Extended.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ephemerides/kepler_orbits.h"
#include "numerics/extended.h"
#include "numerics/matrices.h"

namespace kestrova {

class TKeplerBatch {
 public:
  // The date of a batch, split once for all orbits.
  struct TDate {
    Extended JD;
    double SinceRefHi, SinceRefLo;  // days from the reference date, in two parts
  };
  static TDate Date(Extended jd);

  // Lays out n orbits, elements(i) giving orbit i; replaces what was laid out before.
  template <class Elements>
  void Prepare(size_t n, Elements&& elements) {
    Clear();
    Reserve(n);
    for (size_t i = 0; i < n; ++i) Append(elements(i));
  }

  size_t Size() const { return m_.size(); }

  // Room for n orbits in all; a batch far larger than n gives its memory back.
  void Reserve(size_t n);
  // Lays out one more orbit after the others.
  void Append(const TOrbitalElements& el);
  // Removes every orbit and frees the room they took.
  void Release();

  // Positions of orbits begin..end-1 at the date into out[0..end-begin). Reads only the layout
  // (no module-wide state), so disjoint ranges may run on several threads at once.
  void Positions(const TDate& date, size_t begin, size_t end, TVectorD* out) const;

 private:
  void Clear();

  // Columns: mean anomaly at the reference date (reduced) and mean motion in two parts
  // (radians, radians per day), eccentricity, and a P, b Q with P the unit vector towards
  // perihelion and Q the one 90 degrees on, b = a sqrt(1 - e^2).
  std::vector<double> m_, nHi_, nLo_, e_;
  std::vector<double> px_, py_, pz_, qx_, qy_, qz_;
  // The orbits served one by one, in the order of their indices.
  struct TAlone {
    size_t Index;
    TKeplerOrbit Orbit;
  };
  std::vector<TAlone> alone_;
};

}  // namespace kestrova
