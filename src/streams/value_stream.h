// The value stream of orbit documents: a flat sequence of tagged Integer, Boolean, Float and
// String values, read back strictly in the order they were written.
//
// Text is UTF-8 inside the program. Strings of 7-bit ASCII are written with tag 6 (up to 255
// bytes) or tag 12; any other text with tag 20 (UTF-8). Floats are the x87 80-bit format, bit
// for bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "numerics/errors.h"
#include "numerics/extended.h"

namespace kestrova {

// "Stream read error": the stream ended before a value did.
class EReadError : public EKestrovaError {
 public:
  EReadError() : EKestrovaError("Stream read error") {}
};
// "Invalid property value": a tag the read operation does not accept.
class EInvalidValue : public EKestrovaError {
 public:
  EInvalidValue() : EKestrovaError("Invalid property value") {}
};
// "Stream write error": the underlying stream refused bytes.
class EWriteError : public EKestrovaError {
 public:
  EWriteError() : EKestrovaError("Stream write error") {}
};

enum class ValueTag : uint8_t {
  Int8 = 2,
  Int16 = 3,
  Int32 = 4,
  Extended80 = 5,  // the tag called Extended: an x87 80-bit float
  String = 6,
  False = 8,
  True = 9,
  LString = 12,
  WString = 18,
  Int64 = 19,
  Utf8String = 20,
};

// Where a writer's bytes go.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Appends n bytes; false when the stream refuses them.
  virtual bool Write(const uint8_t* data, size_t n) = 0;
};

// Where a reader's bytes come from.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to n bytes into data; returns how many were read (0 at the end).
  virtual size_t Read(uint8_t* data, size_t n) = 0;
  // How many bytes are left, when the source knows it (memory, a regular file); a pipe or a
  // terminal does not. The reader checks every stored length against it before it allocates.
  virtual std::optional<uint64_t> Remaining() const { return std::nullopt; }
};

class MemorySink : public ByteSink {
 public:
  bool Write(const uint8_t* data, size_t n) override;
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

class MemorySource : public ByteSource {
 public:
  MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  explicit MemorySource(const std::vector<uint8_t>& bytes)
      : data_(bytes.data()), size_(bytes.size()) {}
  size_t Read(uint8_t* data, size_t n) override;
  std::optional<uint64_t> Remaining() const override { return size_ - pos_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// A file opened by the caller; the caller closes it.
class FileSink : public ByteSink {
 public:
  explicit FileSink(std::FILE* file) : file_(file) {}
  bool Write(const uint8_t* data, size_t n) override;

 private:
  std::FILE* file_;
};

// Reads from the file's current position on. A regular file knows what is left of it; its size
// is taken when the source is made.
class FileSource : public ByteSource {
 public:
  explicit FileSource(std::FILE* file);
  size_t Read(uint8_t* data, size_t n) override;
  std::optional<uint64_t> Remaining() const override { return remaining_; }

 private:
  std::FILE* file_;
  std::optional<uint64_t> remaining_;
};

// A standard stream (standard input in practice); it never knows what is left.
class IStreamSource : public ByteSource {
 public:
  explicit IStreamSource(std::istream& in) : in_(in) {}
  size_t Read(uint8_t* data, size_t n) override;

 private:
  std::istream& in_;
};

// A source whose beginning can be read twice: what is read before Rewind() is kept and given
// again after it. The version of a document is found by reading its first value, and the reader
// of that version then starts at the first byte; this lets both read a pipe, which cannot seek.
class RewindableSource : public ByteSource {
 public:
  explicit RewindableSource(ByteSource& inner) : inner_(inner) {}
  size_t Read(uint8_t* data, size_t n) override;
  std::optional<uint64_t> Remaining() const override;
  // The bytes read so far come again; from now on nothing more is kept. Only the first call
  // rewinds.
  void Rewind();

 private:
  ByteSource& inner_;
  std::vector<uint8_t> kept_;
  size_t replayed_ = 0;
  bool keeping_ = true;
};

inline constexpr size_t kValueBufferSize = 4096;

class ValueWriter {
 public:
  explicit ValueWriter(ByteSink& sink);
  ValueWriter(const ValueWriter&) = delete;
  ValueWriter& operator=(const ValueWriter&) = delete;

  void WriteInteger(int32_t value);
  void WriteBoolean(bool value);
  void WriteFloat(Extended value);
  // Invalid UTF-8 sequences are stored as U+FFFD.
  void WriteString(std::string_view utf8);
  // Writes out what is left in the buffer; call before the file is closed.
  void Finish();

 private:
  void Put(const uint8_t* data, size_t n);
  ByteSink& sink_;
  uint8_t buffer_[kValueBufferSize];
  size_t used_ = 0;
};

class ValueReader {
 public:
  explicit ValueReader(ByteSource& source);
  ValueReader(const ValueReader&) = delete;
  ValueReader& operator=(const ValueReader&) = delete;

  int32_t ReadInteger();
  bool ReadBoolean();
  Extended ReadFloat();
  // The text as UTF-8 (8-bit text of tags 6 and 12 is read as Windows-1252).
  std::string ReadString();

 private:
  uint8_t buffer_[kValueBufferSize];
  ByteSource& source_;
  size_t pos_ = 0;
  size_t end_ = 0;
};

}  // namespace kestrova
