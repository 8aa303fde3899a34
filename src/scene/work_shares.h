// Work over a long list split into equal shares, one a core: the crowd of a whole catalogue is
// computed and projected this way. Share 0 runs on the calling thread, the others on threads of
// their own; a share no thread could be started for runs on the calling thread too, so the work
// is done whatever the system allows.
#pragma once

#include <algorithm>
#include <cstddef>
#include <system_error>
#include <thread>
#include <vector>

namespace kestrova {

// How many shares n items make: one per perShare items, at least one, at most the cores and
// at most maxShares.
inline size_t ShareCount(size_t n, size_t perShare, size_t maxShares) {
  const size_t cores = std::max<size_t>(1, std::thread::hardware_concurrency());
  return std::clamp<size_t>(n / perShare, 1, std::min(cores, maxShares));
}

// Calls work(share, begin, end) for every share of items 0..n-1 split into `shares` equal
// parts (empty ones left out), and returns once all have run. work must only read what the
// other shares may read at the same time.
template <class Work>
void RunShares(size_t n, size_t shares, Work&& work) {
  const size_t size = (n + shares - 1) / std::max<size_t>(shares, 1);
  std::vector<std::thread> workers;
  std::vector<size_t> here{0};
  for (size_t t = 1; t < shares; ++t) {
    const size_t begin = std::min(n, t * size);
    const size_t end = std::min(n, begin + size);
    if (begin >= end) continue;
    try {
      workers.emplace_back([&work, t, begin, end] { work(t, begin, end); });
    } catch (const std::system_error&) {
      here.push_back(t);
    }
  }
  for (size_t t : here) work(t, std::min(n, t * size), std::min(n, (t + 1) * size));
  for (std::thread& w : workers) w.join();
}

}  // namespace kestrova
