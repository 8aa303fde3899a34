// kestrova-cli dump and convert.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <sstream>
#include <vector>

#include "app/cli_test_support.h"
#include "documents/document_bytes.h"
#include "documents/orbit_document.h"
#include "support/fifos_and_devices.h"
#include "support/temp_home.h"

namespace kestrova::cli {
namespace {

namespace fs = std::filesystem;
using testing::LoadBytes;
using testing::SaveBytes;

class CliDocumentTest : public testing::TempHome {
 protected:
  std::string Save(const std::string& name, const std::vector<uint8_t>& bytes) {
    SaveBytes(root_ / name, bytes);
    return (root_ / name).string();
  }
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The value lines' numbers ("  259 String ..."), checked to run 1, 2, 3, ...; returns the last.
int CheckValueNumbers(const std::string& out) {
  int last = 0;
  for (const std::string& line : Lines(out)) {
    int n = 0;
    if (std::sscanf(line.c_str(), "%d", &n) != 1) continue;
    EXPECT_EQ(n, last + 1) << line;
    last = n;
  }
  return last;
}

// The number of values in a document's bytes, told by their tags alone.
int CountValues(const std::vector<uint8_t>& b) {
  int n = 0;
  for (size_t i = 0; i < b.size(); ++n) {
    const auto length = [&](size_t width) {
      uint64_t v = 0;
      for (size_t j = 0; j < width && i < b.size(); ++j, ++i) v |= uint64_t{b[i]} << (8 * j);
      return v;
    };
    switch (b[i++]) {
      case 8:
      case 9:
        break;
      case 2:
      case 3:
      case 4:
        i += size_t{1} << (b[i - 1] - 2);
        break;
      case 5:
        i += 10;
        break;
      case 6:
        i += length(1);
        break;
      case 12:
      case 20:
        i += length(4);
        break;
      default:
        ADD_FAILURE() << "tag " << int{b[i - 1]} << " at " << i - 1;
        return n;
    }
  }
  return n;
}

TEST_F(CliDocumentTest, DumpShowsEveryValueTheReadersRead) {
  struct Case {
    std::vector<uint8_t> bytes;
    const char* version;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {testing::SampleV16(),
       "version 1.6",
       {"    1 String   magic = \"kv v1.6\"",
        "    2 Float    scene.SceneDate = 2451545.25  (Julian date, 01.01.2000 18:00:00 UT)",
        "    4 Integer  scene.BgColor = 0x00000020", "   17 Boolean  scene.ShowDirections = false",
        "   27 Float    scene.planet[0] Earth.Pos.x = 0  (read past)",
        "   86 Boolean  scene.planet[5] Saturn.Mimas.Visible = false",
        "  232 Integer  scene.AsteroidsList[2].Id = 42",
        "      note: dropped: the Id is neither a planet nor a minor body",
        "  249 Integer  TimeUnit = 1  (hour(s))", "  251 String   MonitorBody = \"Jupiter\"",
        "  258 String   Description[1] = \"\\\\f0\\\\fs20 Hello \\\\b world\\\\b0\\\\par\"",
        "description, plain text:", "| Hello world"}},
      {testing::SampleV15({.Unit = 5}),
       "version 1.5",
       {"   15 Boolean  scene.ShowLineOfNodes = true", "   16 Integer  scene.GridMode = 1",
        "   23 Boolean  scene.planet[0] Earth.Visible = true",
        "   82 Integer  TimeUnit = 5  (no unit: a step changes nothing)"}},
      {testing::SampleV10({.Table = "small.db"}),
       "version 1.0 or 1.1",
       {"    1 Integer  scene.GridColor = 0x00102030",
        "    2 Float    scene.SceneDate = 2451545.25  (Julian date, 01.01.2000 18:00:00 UT)",
        "   43 Integer  MainWindow.Left = 10", "   61 String   TableName = \"small.db\"",
        "description file " + (root_ / "doc.rtf").string() + ": none"}},
  };
  for (const Case& c : cases) {
    const std::string path = Save("doc.orb", c.bytes);
    const TCliResult r = RunCommand({"dump", path});
    ASSERT_EQ(r.status, kOk) << r.err;
    EXPECT_EQ(Lines(r.out).at(0), c.version);
    // Every value of the document, each once, in order: the readers read past none.
    EXPECT_EQ(CheckValueNumbers(r.out), CountValues(c.bytes)) << c.version;
    const std::vector<std::string> lines = Lines(r.out);
    for (const std::string& want : c.lines)
      EXPECT_NE(std::find(lines.begin(), lines.end(), want), lines.end()) << want;
    EXPECT_FALSE(Has(r.out, "bytes follow")) << c.version;
  }
}

TEST_F(CliDocumentTest, DumpErrors) {
  // Damaged: the values up to the damage, then the readers' message.
  std::vector<uint8_t> cut = testing::SampleV16();
  cut.resize(300);
  const std::string damaged = Save("cut.orb", cut);
  TCliResult r = RunCommand({"dump", damaged});
  EXPECT_EQ(r.status, kFailure);
  EXPECT_EQ(Lines(r.err).at(0), "Error reading file " + damaged + ".");
  EXPECT_TRUE(Has(r.err, "Stream read error")) << r.err;
  EXPECT_TRUE(Has(r.out, "scene.Dim = 7.5"));

  // A satellite the planet does not have stops the dump where it stops the readers.
  testing::TValueBytes v;
  v.Str("kv v1.6").Float(testing::kSampleJD);
  for (int i = 0; i < 5; ++i) v.Int(0);
  for (int i = 0; i < 10; ++i) v.Bool(true);
  testing::SampleView(v);
  v.Bool(true).Int(0).Float(0).Float(0).Float(0).Int(2);  // the Earth with two satellites
  for (int j = 0; j < 2; ++j) v.Bool(true).Int(0).Float(0).Float(0).Float(0);
  const std::string twoMoons = Save("moons.orb", v.Bytes());
  r = RunCommand({"dump", twoMoons});
  EXPECT_EQ(r.status, kFailure);
  EXPECT_EQ(Lines(r.err).at(0), "Error reading file " + twoMoons + ".");
  EXPECT_TRUE(Has(r.out, "Earth.Moon.Pos.z"));
  // No value was damaged: the dump names the last one the readers read.
  EXPECT_EQ(Lines(r.err).at(1), "dump: stopped after value 35 (scene.planet[0] Earth.Moon.Pos.z)");

  // A foreign file, a missing one, and values after the end.
  r = RunCommand({"dump", Save("f.orb", testing::TValueBytes().Str("hello").Bytes())});
  EXPECT_EQ(r.status, kFailure);
  EXPECT_EQ(r.err, "File " + (root_ / "f.orb").string() + " is no orbit document.\n");
  r = RunCommand({"dump", (root_ / "none.orb").string()});
  EXPECT_EQ(r.status, kFailure);
  EXPECT_TRUE(Has(r.err, "Cannot open file")) << r.err;
  std::vector<uint8_t> more = testing::SampleV15();
  more.push_back(9);
  r = RunCommand({"dump", Save("more.orb", more)});
  EXPECT_EQ(r.status, kOk);
  EXPECT_TRUE(Has(r.out, "note: bytes follow the last value"));
  EXPECT_EQ(RunCommand({"dump"}).status, kBadInput);
}

TEST_F(CliDocumentTest, ConvertOldDocuments) {
  for (const auto& bytes : {testing::SampleV10(), testing::SampleV15(), testing::SampleV16()}) {
    const std::string in = Save("in.orb", bytes);
    const std::string out = (root_ / "out.orb").string();
    fs::remove(out);
    const TCliResult r = RunCommand({"convert", in, out});
    ASSERT_EQ(r.status, kOk) << r.err;
    EXPECT_EQ(LoadBytes(in), bytes);  // the conversion question was answered No
    EXPECT_EQ(DetectDocumentVersion(out), TDocumentVersion::V16);
    const TCliResult dump = RunCommand({"dump", out});
    ASSERT_EQ(dump.status, kOk) << dump.err;
    EXPECT_TRUE(Has(dump.out, "scene.Dim = 7.5"));
    EXPECT_TRUE(Has(dump.out, "MonitorBody = \"Jupiter\""));
    EXPECT_TRUE(Has(dump.out, "TimeStep = 2.5"));
    // The writer's document, value for value.
    EXPECT_EQ(CheckValueNumbers(dump.out), CountValues(LoadBytes(out)));
  }
}

TEST_F(CliDocumentTest, ConvertErrorsCreateNothing) {
  const std::string out = (root_ / "out.orb").string();
  std::vector<uint8_t> cut = testing::SampleV15();
  cut.resize(cut.size() - 10);
  const std::string damaged = Save("cut.orb", cut);
  TCliResult r = RunCommand({"convert", damaged, out});
  EXPECT_EQ(r.status, kFailure);
  EXPECT_EQ(r.err, "Error reading file " + damaged + ".\n");
  EXPECT_FALSE(fs::exists(out));

  r = RunCommand({"convert", Save("empty.orb", {}), out});
  EXPECT_EQ(r.status, kFailure);
  EXPECT_EQ(r.err, "Error reading file " + (root_ / "empty.orb").string() + ".\n");
  EXPECT_FALSE(fs::exists(out));

  r = RunCommand({"convert", (root_ / "none.orb").string(), out});
  EXPECT_EQ(r.status, kFailure);
  EXPECT_TRUE(Has(r.err, "Cannot open file")) << r.err;
  EXPECT_FALSE(fs::exists(out));

  const std::string nowhere = (root_ / "no" / "out.orb").string();
  r = RunCommand({"convert", Save("in.orb", testing::SampleV16()), nowhere});
  EXPECT_EQ(r.status, kFailure);
  EXPECT_EQ(r.err, "Could not create file " + nowhere + ". No such file or directory\n");
  // Written in place, a full device names itself and the reason.
  r = RunCommand({"convert", Save("in.orb", testing::SampleV16()), "/dev/full"});
  EXPECT_EQ(r.status, kFailure);
  EXPECT_EQ(r.err,
            "kestrova-cli convert: Stream write error: /dev/full: No space left on device\n");

  EXPECT_EQ(RunCommand({"convert", out}).status, kBadInput);
  EXPECT_EQ(RunCommand({"convert", "--help"}).status, kOk);
}

TEST_F(CliDocumentTest, DocumentsComeThroughPipesAndStandardInput) {
  // The same document from a file, a FIFO and standard input reads the same: the document is
  // read once, its version found on the way.
  for (const auto& bytes : {testing::SampleV10(), testing::SampleV15(), testing::SampleV16()}) {
    const std::string file = Save("in.orb", bytes);
    const std::string text(bytes.begin(), bytes.end());
    const TCliResult fromFile = RunCommand({"dump", file});
    ASSERT_EQ(fromFile.status, kOk) << fromFile.err;
    // The dump's values, up to the description file that only a file has beside it.
    const std::string values = fromFile.out.substr(0, fromFile.out.find("description"));

    const TCliResult fromStdin = RunCommand({"dump", "-"}, text);
    ASSERT_EQ(fromStdin.status, kOk) << fromStdin.err;
    EXPECT_EQ(fromStdin.out.substr(0, fromStdin.out.find("description")), values);

    fs::remove(root_ / "pipe.orb");
    testing::TFifoWriter fifo(root_ / "pipe.orb", text);
    ASSERT_TRUE(fifo.Ok());
    const TCliResult fromFifo = RunCommand({"dump", (root_ / "pipe.orb").string()});
    ASSERT_EQ(fromFifo.status, kOk) << fromFifo.err;
    EXPECT_EQ(fromFifo.out.substr(0, fromFifo.out.find("description")), values);

    // convert reads standard input and writes standard output as it does files.
    const std::string out = (root_ / "out.orb").string();
    ASSERT_EQ(RunCommand({"convert", file, out}).status, kOk);
    const std::vector<uint8_t> converted = LoadBytes(out);
    const TCliResult toStdout = RunCommand({"convert", "-", "-"}, text);
    ASSERT_EQ(toStdout.status, kOk) << toStdout.err;
    EXPECT_EQ(std::vector<uint8_t>(toStdout.out.begin(), toStdout.out.end()), converted);
  }
  // A damaged document from standard input names it in the message.
  const TCliResult damaged = RunCommand({"dump", "-"}, "\x06\x07kv v1.6\x05");
  EXPECT_EQ(damaged.status, kFailure);
  EXPECT_EQ(Lines(damaged.err).at(0), "Error reading file /dev/stdin.");
}

TEST_F(CliDocumentTest, ConvertWritesIntoFifosAndDevicesInPlace) {
  const std::string in = Save("in.orb", testing::SampleV16());
  ASSERT_EQ(RunCommand({"convert", in, (root_ / "plain.orb").string()}).status, kOk);
  const std::vector<uint8_t> expected = LoadBytes(root_ / "plain.orb");
  {
    testing::TFifoReader fifo(root_ / "pipe.orb");
    ASSERT_TRUE(fifo.Ok());
    const TCliResult r = RunCommand({"convert", in, (root_ / "pipe.orb").string()});
    ASSERT_EQ(r.status, kOk) << r.err;
    EXPECT_EQ(std::vector<uint8_t>(fifo.Bytes().begin(), fifo.Bytes().end()), expected);
  }
  EXPECT_TRUE(testing::IsFifo(root_ / "pipe.orb"));
  if (!testing::MakeCharDevice(root_ / "null.orb", 1, 3))
    GTEST_SKIP() << "no device nodes here (not root)";
  EXPECT_EQ(RunCommand({"convert", in, (root_ / "null.orb").string()}).status, kOk);
  EXPECT_TRUE(testing::IsCharDevice(root_ / "null.orb"));
}

}  // namespace
}  // namespace kestrova::cli
