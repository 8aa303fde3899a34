// The animation as one file: for each date, the picture "Save as bitmap" makes of the scene
// (header included), handed to the video encoder while the next one is painted.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "numerics/julian_dates.h"
#include "video/video_encoder.h"

namespace kestrova {

class TSolarSystem;

struct TAnimationRequest {
  std::string Path;  // the type follows the extension (VideoTypeOf)
  int32_t Frames = 0;
  int32_t Size = 500;  // the pictures' side in pixels
  int32_t Fps = 25;
  uint8_t Scheme = 2;  // the colour scheme, as the scene's Paint takes it
  // The date of frame 0, 1, ...: the scene is set to it and the header names it.
  std::function<TDateRec(int32_t frame)> DateOf;
};

// After each frame handed to the encoder: frames done so far; false stops the animation.
using TAnimationProgress = std::function<bool(int32_t framesDone)>;

// Writes the animation and returns true, or returns false when `progress` stopped it (nothing
// is written then). The scene goes back to its date afterwards, also after a failure. Raises
// EKestrovaError, leaving no file, when the name has no video type, there are no frames, or the
// file cannot be written.
bool WriteAnimation(TSolarSystem& scene, const TAnimationRequest& request,
                    const TAnimationProgress& progress);

}  // namespace kestrova
