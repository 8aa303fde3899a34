#include "scene/full_list_positions.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "model/astronomical_objects.h"

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
  const size_t cores = std::max<size_t>(1, std::thread::hardware_concurrency());
  const size_t threads = std::clamp<size_t>(n / kBodiesPerThread, 1, std::min(cores, kMaxThreads));
  std::vector<std::thread> workers;
  // The calling thread's own share, and any share no thread could be started for.
  std::vector<std::pair<size_t, size_t>> here;
  const size_t share = (n + threads - 1) / threads;
  here.emplace_back(0, std::min(n, share));
  for (size_t t = 1; t < threads; ++t) {
    const size_t begin = t * share;
    const size_t end = std::min(n, begin + share);
    if (begin >= end) continue;
    try {
      workers.emplace_back([&, begin, end] { Compute(batch_, date, bodies, begin, end); });
    } catch (const std::system_error&) {
      here.emplace_back(begin, end);
    }
  }
  for (const auto& [begin, end] : here) Compute(batch_, date, bodies, begin, end);
  for (std::thread& w : workers) w.join();
}

}  // namespace kestrova
