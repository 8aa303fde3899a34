// The runner every kestrova-cli command goes through: output that cannot be written is a
// failure with its reason, in-process and in the built programs.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "app/cli_test_support.h"
#include "documents/document_bytes.h"
#include "support/temp_home.h"

namespace kestrova::cli {
namespace {

namespace fs = std::filesystem;
const fs::path kData = KESTROVA_TEST_DATA;

// A stream that refuses every byte, as a full disk or a closed pipe does.
class TRefusingBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

// Runs a shell command line; returns its status and what it wrote to stderr.
std::pair<int, std::string> Shell(const std::string& command) {
  FILE* pipe = ::popen(command.c_str(), "r");
  std::string text;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  const int status = ::pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text};
}

class CliOutputTest : public testing::TempHome {
 protected:
  void SetUp() override {
    TempHome::SetUp();
    document_ = (root_ / "a.orb").string();
    testing::SaveBytes(document_, testing::SampleV16());
    ASSERT_EQ(RunCommand({"import", "--format", "mpcorb", "--table", "small", "--quiet",
                          (kData / "mpcorb_small.dat").string()})
                  .status,
              kOk);
    dataFile_ = (home_ / "MPC" / "small.db").string();
  }
  // Every command that writes to standard output, each with what it needs.
  std::vector<Args> Commands() const {
    return {{"jd", "1.1.2000"},
            {"date", "2451545"},
            {"ephem", "Mars", "2451545", "2451546"},
            {"ephem", "Mars", "-"},
            {"ephem", "--data-file", dataFile_, "2451545"},
            {"import", "--format", "comets", "--table", "c", "--quiet",
             (kData / "comets_small.txt").string()},
            {"dump", document_},
            {"convert", document_, "-"},
            {"render", "--size", "50", "--jd", "2451545", "--out", "-"},
            {"jd", "--help"},
            {"--help", ""}};
  }
  std::string document_, dataFile_;
};

TEST_F(CliOutputTest, EveryCommandFailsWhenItsOutputRefusesBytes) {
  for (const Args& args : Commands()) {
    std::istringstream in("2451545\n2451546\n");
    TRefusingBuffer refusing;
    std::ostream out(&refusing);
    std::ostringstream err;
    EXPECT_EQ(RunCli(args, in, out, err), kFailure) << args[0] << " " << args[1];
    const std::string message = err.str();
    // A command that stops at its own failed write (render) names it in its own words.
    const std::string program = args[0] == "--help" ? "kestrova-cli" : "kestrova-cli " + args[0];
    const std::string expected =
        args[0] == "render"
            ? "kestrova-cli render: Error Writing PNG File! the output stream failed\n"
            : program + ": cannot write the output: the output stream failed\n";
    EXPECT_TRUE(message.ends_with(expected)) << message;
  }
}

TEST_F(CliOutputTest, TheReasonIsTheSystemsAndAnEndlessInputIsNotReadToItsEnd) {
  const int fd = ::open("/dev/full", O_WRONLY);
  ASSERT_GE(fd, 0);
  for (const Args& args : Commands()) {
    std::string lines;
    for (int i = 0; i < 20000; ++i) lines += "2451545\n";
    std::istringstream in(lines);
    TDescriptorOutput full(fd);
    std::ostream out(&full);
    std::ostringstream err;
    EXPECT_EQ(RunCli(args, in, out, err), kFailure) << args[0] << " " << args[1];
    EXPECT_NE(err.str().find("No space left on device"), std::string::npos) << err.str();
    // ephem - stops at the first line it cannot write.
    if (args[1] == "-") {
      EXPECT_LT(in.tellg(), 70000) << "read on after the failure";
    }
  }
  ::close(fd);
}

TEST_F(CliOutputTest, TheProgramsExitWithOneOnAFullDiskAndAClosedOutput) {
  const std::string cli = std::string(KESTROVA_BIN_DIR) + "/kestrova-cli";
  struct Case {
    std::string command;  // stderr is what is read
    std::string message;
  };
  const Case cases[] = {
      {"seq 2451545 2453545 | " + cli + " ephem Mars - 2>&1 >/dev/full",
       "kestrova-cli ephem: cannot write the output: No space left on device\n"},
      {cli + " ephem --data-file " + dataFile_ + " 2451545 2>&1 >/dev/full",
       "kestrova-cli ephem: cannot write the output: No space left on device\n"},
      {cli + " dump " + document_ + " 2>&1 >/dev/full",
       "kestrova-cli dump: cannot write the output: No space left on device\n"},
      {cli + " dump " + document_ + " 2>&1 >&-",
       "kestrova-cli dump: cannot write the output: Bad file descriptor\n"},
      {cli + " jd 1.1.2000 2>&1 >&-",
       "kestrova-cli jd: cannot write the output: Bad file descriptor\n"},
      {std::string(KESTROVA_BIN_DIR) + "/kestrova-import --format comets --table d --quiet " +
           (kData / "comets_small.txt").string() + " 2>&1 >/dev/full",
       "cannot write the output: No space left on device\n"},
  };
  for (const Case& c : cases) {
    const auto [status, err] = Shell(c.command);
    EXPECT_EQ(status, kFailure) << c.command;
    EXPECT_TRUE(err.ends_with(c.message)) << c.command << "\n" << err;
  }
  // Written whole, the same commands succeed.
  EXPECT_EQ(Shell(cli + " dump " + document_ + " >/dev/null").first, kOk);
}

}  // namespace
}  // namespace kestrova::cli
