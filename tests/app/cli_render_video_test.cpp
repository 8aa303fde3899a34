// kestrova-cli render --video: the written animation read back and compared frame by frame with
// the pictures `render --out` makes of the same dates, and the command lines it refuses.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "cli_test_support.h"
#include "numerics/errors.h"
#include "support/decoded_video.h"
#include "support/fifos_and_devices.h"
#include "support/temp_home.h"

namespace kestrova::cli {
namespace {

namespace fs = std::filesystem;

using RenderVideoCommand = testing::TempFolder;

TEST_F(RenderVideoCommand, EachFrameIsThePictureOfItsDate) {
  struct TCase {
    std::string Name;
    std::string Codec;
    // VP9 and H.264 blur the one-pixel orbits and the header's letters and store colour at
    // half resolution: on these small pictures, mostly lines and letters, their frames stay
    // within a mean of 8 levels of 255 and 9 % of pixels further off than 64 levels in a
    // channel. WebP (lossless) gives the picture back exactly; GIF keeps the 256 most frequent
    // colours, and the smoothed edges of letters take the nearest of them.
    double MaxMean;
    double MaxFarShare;
  };
  const std::vector<TCase> cases = {
      {"a.webm", "vp9", 8, 0.09},
      {"a.mp4", "h264", 8, 0.09},
      {"a.webp", "webp", 0, 0},
      {"a.gif", "gif", 0.5, 0.002},
  };
  constexpr int kFrames = 4;
  constexpr int kSize = 120;
  std::vector<QImage> pictures;
  for (int i = 0; i < kFrames; ++i) {
    const std::string name = Path("p" + std::to_string(i) + ".png");
    const TCliResult r =
        RunCommand({"render", "--jd", std::to_string(2451545 + 20 * i), "--size",
                    std::to_string(kSize), "--plane", "xy", "--dim", "2", "--out", name});
    ASSERT_EQ(r.status, kOk) << r.err;
    pictures.push_back(QImage(QString::fromStdString(name)).convertToFormat(QImage::Format_RGB32));
  }
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string path = Path(c.Name);
    const TCliResult r = RunCommand({"render", "--jd", "2451545", "--size", std::to_string(kSize),
                                     "--plane", "xy", "--dim", "2", "--frames",
                                     std::to_string(kFrames), "--step", "20", "--video", path});
    ASSERT_EQ(r.status, kOk) << r.err;
    EXPECT_EQ(r.out, path + "\n");
    const testing::TDecodedVideo video = testing::DecodeVideo(path);
    ASSERT_EQ(video.Error, "");
    EXPECT_EQ(video.Codec, c.Codec);
    EXPECT_EQ(video.Width, kSize);
    EXPECT_EQ(video.Height, kSize);
    EXPECT_NEAR(video.Fps, 25, 0.01);
    ASSERT_EQ(video.Frames.size(), size_t(kFrames));
    for (int i = 0; i < kFrames; ++i) {
      const QImage& p = pictures[size_t(i)];
      const auto d = testing::Distance(video.Frames[size_t(i)], video.Width,
                                       reinterpret_cast<const uint32_t*>(p.constBits()), kSize,
                                       kSize, int32_t(p.bytesPerLine() / 4));
      EXPECT_LE(d.Mean, c.MaxMean) << "frame " << i;
      EXPECT_LE(d.FarShare, c.MaxFarShare) << "frame " << i;
      // Closer to the picture of its own date than to the next one's: no frame lost, doubled
      // or out of order.
      if (i + 1 < kFrames) {
        const QImage& next = pictures[size_t(i) + 1];
        EXPECT_LT(d.Mean, testing::Distance(video.Frames[size_t(i)], video.Width,
                                            reinterpret_cast<const uint32_t*>(next.constBits()),
                                            kSize, kSize, int32_t(next.bytesPerLine() / 4))
                              .Mean)
            << "frame " << i;
      }
    }
  }
}

TEST_F(RenderVideoCommand, RefusesWhatItCannotWriteAndLeavesNothing) {
  struct TCase {
    std::string Name;
    Args Arguments;
    int Status;
    std::string Message;
  };
  const std::vector<TCase> cases = {
      {"unknown extension",
       {"--frames", "2", "--step", "1", "--video", Path("a.avi")},
       kBadInput,
       "must end in .webm, .mp4, .webp or .gif"},
      {"no extension",
       {"--frames", "2", "--step", "1", "--video", Path("a")},
       kBadInput,
       "must end in"},
      {"zero frames",
       {"--frames", "0", "--step", "1", "--video", Path("a.webm")},
       kBadInput,
       "--frames"},
      {"no step", {"--frames", "2", "--video", Path("a.webm")}, kBadInput, "--step"},
      {"with --out",
       {"--frames", "2", "--step", "1", "--video", Path("a.webm"), "--out", Path("f%d.png")},
       kBadInput,
       "--out"},
      {"no folder",
       {"--frames", "2", "--step", "1", "--video", "/nonexistent/a.webm"},
       kFailure,
       "Error Opening File /nonexistent/a.webm! No such file or directory"},
      {"full device",
       {"--frames", "2", "--step", "1", "--video", "/dev/full"},
       kBadInput,
       "must end in"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Args args = {"render", "--jd", "2451545", "--size", "60"};
    args.insert(args.end(), c.Arguments.begin(), c.Arguments.end());
    const TCliResult r = RunCommand(args);
    EXPECT_EQ(r.status, c.Status) << r.err;
    EXPECT_NE(r.err.find(c.Message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_TRUE(fs::is_empty(dir_));
}

// A disk that fills up while the video is written: the message names the reason and neither the
// video nor its temporary file stays on the disk.
TEST_F(RenderVideoCommand, AFullDiskLeavesNoPartOfTheVideo) {
  testing::TSmallDisk disk(dir_ / "small", 256);
  if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
  disk.Fill(20 * 1024);
  const std::string path = (dir_ / "small" / "a.webp").string();
  const TCliResult r = RunCommand({"render", "--jd", "2451545", "--size", "300", "--frames", "20",
                                   "--step", "5", "--video", path});
  EXPECT_EQ(r.status, kFailure);
  EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir_ / "small"))
    names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"filler"});
}

}  // namespace
}  // namespace kestrova::cli
