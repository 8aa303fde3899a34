#include "scene/animation_video.h"

#include <QImage>

#include "numerics/errors.h"
#include "scene/picture_render.h"
#include "scene/solar_system.h"

namespace kestrova {

namespace {

// Sets the scene back to its date when the animation ends, however it ends.
class TDateKeeper {
 public:
  explicit TDateKeeper(TSolarSystem& scene) : scene_(scene), date_(scene.SceneDate()) {}
  ~TDateKeeper() {
    try {
      scene_.SetDate(date_);
    } catch (...) {
      // The date was the scene's own a moment ago; it computed then and computes now.
    }
  }
  TDateKeeper(const TDateKeeper&) = delete;
  TDateKeeper& operator=(const TDateKeeper&) = delete;

 private:
  TSolarSystem& scene_;
  TDateRec date_;
};

}  // namespace

bool WriteAnimation(TSolarSystem& scene, const TAnimationRequest& request,
                    const TAnimationProgress& progress) {
  const std::optional<TVideoType> type = VideoTypeOf(request.Path);
  if (!type) throw EKestrovaError(UnknownVideoTypeMessage(request.Path));
  if (request.Frames < 1) throw EKestrovaError("A video needs at least one frame.");
  std::unique_ptr<TVideoEncoder> video =
      OpenVideo(request.Path, {request.Size, request.Size, request.Fps, *type});
  TDateKeeper keeper(scene);
  for (int32_t i = 0; i < request.Frames; ++i) {
    const TDateRec date = request.DateOf(i);
    scene.SetDate(date);
    const QImage picture = RenderPicture(scene, request.Size, date, request.Scheme);
    video->AddFrame(picture.constBits(), int32_t(picture.bytesPerLine()));
    if (progress && !progress(i + 1)) {
      video->Cancel();
      return false;
    }
  }
  video->Finish();
  return true;
}

}  // namespace kestrova
