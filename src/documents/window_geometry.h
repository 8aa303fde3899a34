// Window places in screen pixels, and where the three windows of the desktop program stand
// when neither the settings nor a document says otherwise.
#pragma once

#include <cstdint>

namespace kestrova {

struct TWindowGeometry {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  friend bool operator==(const TWindowGeometry&, const TWindowGeometry&) = default;
};

inline constexpr TWindowGeometry kMainWindowStart{508, 260, 744, 631};
inline constexpr int32_t kMainWindowMinWidth = 674;
inline constexpr int32_t kMainWindowMinHeight = 550;
inline constexpr TWindowGeometry kDescriptionWindowStart{635, 130, 335, 292};
// The monitor's size follows its row layout; only its place is kept.
inline constexpr int32_t kMonitorStartLeft = 891;
inline constexpr int32_t kMonitorStartTop = 478;

}  // namespace kestrova
