// Element files plain and gzip-compressed, line by line, and the format found from their lines.
#include "database/element_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "database/element_import.h"
#include "numerics/errors.h"
#include "support/gzip.h"
#include "support/temp_home.h"

namespace kestrova {
namespace {

namespace fs = std::filesystem;
const fs::path kData = KESTROVA_TEST_DATA;

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

using testing::Gzip;

class ElementFileTest : public testing::TempHome {
 protected:
  fs::path Put(const std::string& name, const std::string& bytes) {
    std::ofstream(root_ / name, std::ios::binary) << bytes;
    return root_ / name;
  }
  // Every line of the file; the reader's error message when it fails.
  std::vector<std::string> Lines(const fs::path& file, std::string* error = nullptr) {
    std::vector<std::string> lines;
    try {
      TElementFileReader in(file);
      std::string line;
      bool tooLong = false;
      while (in.NextLine(line, tooLong)) lines.push_back(line);
    } catch (const EKestrovaError& e) {
      if (error) *error = e.what();
    }
    return lines;
  }
};

TEST_F(ElementFileTest, GzipReadsAsThePlainFile) {
  const std::string plain = Read(kData / "mpcorb_small.dat");
  const std::vector<std::string> expected = Lines(kData / "mpcorb_small.dat");
  ASSERT_EQ(expected.size(), 19u);
  const std::string gz = Gzip(plain);
  // As published, under another name (the signature tells), and as two members joined by cat.
  EXPECT_EQ(Lines(Put("MPCORB.DAT.gz", gz)), expected);
  EXPECT_EQ(Lines(Put("elements", gz)), expected);
  const size_t half = plain.find('\n', plain.size() / 2) + 1;
  EXPECT_EQ(Lines(Put("joined.gz", Gzip(plain.substr(0, half)) + Gzip(plain.substr(half)))),
            expected);
  // Padding after the last member is ignored, as gzip does.
  EXPECT_EQ(Lines(Put("padded.gz", gz + std::string(100, '\0'))), expected);

  TElementFileReader in(root_ / "MPCORB.DAT.gz");
  EXPECT_TRUE(in.Compressed());
  EXPECT_EQ(in.BytesTotal(), gz.size());
  std::string line;
  bool tooLong = false;
  while (in.NextLine(line, tooLong)) {
  }
  EXPECT_EQ(in.BytesRead(), gz.size());
}

TEST_F(ElementFileTest, DamagedGzipIsAnErrorNeverFewerLines) {
  const std::string gz = Gzip(Read(kData / "comets_small.txt"));
  std::string flipped = gz;
  flipped[gz.size() / 2] = static_cast<char>(flipped[gz.size() / 2] ^ 0x55);
  struct Case {
    std::string name;
    std::string bytes;
    std::string message;  // the part after the path
  };
  const Case cases[] = {
      {"cut.gz", gz.substr(0, gz.size() / 2),
       ": the compressed data ends too early (the file is cut short)"},
      {"no-trailer.gz", gz.substr(0, gz.size() - 4),
       ": the compressed data ends too early (the file is cut short)"},
      {"flipped.gz", flipped, ": the compressed data is damaged ("},
      {"plain.gz", Read(kData / "comets_small.txt"), " is not a gzip file"},
      {"empty.gz", "", " is not a gzip file"},
  };
  for (const Case& c : cases) {
    std::string error;
    Lines(Put(c.name, c.bytes), &error);
    const std::string expected = (root_ / c.name).string() + c.message;
    EXPECT_EQ(error.substr(0, expected.size()), expected) << c.name;
  }
}

TEST_F(ElementFileTest, FormatFoundFromTheLines) {
  const std::string comets = Read(kData / "comets_small.txt");
  struct Case {
    fs::path file;
    std::optional<TElementFormat> format;
  };
  const Case cases[] = {
      {kData / "mpcorb_small.dat", TElementFormat::Mpcorb},
      {kData / "comets_small.txt", TElementFormat::Comets},
      {Put("CometEls.txt.gz", Gzip(comets)), TElementFormat::Comets},
      {Put("empty.txt", ""), std::nullopt},
      {Put("prose.txt", "Minor planets are small.\nComets have tails.\n"), std::nullopt},
      {"/dev/zero", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(DetectElementFormat(c.file), c.format) << c.file;
}

}  // namespace
}  // namespace kestrova
