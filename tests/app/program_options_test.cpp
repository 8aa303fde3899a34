// --version and --help of the three programs, run as a user runs them: without a display (no
// DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM), where making an application object would abort.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "numerics/program_version.h"

namespace {

struct TRun {
  int status;
  std::string out, err;
};

std::string ReadAll(FILE* file) {
  std::string text;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  return text;
}

TRun RunWithoutDisplay(const std::string& program, const std::string& args) {
  char errName[] = "/tmp/kestrova-options-test.XXXXXX";
  const int errFd = ::mkstemp(errName);
  const std::string command = "env -i PATH=/usr/bin:/bin " + std::string(KESTROVA_BIN_DIR) + "/" +
                              program + " " + args + " 2>" + errName;
  FILE* pipe = ::popen(command.c_str(), "r");
  TRun run{0, ReadAll(pipe), {}};
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  FILE* err = ::fdopen(errFd, "r");
  run.err = ReadAll(err);
  std::fclose(err);
  ::unlink(errName);
  return run;
}

TEST(ProgramOptionsTest, VersionAndHelpNeedNoDisplay) {
  const std::string version = kestrova::kProgramVersion;
  struct Case {
    std::string program, args, begins;
    bool whole = true;  // the version is all the output; help only begins so
  };
  const Case cases[] = {
      {"kestrova", "--version", "kestrova " + version + "\n"},
      {"kestrova", "-v", "kestrova " + version + "\n"},
      // Qt's own options before it change nothing; "-reverse" holds a "v" but is a word.
      {"kestrova", "-reverse --version", "kestrova " + version + "\n"},
      {"kestrova", "--help", "Usage: kestrova [options] [JD] [document...]\n", false},
      {"kestrova", "-h", "Usage: kestrova [options] [JD] [document...]\n", false},
      {"kestrova-cli", "--version", "kestrova-cli " + version + "\n"},
      {"kestrova-cli", "--help", "usage: kestrova-cli COMMAND", false},
      {"kestrova-import", "--version", "kestrova-import " + version + "\n"},
      {"kestrova-import", "--help", "usage: kestrova-import [ALIAS-FOLDER]\n", false},
  };
  for (const Case& c : cases) {
    const TRun run = RunWithoutDisplay(c.program, c.args);
    EXPECT_EQ(run.status, 0) << c.program << " " << c.args << "\n" << run.out;
    if (c.whole)
      EXPECT_EQ(run.out, c.begins) << c.program << " " << c.args;
    else
      EXPECT_EQ(run.out.rfind(c.begins, 0), 0u) << c.program << " " << c.args << "\n" << run.out;
    // Nothing on standard error: no platform plugin was looked for.
    EXPECT_EQ(run.err, "") << c.program << " " << c.args;
  }
}

}  // namespace
