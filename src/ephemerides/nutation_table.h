// The IAU 1980 nutation series without its term in Omega alone.
#pragma once

#include <cstdint>

namespace kestrova {

// One term: multipliers of l, l', F, D, Om, then A + A' T10 (longitude, sine) and B + B' T10
// (obliquity, cosine) in units of 0.0001 second of arc; A' and B' are ten times the published
// rates per century because they multiply T10 = T / 10.
struct TNutationTerm {
  int8_t l, lp, F, D, Om;
  int32_t A, A1, B, B1;
};

inline constexpr int kNutationTermCount = 105;
extern const TNutationTerm kNutationTerms[kNutationTermCount];

}  // namespace kestrova
