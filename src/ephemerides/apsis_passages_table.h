// Passage tables of Uranus and Neptune.
#pragma once

#include <cstdint>

namespace kestrova {

extern const int32_t kUranusAphelia[77];
extern const int32_t kNeptuneAphelia[40];
extern const int32_t kUranusPerihelia[79];
extern const int32_t kNeptunePerihelia[39];

}  // namespace kestrova
