// Header text, print layout and the picture files.
#include "scene/picture_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "numerics/errors.h"
#include "scene/recording_surface.h"
#include "streams/value_stream.h"
#include "support/fifos_and_devices.h"

namespace kestrova {
namespace {

std::vector<unsigned char> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t BigEndian(const std::vector<unsigned char>& b, size_t at) {
  return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

uint32_t LittleEndian(const std::vector<unsigned char>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[at + size_t(i)];
  return v;
}

struct Chunk {
  std::string type;
  std::vector<unsigned char> data;
};

std::vector<Chunk> PngChunks(const std::vector<unsigned char>& file) {
  std::vector<Chunk> chunks;
  size_t at = 8;
  while (at + 12 <= file.size()) {
    const uint32_t length = BigEndian(file, at);
    Chunk c{std::string(file.begin() + long(at) + 4, file.begin() + long(at) + 8), {}};
    c.data.assign(file.begin() + long(at) + 8, file.begin() + long(at) + 8 + long(length));
    chunks.push_back(c);
    at += 12 + length;
  }
  return chunks;
}

// An image whose every pixel differs, 7 wide so that rows of 3-byte pixels need fill in BMP.
QImage TestImage() {
  QImage image(7, 5, QImage::Format_RGB32);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) image.setPixel(x, y, qRgb(x * 36, y * 60, 255 - 7 * (x + 7 * y)));
  return image;
}

void ExpectSamePixels(const QImage& decoded, const QImage& original) {
  ASSERT_EQ(decoded.size(), original.size());
  for (int y = 0; y < original.height(); ++y)
    for (int x = 0; x < original.width(); ++x)
      ASSERT_EQ(decoded.pixel(x, y), original.pixel(x, y)) << x << "," << y;
}

std::string ErrorOf(void (*write)(const std::string&, const QImage&), const std::string& path) {
  try {
    write(path, TestImage());
  } catch (const EKestrovaError& e) {
    return e.what();
  }
  return "no error";
}

TEST(PictureHeader, TwoLinesNameTheDateAndTheView) {
  const TDateRec noon{1, 1, 2000, 12, 0, 0, 0};
  EXPECT_EQ(HeaderLines(noon, 0, "Sun"),
            (std::array<std::string, 2>{"01.01.2000 - 12:00:00UT (JD 2451545.000)",
                                        "X-Y-plane, centered to Sun"}));
  const TDateRec evening{24, 12, 2024, 18, 30, 15, 0};
  const auto lines = HeaderLines(evening, 1, "Jupiter");
  EXPECT_EQ(lines[0], "24.12.2024 - 18:30:15UT (JD 2460669.271)");
  EXPECT_EQ(lines[1], "X-Z-plane, centered to Jupiter");
  EXPECT_EQ(HeaderLines(noon, 2, "Earth")[1], "Z-Y-plane, centered to Earth");
  EXPECT_EQ(HeaderLines(noon, 3, "Mars")[1], "3D-plot, centered to Mars");
  EXPECT_EQ(HeaderLines(noon, 200, "Mars")[1], "3D-plot, centered to Mars");

  TRecordingSurface surface(15);
  DrawHeaderText(surface, 20, 15, lines, 0x00FFFF);
  const auto texts = surface.CallsOf(SurfaceOp::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ((std::pair{texts[0].X1, texts[0].Y1}), (std::pair{20, 15}));
  EXPECT_EQ((std::pair{texts[1].X1, texts[1].Y1}), (std::pair{20, 30}));
  for (const TSurfaceCall& t : texts) {
    EXPECT_EQ(t.FontColor, 0x00FFFFu);
    EXPECT_EQ(t.Brush, BrushStyle::Hollow);
  }
}

TEST(PictureHeader, ColoursAndPlaces) {
  EXPECT_EQ(ExportHeaderColor(0xFF0000), 0x00FFFFu);  // yellow on pure blue
  EXPECT_EQ(ExportHeaderColor(0x000000), 0xFFFFFFu);
  EXPECT_EQ(ExportHeaderColor(0xFF123456), 0xEDCBA9u);
  EXPECT_EQ(PrintHeaderColor(1), 0xFFFFFFu);
  for (uint8_t scheme : {0, 2, 3}) EXPECT_EQ(PrintHeaderColor(scheme), 0u);

  EXPECT_EQ(ExportTextOrigin(50), (TPoint{2, 2}));  // 1.5 rounds to even
  EXPECT_EQ(ExportTextOrigin(500), (TPoint{20, 15}));
  EXPECT_EQ(ExportTextOrigin(4000), (TPoint{160, 120}));

  EXPECT_EQ(PrintLayout(4800, 6600), (TPrintLayout{3840, 384, 480, 2, {634, 499}}));
  EXPECT_EQ(PrintLayout(4000, 5000).Device, 1);  // 3200 is still the smaller class
  EXPECT_EQ(PrintLayout(4002, 5000).Side, 3202);
  EXPECT_EQ(PrintLayout(4002, 5000).Device, 2);
}

TEST(PictureFiles, ExtensionRule) {
  struct Case {
    const char* typed;
    const char* saved;
    PictureFormat format;
  };
  const Case cases[] = {
      {"plot", "plot.png", PictureFormat::Png},
      {"plot.png", "plot.png", PictureFormat::Png},
      {"plot.PnG", "plot.PnG", PictureFormat::Png},
      {"plot.BMP", "plot.BMP", PictureFormat::Bmp},
      {"plot.jpg", "plot.jpg.png", PictureFormat::Png},
      {"plot.", "plot..png", PictureFormat::Png},
      {"orbits.v2/plot", "orbits.v2/plot.png", PictureFormat::Png},
      {"plot.bmp.txt", "plot.bmp.txt.png", PictureFormat::Png},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WithPictureExtension(c.typed), c.saved) << c.typed;
    EXPECT_EQ(PictureFormatOf(WithPictureExtension(c.typed)), c.format) << c.typed;
  }
  EXPECT_EQ(PictureFileName("trip", "/home/u/pictures/"), "/home/u/pictures/trip.png");
  EXPECT_EQ(PictureFileName("trip.BMP", "/home/u/pictures"), "/home/u/pictures/trip.BMP");
  EXPECT_EQ(PictureFileName("/tmp/trip", "/home/u/pictures"), "/tmp/trip.png");
}

TEST(PictureFiles, PngDecodesToTheImageAndNamesItsWriter) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("plot.png").toStdString();
  const QImage image = TestImage();
  WritePng(path, image);

  const auto bytes = ReadBytes(path);
  const auto chunks = PngChunks(bytes);
  ASSERT_GE(chunks.size(), 4u);
  ASSERT_EQ(chunks[0].type, "IHDR");
  const auto& ihdr = chunks[0].data;
  EXPECT_EQ(BigEndian(ihdr, 0), 7u);
  EXPECT_EQ(BigEndian(ihdr, 4), 5u);
  EXPECT_EQ(std::vector<unsigned char>(ihdr.begin() + 8, ihdr.end()),
            (std::vector<unsigned char>{8, 2, 0, 0, 0}));  // 8-bit RGB, no interlace
  int texts = 0;
  for (const Chunk& c : chunks) {
    EXPECT_NE(c.type, "zTXt");
    EXPECT_NE(c.type, "iTXt");
    if (c.type != "tEXt") continue;
    ++texts;
    const std::string text(c.data.begin(), c.data.end());
    EXPECT_EQ(text.substr(0, 9), std::string("Software\0", 9));
    EXPECT_NE(text.find("Kestrova"), std::string::npos);
  }
  EXPECT_EQ(texts, 1);
  EXPECT_EQ(chunks.back().type, "IEND");

  QImage decoded(QString::fromStdString(path));
  ASSERT_FALSE(decoded.isNull());
  EXPECT_EQ(decoded.text("Software"), "Kestrova PNG writer");
  ExpectSamePixels(decoded.convertToFormat(QImage::Format_RGB32), image);
}

TEST(PictureFiles, BmpIs24BitBottomUpAndDecodesToTheImage) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("plot.bmp").toStdString();
  const QImage image = TestImage();
  WriteBmp(path, image);

  const auto bytes = ReadBytes(path);
  const uint32_t stride = 24;  // 7 pixels of 3 bytes, filled up to a multiple of 4
  ASSERT_EQ(bytes.size(), 54u + stride * 5);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(LittleEndian(bytes, 2, 4), bytes.size());
  EXPECT_EQ(LittleEndian(bytes, 10, 4), 54u);
  EXPECT_EQ(LittleEndian(bytes, 18, 4), 7u);
  EXPECT_EQ(LittleEndian(bytes, 22, 4), 5u);  // positive height: the bottom row comes first
  EXPECT_EQ(LittleEndian(bytes, 28, 2), 24u);
  // The plain 40-byte info header, one plane, no compression, no palette: what every reader
  // takes.
  EXPECT_EQ(LittleEndian(bytes, 6, 4), 0u);
  EXPECT_EQ(LittleEndian(bytes, 14, 4), 40u);
  EXPECT_EQ(LittleEndian(bytes, 26, 2), 1u);
  EXPECT_EQ(LittleEndian(bytes, 30, 4), 0u);
  EXPECT_EQ(LittleEndian(bytes, 34, 4), stride * 5);
  EXPECT_EQ(LittleEndian(bytes, 46, 4), 0u);
  EXPECT_EQ(LittleEndian(bytes, 50, 4), 0u);
  for (uint32_t row = 0; row < 5; ++row)
    for (uint32_t fill = 21; fill < stride; ++fill) EXPECT_EQ(bytes[54 + row * stride + fill], 0);
  // First stored pixel: bottom-left, blue-green-red.
  const QRgb bottomLeft = image.pixel(0, 4);
  EXPECT_EQ(bytes[54], qBlue(bottomLeft));
  EXPECT_EQ(bytes[55], qGreen(bottomLeft));
  EXPECT_EQ(bytes[56], qRed(bottomLeft));

  QImage decoded(QString::fromStdString(path));
  ASSERT_FALSE(decoded.isNull());
  ExpectSamePixels(decoded.convertToFormat(QImage::Format_RGB32), image);
}

TEST(PictureFiles, WritePictureChoosesTheFormatByExtension) {
  QTemporaryDir dir;
  const std::string bmp = dir.filePath("a.BMP").toStdString();
  const std::string png = dir.filePath("a.png").toStdString();
  WritePicture(bmp, TestImage());
  WritePicture(png, TestImage());
  EXPECT_EQ(ReadBytes(bmp)[0], 'B');
  EXPECT_EQ(ReadBytes(png)[1], 'P');
}

TEST(PictureFiles, WriteFailuresCarryTheirMessages) {
  QTemporaryDir dir;
  const std::string missing = dir.filePath("no such folder/plot.png").toStdString();
  EXPECT_EQ(ErrorOf(WritePng, missing),
            "Error Opening File " + missing + "! No such file or directory");
  EXPECT_EQ(ErrorOf(WriteBmp, missing),
            "Error Opening File " + missing + "! No such file or directory");
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  // The file opens but no byte reaches the disk: the system's reason follows, and libpng says
  // nothing of its own on standard error.
  const std::string full = std::string(" ") + std::strerror(ENOSPC);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(ErrorOf(WritePng, "/dev/full"), "Error Writing PNG File!" + full);
  EXPECT_EQ(ErrorOf(WriteBmp, "/dev/full"), "Error Writing BMP File!" + full);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  // An empty image cannot be a PNG.
  const std::string empty = dir.filePath("empty.png").toStdString();
  EXPECT_THROW(WritePng(empty, QImage()), EKestrovaError);
}

// Pixels that do not compress, so that the picture's size is known to pass a small disk.
QImage NoiseImage(int side) {
  QImage image(side, side, QImage::Format_RGB32);
  uint32_t x = 12345;
  for (int row = 0; row < side; ++row)
    for (int col = 0; col < side; ++col) {
      x = x * 1664525u + 1013904223u;
      image.setPixel(col, row, x >> 8);
    }
  return image;
}

std::vector<std::string> Names(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(PictureFiles, AFullDiskLeavesTheOldPictureWhole) {
  QTemporaryDir dir;
  testing::TSmallDisk disk(dir.filePath("disk").toStdString(), 512);
  if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs can be mounted here (not root)";
  const std::filesystem::path folder = dir.filePath("disk").toStdString();
  for (const char* name : {"old.png", "old.bmp"}) {
    const std::string path = (folder / name).string();
    WritePicture(path, TestImage());
    const auto before = ReadBytes(path);
    disk.Fill(4096);
    try {
      WritePicture(path, NoiseImage(200));
      ADD_FAILURE() << name << ": a 200 x 200 picture fitted into 4 KB";
    } catch (const EKestrovaError& e) {
      EXPECT_EQ(std::string(e.what()), std::string(PictureFormatOf(path) == PictureFormat::Png
                                                       ? "Error Writing PNG File! "
                                                       : "Error Writing BMP File! ") +
                                           std::strerror(ENOSPC));
    }
    EXPECT_EQ(ReadBytes(path), before) << name;
    std::filesystem::remove(folder / "filler");
  }
  EXPECT_EQ(Names(folder), (std::vector<std::string>{"old.bmp", "old.png"}));
}

class RefusingSink : public ByteSink {
 public:
  explicit RefusingSink(size_t allowed) : left_(allowed) {}
  bool Write(const uint8_t*, size_t n) override {
    if (n > left_) return false;
    left_ -= n;
    return true;
  }

 private:
  size_t left_;
};

TEST(PictureFiles, ARefusedWriteIsTheWritersError) {
  for (const size_t allowed : {size_t(0), size_t(60), size_t(3000)}) {
    RefusingSink png(allowed), bmp(allowed);
    try {
      WritePicture(png, PictureFormat::Png, NoiseImage(64));
      ADD_FAILURE() << allowed;
    } catch (const EKestrovaError& e) {
      EXPECT_STREQ(e.what(), "Error Writing PNG File!");
    }
    try {
      WritePicture(bmp, PictureFormat::Bmp, NoiseImage(64));
      ADD_FAILURE() << allowed;
    } catch (const EKestrovaError& e) {
      EXPECT_STREQ(e.what(), "Error Writing BMP File!");
    }
  }
}

TEST(PictureFiles, SpecialFilesAreWrittenInPlace) {
  QTemporaryDir dir;
  const std::filesystem::path folder = dir.path().toStdString();
  MemorySink memory;
  WritePicture(memory, PictureFormat::Png, TestImage());
  {
    testing::TFifoReader fifo(folder / "pipe.png");
    ASSERT_TRUE(fifo.Ok());
    WritePicture((folder / "pipe.png").string(), TestImage());
    EXPECT_EQ(std::vector<uint8_t>(fifo.Bytes().begin(), fifo.Bytes().end()), memory.Bytes());
  }
  EXPECT_TRUE(testing::IsFifo(folder / "pipe.png"));
  std::filesystem::create_directory(folder / "dir.png");
  EXPECT_EQ(ErrorOf(WritePng, (folder / "dir.png").string()),
            "Error Opening File " + (folder / "dir.png").string() + "! Is a directory");
  if (testing::MakeCharDevice(folder / "null.bmp", 1, 3)) {
    WritePicture((folder / "null.bmp").string(), TestImage());
    EXPECT_TRUE(testing::IsCharDevice(folder / "null.bmp"));
  }
  for (const std::string& name : Names(folder))
    EXPECT_EQ(name.find(".tmp"), std::string::npos) << "left behind: " << name;
}

}  // namespace
}  // namespace kestrova
