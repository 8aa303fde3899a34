#include "database/element_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "numerics/errors.h"

namespace kestrova {

namespace {

constexpr size_t kBlock = 64 * 1024;

bool GzipName(const std::filesystem::path& file) {
  std::string ext = file.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext == ".gz";
}

bool GzipSignature(const unsigned char* data, size_t size) {
  return size >= 2 && data[0] == 0x1f && data[1] == 0x8b;
}

}  // namespace

// zlib's state and the compressed bytes waiting for it.
struct TElementFileReader::TInflater {
  z_stream zs{};
  std::vector<unsigned char> in;
  bool rawEnd = false;     // the file has no more bytes
  bool streamEnd = false;  // the last member is complete
  ~TInflater() { inflateEnd(&zs); }
};

TElementFileReader::TElementFileReader(const std::filesystem::path& file)
    : file_(file), buffer_(kBlock) {
  fd_ = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0)
    throw EKestrovaError(Format("Cannot read %s: %s", file.c_str(), std::strerror(errno)));
  struct stat info;
  if (::fstat(fd_, &info) == 0) {
    if (S_ISDIR(info.st_mode)) {
      ::close(fd_);
      fd_ = -1;
      throw EKestrovaError(Format("Cannot read %s: it is a folder", file.c_str()));
    }
    if (S_ISREG(info.st_mode)) bytesTotal_ = static_cast<uint64_t>(info.st_size);
  }
  try {
    // The first bytes tell a compressed file; a pipe may give them in pieces.
    size_t got = 0;
    for (size_t n = 1; got < 2 && n > 0; got += n) n = ReadRaw(buffer_.data() + got, kBlock - got);
    const auto* first = reinterpret_cast<const unsigned char*>(buffer_.data());
    const bool signature = GzipSignature(first, got);
    if (GzipName(file) && !signature)
      throw EKestrovaError(Format("%s is not a gzip file", file.c_str()));
    if (!signature) {
      end_ = got;
      eof_ = got == 0;
      return;
    }
    inflater_ = std::make_unique<TInflater>();
    if (inflateInit2(&inflater_->zs, 15 + 16) != Z_OK) {
      inflater_.reset();
      throw EKestrovaError(Format("Cannot read %s: zlib cannot start", file.c_str()));
    }
    inflater_->in.assign(first, first + got);
    inflater_->in.resize(kBlock);
    inflater_->zs.next_in = inflater_->in.data();
    inflater_->zs.avail_in = static_cast<uInt>(got);
  } catch (...) {
    ::close(fd_);
    fd_ = -1;
    throw;
  }
}

TElementFileReader::~TElementFileReader() {
  if (fd_ >= 0) ::close(fd_);
}

size_t TElementFileReader::ReadRaw(char* data, size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd_, data, size);
    if (n >= 0) {
      bytesRead_ += static_cast<uint64_t>(n);
      return static_cast<size_t>(n);
    }
    if (errno != EINTR)
      throw EKestrovaError(Format("Error reading %s: %s", file_.c_str(), std::strerror(errno)));
  }
}

bool TElementFileReader::Inflate() {
  TInflater& z = *inflater_;
  z.zs.next_out = reinterpret_cast<Bytef*>(buffer_.data());
  z.zs.avail_out = static_cast<uInt>(buffer_.size());
  const auto refill = [&] {
    if (z.zs.avail_in > 0 || z.rawEnd) return;
    const size_t n = ReadRaw(reinterpret_cast<char*>(z.in.data()), z.in.size());
    z.rawEnd = n == 0;
    z.zs.next_in = z.in.data();
    z.zs.avail_in = static_cast<uInt>(n);
  };
  while (z.zs.avail_out == buffer_.size() && !z.streamEnd) {
    refill();
    const int rc = inflate(&z.zs, Z_NO_FLUSH);
    if (rc == Z_STREAM_END) {
      // Another member may follow (files joined with cat); anything else after a complete
      // member is padding and ignored, as gzip does.
      refill();
      if (z.zs.avail_in == 1 && !z.rawEnd) {
        // One byte of a possible signature: keep it and fetch the next.
        const unsigned char keep = z.zs.next_in[0];
        z.in[0] = keep;
        const size_t n = ReadRaw(reinterpret_cast<char*>(z.in.data()) + 1, z.in.size() - 1);
        z.rawEnd = n == 0;
        z.zs.next_in = z.in.data();
        z.zs.avail_in = static_cast<uInt>(n + 1);
      }
      if (GzipSignature(z.zs.next_in, z.zs.avail_in)) {
        inflateReset(&z.zs);
      } else {
        z.streamEnd = true;
      }
      continue;
    }
    if (rc == Z_BUF_ERROR && z.zs.avail_in == 0 && z.rawEnd)
      throw EKestrovaError(
          Format("%s: the compressed data ends too early (the file is cut short)", file_.c_str()));
    if (rc != Z_OK && rc != Z_BUF_ERROR)
      throw EKestrovaError(Format("%s: the compressed data is damaged (%s)", file_.c_str(),
                                  z.zs.msg ? z.zs.msg : "unknown error"));
  }
  pos_ = 0;
  end_ = buffer_.size() - z.zs.avail_out;
  return end_ > 0;
}

bool TElementFileReader::Fill() {
  if (eof_) return false;
  if (inflater_) {
    if (Inflate()) return true;
    eof_ = true;
    return false;
  }
  pos_ = 0;
  end_ = ReadRaw(buffer_.data(), buffer_.size());
  eof_ = end_ == 0;
  return !eof_;
}

bool TElementFileReader::NextLine(std::string& line, bool& tooLong) {
  line.clear();
  tooLong = false;
  // The rest of a line that was too long is read past now, not when it was returned: a
  // caller that stops at such a line (binary data) never waits for an end that may not come.
  while (skipRest_) {
    if (pos_ == end_ && !Fill()) return false;
    const void* nl = std::memchr(buffer_.data() + pos_, '\n', end_ - pos_);
    if (!nl) {
      pos_ = end_;
      continue;
    }
    pos_ = static_cast<size_t>(static_cast<const char*>(nl) - buffer_.data()) + 1;
    skipRest_ = false;
  }
  bool any = false;
  for (;;) {
    if (pos_ == end_ && !Fill()) break;
    any = true;
    const char* start = buffer_.data() + pos_;
    const size_t available = end_ - pos_;
    const void* nl = std::memchr(start, '\n', available);
    const size_t length =
        nl ? static_cast<size_t>(static_cast<const char*>(nl) - start) : available;
    const size_t room = kMaxElementLine - line.size();
    if (length > room) {
      line.append(start, room);
      pos_ += room;
      tooLong = true;
      skipRest_ = true;
      break;
    }
    line.append(start, length);
    pos_ += length;
    if (nl) {
      ++pos_;
      break;
    }
  }
  if (!any) return false;
  ++lineNumber_;
  if (!line.empty() && line.back() == '\r' && !tooLong) line.pop_back();
  return true;
}

}  // namespace kestrova
