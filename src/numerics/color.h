// Colours as every layer holds them.
#pragma once

#include <cstdint>

namespace kestrova {

// 0x00BBGGRR: red in the low byte.
using TColor = uint32_t;

}  // namespace kestrova
