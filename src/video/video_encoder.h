// The animation as one file: a video (WebM, MP4) or an animated picture (WebP, GIF) written from
// frames of 32-bit pixels. This is all the scene and the windows know of the encoder; which
// library does the work stays behind OpenVideo.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kestrova {

// The kinds of file an animation can be saved as.
enum class TVideoType {
  WebM,  // VP9 video
  Mp4,   // H.264 video
  WebP,  // animated WebP picture
  Gif,   // animated GIF picture
};

// The type a file name asks for by its extension (".webm", ".mp4", ".webp", ".gif", in any
// case), or none.
std::optional<TVideoType> VideoTypeOf(const std::string& path);

// The extension of the type, dot included (".webm").
std::string VideoExtension(TVideoType type);

// The message for a name whose extension is no video type.
std::string UnknownVideoTypeMessage(const std::string& path);

struct TVideoSettings {
  int32_t Width = 0;   // pixels, 2 .. 8192
  int32_t Height = 0;  // pixels, 2 .. 8192
  int32_t Fps = 25;    // frames per second, 1 .. 100
  TVideoType Type = TVideoType::WebM;
};

// Frames go in one by one while a thread of the encoder's own compresses the previous ones, so
// that rendering the next picture and encoding the last one share two cores. A few frames wait
// in between; AddFrame blocks while the encoder is that far behind.
class TVideoEncoder {
 public:
  virtual ~TVideoEncoder() = default;

  // Adds the next frame: Height rows of Width pixels 0xffRRGGBB (QImage's Format_RGB32),
  // `stride` bytes apart. The pixels are copied before it returns. Raises EKestrovaError when
  // encoding or writing an earlier frame failed; the file is then gone.
  virtual void AddFrame(const uint8_t* pixels, int32_t stride) = 0;

  // Encodes what is left, completes the file and puts it in place of the target. Raises
  // EKestrovaError (the target stays as it was, nothing else is left) when that fails or no
  // frame was added.
  virtual void Finish() = 0;

  // Stops encoding and removes what was written; the target stays as it was. The destructor
  // cancels too, when Finish has not succeeded.
  virtual void Cancel() = 0;

  // Frames encoded so far (for progress).
  virtual int32_t FramesEncoded() const = 0;
};

// Starts writing an animation of the given type to `path`. The bytes go to a temporary file
// beside the target that replaces it on Finish; a character device or a FIFO is written in
// place (MP4 needs a file it can seek in). Raises EKestrovaError "Error Opening File <path>!
// REASON" when the file cannot be created, and a message naming the size, rate or codec that
// cannot be used.
std::unique_ptr<TVideoEncoder> OpenVideo(const std::string& path, const TVideoSettings& settings);

}  // namespace kestrova
