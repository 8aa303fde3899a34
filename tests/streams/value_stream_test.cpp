// The value stream's bytes, its readers' tolerance of old forms and its behaviour on bad input.
#include "streams/value_stream.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cmath>

#include <cstring>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace kestrova {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Written(const std::function<void(ValueWriter&)>& write) {
  MemorySink sink;
  ValueWriter writer(sink);
  write(writer);
  writer.Finish();
  return sink.Bytes();
}

Bytes Concat(Bytes head, const std::string& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

TEST(ValueWriter, WritesTheStoredForms) {
  const std::string ascii255(255, 'x');
  const std::string ascii256(256, 'y');
  struct Case {
    const char* what;
    std::function<void(ValueWriter&)> write;
    Bytes bytes;
  };
  const Case cases[] = {
      {"0", [](ValueWriter& w) { w.WriteInteger(0); }, {0x02, 0x00}},
      {"-1", [](ValueWriter& w) { w.WriteInteger(-1); }, {0x02, 0xFF}},
      {"-128", [](ValueWriter& w) { w.WriteInteger(-128); }, {0x02, 0x80}},
      {"127", [](ValueWriter& w) { w.WriteInteger(127); }, {0x02, 0x7F}},
      {"128", [](ValueWriter& w) { w.WriteInteger(128); }, {0x03, 0x80, 0x00}},
      {"200", [](ValueWriter& w) { w.WriteInteger(200); }, {0x03, 0xC8, 0x00}},
      {"-129", [](ValueWriter& w) { w.WriteInteger(-129); }, {0x03, 0x7F, 0xFF}},
      {"-32768", [](ValueWriter& w) { w.WriteInteger(-32768); }, {0x03, 0x00, 0x80}},
      {"32767", [](ValueWriter& w) { w.WriteInteger(32767); }, {0x03, 0xFF, 0x7F}},
      {"32768", [](ValueWriter& w) { w.WriteInteger(32768); }, {0x04, 0x00, 0x80, 0x00, 0x00}},
      {"-32769", [](ValueWriter& w) { w.WriteInteger(-32769); }, {0x04, 0xFF, 0x7F, 0xFF, 0xFF}},
      {"40000", [](ValueWriter& w) { w.WriteInteger(40000); }, {0x04, 0x40, 0x9C, 0x00, 0x00}},
      {"true", [](ValueWriter& w) { w.WriteBoolean(true); }, {0x09}},
      {"false", [](ValueWriter& w) { w.WriteBoolean(false); }, {0x08}},
      {"1.0",
       [](ValueWriter& w) { w.WriteFloat(1.0L); },
       {0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xFF, 0x3F}},
      {"-2.5",
       [](ValueWriter& w) { w.WriteFloat(-2.5L); },
       {0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xA0, 0x00, 0xC0}},
      {"abc", [](ValueWriter& w) { w.WriteString("abc"); }, {0x06, 0x03, 0x61, 0x62, 0x63}},
      {"empty", [](ValueWriter& w) { w.WriteString(""); }, {0x06, 0x00}},
      {"e acute",
       [](ValueWriter& w) { w.WriteString("\xC3\xA9"); },
       {0x14, 0x02, 0x00, 0x00, 0x00, 0xC3, 0xA9}},
      {"a and e acute",
       [](ValueWriter& w) { w.WriteString("a\xC3\xA9"); },
       {0x14, 0x03, 0x00, 0x00, 0x00, 0x61, 0xC3, 0xA9}},
      {"stray 8-bit byte",
       [](ValueWriter& w) { w.WriteString("\xE9"); },
       {0x14, 0x03, 0x00, 0x00, 0x00, 0xEF, 0xBF, 0xBD}},
      {"255 ASCII", [&](ValueWriter& w) { w.WriteString(ascii255); },
       Concat({0x06, 0xFF}, ascii255)},
      {"256 ASCII", [&](ValueWriter& w) { w.WriteString(ascii256); },
       Concat({0x0C, 0x00, 0x01, 0x00, 0x00}, ascii256)},
      {"nothing", [](ValueWriter&) {}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Written(c.write), c.bytes) << c.what;
}

// Reads one value from the bytes and checks that the whole input was consumed.
template <typename T>
T ReadAll(const Bytes& bytes, T (ValueReader::*read)(std::string_view)) {
  MemorySource source(bytes);
  ValueReader reader(source);
  T value = (reader.*read)({});
  EXPECT_THROW(reader.ReadBoolean(), EReadError) << "input not consumed";
  return value;
}

TEST(ValueReader, AcceptsTheOlderAndWiderForms) {
  EXPECT_EQ(ReadAll<Extended>({0x02, 0x05}, &ValueReader::ReadFloat), 5.0L);
  EXPECT_EQ(ReadAll<Extended>({0x03, 0x7F, 0xFF}, &ValueReader::ReadFloat), -129.0L);
  EXPECT_EQ(ReadAll<Extended>({0x04, 0xFF, 0x7F, 0xFF, 0xFF}, &ValueReader::ReadFloat), -32769.0L);
  // An Int64 converts exactly: the 80-bit significand holds all 64 bits.
  EXPECT_EQ(ReadAll<Extended>({0x13, 0x01, 0, 0, 0, 0, 0, 0, 0x80}, &ValueReader::ReadFloat),
            static_cast<Extended>(std::numeric_limits<int64_t>::min()) + 1);
  EXPECT_EQ(ReadAll<Extended>({0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F},
                              &ValueReader::ReadFloat),
            9223372036854775807.0L);

  struct Text {
    const char* what;
    Bytes bytes;
    std::string utf8;
  };
  const Text texts[] = {
      {"LString", {0x0C, 0x02, 0x00, 0x00, 0x00, 'h', 'i'}, "hi"},
      {"8-bit String", {0x06, 0x03, 0xE9, 0x80, 0x9F}, "\xC3\xA9\xE2\x82\xAC\xC5\xB8"},
      {"8-bit undefined byte", {0x06, 0x01, 0x81}, "\xC2\x81"},
      {"8-bit LString", {0x0C, 0x01, 0x00, 0x00, 0x00, 0xFC}, "\xC3\xBC"},
      {"WString", {0x12, 0x02, 0x00, 0x00, 0x00, 'o', 0x00, 0xE9, 0x00}, "o\xC3\xA9"},
      {"WString pair", {0x12, 0x02, 0x00, 0x00, 0x00, 0x3D, 0xD8, 0x00, 0xDE}, "\xF0\x9F\x98\x80"},
      {"WString lone high", {0x12, 0x02, 0x00, 0x00, 0x00, 0x3D, 0xD8, 'x', 0x00}, "\xEF\xBF\xBDx"},
      {"WString lone low", {0x12, 0x01, 0x00, 0x00, 0x00, 0x00, 0xDE}, "\xEF\xBF\xBD"},
      {"WString empty", {0x12, 0x00, 0x00, 0x00, 0x00}, ""},
      {"UTF-8", {0x14, 0x02, 0x00, 0x00, 0x00, 0xC3, 0xA9}, "\xC3\xA9"},
      {"invalid UTF-8",
       {0x14, 0x03, 0x00, 0x00, 0x00, 'a', 0xC3, 0xFF},
       "a\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const Text& t : texts) {
    EXPECT_EQ(ReadAll<std::string>(t.bytes, &ValueReader::ReadString), t.utf8) << t.what;
  }
}

TEST(ValueReader, RejectsForeignTagsAfterConsumingThem) {
  struct Case {
    const char* what;
    Bytes bytes;
    std::function<void(ValueReader&)> read;
  };
  const Case cases[] = {
      {"ReadInteger on Extended", {0x05}, [](ValueReader& r) { r.ReadInteger(); }},
      {"ReadInteger on Int64", {0x13}, [](ValueReader& r) { r.ReadInteger(); }},
      {"ReadInteger on String", {0x06}, [](ValueReader& r) { r.ReadInteger(); }},
      {"ReadFloat on True", {0x09}, [](ValueReader& r) { r.ReadFloat(); }},
      {"ReadFloat on String", {0x06}, [](ValueReader& r) { r.ReadFloat(); }},
      {"ReadString on Int8", {0x02}, [](ValueReader& r) { r.ReadString(); }},
      {"ReadString on tag 0", {0x00}, [](ValueReader& r) { r.ReadString(); }},
      {"ReadString on tag 255", {0xFF}, [](ValueReader& r) { r.ReadString(); }},
  };
  for (const Case& c : cases) {
    Bytes bytes = c.bytes;
    bytes.insert(bytes.end(), {0x02, 0x07});
    MemorySource source(bytes);
    ValueReader reader(source);
    try {
      c.read(reader);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EInvalidValue& e) {
      EXPECT_STREQ(e.what(), "Invalid property value") << c.what;
    }
    EXPECT_EQ(reader.ReadInteger(), 7) << c.what << ": the tag is consumed, nothing more";
  }
}

TEST(ValueReader, BooleanTakesOnlyTheTagByte) {
  const Bytes bytes = {0x02, 0x05, 0x09, 0x08, 0x00};
  MemorySource source(bytes);
  ValueReader reader(source);
  EXPECT_FALSE(reader.ReadBoolean());  // the Int8 tag
  EXPECT_FALSE(reader.ReadBoolean());  // its payload 05
  EXPECT_TRUE(reader.ReadBoolean());
  EXPECT_FALSE(reader.ReadBoolean());
  EXPECT_FALSE(reader.ReadBoolean());
  EXPECT_THROW(reader.ReadBoolean(), EReadError);
}

// Compares the ten stored bytes, so NaN payloads and the sign of zero count.
bool SameBits(Extended a, Extended b) {
  return std::memcmp(&a, &b, 10) == 0;
}

struct Sample {
  std::vector<int32_t> integers = {0,
                                   -1,
                                   127,
                                   -128,
                                   128,
                                   -129,
                                   32767,
                                   -32768,
                                   32768,
                                   -32769,
                                   std::numeric_limits<int32_t>::max(),
                                   std::numeric_limits<int32_t>::min()};
  std::vector<Extended> floats = {0.0L,
                                  -0.0L,
                                  1.0L,
                                  2451545.0L,
                                  0.1L,
                                  std::numeric_limits<Extended>::max(),
                                  std::numeric_limits<Extended>::denorm_min(),
                                  -std::numeric_limits<Extended>::infinity(),
                                  std::numeric_limits<Extended>::quiet_NaN()};
  std::vector<std::string> texts = {"",
                                    "Ceres",
                                    std::string(255, 'a'),
                                    std::string(256, 'b'),
                                    std::string(5000, 'c'),
                                    "M\xC3\xA1laga \xE2\x82\xAC \xF0\x9F\x98\x80",
                                    std::string(3000, 'd') + "\xC3\xA9"};

  void Write(ValueWriter& w) const {
    for (size_t i = 0; i < integers.size(); ++i) {
      w.WriteInteger(integers[i]);
      w.WriteBoolean(i % 3 == 0);
    }
    for (const Extended f : floats) w.WriteFloat(f);
    for (const std::string& t : texts) w.WriteString(t);
  }

  void Read(ValueReader& r) const {
    for (size_t i = 0; i < integers.size(); ++i) {
      EXPECT_EQ(r.ReadInteger(), integers[i]);
      EXPECT_EQ(r.ReadBoolean(), i % 3 == 0);
    }
    for (const Extended f : floats) EXPECT_TRUE(SameBits(r.ReadFloat(), f)) << f;
    for (const std::string& t : texts) EXPECT_EQ(r.ReadString(), t);
  }
};

TEST(ValueStream, RoundTripsEveryValueBitForBit) {
  const Sample sample;
  const Bytes bytes = Written([&](ValueWriter& w) { sample.Write(w); });
  MemorySource source(bytes);
  ValueReader reader(source);
  sample.Read(reader);
  EXPECT_THROW(reader.ReadBoolean(), EReadError);
}

// Records the size of every transfer, to see the buffer at work.
class CountingSink : public ByteSink {
 public:
  bool Write(const uint8_t* data, size_t n) override {
    sizes.push_back(n);
    return inner.Write(data, n);
  }
  MemorySink inner;
  std::vector<size_t> sizes;
};

class CountingSource : public ByteSource {
 public:
  explicit CountingSource(const Bytes& bytes) : inner(bytes) {}
  size_t Read(uint8_t* data, size_t n) override {
    requests.push_back(n);
    return inner.Read(data, n);
  }
  MemorySource inner;
  std::vector<size_t> requests;
};

TEST(ValueStream, MovesWholeBuffersThroughTheFile) {
  const Sample sample;
  CountingSink sink;
  ValueWriter writer(sink);
  sample.Write(writer);
  EXPECT_TRUE(sink.sizes.size() >= 2);
  writer.Finish();
  const size_t total = sink.inner.Bytes().size();
  ASSERT_EQ(sink.sizes.size(), (total + kValueBufferSize - 1) / kValueBufferSize);
  for (size_t i = 0; i + 1 < sink.sizes.size(); ++i) EXPECT_EQ(sink.sizes[i], kValueBufferSize);

  CountingSource source(sink.inner.Bytes());
  ValueReader reader(source);
  sample.Read(reader);
  for (const size_t n : source.requests) EXPECT_EQ(n, kValueBufferSize);
  EXPECT_EQ(source.requests.size(), sink.sizes.size());
}

TEST(ValueStream, RoundTripsThroughARealFile) {
  const Sample sample;
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  FileSink sink(file);
  ValueWriter writer(sink);
  sample.Write(writer);
  writer.Finish();
  std::rewind(file);
  FileSource source(file);
  ValueReader reader(source);
  sample.Read(reader);
  EXPECT_THROW(reader.ReadBoolean(), EReadError);
  std::fclose(file);
}

TEST(ValueStream, EveryTruncationIsAReadError) {
  // A short sample with one of each form keeps the quadratic loop small.
  const Bytes bytes = Written([](ValueWriter& w) {
    w.WriteInteger(5);
    w.WriteInteger(-300);
    w.WriteInteger(100000);
    w.WriteBoolean(true);
    w.WriteFloat(3.25L);
    w.WriteString("abc");
    w.WriteString(std::string(300, 'z'));
    w.WriteString("\xC3\xA9t\xC3\xA9");
  });
  const auto read_all = [](ValueReader& r) {
    r.ReadInteger();
    r.ReadInteger();
    r.ReadInteger();
    r.ReadBoolean();
    r.ReadFloat();
    r.ReadString();
    r.ReadString();
    r.ReadString();
  };
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    MemorySource source(bytes.data(), cut);
    ValueReader reader(source);
    try {
      read_all(reader);
      ADD_FAILURE() << "cut at " << cut << ": no error";
    } catch (const EReadError& e) {
      EXPECT_STREQ(e.what(), "Stream read error");
    }
  }
  MemorySource whole(bytes);
  ValueReader reader(whole);
  EXPECT_NO_THROW(read_all(reader));
}

TEST(ValueReader, HugeLengthsFailAtTheEndOfTheData) {
  // Lengths near two billion (and a count whose byte size passes 4 GiB) over a few bytes of
  // data: the reader must run out of data, not allocate what the length claims.
  const Bytes cases[] = {
      {0x0C, 0x00, 0x94, 0x35, 0x77, 'a', 'b'},
      {0x0C, 0xFF, 0xFF, 0xFF, 0xFF, 'a'},
      {0x14, 0xFF, 0xFF, 0xFF, 0x7F, 0xC3, 0xA9},
      {0x12, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0x00},
  };
  for (const Bytes& bytes : cases) {
    MemorySource source(bytes);
    ValueReader reader(source);
    EXPECT_THROW(reader.ReadString(), EReadError) << int(bytes[0]);
  }
}

TEST(ValueReader, LengthsBeyondARegularFileFailBeforeTheDataIsRead) {
  // A string that claims 4 GB at the start of a 64 MB file (sparse, so the test costs no disk):
  // the reader knows what the file has left and refuses before it reads or allocates the text.
  struct Case {
    const char* what;
    Bytes head;
  };
  for (const Case& c : {Case{"LString", {0x0C, 0xF0, 0xFF, 0xFF, 0xFF}},
                        Case{"Utf8String", {0x14, 0xF0, 0xFF, 0xFF, 0x7F}},
                        Case{"WString", {0x12, 0x00, 0x00, 0x00, 0x02}}}) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(c.head.data(), 1, c.head.size(), file), c.head.size());
    ASSERT_EQ(::ftruncate(fileno(file), 64 << 20), 0);
    std::rewind(file);
    FileSource source(file);
    ValueReader reader(source);
    EXPECT_THROW(reader.ReadString(), EReadError) << c.what;
    EXPECT_LE(std::ftell(file), long(kValueBufferSize)) << c.what;
    std::fclose(file);
  }
  // The same in memory, and a length that fits exactly is still read.
  const Bytes fits = {0x0C, 0x02, 0x00, 0x00, 0x00, 'o', 'k'};
  MemorySource exact(fits);
  ValueReader ok(exact);
  EXPECT_EQ(ok.ReadString(), "ok");
  const Bytes over = {0x0C, 0x03, 0x00, 0x00, 0x00, 'o', 'k'};
  MemorySource shortOne(over);
  ValueReader bad(shortOne);
  EXPECT_THROW(bad.ReadString(), EReadError);
}

TEST(RewindableSource, GivesItsBeginningTwiceOverAStreamThatCannotSeek) {
  const Sample sample;
  MemorySink sink;
  ValueWriter writer(sink);
  sample.Write(writer);
  writer.Finish();
  const std::string bytes(sink.Bytes().begin(), sink.Bytes().end());
  ASSERT_GT(bytes.size(), 2 * kValueBufferSize);

  std::istringstream pipe(bytes);
  IStreamSource stream(pipe);
  EXPECT_FALSE(stream.Remaining().has_value());
  RewindableSource source(stream);
  {
    ValueReader first(source);
    first.ReadInteger();
  }
  source.Rewind();
  ValueReader again(source);
  sample.Read(again);
  EXPECT_THROW(again.ReadBoolean(), EReadError);

  // Over a source that knows its size, the kept bytes count as left after the rewind.
  MemorySource memory(sink.Bytes());
  RewindableSource counted(memory);
  uint8_t block[100];
  ASSERT_EQ(counted.Read(block, sizeof block), sizeof block);
  EXPECT_EQ(counted.Remaining(), bytes.size() - sizeof block);
  counted.Rewind();
  EXPECT_EQ(counted.Remaining(), bytes.size());
}

// Every event of a trace as one line.
class TLinesTrace : public ValueTrace {
 public:
  void OnValue(const TTracedValue& v) override {
    std::ostringstream line;
    line << v.Index << " " << static_cast<int>(v.Kind) << " " << v.Meaning << " ";
    switch (v.Kind) {
      case TValueKind::Integer:
        line << v.Integer;
        break;
      case TValueKind::Boolean:
        line << v.Boolean;
        break;
      case TValueKind::Float:
        line << static_cast<double>(v.Float);
        break;
      case TValueKind::String:
        line << v.String;
        break;
    }
    line << " @" << v.End << (v.Skipped ? " skipped" : "");
    lines.push_back(line.str());
  }
  void OnFailure(const TTracedValue& v, std::string_view message) override {
    lines.push_back("failed " + std::to_string(v.Index) + " " + std::string(v.Meaning) + ": " +
                    std::string(message));
  }
  void OnNote(std::string_view note) override { lines.push_back("note " + std::string(note)); }
  std::vector<std::string> lines;
};

TEST(ValueReader, TellsATraceEveryValueWithItsPlaceKindAndMeaning) {
  // Long enough that the values cross the reader's buffer: the byte counts must go on.
  const std::string longText(kValueBufferSize, 'x');
  const Bytes bytes = Written([&](ValueWriter& w) {
    w.WriteInteger(-300);
    w.WriteString(longText);
    w.WriteBoolean(true);
    w.WriteFloat(2.5L);
    w.WriteFloat(-1);
    w.WriteString("Io");
  });
  const auto readAll = [&](ValueTrace* trace) {
    MemorySource source(bytes);
    ValueReader reader(source);
    reader.SetTrace(trace);
    std::vector<std::string> values;
    TMeaningScope scene(reader, "scene");
    values.push_back(std::to_string(reader.ReadInteger("Count")));
    {
      TMeaningScope item(reader, [] { return std::string("[3]"); });
      values.push_back(reader.ReadString().substr(0, 2));
      values.push_back(std::to_string(reader.ReadBoolean("Visible")));
    }
    values.push_back(std::to_string(static_cast<double>(reader.ReadFloat("Dim"))));
    reader.SkipFloat("Pos.x");
    reader.Note("dropped");
    values.push_back(reader.ReadString("Name"));
    EXPECT_THROW(reader.ReadInteger("After"), EReadError);
    return values;
  };
  TLinesTrace trace;
  const std::vector<std::string> traced = readAll(&trace);
  const std::string past = std::to_string(3 + 5 + kValueBufferSize);
  EXPECT_EQ(trace.lines,
            (std::vector<std::string>{
                "0 0 scene.Count -300 @3",
                "1 3 scene[3] " + longText + " @" + past,
                "2 1 scene[3].Visible 1 @" + std::to_string(std::stoul(past) + 1),
                "3 2 scene.Dim 2.5 @" + std::to_string(std::stoul(past) + 12),
                "4 2 scene.Pos.x -1 @" + std::to_string(std::stoul(past) + 23) + " skipped",
                "note dropped",
                "5 3 scene.Name Io @" + std::to_string(std::stoul(past) + 27),
                "failed 6 scene.After: Stream read error",
            }));
  // Without a trace the same reading gives the same values; the scopes and notes do nothing.
  EXPECT_EQ(readAll(nullptr), traced);
}

class RefusingSink : public ByteSink {
 public:
  bool Write(const uint8_t*, size_t) override { return false; }
};

TEST(ValueWriter, ReportsARefusedWrite) {
  RefusingSink sink;
  {
    ValueWriter writer(sink);
    writer.WriteInteger(1);
    try {
      writer.Finish();
      ADD_FAILURE() << "no error";
    } catch (const EWriteError& e) {
      EXPECT_STREQ(e.what(), "Stream write error");
    }
  }
  // A full buffer goes out before the next value, so the error comes without Finish.
  ValueWriter writer(sink);
  EXPECT_THROW(writer.WriteString(std::string(2 * kValueBufferSize, 'x')), EWriteError);
}

}  // namespace
}  // namespace kestrova
