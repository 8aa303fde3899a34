// The one line that follows long work on a terminal, and the silence everywhere else.
#include "app/progress_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace kestrova::cli {
namespace {

// What a terminal shows at the end: the text after the last carriage return of each line.
std::string Screen(const std::string& written) {
  std::string screen, line;
  for (char c : written) {
    if (c == '\r') {
      line.clear();
    } else if (c == '\n') {
      screen += line + "\n";
      line.clear();
    } else {
      line += c;
    }
  }
  return screen + line;
}

TEST(ProgressLineTest, OneLineRewrittenWithPercentRateAndTimeLeft) {
  struct Case {
    std::string unit;
    double done, total, seconds;
    std::string screen;
  };
  const Case cases[] = {
      {"B", 25e6, 100e6, 5, "import: reading  25%  5.0 MB/s  0:15 left"},
      {"B", 300e3, 1e6, 2, "import: reading  30%  150 kB/s  0:05 left"},
      {"frames", 12, 1000, 4, "import: reading   1%  3 frames/s  5:29 left"},
      {"frames", 50, 100000, 2, "import: reading   0%  25 frames/s  1:06:38 left"},
      // No end known (a pipe): what was done and the rate.
      {"rows", 4000, 0, 2, "import: reading 4000 rows  2000 rows/s"},
      // No unit: the percentage and the time left only.
      {"", 40, 100, 2, "import: reading  40%  0:03 left"},
      // Done: no time left.
      {"B", 1e6, 1e6, 1, "import: reading 100%  1.0 MB/s"},
  };
  for (const Case& c : cases) {
    double now = 100;
    std::ostringstream out;
    {
      TProgressLine line(out, true, "import", [&] { return now; });
      line.Show("reading", 0, c.total, c.unit);
      now += c.seconds;
      line.Show("reading", c.done, c.total, c.unit);
    }
    EXPECT_EQ(Screen(out.str()), c.screen + "\n") << c.screen;
    // One line on the screen, however often it was drawn.
    EXPECT_EQ(out.str().find('\n'), out.str().size() - 1) << c.screen;
  }
}

TEST(ProgressLineTest, QuickWorkShowsNothing) {
  double now = 0;
  std::ostringstream out;
  {
    TProgressLine line(out, true, "convert", [&] { return now; });
    for (; now < 0.45; now += 0.05) line.Show("reading", now, 0.45, "B");
    line.Show("reading", 0.45, 0.45, "B");
  }
  EXPECT_EQ(out.str(), "");
}

TEST(ProgressLineTest, ShortLinesCoverLongOnesAndRedrawsWaitATenthOfASecond) {
  double now = 0;
  std::ostringstream out;
  TProgressLine line(out, true, "render", [&] { return now; });
  line.Show("frames", 0, 200, "frames");
  now = 1;
  line.Show("frames", 100, 200, "frames");
  const std::string first = out.str();
  EXPECT_NE(first, "");
  now = 1.05;
  line.Show("frames", 101, 200, "frames");
  EXPECT_EQ(out.str(), first) << "drawn again within a tenth of a second";
  // A new stage is drawn at once and starts its rate afresh; its shorter text leaves no rest
  // of the longer one on the screen.
  line.Show("index", 0, 100, "");
  line.Finish();
  std::string screen = Screen(out.str());
  ASSERT_EQ(screen.back(), '\n');
  screen.pop_back();
  EXPECT_EQ(screen.substr(0, screen.find_last_not_of(' ') + 1), "render: index   0%");
  // Finished, it adds nothing more.
  const std::string done = out.str();
  line.Finish();
  EXPECT_EQ(out.str(), done);
}

TEST(ProgressLineTest, NothingWhereTheStreamIsNoTerminal) {
  std::ostringstream out;
  {
    TProgressLine line(out, TProgressLine::OnTerminal(out), "import");
    line.Show("reading", 10, 100, "B");
    line.Show("reading", 100, 100, "B");
    line.Finish();
  }
  EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace kestrova::cli
