// The positions of the scene's full list, every body of a data file (1.4 million for the
// whole catalogue), which the scene only ever draws as single pixels.
#pragma once

#include <cstdint>
#include <limits>

#include "model/object_lists.h"
#include "numerics/extended.h"

namespace kestrova {

// Computes every body's position for a date in one batch in double precision, straight into
// the list's column of positions, on all cores (the calling thread and one more per further
// core). Each position agrees with TOEObject::Calculate on the body's elements to about 1e-15
// of its distance. The workers touch only the list's orbits and their own positions: no frame
// cache.
class TFullListPositions {
 public:
  // Brings every body of the list to jd. Nothing is done when neither the list's membership
  // nor the date has changed since the last call.
  void Update(TFullList& list, Extended jd);

 private:
  const TFullList* list_ = nullptr;
  uint64_t changes_ = 0;
  Extended jd_ = std::numeric_limits<Extended>::quiet_NaN();
};

}  // namespace kestrova
