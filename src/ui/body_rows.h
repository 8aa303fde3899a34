// The rows of the lists that choose the Sun or a planet (the main window's centre list, the
// line dialog's body boxes, the monitor's "Show"), and the body numbers they stand for.
#pragma once

#include <array>
#include <cstdint>

namespace kestrova {

inline constexpr std::array<const char*, 10> kBodyRowTexts = {
    "Sun", "Mercury", "Venus", "Earth", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto"};
// Body numbers: 0 Earth, 1 Mercury, ..., 8 Pluto, 9 the Sun.
inline constexpr std::array<int32_t, 10> kBodyOfRow = {9, 1, 2, 0, 3, 4, 5, 6, 7, 8};

// The row of body 0..9; -1 for any other number.
constexpr int RowOfBody(int32_t body) {
  for (int row = 0; row < 10; ++row) {
    if (kBodyOfRow[size_t(row)] == body) return row;
  }
  return -1;
}

}  // namespace kestrova
