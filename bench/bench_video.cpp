// The animation as a video: 250 frames of the scene the program starts with, 500 pixels a side,
// a day apart, painted on this thread and encoded on the encoder's, in each type. The counters
// give the file's size and the frames per second of the whole.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <filesystem>

#include "bench_application.h"
#include "scene/animation_video.h"
#include "scene/picture_render.h"
#include "scene/solar_system.h"

namespace {

using namespace kestrova;

const TDateRec kDate{1, 1, 2020, 0, 0, 0, 0};
constexpr int32_t kFrames = 250;

void BM_Video(benchmark::State& state, const char* extension) {
  EnsureBenchApplication();
  TSolarSystem scene(kDate);
  QTemporaryDir dir;
  TAnimationRequest request;
  request.Path = dir.filePath(QStringLiteral("animation") + extension).toStdString();
  request.Frames = kFrames;
  request.Size = 500;
  const Extended jd0 = DateToJD(kDate);
  request.DateOf = [jd0](int32_t i) { return JDToDate(0, jd0 + i); };
  for (auto _ : state) WriteAnimation(scene, request, {});
  state.counters["bytes"] = double(std::filesystem::file_size(request.Path));
  state.counters["frames/s"] =
      benchmark::Counter(double(kFrames) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(BM_Video, webm, ".webm")->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(BM_Video, mp4, ".mp4")->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(BM_Video, webp, ".webp")->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(BM_Video, gif, ".gif")->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// The frames alone, painted and dropped, for comparison: what the encoder adds is the rest.
void BM_VideoFramesOnly(benchmark::State& state) {
  EnsureBenchApplication();
  TSolarSystem scene(kDate);
  const Extended jd0 = DateToJD(kDate);
  for (auto _ : state) {
    for (int32_t i = 0; i < kFrames; ++i) {
      const TDateRec date = JDToDate(0, jd0 + i);
      scene.SetDate(date);
      benchmark::DoNotOptimize(RenderPicture(scene, 500, date));
    }
  }
}
BENCHMARK(BM_VideoFramesOnly)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
