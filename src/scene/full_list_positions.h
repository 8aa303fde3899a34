// The positions of the scene's full list, every body of a data file (1.4 million for the
// whole catalogue), which the scene only ever draws as single pixels.
#pragma once

#include <cstdint>
#include <limits>

#include "ephemerides/kepler_batch.h"
#include "model/object_lists.h"
#include "numerics/extended.h"

namespace kestrova {

// Computes every body's Pos for a date in one batch in double precision, over a compact layout
// of the elements laid out when the list's membership changes, on all cores (the calling thread
// and one more per further core). Each Pos agrees with the body's own Calculate to about 1e-15
// of its distance. The workers touch only the layout and their own bodies: no frame cache.
class TFullListPositions {
 public:
  // Brings every body of the list to jd. Nothing is done when neither the list's membership
  // nor the date has changed since the last call: a body's elements are taken as they were
  // when the body joined the list.
  void Update(const TOEObjectList& list, Extended jd);

 private:
  TKeplerBatch batch_;
  const TOEObjectList* list_ = nullptr;
  uint64_t changes_ = 0;
  Extended jd_ = std::numeric_limits<Extended>::quiet_NaN();
};

}  // namespace kestrova
