// Reads a written animation back, as a player would: the container's codec, size and frame rate
// and every frame as 0xffRRGGBB pixels. Videos and GIF through FFmpeg's decoders; animated WebP
// through libwebp's own decoder, which FFmpeg's WebP decoder does not handle.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}
#include <webp/demux.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kestrova::testing {

struct TDecodedVideo {
  std::string Codec;  // FFmpeg's name: "vp9", "h264", "gif"; "webp"
  int32_t Width = 0;
  int32_t Height = 0;
  double Fps = 0;
  std::vector<std::vector<uint32_t>> Frames;
  std::string Error;  // why the file could not be read; empty when it was
};

inline TDecodedVideo DecodeWebP(const std::string& path) {
  TDecodedVideo video;
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  WebPData data{reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
  WebPAnimDecoderOptions options;
  WebPAnimDecoderOptionsInit(&options);
  options.color_mode = MODE_BGRA;  // 0xAARRGGBB in a little-endian uint32_t
  WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
  if (!decoder) {
    video.Error = "no animated WebP";
    return video;
  }
  WebPAnimInfo info;
  WebPAnimDecoderGetInfo(decoder, &info);
  video.Codec = "webp";
  video.Width = int32_t(info.canvas_width);
  video.Height = int32_t(info.canvas_height);
  int previous = 0;
  int duration = 0;
  while (WebPAnimDecoderHasMoreFrames(decoder)) {
    uint8_t* pixels = nullptr;
    int timestamp = 0;
    if (!WebPAnimDecoderGetNext(decoder, &pixels, &timestamp)) {
      video.Error = "broken frame";
      break;
    }
    const auto* p = reinterpret_cast<const uint32_t*>(pixels);
    video.Frames.emplace_back(p, p + size_t(video.Width) * size_t(video.Height));
    duration = timestamp - previous;
    previous = timestamp;
  }
  if (duration > 0) video.Fps = 1000.0 / duration;
  WebPAnimDecoderDelete(decoder);
  return video;
}

inline TDecodedVideo DecodeVideo(const std::string& path) {
  if (path.size() > 5 && path.substr(path.size() - 5) == ".webp") return DecodeWebP(path);
  TDecodedVideo video;
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) {
    video.Error = "cannot open";
    return video;
  }
  avformat_find_stream_info(format, nullptr);
  const AVCodec* codec = nullptr;
  const int index = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
  if (index < 0 || !codec) {
    video.Error = "no video stream";
    avformat_close_input(&format);
    return video;
  }
  const AVStream* stream = format->streams[index];
  video.Codec = avcodec_get_name(stream->codecpar->codec_id);
  video.Width = stream->codecpar->width;
  video.Height = stream->codecpar->height;
  video.Fps = av_q2d(stream->avg_frame_rate.num ? stream->avg_frame_rate : stream->r_frame_rate);
  AVCodecContext* decoder = avcodec_alloc_context3(codec);
  avcodec_parameters_to_context(decoder, stream->codecpar);
  avcodec_open2(decoder, codec, nullptr);
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  SwsContext* scale = nullptr;
  const auto take = [&] {
    while (avcodec_receive_frame(decoder, frame) >= 0) {
      scale = sws_getCachedContext(scale, frame->width, frame->height, AVPixelFormat(frame->format),
                                   frame->width, frame->height, AV_PIX_FMT_RGB32,
                                   SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
      std::vector<uint32_t> pixels(size_t(frame->width) * size_t(frame->height));
      uint8_t* planes[1] = {reinterpret_cast<uint8_t*>(pixels.data())};
      const int strides[1] = {frame->width * 4};
      sws_scale(scale, frame->data, frame->linesize, 0, frame->height, planes, strides);
      video.Frames.push_back(std::move(pixels));
    }
  };
  while (av_read_frame(format, packet) >= 0) {
    if (packet->stream_index == index) {
      avcodec_send_packet(decoder, packet);
      take();
    }
    av_packet_unref(packet);
  }
  avcodec_send_packet(decoder, nullptr);
  take();
  sws_freeContext(scale);
  av_frame_free(&frame);
  av_packet_free(&packet);
  avcodec_free_context(&decoder);
  avformat_close_input(&format);
  return video;
}

// How far a decoded frame is from the picture it was made of: the mean of the absolute
// differences of red, green and blue over the picture's pixels, and the share of pixels of which
// a channel differs by more than `far`. The decoded frame may be larger (sides made even).
struct TFrameDistance {
  double Mean = 0;
  double FarShare = 0;
};

inline TFrameDistance Distance(const std::vector<uint32_t>& decoded, int32_t decodedWidth,
                               const uint32_t* picture, int32_t width, int32_t height,
                               int32_t stridePixels, int far = 64) {
  double sum = 0;
  size_t farPixels = 0;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t a = decoded[size_t(y) * size_t(decodedWidth) + size_t(x)];
      const uint32_t b = picture[size_t(y) * size_t(stridePixels) + size_t(x)];
      int worst = 0;
      for (int shift : {0, 8, 16}) {
        const int d = std::abs(int(a >> shift & 0xff) - int(b >> shift & 0xff));
        sum += d;
        worst = std::max(worst, d);
      }
      if (worst > far) ++farPixels;
    }
  }
  const double pixels = double(width) * double(height);
  return {sum / (3 * pixels), double(farPixels) / pixels};
}

}  // namespace kestrova::testing
