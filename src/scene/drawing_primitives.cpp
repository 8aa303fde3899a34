// Device classes, dot patterns, the in-rectangle test and label placement.
#include "scene/drawing_primitives.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kestrova {

namespace {

// The plus and the square share their first five pixels.
constexpr std::array<TPixelOffset, 9> kSquare = {{
    {0, 0},
    {-1, 0},
    {0, -1},
    {1, 0},
    {0, 1},
    {-1, -1},
    {1, -1},
    {1, 1},
    {-1, 1},
}};

constexpr uint8_t DeviceClass(uint8_t device) {
  return device > 2 ? 2 : device;
}

}  // namespace

int32_t DotRadius(uint8_t device) {
  return 2 << DeviceClass(device);
}

int32_t SmallestSunRadius(uint8_t device) {
  return 3 << DeviceClass(device);
}

namespace {

int32_t Scaled(int32_t radius, double scale) {
  return scale > 1 ? int32_t(std::lround(radius * scale)) : radius;
}

int32_t SunRadiusAtLeast(int32_t width, Extended dim, int32_t smallest) {
  const Extended r = std::nearbyint(Extended(width) * 0.0093049372L / (dim * 4));
  if (!(r >= smallest)) return smallest;  // also a zero or damaged Dim
  // Zoomed in beyond any screen the disc still has to fit an int.
  return r < 1e9L ? int32_t(r) : 1000000000;
}

}  // namespace

int32_t SunRadius(int32_t width, Extended dim, uint8_t device) {
  return SunRadiusAtLeast(width, dim, SmallestSunRadius(device));
}

int32_t DotRadius(const TViewport& viewport) {
  return Scaled(DotRadius(viewport.Device), viewport.MarkScale);
}

int32_t SunRadius(int32_t width, Extended dim, const TViewport& viewport) {
  return SunRadiusAtLeast(width, dim,
                          Scaled(SmallestSunRadius(viewport.Device), viewport.MarkScale));
}

std::span<const TPixelOffset> OrbitDotPattern(uint8_t device) {
  static constexpr size_t kCounts[] = {1, 5, 9};
  return std::span<const TPixelOffset>(kSquare.data(), kCounts[DeviceClass(device)]);
}

void PlotDotPattern(TSurface& surface, uint8_t device, int32_t x, int32_t y, TColor color) {
  for (const TPixelOffset& o : OrbitDotPattern(device)) surface.SetPixel(x + o.dx, y + o.dy, color);
}

void AppendDotPattern(std::vector<TPixel>& crowd, uint8_t device, int32_t x, int32_t y,
                      TColor color) {
  for (const TPixelOffset& o : OrbitDotPattern(device))
    crowd.push_back({x + o.dx, y + o.dy, color});
}

bool InRect(const TRect& rect, int32_t x, int32_t y) {
  const int64_t right = int64_t(rect.Left) + rect.Width;
  const int64_t bottom = int64_t(rect.Top) + rect.Height;
  return rect.Left <= x && x <= right && rect.Top <= y && y <= bottom;
}

TPoint NameOrigin(int32_t x, int32_t y, int32_t r, int32_t h) {
  return {x + r + 2, y - h / 2};
}

TPoint ApsisLabelOrigin(int32_t x, int32_t y, int32_t h) {
  return {x + 4, y - h / 2};
}

}  // namespace kestrova
