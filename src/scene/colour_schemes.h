// Colours of the four colour schemes and the colour scaling used for darker shades.
//
// Scheme 0 is black on white, 1 white on black, 2 the configured colours on the configured
// background, 3 the configured colours on white. The main window always paints with scheme 2;
// the others come from printing. Colours are 0x00BBGGRR.
#pragma once

#include <cstdint>

#include "scene/surface.h"

namespace kestrova {

inline constexpr TColor kBlack = 0x000000;
inline constexpr TColor kWhite = 0xFFFFFF;

// Background fill of a scheme: 0 and 3 white, 1 black, 2 (and anything else) bgColor.
TColor SchemeBackground(uint8_t scheme, TColor bgColor);

// Colour of a drawn element whose configured colour is `configured`: 0 black, 1 white, 2 and 3
// (and anything else) the configured colour. User-defined lines do not go through this rule.
TColor SchemeColor(uint8_t scheme, TColor configured);

// Each of red, green and blue times percent / 100 (integer division towards zero), kept within
// 0..255; the top byte is dropped. With 50 this is the darker shade of apsides, lines of nodes
// and Saturn's rings.
TColor ScaleColor(TColor color, int32_t percent);

}  // namespace kestrova
