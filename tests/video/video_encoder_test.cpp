#include "video/video_encoder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "numerics/errors.h"
#include "support/decoded_video.h"
#include "support/fifos_and_devices.h"
#include "support/temp_home.h"

namespace kestrova {
namespace {

namespace fs = std::filesystem;
using testing::DecodeVideo;
using testing::Distance;

// A plot-like frame: black, a one-pixel white ring, a red line, and a green square that moves
// with the frame number, so that frames in the wrong order or twice do not pass for the right
// ones.
std::vector<uint32_t> Frame(int32_t width, int32_t height, int32_t number) {
  std::vector<uint32_t> pixels(size_t(width) * size_t(height), 0xff000000u);
  const auto at = [&](int32_t x, int32_t y) -> uint32_t& {
    return pixels[size_t(y) * size_t(width) + size_t(x)];
  };
  for (int32_t x = 0; x < width; ++x) at(x, height / 3) = 0xffff0000u;
  for (int32_t a = 0; a < 720; ++a) {
    const double t = a * 3.14159265358979 / 360;
    at(int32_t(width / 2 + width / 3.0 * std::cos(t)),
       int32_t(height / 2 + height / 3.0 * std::sin(t))) = 0xffffffffu;
  }
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 8; ++x) at((2 + 5 * number + x) % width, height - 12 + y) = 0xff00ff00u;
  return pixels;
}

class VideoEncoderTest : public testing::TempHome {};

struct TWriteCase {
  TVideoType Type;
  std::string Name;
  std::string Codec;
  int32_t Width, Height;  // the picture's; MP4 makes odd sides even
  int32_t VideoWidth, VideoHeight;
  int32_t Fps;
  // Lossless formats give the picture back exactly; the video codecs lose detail on one-pixel
  // lines, so they may differ by a mean of a few levels and a small share of far-off pixels.
  double MaxMean;
  double MaxFarShare;
};

TEST_F(VideoEncoderTest, WritesEveryFrameAsThePictureWasInEachType) {
  const std::vector<TWriteCase> cases = {
      {TVideoType::WebM, "a.webm", "vp9", 96, 64, 96, 64, 25, 4.0, 0.035},
      {TVideoType::WebM, "odd.WEBM", "vp9", 75, 51, 75, 51, 10, 4.0, 0.035},
      {TVideoType::Mp4, "a.mp4", "h264", 96, 64, 96, 64, 25, 4.0, 0.035},
      {TVideoType::Mp4, "odd.mp4", "h264", 75, 51, 76, 52, 30, 4.0, 0.035},
      {TVideoType::WebP, "a.webp", "webp", 75, 51, 75, 51, 20, 0, 0},
      {TVideoType::Gif, "a.gif", "gif", 75, 51, 75, 51, 25, 0, 0},
  };
  constexpr int32_t kFrames = 12;
  for (const TWriteCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string path = (root_ / c.Name).string();
    auto video = OpenVideo(path, {c.Width, c.Height, c.Fps, c.Type});
    for (int32_t i = 0; i < kFrames; ++i) {
      const std::vector<uint32_t> frame = Frame(c.Width, c.Height, i);
      video->AddFrame(reinterpret_cast<const uint8_t*>(frame.data()), c.Width * 4);
    }
    video->Finish();
    EXPECT_EQ(video->FramesEncoded(), kFrames);

    const testing::TDecodedVideo decoded = DecodeVideo(path);
    ASSERT_EQ(decoded.Error, "");
    EXPECT_EQ(decoded.Codec, c.Codec);
    EXPECT_EQ(decoded.Width, c.VideoWidth);
    EXPECT_EQ(decoded.Height, c.VideoHeight);
    EXPECT_NEAR(decoded.Fps, c.Fps, 0.01);
    ASSERT_EQ(decoded.Frames.size(), size_t(kFrames));
    for (int32_t i = 0; i < kFrames; ++i) {
      const std::vector<uint32_t> frame = Frame(c.Width, c.Height, i);
      const auto d = Distance(decoded.Frames[size_t(i)], decoded.Width, frame.data(), c.Width,
                              c.Height, c.Width);
      EXPECT_LE(d.Mean, c.MaxMean) << "frame " << i;
      EXPECT_LE(d.FarShare, c.MaxFarShare) << "frame " << i;
      // Closer to its own picture than to its neighbours': no frame lost, doubled or swapped.
      for (const int32_t other : {i - 1, i + 1}) {
        if (other < 0 || other == kFrames) continue;
        const std::vector<uint32_t> near = Frame(c.Width, c.Height, other);
        EXPECT_LT(d.Mean, Distance(decoded.Frames[size_t(i)], decoded.Width, near.data(), c.Width,
                                   c.Height, c.Width)
                              .Mean)
            << "frame " << i << " against " << other;
      }
    }
  }
}

// Nothing of a failed or cancelled video is left: not the temporary file beside the target,
// and an old file under the target's name stays as it was.
TEST_F(VideoEncoderTest, LeavesNoFileBehindAFailure) {
  struct TCase {
    std::string Name;
    std::string Path;  // "" for the test's target in its folder
    int32_t Frames;
    bool Cancel;
    std::string Message;
  };
  const std::vector<TCase> cases = {
      {"missing folder", "/nonexistent-folder/a.webm", 1, false, "Error Opening File"},
      {"a folder", "/tmp", 1, false, "Error Opening File"},
      {"zero frames", "", 0, false, "at least one frame"},
      {"full disk", "/dev/full", 3, false, "No space left on device"},
      {"cancelled", "", 3, true, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const fs::path folder = root_ / "out";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path target = folder / "old.webm";
    std::ofstream(target) << "the old file";
    const std::string path = c.Path.empty() ? target.string() : c.Path;
    std::string message;
    try {
      auto video = OpenVideo(path, {64, 48, 25, TVideoType::WebM});
      for (int32_t i = 0; i < c.Frames; ++i) {
        const std::vector<uint32_t> frame = Frame(64, 48, i);
        video->AddFrame(reinterpret_cast<const uint8_t*>(frame.data()), 64 * 4);
      }
      if (c.Cancel) {
        video->Cancel();
      } else {
        video->Finish();
      }
    } catch (const EKestrovaError& e) {
      message = e.what();
    }
    if (c.Message.empty()) {
      EXPECT_EQ(message, "");
    } else {
      EXPECT_NE(message.find(c.Message), std::string::npos) << message;
    }
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"old.webm"});
    std::ifstream in(target);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "the old file");
  }
}

// A pipe is written in place: WebM, WebP and GIF stream into it; MP4, which goes back to fill
// in sizes, is refused with a message before a byte is written.
TEST_F(VideoEncoderTest, WritesStreamingTypesIntoAPipe) {
  for (const std::string name : {"pipe.webm", "pipe.gif", "pipe.mp4"}) {
    SCOPED_TRACE(name);
    const fs::path pipe = root_ / name;
    testing::TFifoReader reader(pipe);
    ASSERT_TRUE(reader.Ok());
    std::string message;
    try {
      auto video = OpenVideo(pipe.string(), {64, 48, 25, *VideoTypeOf(name)});
      for (int32_t i = 0; i < 3; ++i) {
        const std::vector<uint32_t> frame = Frame(64, 48, i);
        video->AddFrame(reinterpret_cast<const uint8_t*>(frame.data()), 64 * 4);
      }
      video->Finish();
    } catch (const EKestrovaError& e) {
      message = e.what();
    }
    const std::string bytes = reader.Bytes();
    if (name == "pipe.mp4") {
      EXPECT_NE(message.find("an MP4 video needs a file"), std::string::npos) << message;
      EXPECT_EQ(bytes, "");
      continue;
    }
    EXPECT_EQ(message, "");
    const fs::path copy = root_ / ("copy-" + name);
    std::ofstream(copy, std::ios::binary) << bytes;
    EXPECT_EQ(DecodeVideo(copy.string()).Frames.size(), 3u);
  }
}

TEST(VideoSettingsTest, RefusesSizesAndRatesNoCodecTakes) {
  for (const TVideoSettings& s :
       {TVideoSettings{1, 48, 25, TVideoType::Gif}, TVideoSettings{64, 9000, 25, TVideoType::WebM},
        TVideoSettings{64, 48, 0, TVideoType::Mp4},
        TVideoSettings{64, 48, 101, TVideoType::WebP}}) {
    EXPECT_THROW(OpenVideo("/tmp/never-written.webm", s), EKestrovaError);
  }
  EXPECT_FALSE(fs::exists("/tmp/never-written.webm"));
}

TEST(VideoTypeTest, FollowsTheExtensionInAnyCase) {
  const std::vector<std::pair<std::string, std::optional<TVideoType>>> cases = {
      {"a.webm", TVideoType::WebM}, {"/x/b.MP4", TVideoType::Mp4}, {"c.WebP", TVideoType::WebP},
      {"d.gif", TVideoType::Gif},   {"e.avi", std::nullopt},       {"webm", std::nullopt},
      {"f.webm/", std::nullopt},    {"dir.mp4/g", std::nullopt},   {"h.gif.png", std::nullopt},
  };
  for (const auto& [name, type] : cases) EXPECT_EQ(VideoTypeOf(name), type) << name;
}

}  // namespace
}  // namespace kestrova
