#include "database/element_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "numerics/errors.h"

namespace kestrova {

namespace {

constexpr size_t kBlock = 256 * 1024;

}  // namespace

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
}

TElementFileReader::~TElementFileReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool TElementFileReader::Fill() {
  if (eof_) return false;
  pos_ = 0;
  end_ = 0;
  for (;;) {
    const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
    if (n > 0) {
      end_ = static_cast<size_t>(n);
      bytesRead_ += end_;
      return true;
    }
    if (n == 0) {
      eof_ = true;
      return false;
    }
    if (errno != EINTR)
      throw EKestrovaError(Format("Error reading %s: %s", file_.c_str(), std::strerror(errno)));
  }
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
