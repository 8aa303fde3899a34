// Colours of the colour schemes.
#include "scene/colour_schemes.h"

#include <algorithm>

namespace kestrova {

TColor SchemeBackground(uint8_t scheme, TColor bgColor) {
  switch (scheme) {
    case 0:
    case 3:
      return kWhite;
    case 1:
      return kBlack;
    default:
      return bgColor;
  }
}

TColor SchemeColor(uint8_t scheme, TColor configured) {
  switch (scheme) {
    case 0:
      return kBlack;
    case 1:
      return kWhite;
    default:
      return configured;
  }
}

TColor ScaleColor(TColor color, int32_t percent) {
  TColor result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int64_t b = (color >> shift) & 0xFF;
    // A negative percent would otherwise borrow into the neighbouring component.
    const int64_t scaled = std::clamp<int64_t>(b * percent / 100, 0, 255);
    result |= TColor(scaled) << shift;
  }
  return result;
}

}  // namespace kestrova
