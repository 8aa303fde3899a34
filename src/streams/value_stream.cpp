// The value stream: tagged values through one 4096-byte buffer in each direction.
#include "streams/value_stream.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <istream>

#include "streams/text_encoding.h"

namespace kestrova {

// --- byte streams -------------------------------------------------------------------------------

bool MemorySink::Write(const uint8_t* data, size_t n) {
  bytes_.insert(bytes_.end(), data, data + n);
  return true;
}

size_t MemorySource::Read(uint8_t* data, size_t n) {
  const size_t count = std::min(n, size_ - pos_);
  if (count > 0) std::memcpy(data, data_ + pos_, count);
  pos_ += count;
  return count;
}

bool FileSink::Write(const uint8_t* data, size_t n) {
  return std::fwrite(data, 1, n, file_) == n;
}

FileSource::FileSource(std::FILE* file) : file_(file) {
  struct stat info;
  if (::fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) return;
  const off_t pos = ::ftello(file);
  if (pos >= 0 && pos <= info.st_size) remaining_ = static_cast<uint64_t>(info.st_size - pos);
}

size_t FileSource::Read(uint8_t* data, size_t n) {
  const size_t count = std::fread(data, 1, n, file_);
  if (remaining_) *remaining_ -= std::min<uint64_t>(*remaining_, count);
  return count;
}

size_t IStreamSource::Read(uint8_t* data, size_t n) {
  in_.read(reinterpret_cast<char*>(data), static_cast<std::streamsize>(n));
  return static_cast<size_t>(in_.gcount());
}

size_t RewindableSource::Read(uint8_t* data, size_t n) {
  if (!keeping_ && replayed_ < kept_.size()) {
    const size_t count = std::min(n, kept_.size() - replayed_);
    std::memcpy(data, kept_.data() + replayed_, count);
    replayed_ += count;
    if (replayed_ == kept_.size()) {
      // Everything kept has been given again; the memory goes back at once.
      std::vector<uint8_t>().swap(kept_);
      replayed_ = 0;
    }
    return count;
  }
  const size_t count = inner_.Read(data, n);
  if (keeping_) kept_.insert(kept_.end(), data, data + count);
  return count;
}

std::optional<uint64_t> RewindableSource::Remaining() const {
  const std::optional<uint64_t> inner = inner_.Remaining();
  if (!inner) return std::nullopt;
  return *inner + (keeping_ ? 0 : kept_.size() - replayed_);
}

void RewindableSource::Rewind() {
  keeping_ = false;
}

// --- writer -------------------------------------------------------------------------------------

namespace {

void PutLittleEndian(uint8_t* out, uint64_t value, size_t bytes) {
  for (size_t i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint64_t GetLittleEndian(const uint8_t* in, size_t bytes) {
  uint64_t value = 0;
  for (size_t i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(in[i]) << (8 * i);
  return value;
}

}  // namespace

ValueWriter::ValueWriter(ByteSink& sink) : sink_(sink) {}

void ValueWriter::Put(const uint8_t* data, size_t n) {
  while (n > 0) {
    if (used_ == kValueBufferSize) {
      if (!sink_.Write(buffer_, used_)) throw EWriteError();
      used_ = 0;
    }
    const size_t count = std::min(n, kValueBufferSize - used_);
    std::memcpy(buffer_ + used_, data, count);
    used_ += count;
    data += count;
    n -= count;
  }
}

void ValueWriter::WriteInteger(int32_t value) {
  uint8_t bytes[5];
  size_t width;
  if (value >= -128 && value <= 127) {
    bytes[0] = static_cast<uint8_t>(ValueTag::Int8);
    width = 1;
  } else if (value >= -32768 && value <= 32767) {
    bytes[0] = static_cast<uint8_t>(ValueTag::Int16);
    width = 2;
  } else {
    bytes[0] = static_cast<uint8_t>(ValueTag::Int32);
    width = 4;
  }
  PutLittleEndian(bytes + 1, static_cast<uint32_t>(value), width);
  Put(bytes, 1 + width);
}

void ValueWriter::WriteBoolean(bool value) {
  const uint8_t tag = static_cast<uint8_t>(value ? ValueTag::True : ValueTag::False);
  Put(&tag, 1);
}

void ValueWriter::WriteFloat(Extended value) {
  uint8_t bytes[11];
  bytes[0] = static_cast<uint8_t>(ValueTag::Extended80);
  // long double occupies 16 bytes of which the first 10 are the x87 value; the rest is padding.
  std::memcpy(bytes + 1, &value, 10);
  Put(bytes, sizeof bytes);
}

void ValueWriter::WriteString(std::string_view text) {
  // Text that is not valid UTF-8 (bytes from outside that nobody converted) is stored with
  // U+FFFD in place of the bad bytes, so the document holds what any reader can decode.
  std::string sanitized;
  std::string_view utf8 = text;
  const bool ascii = IsAscii(text);
  if (!ascii) {
    sanitized = SanitizeUtf8(text);
    utf8 = sanitized;
  }
  // A length field is a signed 32-bit number in the stored form; longer text cannot be stored.
  if (utf8.size() > 0x7FFFFFFF) throw EWriteError();
  uint8_t head[5];
  size_t head_size;
  if (ascii && utf8.size() <= 255) {
    head[0] = static_cast<uint8_t>(ValueTag::String);
    head[1] = static_cast<uint8_t>(utf8.size());
    head_size = 2;
  } else {
    head[0] = static_cast<uint8_t>(ascii ? ValueTag::LString : ValueTag::Utf8String);
    PutLittleEndian(head + 1, utf8.size(), 4);
    head_size = 5;
  }
  Put(head, head_size);
  Put(reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size());
}

void ValueWriter::Finish() {
  if (used_ > 0 && !sink_.Write(buffer_, used_)) throw EWriteError();
  used_ = 0;
}

// --- reader -------------------------------------------------------------------------------------

namespace {

// Reads exactly n bytes through the reader's buffer or fails with the read error.
struct BufferedInput {
  uint8_t* buffer;
  ByteSource& source;
  size_t& pos;
  size_t& end;
  uint64_t& base;

  bool Fill() {
    base += end;
    pos = 0;
    end = source.Read(buffer, kValueBufferSize);
    return end > 0;
  }

  uint8_t Byte() {
    if (pos == end && !Fill()) throw EReadError();
    return buffer[pos++];
  }

  void Bytes(uint8_t* out, size_t n) {
    while (n > 0) {
      if (pos == end && !Fill()) throw EReadError();
      const size_t count = std::min(n, end - pos);
      std::memcpy(out, buffer + pos, count);
      pos += count;
      out += count;
      n -= count;
    }
  }

  uint64_t LittleEndian(size_t bytes) {
    uint8_t raw[8];
    Bytes(raw, bytes);
    return GetLittleEndian(raw, bytes);
  }

  // A stored length is checked against what the stream has left before anything is allocated;
  // where that is unknown (a pipe) the text grows only as bytes actually arrive. Either way a
  // hostile length cannot make the reader allocate more than the stream holds.
  std::string Text(uint64_t n) {
    std::string text;
    if (const std::optional<uint64_t> left = source.Remaining()) {
      if (n > (end - pos) + *left) throw EReadError();
      text.reserve(static_cast<size_t>(n));
    }
    while (n > 0) {
      if (pos == end && !Fill()) throw EReadError();
      const size_t count = static_cast<size_t>(std::min<uint64_t>(n, end - pos));
      text.append(reinterpret_cast<const char*>(buffer + pos), count);
      pos += count;
      n -= count;
    }
    return text;
  }

  int64_t Integer(uint8_t tag) {
    switch (static_cast<ValueTag>(tag)) {
      case ValueTag::Int8:
        return static_cast<int8_t>(Byte());
      case ValueTag::Int16:
        return static_cast<int16_t>(LittleEndian(2));
      case ValueTag::Int32:
        return static_cast<int32_t>(LittleEndian(4));
      default:
        throw EInvalidValue();
    }
  }
};

}  // namespace

ValueReader::ValueReader(ByteSource& source) : source_(source) {}

namespace {

void JoinMeaning(std::string& into, std::string_view part) {
  if (part.empty()) return;
  if (!into.empty() && part.front() != '[') into += '.';
  into += part;
}

}  // namespace

// Without a trace a read costs a test and a count beside the reading itself; the meaning is not
// looked at. The readings below are forced inline and the traced path is kept out of line:
// otherwise the compiler calls each reading out of line, and documents read ten per cent slower.
template <class Read>
auto ValueReader::Traced(TValueKind kind, std::string_view meaning, Read read, bool skipped) {
  if (trace_ != nullptr) [[unlikely]] {
    return ReadAndTell(kind, meaning, read, skipped);
  }
  ++index_;
  return read();
}

template <class Read>
[[gnu::noinline]] auto ValueReader::ReadAndTell(TValueKind kind, std::string_view meaning,
                                                Read read, bool skipped) {
  TTracedValue traced;
  traced.Index = index_++;
  traced.Kind = kind;
  traced.Skipped = skipped;
  meaning_ = scope_;
  JoinMeaning(meaning_, meaning);
  traced.Meaning = meaning_;
  decltype(read()) value{};
  try {
    value = read();
  } catch (const std::exception& e) {
    trace_->OnFailure(traced, e.what());
    throw;
  }
  traced.End = base_ + pos_;
  using Value = decltype(value);
  if constexpr (std::is_same_v<Value, int32_t>) {
    traced.Integer = value;
  } else if constexpr (std::is_same_v<Value, bool>) {
    traced.Boolean = value;
  } else if constexpr (std::is_same_v<Value, Extended>) {
    traced.Float = value;
  } else {
    traced.String = value;
  }
  trace_->OnValue(traced);
  return value;
}

int32_t ValueReader::ReadInteger(std::string_view meaning) {
  return Traced(
      TValueKind::Integer, meaning, [this]() __attribute__((always_inline)) {
        BufferedInput in{buffer_, source_, pos_, end_, base_};
        return static_cast<int32_t>(in.Integer(in.Byte()));
      });
}

bool ValueReader::ReadBoolean(std::string_view meaning) {
  return Traced(
      TValueKind::Boolean, meaning, [this]() __attribute__((always_inline)) {
        BufferedInput in{buffer_, source_, pos_, end_, base_};
        return in.Byte() == static_cast<uint8_t>(ValueTag::True);
      });
}

namespace {

[[gnu::always_inline]] inline Extended ReadFloatValue(BufferedInput& in) {
  const uint8_t tag = in.Byte();
  if (tag == static_cast<uint8_t>(ValueTag::Extended80)) {
    Extended value = 0;
    in.Bytes(reinterpret_cast<uint8_t*>(&value), 10);
    return value;
  }
  if (tag == static_cast<uint8_t>(ValueTag::Int64)) {
    return static_cast<Extended>(static_cast<int64_t>(in.LittleEndian(8)));
  }
  return static_cast<Extended>(in.Integer(tag));
}

}  // namespace

Extended ValueReader::ReadFloat(std::string_view meaning) {
  return Traced(
      TValueKind::Float, meaning, [this]() __attribute__((always_inline)) {
        BufferedInput in{buffer_, source_, pos_, end_, base_};
        return ReadFloatValue(in);
      });
}

void ValueReader::SkipFloat(std::string_view meaning) {
  Traced(
      TValueKind::Float, meaning,
      [this]() __attribute__((always_inline)) {
        BufferedInput in{buffer_, source_, pos_, end_, base_};
        return ReadFloatValue(in);
      },
      true);
}

std::string ValueReader::ReadString(std::string_view meaning) {
  return Traced(
      TValueKind::String, meaning, [this]() __attribute__((always_inline)) {
        BufferedInput in{buffer_, source_, pos_, end_, base_};
        switch (static_cast<ValueTag>(in.Byte())) {
          case ValueTag::String:
            return Windows1252ToUtf8(in.Text(in.Byte()));
          case ValueTag::LString:
            return Windows1252ToUtf8(in.Text(in.LittleEndian(4)));
          case ValueTag::WString:
            return Utf16LeToUtf8(in.Text(2 * in.LittleEndian(4)));
          case ValueTag::Utf8String:
            return SanitizeUtf8(in.Text(in.LittleEndian(4)));
          default:
            throw EInvalidValue();
        }
      });
}

void TMeaningScope::Open(std::string_view part) {
  outer_size_ = reader_.scope_.size();
  JoinMeaning(reader_.scope_, part);
  opened_ = true;
}

}  // namespace kestrova
