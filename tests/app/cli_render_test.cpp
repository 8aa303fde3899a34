// kestrova-cli render, run in-process: pictures written and read back, frame series, and every
// way a command line can be refused.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/headless_host.h"
#include "cli_test_support.h"
#include "documents/orbit_document.h"
#include "ephemerides/kepler_orbits.h"
#include "scene/solar_system.h"
#include "support/fifos_and_devices.h"
#include "support/scene_date.h"
#include "support/temp_home.h"

namespace kestrova::cli {
namespace {

namespace fs = std::filesystem;

using RenderCommand = testing::TempFolder;

TEST_F(RenderCommand, WritesOnePictureOfTheRequestedSize) {
  for (const char* name : {"plot.png", "plot.BMP"}) {
    const std::string out = Path(name);
    const TCliResult r = RunCommand({"render", "--jd", "2451545", "--size", "120", "--plane", "xy",
                                     "--dim", "5", "--out", out});
    ASSERT_EQ(r.status, kOk) << r.err;
    const QImage image(QString::fromStdString(out), name[5] == 'p' ? "PNG" : "BMP");
    ASSERT_FALSE(image.isNull()) << name;
    EXPECT_EQ(image.width(), 120);
    EXPECT_EQ(image.height(), 120);
    // The Sun's disc (0x00FFFF: yellow) at the centre on the black background.
    EXPECT_EQ(image.pixel(60, 60) & 0xFFFFFF, 0xFFFF00u) << name;
    EXPECT_EQ(image.pixel(2, 118) & 0xFFFFFF, 0u) << name;
  }
}

TEST_F(RenderCommand, OtherExtensionsGetPng) {
  const TCliResult r = RunCommand({"render", "--size", "50", "--out", Path("plot.jpg")});
  ASSERT_EQ(r.status, kOk) << r.err;
  EXPECT_EQ(r.out, Path("plot.jpg.png") + "\n");
  EXPECT_FALSE(QImage(QString::fromStdString(Path("plot.jpg.png")), "PNG").isNull());
}

TEST_F(RenderCommand, FrameSeriesAdvancesTheDate) {
  const TCliResult r =
      RunCommand({"render", "--jd", "2451545", "--size", "100", "--plane", "xy", "--dim", "1.2",
                  "--frames", "3", "--step", "30", "--out", Path("frame-%04d.png")});
  ASSERT_EQ(r.status, kOk) << r.err;
  std::vector<QImage> frames;
  for (const char* name : {"frame-0000.png", "frame-0001.png", "frame-0002.png"}) {
    frames.emplace_back(QString::fromStdString(Path(name)));
    ASSERT_FALSE(frames.back().isNull()) << name;
  }
  EXPECT_FALSE(fs::exists(Path("frame-0003.png")));
  // The inner planets move between frames.
  EXPECT_NE(frames[0], frames[1]);
  EXPECT_NE(frames[1], frames[2]);
}

TEST_F(RenderCommand, RefusesBadCommandLines) {
  const std::string out = Path("x.png");
  const Args bad[] = {
      {"render"},                                  // no --out
      {"render", "--out"},                         // no value
      {"render", "--size", "49", "--out", out},    // below 50
      {"render", "--size", "4001", "--out", out},  // above 4000
      {"render", "--size", "12x", "--out", out},
      {"render", "--plane", "yz", "--out", out},
      {"render", "--dim", "0.0005", "--out", out},
      {"render", "--dim", "nan", "--out", out},
      {"render", "--center", "Vulcan", "--out", out},
      {"render", "--center", "10", "--out", out},
      {"render", "--jd", "-1", "--out", out},
      {"render", "--rotx", "east", "--out", out},
      {"render", "--colour", "red", "--out", out},
      {"render", "--frames", "2", "--out", Path("f%d.png")},  // no step
      {"render", "--step", "1", "--out", out},                // no frames
      {"render", "--frames", "0", "--step", "1", "--out", Path("f%d.png")},
      {"render", "--frames", "2", "--step", "1", "--out", out},  // no field
      {"render", "--frames", "2", "--step", "1", "--out", Path("f%d%d.png")},
      {"render", "--frames", "2", "--step", "1", "--out", Path("f%s.png")},
      {"render", "--jd", "3999999", "--frames", "3", "--step", "1", "--out", Path("f%d.png")},
      // Huge bad values: the message quotes 80 characters of them.
      {"render", "--dim", std::string(100000, '9') + "x", "--out", out},
      {"render", "--center", std::string(100000, 'V'), "--out", out},
      {"render", std::string(100000, '-'), "1", "--out", out},
  };
  for (const Args& args : bad) {
    const TCliResult r = RunCommand(args);
    std::string line;
    for (const auto& a : args) line += a.substr(0, 40) + " ";
    EXPECT_EQ(r.status, kBadInput) << line;
    EXPECT_NE(r.err.find("kestrova-cli render: "), std::string::npos) << line;
    EXPECT_LT(r.err.find('\n'), 400u) << line;
  }
  EXPECT_TRUE(fs::is_empty(dir_));
}

TEST_F(RenderCommand, DrawsADocumentsScene) {
  // A document with a date, a zoom and a centre of its own ...
  EnsureGuiApplication();
  std::ostringstream messages;
  THeadlessHost host(messages, TestStartDate);
  TSolarSystem& scene = host.Scene();
  scene.SetDate(JDToDate(0, 2451545.0L));
  scene.SetDim(5);
  scene.SetCenterObject(kJupiter);
  ASSERT_TRUE(WriteDocument(Path("trip.orb"), scene, host));

  // ... paints as the same settings given as options.
  TCliResult r = RunCommand(
      {"render", "--document", Path("trip.orb"), "--size", "120", "--out", Path("doc.png")});
  ASSERT_EQ(r.status, kOk) << r.err;
  r = RunCommand({"render", "--jd", "2451545", "--dim", "5", "--center", "Jupiter", "--size", "120",
                  "--out", Path("opt.png")});
  ASSERT_EQ(r.status, kOk) << r.err;
  EXPECT_EQ(QImage(QString::fromStdString(Path("doc.png"))),
            QImage(QString::fromStdString(Path("opt.png"))));
}

TEST_F(RenderCommand, ReportsDocumentsAndUnwritableFiles) {
  TCliResult r = RunCommand({"render", "--document", Path("trip.orb"), "--out", Path("x.png")});
  EXPECT_EQ(r.status, kFailure);
  EXPECT_NE(r.err.find("Cannot open file"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(Path("x.png")));

  r = RunCommand({"render", "--size", "50", "--out", Path("missing/x.png")});
  EXPECT_EQ(r.status, kFailure);
  EXPECT_NE(r.err.find("Error Opening File"), std::string::npos) << r.err;
  r = RunCommand({"render", "--size", "50", "--out", Path("missing/x.bmp")});
  EXPECT_EQ(r.status, kFailure);
  EXPECT_NE(r.err.find("Error Opening File"), std::string::npos) << r.err;
}

TEST_F(RenderCommand, StandardStreamsAndSpecialFiles) {
  ASSERT_EQ(
      RunCommand({"render", "--jd", "2451545", "--size", "60", "--out", Path("file.png")}).status,
      kOk);
  const QImage expected(QString::fromStdString(Path("file.png")));

  // "-": the PNG itself on standard output, for frames one after the other.
  TCliResult r = RunCommand({"render", "--jd", "2451545", "--size", "60", "--out", "-"});
  ASSERT_EQ(r.status, kOk) << r.err;
  EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(r.out), "PNG"), expected);
  const size_t one = r.out.size();
  r = RunCommand(
      {"render", "--jd", "2451545", "--size", "60", "--frames", "3", "--step", "0", "--out", "-"});
  ASSERT_EQ(r.status, kOk) << r.err;
  EXPECT_EQ(r.out.size(), 3 * one);

  // A FIFO keeps its name (no ".png" appended), gets the picture and stays a FIFO.
  {
    testing::TFifoReader fifo(dir_ / "pipe");
    ASSERT_TRUE(fifo.Ok());
    r = RunCommand({"render", "--jd", "2451545", "--size", "60", "--out", Path("pipe")});
    ASSERT_EQ(r.status, kOk) << r.err;
    EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(fifo.Bytes()), "PNG"), expected);
  }
  EXPECT_TRUE(testing::IsFifo(dir_ / "pipe"));
  EXPECT_FALSE(fs::exists(Path("pipe.png")));

  // A document from standard input.
  EnsureGuiApplication();
  std::ostringstream messages;
  THeadlessHost host(messages, TestStartDate);
  TSolarSystem& scene = host.Scene();
  scene.SetDate(JDToDate(0, 2451545.0L));
  ASSERT_TRUE(WriteDocument(Path("trip.orb"), scene, host));
  std::ifstream doc(Path("trip.orb"), std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(doc), std::istreambuf_iterator<char>()};
  r = RunCommand({"render", "--document", "-", "--size", "60", "--out", "-"}, bytes);
  ASSERT_EQ(r.status, kOk) << r.err;
  EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(r.out), "PNG"), expected);
}

}  // namespace
}  // namespace kestrova::cli
