#include "scene/full_list_positions.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "model/astronomical_objects.h"
#include "scene/work_shares.h"

namespace kestrova {

namespace {

// Below this many bodies a second thread costs more than it saves.
constexpr size_t kBodiesPerThread = 50000;
constexpr size_t kMaxThreads = 8;
// Positions handed from the batch to the bodies at a time.
constexpr size_t kChunk = 2048;

// Bodies begin..end-1 of the list at the date.
void Compute(const TKeplerBatch& batch, const TKeplerBatch::TDate& date,
             const std::vector<std::unique_ptr<TOEObject>>& bodies, size_t begin, size_t end) {
  TVectorD positions[kChunk];
  for (size_t i = begin; i < end; i += kChunk) {
    const size_t stop = std::min(end, i + kChunk);
    batch.Positions(date, i, stop, positions);
    // The bodies live in allocations of their own: ask for the ones ahead so as not to wait on
    // memory for each.
    constexpr size_t kAhead = 24;
    for (size_t k = i; k < stop; ++k) {
      if (k + kAhead < end) __builtin_prefetch(&bodies[k + kAhead]->Pos, 1);
      bodies[k]->Pos = ToVector(positions[k - i]);
    }
  }
}

}  // namespace

void TFullListPositions::Update(const TOEObjectList& list, Extended jd) {
  const bool changed = &list != list_ || list.Changes() != changes_;
  if (!changed && jd == jd_) return;
  const auto& bodies = list.Items();
  if (changed) {
    batch_.Prepare(bodies.size(),
                   [&](size_t i) -> const TOrbitalElements& { return bodies[i]->Elements; });
    list_ = &list;
    changes_ = list.Changes();
  }
  jd_ = jd;
  const size_t n = bodies.size();
  if (n == 0) return;
  // The date is split here, on the calling thread; the workers only read it.
  const TKeplerBatch::TDate date = TKeplerBatch::Date(jd);
  RunShares(n, ShareCount(n, kBodiesPerThread, kMaxThreads),
            [&](size_t, size_t begin, size_t end) { Compute(batch_, date, bodies, begin, end); });
}

}  // namespace kestrova
