// The lines of an element file, plain or gzip-compressed (as MPCORB.DAT.gz and CometEls.txt.gz
// are published), read a block at a time with a limit on the length of a line, so that no
// input (a file without line ends, a device that never ends, a compressed bomb) can fill the
// memory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kestrova {

// The longest line an element file may have; the published formats have lines of about 200
// characters.
inline constexpr size_t kMaxElementLine = 64 * 1024;

class TElementFileReader {
 public:
  // Opens the file. A name ending in ".gz", or content that starts with gzip's signature, is
  // read through zlib as it goes (no copy is made). Raises EKestrovaError "Cannot read FILE:
  // reason" when it cannot be read (a folder among them), and "FILE is not a gzip file" for a
  // ".gz" name over other content.
  explicit TElementFileReader(const std::filesystem::path& file);
  ~TElementFileReader();
  TElementFileReader(const TElementFileReader&) = delete;
  TElementFileReader& operator=(const TElementFileReader&) = delete;

  // The next line without its end (a CR before the LF is dropped); false at the end of the
  // file. A line longer than kMaxElementLine comes back cut, with tooLong set; the rest of it
  // is read past, without being kept, by the next call. Raises EKestrovaError "Error reading
  // FILE: reason", and for compressed files "FILE: the compressed data is damaged (reason)" or
  // "FILE: the compressed data ends too early (the file is cut short)".
  bool NextLine(std::string& line, bool& tooLong);
  // The number of the line NextLine gave last, counted from 1.
  int64_t LineNumber() const { return lineNumber_; }
  // Bytes of the file read so far, and its size (0 when it has none: a pipe, a device); for a
  // compressed file both count the compressed bytes.
  uint64_t BytesRead() const { return bytesRead_; }
  uint64_t BytesTotal() const { return bytesTotal_; }
  bool Compressed() const { return inflater_ != nullptr; }

 private:
  struct TInflater;
  bool Fill();
  // Reads raw bytes of the file into data; 0 at its end.
  size_t ReadRaw(char* data, size_t size);
  bool Inflate();

  std::filesystem::path file_;
  int fd_ = -1;
  std::vector<char> buffer_;
  size_t pos_ = 0;
  size_t end_ = 0;
  bool eof_ = false;
  bool skipRest_ = false;
  int64_t lineNumber_ = 0;
  uint64_t bytesRead_ = 0;
  uint64_t bytesTotal_ = 0;
  std::unique_ptr<TInflater> inflater_;
};

}  // namespace kestrova
