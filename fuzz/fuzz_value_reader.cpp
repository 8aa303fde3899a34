// Reads a mixed sequence of values from arbitrary bytes until the stream reports an error, then
// checks that what was read survives a write and a second read unchanged.
//
// Input: byte 0 holds the number k (1..16) of operation bytes and, in its high bits, how many bytes
// the source hands out per read; the next k bytes choose the operations (cycled); the rest is the
// stream.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <variant>
#include <vector>

#include "streams/text_encoding.h"
#include "streams/value_stream.h"

namespace {

using kestrova::Extended;
using Value = std::variant<int32_t, bool, Extended, std::string>;

// A source that hands out at most `step` bytes per read, as a pipe or a slow file may.
class TricklingSource : public kestrova::ByteSource {
 public:
  TricklingSource(const uint8_t* data, size_t size, size_t step)
      : inner_(data, size), step_(step) {}
  size_t Read(uint8_t* data, size_t n) override { return inner_.Read(data, n < step_ ? n : step_); }

 private:
  kestrova::MemorySource inner_;
  size_t step_;
};

std::vector<Value> ReadUntilError(kestrova::ByteSource& source, const uint8_t* ops, size_t k,
                                  size_t limit) {
  kestrova::ValueReader reader(source);
  std::vector<Value> values;
  try {
    for (size_t i = 0; values.size() < limit; ++i) {
      switch (ops[i % k] % 4) {
        case 0:
          values.emplace_back(reader.ReadInteger());
          break;
        case 1:
          values.emplace_back(reader.ReadBoolean());
          break;
        case 2:
          values.emplace_back(reader.ReadFloat());
          break;
        default: {
          std::string text = reader.ReadString();
          if (kestrova::SanitizeUtf8(text) != text) __builtin_trap();  // text must be UTF-8
          values.emplace_back(std::move(text));
        }
      }
    }
  } catch (const kestrova::EKestrovaError&) {
    // The expected end of every input that is not an endless stream of values.
  }
  return values;
}

bool Same(const Value& a, const Value& b) {
  if (a.index() != b.index()) return false;
  if (const auto* x = std::get_if<Extended>(&a)) {
    const Extended y = std::get<Extended>(b);
    return std::memcmp(x, &y, 10) == 0;
  }
  return a == b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const size_t k = 1 + (data[0] & 0x0F);
  if (size < 1 + k) return 0;
  const size_t steps[] = {4096, 1, 3, 4097, 7, 64, 1000, 5000};  // some cross the buffer size
  const uint8_t* ops = data + 1;
  const uint8_t* stream = data + 1 + k;
  const size_t stream_size = size - 1 - k;

  TricklingSource source(stream, stream_size, steps[(data[0] >> 4) & 7]);
  // Every value takes at least one byte, so the stream bounds the count.
  const std::vector<Value> values = ReadUntilError(source, ops, k, stream_size + 1);

  kestrova::MemorySink sink;
  kestrova::ValueWriter writer(sink);
  for (const Value& v : values) {
    switch (v.index()) {
      case 0:
        writer.WriteInteger(std::get<int32_t>(v));
        break;
      case 1:
        writer.WriteBoolean(std::get<bool>(v));
        break;
      case 2:
        writer.WriteFloat(std::get<Extended>(v));
        break;
      default:
        writer.WriteString(std::get<std::string>(v));
    }
  }
  writer.Finish();

  // Read back with the kinds actually read, so the round trip is exact.
  kestrova::MemorySource again(sink.Bytes());
  kestrova::ValueReader reader(again);
  for (const Value& v : values) {
    Value w;
    switch (v.index()) {
      case 0:
        w = reader.ReadInteger();
        break;
      case 1:
        w = reader.ReadBoolean();
        break;
      case 2:
        w = reader.ReadFloat();
        break;
      default:
        w = reader.ReadString();
    }
    if (!Same(v, w)) __builtin_trap();
  }
  return 0;
}
