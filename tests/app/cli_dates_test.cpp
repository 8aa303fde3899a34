#include <gtest/gtest.h>

#include "app/cli_test_support.h"

namespace kestrova::cli {
namespace {

TEST(CliDates, ConvertsBothWays) {
  struct Case {
    Args args;
    const char* out;
  };
  const Case cases[] = {
      {{"jd", "1.1.2000", "12:00"}, "2451545.000000\n"},
      {{"jd", "1 jan 2000"}, "2451544.500000\n"},
      {{"jd", "1.1.4713 BC", "12:00"}, "0.000000\n"},  // the time makes the date legal
      {{"jd", "12/25/2000", "1:05 pm"}, "2451904.045139\n"},
      {{"date", "2451545"}, "01.01.2000 12:00:00 1.1.2000\n"},
      {{"date", "0"}, "01.01.-4712 12:00:00 1.1.4713 BC\n"},
      {{"date", "2299160.5"}, "15.10.1582 00:00:00 15.10.1582\n"},
      {{"date", "4000000"}, "12.07.6239 12:00:00 12.7.6239\n"},
  };
  for (const Case& c : cases) {
    const TCliResult r = RunCommand(c.args);
    EXPECT_EQ(r.status, kOk) << c.args[1];
    EXPECT_EQ(r.out, c.out) << c.args[1];
    EXPECT_EQ(r.err, "") << c.args[1];
  }
}

TEST(CliDates, BadInputGivesTheMessageAndStatusTwo) {
  struct Case {
    Args args;
    const char* err;
  };
  const Case cases[] = {
      {{"jd", "1.1.5000 BC"}, "date -104826.5 underflows range (0 .. 4000000)\n"},
      {{"jd", "1.1.6001"}, "year out of range in date-string (6001)\n"},
      {{"jd", "1.1.2000", "25:00"}, "hour out of range in time-string (25)\n"},
      {{"jd", "x.1.2000"}, "'x' is not a valid integer value\n"},
      {{"date", "4000000.5"}, "date 4000000.5 overflows range (0 .. 4000000)\n"},
      {{"date", "-1"}, "date -1 underflows range (0 .. 4000000)\n"},
      {{"date", "2451545x"}, "'2451545x' is not a valid floating point value\n"},
      {{"date", "nan"}, "'nan' is not a valid floating point value\n"},
  };
  for (const Case& c : cases) {
    const TCliResult r = RunCommand(c.args);
    EXPECT_EQ(r.status, kBadInput) << c.args[1];
    EXPECT_EQ(r.out, "") << c.args[1];
    EXPECT_EQ(r.err, c.err) << c.args[1];
  }
}

TEST(CliDates, UsageAndHelp) {
  EXPECT_EQ(RunCommand({"jd"}).status, kBadInput);
  EXPECT_EQ(RunCommand({"date", "1", "2"}).status, kBadInput);
  EXPECT_EQ(RunCommand({}).status, kBadInput);
  EXPECT_EQ(RunCommand({"nonsense"}).status, kBadInput);
  for (const char* command : {"jd", "date"}) {
    const TCliResult r = RunCommand({command, "--help"});
    EXPECT_EQ(r.status, kOk);
    EXPECT_NE(r.out.find("usage: kestrova-cli"), std::string::npos);
  }
  EXPECT_NE(RunCommand({"--help"}).out.find("jd"), std::string::npos);
}

}  // namespace
}  // namespace kestrova::cli
