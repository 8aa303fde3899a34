// kestrova-cli render --video: the frames of a render as one video or animated picture.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "numerics/extended.h"

namespace kestrova {
class TSolarSystem;
}

namespace kestrova::cli {

// Writes `frames` pictures of side `size`, the first at Julian date jd0 and each next one `step`
// days later, into the video `path`, whose type follows its extension; prints the path on `out`
// when it is written. A progress line goes to standard error while it is a terminal. Returns
// kOk, kBadInput for a name that is no video type, or kFailure with the message on `err` when
// the file cannot be written (nothing is left then).
int RenderVideo(TSolarSystem& scene, const std::string& path, Extended jd0, int32_t frames,
                Extended step, int32_t size, std::ostream& out, std::ostream& err);

}  // namespace kestrova::cli
