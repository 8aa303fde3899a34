// A C stream that closes itself: for files that are only read, or written where a failed close
// needs no report of its own (a file written whole goes through TReplacingFile instead).
#pragma once

#include <cstdio>
#include <memory>

namespace kestrova {

struct TFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFileHandle = std::unique_ptr<std::FILE, TFileCloser>;

}  // namespace kestrova
