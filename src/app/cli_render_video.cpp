#include "app/cli_render_video.h"

#include <unistd.h>

#include <chrono>
#include <iostream>

#include "app/cli.h"
#include "numerics/errors.h"
#include "numerics/julian_dates.h"
#include "scene/animation_video.h"
#include "streams/replacing_file.h"
#include "video/video_encoder.h"

namespace kestrova::cli {

namespace {

// "frame 12 of 250, 8 s left" rewritten in place on a terminal; nothing in a pipe or a log,
// where the lines would pile up.
TAnimationProgress TerminalProgress(std::ostream& err, int32_t frames) {
  if (&err != &std::cerr || !::isatty(STDERR_FILENO)) return {};
  const auto start = std::chrono::steady_clock::now();
  return [&err, frames, start](int32_t done) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double left = seconds / done * (frames - done);
    err << Format("\rframe %d of %d, %.0f s left ", done, frames, left);
    if (done == frames) err << "\n";
    err.flush();
    return true;
  };
}

}  // namespace

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
    WriteAnimation(scene, request, TerminalProgress(err, frames));
  } catch (const EKestrovaError& e) {
    err << "kestrova-cli render: " << e.what() << "\n";
    return kFailure;
  }
  // Not the name of a device or a FIFO: it may well be standard output itself.
  if (WriteKindOf(path) == TWriteKind::Replace) out << path << "\n";
  return kOk;
}

}  // namespace kestrova::cli
