// A C stream that closes itself: for files that are only read, or written where a failed close
// needs no report of its own (a file written whole goes through TReplacingFile instead).
#pragma once

#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <string>

namespace kestrova {

struct TFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFileHandle = std::unique_ptr<std::FILE, TFileCloser>;

// Whether path names something that exists and is not a regular file (links followed): a named
// pipe, a device, a folder, a socket. The windows open regular files only, because opening a pipe
// waits until another process writes to it, and the window would freeze meanwhile; the command
// line tools read pipes on purpose.
inline bool IsSpecialFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

}  // namespace kestrova
