#include "scene/full_list_positions.h"

#include "ephemerides/kepler_batch.h"
#include "scene/work_shares.h"

namespace kestrova {

namespace {

// Below this many bodies a second thread costs more than it saves.
constexpr size_t kBodiesPerThread = 50000;
constexpr size_t kMaxThreads = 8;

}  // namespace

void TFullListPositions::Update(TFullList& list, Extended jd) {
  const bool changed = &list != list_ || list.Changes() != changes_;
  if (!changed && jd == jd_) return;
  list_ = &list;
  changes_ = list.Changes();
  jd_ = jd;
  const size_t n = static_cast<size_t>(list.Count());
  if (n == 0) return;
  // The date is split here, on the calling thread; the workers only read it.
  const TKeplerBatch::TDate date = TKeplerBatch::Date(jd);
  const TKeplerBatch& orbits = list.Orbits();
  TVectorD* positions = list.Positions();
  RunShares(n, ShareCount(n, kBodiesPerThread, kMaxThreads), [&](size_t, size_t begin, size_t end) {
    orbits.Positions(date, begin, end, positions + begin);
  });
}

}  // namespace kestrova
