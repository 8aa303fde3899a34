#include "streams/signal_cleanup.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace kestrova {

namespace {

constexpr int kSlots = 16;
constexpr size_t kMaxPath = 4096;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The handler reads these without a lock, so a slot's path is complete before it is marked
// used and stays untouched until it is marked free.
struct TSlot {
  std::atomic<bool> used{false};
  char path[kMaxPath];
};
TSlot slots[kSlots];

std::mutex registry;  // guards registration and the installed handlers, never the handler
int registered = 0;
bool installed[3] = {false, false, false};

void RemoveAndEnd(int signal) {
  for (TSlot& slot : slots)
    if (slot.used.load(std::memory_order_acquire)) ::unlink(slot.path);
  // The signal ends the program as it would have without the handler.
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  ::sigaction(signal, &action, nullptr);
  ::raise(signal);
}

void Install() {
  for (int i = 0; i < 3; ++i) {
    struct sigaction old {};
    if (::sigaction(kSignals[i], nullptr, &old) != 0) continue;
    if ((old.sa_flags & SA_SIGINFO) || old.sa_handler != SIG_DFL) continue;
    struct sigaction action {};
    action.sa_handler = RemoveAndEnd;
    sigemptyset(&action.sa_mask);
    for (int s : kSignals) sigaddset(&action.sa_mask, s);
    installed[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
  }
}

void Uninstall() {
  for (int i = 0; i < 3; ++i) {
    if (!installed[i]) continue;
    struct sigaction current {};
    // Only our own handler goes; one the program has put in since stays.
    if (::sigaction(kSignals[i], nullptr, &current) == 0 && !(current.sa_flags & SA_SIGINFO) &&
        current.sa_handler == RemoveAndEnd) {
      struct sigaction action {};
      action.sa_handler = SIG_DFL;
      sigemptyset(&action.sa_mask);
      ::sigaction(kSignals[i], &action, nullptr);
    }
    installed[i] = false;
  }
}

}  // namespace

TRemoveOnSignal::TRemoveOnSignal(const std::string& path) {
  if (path.empty() || path.size() >= kMaxPath) return;
  std::lock_guard<std::mutex> lock(registry);
  for (int i = 0; i < kSlots; ++i) {
    if (slots[i].used.load(std::memory_order_relaxed)) continue;
    std::memcpy(slots[i].path, path.c_str(), path.size() + 1);
    slots[i].used.store(true, std::memory_order_release);
    slot_ = i;
    if (registered++ == 0) Install();
    return;
  }
}

TRemoveOnSignal::~TRemoveOnSignal() {
  if (slot_ < 0) return;
  std::lock_guard<std::mutex> lock(registry);
  slots[slot_].used.store(false, std::memory_order_release);
  if (--registered == 0) Uninstall();
}

}  // namespace kestrova
