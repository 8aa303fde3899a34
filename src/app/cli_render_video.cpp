#include "app/cli_render_video.h"

#include <iostream>

#include "app/cli.h"
#include "app/progress_line.h"
#include "numerics/errors.h"
#include "numerics/julian_dates.h"
#include "scene/animation_video.h"
#include "streams/replacing_file.h"
#include "video/video_encoder.h"

namespace kestrova::cli {

int RenderVideo(TSolarSystem& scene, const std::string& path, Extended jd0, int32_t frames,
                Extended step, int32_t size, std::ostream& out, std::ostream& err) {
  if (!VideoTypeOf(path)) {
    err << "kestrova-cli render: --video " << UnknownVideoTypeMessage(Excerpt(path)) << "\n";
    return kBadInput;
  }
  TAnimationRequest request;
  request.Path = path;
  request.Frames = frames;
  request.Size = size;
  // Each frame's date from the first, so that steps do not pile up rounding.
  request.DateOf = [jd0, step](int32_t i) { return JDToDate(0, jd0 + i * step); };
  try {
    // On a terminal one line follows the frames; the file's name still goes to standard output.
    TProgressLine progress(err, TProgressLine::OnTerminal(err), "render");
    WriteAnimation(scene, request, [&](int32_t done) {
      progress.Show("frames", done, frames, "");
      return true;
    });
  } catch (const EKestrovaError& e) {
    err << "kestrova-cli render: " << e.what() << "\n";
    return kFailure;
  }
  // Not the name of a device or a FIFO: it may well be standard output itself.
  if (WriteKindOf(path) == TWriteKind::Replace) out << path << "\n";
  return kOk;
}

}  // namespace kestrova::cli
