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
#include <type_traits>
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

enum class TValueKind : uint8_t { Integer, Boolean, Float, String };

// One value as a reader read it, for a trace.
struct TTracedValue {
  // The value's place in the stream: how many values were asked of the reader before it.
  uint64_t Index = 0;
  // The bytes of the stream up to the end of the value.
  uint64_t End = 0;
  TValueKind Kind = TValueKind::Integer;
  // What the value means to the code that read it ("scene.Dim"); empty where it said nothing.
  std::string_view Meaning;
  // The field of Kind holds the value.
  int32_t Integer = 0;
  bool Boolean = false;
  Extended Float = 0;
  std::string_view String;
  // Read past: the reader does not use it (stored positions).
  bool Skipped = false;
};

// Told of every value a reader reads, as it reads it; the views it is handed live only for the
// call.
class ValueTrace {
 public:
  virtual ~ValueTrace() = default;
  virtual void OnValue(const TTracedValue& value) = 0;
  // A value could not be read (index, kind and meaning of the value asked for).
  virtual void OnFailure(const TTracedValue& /*asked*/, std::string_view /*message*/) {}
  // What the reader made of the values just read, where that is not plain (a body dropped).
  virtual void OnNote(std::string_view /*note*/) {}
};

class ValueReader {
 public:
  explicit ValueReader(ByteSource& source);
  ValueReader(const ValueReader&) = delete;
  ValueReader& operator=(const ValueReader&) = delete;

  // meaning names the value for a trace ("Dim", joined to the open TMeaningScopes); it is
  // looked at only while a trace is set.
  int32_t ReadInteger(std::string_view meaning = {});
  bool ReadBoolean(std::string_view meaning = {});
  Extended ReadFloat(std::string_view meaning = {});
  // The text as UTF-8 (8-bit text of tags 6 and 12 is read as Windows-1252).
  std::string ReadString(std::string_view meaning = {});
  // Reads a Float that the caller does not use; a trace sees it marked as skipped.
  void SkipFloat(std::string_view meaning = {});

  // The trace, or none (nullptr); the reader does not own it.
  void SetTrace(ValueTrace* trace) { trace_ = trace; }
  // Whether a trace listens: meanings and notes that must be built are built only then.
  bool Tracing() const { return trace_ != nullptr; }
  // Tells the trace what became of the values just read.
  void Note(std::string_view note) {
    if (trace_) trace_->OnNote(note);
  }

 private:
  friend class TMeaningScope;
  template <class Read>
  auto Traced(TValueKind kind, std::string_view meaning, Read read, bool skipped = false);
  template <class Read>
  auto ReadAndTell(TValueKind kind, std::string_view meaning, Read read, bool skipped);

  uint8_t buffer_[kValueBufferSize];
  ByteSource& source_;
  size_t pos_ = 0;
  size_t end_ = 0;
  // Bytes of the source before the buffer's first byte.
  uint64_t base_ = 0;
  uint64_t index_ = 0;
  ValueTrace* trace_ = nullptr;
  // The meaning of the scopes open now ("scene.planet[5] Saturn"), kept only while tracing.
  std::string scope_;
  std::string meaning_;
};

// Names the values read while it lives: their meanings are prefixed with its part ("scene"
// makes "Dim" "scene.Dim"; a part that starts with "[" is joined without the dot). A part that
// has to be built is given as a function, called only when the reader is traced.
class TMeaningScope {
 public:
  TMeaningScope(ValueReader& reader, std::string_view part) : reader_(reader) {
    if (reader.Tracing()) Open(part);
  }
  template <class MakePart>
  requires std::is_invocable_v<MakePart> TMeaningScope(ValueReader& reader, MakePart make)
      : reader_(reader) {
    if (reader.Tracing()) Open(make());
  }
  ~TMeaningScope() {
    if (opened_) reader_.scope_.resize(outer_size_);
  }
  TMeaningScope(const TMeaningScope&) = delete;
  TMeaningScope& operator=(const TMeaningScope&) = delete;

 private:
  void Open(std::string_view part);
  ValueReader& reader_;
  size_t outer_size_ = 0;
  bool opened_ = false;
};

}  // namespace kestrova
