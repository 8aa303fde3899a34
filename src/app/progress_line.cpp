#include "app/progress_line.h"

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <utility>

namespace kestrova::cli {

namespace {

// Redraws closer together only flicker and cost writes to a slow terminal.
constexpr double kRedrawSeconds = 0.1;
// Work done within this long shows no line at all: it is over before one could be read.
constexpr double kQuietSeconds = 0.5;

std::string Rate(double perSecond, const std::string& unit) {
  char text[64];
  if (unit == "B") {
    if (perSecond >= 1e6)
      std::snprintf(text, sizeof text, "%.1f MB/s", perSecond / 1e6);
    else
      std::snprintf(text, sizeof text, "%.0f kB/s", perSecond / 1e3);
  } else {
    std::snprintf(text, sizeof text, "%.0f %s/s", perSecond, unit.c_str());
  }
  return text;
}

std::string Duration(double seconds) {
  const long long s = std::llround(seconds);
  char text[32];
  if (s >= 3600)
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
  else
    std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
  return text;
}

}  // namespace

double TProgressLine::SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

bool TProgressLine::OnTerminal(const std::ostream& out) {
  if (&out == &std::cerr || &out == &std::clog) return ::isatty(STDERR_FILENO) == 1;
  if (&out == &std::cout) return ::isatty(STDOUT_FILENO) == 1;
  return false;
}

TProgressLine::TProgressLine(std::ostream& out, bool terminal, std::string prefix, TClock clock)
    : out_(out), terminal_(terminal), prefix_(std::move(prefix)), clock_(std::move(clock)) {}

TProgressLine::~TProgressLine() {
  Finish();
}

void TProgressLine::Show(const std::string& label, double done, double total,
                         const std::string& unit) {
  if (!terminal_) return;
  const double now = clock_();
  if (!started_) {
    started_ = true;
    start_ = now;
  }
  const bool fresh = label != label_;
  if (fresh) {
    label_ = label;
    labelStart_ = now;
  }
  unit_ = unit;
  done_ = done;
  total_ = total;
  pending_ = true;
  if (!shown_ && now - start_ < kQuietSeconds) return;
  // A new stage and the end of one are shown at once, anything else when it is time.
  if (!shown_ || fresh || (total > 0 && done >= total) || now - lastDraw_ >= kRedrawSeconds)
    Draw(now);
}

void TProgressLine::Draw(double now) {
  std::string line = prefix_ + ": " + label_;
  char number[32];
  if (total_ > 0) {
    std::snprintf(number, sizeof number, " %3.0f%%",
                  std::floor(100 * std::min(1.0, done_ / total_)));
    line += number;
  } else if (!unit_.empty() && unit_ != "B") {
    std::snprintf(number, sizeof number, " %.0f %s", done_, unit_.c_str());
    line += number;
  }
  const double elapsed = now - labelStart_;
  // A rate needs a moment of work behind it; the first instant would say anything.
  if (elapsed >= 0.5 && done_ > 0) {
    const double rate = done_ / elapsed;
    if (!unit_.empty()) line += "  " + Rate(rate, unit_);
    if (total_ > 0 && done_ < total_) line += "  " + Duration((total_ - done_) / rate) + " left";
  }
  // Spaces over what a longer line before left.
  const size_t width = line.size();
  if (width < lastWidth_) line.append(lastWidth_ - width, ' ');
  lastWidth_ = width;
  out_ << '\r' << line << std::flush;
  lastDraw_ = now;
  shown_ = true;
  pending_ = false;
}

void TProgressLine::Finish() {
  if (!terminal_) return;
  if (pending_ && shown_) Draw(clock_());
  if (shown_) out_ << '\n' << std::flush;
  shown_ = false;
  started_ = false;
  label_.clear();
  lastWidth_ = 0;
}

}  // namespace kestrova::cli
