// Marker sizes and pixel patterns of the three device classes, the in-rectangle test and the
// placement of labels: the pieces every body drawing shares.
//
// Device 0 is the screen or a picture, 1 a printer page whose square side is at most 3200
// pixels, 2 a larger printer page. Markers grow with the device so that they keep about the same
// size on paper.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "numerics/extended.h"
#include "scene/surface.h"

namespace kestrova {

struct TPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TPixelOffset {
  int8_t dx;
  int8_t dy;
};

// Radius in pixels of markers, satellites, minor bodies and the smallest planet disc: 2, 4, 8.
// Device numbers above 2 count as 2.
int32_t DotRadius(uint8_t device);

// Smallest radius of the Sun's disc: 3, 6, 12.
int32_t SmallestSunRadius(uint8_t device);

// Radius of the Sun's disc on a drawing rectangle `width` pixels wide showing +-dim AU: its true
// size (diameter 0.0093049372 AU) rounded to the nearest pixel, ties to even, and at least
// SmallestSunRadius.
int32_t SunRadius(int32_t width, Extended dim, uint8_t device);

// The same for a viewport: the device's radii times its MarkScale, rounded.
int32_t DotRadius(const TViewport& viewport);
int32_t SunRadius(int32_t width, Extended dim, const TViewport& viewport);

// The pixels of one orbit dot around (0, 0): the single pixel on device 0, a plus of five on
// device 1, a 3 by 3 square on device 2, the centre first.
std::span<const TPixelOffset> OrbitDotPattern(uint8_t device);

// Sets the pixels of the device's orbit dot around (x, y).
void PlotDotPattern(TSurface& surface, uint8_t device, int32_t x, int32_t y, TColor color);
// Appends them to a crowd handed to TSurface::SetPixels later.
void AppendDotPattern(std::vector<TPixel>& crowd, uint8_t device, int32_t x, int32_t y,
                      TColor color);

// Whether (x, y) counts as inside the drawing rectangle; both ends are included, so the column
// Left + Width and the row Top + Height are inside.
bool InRect(const TRect& rect, int32_t x, int32_t y);

// Top-left corner of a body's name next to its disc of radius r at (x, y), for text height h.
TPoint NameOrigin(int32_t x, int32_t y, int32_t r, int32_t h);
// Top-left corner of an apsis label next to the apsis at (x, y).
TPoint ApsisLabelOrigin(int32_t x, int32_t y, int32_t h);

}  // namespace kestrova
