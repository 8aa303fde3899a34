// How far long work has come, for a person at a terminal: one line, rewritten in place.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

namespace kestrova::cli {

// "import: reading  42%  3.1 MB/s  0:35 left", rewritten in place (a carriage return and the
// new state over the old one) at most ten times a second, and ended with a line end by Finish.
// Work over within half a second shows nothing, and a stream that is no terminal gets nothing:
// a log or a pipe receives the result alone.
class TProgressLine {
 public:
  // Seconds, steadily rising; the tests give their own.
  using TClock = std::function<double()>;
  static double SteadySeconds();
  // Whether out is standard output or standard error and that is a terminal.
  static bool OnTerminal(const std::ostream& out);

  // prefix names the program at the line's start ("import"); terminal as OnTerminal tells.
  TProgressLine(std::ostream& out, bool terminal, std::string prefix, TClock clock = SteadySeconds);
  ~TProgressLine();
  TProgressLine(const TProgressLine&) = delete;
  TProgressLine& operator=(const TProgressLine&) = delete;

  // The work called label ("reading", "frames") has done done of total units; total 0 when
  // the total is not known (a pipe). unit names what the rate counts: "B" is shown as kB/s or
  // MB/s, "" shows no rate (only the percentage and the time left). A new label starts its
  // rate and time left afresh.
  void Show(const std::string& label, double done, double total, const std::string& unit);
  // Ends the line after the last state, if one was shown.
  void Finish();

 private:
  void Draw(double now);
  std::ostream& out_;
  bool terminal_;
  std::string prefix_;
  TClock clock_;
  std::string label_, unit_;
  double done_ = 0, total_ = 0;
  double start_ = 0, labelStart_ = 0, lastDraw_ = -1;
  size_t lastWidth_ = 0;
  bool started_ = false, shown_ = false, pending_ = false;
};

}  // namespace kestrova::cli
