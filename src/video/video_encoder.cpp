// The animation written through FFmpeg's libraries: VP9 in WebM, H.264 in MP4, animated WebP
// through libwebp's encoder in FFmpeg, GIF with a palette of each frame's own colours. Frames are
// encoded on a thread of their own behind a short queue; the file goes through TReplacingFile,
// so a failure or a cancel never leaves half a video under the target's name.
#include "video/video_encoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "numerics/errors.h"
#include "streams/replacing_file.h"

namespace kestrova {

namespace {

// Frames rendered ahead of the encoder: enough to even out a slow frame on either side, few
// enough that a large picture does not fill the memory.
constexpr size_t kQueuedFrames = 4;

constexpr int32_t kMaxSide = 8192;

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string AvMessage(int error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(error, text, sizeof text);
  return text;
}

struct TTypeParts {
  const char* Muxer;
  const char* Codec;
  AVPixelFormat PixelFormat;
  // H.264's 4:2:0 pictures need even sides: an odd side gets its last row or column repeated.
  bool EvenSides;
};

TTypeParts PartsOf(TVideoType type) {
  switch (type) {
    case TVideoType::WebM:
      return {"webm", "libvpx-vp9", AV_PIX_FMT_YUV420P, false};
    case TVideoType::Mp4:
      return {"mp4", "libx264", AV_PIX_FMT_YUV420P, true};
    case TVideoType::WebP:
      return {"webp", "libwebp_anim", AV_PIX_FMT_RGB32, false};
    case TVideoType::Gif:
      return {"gif", "gif", AV_PIX_FMT_PAL8, false};
  }
  return {"webm", "libvpx-vp9", AV_PIX_FMT_YUV420P, false};
}

// The codec's options, chosen so that encoding keeps pace with rendering on one core: VP9 in
// real-time mode at constant quality, H.264 with a fast preset, WebP lossless (line drawings on a
// plain background are smaller and sharp that way) at low effort.
void SetCodecOptions(TVideoType type, AVCodecContext* codec, AVDictionary** options) {
  switch (type) {
    case TVideoType::WebM:
      av_dict_set(options, "deadline", "realtime", 0);
      av_dict_set(options, "cpu-used", "8", 0);
      av_dict_set(options, "row-mt", "1", 0);
      av_dict_set(options, "crf", "30", 0);
      codec->bit_rate = 0;
      break;
    case TVideoType::Mp4:
      av_dict_set(options, "preset", "veryfast", 0);
      av_dict_set(options, "tune", "animation", 0);
      av_dict_set(options, "crf", "20", 0);
      break;
    case TVideoType::WebP:
      av_dict_set(options, "lossless", "1", 0);
      av_dict_set(options, "compression_level", "0", 0);
      break;
    case TVideoType::Gif:
      break;
  }
  codec->thread_count = 1;
}

// The bytes of the muxer go to the replacing file's stream.
int WritePacket(void* opaque, uint8_t* bytes, int size) {
  std::FILE* file = static_cast<std::FILE*>(opaque);
  errno = 0;
  if (std::fwrite(bytes, 1, size_t(size), file) != size_t(size))
    return AVERROR(errno != 0 ? errno : EIO);
  return size;
}

int64_t SeekFile(void* opaque, int64_t offset, int whence) {
  std::FILE* file = static_cast<std::FILE*>(opaque);
  if (whence & AVSEEK_SIZE) {
    if (std::fflush(file) != 0) return AVERROR(errno);
    struct stat info;
    if (::fstat(fileno(file), &info) != 0) return AVERROR(errno);
    return info.st_size;
  }
  if (::fseeko(file, off_t(offset), whence & ~AVSEEK_FORCE) != 0) return AVERROR(errno);
  return ::ftello(file);
}

// One frame's pixels as 8-bit indices into a palette of its own colours. A frame of more than
// 256 colours (smoothed letters) keeps its 256 most frequent ones, which are the plot's own, and
// gives every other colour the nearest of them.
void ToPalette(const uint8_t* pixels, int32_t width, int32_t height, AVFrame* frame) {
  auto* palette = reinterpret_cast<uint32_t*>(frame->data[1]);
  const auto pixel = [&](int32_t x, int32_t y) {
    return reinterpret_cast<const uint32_t*>(pixels + size_t(y) * size_t(width) * 4)[x] |
           0xff000000u;
  };
  std::unordered_map<uint32_t, uint32_t> counts;
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) ++counts[pixel(x, y)];
  std::vector<std::pair<uint32_t, uint32_t>> byCount(counts.begin(), counts.end());
  std::sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) {
    return a.second != b.second ? a.second > b.second : a.first < b.first;
  });
  const size_t kept = std::min<size_t>(byCount.size(), 256);
  std::unordered_map<uint32_t, uint8_t> index;
  for (size_t i = 0; i < 256; ++i) palette[i] = i < kept ? byCount[i].first : 0xff000000u;
  for (size_t i = 0; i < kept; ++i) index.emplace(byCount[i].first, uint8_t(i));
  for (size_t i = kept; i < byCount.size(); ++i) {
    const uint32_t c = byCount[i].first;
    int best = 0;
    int bestDistance = 1 << 30;
    for (size_t j = 0; j < kept; ++j) {
      int distance = 0;
      for (int shift : {0, 8, 16}) {
        const int d = int(c >> shift & 0xff) - int(palette[j] >> shift & 0xff);
        distance += d * d;
      }
      if (distance < bestDistance) {
        bestDistance = distance;
        best = int(j);
      }
    }
    index.emplace(c, uint8_t(best));
  }
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* out = frame->data[0] + size_t(y) * size_t(frame->linesize[0]);
    for (int32_t x = 0; x < width; ++x) out[x] = index.at(pixel(x, y));
  }
}

class TFfmpegEncoder final : public TVideoEncoder {
 public:
  TFfmpegEncoder(const std::string& path, const TVideoSettings& settings);
  ~TFfmpegEncoder() override;

  void AddFrame(const uint8_t* pixels, int32_t stride) override;
  void Finish() override;
  void Cancel() override;
  int32_t FramesEncoded() const override;

 private:
  void Encode();
  void EncodeFrame(const std::vector<uint8_t>& pixels);
  // Sends a frame (nullptr: the end) and writes the packets the codec has ready.
  void Send(AVFrame* frame);
  void Check(int result, const char* what);
  // Lets the thread encode what is queued (or drops it) and waits for it to end.
  void StopThread(bool dropQueued);
  void Release();
  void RaiseStoredError();

  std::string path_;
  TVideoSettings settings_;
  TTypeParts parts_;
  int32_t width_ = 0;  // the encoded size: the picture's, sides made even where the codec needs
  int32_t height_ = 0;

  std::unique_ptr<TReplacingFile> file_ = std::make_unique<TReplacingFile>();
  AVFormatContext* format_ = nullptr;
  AVCodecContext* codec_ = nullptr;
  AVStream* stream_ = nullptr;
  AVIOContext* io_ = nullptr;
  SwsContext* scale_ = nullptr;
  AVFrame* frame_ = nullptr;
  AVPacket* packet_ = nullptr;
  int64_t nextPts_ = 0;

  std::thread worker_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::vector<uint8_t>> queue_;
  std::vector<std::vector<uint8_t>> spare_;
  bool closing_ = false;
  bool failed_ = false;
  std::string error_;
  int32_t encoded_ = 0;
  int32_t added_ = 0;
  bool done_ = false;
};

TFfmpegEncoder::TFfmpegEncoder(const std::string& path, const TVideoSettings& settings)
    : path_(path), settings_(settings), parts_(PartsOf(settings.Type)) {
  if (settings.Width < 2 || settings.Height < 2 || settings.Width > kMaxSide ||
      settings.Height > kMaxSide)
    throw EKestrovaError(Format("A video cannot be %d x %d pixels (2 to %d on each side).",
                                settings.Width, settings.Height, kMaxSide));
  if (settings.Fps < 1 || settings.Fps > 100)
    throw EKestrovaError(
        Format("A video cannot have %d frames per second (1 to 100).", settings.Fps));
  width_ = parts_.EvenSides ? (settings.Width + 1) / 2 * 2 : settings.Width;
  height_ = parts_.EvenSides ? (settings.Height + 1) / 2 * 2 : settings.Height;
  try {
    const AVCodec* codec = avcodec_find_encoder_by_name(parts_.Codec);
    if (!codec)
      throw EKestrovaError(Format("This system's FFmpeg has no %s encoder for %s files.",
                                  parts_.Codec, VideoExtension(settings.Type).c_str()));
    Check(avformat_alloc_output_context2(&format_, nullptr, parts_.Muxer, nullptr),
          "Cannot make the file");
    stream_ = avformat_new_stream(format_, nullptr);
    codec_ = avcodec_alloc_context3(codec);
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (!stream_ || !codec_ || !frame_ || !packet_) Check(AVERROR(ENOMEM), "Cannot make the file");
    codec_->width = width_;
    codec_->height = height_;
    codec_->time_base = AVRational{1, settings.Fps};
    codec_->framerate = AVRational{settings.Fps, 1};
    codec_->pix_fmt = parts_.PixelFormat;
    codec_->gop_size = settings.Fps * 2;
    if (parts_.PixelFormat == AV_PIX_FMT_YUV420P) {
      // What swscale makes of the pictures, said in the file so that players show the colours.
      codec_->colorspace = AVCOL_SPC_SMPTE170M;
      codec_->color_primaries = AVCOL_PRI_SMPTE170M;
      codec_->color_trc = AVCOL_TRC_SMPTE170M;
      codec_->color_range = AVCOL_RANGE_MPEG;
    }
    if (format_->oformat->flags & AVFMT_GLOBALHEADER) codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    SetCodecOptions(settings.Type, codec_, &options);
    const int opened = avcodec_open2(codec_, codec, &options);
    av_dict_free(&options);
    Check(opened, "Cannot start the encoder");
    Check(avcodec_parameters_from_context(stream_->codecpar, codec_), "Cannot start the encoder");
    stream_->time_base = codec_->time_base;
    stream_->avg_frame_rate = codec_->framerate;

    frame_->format = parts_.PixelFormat;
    frame_->width = width_;
    frame_->height = height_;
    Check(av_frame_get_buffer(frame_, 0), "Cannot start the encoder");
    if (parts_.PixelFormat != AV_PIX_FMT_PAL8) {
      scale_ =
          sws_getContext(width_, height_, AV_PIX_FMT_RGB32, width_, height_, parts_.PixelFormat,
                         SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
      if (!scale_) Check(AVERROR(ENOMEM), "Cannot start the encoder");
    }

    if (!file_->Open(path))
      throw EKestrovaError("Error Opening File " + path + "! " + std::strerror(errno));
    // MP4 writes its index last and goes back for the sizes it left open.
    if (settings.Type == TVideoType::Mp4 && file_->InPlace())
      throw EKestrovaError(
          path + ": an MP4 video needs a file; a pipe or a device takes WebM, WebP or GIF.");
    constexpr int kBufferSize = 1 << 16;
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
    io_ = avio_alloc_context(buffer, kBufferSize, 1, file_->Stream(), nullptr, WritePacket,
                             file_->InPlace() ? nullptr : SeekFile);
    if (!io_) {
      av_free(buffer);
      Check(AVERROR(ENOMEM), "Cannot make the file");
    }
    io_->seekable = file_->InPlace() ? 0 : AVIO_SEEKABLE_NORMAL;
    format_->pb = io_;
    Check(avformat_write_header(format_, nullptr), "Error Writing Video File!");
  } catch (...) {
    Release();
    throw;
  }
  worker_ = std::thread([this] { Encode(); });
}

TFfmpegEncoder::~TFfmpegEncoder() {
  if (!done_) Cancel();
}

void TFfmpegEncoder::Check(int result, const char* what) {
  if (result >= 0) return;
  throw EKestrovaError(Format("%s %s: %s", what, path_.c_str(), AvMessage(result).c_str()));
}

void TFfmpegEncoder::Release() {
  sws_freeContext(scale_);
  scale_ = nullptr;
  av_frame_free(&frame_);
  av_packet_free(&packet_);
  avcodec_free_context(&codec_);
  if (io_) {
    av_freep(&io_->buffer);
    avio_context_free(&io_);
  }
  if (format_) {
    format_->pb = nullptr;
    avformat_free_context(format_);
    format_ = nullptr;
  }
}

void TFfmpegEncoder::AddFrame(const uint8_t* pixels, int32_t stride) {
  std::vector<uint8_t> copy;
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queue_.size() < kQueuedFrames || failed_ || closing_; });
    RaiseStoredError();
    if (closing_) throw EKestrovaError("The video " + path_ + " is closed.");
    if (!spare_.empty()) {
      copy = std::move(spare_.back());
      spare_.pop_back();
    }
  }
  // The copy is made outside the lock so that the encoder goes on meanwhile; the last row and
  // column are repeated where the encoded size is larger.
  const size_t rowBytes = size_t(width_) * 4;
  copy.resize(rowBytes * size_t(height_));
  for (int32_t y = 0; y < height_; ++y) {
    const uint8_t* from = pixels + size_t(std::min(y, settings_.Height - 1)) * size_t(stride);
    uint8_t* to = copy.data() + size_t(y) * rowBytes;
    std::memcpy(to, from, size_t(settings_.Width) * 4);
    for (int32_t x = settings_.Width; x < width_; ++x)
      std::memcpy(to + size_t(x) * 4, from + size_t(settings_.Width - 1) * 4, 4);
  }
  std::lock_guard lock(mutex_);
  queue_.push_back(std::move(copy));
  ++added_;
  changed_.notify_all();
}

void TFfmpegEncoder::Encode() {
  for (;;) {
    std::vector<uint8_t> pixels;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return !queue_.empty() || closing_; });
      if (queue_.empty() || failed_) return;
      pixels = std::move(queue_.front());
      queue_.pop_front();
    }
    try {
      EncodeFrame(pixels);
    } catch (const EKestrovaError& e) {
      std::lock_guard lock(mutex_);
      failed_ = true;
      error_ = e.what();
      queue_.clear();
      changed_.notify_all();
      return;
    }
    std::lock_guard lock(mutex_);
    ++encoded_;
    spare_.push_back(std::move(pixels));
    changed_.notify_all();
  }
}

void TFfmpegEncoder::EncodeFrame(const std::vector<uint8_t>& pixels) {
  Check(av_frame_make_writable(frame_), "Error Writing Video File!");
  if (scale_) {
    const uint8_t* planes[1] = {pixels.data()};
    const int strides[1] = {width_ * 4};
    sws_scale(scale_, planes, strides, 0, height_, frame_->data, frame_->linesize);
  } else {
    ToPalette(pixels.data(), width_, height_, frame_);
  }
  frame_->pts = nextPts_++;
  Send(frame_);
}

void TFfmpegEncoder::Send(AVFrame* frame) {
  Check(avcodec_send_frame(codec_, frame), "Error Writing Video File!");
  for (;;) {
    const int received = avcodec_receive_packet(codec_, packet_);
    if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return;
    Check(received, "Error Writing Video File!");
    av_packet_rescale_ts(packet_, codec_->time_base, stream_->time_base);
    packet_->stream_index = stream_->index;
    const int written = av_interleaved_write_frame(format_, packet_);
    av_packet_unref(packet_);
    Check(written, "Error Writing Video File!");
    if (io_->error < 0) Check(io_->error, "Error Writing Video File!");
  }
}

void TFfmpegEncoder::RaiseStoredError() {
  if (failed_) throw EKestrovaError(error_);
}

void TFfmpegEncoder::StopThread(bool dropQueued) {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
    if (dropQueued) queue_.clear();
    changed_.notify_all();
  }
  if (worker_.joinable()) worker_.join();
}

void TFfmpegEncoder::Finish() {
  if (done_) throw EKestrovaError("The video " + path_ + " is closed.");
  StopThread(false);
  try {
    {
      std::lock_guard lock(mutex_);
      RaiseStoredError();
      if (added_ == 0) throw EKestrovaError("A video needs at least one frame.");
    }
    Send(nullptr);
    Check(av_write_trailer(format_), "Error Writing Video File!");
    avio_flush(io_);
    if (io_->error < 0) Check(io_->error, "Error Writing Video File!");
    file_->Commit();
  } catch (const EKestrovaError&) {
    Cancel();
    throw;
  }
  done_ = true;
  Release();
}

void TFfmpegEncoder::Cancel() {
  StopThread(true);
  done_ = true;
  Release();
  // The temporary file goes with it; the target is untouched.
  file_.reset();
}

int32_t TFfmpegEncoder::FramesEncoded() const {
  std::lock_guard lock(mutex_);
  return encoded_;
}

}  // namespace

std::optional<TVideoType> VideoTypeOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  const std::string extension = Lower(path.substr(dot));
  for (const TVideoType type :
       {TVideoType::WebM, TVideoType::Mp4, TVideoType::WebP, TVideoType::Gif})
    if (extension == VideoExtension(type)) return type;
  return {};
}

std::string VideoExtension(TVideoType type) {
  switch (type) {
    case TVideoType::WebM:
      return ".webm";
    case TVideoType::Mp4:
      return ".mp4";
    case TVideoType::WebP:
      return ".webp";
    case TVideoType::Gif:
      return ".gif";
  }
  return "";
}

std::string UnknownVideoTypeMessage(const std::string& path) {
  return Format("%s: the name must end in .webm, .mp4, .webp or .gif for the type of the video",
                path.c_str());
}

std::unique_ptr<TVideoEncoder> OpenVideo(const std::string& path, const TVideoSettings& settings) {
  // The libraries' own chatter (codec banners, statistics) would land on the terminal; what
  // goes wrong reaches the user as this module's messages instead.
  static std::once_flag quiet;
  std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
  return std::make_unique<TFfmpegEncoder>(path, settings);
}

}  // namespace kestrova
