// Temporary files that must not outlive the program when it is ended by a signal: a user
// pressing Ctrl+C during an import, a logout, a kill. SIGKILL cannot be caught; what it leaves
// is for the next run to find (see the import's removal of stale temporary files).
#pragma once

#include <string>

namespace kestrova {

// While an object lives, its file is removed when SIGINT, SIGTERM or SIGHUP ends the program;
// the signal then ends it as it would have. Handlers are installed only over the signals'
// default action: a signal the program ignores or handles itself is left alone. Up to 16
// files at a time; paths longer than 4 KB are not registered.
class TRemoveOnSignal {
 public:
  explicit TRemoveOnSignal(const std::string& path);
  ~TRemoveOnSignal();
  TRemoveOnSignal(const TRemoveOnSignal&) = delete;
  TRemoveOnSignal& operator=(const TRemoveOnSignal&) = delete;

 private:
  int slot_ = -1;
};

}  // namespace kestrova
