#include "scene/zoom.h"

#include <algorithm>
#include <cmath>

namespace kestrova {

long double DimOfPosition(int position) {
  return 0.003L * std::exp(static_cast<long double>(position) / 15.0L);
}

int PositionOfDim(long double dim) {
  if (!(dim > 0)) return kZoomPositionMin;
  // The small allowance keeps the position of DimOfPosition(p) at p despite rounding.
  const long double p = std::trunc(15.0L * std::log(dim / 0.003L) + 1e-9L);
  return int(std::clamp<long double>(p, kZoomPositionMin, kZoomPositionMax));
}

}  // namespace kestrova
